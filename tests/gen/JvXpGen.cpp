#include "JvXpGen.h"

namespace bankwise::gen {

Bytes MakeJvXpMessage(const JvXpMessage& message)
{
    Bytes m{0xF0, 0x41, 0x10, 0x6A, 0x12, message.area, message.slot, 0x00, 0x00};
    Append(m, FixedText(message.name, 12, ' '));
    for (std::size_t i = 12; i < 0x48; ++i)
        m.push_back(static_cast<std::uint8_t>((i * 3) & 0x7F));
    m.push_back(RolandChecksum(m, 5, m.size()));
    m.push_back(0xF7);
    return m;
}

}  // namespace bankwise::gen
