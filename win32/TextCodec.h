// The view's text is single bytes, as the converter writes it; the edit
// control holds UTF-16. The bytes are shown in the program's ANSI code page,
// and each of the 256 byte values gets a character of its own, so a text
// that the user did not touch comes back byte for byte, whatever the code
// page leaves undefined. Standard C++ only, so it is tested on any machine.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace bankwise {

class CTextCodec
{
public:
    // decode gives the code page's character for a byte, or 0 where the
    // code page has none (or where it is not a single-byte code page).
    explicit CTextCodec(const std::function<wchar_t(unsigned char)>& decode);

    std::wstring ToWide(std::string_view bytes) const;
    // A character that no byte stands for (typed or pasted by the user) is
    // written as replacement.
    std::string ToBytes(std::wstring_view text, char replacement = '?') const;

    wchar_t CharOf(unsigned char byte) const { return m_forward[byte]; }

private:
    std::array<wchar_t, 256> m_forward{};
    std::unordered_map<wchar_t, unsigned char> m_back;
};

}  // namespace bankwise
