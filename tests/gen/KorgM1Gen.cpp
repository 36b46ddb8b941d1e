#include "KorgM1Gen.h"

namespace bankwise::gen {

Bytes MakeM1Dump(const M1Dump& dump)
{
    const std::size_t record = dump.model == k03rw                   ? 172
                               : dump.function == kM1AllCombinations ? 124
                                                                     : 143;
    const std::size_t count = dump.count != 0                   ? dump.count
                              : dump.function == kM1EditProgram ? 1
                                                                : 100;
    Bytes plain;
    for (std::size_t r = 0; r < count; ++r) {
        Append(plain, FixedText(r < dump.names.size() ? dump.names[r] : "Prog " + std::to_string(r),
                                10, ' '));
        // Low bits 0-15 only: no other family's signature in a MIDI file's head.
        for (std::size_t i = 10; i < record; ++i)
            plain.push_back(static_cast<std::uint8_t>(0x80 | ((i + r) & 0x0F)));
    }
    Bytes m{0xF0, 0x42, static_cast<std::uint8_t>(0x30 | dump.channel), dump.model, dump.function};
    if (dump.function != kM1EditProgram)
        m.push_back(0x00);
    for (std::size_t group = 0; group < plain.size(); group += 7) {
        const std::size_t bitsAt = m.size();
        m.push_back(0);
        for (std::size_t j = 0; j < 7 && group + j < plain.size(); ++j) {
            const std::uint8_t byte = plain[group + j];
            m[bitsAt] = static_cast<std::uint8_t>(m[bitsAt] | ((byte >> 7) << j));
            m.push_back(static_cast<std::uint8_t>(byte & 0x7F));
        }
    }
    m.push_back(0xF7);
    return m;
}

}  // namespace bankwise::gen
