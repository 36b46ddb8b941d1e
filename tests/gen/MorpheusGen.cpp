#include "MorpheusGen.h"

namespace bankwise::gen {

Bytes MakeMorpheusMessage(const MorpheusMessage& message)
{
    Bytes m{0xF0, 0x18, static_cast<std::uint8_t>(message.proteus ? 0x04 : 0x0C), 0x00,
            message.command};
    if (!message.proteus)
        m.push_back(message.version);
    const auto number = static_cast<unsigned>(message.number) & 0x3FFF;
    m.push_back(static_cast<std::uint8_t>(number & 0x7F));
    m.push_back(static_cast<std::uint8_t>(number >> 7));
    const std::size_t nameAt = m.size();
    for (const std::uint8_t c : FixedText(message.name, 12, ' ')) {
        m.push_back(c & 0x7F);
        m.push_back(static_cast<std::uint8_t>(c >> 7));
    }
    std::size_t length = 265;
    if (!message.proteus)
        length = message.command == kMorpheusHyperpreset ? 484
                 : message.command == kMorpheusMidimap   ? 730
                                                         : 566;
    for (std::size_t i = 0; m.size() < length - 2; ++i)
        m.push_back(static_cast<std::uint8_t>((i * 11 + 3) & 0x7F));
    unsigned sum = 0;
    for (std::size_t i = nameAt; i < m.size(); ++i)
        sum += m[i];
    m.push_back(static_cast<std::uint8_t>((sum + (message.badChecksum ? 1 : 0)) & 0x7F));
    m.push_back(0xF7);
    return m;
}

}  // namespace bankwise::gen
