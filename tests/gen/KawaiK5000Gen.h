// Kawai K5000 test dump messages: single patches and banks of singles.
#pragma once

#include <string>
#include <vector>

#include "MidiFile.h"

namespace bankwise::gen {

constexpr std::uint8_t kK5000BankA = 0;
constexpr std::uint8_t kK5000BankB = 1;
constexpr std::uint8_t kK5000BankD = 2;
constexpr std::uint8_t kK5000BankE = 3;
constexpr std::uint8_t kK5000BankF = 4;

struct K5000Single
{
    std::uint8_t slot = 0;
    std::string name{};  // blank-padded to 8 at record byte 40
    std::uint8_t sources = 2;
    std::uint8_t addSources = 0;  // the first this many carry wave 512 and a wave kit
};

// One record: 82 + 86 * sources + 806 * addSources bytes.
Bytes MakeK5000Record(const K5000Single& single);

// F0 40 00 20 00 0A 00 bank slot <record> F7
Bytes MakeK5000Single(std::uint8_t bank, const K5000Single& single);

// F0 40 00 21 00 0A 00 bank <tone map, 19 bytes> <records> F7, singles in
// slot order.
Bytes MakeK5000Bank(std::uint8_t bank, const std::vector<K5000Single>& singles);

// Slots 0 to count - 1, slot n named names[n] or "Tone <n + 1>", with 2 to
// 6 sources and every third single's first source ADD, so that the records'
// lengths vary as in a real bank.
std::vector<K5000Single> K5000Singles(const std::vector<std::string>& names,
                                      std::size_t count = 128);

}  // namespace bankwise::gen
