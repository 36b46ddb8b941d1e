// Waldorf Blofeld test dump messages.
#pragma once

#include "MidiFile.h"

namespace bankwise::gen {

constexpr std::uint8_t kBlofeldEditBuffer = 0x7F;

struct BlofeldSound
{
    std::uint8_t bank = 0;  // 0-7 A-H, 0x7F edit buffer
    std::uint8_t program = 0;
    std::string name{};  // blank-padded to 16 at data byte 363
    // The byte before F7; by default the sum of the data. 0x7F stands for
    // none on the synth.
    int checksum = -1;
};

// F0 3E 13 00 10 bank program <383 data bytes> checksum F7 (392 bytes)
Bytes MakeBlofeldSound(const BlofeldSound& sound);

}  // namespace bankwise::gen
