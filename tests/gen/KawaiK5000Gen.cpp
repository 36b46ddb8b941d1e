#include "KawaiK5000Gen.h"

namespace bankwise::gen {
namespace {

void AppendFiller(Bytes& to, std::size_t count, std::size_t seed)
{
    // 1-11: no 0xF0 or 0xF7, and no other family's signature in a MIDI
    // file's head.
    for (std::size_t i = 0; i < count; ++i)
        to.push_back(static_cast<std::uint8_t>((i * 5 + seed) % 11 + 1));
}

}  // namespace

Bytes MakeK5000Record(const K5000Single& single)
{
    Bytes record{0};  // the checksum, which the reader does not check
    AppendFiller(record, 81, single.slot);
    const Bytes name = FixedText(single.name, 8, ' ');
    std::copy(name.begin(), name.end(), record.begin() + 40);
    record[51] = single.sources;
    for (std::size_t i = 0; i < single.sources; ++i) {
        const std::size_t source = record.size();
        AppendFiller(record, 86, i);
        const bool add = i < single.addSources;
        record[source + 28] = add ? 4 : 0;  // wave 512, or a PCM wave
        record[source + 29] = add ? 0 : static_cast<std::uint8_t>(i + 1);
    }
    for (std::size_t i = 0; i < single.addSources; ++i)
        AppendFiller(record, 806, i);
    return record;
}

Bytes MakeK5000Single(std::uint8_t bank, const K5000Single& single)
{
    Bytes m{0xF0, 0x40, 0x00, 0x20, 0x00, 0x0A, 0x00, bank, single.slot};
    Append(m, MakeK5000Record(single));
    m.push_back(0xF7);
    return m;
}

Bytes MakeK5000Bank(std::uint8_t bank, const std::vector<K5000Single>& singles)
{
    Bytes m{0xF0, 0x40, 0x00, 0x21, 0x00, 0x0A, 0x00, bank};
    Bytes toneMap(19, 0);
    for (const K5000Single& single : singles)
        toneMap[single.slot / 7] |= static_cast<std::uint8_t>(1u << (single.slot % 7));
    Append(m, toneMap);
    for (const K5000Single& single : singles)
        Append(m, MakeK5000Record(single));
    m.push_back(0xF7);
    return m;
}

std::vector<K5000Single> K5000Singles(const std::vector<std::string>& names, std::size_t count)
{
    std::vector<K5000Single> singles;
    for (std::size_t n = 0; n < count; ++n) {
        singles.push_back({.slot = static_cast<std::uint8_t>(n),
                           .name = n < names.size() ? names[n] : "Tone " + std::to_string(n + 1),
                           .sources = static_cast<std::uint8_t>(2 + n % 5),
                           .addSources = static_cast<std::uint8_t>(n % 3 == 0 ? 1 : 0)});
    }
    return singles;
}

}  // namespace bankwise::gen
