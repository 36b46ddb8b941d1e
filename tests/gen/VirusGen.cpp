#include "VirusGen.h"

namespace bankwise::gen {
namespace {

constexpr std::size_t kHeaderLength = 9;  // F0 to the program number
constexpr std::size_t kSingleNameData = 240;
constexpr std::size_t kMultiNameData = 4;
constexpr std::size_t kNameLength = 10;

}  // namespace

Bytes MakeVirusMessage(const VirusMessage& message)
{
    Bytes m{0xF0, 0x00, 0x20, 0x33, 0x01, 0x00, message.type, message.bank, message.program};
    const std::size_t dataLength = message.length - kHeaderLength - 2;
    const std::size_t nameAt = message.type == kVirusMulti ? kMultiNameData : kSingleNameData;
    const Bytes name = FixedText(message.name, kNameLength, ' ');
    for (std::size_t i = 0; i < dataLength; ++i) {
        if (i >= nameAt && i - nameAt < kNameLength)
            m.push_back(name[i - nameAt]);
        else
            m.push_back(static_cast<std::uint8_t>((i * 5 + 1) & 0x7F));
    }
    unsigned sum = 0;
    for (std::size_t i = 5; i < m.size(); ++i)
        sum += m[i];
    m.push_back(static_cast<std::uint8_t>(sum & 0x7F));
    m.push_back(0xF7);
    return m;
}

std::vector<Bytes> MakeVirusTiMultiDump(const std::vector<std::string>& names, std::size_t parts)
{
    std::vector<Bytes> messages;
    const auto multi = [&](std::uint8_t bank, std::size_t number) {
        messages.push_back(MakeVirusMessage({.type = kVirusMulti,
                                             .bank = bank,
                                             .program = static_cast<std::uint8_t>(number),
                                             .name = names[number],
                                             .length = kVirusTiSingleLength}));
    };
    for (std::size_t m = 0; m < names.size(); ++m) {
        multi(1, m);
        for (std::size_t part = 0; part < parts; ++part) {
            messages.push_back(
                MakeVirusMessage({.bank = static_cast<std::uint8_t>(kVirusTiPartBank + part),
                                  .program = static_cast<std::uint8_t>(m),
                                  .name = "Part " + std::to_string(part + 1),
                                  .length = kVirusTiSingleLength}));
        }
    }
    for (std::size_t m = 0; m < names.size(); ++m)
        multi(2, m);
    return messages;
}

Bytes MakeVirusOther(std::uint8_t type, const Bytes& payload)
{
    Bytes m{0xF0, 0x00, 0x20, 0x33, 0x01, 0x00, type};
    Append(m, payload);
    m.push_back(0xF7);
    return m;
}

}  // namespace bankwise::gen
