// The converter's input is read once into memory the readers work on; its
// output is written over any kind of target, which keeps what it is.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>
#include <unistd.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include "InputFile.h"
#include "OutputFile.h"
#include "TestSupport.h"

namespace bankwise {
namespace {

namespace fs = std::filesystem;
using gen::Bytes;
using test::ReadText;

Bytes Whole(CInputFile& file)
{
    const auto span = file.GetContiguousBytes();
    return span ? Bytes(span->begin(), span->end()) : Bytes{};
}

// Sizes around the point where the memory comes from the system in huge
// pages rather than from the heap.
TEST(InputFile, ReadsHeadFromTheFileAndTheWholeOnce)
{
    const test::CScratchDir dir;
    const std::string path = (dir / "dump.syx").string();
    for (const std::size_t size : {std::size_t{0}, std::size_t{5}, std::size_t{4096},
                                   (std::size_t{1} << 20) - 1, (std::size_t{2} << 20) + 3}) {
        SCOPED_TRACE(size);
        const Bytes bytes = test::Pattern(size);
        gen::WriteFile(path, bytes);
        CInputFile file(path);
        ASSERT_TRUE(file.IsOpen());
        EXPECT_EQ(file.GetLength(), size);
        std::uint8_t head[8] = {};
        ASSERT_TRUE(file.Seek(2));
        const std::size_t n = file.Read(head, sizeof head);
        EXPECT_EQ(Bytes(head, head + n), Bytes(bytes.begin() + std::min<std::size_t>(2, size),
                                               bytes.begin() + std::min<std::size_t>(10, size)));
        EXPECT_EQ(Whole(file), bytes);
        EXPECT_EQ(file.GetContiguousBytes()->data(), file.GetContiguousBytes()->data());
        ASSERT_TRUE(file.Seek(size > 3 ? size - 3 : 0));
        EXPECT_EQ(file.Read(head, sizeof head), std::min<std::size_t>(size, 3));
        EXPECT_FALSE(file.HasFailed());
    }
}

// The file changes between opening and reading: all of it as it is then.
TEST(InputFile, ReadsAFileThatGrewOrShrankToItsEnd)
{
    const test::CScratchDir dir;
    const std::string path = (dir / "dump.syx").string();
    for (const std::size_t later : {std::size_t{3}, std::size_t{100}, std::size_t{3} << 20}) {
        SCOPED_TRACE(later);
        gen::WriteFile(path, test::Pattern(10));
        CInputFile file(path);
        gen::WriteFile(path, test::Pattern(later));
        EXPECT_EQ(Whole(file), test::Pattern(later));
        EXPECT_EQ(file.GetLength(), later);
    }
}

const std::string kText = "; new text\r\n";

struct stat Status(const fs::path& path)
{
    struct stat status
    {
    };
    EXPECT_EQ(stat(path.c_str(), &status), 0) << path;
    return status;
}

class OutputFileTest : public ::testing::Test
{
protected:
    void SetUp() override { fs::create_directories(m_dir / "elsewhere"); }
    // Writes kText over target: why it was refused, or "" when written.
    std::string Write(const fs::path& target)
    {
        const std::string reason = WriteOutputFile(target.string(), kText).value_or("");
        EXPECT_FALSE(test::HasTemporary(m_dir) || test::HasTemporary(m_dir / "elsewhere"));
        return reason;
    }
    static mode_t Mode(const fs::path& path) { return Status(path).st_mode & 07777; }

    const test::CScratchDir m_scratch;
    const fs::path m_dir = m_scratch.path;
    const fs::path m_old = m_dir / "old.ins";
};

// A replaced file keeps its mode and, where we may set one, its owner.
TEST_F(OutputFileTest, RegularFilesKeepModeAndOwner)
{
    const bool root = geteuid() == 0;
    for (const mode_t mode : {0644, 0600, 0444}) {
        std::ofstream(m_old) << "old";
        chmod(m_old.c_str(), mode);
        if (root) {
            EXPECT_EQ(chown(m_old.c_str(), 4321, 4322), 0);
        }
        EXPECT_EQ(Write(m_old), mode == 0444 ? "The file is read-only" : "");
        EXPECT_EQ(ReadText(m_old), mode == 0444 ? "old" : kText);
        EXPECT_EQ(Mode(m_old), mode);
        if (root) {
            EXPECT_EQ(Status(m_old).st_uid, 4321u);
        }
    }
}

// Links keep leading where they led, to the text written there.
TEST_F(OutputFileTest, LinksAreWrittenThrough)
{
    std::ofstream(m_old) << "old text, longer than the new one";
    fs::create_hard_link(m_old, m_dir / "elsewhere" / "link.ins");
    EXPECT_EQ(Write(m_old), "");
    EXPECT_EQ(ReadText(m_dir / "elsewhere" / "link.ins"), kText);
    EXPECT_EQ(Status(m_old).st_nlink, 2u);

    const fs::path real = m_dir / "elsewhere" / "real.ins", soft = m_dir / "soft.ins";
    std::ofstream(real) << "old";
    chmod(real.c_str(), 0640);
    fs::create_symlink("elsewhere/real.ins", soft);
    fs::create_symlink("elsewhere/new.ins", m_dir / "dangling.ins");
    EXPECT_EQ(Write(soft), "");
    EXPECT_EQ(Write(m_dir / "dangling.ins"), "");
    EXPECT_EQ(fs::read_symlink(soft), "elsewhere/real.ins");
    EXPECT_EQ(ReadText(real), kText);
    EXPECT_EQ(Mode(real), 0640u);
    EXPECT_TRUE(fs::is_symlink(m_dir / "dangling.ins"));
    EXPECT_EQ(ReadText(m_dir / "elsewhere" / "new.ins"), kText);
}

// A device or FIFO is written to and stays what it is; a folder is refused.
TEST_F(OutputFileTest, DevicesFifosAndFolders)
{
    // A device node of our own where the system allows one.
    const bool own = geteuid() == 0 && mknod(m_old.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    const fs::path device = own ? m_old : fs::path("/dev/null");
    EXPECT_EQ(Write(device), "");
    EXPECT_TRUE(fs::is_character_file(device));

    const fs::path fifo = m_dir / "fifo.ins";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::string fromFifo;
    std::thread reader([&] { fromFifo = ReadText(fifo); });
    EXPECT_EQ(Write(fifo), "");
    reader.join();
    EXPECT_EQ(fromFifo, kText);
    EXPECT_TRUE(fs::is_fifo(fifo));

    fs::create_directory(m_dir / "folder");
    EXPECT_EQ(Write(m_dir / "folder"), "Is a directory");
    EXPECT_TRUE(fs::is_empty(m_dir / "folder"));
}

}  // namespace
}  // namespace bankwise
