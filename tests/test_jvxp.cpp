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
    const std::string expected = Lines({"; Cakewalk Instrument Definition File for Roland JV/XP",
                                        "",
                                        ".Patch Names",
                                        "",
                                        "[JV/XP User]",
                                        "0=USER:001 Strings",
                                        "1=USER:002 Brass",
                                        "",
                                        "[JV/XP User Perform]",
                                        "0=USER:001 Split",
                                        "",
                                        "[JV/XP User Rhythm]",
                                        "0=USER:001 Kit 1",
                                        "1=USER:002 Kit 2",
                                        "",
                                        ".Instrument Definitions",
                                        "",
                                        "[Roland JV/XP]",
                                        "Patch[10240]=JV/XP User",
                                        "",
                                        "[Roland JV/XP Performance]",
                                        "Patch[10240]=JV/XP User Perform",
                                        "",
                                        "[Roland JV/XP Rhythm Set]",
                                        "Patch[10240]=JV/XP User Rhythm"});
    for (const bool midi : {false, true}) {
        const Bytes file = midi ? gen::MakeMidiFile(messages) : gen::JoinMessages(messages);
        const auto result = Convert(file, midi);
        EXPECT_TRUE(result.ok) << midi;
        EXPECT_EQ(result.text, expected) << midi;
    }
}

TEST(JvXp, KindsAndGaps)
{
    // Patch 5 alone: six lines, the first five carry the prefix alone.
    const auto patch = Convert(Patch(5, "Sixth"));
    ASSERT_TRUE(patch.ok);
    EXPECT_NE(patch.text.find("\r\n[JV/XP User]\r\n0=USER:001 \r\n1=USER:002 \r\n2=USER:003 \r\n"
                              "3=USER:004 \r\n4=USER:005 \r\n5=USER:006 Sixth\r\n"),
              std::string::npos)
        << patch.text;
    // A kind the dump lacks leaves no trace.
    const auto performance = Convert(Performance(3, "Only"));
    ASSERT_TRUE(performance.ok);
    EXPECT_NE(performance.text.find("\r\n[JV/XP User Perform]\r\n"), std::string::npos);
    EXPECT_NE(performance.text.find("\r\n[Roland JV/XP Performance]\r\n"), std::string::npos);
    for (const char* absent : {"[JV/XP User]", "[Roland JV/XP]", "Rhythm"})
        EXPECT_EQ(performance.text.find(absent), std::string::npos) << absent;
}

TEST(JvXp, MessagesPassedOverAndReplaced)
{
    // A later block of patch 5, a command other than DT1, an area that holds
    // no names: none stores anything, and the walk goes on. The later of two
    // messages for one slot wins.
    const auto result = Convert(gen::JoinMessages(
        {Patch(0, "Old"), Patch(0, "Kept"),
         MakeJvXpMessage({.area = kJvAreaPatch, .slot = 5, .name = "Block2", .address3 = 0x10}),
         MakeJvXpMessage({.area = kJvAreaPatch, .slot = 6, .name = "RQ1", .command = 0x11}),
         MakeJvXpMessage({.area = 0x00, .slot = 0x20, .name = "System"}),
         MakeJvXpMessage({.area = kJvAreaPatch, .slot = 1, .name = "AnyDev", .device = 0x7F})}));
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(JvXp(result).m_patches, (CNameList{"Kept", "AnyDev"}));
    EXPECT_TRUE(JvXp(result).m_performances.empty());

    // A dump without any name message is not a failure.
    const auto none =
        Convert(MakeJvXpMessage({.area = kJvAreaPatch, .slot = 0, .name = "", .command = 0x11}));
    EXPECT_TRUE(none.ok);
    EXPECT_EQ(none.text, Lines({"; Cakewalk Instrument Definition File for Roland JV/XP", "",
                                ".Patch Names", "", ".Instrument Definitions"}));
}

TEST(JvXp, Names)
{
    const std::pair<std::string_view, std::string> cases[] = {
        {"Padded", "Padded"},
        {"  Lead", "  Lead"},
        {std::string_view("Ab\0cdef", 7), "Ab"},
        {"Tab\t\t", "Tab"},
        {"TwelveChars!", "TwelveChars!"}};
    for (const auto& [sent, expected] : cases) {
        const auto result = Convert(Patch(0, std::string(sent)));
        ASSERT_TRUE(result.ok);
        EXPECT_EQ(JvXp(result).m_patches.at(0), expected);
    }
}

TEST(JvXp, WalkAndFailures)
{
    const Bytes good = Patch(0, "Good");
    const Bytes otherMake{0xF0, 0x43, 0x10, 0x5E, 0x00, 0xF7};
    Bytes otherModel = Patch(1, "Other");
    otherModel[3] = 0x6B;
    Bytes cutName = Patch(1, "Cut");
    cutName.resize(15);  // the name runs past the end of the file
    Bytes cutAddress = Patch(1, "Cut");
    cutAddress.resize(7);
    struct Case
    {
        const char* what;
        Bytes file;
        bool midi;
        bool ok;
    };
    const Case cases[] = {
        {"one stray byte at the end", gen::JoinMessages({good, {0x00}}), false, true},
        {"other devices and events in a MIDI file",
         gen::MakeMidiFile({good, otherMake, Performance(1, "Two"), otherMake}), true, true},
        {"performance slot 0x20", gen::JoinMessages({good, Performance(0x20, "x")}), false, false},
        {"rhythm slot 0x42", gen::JoinMessages({good, Performance(0x42, "x")}), false, false},
        {"patch slot 0x80", gen::JoinMessages({good, Patch(0x80, "x")}), false, false},
        {"another model after the first", gen::JoinMessages({good, otherModel}), false, false},
        {"two stray bytes at the end", gen::JoinMessages({good, {0x00, 0x00}}), false, false},
        {"name cut short by the end", gen::JoinMessages({good, cutName}), false, false},
        {"address cut short by the end", gen::JoinMessages({good, cutAddress}), false, false},
    };
    for (const Case& c : cases) {
        const auto result = Convert(c.file, c.midi);
        EXPECT_EQ(result.ok, c.ok) << c.what;
        EXPECT_EQ(result.messages,
                  c.ok ? std::vector<std::string>{} : std::vector<std::string>{kInvalid})
            << c.what;
        EXPECT_EQ(JvXp(result).m_patches.at(0), "Good") << c.what;
    }
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
