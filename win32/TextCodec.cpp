#include "TextCodec.h"

namespace bankwise {

namespace {

// Characters for bytes that the code page leaves out or gives a character
// already taken: Latin-1 first (what the Linux program shows), then a
// private-use character that nothing else produces.
constexpr wchar_t kPrivateBase = 0xF700;

}  // namespace

CTextCodec::CTextCodec(const std::function<wchar_t(unsigned char)>& decode)
{
    for (unsigned b = 0; b < 256; ++b) {
        const wchar_t c = decode(static_cast<unsigned char>(b));
        if (c != 0 && m_back.find(c) == m_back.end()) {
            m_forward[b] = c;
            m_back.emplace(c, static_cast<unsigned char>(b));
        }
    }
    for (unsigned b = 0; b < 256; ++b) {
        if (m_forward[b] != 0)
            continue;
        wchar_t c = static_cast<wchar_t>(b);
        if (b == 0 || m_back.find(c) != m_back.end())
            c = static_cast<wchar_t>(kPrivateBase + b);
        m_forward[b] = c;
        m_back.emplace(c, static_cast<unsigned char>(b));
    }
}

std::wstring CTextCodec::ToWide(std::string_view bytes) const
{
    std::wstring out;
    out.reserve(bytes.size());
    for (const char byte : bytes)
        out.push_back(m_forward[static_cast<unsigned char>(byte)]);
    return out;
}

std::string CTextCodec::ToBytes(std::wstring_view text, char replacement) const
{
    std::string out;
    out.reserve(text.size());
    for (const wchar_t c : text) {
        const auto it = m_back.find(c);
        out.push_back(it == m_back.end() ? replacement : static_cast<char>(it->second));
    }
    return out;
}

}  // namespace bankwise
