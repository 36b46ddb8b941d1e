// E-MU Orbit/Phatt/Carnaval preset dumps.
#include <gtest/gtest.h>

#include "OrbitExtractor.h"
#include "TestSupport.h"
#include "gen/OrbitGen.h"

namespace bankwise {
namespace {

using gen::Bytes;
using gen::MakeOrbitPreset;
using test::Convert;
using test::Lines;

constexpr const char* kInvalid = "File contains invalid data!";

COrbitExtractor& Orbit(const test::Conversion& c)
{
    auto* orbit = dynamic_cast<COrbitExtractor*>(c.extractor.get());
    if (orbit == nullptr)
        throw std::runtime_error("not an E-MU extractor");
    return *orbit;
}

TEST(Orbit, OnePresetRawAndMidiGiveTheExampleText)
{
    const std::vector<Bytes> presets{MakeOrbitPreset(0, "First"), MakeOrbitPreset(1, "Second")};
    const std::string expected =
        Lines({"; Cakewalk Instrument Definition File for E-MU Orbit/Phatt/Caranaval", "",
               ".Patch Names", "", "[Orbit Bank 0]", "0=First", "1=Second", "",
               ".Instrument Definitions", "", "[E-MU Orbit/Phatt/Caranaval]", "Patch[0]=Orbit Bank 0"});
    for (const bool midi : {false, true}) {
        const Bytes file = midi ? gen::MakeMidiFile(presets) : gen::JoinMessages(presets);
        const auto result = Convert(file, midi);
        EXPECT_TRUE(result.ok) << midi;
        EXPECT_EQ(result.text, expected) << midi;
    }
}

TEST(Orbit, PresetNumbersPlaceNamesInBanks)
{
    // Preset bytes 0x01 0x01 are preset 129: bank 1, slot 1, with slot 0 empty.
    const Bytes file = gen::JoinMessages({MakeOrbitPreset(129, "Bank1Slot1"), MakeOrbitPreset(639, "Last")});
    const auto result = Convert(file);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(Orbit(result).m_banks[1], (CNameList{"", "Bank1Slot1"}));
    EXPECT_EQ(Orbit(result).m_banks[4].size(), 128u);
    EXPECT_EQ(Orbit(result).m_banks[4][127], "Last");
    EXPECT_NE(result.text.find("\r\n[Orbit Bank 1]\r\n0=\r\n1=Bank1Slot1\r\n"), std::string::npos);
    EXPECT_NE(result.text.find("\r\nPatch[1]=Orbit Bank 1\r\nPatch[4]=Orbit Bank 4\r\n"),
              std::string::npos);
}

TEST(Orbit, NameDecoding)
{
    struct Case {
        std::string_view name;
        std::string expected;
    };
    // Bytes above 0x7F travel as a high part of 1; a 0 ends the name;
    // blanks stay; twelve characters without a 0 are all kept.
    for (const Case& c : {Case{"A\xC1", "A\xC1"}, Case{std::string_view("Five5\0Ignored", 13), "Five5"},
                          Case{"  Pad  ", "  Pad  "}, Case{"TwelveChars!", "TwelveChars!"}}) {
        const auto result = Convert(MakeOrbitPreset(0, c.name));
        ASSERT_TRUE(result.ok);
        EXPECT_EQ(Orbit(result).m_banks[0].at(0), c.expected);
    }
}

TEST(Orbit, LaterMessageForTheSamePresetWins)
{
    const auto result = Convert(gen::JoinMessages({MakeOrbitPreset(3, "Old"), MakeOrbitPreset(3, "New")}));
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(Orbit(result).m_banks[0][3], "New");
}

TEST(Orbit, PresetsOutsideTheBanksArePassedOver)
{
    // 640 and -1 have no bank; the messages around them are still read.
    const auto result = Convert(gen::JoinMessages(
        {MakeOrbitPreset(2, "Kept"), MakeOrbitPreset(640, "Over"), MakeOrbitPreset(-1, "Under"),
         MakeOrbitPreset(4, "Also")}));
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(Orbit(result).m_banks[0], (CNameList{"", "", "Kept", "", "Also"}));
    for (std::size_t b = 1; b < 5; ++b)
        EXPECT_TRUE(Orbit(result).m_banks[b].empty());
}

TEST(Orbit, BrokenRawDumps)
{
    const Bytes good = MakeOrbitPreset(0, "Good");
    struct Case {
        const char* what;
        Bytes file;
    };
    Bytes wrongCommand = good;
    wrongCommand[4] = 0x02;
    Bytes noEnd = good;
    noEnd[280] = 0x00;
    Bytes cut = gen::JoinMessages({good, good});
    cut.resize(cut.size() - 1);
    Bytes twoTrailing = gen::JoinMessages({good, {0xF0, 0x18}});
    for (const Case& c : {Case{"wrong command", gen::JoinMessages({good, wrongCommand})},
                          Case{"no F7 at the end", gen::JoinMessages({good, noEnd})},
                          Case{"last message cut short", cut},
                          Case{"two trailing bytes", twoTrailing}}) {
        const auto result = Convert(c.file);
        EXPECT_FALSE(result.ok) << c.what;
        EXPECT_EQ(result.messages, std::vector<std::string>{kInvalid}) << c.what;
        // What was read before the fault stays.
        EXPECT_EQ(Orbit(result).m_banks[0].at(0), "Good") << c.what;
    }
}

TEST(Orbit, OneTrailingByteIsIgnored)
{
    const auto result = Convert(gen::JoinMessages({MakeOrbitPreset(0, "Good"), {0x00}}));
    EXPECT_TRUE(result.ok);
}

TEST(Orbit, MidiFilesSkipOtherEventsAndEndAfterTheLastDump)
{
    const Bytes file = gen::MakeMidiFile({MakeOrbitPreset(0, "One"), {0xF0, 0x7D, 0x01, 0xF7},
                                          MakeOrbitPreset(1, "Two")});
    const auto result = Convert(file, true);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(Orbit(result).m_banks[0], (CNameList{"One", "Two"}));
}

TEST(Orbit, StrayPairInsideAnotherMidiEventIsTakenAsAMessage)
{
    const Bytes file = gen::MakeMidiFile({MakeOrbitPreset(0, "One"), {0xF0, 0x7D, 0x18, 0x0A, 0xF7},
                                          MakeOrbitPreset(1, "Two")});
    const auto result = Convert(file, true);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.messages, std::vector<std::string>{kInvalid});
}

TEST(Orbit, MidiDumpCutShortFailsWithoutReadingPastTheEnd)
{
    Bytes file = gen::MakeMidiFile({MakeOrbitPreset(0, "One"), MakeOrbitPreset(1, "Two")},
                                   {.otherEvents = false});
    file.resize(file.size() - 20);
    const auto result = Convert(file, true);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.messages, std::vector<std::string>{kInvalid});
}

}  // namespace
}  // namespace bankwise
