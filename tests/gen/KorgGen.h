// Korg Prophecy and TR-Rack program dump messages, packed the way the
// synthesizers send them.
#pragma once

#include <string>
#include <vector>

#include "MidiFile.h"

namespace bankwise::gen {

constexpr std::size_t kKorgRecordLength = 535;
constexpr std::size_t kKorgProgramsPerBank = 64;
constexpr std::size_t kKorgAllDataSkip = 657;  // bytes between the bank byte and the packed data

constexpr std::uint8_t kKorgProgramDataDump = 0x4C;
constexpr std::uint8_t kKorgAllDataDump = 0x50;
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

// Korg's packed form: each group of up to 7 bytes is sent as a byte holding
// their bit 7s (bit j for byte j) followed by the bytes with bit 7 cleared.
Bytes KorgPack(const Bytes& plain);

// count program records of 535 bytes. Record r starts with names[r] padded
// with blanks to 16 bytes (a name may carry its own 0 or 8-bit bytes); the
// rest is filler that sets bit 7 now and then, so bit bytes are exercised.
// Records without a name get "Program <r>".
Bytes MakeKorgRecords(const std::vector<std::string>& names, std::size_t count);

// F0 42 <second> <third> 4C <bank> 00 00 <packed records> F7, with 64 records
// for bank A or B and 128 for any other bank byte.
Bytes MakeKorgProgramDump(KorgModel model, std::uint8_t bank,
                          const std::vector<std::string>& names);

// F0 42 <second> <third> 50 <657 other bytes> <packed 128 records> F7.
Bytes MakeKorgAllDataDump(KorgModel model, const std::vector<std::string>& names);

// Where the packed data starts, counted from the manufacturer byte.
constexpr std::size_t kKorgProgramPackedAt = 7;
constexpr std::size_t kKorgAllDataPackedAt = 5 + kKorgAllDataSkip;

}  // namespace bankwise::gen
