// E-mu Morpheus and Proteus test dump messages.
#pragma once

#include "MidiFile.h"

namespace bankwise::gen {

constexpr std::uint8_t kMorpheusPreset = 0x01;
constexpr std::uint8_t kMorpheusHyperpreset = 0x45;
constexpr std::uint8_t kMorpheusMidimap = 0x47;

struct MorpheusMessage
{
    std::uint8_t command = kMorpheusPreset;
    int number = 0;
    std::string name{};    // 12 characters, blank-padded, each a 14-bit word
    bool proteus = false;  // Proteus preset: product 04 and no version byte
    std::uint8_t version = 0x01;
    bool badChecksum = false;
};

// Morpheus: F0 18 0C 00 command version ll mm <words> checksum F7, 566,
// 484 or 730 bytes by command; Proteus: F0 18 04 00 01 ll mm <words>
// checksum F7, 265 bytes.
Bytes MakeMorpheusMessage(const MorpheusMessage& message);

}  // namespace bankwise::gen
