// Writing an output over whatever the user named: every kind of target
// keeps what it is, and a replaced file keeps its mode, owner and links.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "OutputFile.h"
#include "TestSupport.h"

namespace bankwise {
namespace {

namespace fs = std::filesystem;
using test::ReadText;

const std::string kText = "; new text\r\n";

void WriteText(const fs::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

struct stat Status(const fs::path& path)
{
    struct stat status
    {
    };
    EXPECT_EQ(stat(path.c_str(), &status), 0) << path;
    return status;
}

TEST(OutputFile, EachKindOfTargetKeepsWhatItIs)
{
    const test::CScratchDir scratch;
    const fs::path& dir = scratch.path;
    const bool root = geteuid() == 0;
    const fs::path old = dir / "old.ins";
    struct Case
    {
        const char* name;
        std::function<fs::path()> make;  // the target to name
        std::string reason;              // empty: written
        std::function<void(const fs::path&)> check;
    };
    const auto regular = [&](mode_t mode) {
        return [&, mode] {
            WriteText(old, "old");
            chmod(old.c_str(), mode);
            if (root) {
                EXPECT_EQ(chown(old.c_str(), 4321, 4322), 0);
            }
            return old;
        };
    };
    const auto replaced = [&](mode_t mode) {
        return [&, mode](const fs::path& target) {
            EXPECT_EQ(ReadText(target), kText);
            EXPECT_EQ(Status(target).st_mode & 07777, mode);
            if (root) {
                EXPECT_EQ(Status(target).st_uid, 4321u);
            }
        };
    };
    std::string fromFifo;
    std::thread reader;
    const std::vector<Case> cases{
        {"regular", regular(0644), "", replaced(0644)},
        {"private", regular(0600), "", replaced(0600)},
        {"read-only", regular(0444), "The file is read-only",
         [&](const fs::path& target) { EXPECT_EQ(ReadText(target), "old"); }},
        {"hard-linked",
         [&] {
             WriteText(old, "old text, longer than the new one");
             fs::create_hard_link(old, dir / "elsewhere" / "link.ins");
             return old;
         },
         "",
         [&](const fs::path& target) {
             EXPECT_EQ(ReadText(dir / "elsewhere" / "link.ins"), kText);
             EXPECT_EQ(Status(target).st_nlink, 2u);
         }},
        {"symbolic link",
         [&] {
             WriteText(dir / "elsewhere" / "real.ins", "old");
             chmod((dir / "elsewhere" / "real.ins").c_str(), 0640);
             fs::create_symlink("elsewhere/real.ins", old);
             return old;
         },
         "",
         [&](const fs::path& target) {
             EXPECT_EQ(fs::read_symlink(target), "elsewhere/real.ins");
             EXPECT_EQ(ReadText(dir / "elsewhere" / "real.ins"), kText);
             EXPECT_EQ(Status(target).st_mode & 07777, 0640u);
         }},
        {"dangling link",
         [&] {
             fs::create_symlink("elsewhere/new.ins", old);
             return old;
         },
         "",
         [&](const fs::path& target) {
             EXPECT_TRUE(fs::is_symlink(target));
             EXPECT_EQ(ReadText(dir / "elsewhere" / "new.ins"), kText);
         }},
        {"character device",
         [&] {
             // A device node of our own where the system allows one.
             if (root && mknod(old.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0)
                 return old;
             return fs::path("/dev/null");
         },
         "", [&](const fs::path& target) { EXPECT_TRUE(fs::is_character_file(target)); }},
        {"FIFO with a reader",
         [&] {
             EXPECT_EQ(mkfifo(old.c_str(), 0600), 0);
             reader = std::thread([&] { fromFifo = ReadText(old); });
             return old;
         },
         "",
         [&](const fs::path& target) {
             reader.join();
             EXPECT_EQ(fromFifo, kText);
             EXPECT_TRUE(fs::is_fifo(target));
         }},
        {"folder",
         [&] {
             fs::create_directory(old);
             return old;
         },
         "Is a directory", [&](const fs::path& target) { EXPECT_TRUE(fs::is_empty(target)); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(dir);
        fs::create_directories(dir / "elsewhere");
        const fs::path target = c.make();
        EXPECT_EQ(WriteOutputFile(target.string(), kText).value_or(""), c.reason);
        c.check(target);
        EXPECT_FALSE(test::HasTemporary(dir) || test::HasTemporary(dir / "elsewhere"));
    }
}

}  // namespace
}  // namespace bankwise
