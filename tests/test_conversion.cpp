// The one entry point from a dump to its names: the code and context of each
// way it fails, the notes of one that converts, and that the naming
// settings and the busy hook are the caller's.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "Conversion.h"
#include "StringTable.h"
#include "TestSupport.h"
#include "gen/JvXpGen.h"
#include "gen/KorgGen.h"
#include "gen/OrbitGen.h"

namespace bankwise {
namespace {

using namespace gen;

// A source that fails partway, as a file on a failing disk does.
class CFailingSource final : public CByteSource
{
public:
    explicit CFailingSource(Bytes bytes) : m_inner(std::move(bytes)) {}
    std::uint64_t GetLength() override { return m_inner.GetLength(); }
    bool Seek(std::uint64_t position) override { return m_inner.Seek(position); }
    std::uint64_t GetPosition() override { return m_inner.GetPosition(); }
    std::size_t Read(std::uint8_t* destination, std::size_t count) override
    {
        if (m_inner.GetPosition() > 0 || count > 6) {
            m_failed = true;
            return 0;
        }
        return m_inner.Read(destination, count);
    }
    bool HasFailed() const override { return m_failed; }

private:
    CMemoryByteSource m_inner;
    bool m_failed = false;
};

TEST(Conversion, FailuresCarryTheirCodeFamilyAndOffset)
{
    const Bytes patch = MakeJvXpMessage({.slot = 3, .name = "Three"});
    Bytes broken = MakeJvXpMessage({.slot = 4, .name = "Four"});
    broken[1] = 0x42;  // another maker where the second message's header stands
    const Bytes prophecy = MakeKorgProgramDump(kProphecy, kKorgBankA, {});
    struct Case
    {
        const char* what;
        Bytes file;
        bool midi;
        EConvertError error;
        std::uint32_t family;  // its display name id, 0 for none
        std::uint64_t offset;
        bool extractor;
    };
    const Case cases[] = {
        {"five bytes", {0xF0, 0x18, 0x0A, 0x00, 0x01}, false, EConvertError::TooShort, 0, 0, false},
        {"no F0",
         {0x18, 0x0A, 0x00, 0x01, 0x00, 0x00},
         false,
         EConvertError::UnknownFormat,
         0,
         0,
         false},
        {"no MThd", patch, true, EConvertError::UnknownFormat, 0, 0, false},
        {"unknown maker",
         {0xF0, 0x7E, 0x00, 0x06, 0x01, 0xF7},
         false,
         EConvertError::UnknownData,
         0,
         0,
         false},
        {"second message broken", Concat({patch, broken}), false, EConvertError::InvalidData,
         IDS_SYNTH_JVXP, patch.size() + 1, true},
        {"Korg header cut off", test::Cut(prophecy, 7), false, EConvertError::InvalidData,
         IDS_SYNTH_PROPHECY, 1, true},
        {"Korg function unknown",
         [&] {
             Bytes b = prophecy;
             b[4] = 0x01;
             return b;
         }(),
         false, EConvertError::NoUsefulData, IDS_SYNTH_PROPHECY, 1, true},
    };
    const CMemoryProfile profile;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const CConversion result = ConvertDump(c.file, c.midi, profile);
        EXPECT_EQ(result.error, c.error);
        EXPECT_EQ(result.family != nullptr ? result.family->nameId : 0, c.family);
        EXPECT_EQ(result.nOffset, c.offset);
        EXPECT_EQ(result.extractor != nullptr, c.extractor);
        EXPECT_FALSE(result.notes.bCutOff);
    }
}

TEST(Conversion, ErrorsBecomeWordsAtTheEdge)
{
    const std::pair<EConvertError, const char*> cases[] = {
        {EConvertError::None, ""},
        {EConvertError::TooShort, "File is too short to hold a dump!"},
        {EConvertError::UnknownFormat, "Unknown file format!"},
        {EConvertError::UnknownData, "File contains unknown data!"},
        {EConvertError::InvalidData, "File contains invalid data!"},
        {EConvertError::NoUsefulData, "No useful data found in this file!"},
        {EConvertError::ReadError, "The file could not be read completely!"},
        {EConvertError::OutOfMemory, "Not enough memory to read this file!"},
    };
    for (const auto& [error, text] : cases)
        EXPECT_EQ(DescribeError(error), text);
}

TEST(Conversion, AReadErrorKeepsNothingOfTheDump)
{
    CFailingSource source(JoinMessages({MakeOrbitPreset(0, "Lost")}));
    const CMemoryProfile profile;
    const CConversion result = ConvertDump(source, false, profile);
    EXPECT_EQ(result.error, EConvertError::ReadError);
    EXPECT_EQ(result.extractor, nullptr);
}

TEST(Conversion, ACutOffDumpConvertsWithItsNote)
{
    const Bytes dump = JoinMessages({MakeOrbitPreset(0, "Kept"), {0xF0}});
    const CMemoryProfile profile;
    const CConversion result = ConvertDump(dump, false, profile);
    ASSERT_TRUE(result.Succeeded());
    EXPECT_TRUE(result.notes.bCutOff);
    EXPECT_EQ(DescribeNotes(result.notes),
              test::Strings{"the dump ends inside a message; names after that point are missing"});
    EXPECT_TRUE(DescribeNotes({}).empty());
    EXPECT_EQ(DescribeNotes({.nBadChecksums = 1}), test::Strings{"1 message has a wrong checksum"});
    EXPECT_EQ(DescribeNotes({.nBadChecksums = 3}),
              test::Strings{"3 messages have a wrong checksum"});
}

// Two conversions side by side each write with their own settings, read
// at each write; the busy hook hears one busy span, on failure too.
TEST(Conversion, SettingsAndBusyHookAreTheCallers)
{
    const Bytes dump = JoinMessages({MakeOrbitPreset(0, "Lead")});
    CMemoryProfile first;
    CMemoryProfile second;
    second.WriteProfileString("E-MU Orbit/Phatt/Caranaval", "InstrFormat", "P%03d ");
    std::vector<bool> calls;
    const BusyHook busy = [&calls](bool on) { calls.push_back(on); };
    const CConversion a = ConvertDump(dump, false, first, busy);
    const CConversion b = ConvertDump(dump, false, second, busy);
    EXPECT_FALSE(ConvertDump(Bytes{0xF0}, false, first, busy).Succeeded());
    EXPECT_EQ(calls, (std::vector<bool>{true, false, true, false, true, false}));

    std::string textA, textB;
    a.extractor->WriteDefinition(textA);
    b.extractor->WriteDefinition(textB);
    EXPECT_NE(textA.find("\r\n0=Lead\r\n"), std::string::npos);
    EXPECT_NE(textB.find("\r\n0=P000 Lead\r\n"), std::string::npos);
    first.WriteProfileString("E-MU Orbit/Phatt/Caranaval", "InstrFormat", "#%d ");
    textA.clear();
    a.extractor->WriteDefinition(textA);
    EXPECT_NE(textA.find("\r\n0=#0 Lead\r\n"), std::string::npos);
}

}  // namespace
}  // namespace bankwise
