// Whole-dump reading: a source already in memory is read where it lies, any
// other source is copied, whatever length it claims.
#include <gtest/gtest.h>

#include <optional>

#include "ByteSource.h"
#include "TestSupport.h"

namespace bankwise {
namespace {

using test::Bytes;

// A source that has to be read: it offers no memory of its own and may claim
// a length other than what it delivers, as a file that changes under its
// reader would.
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

Bytes Pattern(std::size_t size)
{
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 7);
    return bytes;
}

TEST(WholeSource, CopiesWhatAStreamDeliversWhateverLengthItClaims)
{
    const Bytes bytes = Pattern(10000);
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
    const Bytes bytes = Pattern(5000);
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

    CFileByteSource missing((dir / "missing.syx").string());
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_EQ(missing.GetLength(), 0u);
    EXPECT_FALSE(missing.Seek(0));
    EXPECT_EQ(missing.Read(&byte, 1), 0u);
    EXPECT_EQ(Viewed(missing), Bytes{});
    EXPECT_FALSE(missing.HasFailed());
}

}  // namespace
}  // namespace bankwise
