#include "RolandD50Gen.h"

#include <string_view>

namespace bankwise::gen {
namespace {

constexpr std::size_t kPatchLength = 448;

// One patch: parameter bytes 1-11 (no other family's signature in a MIDI
// file's head), the tone names blank, the patch name at 0x180.
Bytes Patch(std::size_t n, const std::string& name)
{
    Bytes patch(kPatchLength);
    for (std::size_t i = 0; i < patch.size(); ++i)
        patch[i] = static_cast<std::uint8_t>((i * 5 + n) % 11 + 1);
    const Bytes code = D50Name(name);
    std::copy(code.begin(), code.end(), patch.begin() + 0x180);
    return patch;
}

std::vector<Bytes> Split(std::uint32_t address, const Bytes& space, std::size_t size)
{
    std::vector<Bytes> messages;
    for (std::size_t at = 0; at < space.size(); at += size) {
        const auto end = space.begin() + static_cast<long>(std::min(space.size(), at + size));
        messages.push_back(MakeD50Message(static_cast<std::uint32_t>(address + at),
                                          Bytes(space.begin() + static_cast<long>(at), end)));
    }
    return messages;
}

}  // namespace

Bytes D50Name(const std::string& name)
{
    constexpr std::string_view kCodes =
        " ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz1234567890-";
    Bytes codes(18, 0);
    for (std::size_t i = 0; i < name.size() && i < codes.size(); ++i) {
        const std::size_t code = kCodes.find(name[i]);
        codes[i] = static_cast<std::uint8_t>(code == std::string_view::npos ? 0 : code);
    }
    return codes;
}

Bytes MakeD50Message(std::uint32_t address, const Bytes& data)
{
    Bytes m{0xF0,
            0x41,
            0x00,
            0x14,
            0x12,
            static_cast<std::uint8_t>(address >> 14 & 0x7F),
            static_cast<std::uint8_t>(address >> 7 & 0x7F),
            static_cast<std::uint8_t>(address & 0x7F)};
    Append(m, data);
    m.push_back(RolandChecksum(m, 5, m.size()));
    m.push_back(0xF7);
    return m;
}

std::vector<Bytes> MakeD50Bank(const std::vector<std::string>& names, int badChecksum)
{
    Bytes space;
    for (std::size_t n = 0; n < 64; ++n)
        Append(space, Patch(n, n < names.size() ? names[n] : "Patch " + std::to_string(n)));
    while (space.size() < 34688)
        space.push_back(static_cast<std::uint8_t>(space.size() % 7 + 1));  // reverb data
    // Addresses run in 7-bit bytes: 02 00 00 is 0x8000 as one number.
    std::vector<Bytes> messages = Split(2u << 14, space, 256);
    if (badChecksum >= 0) {
        Bytes& m = messages.at(static_cast<std::size_t>(badChecksum));
        m[m.size() - 2] = static_cast<std::uint8_t>((m[m.size() - 2] + 1) & 0x7F);
    }
    return messages;
}

std::vector<Bytes> MakeD50Temporary(const std::string& name)
{
    return Split(0, Patch(0, name), 64);
}

}  // namespace bankwise::gen
