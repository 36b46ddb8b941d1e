// Yamaha FS1R performance dumps and the 32-voice packed bulk.
#include <gtest/gtest.h>

#include "Fs1rExtractor.h"
#include "Profile.h"
#include "TestSupport.h"
#include "gen/Fs1rGen.h"

namespace bankwise {
namespace {

using gen::Bytes;
using gen::MakeFs1rPerformance;
using gen::MakeVoiceBulk;
using test::Convert;

constexpr const char* kInvalid = "File contains invalid data!";

const CNameList& NamesOf(const test::Conversion& result)
{
    static const CNameList none;
    const auto* fs1r = dynamic_cast<const CFs1rExtractor*>(result.extractor.get());
    return fs1r != nullptr ? fs1r->m_names : none;
}

test::Conversion ConvertMessages(const std::vector<Bytes>& messages, bool midi)
{
    return Convert(midi ? gen::MakeMidiFile(messages) : gen::JoinMessages(messages), midi);
}

// The text with the default settings: "<i>=I<i+1 in three digits> <name>".
std::string DefaultText(const std::vector<std::string>& names)
{
    std::string text = test::Lines({"; Cakewalk Instrument Definition File for Yamaha FS1R", "",
                                    ".Patch Names", "", "[FS1R Internal]"});
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        text +=
            std::to_string(i) + "=I" + std::string(3 - n.size(), '0') + n + " " + names[i] + "\r\n";
    }
    return text + test::Lines({"", ".Instrument Definitions", "", "[Yamaha FS1R]",
                               "Patch[64]=FS1R Internal"});
}

TEST(Fs1r, DumpsGiveTheExampleTextFromRawAndMidiFiles)
{
    // As the instrument sends a bank: the edit buffer, the performances, voices.
    const Bytes edit = gen::MakeFs1rEditPerformance("Edit Buffer");
    const Bytes voice0 = gen::MakeFs1rVoice(0, "Vox Sweep"), voice1 = gen::MakeFs1rVoice(1, "Reed");
    std::vector<std::string> names;
    std::vector<Bytes> full{edit};
    for (int i = 0; i < 128; ++i) {
        names.push_back("Perf " + std::to_string(i));
        full.push_back(MakeFs1rPerformance(static_cast<std::uint8_t>(i), names.back()));
    }
    full.insert(full.end(), {voice0, voice1});
    const std::vector<std::string> voices(names.begin(), names.begin() + 32);
    const std::string expected = DefaultText(names);
    ASSERT_NE(expected.find("\r\n\r\n[FS1R Internal]\r\n0=I001 Perf 0\r\n"), std::string::npos);
    ASSERT_NE(expected.find("\r\n127=I128 Perf 127\r\n\r\n.Instrument"), std::string::npos);
    // Gaps stay as empty names; the later of two number 9s wins. With no
    // performance at all the bank and definition are still written.
    const std::vector<Bytes> gaps{edit,
                                  MakeFs1rPerformance(9, "Tidal Pad"),
                                  MakeFs1rPerformance(5, "Glass Choir"),
                                  MakeFs1rPerformance(9, "Night Bell"),
                                  voice0,
                                  voice1};
    const std::vector<std::string> gapNames{"", "", "", "",          "", "Glass Choir",
                                            "", "", "", "Night Bell"};
    for (const bool midi : {false, true}) {
        SCOPED_TRACE(midi ? "MIDI file" : "raw file");
        const auto result = ConvertMessages(full, midi);
        EXPECT_TRUE(result.ok);
        EXPECT_TRUE(result.messages.empty());
        EXPECT_EQ(result.text, expected);
        EXPECT_EQ(ConvertMessages(gaps, midi).text, DefaultText(gapNames));
        EXPECT_EQ(ConvertMessages({edit, voice0, voice1}, midi).text, DefaultText({}));
        // A 32-voice bulk gives its names and nothing after it is read.
        const auto bulk = ConvertMessages({MakeVoiceBulk({.names = voices}), gaps[1]}, midi);
        EXPECT_TRUE(bulk.ok);
        EXPECT_EQ(bulk.text, DefaultText(voices));
        // After performances it replaces the first names in a raw file; the
        // MIDI search looks for FS1R messages only and passes it over.
        const auto late = ConvertMessages(
            {MakeFs1rPerformance(1, "P1"), MakeVoiceBulk({.names = {"V0"}}), gaps[2]}, midi);
        EXPECT_EQ(NamesOf(late),
                  (midi ? CNameList{"", "P1", "", "", "", "Glass Choir"} : CNameList{"V0", "P1"}));
    }
    // The MIDI search passes over another make's message with a 0x43 in it.
    const Bytes roland{0xF0, 0x41, 0x10, 0x6A, 0x12, 0x11, 0, 0, 0, 0x43, 0x00, 0x5D, 0xF7};
    const std::vector<Bytes> mixed{edit, roland, gaps[1], roland, gaps[2], roland, gaps[3]};
    EXPECT_EQ(ConvertMessages(mixed, true).text, DefaultText(gapNames));
}

Bytes Cut(Bytes bytes, std::size_t length)
{
    bytes.resize(length);
    return bytes;
}

TEST(Fs1r, RawFileRules)
{
    const Bytes next = MakeFs1rPerformance(1, "Tidal Pad");
    const auto odd = [&](std::size_t data) {  // performance 1 with the wrong data length
        return gen::Concat(
            {gen::MakeFs1rMessage({.addressLow = 1, .name = "", .dataLength = data}), next});
    };
    // What follows a first performance, whether the file is good, the names read.
    const struct
    {
        const char* what;
        Bytes tail;
        bool ok;
        std::size_t names;
    } cases[] = {
        {"next message follows", next, true, 2},
        {"one trailing byte", {0x00}, true, 1},
        {"two trailing bytes", {0xF7, 0x00}, false, 1},
        {"header misplaced after a short message", odd(399), false, 2},
        {"header misplaced after a long message", odd(401), false, 2},
        {"other manufacturer", {0xF0, 0x41, 0x10, 0x6A, 0x12, 0xF7}, false, 1},
        {"other Yamaha model", {0xF0, 0x43, 0x10, 0x4C, 0x00, 0xF7}, false, 1},
        {"sub-status not 0", MakeVoiceBulk({.names = {"A", "B"}, .subStatus = 0x10}), false, 1},
        {"voice records do not fit", MakeVoiceBulk({.names = {"A"}, .count = 2}), false, 1},
        {"voice bulk cut before its count", {0xF0, 0x43, 0x00, 0x09}, false, 1},
        {"voice bulk of no voices", MakeVoiceBulk({}), true, 1},
        {"name cut off", Cut(next, 15), false, 1},
        {"header cut off", Cut(next, 6), false, 1},
        {"unterminated voice message at the end", Cut(gen::MakeFs1rVoice(0, "V"), 300), true, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto result = Convert(gen::Concat({MakeFs1rPerformance(0, "Formant Bass"), c.tail}));
        EXPECT_EQ(result.ok, c.ok);
        EXPECT_EQ(result.messages,
                  (c.ok ? std::vector<std::string>{} : std::vector<std::string>{kInvalid}));
        ASSERT_EQ(NamesOf(result).size(), c.names);
        EXPECT_EQ(NamesOf(result)[0], "Formant Bass");  // all twelve bytes
    }
}

// Every prefix of a mixed dump is read without leaving the data (the sanitizers
// watch): cut inside a performance's header or name, a raw dump is invalid
// while the MIDI search takes it for no message.
TEST(Fs1r, EveryTruncationStaysInsideTheData)
{
    const Bytes dump =
        gen::JoinMessages({MakeFs1rPerformance(3, "Glass Choir"), gen::MakeFs1rVoice(0, "Vox"),
                           MakeFs1rPerformance(4, "Tidal Pad"), MakeVoiceBulk({.names = {"A"}})});
    const std::size_t second = 411 + 619;  // the second performance's manufacturer byte
    for (std::size_t length = 6; length <= dump.size(); ++length) {  // detection needs 6
        CFs1rExtractor raw, midi;
        const bool rawOk = test::ParseBytes(raw, Cut(dump, length), false, 1);
        EXPECT_FALSE(rawOk && length > second + 1 && length < second + 21) << length;
        EXPECT_TRUE(test::ParseBytes(midi, Cut(dump, length), true, 1)) << length;
    }
}

TEST(Fs1r, StoredPatterns)
{
    // The bank pattern is written as typed: there is no number to put in it.
    const char* const cases[][3] = {
        {"Bank %d", "P%03d ", "[Bank %d]\r\n0=P001 Glass Choir\r\n1=P002 Tidal Pad\r\n"},
        {"100% FS1R", "#%-3d|", "[100% FS1R]\r\n0=#1  |Glass Choir\r\n1=#2  |Tidal Pad\r\n"},
        {"FS1R", "abc%x", "[FS1R]\r\n0=abc%xGlass Choir\r\n1=abc%xTidal Pad\r\n"},
        {"FS1R", "%n%d", "[FS1R]\r\n0=%n1Glass Choir\r\n1=%n2Tidal Pad\r\n"},
    };
    for (const auto& [bank, instr, lines] : cases) {
        CMemoryProfile profile;
        for (const auto& [key, value] :
             {std::pair{"BankFormat", bank}, {"InstrFormat", instr}, {"Definition", "My FS1R"}})
            profile.WriteProfileString("Yamaha FS1R", key, value);
        CScopedAppProfile scope(profile);
        CFs1rExtractor extractor;
        extractor.m_names = {"Glass Choir", "Tidal Pad"};
        std::string text;
        extractor.WriteDefinition(text);
        EXPECT_EQ(text, "; Cakewalk Instrument Definition File for Yamaha FS1R\r\n\r\n"
                        ".Patch Names\r\n\r\n" +
                            std::string(lines) +
                            "\r\n.Instrument Definitions\r\n\r\n[My FS1R]\r\nPatch[64]=" + bank +
                            "\r\n");
    }
}

}  // namespace
}  // namespace bankwise
