#include "OrbitGen.h"

namespace bankwise::gen {

Bytes MakeOrbitPreset(int preset, std::string_view name)
{
    const auto number = static_cast<unsigned>(preset) & 0x3FFF;
    Bytes m{0xF0, 0x18, 0x0A, 0x00, 0x01};
    m.push_back(static_cast<std::uint8_t>(number & 0x7F));
    m.push_back(static_cast<std::uint8_t>(number >> 7));
    for (std::size_t i = 0; i < 12; ++i) {
        const auto c = i < name.size() ? static_cast<std::uint8_t>(name[i]) : std::uint8_t{0};
        m.push_back(c & 0x7F);
        m.push_back(static_cast<std::uint8_t>(c >> 7));
    }
    for (std::size_t i = 0; i < 249; ++i)
        m.push_back(static_cast<std::uint8_t>((i * 7) & 0x7F));
    m.push_back(0xF7);
    return m;
}

}  // namespace bankwise::gen
