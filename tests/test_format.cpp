// The formatter that renders user patterns: printf results for what it
// understands, the pattern as typed for everything else, and bounded output
// for hostile widths.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SafeFormat.h"

namespace bankwise {
namespace {

struct FormatCase
{
    const char* pattern;
    std::vector<FormatArg> args;
    std::string expected;
};

void PrintTo(const FormatCase& c, std::ostream* os)
{
    *os << '"' << c.pattern << '"';
}

class FormatTest : public ::testing::TestWithParam<FormatCase>
{
};

TEST_P(FormatTest, RendersAsExpected)
{
    const FormatCase& c = GetParam();
    EXPECT_EQ(SafeFormat(c.pattern, c.args), c.expected) << "pattern: " << c.pattern;
}

const FormatArg A = FormatArg::Char('A');

INSTANTIATE_TEST_SUITE_P(
    IntegerAndCharacter, FormatTest,
    ::testing::Values(
        FormatCase{"USER:%03d ", {FormatArg::Int(1)}, "USER:001 "},
        FormatCase{"%c%02d:", {A, FormatArg::Int(7)}, "A07:"},
        FormatCase{"%c%03d ", {FormatArg::Char('M'), FormatArg::Int(127)}, "M127 "},
        FormatCase{"Bank %d", {FormatArg::Int(4)}, "Bank 4"},
        FormatCase{"%-4d|", {FormatArg::Int(5)}, "5   |"},
        FormatCase{"%+d %+d", {FormatArg::Int(5), FormatArg::Int(-5)}, "+5 -5"},
        FormatCase{"% d", {FormatArg::Int(42)}, " 42"},
        FormatCase{"%05d", {FormatArg::Int(-42)}, "-0042"},
        FormatCase{"%.3d", {FormatArg::Int(7)}, "007"},
        FormatCase{"%6.3d", {FormatArg::Int(7)}, "   007"},
        FormatCase{"%.0d", {FormatArg::Int(0)}, ""},
        FormatCase{"%x %X %#x %o %#o",
                   {FormatArg::Int(255), FormatArg::Int(255), FormatArg::Int(255),
                    FormatArg::Int(8), FormatArg::Int(8)},
                   "ff FF 0xff 10 010"},
        FormatCase{"%u", {FormatArg::Int(-1)}, "4294967295"},
        FormatCase{"%hhd", {FormatArg::Int(200)}, "-56"},
        FormatCase{"%hhu %hu", {FormatArg::Int(200), FormatArg::Int(-1)}, "200 65535"},
        FormatCase{"%ld", {FormatArg::Int(9)}, "9"},
        FormatCase{"%i", {FormatArg::Int(-8192)}, "-8192"}, FormatCase{"%3c|", {A}, "  A|"},
        FormatCase{"100%%", {}, "100%"},
        FormatCase{"%s=%s", {FormatArg::Text("a"), FormatArg::Text("b")}, "a=b"},
        FormatCase{"[%-3s][%.2s]", {FormatArg::Text("a"), FormatArg::Text("xyz")}, "[a  ][xy]"}));

// What the number tests let through can ask for more or other arguments
// than are passed: those conversions stay as typed and nothing is read
// that was not passed.
INSTANTIATE_TEST_SUITE_P(UnmatchedConversionsAsTyped, FormatTest,
                         ::testing::Values(FormatCase{"%s%d", {FormatArg::Int(3)}, "%s3"},
                                           FormatCase{"%d-%d", {FormatArg::Int(3)}, "3-%d"},
                                           FormatCase{"%n%d", {FormatArg::Int(3)}, "%n3"},
                                           FormatCase{"%*d", {FormatArg::Int(3)}, "%*d"},
                                           FormatCase{"%.*d", {FormatArg::Int(3)}, "%.*d"},
                                           FormatCase{"%f %e %p", {FormatArg::Int(3)}, "%f %e %p"},
                                           FormatCase{"%d", {FormatArg::Text("x")}, "%d"},
                                           FormatCase{"%c", {}, "%c"},
                                           FormatCase{"abc%", {FormatArg::Int(1)}, "abc%"},
                                           FormatCase{"%-", {FormatArg::Int(1)}, "%-"},
                                           FormatCase{"%hs", {FormatArg::Text("x")}, "%hs"},
                                           FormatCase{"%d%c", {A}, "65%c"}));

TEST(FormatLimits, HugeWidthsAndPrecisionsAreCapped)
{
    for (const char* pattern : {"%999999d", "%.999999d", "%999999999999999999999c", "%0999999x"}) {
        const std::string out = SafeFormat(pattern, {FormatArg::Int(1)});
        EXPECT_EQ(out.size(), kMaxFieldWidth) << pattern;
    }
    std::string pattern;
    for (int i = 0; i < 50; ++i)
        pattern += "%999d";
    EXPECT_LE(SafeFormat(pattern, {FormatArg::Int(1)}).size(), kMaxFieldWidth + pattern.size());
}

TEST(FormatLimits, CharacterZeroStaysOneByte)
{
    EXPECT_EQ(SafeFormat("[%c]", {FormatArg::Int(0)}), std::string("[\0]", 3));
}

}  // namespace
}  // namespace bankwise
