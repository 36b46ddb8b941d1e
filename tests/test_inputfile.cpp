// The converter's input file: the first bytes come from the file, the whole
// dump is read once into memory the readers then work on in place.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "InputFile.h"
#include "TestSupport.h"

namespace bankwise {
namespace {

namespace fs = std::filesystem;
using gen::Bytes;

class InputFileTest : public ::testing::Test
{
protected:
    const test::CScratchDir m_scratch;
    const fs::path m_dir = m_scratch.path;
};

Bytes Pattern(std::size_t size)
{
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(i % 251);
    return bytes;
}

Bytes Whole(CInputFile& file)
{
    const auto span = file.GetContiguousBytes();
    return span ? Bytes(span->begin(), span->end()) : Bytes{};
}

// Sizes around the point where the memory comes from the system in huge
// pages rather than from the heap.
TEST_F(InputFileTest, ReadsHeadFromTheFileAndTheWholeOnce)
{
    for (const std::size_t size : {std::size_t{0}, std::size_t{5}, std::size_t{4096},
                                   (std::size_t{1} << 20) - 1, (std::size_t{2} << 20) + 3}) {
        SCOPED_TRACE(size);
        const Bytes bytes = Pattern(size);
        gen::WriteFile(m_dir / "dump.syx", bytes);
        CInputFile file((m_dir / "dump.syx").string());
        ASSERT_TRUE(file.IsOpen());
        EXPECT_EQ(file.GetLength(), size);

        std::uint8_t head[8] = {};
        ASSERT_TRUE(file.Seek(2));
        const std::size_t expected = size > 2 ? std::min<std::size_t>(size - 2, 8) : 0;
        EXPECT_EQ(file.Read(head, sizeof head), expected);
        EXPECT_TRUE(
            std::equal(head, head + expected, bytes.begin() + std::min<std::size_t>(2, size)));

        EXPECT_EQ(Whole(file), bytes);
        EXPECT_EQ(file.GetContiguousBytes()->data(), file.GetContiguousBytes()->data());
        ASSERT_TRUE(file.Seek(size > 3 ? size - 3 : 0));
        EXPECT_EQ(file.Read(head, sizeof head), std::min<std::size_t>(size, 3));
        EXPECT_FALSE(file.HasFailed());
        CInputFile unread((m_dir / "dump.syx").string());
        ASSERT_TRUE(unread.Seek(~std::uint64_t{0}));  // beyond any file: nothing there, no error
        EXPECT_EQ(unread.Read(head, sizeof head), 0u);
        EXPECT_FALSE(unread.HasFailed());
    }
}

// The file changes between opening and reading: all of it as it is then.
TEST_F(InputFileTest, ReadsAFileThatGrewOrShrankToItsEnd)
{
    for (const std::size_t later : {std::size_t{3}, std::size_t{100}, std::size_t{3} << 20}) {
        SCOPED_TRACE(later);
        gen::WriteFile(m_dir / "dump.syx", Pattern(10));
        CInputFile file((m_dir / "dump.syx").string());
        gen::WriteFile(m_dir / "dump.syx", Pattern(later));
        EXPECT_EQ(Whole(file), Pattern(later));
        EXPECT_EQ(file.GetLength(), later);
    }
}

TEST_F(InputFileTest, FoldersAndMissingFilesDoNotOpen)
{
    const std::pair<fs::path, int> cases[] = {{m_dir, EISDIR}, {m_dir / "missing.syx", ENOENT}};
    for (const auto& [path, error] : cases) {
        CInputFile file(path.string());
        EXPECT_FALSE(file.IsOpen());
        EXPECT_EQ(file.OpenError(), error);
        std::uint8_t byte = 0;
        EXPECT_EQ(file.Read(&byte, 1), 0u);
        EXPECT_FALSE(file.HasFailed());
    }
}

}  // namespace
}  // namespace bankwise
