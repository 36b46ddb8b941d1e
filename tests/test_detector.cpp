// Recognising a dump from its first bytes: the failure table, the signature
// order, and what the detector leaves in the document's slot.
#include <gtest/gtest.h>

#include "Detector.h"
#include "OrbitExtractor.h"
#include "TestSupport.h"
#include "gen/OrbitGen.h"

namespace bankwise {
namespace {

using gen::Bytes;
using test::Convert;

constexpr const char* kUnknownFormat = "Unknown file format!";
constexpr const char* kUnknownData = "File contains unknown data!";

TEST(Detector, ShortFilesFailSilently)
{
    for (const bool midi : {false, true}) {
        for (const Bytes& bytes : {Bytes{}, Bytes{0xF0, 0x18, 0x0A, 0x00, 0x01}}) {
            const auto result = Convert(bytes, midi);
            EXPECT_FALSE(result.ok);
            EXPECT_TRUE(result.messages.empty());
            EXPECT_EQ(result.extractor, nullptr);
        }
    }
}

struct RawCase
{
    Bytes head;
    const char* family;   // display name, or null when detection fails
    const char* message;  // shown when detection fails
};

void PrintTo(const RawCase& c, std::ostream* os)
{
    *os << (c.family != nullptr ? c.family : c.message);
}

class RawSignatures : public ::testing::TestWithParam<RawCase>
{
};

TEST_P(RawSignatures, SelectFamilyOrFail)
{
    const RawCase& c = GetParam();
    std::unique_ptr<CDumpExtractor> slot;
    CMemoryByteSource source(c.head);
    test::CCollectingSink sink;
    DetectAndParse(source, false, sink, slot);
    if (c.family == nullptr) {
        EXPECT_EQ(slot, nullptr);
        EXPECT_EQ(sink.messages, std::vector<std::string>{c.message});
    } else {
        ASSERT_NE(slot, nullptr);
        EXPECT_EQ(slot->GetSynthName(), c.family);
    }
}

INSTANTIATE_TEST_SUITE_P(
    FirstBytes, RawSignatures,
    ::testing::Values(
        RawCase{{0xF0, 0x18, 0x0A, 0x00, 0x01, 0x00}, "E-MU Orbit/Phatt/Caranaval", nullptr},
        RawCase{{0xF0, 0x41, 0x10, 0x6A, 0x12, 0x11}, "Roland JV/XP", nullptr},
        RawCase{{0xF0, 0x42, 0x30, 0x41, 0x4C, 0x10}, "Korg Prophecy", nullptr},
        // Both Korg tests match: the Prophecy row comes first.
        RawCase{{0xF0, 0x42, 0x3B, 0x41, 0x4C, 0x10}, "Korg Prophecy", nullptr},
        RawCase{{0xF0, 0x42, 0x3B, 0x00, 0x4C, 0x10}, "Korg TR-Rack", nullptr},
        RawCase{{0xF0, 0x43, 0x10, 0x5E, 0x03, 0x10}, "Yamaha FS1R", nullptr},
        RawCase{{0xF0, 0x43, 0x00, 0x09, 0x20, 0x00}, "Yamaha FS1R", nullptr},
        RawCase{{0xF0, 0x00, 0x20, 0x33, 0x01, 0x00}, "access Virus", nullptr},
        RawCase{{0xF0, 0x7E, 0x00, 0x06, 0x01, 0xF7}, nullptr, kUnknownData},
        RawCase{{0xF0, 0x43, 0x10, 0x00, 0x09, 0x00}, nullptr, kUnknownData},
        RawCase{{0xF0, 0x00, 0x20, 0x33, 0x02, 0x00}, nullptr, kUnknownData},
        RawCase{{0x18, 0x0A, 0x00, 0x01, 0x00, 0x00}, nullptr, kUnknownFormat},
        // A Standard MIDI File read without the MIDI-file flag.
        RawCase{{'M', 'T', 'h', 'd', 0x00, 0x00}, nullptr, kUnknownFormat}));

TEST(Detector, RawSysExReadAsMidiIsUnknownFormat)
{
    const auto result = Convert(gen::MakeOrbitPreset(0, "x"), true);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.messages, std::vector<std::string>{kUnknownFormat});
}

TEST(Detector, MidiSignatureFoundAfterAForeignMessage)
{
    // A universal identity reply first, then an E-MU preset, all inside
    // the first 128 bytes.
    const Bytes foreign{0xF0, 0x7E, 0x00, 0x06, 0x02, 0x18, 0x04, 0x04, 0xF7};
    const Bytes file =
        gen::MakeMidiFile({foreign, gen::MakeOrbitPreset(5, "Found")}, {.otherEvents = false});
    const auto result = Convert(file, true);
    // The foreign message's own 0x18 byte is not followed by 0x0A, so the
    // first match is the preset's manufacturer byte.
    EXPECT_TRUE(result.ok);
    EXPECT_TRUE(result.messages.empty());
    auto* orbit = dynamic_cast<COrbitExtractor*>(result.extractor.get());
    ASSERT_NE(orbit, nullptr);
    ASSERT_EQ(orbit->m_banks[0].size(), 6u);
    EXPECT_EQ(orbit->m_banks[0][5], "Found");
}

TEST(Detector, MidiFailures)
{
    // No SysEx at all.
    const Bytes noSysEx = gen::MakeMidiFile({}, {.otherEvents = true});
    // Only a message of a make the detector does not know.
    const Bytes unknown = gen::MakeMidiFile({{0xF0, 0x7D, 0x01, 0x02, 0xF7}});
    // The first 0xF0 at byte 128 or later: a long meta text pushes it out.
    Bytes late = gen::MakeMidiFile({gen::MakeOrbitPreset(0, "Late")}, {.otherEvents = false});
    Bytes text{0x00, 0xFF, 0x01, 0x7F};
    text.resize(text.size() + 0x7F, ' ');
    late.insert(late.begin() + 22, text.begin(), text.end());  // right after the MTrk header
    for (const Bytes& file : {noSysEx, unknown, late}) {
        const auto result = Convert(file, true);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.messages, std::vector<std::string>{kUnknownData});
        EXPECT_EQ(result.extractor, nullptr);
    }
}

TEST(Detector, FailureBeforeConstructionDiscardsThePreviousExtractor)
{
    std::unique_ptr<CDumpExtractor> slot = std::make_unique<COrbitExtractor>();
    CMemoryByteSource source(Bytes{0x00, 0x01, 0x02, 0x03, 0x04, 0x05});
    test::CCollectingSink sink;
    EXPECT_FALSE(DetectAndParse(source, false, sink, slot));
    EXPECT_EQ(slot, nullptr);
}

TEST(Detector, FailedParseKeepsItsExtractorAndShowsItsMessage)
{
    Bytes cut = gen::MakeOrbitPreset(0, "Cut");
    cut.pop_back();
    const auto result = Convert(cut);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.extractor, nullptr);
    EXPECT_EQ(result.messages, std::vector<std::string>{"File contains invalid data!"});
}

TEST(Detector, MidiFileNames)
{
    for (const char* name : {"x.mid", "x.MiD", "dir.syx/x.MID", "C:\\dumps\\bank.Mid"})
        EXPECT_TRUE(IsMidiFileName(name)) << name;
    for (const char* name : {"x.midi", "x.smf", "x.syx", "mid", "x.mid/dump", "x.mid.syx"})
        EXPECT_FALSE(IsMidiFileName(name)) << name;
}

}  // namespace
}  // namespace bankwise
