// The naming settings every family shares: bank and patch patterns, read
// at each write, and the busy indicator around reading and writing.
#include <gtest/gtest.h>

#include "BusyGuard.h"
#include "JvXpExtractor.h"
#include "OrbitExtractor.h"
#include "Profile.h"
#include "TestSupport.h"

namespace bankwise {
namespace {

constexpr const char* kOrbit = "E-MU Orbit/Phatt/Caranaval";

// The second bank's heading, its slot 4 and its Patch line.
TEST(Writer, BankAndPatchPatterns)
{
    const char* const cases[][5] = {
        // "%d" side by side formats the bank index; "%02d" does not.
        {"Bank %d", "", "[Bank 1]", "4=Fifth", "Patch[1]=Bank 1"},
        {"Bank %02d", "", "[Bank %02d]", "4=Fifth", "Patch[1]=Bank %02d"},
        // The prefix number is the program number across the dump.
        {"B%d", "P%03d ", "[B1]", "4=P132 Fifth", "Patch[1]=B1"},
        {"B%d", "%-4d", "[B1]", "4=132 Fifth", "Patch[1]=B1"},
        // No 'd' after the first '%': written as it stands.
        {"B%d", "abc%x", "[B1]", "4=abc%xFifth", "Patch[1]=B1"},
        {"B%d", "d%", "[B1]", "4=d%Fifth", "Patch[1]=B1"},
        // Conversions that do not fit one integer render without faulting.
        {"B%d", "%s%d:", "[B1]", "4=%s132:Fifth", "Patch[1]=B1"},
        {"B%d%d", "%d-%d ", "[B1%d]", "4=132-%d Fifth", "Patch[1]=B1%d"},
        // A %c fed a number must not put control bytes into the file.
        {"B%c%d", "%c%d|", "[B?%d]", "4=\x84%d|Fifth", "Patch[1]=B?%d"},
    };
    COrbitExtractor orbit;
    orbit.m_banks[1] = {"a", "b", "c", "d", "Fifth"};
    for (const auto& c : cases) {
        CMemoryProfile profile;
        profile.WriteProfileString(kOrbit, "BankFormat", c[0]);
        profile.WriteProfileString(kOrbit, "InstrFormat", c[1]);
        CScopedAppProfile scope(profile);
        std::string text;
        orbit.WriteDefinition(text);
        for (const char* line : {c[2], c[3], c[4]})
            EXPECT_NE(text.find(std::string("\r\n") + line + "\r\n"), std::string::npos) << text;
    }
}

TEST(Writer, SettingsPresentButEmptyAreEmpty)
{
    CMemoryProfile profile;
    CScopedAppProfile scope(profile);
    CJvXpExtractor jv;
    EXPECT_EQ(jv.GetInstrFormat(), "USER:%03d ");
    profile.WriteProfileString("Roland JV/XP", "InstrFormat", "");
    EXPECT_EQ(jv.GetInstrFormat(), "");
    profile.WriteProfileInt("Roland JV/XP", "Number", 42);
    profile.WriteProfileString("Roland JV/XP", "Text", "12abc");
    EXPECT_EQ(profile.GetProfileInt("Roland JV/XP", "Number", 7), 42);
    EXPECT_EQ(profile.GetProfileInt("Roland JV/XP", "Text", 7), 7);
}

TEST(Writer, NestedBusyGuardsSwitchOnceAndAlwaysEnd)
{
    std::vector<bool> calls;
    SetBusyHook([&calls](bool busy) { calls.push_back(busy); });
    {
        CBusyGuard outer;
        COrbitExtractor orbit;
        std::string text;
        orbit.WriteDefinition(text);  // nests a guard of its own
        CMemoryByteSource notADump(test::Bytes{0x00});
        orbit.Parse(notADump, false, 0);  // fails
    }
    SetBusyHook(nullptr);
    EXPECT_EQ(calls, (std::vector<bool>{true, false}));
}

}  // namespace
}  // namespace bankwise
