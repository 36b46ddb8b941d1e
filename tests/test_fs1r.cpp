#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Fs1rExtractor.h"
#include "Profile.h"
#include "TestSupport.h"
#include "gen/Examples.h"
#include "gen/Fs1rGen.h"

namespace bankwise {
namespace {

using gen::Bytes;
using test::Convert;
using test::Lines;

constexpr const char* kInvalid = "File contains invalid data!";

const CNameList& NamesOf(const test::Conversion& result)
{
    static const CNameList none;
    const auto* fs1r = dynamic_cast<const CFs1rExtractor*>(result.extractor.get());
    return fs1r != nullptr ? fs1r->m_names : none;
}

// A bank dump as the instrument sends it: the edit-buffer performance first,
// the performances, then voice messages.
std::vector<Bytes> BankDump(const std::vector<std::pair<std::uint8_t, std::string>>& performances)
{
    std::vector<Bytes> messages{gen::MakeFs1rEditPerformance("Edit Buffer")};
    for (const auto& [number, name] : performances)
        messages.push_back(gen::MakeFs1rPerformance(number, name));
    messages.push_back(gen::MakeFs1rVoice(0, "Vox Sweep"));
    messages.push_back(gen::MakeFs1rVoice(1, "Reed Pulse"));
    return messages;
}

// The text with the default settings for the given names.
std::string DefaultText(const std::vector<std::string>& names)
{
    std::string text = Lines({"; Cakewalk Instrument Definition File for Yamaha FS1R", "",
                              ".Patch Names", "", "[FS1R Internal]"});
    for (std::size_t i = 0; i < names.size(); ++i) {
        char prefix[32];
        std::snprintf(prefix, sizeof prefix, "I%03zu ", i + 1);
        text += std::to_string(i) + "=" + prefix + names[i] + "\r\n";
    }
    text += Lines({"", ".Instrument Definitions", "", "[Yamaha FS1R]", "Patch[64]=FS1R Internal"});
    return text;
}

TEST(Fs1r, FullBankGivesTheDefinitionFromRawAndMidiFiles)
{
    std::vector<std::pair<std::uint8_t, std::string>> performances;
    std::vector<std::string> names;
    for (int i = 0; i < 128; ++i) {
        names.push_back("Perf " + std::to_string(i));
        performances.emplace_back(static_cast<std::uint8_t>(i), names.back());
    }
    const std::vector<Bytes> messages = BankDump(performances);
    const std::string expected = DefaultText(names);
    ASSERT_NE(expected.find("\r\n\r\n[FS1R Internal]\r\n0=I001 Perf 0\r\n"), std::string::npos);
    ASSERT_NE(expected.find("\r\n127=I128 Perf 127\r\n\r\n.Instrument"), std::string::npos);

    for (const bool midi : {false, true}) {
        SCOPED_TRACE(midi ? "MIDI file" : "raw file");
        const auto result =
            Convert(midi ? gen::MakeMidiFile(messages) : gen::JoinMessages(messages), midi);
        EXPECT_TRUE(result.ok);
        EXPECT_TRUE(result.messages.empty());
        EXPECT_EQ(result.text, expected);
    }

    // Performances alone, back to back, 411 bytes each.
    std::vector<Bytes> bare(messages.begin() + 1, messages.end() - 2);
    const Bytes raw = gen::JoinMessages(bare);
    ASSERT_EQ(raw.size(), 52608u);
    EXPECT_EQ(Convert(raw).text, expected);
}

TEST(Fs1r, PerformancesWithGapsLeaveEmptyNames)
{
    // Out of order, and number 9 twice: the later name wins.
    const std::vector<Bytes> messages =
        BankDump({{9, "Tidal Pad"}, {5, "Glass Choir"}, {9, "Night Bell"}});
    const std::string expected = Lines({
        "; Cakewalk Instrument Definition File for Yamaha FS1R",
        "",
        ".Patch Names",
        "",
        "[FS1R Internal]",
        "0=I001 ",
        "1=I002 ",
        "2=I003 ",
        "3=I004 ",
        "4=I005 ",
        "5=I006 Glass Choir",
        "6=I007 ",
        "7=I008 ",
        "8=I009 ",
        "9=I010 Night Bell",
        "",
        ".Instrument Definitions",
        "",
        "[Yamaha FS1R]",
        "Patch[64]=FS1R Internal",
    });
    for (const bool midi : {false, true}) {
        SCOPED_TRACE(midi ? "MIDI file" : "raw file");
        const auto result =
            Convert(midi ? gen::MakeMidiFile(messages) : gen::JoinMessages(messages), midi);
        EXPECT_TRUE(result.ok);
        EXPECT_EQ(result.text, expected);
    }
}

TEST(Fs1r, NameFieldRules)
{
    struct Case {
        const char* what;
        std::string field;  // the 12 name bytes
        const char* written;
    };
    const Case cases[] = {
        {"blank padded", "Tidal Pad   ", "Tidal Pad"},
        {"ended by zeros", std::string("Bass\0\0\0\0\0\0\0\0", 12), "Bass"},
        {"zero in the middle", std::string("Mid\0dle Name", 12), "Mid"},
        {"trailing tab and CR", "Reed \t\r     ", "Reed"},
        {"all twelve used", "ABCDEFGHIJKL", "ABCDEFGHIJKL"},
        {"leading blanks kept", "  Lead      ", "  Lead"},
        {"control byte", "A\x01" "B         ", "A?B"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes message = gen::MakeFs1rPerformance(0, "");
        std::copy(c.field.begin(), c.field.end(), message.begin() + 9);  // F0 + 8 header bytes
        const auto result = Convert(message);
        ASSERT_TRUE(result.ok);
        EXPECT_NE(result.text.find(std::string("\r\n0=I001 ") + c.written + "\r\n"),
                  std::string::npos);
    }
}

std::vector<std::string> VoiceNames(int count)
{
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i)
        names.push_back("Voice " + std::to_string(i + 1));
    return names;
}

TEST(Fs1r, VoiceBulkGivesItsNamesAndEndsParsing)
{
    const std::vector<std::string> names = VoiceNames(32);
    const std::vector<Bytes> messages{gen::MakeVoiceBulk({.names = names}),
                                      gen::MakeFs1rPerformance(40, "Ignored")};
    for (const bool midi : {false, true}) {
        SCOPED_TRACE(midi ? "MIDI file" : "raw file");
        const auto result =
            Convert(midi ? gen::MakeMidiFile(messages) : gen::JoinMessages(messages), midi);
        EXPECT_TRUE(result.ok);
        EXPECT_EQ(NamesOf(result), CNameList(names.begin(), names.end()));
        EXPECT_EQ(result.text, DefaultText(names));
    }
}

TEST(Fs1r, VoiceBulkAfterPerformancesReplacesTheFirstEntries)
{
    std::vector<Bytes> messages;
    for (std::uint8_t i = 0; i < 6; ++i)
        messages.push_back(gen::MakeFs1rPerformance(i, "Perf " + std::to_string(i)));
    messages.push_back(gen::MakeVoiceBulk({.names = VoiceNames(3)}));
    messages.push_back(gen::MakeFs1rPerformance(7, "Ignored"));

    const auto raw = Convert(gen::JoinMessages(messages));
    ASSERT_TRUE(raw.ok);
    EXPECT_EQ(NamesOf(raw),
              (CNameList{"Voice 1", "Voice 2", "Voice 3", "Perf 3", "Perf 4", "Perf 5"}));

    // The MIDI search looks for FS1R messages only, so it never lands on the
    // voice bulk and goes on to the performance after it.
    const auto midi = Convert(gen::MakeMidiFile(messages), true);
    ASSERT_TRUE(midi.ok);
    EXPECT_EQ(NamesOf(midi).size(), 8u);
    EXPECT_EQ(NamesOf(midi)[7], "Ignored");
}

Bytes Cut(Bytes bytes, std::size_t length)
{
    bytes.resize(length);
    return bytes;
}

// A performance message (number 1) whose data is not 400 bytes long.
Bytes Odd(std::size_t dataLength)
{
    return gen::MakeFs1rMessage({.addressLow = 1, .name = "Odd", .dataLength = dataLength});
}

TEST(Fs1r, RawFileRules)
{
    const Bytes first = gen::MakeFs1rPerformance(0, "Glass Choir");
    const Bytes next = gen::MakeFs1rPerformance(1, "Tidal Pad");
    Bytes voiceBulkShort = gen::MakeVoiceBulk({.names = VoiceNames(31), .count = 32});
    struct Case {
        const char* what;
        Bytes tail;  // after the first performance
        bool ok;
        std::size_t names;
    };
    const Case cases[] = {
        {"next message follows", next, true, 2},
        {"one trailing byte", {0x00}, true, 1},
        {"two trailing bytes", {0xF7, 0x00}, false, 1},
        // The odd message's own name is read; the header after it is misplaced.
        {"message one byte short", gen::Concat({Odd(399), next}), false, 2},
        {"message one byte long", gen::Concat({Odd(401), next}), false, 2},
        {"other manufacturer", Bytes{0xF0, 0x41, 0x10, 0x6A, 0x12, 0xF7}, false, 1},
        {"other Yamaha model", Bytes{0xF0, 0x43, 0x10, 0x4C, 0x00, 0xF7}, false, 1},
        {"sub-status before format 9",
         gen::MakeVoiceBulk({.names = VoiceNames(2), .subStatus = 0x10}),
         false, 1},
        {"voice records do not fit", voiceBulkShort, false, 1},
        {"voice bulk cut before its count", Bytes{0xF0, 0x43, 0x00, 0x09}, false, 1},
        {"voice bulk of no voices", gen::MakeVoiceBulk({}), true, 1},
        {"name cut by the end of the file", Cut(next, 15), false, 1},
        {"header cut by the end of the file", Cut(next, 6), false, 1},
        {"unterminated voice message at the end", Cut(gen::MakeFs1rVoice(0, "Vox"), 300), true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto result = Convert(gen::Concat({first, c.tail}));
        EXPECT_EQ(result.ok, c.ok);
        EXPECT_EQ(result.messages,
                  c.ok ? std::vector<std::string>{} : std::vector<std::string>{kInvalid});
        EXPECT_EQ(NamesOf(result).size(), c.names);
        if (!NamesOf(result).empty()) {
            EXPECT_EQ(NamesOf(result)[0], "Glass Choir");
        }
    }
}

TEST(Fs1r, VoiceBulkThatDoesNotFitFailsAsFirstMessage)
{
    for (const bool midi : {false, true}) {
        SCOPED_TRACE(midi ? "MIDI file" : "raw file");
        const Bytes bulk = gen::MakeVoiceBulk({.names = VoiceNames(32)});
        // Cut inside the last record: in a MIDI file the track still ends
        // after it, so cut the file itself.
        const Bytes file = midi ? Cut(gen::MakeMidiFile({bulk}, {.otherEvents = false}), 4000)
                                : Cut(bulk, 4000);
        const auto result = Convert(file, midi);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.messages, std::vector<std::string>{kInvalid});
    }
}

TEST(Fs1r, MidiSearchPassesOverOtherEventsAndEndsQuietly)
{
    // Another make's message, with a 0x43 in its data.
    const Bytes roland{0xF0, 0x41, 0x10, 0x6A, 0x12, 0x11, 0x00,
                       0x00, 0x00, 0x43, 0x00, 0x5D, 0xF7};
    const std::vector<Bytes> messages{
        gen::MakeFs1rEditPerformance("Edit Buffer"), roland,
        gen::MakeFs1rPerformance(1, "Tidal Pad"), roland,
        gen::MakeFs1rPerformance(0, "Glass Choir")};
    const Bytes midi = gen::MakeMidiFile(messages, {.deltaTime = 300});
    const auto result = Convert(midi, true);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(NamesOf(result), (CNameList{"Glass Choir", "Tidal Pad"}));

    // A header at the very end whose name the data cuts short is no message.
    const Bytes header = Cut(gen::MakeFs1rPerformance(5, "Cut Short"), 16);
    const auto cut = Convert(gen::Concat({midi, Bytes(header.begin() + 1, header.end())}), true);
    EXPECT_TRUE(cut.ok);
    EXPECT_EQ(NamesOf(cut).size(), 2u);

    // Nothing after the first message.
    const auto single =
        Convert(gen::MakeMidiFile({gen::MakeFs1rEditPerformance("Edit Buffer")}), true);
    EXPECT_TRUE(single.ok);
    EXPECT_TRUE(NamesOf(single).empty());
}

// Every prefix of a mixed dump, read from its manufacturer byte in both
// modes: the reader must stay inside the data (checked under the sanitizers)
// and a raw dump cut inside a performance's header or name is invalid,
// while the MIDI search takes a cut-off message for none.
TEST(Fs1r, EveryTruncationStaysInsideTheData)
{
    const Bytes dump = gen::JoinMessages({gen::MakeFs1rPerformance(3, "Glass Choir"),
                                          gen::MakeFs1rVoice(0, "Vox Sweep"),
                                          gen::MakeFs1rPerformance(4, "Tidal Pad"),
                                          gen::MakeVoiceBulk({.names = VoiceNames(2)})});
    const std::size_t secondPerformance = 411 + 619;
    for (std::size_t length = 6; length <= dump.size(); ++length) {  // detection needs 6
        const Bytes cut(dump.begin(), dump.begin() + static_cast<std::ptrdiff_t>(length));
        for (const bool midi : {false, true}) {
            CFs1rExtractor extractor;
            const bool ok = test::ParseBytes(extractor, cut, midi, 1);
            const bool nameCut = length > secondPerformance + 1 && length < secondPerformance + 21;
            if (!midi && nameCut) {
                EXPECT_FALSE(ok) << length;
            }
            if (midi) {
                EXPECT_TRUE(ok) << length;  // a cut-off message is no message
            }
        }
    }
}

TEST(Fs1r, NoPerformanceStillWritesTheBankAndDefinition)
{
    const auto result = Convert(gen::JoinMessages(
        {gen::MakeFs1rEditPerformance("Edit Buffer"), gen::MakeFs1rVoice(0, "Vox Sweep")}));
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.text, Lines({"; Cakewalk Instrument Definition File for Yamaha FS1R", "",
                                  ".Patch Names", "", "[FS1R Internal]", "",
                                  ".Instrument Definitions", "", "[Yamaha FS1R]",
                                  "Patch[64]=FS1R Internal"}));
}

TEST(Fs1r, StoredPatterns)
{
    struct Case {
        const char* bankFormat;
        const char* instrFormat;
        const char* prefix1;  // before the first name
        const char* prefix2;  // before the second
    };
    const Case cases[] = {
        {"Bank %d", "P%03d ", "P001 ", "P002 "},   // bank pattern kept verbatim
        {"100% FS1R", "#%-3d|", "#1  |", "#2  |"},
        {"FS1R", "abc%x", "abc%x", "abc%x"},     // no number: written as typed
        {"FS1R", "", "", ""},
        {"FS1R", "%s%d ", "%s1 ", "%s2 "},      // unsupported conversions as typed
        {"FS1R", "%d-%d ", "1-%d ", "2-%d "},
        {"FS1R", "%n%d", "%n1", "%n2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.instrFormat);
        CMemoryProfile profile;
        profile.WriteProfileString("Yamaha FS1R", "BankFormat", c.bankFormat);
        profile.WriteProfileString("Yamaha FS1R", "InstrFormat", c.instrFormat);
        profile.WriteProfileString("Yamaha FS1R", "Definition", "My FS1R");
        CScopedAppProfile scope(profile);

        CFs1rExtractor extractor;
        extractor.m_names = {"Glass Choir", "Tidal Pad"};
        std::string text;
        extractor.WriteDefinition(text);
        const std::string bank = c.bankFormat;
        EXPECT_EQ(text, Lines({"; Cakewalk Instrument Definition File for Yamaha FS1R", "",
                               ".Patch Names", "", ("[" + bank + "]").c_str(),
                               ("0=" + std::string(c.prefix1) + "Glass Choir").c_str(),
                               ("1=" + std::string(c.prefix2) + "Tidal Pad").c_str(), "",
                               ".Instrument Definitions", "", "[My FS1R]",
                               ("Patch[64]=" + bank).c_str()}));
    }
}

TEST(Fs1r, ShippedExamplesConvert)
{
    const auto dir = std::filesystem::temp_directory_path() / "bankwise-fs1r-examples";
    std::filesystem::create_directories(dir);
    gen::WriteFs1rExamples(dir);
    for (const char* file : {"yamaha-fs1r.syx", "yamaha-fs1r.mid"}) {
        SCOPED_TRACE(file);
        std::ifstream stream(dir / file, std::ios::binary);
        const Bytes bytes{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
        const auto result = Convert(bytes, IsMidiFileName(file));
        EXPECT_TRUE(result.ok);
        EXPECT_EQ(NamesOf(result),
                  (CNameList{"Glass Choir", "Tidal Pad", "Formant Bass", "Night Bell"}));
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace bankwise
