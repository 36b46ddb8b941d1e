// Whole-dump reading: a source already in memory is read where it lies, any
// other source is copied, and both give a parser the same bytes.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <random>
#include <string>

#include "ByteSource.h"
#include "TestSupport.h"
#include "gen/Fs1rGen.h"
#include "gen/JvXpGen.h"
#include "gen/OrbitGen.h"
#include "gen/VirusGen.h"

namespace bankwise {
namespace {

using gen::Bytes;

// A source that has to be read: it offers no memory of its own and may claim
// a length other than what it delivers, as a file that changes under its
// reader would.
class CStreamedSource final : public CByteSource
{
public:
    explicit CStreamedSource(Bytes bytes, std::optional<std::uint64_t> claimed = std::nullopt)
        : m_inner(std::move(bytes)), m_claimed(claimed)
    {}
    std::uint64_t GetLength() override { return m_claimed.value_or(m_inner.GetLength()); }
    bool Seek(std::uint64_t position) override { return m_inner.Seek(position); }
    std::uint64_t GetPosition() override { return m_inner.GetPosition(); }
    std::size_t Read(std::uint8_t* destination, std::size_t count) override
    {
        return m_inner.Read(destination, count);
    }

private:
    CMemoryByteSource m_inner;
    std::optional<std::uint64_t> m_claimed;
};

Bytes Viewed(const CWholeSource& whole)
{
    const auto span = whole.View().Slice(0, whole.View().size());
    return Bytes(span.begin(), span.end());
}

TEST(WholeSource, CopiesWhatAStreamDeliversWhateverLengthItClaims)
{
    Bytes bytes(10000);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 7);
    for (const std::uint64_t claimed : {0, 1, 4096, 9999, 10000, 10001, 20000}) {
        CStreamedSource source(bytes, claimed);
        EXPECT_EQ(Viewed(CWholeSource(source)), bytes) << claimed;
    }
    CStreamedSource empty(Bytes{});
    EXPECT_EQ(CWholeSource(empty).View().size(), 0u);
}

TEST(WholeSource, ReadsMemoryWhereItLies)
{
    CMemoryByteSource source(Bytes{1, 2, 3});
    const CWholeSource whole(source);
    EXPECT_EQ(whole.View().Slice(0, 3).data(), source.GetContiguousBytes()->data());
    EXPECT_EQ(Viewed(whole), (Bytes{1, 2, 3}));
}

// The portable file source, which reaches the readers through a copy.
TEST(WholeSource, CopiesAFileSource)
{
    const auto path = std::filesystem::temp_directory_path() /
                      ("bankwise-filesource-" + std::to_string(std::random_device{}()));
    Bytes bytes(5000);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 3);
    gen::WriteFile(path, bytes);
    {
        CFileByteSource file(path.string());
        ASSERT_TRUE(file.IsOpen());
        EXPECT_EQ(file.GetLength(), bytes.size());
        EXPECT_EQ(file.GetContiguousBytes(), std::nullopt);
        EXPECT_EQ(Viewed(CWholeSource(file)), bytes);
        EXPECT_FALSE(file.HasFailed());
    }
    std::filesystem::remove(path);

    CFileByteSource missing(path.string());
    std::uint8_t byte = 0;
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_EQ(missing.GetLength(), 0u);
    EXPECT_FALSE(missing.Seek(0));
    EXPECT_EQ(missing.Read(&byte, 1), 0u);
    EXPECT_EQ(CWholeSource(missing).View().size(), 0u);
}

// Every family's reader makes the same of a dump whether it reads it in
// place or from a copy.
TEST(WholeSource, ReadersGiveTheSameResultFromMemoryAndFromAStream)
{
    const std::vector<Bytes> messages[] = {
        {gen::MakeOrbitPreset(0, "Orbit"), gen::MakeOrbitPreset(130, "Second")},
        {gen::MakeJvXpMessage({.slot = 3, .name = "Piano"}),
         gen::MakeJvXpMessage({.area = gen::kJvAreaPerformance, .slot = 0x40, .name = "Kit"})},
        {gen::MakeFs1rEditPerformance("Edit"), gen::MakeFs1rPerformance(5, "Perf")},
        {gen::MakeVirusMessage({.bank = 2, .program = 9, .name = "Lead"}),
         gen::MakeVirusMessage({.type = gen::kVirusMulti, .program = 1, .name = "Multi"})},
    };
    for (const auto& dump : messages) {
        for (const bool midi : {false, true}) {
            const Bytes file = midi ? gen::MakeMidiFile(dump) : gen::JoinMessages(dump);
            const test::Conversion inPlace = test::Convert(file, midi);
            ASSERT_TRUE(inPlace.ok);

            CStreamedSource source(file);
            test::CCollectingSink sink;
            std::unique_ptr<CDumpExtractor> extractor;
            ASSERT_TRUE(DetectAndParse(source, midi, sink, extractor));
            std::string text;
            extractor->WriteDefinition(text);
            EXPECT_EQ(text, inPlace.text);
        }
    }
}

}  // namespace
}  // namespace bankwise
