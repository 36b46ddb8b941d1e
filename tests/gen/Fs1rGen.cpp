#include "Fs1rGen.h"

#include <algorithm>

namespace bankwise::gen {

Bytes MakeFs1rMessage(const Fs1rMessage& message)
{
    const auto count = static_cast<std::uint32_t>(message.dataLength);
    const auto countHigh = static_cast<std::uint8_t>((count >> 7) & 0x7F);
    const auto countLow = static_cast<std::uint8_t>(count & 0x7F);
    Bytes m{
        0xF0, 0x43, 0x10, 0x5E, countHigh, countLow, message.addressHigh, 0x00, message.addressLow};
    const std::size_t nameLength = std::min(message.nameLength, message.dataLength);
    Append(m, FixedText(message.name, nameLength, ' '));
    for (std::size_t i = nameLength; i < message.dataLength; ++i)
        m.push_back(static_cast<std::uint8_t>((i * 5 + message.addressLow) & 0x7F));
    // Yamaha's checksum over byte count, address and data is Roland's.
    m.push_back(RolandChecksum(m, 4, m.size()));
    m.push_back(0xF7);
    return m;
}

Bytes MakeFs1rPerformance(std::uint8_t number, std::string_view name)
{
    return MakeFs1rMessage({.addressLow = number, .name = std::string(name)});
}

Bytes MakeFs1rEditPerformance(std::string_view name)
{
    return MakeFs1rMessage({.addressHigh = 0x10, .name = std::string(name)});
}

Bytes MakeFs1rVoice(std::uint8_t number, std::string_view name)
{
    return MakeFs1rMessage({.addressHigh = 0x51,
                            .addressLow = number,
                            .name = std::string(name),
                            .nameLength = 10,
                            .dataLength = 608});
}

Bytes MakeVoiceBulk(const VoiceBulk& bulk)
{
    const int count = bulk.count >= 0 ? bulk.count : static_cast<int>(bulk.names.size());
    // The byte count is count * 128: its high byte is the count.
    Bytes m{0xF0, 0x43, bulk.subStatus, 0x09, static_cast<std::uint8_t>(count), 0x00};
    for (std::size_t v = 0; v < bulk.names.size(); ++v) {
        for (std::size_t i = 0; i < 118; ++i)
            m.push_back(static_cast<std::uint8_t>((i * 7 + v) & 0x7F));
        Append(m, FixedText(bulk.names[v], 10, ' '));
    }
    m.push_back(RolandChecksum(m, 6, m.size()));
    m.push_back(0xF7);
    return m;
}

}  // namespace bankwise::gen
