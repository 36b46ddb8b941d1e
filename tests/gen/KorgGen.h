// Korg Prophecy and TR-Rack program dump messages, packed the way the
// synthesizers send them.
#pragma once

#include <string>
#include <vector>

#include "MidiFile.h"

namespace bankwise::gen {

constexpr std::uint8_t kKorgBankA = 0x10;
constexpr std::uint8_t kKorgBankB = 0x11;
constexpr std::uint8_t kKorgBothBanks = 0x20;

// The two bytes after the manufacturer byte, as the detector tells the
// families apart: Prophecy has 0x41 two bytes on, TR-Rack 0x3B one byte on.
struct KorgModel
{
    std::uint8_t second;
    std::uint8_t third;
};
constexpr KorgModel kProphecy{0x30, 0x41};
constexpr KorgModel kTrRack{0x3B, 0x3B};

// F0 42 <second> <third> 4C <bank> 00 00 <packed records> F7, with 64 records
// for bank A or B and 128 for any other bank byte. Record r starts with
// names[r] blank-padded to 16 bytes, or "Program <r>"; the rest is filler that
// sets bit 7 now and then, so the packing's bit bytes are exercised.
Bytes MakeKorgProgramDump(KorgModel model, std::uint8_t bank,
                          const std::vector<std::string>& names);

// F0 42 <second> <third> 50 <657 other bytes> <packed 128 records> F7.
Bytes MakeKorgAllDataDump(KorgModel model, const std::vector<std::string>& names);

}  // namespace bankwise::gen
