// access Virus test dump messages.
#pragma once

#include "MidiFile.h"

namespace bankwise::gen {

constexpr std::uint8_t kVirusSingle = 0x10;
constexpr std::uint8_t kVirusMulti = 0x11;

// Whole-message lengths, 0xF0 to 0xF7.
constexpr std::size_t kVirusClassicLength = 267;  // older models: singles and multis
constexpr std::size_t kVirusTiSingleLength = 524;
constexpr std::size_t kVirusFixedLength = 265;  // the 254-data-byte layout

struct VirusMessage
{
    std::uint8_t type = kVirusSingle;
    std::uint8_t bank = 1;  // singles: 0 edit buffer, 1-4 A-D; multis: 0 or 1
    std::uint8_t program = 0;
    std::string name;  // blank-padded to 10 at data 240 (single) or 4 (multi)
    std::size_t length = kVirusClassicLength;
};

// F0 00 20 33 01 dev type bank prog <length - 11 data bytes> checksum F7
Bytes MakeVirusMessage(const VirusMessage& message);

// A Virus TI multi dump, message by message: for each name, the multi (bank
// 1, numbered from 0) followed by the singles of its parts, which the TI
// files under the multi's number in banks kVirusTiPartBank + part; then the
// multis of the second multi bank, which hold the same names.
constexpr std::uint8_t kVirusTiPartBank = 0x20;
std::vector<Bytes> MakeVirusTiMultiDump(const std::vector<std::string>& names,
                                        std::size_t parts = 16);

// A message of another type: F0 00 20 33 01 dev type <payload> F7
Bytes MakeVirusOther(std::uint8_t type, const Bytes& payload);

}  // namespace bankwise::gen
