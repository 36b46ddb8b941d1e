#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "Profile.h"
#include "TestSupport.h"
#include "VirusExtractor.h"
#include "gen/Examples.h"
#include "gen/VirusGen.h"

namespace bankwise {
namespace {

using gen::Bytes;
using gen::MakeVirusMessage;
using test::Convert;
using test::Lines;

const char* const kInvalid = "File contains invalid data!";

Bytes Single(std::uint8_t bank, std::uint8_t program, const std::string& name,
             std::size_t length = gen::kVirusClassicLength)
{
    return MakeVirusMessage({.bank = bank, .program = program, .name = name, .length = length});
}

Bytes Multi(std::uint8_t program, const std::string& name,
            std::size_t length = gen::kVirusClassicLength, std::uint8_t bank = 1)
{
    return MakeVirusMessage({.type = gen::kVirusMulti,
                             .bank = bank,
                             .program = program,
                             .name = name,
                             .length = length});
}

// Invented ten-character names such as "Pad B 017 ".
std::string NameFor(char kind, int slot)
{
    char text[16];
    std::snprintf(text, sizeof text, "%s %c %03d ", kind == 'M' ? "Mlt" : "Pad", kind, slot);
    return text;
}

class VirusTest : public ::testing::Test {
protected:
    CMemoryProfile profile;
    CScopedAppProfile scope{profile};

    void SetPatterns(const std::string& bankFormat, const std::string& instrFormat)
    {
        profile.WriteProfileString("access Virus", "BankFormat", bankFormat);
        profile.WriteProfileString("access Virus", "InstrFormat", instrFormat);
    }
};

// Banks A and B full, 128 multis, with edit-buffer singles and a parameter
// change in between as a real arrangement dump holds them.
std::vector<Bytes> FullDump()
{
    std::vector<Bytes> messages;
    messages.push_back(Single(0, 0x7F, "Edit Sound"));
    for (int slot = 0; slot < 128; ++slot)
        messages.push_back(Single(1, static_cast<std::uint8_t>(slot), NameFor('A', slot)));
    messages.push_back(gen::MakeVirusOther(0x72, {0x00, 0x11, 0x22}));
    for (int slot = 0; slot < 128; ++slot) {
        messages.push_back(Single(2, static_cast<std::uint8_t>(slot), NameFor('B', slot),
                                  slot % 2 == 0 ? gen::kVirusClassicLength
                                                : gen::kVirusTiSingleLength));
    }
    messages.push_back(Single(0, 0xFF, "Edit Again"));
    for (int slot = 0; slot < 128; ++slot)
        messages.push_back(Multi(static_cast<std::uint8_t>(slot), NameFor('M', slot)));
    return messages;
}

std::string FullDumpText()
{
    std::string text = Lines({"; Cakewalk Instrument Definition File for access Virus", "",
                              ".Patch Names"});
    const auto section = [&text](const char* heading, char letter) {
        text += Lines({"", heading});
        for (int slot = 0; slot < 128; ++slot) {
            char prefix[16];
            std::snprintf(prefix, sizeof prefix, "%d=%c%03d ", slot, letter, slot);
            text += prefix + NameFor(letter, slot) + "\r\n";
        }
    };
    section("[Virus Bank A]", 'A');
    section("[Virus Bank B]", 'B');
    section("[Virus Multis]", 'M');
    text += Lines({"", ".Instrument Definitions", "", "[access Virus]", "Patch[0]=Virus Bank A",
                   "Patch[1]=Virus Bank B", "Patch[4]=Virus Multis"});
    return text;
}

TEST_F(VirusTest, BanksAndMultisGiveTheDocumentedTextFromRawAndMidiFiles)
{
    const auto messages = FullDump();
    const std::string expected = FullDumpText();
    for (const bool midi : {false, true}) {
        SCOPED_TRACE(midi ? "MIDI file" : "raw file");
        const auto result =
            Convert(midi ? gen::MakeMidiFile(messages) : gen::JoinMessages(messages), midi);
        ASSERT_TRUE(result.ok);
        EXPECT_TRUE(result.messages.empty());
        EXPECT_EQ(result.text, expected);
    }
}

TEST_F(VirusTest, BankCAloneGivesOneSectionAndPatchTwo)
{
    const auto result =
        Convert(gen::JoinMessages({Single(3, 0, "Cold Wind "), Single(3, 1, "Warm Hum")}));
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.text, Lines({"; Cakewalk Instrument Definition File for access Virus", "",
                                  ".Patch Names", "", "[Virus Bank C]", "0=C000 Cold Wind ",
                                  "1=C001 Warm Hum  ", "", ".Instrument Definitions", "",
                                  "[access Virus]", "Patch[2]=Virus Bank C"}));
}

TEST_F(VirusTest, EditBufferDumpsAloneParseToAnEmptyDefinition)
{
    // Bank 0 is passed over whatever its program byte holds, and a multi too.
    const auto result = Convert(gen::JoinMessages(
        {Single(0, 0xFF, "Edit"), Multi(0x90, "Edit Multi", gen::kVirusClassicLength, 0)}));
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.text, Lines({"; Cakewalk Instrument Definition File for access Virus", "",
                                  ".Patch Names", "", ".Instrument Definitions", "",
                                  "[access Virus]"}));
}

