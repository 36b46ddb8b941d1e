#include <gtest/gtest.h>

#include <array>

#include "KorgExtractor.h"
#include "Profile.h"
#include "TestSupport.h"
#include "gen/KorgGen.h"

namespace bankwise {
namespace {

using namespace gen;

constexpr std::size_t kOneBankPacked = 39132;
constexpr std::size_t kTwoBanksPacked = 78263;
// File lengths up to the end of the packed data, the leading F0 counted.
constexpr std::size_t kOneBankEnd = 1 + kKorgProgramPackedAt + kOneBankPacked;
constexpr std::size_t kTwoBanksEnd = 1 + kKorgProgramPackedAt + kTwoBanksPacked;
constexpr std::size_t kAllDataEnd = 1 + kKorgAllDataPackedAt + kTwoBanksPacked;
const std::vector<std::string> kNames{"Tidal Lead", "Brass Canyon", "Reed Whisper"};

// The default-pattern text of the banks in `letters` ("AB", "A", "B", or none
// after a failure), with the record names the generator makes from kNames.
std::string Text(const std::string& synth, const std::string& bank, const std::string& letters)
{
    std::string text =
        "; Cakewalk Instrument Definition File for " + synth + "\r\n\r\n.Patch Names\r\n\r\n";
    std::string patchLines;
    for (std::size_t b = 0; b < letters.size(); ++b) {
        const std::string name = bank + " " + letters[b];
        text += "[" + name + "]\r\n";
        for (std::size_t n = 0, r = 64 * b; n < 64; ++n, ++r)
            text += std::to_string(n) + "=" + letters[b] + (n < 10 ? "0" : "") + std::to_string(n) +
                    ":" + (r < kNames.size() ? kNames[r] : "Program " + std::to_string(r)) + "\r\n";
        text += "\r\n";
        patchLines += (letters[b] == 'A' ? "Patch[128]=" : "Patch[256]=") + name + "\r\n";
    }
    return text + ".Instrument Definitions\r\n\r\n[" + synth + "]\r\n" + patchLines;
}

Bytes Cut(Bytes bytes, std::size_t length)
{
    EXPECT_LT(length, bytes.size());
    bytes.resize(length);
    return bytes;
}
Bytes WithByte(Bytes bytes, std::size_t at, std::uint8_t value)
{
    bytes.at(at) = value;
    return bytes;
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    for (std::size_t from = 0, end; (end = text.find("\r\n", from)) != std::string::npos;
         from = end + 2)
        lines.push_back(text.substr(from, end - from));
    return lines;
}

// Every test reads its settings from a fresh, empty profile.
struct KorgTest : ::testing::Test
{
    CMemoryProfile profile;
    CScopedAppProfile scope{profile};
};

TEST_F(KorgTest, ConvertsDumpsToTheExpectedText)
{
    const Bytes prophecy = MakeKorgProgramDump(kProphecy, kKorgBothBanks, kNames);
    const Bytes all = MakeKorgAllDataDump(kProphecy, kNames);
    const Bytes trRack = MakeKorgProgramDump(kTrRack, kKorgBothBanks, kNames);
    const std::string prophecyAB = Text("Korg Prophecy", "Prophecy Bank", "AB");
    const std::string trRackAB = Text("Korg TR-Rack", "TR-Rack Bank", "AB");
    const struct
    {
        const char* label;
        Bytes bytes;
        bool midi;
        std::string expected;
    } cases[] = {
        {"Prophecy, both", prophecy, false, prophecyAB},
        {"Prophecy, both, MIDI", MakeMidiFile({prophecy}), true, prophecyAB},
        {"Prophecy, bank byte 0x21", WithByte(prophecy, 5, 0x21), false, prophecyAB},
        {"Prophecy, B", MakeKorgProgramDump(kProphecy, kKorgBankB, kNames), false,
         Text("Korg Prophecy", "Prophecy Bank", "B")},
        // Nothing after the packed data is read, not even the F7.
        {"Prophecy, A, no F7", Cut(MakeKorgProgramDump(kProphecy, kKorgBankA, kNames), kOneBankEnd),
         false, Text("Korg Prophecy", "Prophecy Bank", "A")},
        {"Prophecy, both, no F7", Cut(prophecy, kTwoBanksEnd), false, prophecyAB},
        {"all data, no F7", Cut(all, kAllDataEnd), false, prophecyAB},
        // An all data dump never reads the byte a program dump keeps its bank in.
        {"all data, 0x00 at o+4", WithByte(all, 5, 0x00), false, prophecyAB},
        {"all data, 0x11 at o+4", WithByte(all, 5, 0x11), false, prophecyAB},
        {"TR-Rack, both", trRack, false, trRackAB},
        {"TR-Rack, both, MIDI", MakeMidiFile({trRack}), true, trRackAB},
        {"TR-Rack, all data, MIDI", MakeMidiFile({MakeKorgAllDataDump(kTrRack, kNames)}), true,
         trRackAB},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const test::Conversion result = test::Convert(c.bytes, c.midi);
        EXPECT_TRUE(result.ok);
        EXPECT_TRUE(result.messages.empty());
        EXPECT_EQ(result.text, c.expected);
    }
}

TEST_F(KorgTest, NamesAreSixteenBytesCutAtZeroAndTrimmedAtTheEnd)
{
    const CNameList stored{"  Lead",        "ABCDEFGHIJKLMNOPQRS", std::string("Abc\0Def", 7),
                           "Tab\t\r\n\v\f", "Caf\xE9 au lait",     ""};
    CProphecyExtractor extractor;
    ASSERT_TRUE(
        test::ParseBytes(extractor, MakeKorgProgramDump(kProphecy, kKorgBankA, stored), false, 1));
    extractor.m_names.resize(stored.size());
    EXPECT_EQ(extractor.m_names,
              (CNameList{"  Lead", "ABCDEFGHIJKLMNOP", "Abc", "Tab", "Caf\xE9 au lait", ""}));
}

TEST_F(KorgTest, FailuresLeaveNoNamesNoBankAndTheRightMessage)
{
    const std::string invalid = "File contains invalid data!";
    const std::string useless = "No useful data found in this file!";
    const Bytes one = MakeKorgProgramDump(kProphecy, kKorgBankA, kNames);
    const Bytes both = MakeKorgProgramDump(kProphecy, kKorgBothBanks, kNames);
    const Bytes all = MakeKorgAllDataDump(kProphecy, kNames);
    const std::pair<Bytes, std::string> cases[] = {
        {{0xF0, 0x42, 0x30, 0x41, 0x4C}, ""},             // F0 | 42 30 41 4C: header cut short
        {{0xF0}, ""},                                     // nothing at the offset
        {{0xF0, 0x42, 0x30, 0x41, 0x40, 0x10}, useless},  // F0 | 42 30 41 <function> 10
        {{0xF0, 0x42, 0x30, 0x41, 0x4D, 0x10}, useless},
        {{0xF0, 0x42, 0x30, 0x41, 0x4C, 0x00}, invalid},  // F0 | 42 30 41 4C <bank>
        {{0xF0, 0x42, 0x30, 0x41, 0x4C, 0x12}, invalid},
        {{0xF0, 0x42, 0x30, 0x41, 0x4C, 0x30}, invalid},
        {{0xF0, 0x42, 0x30, 0x41, 0x4C, 0x10}, invalid},  // header only
        {Cut(one, kOneBankEnd - 1), invalid},             // one byte short of the packed data
        {Cut(both, kTwoBanksEnd - 1), invalid},
        {Cut(all, kAllDataEnd - 1), invalid},
        {Cut(all, 300), invalid},  // ends in the bytes an all data dump skips
    };
    for (const auto& [bytes, error] : cases) {
        SCOPED_TRACE(testing::PrintToString(bytes.size()) + " bytes, error \"" + error + "\"");
        CProphecyExtractor extractor;
        EXPECT_FALSE(test::ParseBytes(extractor, bytes, false, 1));
        EXPECT_EQ(extractor.m_strError, error);
        EXPECT_TRUE(extractor.m_names.empty());
        EXPECT_EQ(extractor.m_nBankScope, CKorgProgramExtractor::kNoBank);
    }
    // F0 | 42 3B 3B 4C 20 | 00 00, then the file ends inside the packed data:
    // the user sees the message and the definition lists no bank.
    const test::Conversion cut = test::Convert({0xF0, 0x42, 0x3B, 0x3B, 0x4C, 0x20, 0x00, 0x00});
    EXPECT_FALSE(cut.ok);
    EXPECT_EQ(cut.messages, std::vector<std::string>{invalid});
    EXPECT_EQ(cut.text, Text("Korg TR-Rack", "", ""));
}

// Counts what a parser takes from the file.
struct CCountingSource final : CByteSource
{
    explicit CCountingSource(Bytes bytes) : inner(std::move(bytes)) {}
    std::uint64_t GetLength() override { return inner.GetLength(); }
    bool Seek(std::uint64_t position) override { return inner.Seek(position); }
    std::uint64_t GetPosition() override { return inner.GetPosition(); }
    std::size_t Read(std::uint8_t* destination, std::size_t count) override
    {
        const std::size_t n = inner.Read(destination, count);
        bytesRead += n;
        return n;
    }
    CMemoryByteSource inner;
    std::size_t bytesRead = 0;
};

TEST_F(KorgTest, ReadsOnlyTheHeaderAndThePackedBlock)
{
    const std::pair<Bytes, std::size_t> cases[] = {
        {MakeKorgProgramDump(kProphecy, kKorgBankA, kNames), 5 + kOneBankPacked},
        {MakeKorgAllDataDump(kProphecy, kNames), 5 + kTwoBanksPacked},
    };
    for (const auto& [dump, read] : cases) {
        CCountingSource source(Concat({dump, Bytes(100000, 0x55)}));
        CProphecyExtractor extractor;
        EXPECT_TRUE(extractor.Parse(source, false, 1));
        EXPECT_EQ(source.bytesRead, read);
    }
}

TEST(KorgUnpack, LengthsIncludeTheShortLastGroupAndBitBytesSetBitSeven)
{
    const std::pair<std::size_t, std::size_t> lengths[] = {
        {kOneBankPacked, 34240},   // 4891 groups, then a bit byte and 3 data bytes
        {kTwoBanksPacked, 68480},  // 9782 groups, then a bit byte and 6 data bytes
        {0, 0},
        {1, 0} /* a lone bit byte */,
        {8, 7},
        {9, 7},
        {10, 8},
    };
    for (const auto& [packed, unpacked] : lengths) {
        std::vector<std::uint8_t> data(packed, 0x7F);
        UnpackKorgData(data);
        EXPECT_EQ(data.size(), unpacked) << packed;
    }
    // Bit byte 0b1000101: data bytes 0, 2 and 6 get bit 7; then a short group
    // whose bit byte 0b10 marks its second byte.
    std::vector<std::uint8_t> data{0x45, 0x41, 0x42, 0x43, 0x44, 0x45,
                                   0x46, 0x47, 0x02, 0x10, 0x20};
    UnpackKorgData(data);
    EXPECT_EQ(data, (Bytes{0xC1, 0x42, 0xC3, 0x44, 0x45, 0x46, 0xC7, 0x10, 0xA0}));
}

TEST_F(KorgTest, PatternsGiveLettersNumbersOrNeitherAndStayWithTheirFamily)
{
    // One message read by both families gives the same names; the TR-Rack
    // keeps its default text while only the Prophecy's patterns change.
    const Bytes dump = MakeKorgProgramDump(kProphecy, 0x21, kNames);
    CProphecyExtractor prophecy;
    CTrRackExtractor trRack;
    ASSERT_TRUE(test::ParseBytes(prophecy, dump, false, 1));
    ASSERT_TRUE(test::ParseBytes(trRack, dump, false, 1));
    EXPECT_EQ(prophecy.m_names, trRack.m_names);
    // Bank and patch pattern, then lines 4 (heading A), 5 (first of A), 134
    // (last of B) and 140 (Patch line of B).
    const std::array<const char*, 6> cases[] = {
        {"Bank %c", "%02d", "[Bank A]", "0=00Tidal Lead", "63=63Program 127", "Patch[256]=Bank B"},
        {"Bank %c", "%c", "[Bank A]", "0=ATidal Lead", "63=BProgram 127", "Patch[256]=Bank B"},
        {"Bank %c", "Prog ", "[Bank A]", "0=Prog Tidal Lead", "63=Prog Program 127",
         "Patch[256]=Bank B"},
        {"Bank %c", "", "[Bank A]", "0=Tidal Lead", "63=Program 127", "Patch[256]=Bank B"},
        {"Bank %c", "%c-%3d ", "[Bank A]", "0=A-  0 Tidal Lead", "63=B- 63 Program 127",
         "Patch[256]=Bank B"},
        // A bank pattern without "%c" would name both banks alike: B is told apart.
        {"Korg Bank", "%c%02d:", "[Korg Bank]", "0=A00:Tidal Lead", "63=B63:Program 127",
         "Patch[256]=Korg Bank (2)"},
        // Conversions that do not fit are written as typed.
        {"%c %s %d", "%s%c", "[A %s %d]", "0=%sATidal Lead", "63=%sBProgram 127",
         "Patch[256]=B %s %d"},
        {"Bank %c", "%d%c", "[Bank A]", "0=65%cTidal Lead", "63=66%cProgram 127",
         "Patch[256]=Bank B"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c[0]) + " / " + c[1]);
        profile.WriteProfileString("Korg Prophecy", "BankFormat", c[0]);
        profile.WriteProfileString("Korg Prophecy", "InstrFormat", c[1]);
        std::string text;
        prophecy.WriteDefinition(text);
        const std::vector<std::string> lines = SplitLines(text);
        ASSERT_EQ(lines.size(), 141u);
        EXPECT_EQ((std::array<std::string, 4>{lines[4], lines[5], lines[134], lines[140]}),
                  (std::array<std::string, 4>{c[2], c[3], c[4], c[5]}));
        text.clear();
        trRack.WriteDefinition(text);
        EXPECT_EQ(text, Text("Korg TR-Rack", "TR-Rack Bank", "AB"));
    }
}

}  // namespace
}  // namespace bankwise
