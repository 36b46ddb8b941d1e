#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "Profile.h"
#include "TestSupport.h"
#include "VirusExtractor.h"
#include "gen/VirusGen.h"

namespace bankwise {
namespace {

using gen::Bytes;
using test::Convert;

const char* const kInvalid = "File contains invalid data!";
const char* const kHeader = "; Cakewalk Instrument Definition File for access Virus";

Bytes Single(std::uint8_t bank, std::uint8_t program, const std::string& name,
             std::size_t length = gen::kVirusClassicLength)
{
    return gen::MakeVirusMessage(
        {.bank = bank, .program = program, .name = name, .length = length});
}

Bytes Multi(std::uint8_t program, const std::string& name, std::uint8_t bank = 1,
            std::size_t length = gen::kVirusClassicLength)
{
    return gen::MakeVirusMessage({.type = gen::kVirusMulti,
                                  .bank = bank,
                                  .program = program,
                                  .name = name,
                                  .length = length});
}

test::Conversion ConvertAs(const std::vector<Bytes>& messages, bool midi, const Bytes& tail = {})
{
    const Bytes file = midi ? gen::MakeMidiFile(messages) : gen::JoinMessages(messages);
    return Convert(gen::Concat({file, tail}), midi);
}

// The lines, each ended with CR LF.
std::string Text(std::initializer_list<std::string> lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

// Banks A and B and 128 multis in all three message lengths, so the walk
// must find each message's own F7, with edit-buffer dumps (their program
// bytes out of range) and a parameter message in between.
TEST(Virus, BanksAndMultisGiveTheDocumentedTextFromRawAndMidiFiles)
{
    const std::size_t lengths[] = {gen::kVirusClassicLength, gen::kVirusTiSingleLength,
                                   gen::kVirusFixedLength};
    std::vector<Bytes> messages{Single(0, 0x7F, "Edit Sound")};
    std::string expected = Text({kHeader, "", ".Patch Names"});
    for (const char letter : {'A', 'B', 'M'}) {
        expected += Text(
            {"", letter == 'M' ? "[Virus Multis]" : "[Virus Bank " + std::string(1, letter) + "]"});
        for (int slot = 0; slot < 128; ++slot) {
            char line[32];  // its last ten characters are the name, trailing blank included
            std::snprintf(line, sizeof line, "%d=%c%03d Pad %c %03d ", slot, letter, slot, letter,
                          slot);
            const std::string name = std::string(line).substr(std::strlen(line) - 10);
            const auto program = static_cast<std::uint8_t>(slot);
            messages.push_back(
                letter == 'M' ? Multi(program, name, 1, lengths[2 * (slot % 2)])
                              : Single(letter == 'A' ? 1 : 2, program, name, lengths[slot % 3]));
            expected += Text({line});
        }
        messages.push_back(letter == 'A'   ? gen::MakeVirusOther(0x72, {0x00, 0x11, 0x22})
                           : letter == 'B' ? Single(0, 0xFF, "Edit Again")
                                           : Multi(0x90, "Edit Multi", 0));
    }
    expected += Text({"", ".Instrument Definitions", "", "[access Virus]", "Patch[0]=Virus Bank A",
                      "Patch[1]=Virus Bank B", "Patch[4]=Virus Multis"});
    for (const bool midi : {false, true}) {
        SCOPED_TRACE(midi ? "MIDI file" : "raw file");
        const auto result = ConvertAs(messages, midi);
        ASSERT_TRUE(result.ok);
        EXPECT_TRUE(result.messages.empty());
        EXPECT_EQ(result.text, expected);
    }
}

// What follows a good 265-byte message (the next identifier at 266 in a raw
// file): a fault fails the whole parse with the one text, a harmless tail
// ends it; the names read before stay either way.
TEST(Virus, WhatFollowsAGoodMessage)
{
    const Bytes kept = Single(1, 0, "Kept", gen::kVirusFixedLength);
    const Bytes next = Single(1, 1, "Next");
    const Bytes foreign{0xF0, 0x43, 0x10, 0x5E, 0x00, 0xF7};
    const auto cut = [](Bytes bytes, std::size_t size) {
        bytes.resize(size);
        return bytes;
    };
    const Bytes noEnd = cut(next, next.size() - 2);  // complete name, no checksum, no F7
    Bytes otherProduct = next;
    otherProduct[4] = 0x02;  // access, but not a Virus
    enum class In { Raw, Midi, Both };
    struct Case
    {  // after: messages (or bytes) after the good one; names: in bank A
        const char* what;
        std::vector<Bytes> after;
        In in;
        bool ok;
        std::size_t names;
        Bytes tail = {};  // after the whole file
    };
    const Case cases[] = {
        {"single in bank 5", {Single(5, 0, "Bank E")}, In::Both, false, 1},
        {"multi in bank 2", {Multi(0, "Second", 2)}, In::Both, false, 1},
        {"single program 128", {Single(1, 128, "Too Far")}, In::Both, false, 1},
        {"multi number 200", {Multi(200, "Too Far")}, In::Both, false, 1},
        {"name past its own F7", {Single(1, 1, "Short", 100), next}, In::Both, false, 1},
        {"bank D, program 127", {Single(4, 127, "Last")}, In::Both, true, 1},
        {"foreign message where the next should begin", {foreign, next}, In::Raw, false, 1},
        {"one stray byte after the next F0", {{0xF0, 0x00}}, In::Raw, false, 1},
        {"another product where the next should begin", {otherProduct}, In::Raw, false, 1},
        {"next header a byte late", {{0xF0}, next}, In::Raw, false, 1},
        {"name cut off by the end of the file", {cut(next, 1 + 248 + 5)}, In::Raw, false, 1},
        {"header cut off before the program number",
         {{0xF0, 0x00, 0x20, 0x33, 0x01, 0x00, 0x10, 0x01}},
         In::Raw,
         false,
         1},
        {"header cut off before the type", {{0xF0, 0x00, 0x20, 0x33, 0x01}}, In::Raw, false, 1},
        {"file ends at the next F0", {{0xF0}}, In::Raw, true, 1},
        {"next message after any byte",
         {{0x55}, Bytes(next.begin() + 1, next.end())},
         In::Raw,
         true,
         2},
        // Nothing is stored from an edit-buffer dump, so its name is not needed.
        {"edit-buffer single cut short", {cut(Single(0, 0, "Edit"), 40)}, In::Raw, true, 1},
        {"single without its F7", {noEnd}, In::Raw, true, 2},
        {"foreign SysEx between MIDI messages", {foreign, noEnd}, In::Midi, true, 2},
        {"header-like bytes after a MIDI file",
         {},
         In::Midi,
         true,
         1,
         {0x00, 0x20, 0x33, 0x01, 0x00, 0x10, 0x01}},
    };
    for (const Case& c : cases) {
        for (const bool midi : {false, true}) {
            if (c.in != In::Both && (c.in == In::Midi) != midi)
                continue;
            SCOPED_TRACE(testing::Message() << c.what << (midi ? " (MIDI)" : " (raw)"));
            std::vector<Bytes> messages{kept};
            messages.insert(messages.end(), c.after.begin(), c.after.end());
            const auto result = ConvertAs(messages, midi, c.tail);
            EXPECT_EQ(result.ok, c.ok);
            EXPECT_EQ(result.messages,
                      c.ok ? std::vector<std::string>{} : std::vector<std::string>{kInvalid});
            const auto* virus = dynamic_cast<const CVirusExtractor*>(result.extractor.get());
            ASSERT_NE(virus, nullptr);
            ASSERT_EQ(virus->m_banks[0].size(), c.names);
            EXPECT_EQ(virus->m_banks[0][0], "Kept      ");
        }
    }
}

// Gaps show the prefix alone; a name ends at a 0 byte, keeps its trailing
// blanks, and a later dump of its slot replaces it.
TEST(Virus, BankCAloneAndNamesAsTheyStand)
{
    const auto result =
        Convert(gen::JoinMessages({Single(3, 1, "Gone"), Single(3, 3, std::string("Zero\0Tail", 9)),
                                   Single(3, 1, "Warm\tHum")}));
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.text,
              Text({kHeader, "", ".Patch Names", "", "[Virus Bank C]", "0=C000 ",
                    "1=C001 Warm?Hum  ", "2=C002 ", "3=C003 Zero", "", ".Instrument Definitions",
                    "", "[access Virus]", "Patch[2]=Virus Bank C"}));
}

// Patterns are read at each write, so one parse serves every row: bank A
// slot 0, bank B slot 1 (slot 0 a gap) and multi 0.
TEST(Virus, BankAndPatchPatterns)
{
    CMemoryProfile profile;
    CScopedAppProfile scope(profile);
    const auto result = Convert(
        gen::JoinMessages({Single(1, 0, "Alpha"), Single(2, 1, "Beta"), Multi(0, "Gamma")}));
    ASSERT_TRUE(result.ok);
    struct Case
    {
        const char *bankFormat, *instrFormat;
        std::string bankA, bankB, multis, prefixA0, prefixB0, prefixB1, prefixM0;
    };
    const Case cases[] = {
        {"Bank %c", "%c-%d:", "Bank A", "Bank B", " Multis", "A-0:", "B-0:", "B-1:", "M-0:"},
        // Banks are named by letter only: "%d" leaves the pattern as it is,
        // and the second bank of that title is told apart.
        {"Virus %d", "%03d:", "Virus %d", "Virus %d (2)", "Virus %d Multis",
         "000:", "000:", "001:", "000:"},
        {"%c-Set", "%c:", "A-Set", "B-Set", " Multis", "A:", "B:", "B:", "M:"},
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
        profile.WriteProfileString("access Virus", "BankFormat", c.bankFormat);
        profile.WriteProfileString("access Virus", "InstrFormat", c.instrFormat);
        std::string text;
        result.extractor->WriteDefinition(text);
        EXPECT_EQ(text, Text({kHeader,
                              "",
                              ".Patch Names",
                              "",
                              "[" + c.bankA + "]",
                              "0=" + c.prefixA0 + "Alpha     ",
                              "",
                              "[" + c.bankB + "]",
                              "0=" + c.prefixB0,
                              "1=" + c.prefixB1 + "Beta      ",
                              "",
                              "[" + c.multis + "]",
                              "0=" + c.prefixM0 + "Gamma     ",
                              "",
                              ".Instrument Definitions",
                              "",
                              "[access Virus]",
                              "Patch[0]=" + c.bankA,
                              "Patch[1]=" + c.bankB,
                              "Patch[4]=" + c.multis}));
    }
    result.extractor->ClearNames();
    std::string cleared;
    result.extractor->WriteDefinition(cleared);
    EXPECT_EQ(cleared, Text({kHeader, "", ".Patch Names", "", ".Instrument Definitions", "",
                             "[access Virus]"}));
}

}  // namespace
}  // namespace bankwise
