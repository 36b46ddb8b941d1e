#include "KorgGen.h"

#include "Examples.h"

namespace bankwise::gen {
namespace {

constexpr std::size_t kNameLength = 16;

Bytes Header(KorgModel model, std::uint8_t function)
{
    return {0xF0, 0x42, model.second, model.third, function};
}

}  // namespace

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

void WriteKorgExamples(const std::filesystem::path& dir)
{
    const std::vector<std::string> prophecy{
        "Tidal Lead",  "Brass Canyon",    "Reed Whisper",   "Mallet Rain",
        "Bowed Glass", "Fret Noise Solo", "Sub Bass Drift", "Ember Pad",
    };
    const Bytes both = MakeKorgProgramDump(kProphecy, kKorgBothBanks, prophecy);
    WriteFile(dir / "korg-prophecy.syx", both);
    WriteFile(dir / "korg-prophecy.mid", MakeMidiFile({both}));

    const std::vector<std::string> trRack{
        "Concert Grand", "Tine Piano", "Drawbar Jazz", "Nylon Guitar",
        "Pizz Section",  "Choir Aahs", "Fretless",     "Warm Strings",
    };
    WriteFile(dir / "korg-trrack.syx", MakeKorgProgramDump(kTrRack, kKorgBankA, trRack));
}

}  // namespace bankwise::gen
