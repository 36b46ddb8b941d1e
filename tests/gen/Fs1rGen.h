// Yamaha FS1R bulk messages and the Yamaha 32-voice packed voice bulk.
#pragma once

#include "MidiFile.h"

namespace bankwise::gen {

// F0 43 10 5E <byte count, 2 bytes> <address: high 00 low> <data> checksum
// F7; the data start with the name, blank-padded to nameLength, then filler.
struct Fs1rMessage
{
    std::uint8_t addressHigh = 0x11;  // internal performance
    std::uint8_t addressLow = 0;
    std::string name;
    std::size_t nameLength = 12;
    std::size_t dataLength = 400;
};
Bytes MakeFs1rMessage(const Fs1rMessage& message);

// Internal performance nn and the edit buffer a bank dump starts with (411
// bytes each); internal voice nn (619 bytes, 10 for the name).
Bytes MakeFs1rPerformance(std::uint8_t number, std::string_view name);
Bytes MakeFs1rEditPerformance(std::string_view name);
Bytes MakeFs1rVoice(std::uint8_t number, std::string_view name);

// F0 43 sub 09 count 00 <a 128-byte record per name, the name blank-padded in
// its last 10 bytes> checksum F7; count is the number of names unless given.
struct VoiceBulk
{
    std::vector<std::string> names;
    std::uint8_t subStatus = 0x00;
    int count = -1;
};
Bytes MakeVoiceBulk(const VoiceBulk& bulk);

}  // namespace bankwise::gen
