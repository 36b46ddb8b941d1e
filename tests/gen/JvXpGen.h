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
};

// F0 41 10 6A 12 area slot 00 00 <72 data bytes, name blank-padded to 12> sum F7
Bytes MakeJvXpMessage(const JvXpMessage& message);

}  // namespace bankwise::gen