// The three message lengths real dumps use all walk, raw and in MIDI files,
// and names stay at the same offsets in each.
TEST_F(VirusTest, MessagesOfEveryLengthWalk)
{
    for (const std::size_t length :
         {gen::kVirusFixedLength, gen::kVirusClassicLength, gen::kVirusTiSingleLength}) {
        const std::vector<Bytes> messages{
            Single(1, 5, "First", length),
            Single(0, 0, "Edit", length),
            Multi(2, "Second", std::min(length, gen::kVirusClassicLength)),
            Single(4, 127, "Third", length),
        };
        for (const bool midi : {false, true}) {
            SCOPED_TRACE(testing::Message() << length << (midi ? " MIDI" : " raw"));
            const auto result =
                Convert(midi ? gen::MakeMidiFile(messages) : gen::JoinMessages(messages), midi);
            ASSERT_TRUE(result.ok);
            auto* virus = dynamic_cast<CVirusExtractor*>(result.extractor.get());
            ASSERT_NE(virus, nullptr);
            ASSERT_EQ(virus->m_banks[0].size(), 6u);
            EXPECT_EQ(virus->m_banks[0][5], "First     ");
            EXPECT_TRUE(virus->m_banks[1].empty());
            EXPECT_TRUE(virus->m_banks[2].empty());
            ASSERT_EQ(virus->m_banks[3].size(), 128u);
            EXPECT_EQ(virus->m_banks[3][127], "Third     ");
            ASSERT_EQ(virus->m_multis.size(), 3u);
            EXPECT_EQ(virus->m_multis[2], "Second    ");
        }
    }
}

