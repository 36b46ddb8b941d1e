#include "JvXpGen.h"

#include "Examples.h"

namespace bankwise::gen {

Bytes MakeJvXpMessage(const JvXpMessage& message)
{
    Bytes m{0xF0,
            0x41,
            message.device,
            0x6A,
            message.command,
            message.area,
            message.slot,
            message.address3,
            message.address4};
    Append(m, FixedText(message.name, 12, ' '));
    for (std::size_t i = 12; i < message.dataLength; ++i)
        m.push_back(static_cast<std::uint8_t>((i * 3) & 0x7F));
    m.push_back(RolandChecksum(m, 5, m.size()));
    m.push_back(0xF7);
    return m;
}

void WriteJvXpExamples(const std::filesystem::path& dir)
{
    const std::vector<Bytes> messages{
        MakeJvXpMessage({.area = kJvAreaPatch, .slot = 0, .name = "Amber Strings"}),
        MakeJvXpMessage({.area = kJvAreaPatch, .slot = 1, .name = "Copper Brass"}),
        MakeJvXpMessage({.area = kJvAreaPatch, .slot = 2, .name = "Moss Organ"}),
        MakeJvXpMessage({.area = kJvAreaPerformance, .slot = 0, .name = "Split Dream"}),
        MakeJvXpMessage({.area = kJvAreaPerformance, .slot = 1, .name = "Layer Sky"}),
        MakeJvXpMessage({.area = kJvAreaPerformance, .slot = 0x40, .name = "Street Kit"}),
    };
    WriteFile(dir / "roland-jvxp.syx", JoinMessages(messages));
    WriteFile(dir / "roland-jvxp.mid", MakeMidiFile(messages));
}

}  // namespace bankwise::gen
