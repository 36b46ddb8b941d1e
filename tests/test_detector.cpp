// Reading a dump: the first bytes select the family or fail, and the whole
// dump is read in place or copied, whatever length its source claims.
#include <gtest/gtest.h>

#include <optional>
#include <set>

#include "ByteSource.h"
#include "OrbitExtractor.h"
#include "SafeFormat.h"
#include "StringTable.h"
#include "TestSupport.h"
#include "gen/MorpheusGen.h"
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
        {{0xF0, 0x3E, 0x13, 0x00, 0x10, 0x00}, "Waldorf Blofeld"},
        {{0xF0, 0x3E, 0x13, 0x00, 0x11, 0x00}, kUnknownData},  // a multi dump first
        {{0xF0, 0x3E, 0x14, 0x00, 0x10, 0x00}, kUnknownData},  // another Waldorf
        {{0xF0, 0x18, 0x0C, 0x00, 0x01, 0x01}, "E-mu Morpheus/Proteus"},
        {{0xF0, 0x18, 0x04, 0x00, 0x01, 0x40}, "E-mu Morpheus/Proteus"},
        {{0xF0, 0x18, 0x0B, 0x00, 0x01, 0x01}, kUnknownData},
        {{0xF0, 0x0F, 0x05, 0x00, 0x00, 0x03}, "Ensoniq VFX/ESQ-1"},
        {{0xF0, 0x0F, 0x02, 0x00, 0x02, 0x00}, "Ensoniq VFX/ESQ-1"},
        {{0xF0, 0x0F, 0x05, 0x01, 0x00, 0x03}, kUnknownData},
        {{0xF0, 0x42, 0x30, 0x19, 0x4C, 0x00}, "Korg M1/03R/W"},
        {{0xF0, 0x42, 0x3F, 0x30, 0x40, 0x00}, "Korg M1/03R/W"},
        {{0xF0, 0x42, 0x40, 0x19, 0x4C, 0x00}, kUnknownData},  // not a channel message
        {{0xF0, 0x42, 0x30, 0x1A, 0x4C, 0x00}, kUnknownData},  // another Korg model
        // On channel 12 the TR-Rack keeps what its reader takes.
        {{0xF0, 0x42, 0x3B, 0x19, 0x40, 0x00}, "Korg M1/03R/W"},
        {{0xF0, 0x42, 0x3B, 0x30, 0x4D, 0x00}, "Korg M1/03R/W"},
        {{0xF0, 0x42, 0x3B, 0x19, 0x4C, 0x00}, "Korg M1/03R/W"},
        {{0xF0, 0x42, 0x3B, 0x19, 0x4C, 0x21}, "Korg TR-Rack"},
        {{0xF0, 0x42, 0x3B, 0x30, 0x50, 0x00}, "Korg TR-Rack"},
        {{0xF0, 0x42, 0x3B, 0x18, 0x40, 0x00}, "Korg TR-Rack"},
        {{0xF0, 0x41, 0x10, 0x14, 0x12, 0x02}, "Roland D-50"},
        {{0xF0, 0x41, 0x10, 0x14, 0x11, 0x02}, kUnknownData},  // a request
        {{0xF0, 0x41, 0x10, 0x15, 0x12, 0x02}, kUnknownData},  // another Roland model
        {{0xF0, 0x40, 0x00, 0x21, 0x00, 0x0A}, "Kawai K5000"},
        {{0xF0, 0x40, 0x0F, 0x20, 0x00, 0x0A}, "Kawai K5000"},
        {{0xF0, 0x40, 0x00, 0x21, 0x00, 0x0B}, kUnknownData},  // another Kawai model
        {{0xF0, 0x40, 0x00, 0x21, 0x01, 0x0A}, kUnknownData},  // another group
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
    // A meta text pushes the signature to bytes 127 and 128, one past the search.
    Bytes late = gen::MakeMidiFile({preset}, {.otherEvents = false});
    Bytes text{0x00, 0xFF, 0x01, 97};
    text.resize(text.size() + 97, ' ');
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

