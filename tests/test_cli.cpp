// bankwise-convert, run in process over dumps in a scratch folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#if defined(__unix__) || defined(__APPLE__)
#include <csignal>
#include <sys/resource.h>
#endif

#include "Converter.h"
#include "Profile.h"
#include "TestSupport.h"
#include "gen/JvXpGen.h"
#include "gen/OrbitGen.h"

namespace bankwise {
namespace {

namespace fs = std::filesystem;
using test::Lines;

constexpr const char* kOrbit = "E-MU Orbit/Phatt/Caranaval";

const std::string kOrbitText = Lines({
    "; Cakewalk Instrument Definition File for E-MU Orbit/Phatt/Caranaval",
    "",
    ".Patch Names",
    "",
    "[Orbit Bank 0]",
    "0=First",
    "1=Second",
    "",
    ".Instrument Definitions",
    "",
    "[E-MU Orbit/Phatt/Caranaval]",
    "Patch[0]=Orbit Bank 0",
});

const std::vector<gen::Bytes> kOrbitPresets{gen::MakeOrbitPreset(0, "First"),
                                            gen::MakeOrbitPreset(1, "Second")};

struct RunResult {
    int code = -1;
    std::string out;
    std::string err;
};

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// line with the line ends before and after it, so only a whole line matches.
std::string WholeLine(const std::string& line)
{
    std::string text = "\r\n";
    text += line;
    text += "\r\n";
    return text;
}

std::vector<std::string> Listing(const fs::path& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = fs::temp_directory_path() / (std::string("bankwise-cli-") + info->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_orbit = Dump("orbit.syx", gen::JoinMessages(kOrbitPresets));
        m_jv = Dump("jv.syx", gen::MakeJvXpMessage({.slot = 0, .name = "Piano"}));
        // A good preset followed by one that breaks off after its header.
        m_bad = Dump("bad.syx", gen::Concat({kOrbitPresets[0], {0xF0, 0x18, 0x0A, 0x00, 0x01}}));
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }

    std::string Dump(const std::string& name, const gen::Bytes& bytes)
    {
        const fs::path path = m_dir / name;
        fs::create_directories(path.parent_path());
        gen::WriteFile(path, bytes);
        return path.string();
    }
    std::string Path(const std::string& name) const { return (m_dir / name).string(); }

    RunResult Run(const std::vector<std::string>& args) { return Run(args, m_stored); }
    static RunResult Run(const std::vector<std::string>& args, IProfile& stored)
    {
        std::ostringstream out;
        std::ostringstream err;
        RunResult result;
        result.code = RunConverter(args, out, err, stored);
        result.out = out.str();
        result.err = err.str();
        return result;
    }

    fs::path m_dir;
    CMemoryProfile m_stored;
    std::string m_orbit, m_jv, m_bad;
};

TEST_F(CliTest, OneDumpGoesToStandardOutputOrFailsWithItsMessage)
{
    const gen::Bytes midi = gen::MakeMidiFile(kOrbitPresets);
    fs::create_directories(m_dir / "folder.syx");
    struct Case {
        std::string file;
        std::string message;  // empty: converts to kOrbitText
    };
    const std::vector<Case> cases{
        {m_orbit, ""},
        {Dump("upper.MiD", midi), ""},
        {Dump("midi-named.syx", midi), "Unknown file format!"},
        {Dump("raw-named.mid", gen::JoinMessages(kOrbitPresets)), "Unknown file format!"},
        {Dump("unknown.syx", {0xF0, 0x7E, 0x00, 0x06, 0x01, 0xF7}), "File contains unknown data!"},
        {Dump("short.syx", {0xF0, 0x18, 0x0A}), "File is too short to hold a dump!"},
        {m_bad, "File contains invalid data!"},
        {Path("missing.syx"), "Cannot open the file: No such file or directory"},
        {Path("folder.syx"), "Cannot open the file: Is a directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const RunResult r = Run({c.file});
        if (c.message.empty()) {
            EXPECT_EQ(r.code, kExitOk);
            EXPECT_EQ(r.out, kOrbitText);
            EXPECT_EQ(r.err, "");
        } else {
            EXPECT_EQ(r.code, kExitFailed);
            EXPECT_EQ(r.out, "");
            EXPECT_EQ(r.err, c.file + ": " + c.message + "\n");
        }
    }
}

TEST_F(CliTest, WritesOneFileOrOneFilePerDump)
{
    const fs::path single = m_dir / "single.ins";
    gen::WriteFile(single, {'o', 'l', 'd'});
    RunResult r = Run({"-o", single.string(), m_orbit});
    EXPECT_EQ(r.code, kExitOk);
    EXPECT_EQ(r.out + r.err, "");
    EXPECT_EQ(ReadText(single), kOrbitText);

    const fs::path out = m_dir / "out";
    fs::create_directory(out);
    r = Run({m_orbit, "--output-dir", out.string(), m_jv});
    EXPECT_EQ(r.code, kExitOk);
    EXPECT_EQ(r.out + r.err, "");
    EXPECT_EQ(Listing(out), (std::vector<std::string>{"jv.ins", "orbit.ins"}));
    EXPECT_EQ(ReadText(out / "orbit.ins"), kOrbitText);
    EXPECT_NE(ReadText(out / "jv.ins").find("\r\n0=USER:001 Piano\r\n"), std::string::npos);
}

TEST_F(CliTest, ABrokenDumpFailsAloneAndTheRunReportsIt)
{
    const fs::path out = m_dir / "out";
    fs::create_directory(out);
    const RunResult r = Run({"-d", out.string(), m_orbit, m_bad, Path("missing.syx"), m_jv});
    EXPECT_EQ(r.code, kExitFailed);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, m_bad + ": File contains invalid data!\n" + Path("missing.syx")
                         + ": Cannot open the file: No such file or directory\n");
    EXPECT_EQ(Listing(out), (std::vector<std::string>{"jv.ins", "orbit.ins"}));
    EXPECT_EQ(ReadText(out / "orbit.ins"), kOrbitText);
}

TEST_F(CliTest, NoOutputIsWrittenOverAnotherOfTheSameRun)
{
    const std::string second = Dump("b/orbit.syx", gen::MakeJvXpMessage({.name = "Other"}));
    const std::string third = Dump("orbit.mid", gen::MakeMidiFile(kOrbitPresets));
    const fs::path out = m_dir / "out";
    fs::create_directory(out);
    const std::string target = (out / "orbit.ins").string();
    RunResult r = Run({"-d", out.string(), m_orbit, second, third});
    EXPECT_EQ(r.code, kExitFailed);
    EXPECT_EQ(r.err, second + ": Skipped: " + target + " was already written by this run!\n"
                         + third + ": Skipped: " + target + " was already written by this run!\n");
    EXPECT_EQ(ReadText(target), kOrbitText);

    // Nor over a dump being converted.
    const std::string before = ReadText(m_orbit);
    r = Run({"-o", m_orbit, m_orbit});
    EXPECT_EQ(r.code, kExitFailed);
    EXPECT_EQ(r.err, m_orbit + ": Skipped: " + m_orbit + " is one of the dumps being converted!\n");
    EXPECT_EQ(ReadText(m_orbit), before);
}

TEST_F(CliTest, OverridesApplyOverStoredOrDefaultSettings)
{
    m_stored.WriteProfileString(kOrbit, "Definition", "Stored Orbit");
    m_stored.WriteProfileString(kOrbit, "BankFormat", "Stored %d");
    struct Case {
        std::vector<std::string> options;
        std::string dump;
        std::vector<std::string> expected;  // lines of the output
    };
    const std::vector<Case> cases{
        {{}, m_orbit, {"[Stored 0]", "0=First", "[Stored Orbit]", "Patch[0]=Stored 0"}},
        {{"--bank-format", "Bank %d"}, m_orbit, {"[Bank 0]", "[Stored Orbit]"}},
        {{"--definition=Mine", "--instr-format", "P%03d "}, m_orbit,
         {"[Stored 0]", "1=P001 Second", "[Mine]"}},
        {{"--no-settings"}, m_orbit, {"[Orbit Bank 0]", "[E-MU Orbit/Phatt/Caranaval]"}},
        {{"--no-settings", "--bank-format", "B%d"}, m_orbit,
         {"[B0]", "[E-MU Orbit/Phatt/Caranaval]"}},
        // An override that is present but empty empties the pattern.
        {{}, m_jv, {"0=USER:001 Piano"}},
        {{"--instr-format", ""}, m_jv, {"0=Piano"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.options;
        args.push_back(c.dump);
        const RunResult r = Run(args);
        SCOPED_TRACE(::testing::PrintToString(args));
        EXPECT_EQ(r.code, kExitOk) << r.err;
        for (const std::string& line : c.expected)
            EXPECT_NE(r.out.find(WholeLine(line)), std::string::npos) << line << "\n" << r.out;
    }
    EXPECT_EQ(m_stored.GetProfileString(kOrbit, "BankFormat", ""), "Stored %d");
}

TEST_F(CliTest, UsageErrorsHelpAndVersion)
{
    const std::string out = Path("out.ins");
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{}, "no dump given"},
        {{"--bogus", m_orbit}, "unknown option --bogus"},
        {{m_orbit, "-o"}, "option -o needs an argument"},
        {{m_orbit, "--definition"}, "option --definition needs an argument"},
        {{m_orbit, m_jv}, "several dumps need -d DIR"},
        {{"-o", out, m_orbit, m_jv}, "several dumps need -d DIR"},
        {{"-o", out, "-d", Path(""), m_orbit}, "-o and -d cannot be used together"},
    };
    for (const auto& [args, problem] : cases) {
        SCOPED_TRACE(::testing::PrintToString(args));
        const RunResult r = Run(args);
        EXPECT_EQ(r.code, kExitUsage);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "bankwise-convert: " + problem
                             + "\nusage: bankwise-convert [-o FILE | -d DIR] [OPTIONS] DUMP..."
                               " (--help)\n");
    }
    EXPECT_FALSE(fs::exists(out));

