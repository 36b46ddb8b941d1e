// The formatter of user patterns and the settings; what the
// patterns make of a dump is in the golden files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "JvXpExtractor.h"
#include "Profile.h"
#include "SafeFormat.h"
#include "TestSupport.h"

namespace bankwise {
namespace {

FormatArg Int(long long value)
{
    return FormatArg::Int(value);
}

// Conversions that ask for more or other arguments than are passed stay as
// typed (from "%s%d" on), and nothing is read that was not passed. A single
// integer conversion is compared with the C library by the format fuzz
// target, over its saved inputs.
TEST(SafeFormat, RendersAsPrintfDoes)
{
    const FormatArg a = FormatArg::Char('A');
    const std::tuple<const char*, std::vector<FormatArg>, std::string> cases[] = {
        {"%c%02d:", {a, Int(7)}, "A07:"},
        {"%+d %+d", {Int(5), Int(-5)}, "+5 -5"},
        {"%x %X %#x %o %#o", {Int(255), Int(255), Int(255), Int(8), Int(8)}, "ff FF 0xff 10 010"},
        {"%#x %#o", {Int(0), Int(0)}, "0 0"},
        {"%hhu %hu", {Int(200), Int(-1)}, "200 65535"},
        {"%ld", {Int(9)}, "9"},
        {"%jd %zd %td", {Int(1), Int(2), Int(3)}, "1 2 3"},
        {"%3c|", {a}, "  A|"},
        {"100%%", {}, "100%"},
        {"%s=%s", {FormatArg::Text("a"), FormatArg::Text("b")}, "a=b"},
        {"[%-3s][%.2s]", {FormatArg::Text("a"), FormatArg::Text("xyz")}, "[a  ][xy]"},
        {"%s%d", {Int(3)}, "%s3"},
        {"%d-%d", {Int(3)}, "3-%d"},
        {"%n%d", {Int(3)}, "%n3"},
        {"%*d", {Int(3)}, "%*d"},
        {"%.*d", {Int(3)}, "%.*d"},
        {"%f %e %p", {Int(3)}, "%f %e %p"},
        {"%d", {FormatArg::Text("x")}, "%d"},
        {"%c", {}, "%c"},
        {"abc%", {Int(1)}, "abc%"},
        {"%-", {Int(1)}, "%-"},
        {"%hs", {FormatArg::Text("x")}, "%hs"},
        {"%d%c", {a}, "65%c"}};
    for (const auto& [pattern, args, expected] : cases)
        EXPECT_EQ(SafeFormat(pattern, args), expected) << pattern;
    EXPECT_EQ(SafeFormat("[%c]", {Int(0)}), std::string("[\0]", 3));
}

TEST(SafeFormat, HugeWidthsAndPrecisionsAreCapped)
{
    for (const char* pattern : {"%999999d", "%.999999d", "%999999999999999999999c", "%0999999x"})
        EXPECT_EQ(SafeFormat(pattern, {Int(1)}).size(), kMaxFieldWidth) << pattern;
    std::string pattern;
    for (int i = 0; i < 50; ++i)
        pattern += "%999d";
    EXPECT_LE(SafeFormat(pattern, {Int(1)}).size(), kMaxFieldWidth + pattern.size());
}

TEST(Writer, SettingsPresentButEmptyAreEmpty)
{
    CMemoryProfile profile;
    profile.WriteProfileString("Roland JV/XP", "InstrFormat", "");
    CJvXpExtractor extractor;
    EXPECT_EQ(extractor.GetInstrFormat(), "USER:%03d ");
    extractor.SetProfile(profile);
    EXPECT_EQ(extractor.GetInstrFormat(), "");
    EXPECT_TRUE(profile.WriteProfileInt("Roland JV/XP", "Number", 42));
    profile.WriteProfileString("Roland JV/XP", "Text", "12abc");
    EXPECT_EQ(profile.GetProfileInt("Roland JV/XP", "Number", 7), 42);
    EXPECT_EQ(profile.GetProfileInt("Roland JV/XP", "Text", 7), 7);
}

}  // namespace
}  // namespace bankwise
