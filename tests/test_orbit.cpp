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

COrbitExtractor& Orbit(const test::Conversion& c)
{
    auto* orbit = dynamic_cast<COrbitExtractor*>(c.extractor.get());
    if (orbit == nullptr)
        throw std::runtime_error("not an E-MU extractor");
    return *orbit;
}

TEST(Orbit, ExampleTextFromRawAndMidi)
{
    const std::vector<Bytes> presets{MakeOrbitPreset(0, "First"), MakeOrbitPreset(1, "Second")};
    const std::string expected = Lines(
        {"; Cakewalk Instrument Definition File for E-MU Orbit/Phatt/Caranaval", "", ".Patch Names",
         "", "[Orbit Bank 0]", "0=First", "1=Second", "", ".Instrument Definitions", "",
         "[E-MU Orbit/Phatt/Caranaval]", "Patch[0]=Orbit Bank 0"});
    for (const bool midi : {false, true}) {
        const auto result =
            Convert(midi ? gen::MakeMidiFile(presets) : gen::JoinMessages(presets), midi);
        EXPECT_TRUE(result.ok) << midi;
        EXPECT_EQ(result.text, expected) << midi;
    }
}

TEST(Orbit, PresetNumbersPlaceNamesInBanks)
{
    // 129 (bytes 01 01) is bank 1 slot 1; the later of two messages for one
    // preset wins; 640 and -1 have no bank and are passed over.
    const auto result = Convert(gen::JoinMessages(
        {MakeOrbitPreset(129, "Old"), MakeOrbitPreset(640, "Over"), MakeOrbitPreset(-1, "Under"),
         MakeOrbitPreset(129, "Bank1Slot1"), MakeOrbitPreset(639, "Last")}));
    ASSERT_TRUE(result.ok);
    const COrbitExtractor& orbit = Orbit(result);
    EXPECT_TRUE(orbit.m_banks[0].empty());
    EXPECT_EQ(orbit.m_banks[1], (CNameList{"", "Bank1Slot1"}));
    EXPECT_EQ(orbit.m_banks[4].size(), 128u);
    EXPECT_EQ(orbit.m_banks[4][127], "Last");
    EXPECT_NE(result.text.find("\r\n[Orbit Bank 1]\r\n0=\r\n1=Bank1Slot1\r\n"), std::string::npos);
    EXPECT_NE(result.text.find("\r\n[E-MU Orbit/Phatt/Caranaval]\r\nPatch[1]=Orbit Bank 1\r\n"
                               "Patch[4]=Orbit Bank 4\r\n"),
              std::string::npos);
}

TEST(Orbit, NameDecoding)
{
    // Bytes above 0x7F travel as a high part of 1; a 0 ends the name;
    // blanks stay; twelve characters without a 0 are all kept.
    const std::pair<std::string_view, std::string> cases[] = {
        {"A\xC1", "A\xC1"},
        {std::string_view("Five5\0Ignored", 13), "Five5"},
        {"  Pad  ", "  Pad  "},
        {"TwelveChars!", "TwelveChars!"}};
    for (const auto& [sent, expected] : cases) {
        const auto result = Convert(MakeOrbitPreset(0, sent));
        ASSERT_TRUE(result.ok);
        EXPECT_EQ(Orbit(result).m_banks[0].at(0), expected);
    }
}

TEST(Orbit, WalkAndFailures)
{
    const Bytes good = MakeOrbitPreset(0, "Good");
    Bytes wrongCommand = good;
    wrongCommand[4] = 0x02;
    Bytes noEnd = good;
    noEnd[280] = 0x00;
    Bytes cut = gen::JoinMessages({good, good});
    cut.pop_back();
    Bytes midiCut = gen::MakeMidiFile({good, good}, {.otherEvents = false});
    midiCut.resize(midiCut.size() - 20);
    struct Case
    {
        const char* what;
        Bytes file;
        bool midi;
        bool ok;
    };
    const Case cases[] = {
        {"one trailing byte is ignored", gen::JoinMessages({good, {0x00}}), false, true},
        {"other events and messages in a MIDI file",
         gen::MakeMidiFile({good, {0xF0, 0x7D, 0x01, 0xF7}, good}), true, true},
        {"wrong command", gen::JoinMessages({good, wrongCommand}), false, false},
        {"no F7 at the end", gen::JoinMessages({good, noEnd}), false, false},
        {"last message cut short", cut, false, false},
        {"two trailing bytes", gen::JoinMessages({good, {0xF0, 0x18}}), false, false},
        {"MIDI dump cut short", midiCut, true, false},
        // A stray 18 0A inside another event is taken for a message.
        {"stray pair in a MIDI event", gen::MakeMidiFile({good, {0xF0, 0x7D, 0x18, 0x0A, 0xF7}}),
         true, false},
    };
    for (const Case& c : cases) {
        const auto result = Convert(c.file, c.midi);
        EXPECT_EQ(result.ok, c.ok) << c.what;
        EXPECT_EQ(result.messages, c.ok ? std::vector<std::string>{}
                                        : std::vector<std::string>{"File contains invalid data!"})
            << c.what;
        // What was read before a fault stays.
        EXPECT_EQ(Orbit(result).m_banks[0].at(0), "Good") << c.what;
    }
}

}  // namespace
}  // namespace bankwise
