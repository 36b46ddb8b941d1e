// Fuzz target for the formatter of user patterns. The input's first bytes
// choose the argument list, the rest is the pattern:
//
//   byte 0          argument count, modulo 5
//   per argument    a tag byte: tag % 3 == 0 an integer from the next 8 bytes
//                   (little-endian), 1 a character from the next byte, 2 a
//                   text whose length (modulo 32) is the next byte, then
//                   its bytes
//   the rest        the pattern
//
// Besides the sanitizers it checks that the output stays bounded, that a
// pattern given no arguments comes back as typed (with "%%" read as '%'),
// and that a single plain integer or character conversion gives what the C
// library gives for it.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "SafeFormat.h"

namespace {

using bankwise::FormatArg;

class CInput
{
public:
    CInput(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool AtEnd() const { return m_pos >= m_size; }
    std::uint8_t Byte() { return AtEnd() ? 0 : m_data[m_pos++]; }
    std::string_view Text(std::size_t length)
    {
        const std::size_t n = std::min(length, m_size - std::min(m_pos, m_size));
        const std::string_view text(reinterpret_cast<const char*>(m_data) + m_pos, n);
        m_pos += n;
        return text;
    }
    std::string_view Rest() { return Text(m_size); }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

std::vector<FormatArg> ReadArguments(CInput& in)
{
    std::vector<FormatArg> args;
    const int count = in.Byte() % 5;
    for (int i = 0; i < count && !in.AtEnd(); ++i) {
        const std::uint8_t tag = in.Byte();
        if (tag % 3 == 0) {
            std::uint64_t value = 0;
            for (int b = 0; b < 8; ++b)
                value |= static_cast<std::uint64_t>(in.Byte()) << (8 * b);
            args.push_back(FormatArg::Int(static_cast<long long>(value)));
        } else if (tag % 3 == 1) {
            args.push_back(FormatArg::Char(static_cast<char>(in.Byte())));
        } else {
            args.push_back(FormatArg::Text(in.Text(in.Byte() % 32)));
        }
    }
    return args;
}

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

// One conversion that the C library defines for an int argument, rebuilt
// from checked parts; the fuzzer's bytes never reach snprintf as a format.
struct PlainConversion
{
    std::string_view before;
    std::string_view after;
    std::string format;
};

std::optional<PlainConversion> FindPlainConversion(std::string_view pattern)
{
    const std::size_t percent = pattern.find('%');
    if (percent == std::string_view::npos ||
        pattern.find('%', percent + 1) != std::string_view::npos ||
        pattern.find('\0') != std::string_view::npos)
        return std::nullopt;
    std::string flags;
    std::size_t i = percent + 1;
    while (i < pattern.size() &&
           std::string_view("-+ #0").find(pattern[i]) != std::string_view::npos)
        flags += pattern[i++];
    auto number = [&](std::string& digits) {
        while (i < pattern.size() && pattern[i] >= '0' && pattern[i] <= '9' && digits.size() < 4)
            digits += pattern[i++];
        return digits.size() < 4 && (digits.empty() || std::stoi(digits) <= 255);
    };
    std::string width;
    std::string precision;
    if (!number(width))
        return std::nullopt;
    const bool hasPrecision = i < pattern.size() && pattern[i] == '.';
    if (hasPrecision) {
        ++i;
        if (!number(precision))
            return std::nullopt;
    }
    std::string length;
    while (i < pattern.size() && pattern[i] == 'h' && length.size() < 2)
        length += pattern[i++];
    if (i >= pattern.size())
        return std::nullopt;
    const char conversion = pattern[i];
    const bool integer = std::string_view("diouxX").find(conversion) != std::string_view::npos;
    const bool letter = conversion == 'c';
    if (!integer && !letter)
        return std::nullopt;
    // Combinations the C library leaves undefined.
    const bool alternate = flags.find('#') != std::string::npos;
    if (alternate && conversion != 'o' && conversion != 'x' && conversion != 'X')
        return std::nullopt;
    if (letter && (hasPrecision || !length.empty() || flags.find('0') != std::string::npos))
        return std::nullopt;

    PlainConversion found;
    found.before = pattern.substr(0, percent);
    found.after = pattern.substr(i + 1);
    found.format =
        "%" + flags + width + (hasPrecision ? "." + precision : "") + length + conversion;
    return found;
}

void CheckAgainstCLibrary(std::string_view pattern, const std::vector<FormatArg>& args,
                          const std::string& out)
{
    if (args.empty() || args.front().kind() != FormatArg::Kind::Integer)
        return;
    const std::optional<PlainConversion> plain = FindPlainConversion(pattern);
    if (!plain)
        return;
    // The formatter reads these conversions as a 32-bit int, as printf does.
    const auto value = static_cast<int>(
        static_cast<std::int32_t>(static_cast<std::uint32_t>(args.front().integer() & 0xFFFFFFFF)));
    std::array<char, 1024> buffer{};
    const int n = std::snprintf(buffer.data(), buffer.size(), plain->format.c_str(), value);
    BANKWISE_FUZZ_CHECK(n >= 0 && static_cast<std::size_t>(n) < buffer.size());
    std::string expected(plain->before);
    expected.append(buffer.data(), static_cast<std::size_t>(n));
    expected += plain->after;
    BANKWISE_FUZZ_CHECK(out == expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CInput in(data, size);
    const std::vector<FormatArg> args = ReadArguments(in);
    const std::string_view pattern = in.Rest();

    const std::string out = bankwise::SafeFormat(pattern, args);

    BANKWISE_FUZZ_CHECK(out.size() <= pattern.size() * (bankwise::kMaxFieldWidth + 16) + 64);
    if (args.empty() || pattern.find('%') == std::string_view::npos)
        BANKWISE_FUZZ_CHECK(out == AsTyped(pattern));
    CheckAgainstCLibrary(pattern, args, out);
    return 0;
}