    RunResult r = Run({"--help", "--bogus"});
    EXPECT_EQ(r.code, kExitOk);
    EXPECT_TRUE(r.out.starts_with("usage: bankwise-convert")) << r.out;
    r = Run({"--version"});
    EXPECT_EQ(r.code, kExitOk);
    EXPECT_TRUE(std::regex_match(r.out, std::regex("bankwise-convert [0-9]+\\.[0-9]+\\.[0-9]+\n")))
        << r.out;
}

// A failed write leaves the target as it was and no partial file behind.
TEST_F(CliTest, FailedWritesLeaveNoPartialFile)
{
    // The target is a folder: the text is written but cannot replace it.
    const fs::path folder = m_dir / "taken.ins";
    fs::create_directory(folder);
    RunResult r = Run({"-o", folder.string(), m_orbit});
    EXPECT_EQ(r.code, kExitFailed);
    EXPECT_TRUE(r.err.starts_with(m_orbit + ": Cannot write " + folder.string() + ": ")) << r.err;
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_TRUE(fs::is_empty(folder));

    // The output folder does not exist.
    r = Run({"-d", Path("nowhere"), m_orbit});
    EXPECT_EQ(r.code, kExitFailed);
    EXPECT_EQ(r.err, m_orbit + ": Cannot write " + (m_dir / "nowhere" / "orbit.ins").string()
                         + ": No such file or directory\n");

    const std::vector<std::string> before = Listing(m_dir);
    const fs::path target = m_dir / "existing.ins";
    gen::WriteFile(target, {'o', 'l', 'd'});

#if defined(__unix__) || defined(__APPLE__)
    {
        // The file system refuses the text half way: writes beyond 16 bytes fail.
        rlimit saved{};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
        rlimit small = saved;
        small.rlim_cur = 16;
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        r = Run({"-o", target.string(), m_orbit});
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previous);
        EXPECT_EQ(r.code, kExitFailed);
        EXPECT_TRUE(r.err.starts_with(m_orbit + ": Cannot write " + target.string() + ": "))
            << r.err;
        EXPECT_EQ(ReadText(target), "old");
    }
#endif

    std::vector<std::string> after = Listing(m_dir);
    after.erase(std::remove(after.begin(), after.end(), "existing.ins"), after.end());
    EXPECT_EQ(after, before);
}

}  // namespace
}  // namespace bankwise
