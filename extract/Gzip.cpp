#include "Gzip.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

namespace bankwise {
namespace {

constexpr std::array<std::uint32_t, 256> MakeCrcTable()
{
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

constexpr auto kCrcTable = MakeCrcTable();

// The most a stored block's 16-bit length can give.
constexpr std::size_t kMaxStoredBlock = 65535;

void AppendLittleEndian(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// The CRC-32 of gzip, zip and PNG.
std::uint32_t Crc32(std::string_view data)
{
    std::uint32_t c = 0xFFFFFFFFu;
    for (const char byte : data)
        c = kCrcTable[(c ^ static_cast<unsigned char>(byte)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

}  // namespace

void AppendGzipStored(std::string_view data, std::string& out)
{
    out.reserve(out.size() + data.size() + 18 + 5 * (data.size() / kMaxStoredBlock + 1));
    // Magic, deflate, no flags, no time, no extra flags, unknown system.
    out.append("\x1F\x8B\x08\x00\x00\x00\x00\x00\x00\xFF", 10);
    std::size_t at = 0;
    do {
        const std::size_t length = std::min(data.size() - at, kMaxStoredBlock);
        const bool last = at + length == data.size();
        // BFINAL, then BTYPE 00 (stored); the rest of the byte is padding.
        out += static_cast<char>(last ? 1 : 0);
        AppendLittleEndian(out, static_cast<std::uint32_t>(length), 2);
        AppendLittleEndian(out, static_cast<std::uint32_t>(~length & 0xFFFF), 2);
        out.append(data.substr(at, length));
        at += length;
    } while (at < data.size());
    AppendLittleEndian(out, Crc32(data), 4);
    AppendLittleEndian(out, static_cast<std::uint32_t>(data.size() & 0xFFFFFFFFu), 4);
}

}  // namespace bankwise
