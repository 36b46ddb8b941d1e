#include "EnsoniqGen.h"

namespace bankwise::gen {
namespace {

struct Layout
{
    Bytes header;
    std::size_t programBytes;
    std::size_t nameAt;
    std::size_t nameLength;
    std::size_t count;
    bool highFirst;
};

Bytes MakePrograms(const Layout& layout, const std::vector<std::string>& names)
{
    Bytes m = layout.header;
    for (std::size_t p = 0; p < layout.count; ++p) {
        Bytes program(layout.programBytes);
        for (std::size_t i = 0; i < program.size(); ++i)
            program[i] = static_cast<std::uint8_t>((i * 13 + p) & 0xFF);
        const Bytes name = FixedText(p < names.size() ? names[p] : "INIT", layout.nameLength, ' ');
        std::copy(name.begin(), name.end(), program.begin() + static_cast<long>(layout.nameAt));
        for (const std::uint8_t byte : program) {
            const std::uint8_t high = byte >> 4, low = byte & 0x0F;
            m.push_back(layout.highFirst ? high : low);
            m.push_back(layout.highFirst ? low : high);
        }
    }
    m.push_back(0xF7);
    return m;
}

}  // namespace

Bytes MakeVfxPrograms(const std::vector<std::string>& names, bool all)
{
    return MakePrograms({{0xF0, 0x0F, 0x05, 0x00, 0x00, static_cast<std::uint8_t>(all ? 3 : 2)},
                         530,
                         498,
                         11,
                         all ? 60u : 1u,
                         true},
                        names);
}

Bytes MakeEsq1Programs(const std::vector<std::string>& names, bool all)
{
    return MakePrograms({{0xF0, 0x0F, 0x02, 0x00, static_cast<std::uint8_t>(all ? 2 : 1)},
                         102,
                         0,
                         6,
                         all ? 40u : 1u,
                         false},
                        names);
}

}  // namespace bankwise::gen
