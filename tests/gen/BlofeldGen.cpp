#include "BlofeldGen.h"

namespace bankwise::gen {

Bytes MakeBlofeldSound(const BlofeldSound& sound)
{
    Bytes m{0xF0, 0x3E, 0x13, 0x00, 0x10, sound.bank, sound.program};
    const Bytes name = FixedText(sound.name, 16, ' ');
    unsigned sum = 0;
    for (std::size_t i = 0; i < 383; ++i) {
        const std::uint8_t byte =
            i >= 363 && i < 379 ? name[i - 363] : static_cast<std::uint8_t>((i * 3 + 5) & 0x7F);
        sum += byte;
        m.push_back(byte);
    }
    m.push_back(static_cast<std::uint8_t>(sound.checksum >= 0 ? sound.checksum : sum & 0x7F));
    m.push_back(0xF7);
    return m;
}

}  // namespace bankwise::gen
