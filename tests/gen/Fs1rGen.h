// Yamaha FS1R bulk messages and the Yamaha 32-voice packed voice bulk.
#pragma once

#include "MidiFile.h"

namespace bankwise::gen {

constexpr std::uint8_t kFs1rInternalPerformance = 0x11;  // address 11 00 nn
constexpr std::uint8_t kFs1rEditPerformance = 0x10;      // address 10 00 00
constexpr std::uint8_t kFs1rInternalVoice = 0x51;        // address 51 00 nn

constexpr std::size_t kFs1rPerformanceData = 400;
constexpr std::size_t kFs1rVoiceData = 608;

// F0 43 10 5E bc_hi bc_lo a_hi a_mid a_lo <data> checksum F7. The first
// data bytes carry the name, blank-padded to nameLength; the rest is filler
// of 7-bit values.
struct Fs1rMessage
{
    std::uint8_t addressHigh = kFs1rInternalPerformance;
    std::uint8_t addressLow = 0;
    std::string name;
    std::size_t nameLength = 12;
    std::size_t dataLength = kFs1rPerformanceData;
};
Bytes MakeFs1rMessage(const Fs1rMessage& message);

// A 411-byte internal performance message.
Bytes MakeFs1rPerformance(std::uint8_t number, std::string_view name);
// The 411-byte edit-buffer performance a bank dump starts with.
Bytes MakeFs1rEditPerformance(std::string_view name);
// A 619-byte internal voice message (name in the first 10 data bytes).
Bytes MakeFs1rVoice(std::uint8_t number, std::string_view name);

// F0 43 sub 09 count 00 <one 128-byte record per name, name blank-padded in
// its last 10 bytes> checksum F7. count is the number of names unless given.
struct VoiceBulk
{
    std::vector<std::string> names;
    std::uint8_t subStatus = 0x00;
    int count = -1;
};
Bytes MakeVoiceBulk(const VoiceBulk& bulk);

}  // namespace bankwise::gen
