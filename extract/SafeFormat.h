// printf-style formatting of naming patterns that the user typed. A pattern
// is data, never a format for the C library: this formatter understands the
// flags, width and precision of the integer conversions (d i u o x X), the
// character conversion (c) and text (s), takes the arguments in order and
// never one that was not passed. A conversion it does not understand, or
// whose argument is missing or of the other kind, is written as typed
// (%n, %f, %*d, %s fed a number ...). Width and precision are capped so that
// no pattern can blow up the text.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace bankwise {

class FormatArg
{
public:
    enum class Kind { Integer, Text };

    static FormatArg Int(long long value) { return FormatArg(Kind::Integer, value, {}); }
    static FormatArg Char(char letter)
    {
        return FormatArg(Kind::Integer, static_cast<unsigned char>(letter), {});
    }
    static FormatArg Text(std::string_view text) { return FormatArg(Kind::Text, 0, text); }

    Kind kind() const { return m_kind; }
    long long integer() const { return m_integer; }
    std::string_view text() const { return m_text; }

private:
    FormatArg(Kind kind, long long integer, std::string_view text)
        : m_kind(kind), m_integer(integer), m_text(text)
    {}

    Kind m_kind;
    long long m_integer;
    std::string_view m_text;
};

// Largest width or precision honoured; larger ones are reduced to it.
inline constexpr std::size_t kMaxFieldWidth = 255;

std::string SafeFormat(std::string_view pattern, std::span<const FormatArg> args);

inline std::string SafeFormat(std::string_view pattern, std::initializer_list<FormatArg> args)
{
    return SafeFormat(pattern, std::span<const FormatArg>(args.begin(), args.size()));
}

}  // namespace bankwise