// A row whose factory makes another family's extractor would read the dump
// with the wrong rules and file its settings in the wrong section.
TEST(Families, EachRowMakesAnExtractorWithItsOwnNameAndDefaults)
{
    std::set<std::string> names;
    for (const CFamily& family : Families()) {
        const auto extractor = family.create();
        const std::string name = LoadString(family.nameId);
        EXPECT_TRUE(names.insert(name).second) << name;
        EXPECT_EQ(extractor->GetSynthName(), name);
        EXPECT_STREQ(extractor->m_pszBankFormat, family.bankFormat);
        EXPECT_EQ(extractor->m_pszInstrFormat, family.instrFormat) << name;
        EXPECT_EQ(extractor->m_nPreviewFirstPatch, family.previewFirstPatch) << name;
        EXPECT_EQ(extractor->m_nPreviewBank, family.previewBank) << name;
        // The preview numbers are what the writer puts in the first line.
        const std::string samples[] = {"One", "Two"};
        extractor->StoreSampleNames(samples);
        const CDefinition definition = extractor->MakeDefinition();
        ASSERT_FALSE(definition.banks.empty()) << name;
        EXPECT_EQ(definition.banks[0].number, family.previewBank) << name;
        const std::string& prefix = definition.banks[0].patches.at(0).prefix;
        EXPECT_TRUE(prefix.empty() ||
                    prefix.find(std::to_string(family.previewFirstPatch)) != std::string::npos)
            << name << ": " << prefix;
    }
    const std::string info =
        SafeFormat(LoadString(IDS_PROGRAM_INFO), {FormatArg::Text(FamilyNameLines()),
                                                  FormatArg::Text("1.0"), FormatArg::Text("")});
    EXPECT_NE(info.find(":\nE-MU Orbit/Phatt/Caranaval\nRoland JV/XP\n"), std::string::npos);
    EXPECT_NE(info.find("\naccess Virus\n"), std::string::npos);
    EXPECT_NE(info.find("\n\n\xC2\xA7 Program Version:\n1.0\n"), std::string::npos) << info;
}

// The families added after the first six are found in a MIDI file only
// where none of the six is: an E-mu identity reply before an Orbit preset
// holds the Proteus signature.
TEST(Detector, MidiFileTakesALaterFamilyOnlyWithoutOneOfTheFirstSix)
{
    const Bytes reply{0xF0, 0x7E, 0x00, 0x06, 0x02, 0x18, 0x04, 0x04, 0xF7};
    const Bytes proteus = gen::MakeMorpheusMessage({.name = "x", .proteus = true});
    const std::pair<Bytes, const char*> cases[] = {
        {gen::MakeMidiFile({reply, gen::MakeOrbitPreset(0, "x")}), "E-MU Orbit/Phatt/Caranaval"},
        {gen::MakeMidiFile({reply, proteus}), "E-mu Morpheus/Proteus"},
    };
    for (const auto& [file, family] : cases) {
        const auto result = test::Convert(file, true);
        ASSERT_NE(result.extractor, nullptr);
        EXPECT_EQ(result.extractor->GetSynthName(), family);
    }
}

// A source with no memory of its own that may claim a length other than what
// it delivers, as a file that changes under its reader would.
class CStreamedSource final : public CByteSource
{
public:
    CStreamedSource(Bytes bytes, std::uint64_t claimed)
        : m_inner(std::move(bytes)), m_claimed(claimed)
    {}
    std::uint64_t GetLength() override { return m_claimed; }
    bool Seek(std::uint64_t position) override { return m_inner.Seek(position); }
    std::uint64_t GetPosition() override { return m_inner.GetPosition(); }
    std::size_t Read(std::uint8_t* destination, std::size_t count) override
    {
        return m_inner.Read(destination, count);
    }

private:
    CMemoryByteSource m_inner;
    std::uint64_t m_claimed;
};

Bytes Viewed(CByteSource& source)
{
    const CWholeSource whole(source);
    const auto span = whole.View().Slice(0, whole.View().size());
    return Bytes(span.begin(), span.end());
}

TEST(WholeSource, CopiesWhatAStreamDeliversWhateverLengthItClaims)
{
    const Bytes bytes = test::Pattern(10000);
    for (const std::uint64_t claimed : {0ULL, 1ULL, 4096ULL, 9999ULL, 10000ULL, 20000ULL, ~0ULL}) {
        CStreamedSource source(bytes, claimed);
        EXPECT_EQ(Viewed(source), bytes) << claimed;
    }
    CMemoryByteSource memory(Bytes{1, 2, 3});
    EXPECT_EQ(CWholeSource(memory).View().Slice(0, 3).data(), memory.GetContiguousBytes()->data());
}

TEST(WholeSource, CopiesAFileSource)
{
    const test::CScratchDir dir;
    const Bytes bytes = test::Pattern(5000);
    gen::WriteFile(dir / "dump.syx", bytes);
    CFileByteSource file((dir / "dump.syx").string());
    ASSERT_TRUE(file.IsOpen());
    EXPECT_EQ(file.GetLength(), bytes.size());
    EXPECT_EQ(file.GetContiguousBytes(), std::nullopt);
    std::uint8_t byte = 0;
    EXPECT_FALSE(file.Seek(~0ULL));  // beyond what a stream can seek: no read error
    ASSERT_TRUE(file.Seek(1));
    EXPECT_EQ(file.Read(&byte, 1), 1u);
    EXPECT_EQ(byte, bytes[1]);
    EXPECT_EQ(Viewed(file), bytes);
    EXPECT_FALSE(file.HasFailed());

    EXPECT_FALSE(CFileByteSource((dir / "missing.syx").string()).IsOpen());
}

}  // namespace
}  // namespace bankwise
