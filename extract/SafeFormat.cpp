#include "SafeFormat.h"

#include <algorithm>
#include <cstdint>

namespace bankwise {
namespace {

struct Conversion
{
    bool left = false;       // '-'
    bool plus = false;       // '+'
    bool space = false;      // ' '
    bool alternate = false;  // '#'
    bool zero = false;       // '0'
    std::size_t width = 0;
    bool hasPrecision = false;
    std::size_t precision = 0;
    int lengthShorts = 0;  // 1 for h, 2 for hh
    char specifier = 0;    // d i u o x X c s
};

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Reads a run of digits, saturating at the cap instead of overflowing.
std::size_t ReadNumber(std::string_view pattern, std::size_t& i)
{
    std::size_t value = 0;
    while (i < pattern.size() && IsDigit(pattern[i])) {
        value = std::min<std::size_t>(value * 10 + static_cast<std::size_t>(pattern[i] - '0'),
                                      kMaxFieldWidth);
        ++i;
    }
    return value;
}

// Parses the conversion that starts at pattern[start] == '%'. On success
// sets end to one past the conversion character and returns true; returns
// false for anything this formatter does not understand.
bool ParseConversion(std::string_view pattern, std::size_t start, Conversion& conv,
                     std::size_t& end)
{
    std::size_t i = start + 1;
    for (; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '-')
            conv.left = true;
        else if (c == '+')
            conv.plus = true;
        else if (c == ' ')
            conv.space = true;
        else if (c == '#')
            conv.alternate = true;
        else if (c == '0')
            conv.zero = true;
        else
            break;
    }
    conv.width = ReadNumber(pattern, i);
    if (i < pattern.size() && pattern[i] == '.') {
        ++i;
        conv.hasPrecision = true;
        conv.precision = ReadNumber(pattern, i);
    }
    // Length modifiers: the value is already an int, so only h and hh change it.
    if (i < pattern.size() && pattern[i] == 'h') {
        ++i;
        conv.lengthShorts = 1;
        if (i < pattern.size() && pattern[i] == 'h') {
            ++i;
            conv.lengthShorts = 2;
        }
    } else if (i < pattern.size() && pattern[i] == 'l') {
        ++i;
        if (i < pattern.size() && pattern[i] == 'l')
            ++i;
    } else if (i < pattern.size() &&
               (pattern[i] == 'j' || pattern[i] == 'z' || pattern[i] == 't')) {
        ++i;
    }
    if (i >= pattern.size())
        return false;
    const char c = pattern[i];
    switch (c) {
    case 'd':
    case 'i':
    case 'u':
    case 'o':
    case 'x':
    case 'X':
    case 'c':
        break;
    case 's':
        if (conv.lengthShorts != 0)
            return false;
        break;
    default:
        return false;
    }
    conv.specifier = c;
    end = i + 1;
    return true;
}

void Pad(std::string& out, std::size_t count, char fill)
{
    out.append(count, fill);
}

void AppendField(std::string& out, const Conversion& conv, std::string_view body)
{
    const std::size_t pad = conv.width > body.size() ? conv.width - body.size() : 0;
    if (!conv.left)
        Pad(out, pad, ' ');
    out.append(body);
    if (conv.left)
        Pad(out, pad, ' ');
}

void AppendInteger(std::string& out, const Conversion& conv, long long raw)
{
    // The C library reads these conversions as a 32-bit int; do the same.
    auto value = static_cast<std::int32_t>(static_cast<std::uint32_t>(raw & 0xFFFFFFFF));
    if (conv.lengthShorts == 1)
        value = static_cast<std::int16_t>(value & 0xFFFF);
    else if (conv.lengthShorts == 2)
        // NOLINTNEXTLINE(bugprone-signed-char-misuse): hh is signed
        value = static_cast<std::int8_t>(value & 0xFF);

    const bool isSigned = conv.specifier == 'd' || conv.specifier == 'i';
    bool negative = false;
    std::uint32_t magnitude = 0;
    if (isSigned) {
        negative = value < 0;
        magnitude =
            negative ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    } else {
        magnitude = static_cast<std::uint32_t>(value);
        if (conv.lengthShorts == 1)
            magnitude &= 0xFFFF;
        else if (conv.lengthShorts == 2)
            magnitude &= 0xFF;
    }

    unsigned base = 10;
    const char* digitsSet = "0123456789abcdef";
    if (conv.specifier == 'o')
        base = 8;
    else if (conv.specifier == 'x')
        base = 16;
    else if (conv.specifier == 'X') {
        base = 16;
        digitsSet = "0123456789ABCDEF";
    }

    std::string digits;
    for (std::uint32_t m = magnitude; m != 0; m /= base)
        digits.insert(digits.begin(), digitsSet[m % base]);
    if (!conv.hasPrecision && digits.empty())
        digits.push_back('0');  // not = "0": GCC 12 -O2 gives a false -Wrestrict there
    if (conv.hasPrecision && digits.size() < conv.precision)
        digits.insert(0, conv.precision - digits.size(), '0');
    if (conv.specifier == 'o' && conv.alternate && (digits.empty() || digits.front() != '0'))
        digits.insert(digits.begin(), '0');

    std::string prefix;
    if (isSigned) {
        if (negative)
            prefix = "-";
        else if (conv.plus)
            prefix = "+";
        else if (conv.space)
            prefix = " ";
    } else if (conv.alternate && magnitude != 0) {
        if (conv.specifier == 'x')
            prefix = "0x";
        else if (conv.specifier == 'X')
            prefix = "0X";
    }

    const std::size_t length = prefix.size() + digits.size();
    if (conv.zero && !conv.left && !conv.hasPrecision && conv.width > length) {
        out += prefix;
        Pad(out, conv.width - length, '0');
        out += digits;
        return;
    }
    AppendField(out, conv, prefix + digits);
}

}  // namespace

std::string SafeFormat(std::string_view pattern, std::span<const FormatArg> args)
{
    std::string out;
    out.reserve(pattern.size() + 16);
    std::size_t next = 0;  // index of the next argument to take
    std::size_t i = 0;
    while (i < pattern.size()) {
        const char c = pattern[i];
        if (c != '%') {
            out += c;
            ++i;
            continue;
        }
        if (i + 1 < pattern.size() && pattern[i + 1] == '%') {
            out += '%';
            i += 2;
            continue;
        }
        Conversion conv;
        std::size_t end = 0;
        const bool understood = ParseConversion(pattern, i, conv, end);
        if (!understood) {
            // Write the '%' itself and go on: what follows is plain text.
            out += '%';
            ++i;
            continue;
        }
        const FormatArg::Kind wanted =
            conv.specifier == 's' ? FormatArg::Kind::Text : FormatArg::Kind::Integer;
        if (next >= args.size() || args[next].kind() != wanted) {
            out.append(pattern.substr(i, end - i));
            i = end;
            continue;
        }
        const FormatArg& arg = args[next++];
        if (conv.specifier == 's') {
            std::string_view text = arg.text();
            if (conv.hasPrecision && text.size() > conv.precision)
                text = text.substr(0, conv.precision);
            AppendField(out, conv, text);
        } else if (conv.specifier == 'c') {
            const char letter = static_cast<char>(static_cast<unsigned char>(arg.integer() & 0xFF));
            AppendField(out, conv, std::string_view(&letter, 1));
        } else {
            AppendInteger(out, conv, arg.integer());
        }
        i = end;
    }
    return out;
}

}  // namespace bankwise
