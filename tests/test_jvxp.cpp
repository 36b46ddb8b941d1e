// Roland JV/XP bulk dumps: patches, performances and rhythm sets.
#include <gtest/gtest.h>

#include "JvXpExtractor.h"
#include "Profile.h"
#include "TestSupport.h"
#include "gen/JvXpGen.h"

namespace bankwise {
namespace {

using gen::Bytes;
using gen::JvXpMessage;
using gen::kJvAreaPatch;
using gen::kJvAreaPerformance;
using gen::MakeJvXpMessage;
using test::Convert;
using test::Lines;

constexpr const char* kInvalid = "File contains invalid data!";

CJvXpExtractor& JvXp(const test::Conversion& c)
{
    auto* jv = dynamic_cast<CJvXpExtractor*>(c.extractor.get());
    if (jv == nullptr)
        throw std::runtime_error("not a JV/XP extractor");
    return *jv;
}

Bytes Patch(std::uint8_t slot, std::string name)
{
    return MakeJvXpMessage({.area = kJvAreaPatch, .slot = slot, .name = std::move(name)});
}

Bytes Performance(std::uint8_t slot, std::string name)
{
    return MakeJvXpMessage({.area = kJvAreaPerformance, .slot = slot, .name = std::move(name)});
}

TEST(JvXp, AllThreeKindsRawAndMidi)
{
    const std::vector<Bytes> messages{Patch(0, "Strings"), Performance(0, "Split"),
                                      Performance(0x41, "Kit 2"), Performance(0x40, "Kit 1"),
                                      Patch(1, "Brass")};
    const std::string expected = Lines({
        "; Cakewalk Instrument Definition File for Roland JV/XP", "", ".Patch Names", "",
        "[JV/XP User]", "0=USER:001 Strings", "1=USER:002 Brass", "",
        "[JV/XP User Perform]", "0=USER:001 Split", "",
        "[JV/XP User Rhythm]", "0=USER:001 Kit 1", "1=USER:002 Kit 2", "",
        ".Instrument Definitions", "",
        "[Roland JV/XP]", "Patch[10240]=JV/XP User", "",
        "[Roland JV/XP Performance]", "Patch[10240]=JV/XP User Perform", "",
        "[Roland JV/XP Rhythm Set]", "Patch[10240]=JV/XP User Rhythm"});
    for (const bool midi : {false, true}) {
        const Bytes file = midi ? gen::MakeMidiFile(messages) : gen::JoinMessages(messages);
        const auto result = Convert(file, midi);
        EXPECT_TRUE(result.ok) << midi;
        EXPECT_EQ(result.text, expected) << midi;
    }
}

TEST(JvXp, OnlyPatchFiveGivesSixLines)
{
    const auto result = Convert(Patch(5, "Sixth"));
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(JvXp(result).m_patches.size(), 6u);
    EXPECT_NE(result.text.find("\r\n[JV/XP User]\r\n0=USER:001 \r\n1=USER:002 \r\n2=USER:003 \r\n"
                               "3=USER:004 \r\n4=USER:005 \r\n5=USER:006 Sixth\r\n"),
              std::string::npos)
        << result.text;
}

TEST(JvXp, PerformancesOnlyLeaveNoTraceOfTheOtherKinds)
{
    const auto result = Convert(Performance(3, "Only"));
    ASSERT_TRUE(result.ok);
    EXPECT_NE(result.text.find("[JV/XP User Perform]"), std::string::npos);
    EXPECT_NE(result.text.find("[Roland JV/XP Performance]"), std::string::npos);
    for (const char* absent : {"[JV/XP User]", "[Roland JV/XP]", "Rhythm"})
        EXPECT_EQ(result.text.find(absent), std::string::npos) << absent;
}

TEST(JvXp, MessagesPassedOver)
{
    // A later block of patch 5, a command other than DT1, an area that holds
    // no names: none stores anything, and the walk goes on.
    const auto result = Convert(gen::JoinMessages(
        {Patch(0, "Kept"),
         MakeJvXpMessage({.area = kJvAreaPatch, .slot = 5, .name = "Block2", .address3 = 0x10}),
         MakeJvXpMessage({.area = kJvAreaPatch, .slot = 6, .name = "RQ1", .command = 0x11}),
         MakeJvXpMessage({.area = 0x00, .slot = 0x20, .name = "System"}),
         MakeJvXpMessage({.area = kJvAreaPatch, .slot = 1, .name = "AnyDev", .device = 0x7F})}));
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(JvXp(result).m_patches, (CNameList{"Kept", "AnyDev"}));
    EXPECT_TRUE(JvXp(result).m_performances.empty());
}

TEST(JvXp, NamesAndReplacement)
{
    struct Case {
        std::string_view sent;
        std::string expected;
    };
    for (const Case& c : {Case{"Padded", "Padded"}, Case{"  Lead", "  Lead"},
                          Case{std::string_view("Ab\0cdef", 7), "Ab"},
                          Case{"Tab\t\t", "Tab"}, Case{"TwelveChars!", "TwelveChars!"}}) {
        const auto result = Convert(Patch(0, std::string(c.sent)));
        ASSERT_TRUE(result.ok);
        EXPECT_EQ(JvXp(result).m_patches.at(0), c.expected);
    }
    const auto twice = Convert(gen::JoinMessages({Patch(2, "Old"), Patch(2, "New")}));
    EXPECT_EQ(JvXp(twice).m_patches.at(2), "New");
}

TEST(JvXp, InvalidDumps)
{
    struct Case {
        const char* what;
        Bytes file;
    };
    const Bytes good = Patch(0, "Good");
    Bytes notJv = MakeJvXpMessage({.slot = 1, .name = "Other"});
    notJv[3] = 0x6B;  // another Roland model
    Bytes cutName = Patch(1, "Cut");
    cutName.resize(15);  // the name ends past the file
    Bytes cutAddress = Patch(1, "Cut");
    cutAddress.resize(7);
    for (const Case& c : {
             Case{"performance slot 0x20", Performance(0x20, "x")},
             Case{"rhythm slot 0x42", Performance(0x42, "x")},
             Case{"patch slot 0x80", Patch(0x80, "x")},
             Case{"another model after the first", gen::JoinMessages({good, notJv})},
             Case{"two stray bytes at the end", gen::JoinMessages({good, {0x00, 0x00}})},
             Case{"name cut short by the end", gen::JoinMessages({good, cutName})},
             Case{"address cut short by the end", gen::JoinMessages({good, cutAddress})},
         }) {
        const auto result = Convert(c.file);
        EXPECT_FALSE(result.ok) << c.what;
        EXPECT_EQ(result.messages, std::vector<std::string>{kInvalid}) << c.what;
    }
}

TEST(JvXp, OneStrayByteAtTheEndIsSteppedOver)
{
    EXPECT_TRUE(Convert(gen::JoinMessages({Patch(0, "Good"), {0x00}})).ok);
}

TEST(JvXp, MidiSkipsOtherDevicesAndEvents)
{
    const Bytes other{0xF0, 0x43, 0x10, 0x5E, 0x00, 0xF7};
    const auto result = Convert(
        gen::MakeMidiFile({Patch(0, "One"), other, Performance(1, "Two"), other}), true);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(JvXp(result).m_patches, (CNameList{"One"}));
    EXPECT_EQ(JvXp(result).m_performances, (CNameList{"", "Two"}));
}

TEST(JvXp, NoNameMessagesParseWithNothingWritten)
{
    const auto result =
        Convert(MakeJvXpMessage({.area = kJvAreaPatch, .slot = 0, .name = "", .command = 0x11}));
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.text, Lines({"; Cakewalk Instrument Definition File for Roland JV/XP", "",
                                  ".Patch Names", "", ".Instrument Definitions"}));
}

TEST(JvXp, BankPatternIsNeverFormattedAndPrefixCountsFromOne)
{
    CMemoryProfile profile;
    profile.WriteProfileString("Roland JV/XP", "BankFormat", "JV %d");
    profile.WriteProfileString("Roland JV/XP", "InstrFormat", "#%d-");
    profile.WriteProfileString("Roland JV/XP", "Definition", "XP-80");
    CScopedAppProfile scope(profile);
    const auto result = Convert(gen::JoinMessages({Patch(0, "A"), Performance(1, "B")}));
    ASSERT_TRUE(result.ok);
    EXPECT_NE(result.text.find("\r\n[JV %d]\r\n0=#1-A\r\n"), std::string::npos) << result.text;
    EXPECT_NE(result.text.find("\r\n[JV %d Perform]\r\n0=#1-\r\n1=#2-B\r\n"), std::string::npos);
    EXPECT_NE(result.text.find("\r\n[XP-80 Performance]\r\nPatch[10240]=JV %d Perform\r\n"),
              std::string::npos);

    profile.WriteProfileString("Roland JV/XP", "InstrFormat", "USER ");
    std::string literal;
    result.extractor->WriteDefinition(literal);
    EXPECT_NE(literal.find("\r\n0=USER A\r\n"), std::string::npos);
}

}  // namespace
}  // namespace bankwise
