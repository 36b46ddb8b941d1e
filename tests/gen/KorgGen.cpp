#include "KorgGen.h"

namespace bankwise::gen {
namespace {

constexpr std::size_t kRecordLength = 535;
constexpr std::size_t kNameLength = 16;

// Each group of up to 7 bytes is sent as a byte holding their bit 7s (bit j
// for byte j) followed by the bytes with bit 7 cleared.
Bytes PackedRecords(const std::vector<std::string>& names, std::size_t count)
{
    Bytes plain;
    for (std::size_t r = 0; r < count; ++r) {
        Append(plain, FixedText(r < names.size() ? names[r] : "Program " + std::to_string(r),
                                kNameLength, ' '));
        for (std::size_t i = kNameLength; i < kRecordLength; ++i)
            plain.push_back(static_cast<std::uint8_t>((r * 131 + i * 37) & 0xFF));
    }
    Bytes packed;
    for (std::size_t group = 0; group < plain.size(); group += 7) {
        const std::size_t bitsAt = packed.size();
        packed.push_back(0);
        for (std::size_t j = 0; j < 7 && group + j < plain.size(); ++j) {
            const std::uint8_t byte = plain[group + j];
            packed[bitsAt] = static_cast<std::uint8_t>(packed[bitsAt] | ((byte >> 7) << j));
            packed.push_back(static_cast<std::uint8_t>(byte & 0x7F));
        }
    }
    packed.push_back(0xF7);
    return packed;
}

}  // namespace

Bytes MakeKorgProgramDump(KorgModel model, std::uint8_t bank, const std::vector<std::string>& names)
{
    const bool oneBank = bank == kKorgBankA || bank == kKorgBankB;
    return Concat({{0xF0, 0x42, model.second, model.third, 0x4C, bank, 0x00, 0x00},
                   PackedRecords(names, oneBank ? 64 : 128)});
}

Bytes MakeKorgAllDataDump(KorgModel model, const std::vector<std::string>& names)
{
    Bytes m{0xF0, 0x42, model.second, model.third, 0x50};
    // Global and other settings the parser passes over (657 bytes after the
    // bank byte), kept 7-bit.
    for (std::size_t i = 0; i < 658; ++i)
        m.push_back(static_cast<std::uint8_t>((i * 11 + 5) & 0x7F));
    return Concat({m, PackedRecords(names, 128)});
}

}  // namespace bankwise::gen
