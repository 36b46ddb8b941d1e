// The instrument definition layout every family shares, the naming settings
// and the small byte and pattern helpers.
#include <gtest/gtest.h>

#include "BusyGuard.h"
#include "JvXpExtractor.h"
#include "OrbitExtractor.h"
#include "Profile.h"
#include "TestSupport.h"

namespace bankwise {
namespace {

using test::Lines;

constexpr const char* kOrbit = "E-MU Orbit/Phatt/Caranaval";

std::string Write(CDumpExtractor& extractor)
{
    std::string text;
    extractor.WriteDefinition(text);
    return text;
}

TEST(ReferenceWriter, EmptyListsGiveOnlyHeadings)
{
    COrbitExtractor orbit;
    EXPECT_EQ(
        Write(orbit),
        Lines({"; Cakewalk Instrument Definition File for E-MU Orbit/Phatt/Caranaval", "",
               ".Patch Names", "", ".Instrument Definitions", "", "[E-MU Orbit/Phatt/Caranaval]"}));
}

struct SettingsCase
{
    const char* bankFormat;
    const char* instrFormat;
    const char* expectedHeading;  // of the second bank
    const char* expectedLine;     // slot 4 of the second bank
    const char* expectedPatch;    // the second bank's Patch line
};

class ReferenceSettings : public ::testing::TestWithParam<SettingsCase>
{
};

TEST_P(ReferenceSettings, BankAndPatchPatterns)
{
    const SettingsCase& c = GetParam();
    CMemoryProfile profile;
    profile.WriteProfileString(kOrbit, "BankFormat", c.bankFormat);
    profile.WriteProfileString(kOrbit, "InstrFormat", c.instrFormat);
    CScopedAppProfile scope(profile);

    COrbitExtractor orbit;
    orbit.m_banks[1] = {"a", "b", "c", "d", "Fifth"};
    const std::string text = Write(orbit);
    EXPECT_NE(text.find(std::string("\r\n[") + c.expectedHeading + "]\r\n"), std::string::npos)
        << text;
    EXPECT_NE(text.find(std::string("\r\n") + c.expectedLine + "\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find(std::string("\r\n") + c.expectedPatch + "\r\n"), std::string::npos) << text;
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, ReferenceSettings,
    ::testing::Values(
        // "%d" side by side formats the bank index; "%02d" does not.
        SettingsCase{"Bank %d", "", "Bank 1", "4=Fifth", "Patch[1]=Bank 1"},
        SettingsCase{"Bank %02d", "", "Bank %02d", "4=Fifth", "Patch[1]=Bank %02d"},
        // The prefix number is the program number across the dump.
        SettingsCase{"B%d", "P%03d ", "B1", "4=P132 Fifth", "Patch[1]=B1"},
        SettingsCase{"B%d", "#%d", "B1", "4=#132Fifth", "Patch[1]=B1"},
        SettingsCase{"B%d", "%-4d", "B1", "4=132 Fifth", "Patch[1]=B1"},
        // No 'd' after the first '%': written as it stands.
        SettingsCase{"B%d", "abc%x", "B1", "4=abc%xFifth", "Patch[1]=B1"},
        SettingsCase{"B%d", "d%", "B1", "4=d%Fifth", "Patch[1]=B1"},
        // Conversions that do not fit one integer render without faulting.
        SettingsCase{"B%d", "%s%d:", "B1", "4=%s132:Fifth", "Patch[1]=B1"},
        SettingsCase{"B%d%d", "%d-%d ", "B1%d", "4=132-%d Fifth", "Patch[1]=B1%d"},
        // A %c fed a number must not put control bytes into the file.
        SettingsCase{"B%c%d", "%c%d|", "B?%d", "4=\x84%d|Fifth", "Patch[1]=B?%d"}));

TEST(ReferenceWriter, GapsControlBytesAndHighBytes)
{
    COrbitExtractor orbit;
    StoreName(orbit.m_banks[0], 2, "Caf\xE9 \xC1");
    // A line break inside a name must not open a section of its own.
    StoreName(orbit.m_banks[0], 0, std::string("a\r\n[Evil]\x7F\0z", 12));
    const std::string text = Write(orbit);
    EXPECT_NE(text.find("\r\n0=a??[Evil]??z\r\n1=\r\n2=Caf\xE9 \xC1\r\n"), std::string::npos)
        << text;
    EXPECT_EQ(text.find("\r\n[Evil]"), std::string::npos);
    EXPECT_EQ(Write(orbit), text);  // writing changes nothing
}

TEST(NamingSettings, DefaultsPresentButEmptyAndReadAtEachWrite)
{
    CMemoryProfile profile;
    CScopedAppProfile scope(profile);
    CJvXpExtractor jv;
    EXPECT_EQ(jv.GetDefinitionName(), "Roland JV/XP");
    EXPECT_EQ(jv.GetInstrFormat(), "USER:%03d ");
    // Present but empty is the empty text, not the default.
    profile.WriteProfileString("Roland JV/XP", "InstrFormat", "");
    EXPECT_EQ(jv.GetInstrFormat(), "");

    COrbitExtractor orbit;
    orbit.m_banks[0] = {"x"};
    EXPECT_EQ(Write(orbit).find("[Phatt]"), std::string::npos);
    profile.WriteProfileString(kOrbit, "Definition", "Phatt");
    EXPECT_NE(Write(orbit).find("\r\n[Phatt]\r\nPatch[0]=Orbit Bank 0\r\n"), std::string::npos);
}

TEST(Make14BitValue, TwosComplementLowPartFirst)
{
    struct Case
    {
        std::uint8_t lo, hi;
        int expected;
    };
    for (const Case c : {Case{0, 0, 0}, Case{1, 1, 129}, Case{0x7F, 0x3F, 8191},
                         Case{0, 0x40, -8192}, Case{0x7F, 0x7F, -1}, Case{0x41, 0x01, 0xC1}}) {
        EXPECT_EQ(Make14BitValue(c.lo, c.hi), c.expected) << int(c.lo) << "," << int(c.hi);
    }
}

TEST(NameFromField, EndsAtZeroAndTrimsOnlyWhenAsked)
{
    const std::uint8_t padded[] = {' ', 'P', 'a', 'd', ' ', '\t', ' ', ' '};
    EXPECT_EQ(NameFromField(padded, ETrim::TrailingWhiteSpace), " Pad");
    EXPECT_EQ(NameFromField(padded, ETrim::Keep), " Pad \t  ");
    const std::uint8_t cut[] = {'A', 'b', 0, 'z', 'z'};
    EXPECT_EQ(NameFromField(cut, ETrim::Keep), "Ab");
    const std::uint8_t blank[] = {' ', ' '};
    EXPECT_EQ(NameFromField(blank, ETrim::TrailingWhiteSpace), "");
}

TEST(PatternTests, NumberAndLetterAnalysis)
{
    struct Case
    {
        const char* pattern;
        bool carriesNumber;  // reference rule
        bool hasLetter;
        bool hasNumber;  // letter-and-number rule
    };
    for (const Case c : {Case{"%03d", true, false, true}, Case{"#%d", true, false, true},
                         Case{"%-4d", true, false, true}, Case{"%x", false, false, false},
                         Case{"d%", false, false, false}, Case{"", false, false, false},
                         Case{"%c%02d:", true, true, true}, Case{"%c", false, true, false},
                         Case{"%02d%c", true, true, false}, Case{"%cd", true, true, false},
                         Case{"%c%d", true, true, true}}) {
        EXPECT_EQ(PatternCarriesNumber(c.pattern), c.carriesNumber) << c.pattern;
        const CPatternUse use = AnalyseLetterPattern(c.pattern);
        EXPECT_EQ(use.hasLetter, c.hasLetter) << c.pattern;
        EXPECT_EQ(use.hasNumber, c.hasNumber) << c.pattern;
    }
}

TEST(BusyGuard, NestedGuardsSwitchOnceAndAlwaysEnd)
{
    std::vector<bool> calls;
    SetBusyHook([&calls](bool busy) { calls.push_back(busy); });
    {
        CBusyGuard outer;
        COrbitExtractor orbit;
        std::string text;
        orbit.WriteDefinition(text);  // nests a guard of its own
        const gen::Bytes notADump{0x00};
        test::ParseBytes(orbit, notADump, false, 0);  // fails
    }
    SetBusyHook(nullptr);
    EXPECT_EQ(calls, (std::vector<bool>{true, false}));
}

}  // namespace
}  // namespace bankwise
