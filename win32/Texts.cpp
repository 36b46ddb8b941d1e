#include "Texts.h"

#include "StringTable.h"
#include "Win.h"

namespace bankwise {

std::wstring Widen(std::string_view utf8)
{
    if (utf8.empty())
        return {};
    const int size = static_cast<int>(utf8.size());
    int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
    // Not UTF-8: an old text in the ANSI code page.
    const UINT codePage = length > 0 ? CP_UTF8 : CP_ACP;
    const DWORD flags = length > 0 ? MB_ERR_INVALID_CHARS : 0;
    length = MultiByteToWideChar(codePage, flags, utf8.data(), size, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, flags, utf8.data(), size, out.data(), length);
    return out;
}

std::string Narrow(std::wstring_view wide)
{
    if (wide.empty())
        return {};
    const int size = static_cast<int>(wide.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, out.data(), length, nullptr, nullptr);
    return out;
}

std::wstring Text(unsigned id)
{
    return Widen(LoadString(id));
}

std::wstring StatusPrompt(unsigned id)
{
    const std::wstring prompt = Text(id);
    return prompt.substr(0, prompt.find(L'\n'));
}

std::wstring ToolTipText(unsigned id)
{
    const std::wstring prompt = Text(id);
    const std::size_t newline = prompt.find(L'\n');
    return newline == std::wstring::npos ? std::wstring() : prompt.substr(newline + 1);
}

}  // namespace bankwise
