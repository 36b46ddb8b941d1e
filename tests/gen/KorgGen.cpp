#include "KorgGen.h"

namespace bankwise::gen {
namespace {

constexpr std::size_t kNameLength = 16;
constexpr std::size_t kKorgRecordLength = 535;
constexpr std::size_t kKorgProgramsPerBank = 64;
constexpr std::size_t kKorgAllDataSkip = 657;  // bytes between the bank byte and the packed data
constexpr std::uint8_t kKorgProgramDataDump = 0x4C;
constexpr std::uint8_t kKorgAllDataDump = 0x50;

Bytes Header(KorgModel model, std::uint8_t function)
{
    return {0xF0, 0x42, model.second, model.third, function};
}

// Each group of up to 7 bytes is sent as a byte holding their bit 7s (bit j
// for byte j) followed by the bytes with bit 7 cleared.
Bytes KorgPack(const Bytes& plain)
{
    Bytes packed;
    packed.reserve(plain.size() + plain.size() / 7 + 1);
    for (std::size_t group = 0; group < plain.size(); group += 7) {
        const std::size_t bitsAt = packed.size();
        packed.push_back(0);
        for (std::size_t j = 0; j < 7 && group + j < plain.size(); ++j) {
            const std::uint8_t byte = plain[group + j];
            if ((byte & 0x80) != 0)
                packed[bitsAt] = static_cast<std::uint8_t>(packed[bitsAt] | (1u << j));
            packed.push_back(static_cast<std::uint8_t>(byte & 0x7F));
        }
    }
    return packed;
}

Bytes MakeKorgRecords(const std::vector<std::string>& names, std::size_t count)
{
    Bytes records;
    records.reserve(count * kKorgRecordLength);
    for (std::size_t r = 0; r < count; ++r) {
        const std::string name = r < names.size() ? names[r] : "Program " + std::to_string(r);
        Append(records, FixedText(name, kNameLength, ' '));
        for (std::size_t i = kNameLength; i < kKorgRecordLength; ++i)
            records.push_back(static_cast<std::uint8_t>((r * 131 + i * 37) & 0xFF));
    }
    return records;
}

}  // namespace

Bytes MakeKorgProgramDump(KorgModel model, std::uint8_t bank, const std::vector<std::string>& names)
{
    const bool oneBank = bank == kKorgBankA || bank == kKorgBankB;
    const std::size_t count = oneBank ? kKorgProgramsPerBank : 2 * kKorgProgramsPerBank;
    Bytes m = Header(model, kKorgProgramDataDump);
    Append(m, {bank, 0x00, 0x00});
    Append(m, KorgPack(MakeKorgRecords(names, count)));
    m.push_back(0xF7);
    return m;
}

Bytes MakeKorgAllDataDump(KorgModel model, const std::vector<std::string>& names)
{
    Bytes m = Header(model, kKorgAllDataDump);
    // Global and other settings the parser passes over; kept 7-bit.
    for (std::size_t i = 0; i < 1 + kKorgAllDataSkip; ++i)
        m.push_back(static_cast<std::uint8_t>((i * 11 + 5) & 0x7F));
    Append(m, KorgPack(MakeKorgRecords(names, 2 * kKorgProgramsPerBank)));
    m.push_back(0xF7);
    return m;
}

}  // namespace bankwise::gen
