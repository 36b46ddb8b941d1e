// Recognising a dump from its first bytes: the signature table and its
// order, the MIDI search, and what the detector leaves in the document's slot.
#include <gtest/gtest.h>

#include "OrbitExtractor.h"
#include "TestSupport.h"
#include "gen/OrbitGen.h"

namespace bankwise {
namespace {

using test::Bytes;

constexpr const char* kUnknownData = "File contains unknown data!";

TEST(Detector, FirstBytesSelectTheFamilyOrFail)
{
    const std::pair<Bytes, const char*> cases[] = {
        // family, or the message when detection fails
        {{0xF0, 0x18, 0x0A, 0x00, 0x01, 0x00}, "E-MU Orbit/Phatt/Caranaval"},
        {{0xF0, 0x41, 0x10, 0x6A, 0x12, 0x11}, "Roland JV/XP"},
        {{0xF0, 0x42, 0x30, 0x41, 0x4C, 0x10}, "Korg Prophecy"},
        {{0xF0, 0x42, 0x3B, 0x41, 0x4C, 0x10}, "Korg Prophecy"},  // both match: Prophecy first
        {{0xF0, 0x42, 0x3B, 0x00, 0x4C, 0x10}, "Korg TR-Rack"},
        {{0xF0, 0x43, 0x10, 0x5E, 0x03, 0x10}, "Yamaha FS1R"},
        {{0xF0, 0x43, 0x00, 0x09, 0x20, 0x00}, "Yamaha FS1R"},
        {{0xF0, 0x00, 0x20, 0x33, 0x01, 0x00}, "access Virus"},
        {{0xF0, 0x7E, 0x00, 0x06, 0x01, 0xF7}, kUnknownData},
        {{0xF0, 0x41, 0x10, 0x42, 0x12, 0x40}, kUnknownData},  // another Roland model
        {{0xF0, 0x43, 0x10, 0x00, 0x09, 0x00}, kUnknownData},
        {{0xF0, 0x43, 0x00, 0x4C, 0x00, 0x00}, kUnknownData},  // another Yamaha format
        {{0xF0, 0x00, 0x20, 0x33, 0x02, 0x00}, kUnknownData},
        {{0x18, 0x0A, 0x00, 0x01, 0x00, 0x00}, "Unknown file format!"},
        {{'M', 'T', 'h', 'd', 0x00, 0x00}, "Unknown file format!"},  // MIDI read as raw
    };
    for (const auto& [head, expected] : cases) {
        const test::Conversion result = test::Convert(head);
        if (result.extractor != nullptr)
            EXPECT_EQ(result.extractor->GetSynthName(), expected);
        else
            EXPECT_EQ(result.messages, test::Strings{expected});
    }
}

TEST(Detector, MidiFailures)
{
    const Bytes preset = gen::MakeOrbitPreset(0, "x");
    // The first 0xF0 at byte 127: a meta text pushes it out of the search.
    Bytes late = gen::MakeMidiFile({preset}, {.otherEvents = false});
    Bytes text{0x00, 0xFF, 0x01, 100};
    text.resize(text.size() + 100, ' ');
    late.insert(late.begin() + 22, text.begin(), text.end());  // right after the MTrk header
    // A delta time and length that read as a signature around an unknown message.
    Bytes unknown{0xF0, 0x7D};
    unknown.resize(0x5E, 0x01);
    unknown.push_back(0xF7);
    const std::pair<Bytes, const char*> cases[] = {
        {gen::MakeMidiFile({}), kUnknownData},
        {gen::MakeMidiFile({unknown}, {.otherEvents = false, .deltaTime = 0x43}), kUnknownData},
        {late, kUnknownData},
        {preset, "Unknown file format!"},  // raw SysEx read as MIDI
    };
    for (const auto& [file, message] : cases) {
        const auto result = test::Convert(file, true);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.messages, test::Strings{message});
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

}  // namespace
}  // namespace bankwise
