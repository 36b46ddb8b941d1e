// Roland JV/XP data-set (DT1) messages.
#pragma once

#include "MidiFile.h"

namespace bankwise::gen {

constexpr std::uint8_t kJvAreaPerformance = 0x10;  // slots 0x00-0x1F, rhythm 0x40-0x41
constexpr std::uint8_t kJvAreaPatch = 0x11;

struct JvXpMessage
{
    std::uint8_t area = kJvAreaPatch;
    std::uint8_t slot = 0;
    std::string name;
    std::uint8_t command = 0x12;
    std::uint8_t address3 = 0;
    std::uint8_t address4 = 0;
    std::uint8_t device = 0x10;
    std::size_t dataLength = 0x48;  // bytes after the address, name included
};

// F0 41 dev 6A cmd a1 a2 a3 a4 <data, name blank-padded to 12> sum F7
Bytes MakeJvXpMessage(const JvXpMessage& message);

}  // namespace bankwise::gen