// In a raw file the next header is expected right after the byte that
// follows the closing 0xF7: 265 bytes on from the identifier for the
// fixed-length layout.
TEST_F(VirusTest, RawFilesExpectTheNextHeaderOneBytePastTheEnd)
{
    const Bytes first = Single(1, 0, "One", gen::kVirusFixedLength);
    const Bytes second = Single(1, 1, "Two", gen::kVirusFixedLength);
    Bytes strayTail = first;
    strayTail.push_back(0xF0);  // the file ends at position 266: fine
    Bytes strangeStart = first;
    strangeStart.push_back(0x55);  // not an 0xF0, but never tested
    strangeStart.insert(strangeStart.end(), second.begin() + 1, second.end());

    struct Case {
        const char* what;
        Bytes bytes;
        bool ok;
        std::size_t names;
    };
    const Case cases[] = {
        {"ends at the next message's F0", strayTail, true, 1},
        {"next message after any byte", strangeStart, true, 2},
        {"one stray byte after the F0", gen::Concat({strayTail, {0x00}}), false, 1},
        {"next header a byte late", gen::Concat({first, {0xF0}, second}), false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto result = Convert(c.bytes);
        EXPECT_EQ(result.ok, c.ok);
        EXPECT_EQ(result.messages,
                  c.ok ? std::vector<std::string>{} : std::vector<std::string>{kInvalid});
        auto* virus = dynamic_cast<CVirusExtractor*>(result.extractor.get());
        ASSERT_NE(virus, nullptr);
        EXPECT_EQ(virus->m_banks[0].size(), c.names);
    }
}

TEST_F(VirusTest, BrokenMessagesFailAndKeepTheNamesReadBefore)
{
    const Bytes kept = Single(1, 0, "Kept");
    Bytes cutInName = Single(1, 1, "Cut");
    cutInName.resize(1 + 248 + 5);  // F0, then up to halfway into the name
    const Bytes after = Single(1, 3, "After");
    struct Case {
        const char* what;
        std::vector<Bytes> bad;  // the messages after a good one
        bool alsoInMidi;         // the fault is in a message, not in its place
    };
    const Case cases[] = {
        {"single in bank 5", {Single(5, 0, "Bank E")}, true},
        {"multi in bank 2", {Multi(0, "Second", gen::kVirusClassicLength, 2)}, true},
        {"single program 128", {Single(1, 128, "Too Far")}, true},
        {"multi number 200", {Multi(200, "Too Far")}, true},
        // Its name field would lie in the message after it.
        {"too short to hold its name", {Single(1, 2, "Short", 100), after}, true},
        {"foreign message where the next should begin",
         {{0xF0, 0x43, 0x10, 0x5E, 0x00, 0xF7}, after}, false},
        {"name cut off by the end of the file", {cutInName}, false},
        {"header cut off before the program number",
         {{0xF0, 0x00, 0x20, 0x33, 0x01, 0x00, 0x10, 0x01}}, false},
        {"header cut off before the type", {{0xF0, 0x00, 0x20, 0x33, 0x01}}, false},
    };
    for (const Case& c : cases) {
        std::vector<Bytes> messages{kept};
        messages.insert(messages.end(), c.bad.begin(), c.bad.end());
        for (const bool midi : {false, true}) {
            if (midi && !c.alsoInMidi)
                continue;
            SCOPED_TRACE(testing::Message() << c.what << (midi ? " MIDI" : " raw"));
            const auto result =
                Convert(midi ? gen::MakeMidiFile(messages) : gen::JoinMessages(messages), midi);
            EXPECT_FALSE(result.ok);
            EXPECT_EQ(result.messages, std::vector<std::string>{kInvalid});
            auto* virus = dynamic_cast<CVirusExtractor*>(result.extractor.get());
            ASSERT_NE(virus, nullptr);
            ASSERT_EQ(virus->m_banks[0].size(), 1u);
            EXPECT_EQ(virus->m_banks[0][0], "Kept      ");
        }
    }
}

TEST_F(VirusTest, HarmlessTailsEndTheParse)
{
    const Bytes kept = Single(2, 3, "Kept");
    Bytes editCut = Single(0, 0, "Edit");
    editCut.resize(40);  // nothing is stored from it, so its name is not needed
    Bytes noEnd = Single(2, 4, "No End");
    noEnd.resize(noEnd.size() - 2);  // complete name, no checksum, no F7
    const Bytes headerBytes{0x00, 0x20, 0x33, 0x01, 0x00, 0x10, 0x02};

    struct Case {
        const char* what;
        Bytes bytes;
        bool midi;
        std::size_t names;
    };
    const Case cases[] = {
        {"edit-buffer single cut short", gen::Concat({kept, editCut}), false, 4},
        {"single without its F7", gen::Concat({kept, noEnd}), false, 5},
        {"header-like bytes at the end of a MIDI file",
         gen::Concat({gen::MakeMidiFile({kept}), headerBytes}), true, 4},
        {"foreign SysEx between MIDI messages",
         gen::MakeMidiFile({kept, {0xF0, 0x43, 0x10, 0x5E, 0x00, 0xF7}, noEnd}), true, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto result = Convert(c.bytes, c.midi);
        EXPECT_TRUE(result.ok);
        EXPECT_TRUE(result.messages.empty());
        auto* virus = dynamic_cast<CVirusExtractor*>(result.extractor.get());
        ASSERT_NE(virus, nullptr);
        ASSERT_EQ(virus->m_banks[1].size(), c.names);
        EXPECT_EQ(virus->m_banks[1][3], "Kept      ");
    }
}

TEST_F(VirusTest, GapsAndNamesAreWrittenAsTheyStand)
{
    const auto result = Convert(gen::JoinMessages({
        Single(1, 7, "Seven"),
        Single(1, 3, std::string("Zero\0Tail", 9)),
        Single(1, 5, "Tab\tBell"),
        Single(1, 7, "Again  "),  // replaces the first program 7
    }));
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.text, Lines({"; Cakewalk Instrument Definition File for access Virus", "",
                                  ".Patch Names", "", "[Virus Bank A]", "0=A000 ", "1=A001 ",
                                  "2=A002 ", "3=A003 Zero", "4=A004 ", "5=A005 Tab?Bell  ",
                                  "6=A006 ", "7=A007 Again     ", "", ".Instrument Definitions",
                                  "", "[access Virus]", "Patch[0]=Virus Bank A"}));
}

TEST_F(VirusTest, BankAndPatchPatterns)
{
    // Bank A slot 0, bank B slot 1 (slot 0 a gap) and multi 0.
    const Bytes dump = gen::JoinMessages(
        {Single(1, 0, "Alpha"), Single(2, 1, "Beta"), Multi(0, "Gamma")});
    struct Case {
        const char* bankFormat;
        const char* instrFormat;
        const char* bankA;
        const char* bankB;
        const char* multis;
        const char* prefixA0;
        const char* prefixB0;
        const char* prefixB1;
        const char* prefixM0;
    };
    const Case cases[] = {
        {"Virus Bank %c", "%c%03d ", "Virus Bank A", "Virus Bank B", "Virus Multis", "A000 ",
         "B000 ", "B001 ", "M000 "},
        {"Bank %c", "%c-%d:", "Bank A", "Bank B", " Multis", "A-0:", "B-0:", "B-1:", "M-0:"},
        // Banks are named by letter only: "%d" leaves the pattern as it is.
        {"Virus %d", "%03d:", "Virus %d", "Virus %d", "Virus %d Multis", "000:", "000:", "001:",
         "000:"},
        {"%c-Set", "%c:", "A-Set", "B-Set", " Multis", "A:", "B:", "B:", "M:"},
        {"Synth", "plain ", "Synth", "Synth", "Synth Multis", "plain ", "plain ", "plain ",
         "plain "},
        {"My %c Banks", "", "My A Banks", "My B Banks", "My %c Multis", "", "", "", ""},
        // A number before the letter is not seen: only the letter is passed,
        // and the conversion left without an argument is written as typed.
        {"Virus Bank %c", "%d%c", "Virus Bank A", "Virus Bank B", "Virus Multis", "65%c", "66%c",
         "66%c", "77%c"},
        {"%c %s Bank", "%c%s%n", "A %s Bank", "B %s Bank", "%c %s Multis", "A%s%n", "B%s%n",
         "B%s%n", "M%s%n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bankFormat << " / " << c.instrFormat);
        SetPatterns(c.bankFormat, c.instrFormat);
        const auto result = Convert(dump);
        ASSERT_TRUE(result.ok);
        const auto line = [](std::string text) { return text + "\r\n"; };
        std::string expected = Lines({"; Cakewalk Instrument Definition File for access Virus", "",
                                      ".Patch Names", ""});
        expected += line(std::string("[") + c.bankA + "]");
        expected += line(std::string("0=") + c.prefixA0 + "Alpha     ");
        expected += line("");
        expected += line(std::string("[") + c.bankB + "]");
        expected += line(std::string("0=") + c.prefixB0);
        expected += line(std::string("1=") + c.prefixB1 + "Beta      ");
        expected += line("");
        expected += line(std::string("[") + c.multis + "]");
        expected += line(std::string("0=") + c.prefixM0 + "Gamma     ");
        expected += Lines({"", ".Instrument Definitions", "", "[access Virus]"});
        expected += line(std::string("Patch[0]=") + c.bankA);
        expected += line(std::string("Patch[1]=") + c.bankB);
        expected += line(std::string("Patch[4]=") + c.multis);
        EXPECT_EQ(result.text, expected);
    }
}

TEST_F(VirusTest, SettingsAreReadAtEachWriteAndClearNamesEmptiesAll)
{
    auto result = Convert(gen::JoinMessages({Single(4, 0, "Delta"), Multi(1, "Duo")}));
    ASSERT_TRUE(result.ok);
    std::string again;
    result.extractor->WriteDefinition(again);
    EXPECT_EQ(again, result.text);

    profile.WriteProfileString("access Virus", "Definition", "My Virus");
    profile.WriteProfileString("access Virus", "BankFormat", "TI %c");
    std::string changed;
    result.extractor->WriteDefinition(changed);
    EXPECT_EQ(changed, Lines({"; Cakewalk Instrument Definition File for access Virus", "",
                              ".Patch Names", "", "[TI D]", "0=D000 Delta     ", "", "[TI Multis]",
                              "0=M000 ", "1=M001 Duo       ", "", ".Instrument Definitions", "",
                              "[My Virus]", "Patch[3]=TI D", "Patch[4]=TI Multis"}));

    result.extractor->ClearNames();
    std::string cleared;
    result.extractor->WriteDefinition(cleared);
    EXPECT_EQ(cleared, Lines({"; Cakewalk Instrument Definition File for access Virus", "",
                              ".Patch Names", "", ".Instrument Definitions", "", "[My Virus]"}));
}

TEST_F(VirusTest, ShippedExamplesConvert)
{
    const auto dir = std::filesystem::temp_directory_path() / "bankwise-virus-examples";
    std::filesystem::create_directories(dir);
    gen::WriteVirusExamples(dir);
    const std::string expected = Lines({
        "; Cakewalk Instrument Definition File for access Virus", "", ".Patch Names", "",
        "[Virus Bank A]", "0=A000 Glass Bell", "1=A001 Tidal Pad ", "2=A002 Rust Bass ", "",
        "[Virus Bank B]", "0=B000 Night Arp ", "1=B001 Dust Keys ", "", "[Virus Multis]",
        "0=M000 Split Set ", "1=M001 Layer Set ", "", ".Instrument Definitions", "",
        "[access Virus]", "Patch[0]=Virus Bank A", "Patch[1]=Virus Bank B",
        "Patch[4]=Virus Multis"});
    for (const char* name : {"access-virus.syx", "access-virus.mid"}) {
        SCOPED_TRACE(name);
        const std::string path = (dir / name).string();
        CFileByteSource file(path);
        ASSERT_TRUE(file.IsOpen());
        test::CCollectingSink sink;
        std::unique_ptr<CDumpExtractor> extractor;
        ASSERT_TRUE(DetectAndParse(file, IsMidiFileName(path), sink, extractor));
        std::string text;
        extractor->WriteDefinition(text);
        EXPECT_EQ(text, expected);
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace bankwise
