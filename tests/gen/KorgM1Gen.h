// Korg M1 and 03R/W test dump messages, packed the way the synths send them.
#pragma once

#include <string>
#include <vector>

#include "MidiFile.h"

namespace bankwise::gen {

constexpr std::uint8_t kM1 = 0x19;
constexpr std::uint8_t k03rw = 0x30;
constexpr std::uint8_t kM1EditProgram = 0x40;
constexpr std::uint8_t kM1AllPrograms = 0x4C;
constexpr std::uint8_t kM1AllCombinations = 0x4D;

struct M1Dump
{
    std::uint8_t model = kM1;
    std::uint8_t function = kM1AllPrograms;
    std::vector<std::string> names{};  // record r's, blank-padded to 10; "Prog <r>" beyond
    std::size_t count = 0;             // records; 0: 1 for an edit program, else 100
    std::uint8_t channel = 0;
};

// F0 42 3n model function [00] <packed records> F7. Records are 143 bytes
// (M1 program), 124 (M1 combination) or 172 (03R/W program), name first;
// the rest sets bit 7 so the bit bytes are exercised.
Bytes MakeM1Dump(const M1Dump& dump);

}  // namespace bankwise::gen
