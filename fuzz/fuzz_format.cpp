// Fuzz target for the formatter of user patterns. Byte 0 gives the argument
// count (modulo 5); each argument is a tag byte, tag % 3 picking an integer
// (8 bytes, little-endian), a character (1 byte) or a text (a length byte
// modulo 32, then its bytes); the rest is the pattern. The output must stay
// bounded, come back as typed without arguments, and match the C library
// for a single plain integer or character conversion.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "SafeFormat.h"

namespace {

using bankwise::FormatArg;

// The pattern with each "%%" read as one '%', left to right: what the
// formatter must give when it has no argument to put anywhere.
std::string AsTyped(std::string_view pattern)
{
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        out += pattern[i];
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == '%')
            ++i;
    }
    return out;
}

// When the pattern holds one conversion that the C library defines for an
// int argument, the output must be the library's. The format is rebuilt
// from checked parts; the fuzzer's bytes never reach snprintf as a format.
void CheckAgainstCLibrary(std::string_view pattern, long long argument, const std::string& out)
{
    const std::size_t percent = pattern.find('%');
    if (percent == std::string_view::npos || pattern.find('%', percent + 1) != pattern.npos ||
        pattern.find('\0') != pattern.npos)
        return;
    std::size_t i = percent + 1;
    const auto take = [&](std::string_view allowed, std::size_t most) {
        const std::size_t from = i;
        while (i < pattern.size() && i - from < most && allowed.find(pattern[i]) != pattern.npos)
            ++i;
        return std::string(pattern.substr(from, i - from));
    };
    const std::string flags = take("-+ #0", 8), width = take("0123456789", 4);
    const bool hasPrecision = take(".", 1) == ".";
    const std::string precision = take("0123456789", 4), length = take("h", 2);
    if (width.size() > 3 || precision.size() > 3 || (!width.empty() && std::stoi(width) > 255) ||
        (!precision.empty() && std::stoi(precision) > 255) || i >= pattern.size())
        return;
    const char conversion = pattern[i];
    const bool letter = conversion == 'c';
    if (!letter && std::string_view("diouxX").find(conversion) == std::string_view::npos)
        return;
    // Combinations the C library leaves undefined.
    if (flags.find('#') != std::string::npos &&
        std::string_view("oxX").find(conversion) == pattern.npos)
        return;
    if (letter && (hasPrecision || !length.empty() || flags.find('0') != std::string::npos))
        return;
    const std::string format =
        "%" + flags + width + (hasPrecision ? "." + precision : "") + length + conversion;
    // The formatter reads these conversions as a 32-bit int, as printf does.
    const auto value = static_cast<int>(static_cast<std::int32_t>(
        static_cast<std::uint32_t>(static_cast<unsigned long long>(argument) & 0xFFFFFFFF)));
    std::array<char, 1024> buffer{};
    const int n = std::snprintf(buffer.data(), buffer.size(), format.c_str(), value);
    BANKWISE_FUZZ_CHECK(n >= 0 && static_cast<std::size_t>(n) < buffer.size());
    BANKWISE_FUZZ_CHECK(out == std::string(pattern.substr(0, percent)) +
                                   std::string(buffer.data(), static_cast<std::size_t>(n)) +
                                   std::string(pattern.substr(i + 1)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::size_t pos = 0;
    const auto byte = [&] { return pos < size ? data[pos++] : std::uint8_t{0}; };
    const auto text = [&](std::size_t length) {
        const std::string_view taken(reinterpret_cast<const char*>(data) + pos,
                                     std::min(length, size - pos));
        pos += taken.size();
        return taken;
    };
    std::vector<FormatArg> args;
    for (int i = 0, count = byte() % 5; i < count && pos < size; ++i) {
        const std::uint8_t tag = byte();
        if (tag % 3 == 0) {
            std::uint64_t value = 0;
            for (int b = 0; b < 8; ++b)
                value |= static_cast<std::uint64_t>(byte()) << (8 * b);
            args.push_back(FormatArg::Int(static_cast<long long>(value)));
        } else if (tag % 3 == 1) {
            args.push_back(FormatArg::Char(static_cast<char>(byte())));
        } else {
            args.push_back(FormatArg::Text(text(byte() % 32)));
        }
    }
    const std::string_view pattern = text(size);
    const std::string out = bankwise::SafeFormat(pattern, args);

    BANKWISE_FUZZ_CHECK(out.size() <= pattern.size() * (bankwise::kMaxFieldWidth + 16) + 64);
    if (args.empty() || pattern.find('%') == std::string_view::npos)
        BANKWISE_FUZZ_CHECK(out == AsTyped(pattern));
    if (!args.empty() && args.front().kind() == FormatArg::Kind::Integer)
        CheckAgainstCLibrary(pattern, args.front().integer(), out);
    return 0;
}
