// The Windows program's standard-C++ parts: the code-page codec of the
// view, the command line, and the page layout of printing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CommandLine.h"
#include "PrintLayout.h"
#include "TextCodec.h"

namespace bankwise {
namespace {

// Windows-1252 as Windows decodes it: five bytes undefined.
wchar_t Decode1252(unsigned char byte)
{
    static const wchar_t high[32] = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    return byte >= 0x80 && byte < 0xA0 ? high[byte - 0x80] : static_cast<wchar_t>(byte);
}

TEST(TextCodec, EveryByteRoundTripsWhateverTheCodePageLeavesOut)
{
    // A code page with gaps, one that gives two bytes the same character,
    // and one that knows nothing (a multi-byte page).
    const std::vector<std::function<wchar_t(unsigned char)>> pages = {
        Decode1252,
        [](unsigned char b) { return b >= 0xF0 ? wchar_t{L'?'} : static_cast<wchar_t>(b); },
        [](unsigned char) { return wchar_t{0}; },
    };
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    for (const auto& page : pages) {
        const CTextCodec codec(page);
        const std::wstring wide = codec.ToWide(all);
        EXPECT_EQ(codec.ToBytes(wide), all);
        EXPECT_EQ(wide.find(L'\0'), std::wstring::npos) << "a NUL would end the control's text";
    }
}

TEST(TextCodec, ShowsTheCodePagesCharactersAndReplacesForeignOnes)
{
    const CTextCodec codec(Decode1252);
    EXPECT_EQ(codec.ToWide("\x80\xE9\r\n"), L"\u20AC\u00E9\r\n");
    EXPECT_EQ(codec.CharOf(0x81), L'\u0081');  // undefined: its Latin-1 character
    EXPECT_EQ(codec.ToBytes(L"a\u65E5b"), "a?b");
}

TEST(CommandLine, SwitchesAndFiles)
{
    using A = CCommandLine::EAction;
    const struct
    {
        std::vector<std::wstring> args;
        A action;
        std::wstring file;
        std::wstring printer;
        bool missing;
        std::size_t tooMany = 0;
    } cases[] = {
        {{}, A::New, L"", L"", false},
        {{L"C:\\B\u00E4nke\\x.syx"}, A::Open, L"C:\\B\u00E4nke\\x.syx", L"", false},
        {{L"/p", L"x.syx"}, A::Print, L"x.syx", L"", false},
        {{L"-P", L"x.syx"}, A::Print, L"x.syx", L"", false},
        {{L"/pt", L"x.syx", L"Laser", L"drv", L"port"}, A::PrintTo, L"x.syx", L"Laser", false},
        {{L"/pt", L"x.syx", L"Laser"}, A::PrintTo, L"x.syx", L"Laser", false},
        {{L"/pt", L"x.syx"}, A::PrintTo, L"x.syx", L"", true},
        {{L"-"}, A::Open, L"-", L"", false},
        {{L"/p"}, A::Print, L"", L"", true},
        {{L"/Register"}, A::Register, L"", L"", false},
        {{L"/unregserver"}, A::Unregister, L"", L"", false},
        {{L"/dde", L"x.syx"}, A::Open, L"x.syx", L"", false},
        {{L"a.syx", L"b.syx"}, A::Open, L"a.syx", L"b.syx", false, 2},
        {{L"/p", L"a.syx", L"b.syx", L"c.syx"}, A::Print, L"a.syx", L"b.syx", false, 3},
    };
    for (const auto& c : cases) {
        const CCommandLine line = ParseCommandLine(c.args);
        EXPECT_EQ(line.action, c.action);
        EXPECT_EQ(line.file, c.file);
        EXPECT_EQ(line.printer, c.printer);
        EXPECT_EQ(line.missingArgument, c.missing);
        EXPECT_EQ(line.tooManyFiles, c.tooMany);
    }
}

// Pages as one text: lines joined by '|', pages by '#'.
std::wstring Flat(const std::vector<Page>& pages)
{
    std::wstring out;
    for (const Page& page : pages) {
        if (!out.empty())
            out += L'#';
        for (std::size_t i = 0; i < page.size(); ++i)
            out += (i == 0 ? L"" : L"|") + page[i];
    }
    return out;
}

TEST(CommandLine, CutsTheRegisteredCommandBeforeItsPlaceholder)
{
    const std::vector<std::pair<std::wstring, std::wstring>> rows = {
        {L"\"C:\\Web\\web.exe\" -osint -url \"%1\"", L"\"C:\\Web\\web.exe\" -osint -url "},
        {L"web.exe %1 -new", L"web.exe "},
        {L"web.exe \"%1\" %1", L"web.exe "},
        {L"web.exe -new", L"web.exe -new"},
    };
    for (const auto& [command, cut] : rows)
        EXPECT_EQ(CutPlaceholder(command), cut);
}

TEST(PrintLayout, WrapsAtSpacesAndFillsPages)
{
    const auto fitTen = [](std::wstring_view line) {
        return std::min<std::size_t>(line.size(), 10);
    };
    const struct
    {
        std::wstring text;
        std::size_t lines;
        std::wstring pages;
    } cases[] = {
        {L"", 3, L""},
        {L"a\r\nb\r\nc\r\nd\r\n", 3, L"a|b|c#d"},
        {L"a\r\n\r\nb", 5, L"a||b"},
        {L"0=Strings Pad\r\n", 5, L"0=Strings|Pad"},
        {L"0123456789ABCDE", 5, L"0123456789|ABCDE"},
        {L"abc       defghij", 5, L"abc|defghij"},
        {L"a bcdefghijkl", 5, L"a|bcdefghijk|l"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Flat(PaginateText(c.text, c.lines, fitTen)), c.pages) << c.text.c_str();
    // A measure that fits nothing still moves on, one character a line.
    EXPECT_EQ(Flat(PaginateText(L"ab", 5, [](std::wstring_view) { return std::size_t{0}; })),
              L"a|b");
}

}  // namespace
}  // namespace bankwise
