// bankwise-convert, run in process over dumps in a scratch folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>

#if defined(__unix__) || defined(__APPLE__)
#include <csignal>
#include <sys/resource.h>
#endif

#include "Converter.h"
#include "TestSupport.h"

namespace bankwise {
namespace {

namespace fs = std::filesystem;
using test::ReadText;
using test::Strings;

const fs::path kExamples = BANKWISE_EXAMPLES_DIR;
const std::string kOrbitText = ReadText(kExamples / "emu-orbit.ins");

gen::Bytes Example(const char* name)
{
    const std::string bytes = ReadText(kExamples / name);
    return gen::Bytes(bytes.begin(), bytes.end());
}

std::set<std::string> Listing(const fs::path& dir)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.insert(entry.path().filename().string());
    return names;
}

class CliTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fs::create_directories(m_dir.path / "out");
        m_orbit = Dump("orbit.syx", Example("emu-orbit.syx"));
        m_jv = Dump("jv.syx", Example("roland-jvxp.syx"));
    }
    std::string Path(const std::string& name) const { return (m_dir / name).string(); }
    std::string Dump(const std::string& name, const gen::Bytes& bytes)
    {
        fs::create_directories((m_dir.path / name).parent_path());
        gen::WriteFile(m_dir.path / name, bytes);
        return Path(name);
    }
    int Run(const Strings& args)
    {
        std::ostringstream out, err;
        const int code = RunConverter(args, out, err, m_stored);
        m_out = out.str();
        m_err = err.str();
        return code;
    }

    const test::CScratchDir m_dir;
    CMemoryProfile m_stored;
    std::string m_orbit, m_jv, m_out, m_err;
};

// Each dump of a run converts or fails with its own message, and no output is
// written over another of the same run; the others are written.
TEST_F(CliTest, EachDumpConvertsOrFailsAlone)
{
    const gen::Bytes midi = Example("emu-orbit.mid");
    fs::create_directory(m_dir / "folder.syx");
    const std::string taken =
        "Skipped: " + (m_dir / "out" / "orbit.ins").string() + " was already written by this run!";
    const std::vector<std::pair<std::string, std::string>> dumps{
        // empty message: converts
        {m_orbit, ""},
        {Dump("upper.MiD", midi), ""},
        {Dump("short.syx", {0xF0, 0x18, 0x0A}), "File is too short to hold a dump!"},
        {Dump("bad.syx", test::Cut(Example("emu-orbit.syx"), 300)), "File contains invalid data!"},
        {Path("missing.syx"), "Cannot open the file: No such file or directory"},
        {Path("folder.syx"), "Cannot open the file: Is a directory"},
        {m_jv, ""},
        {Dump("b/orbit.syx", Example("roland-jvxp.syx")), taken},
        {Dump("orbit.mid", midi), taken},
    };
    Strings args{"--output-dir", Path("out")};
    std::string errors;
    for (const auto& [dump, message] : dumps) {
        args.push_back(dump);
        errors += message.empty() ? "" : dump + ": " + message + "\n";
    }
    EXPECT_EQ(Run(args), kExitFailed);
    EXPECT_EQ(m_out, "");
    EXPECT_EQ(m_err, errors);
    EXPECT_EQ(Listing(m_dir / "out"), (std::set<std::string>{"jv.ins", "orbit.ins", "upper.ins"}));
    EXPECT_EQ(ReadText(m_dir / "out" / "orbit.ins"), kOrbitText);
    EXPECT_EQ(ReadText(m_dir / "out" / "upper.ins"), kOrbitText);
    EXPECT_EQ(ReadText(m_dir / "out" / "jv.ins"), ReadText(kExamples / "roland-jvxp.ins"));
}

// An output never replaces a dump of the run or an earlier output, whatever
// name reaches it: another spelling, a hard or symbolic link (also one that
// leads nowhere yet), or the name of a dump that could not be read.
TEST_F(CliTest, NoOutputReplacesADumpOrEarlierOutputUnderAnotherName)
{
    const std::string dump = ReadText(m_orbit);
    fs::create_directory(m_dir / "sub");
    fs::create_hard_link(m_orbit, m_dir / "hard.syx");
#if defined(__unix__) || defined(__APPLE__)
    // Windows lets only administrators make symbolic links.
    fs::create_symlink("orbit.syx", m_dir / "soft.syx");
    fs::create_symlink("jv.ins", m_dir / "out" / "orbit.ins");
    fs::create_directory(m_dir / "out2");
    fs::create_symlink("../out/jv.ins", m_dir / "out2" / "jv.ins");
#endif
    const auto isInput = [](const std::string& target) {
        return "Skipped: " + target + " is one of the dumps being converted!";
    };
    const std::string respelt = Path("sub/../orbit.syx");
    const std::string unread = Path("out/./jv.ins");
    const std::string earlier = (m_dir / "out" / "orbit.ins").string();
    std::vector<std::pair<Strings, std::string>> cases{
        // arguments, what stderr shows
        {{"-o", respelt, m_orbit}, m_orbit + ": " + isInput(respelt)},
        {{"-o", Path("hard.syx"), m_orbit}, m_orbit + ": " + isInput(Path("hard.syx"))},
    };
#if defined(__unix__) || defined(__APPLE__)
    cases.insert(
        cases.end(),
        {
            {{"-o", Path("soft.syx"), m_orbit}, m_orbit + ": " + isInput(Path("soft.syx"))},
            {{"-d", Path("out"), unread, m_jv},
             unread + ": Cannot open the file: No such file or directory\n" + m_jv + ": " +
                 isInput((m_dir / "out" / "jv.ins").string())},
            // Written through, the link would make the dump that could not be read.
            {{"-d", Path("out2"), unread, m_jv},
             unread + ": Cannot open the file: No such file or directory\n" + m_jv + ": " +
                 isInput((m_dir / "out2" / "jv.ins").string())},
            {{"-d", Path("out"), Path("jv.syx"), m_orbit},
             m_orbit + ": Skipped: " + earlier + " was already written by this run!"},
        });
#else
    cases.push_back({{"-d", Path("out"), m_orbit, respelt},
                     respelt + ": Skipped: " + earlier + " was already written by this run!"});
#endif
    for (const auto& [args, message] : cases) {
        SCOPED_TRACE(::testing::PrintToString(args));
        EXPECT_EQ(Run(args), kExitFailed);
        EXPECT_EQ(m_err, message + "\n");
        EXPECT_EQ(ReadText(m_orbit), dump);
    }
#if defined(__unix__) || defined(__APPLE__)
    EXPECT_TRUE(fs::is_symlink(m_dir / "out" / "orbit.ins"));
#endif
}

TEST_F(CliTest, OverridesApplyOverStoredOrDefaultSettings)
{
    constexpr const char* kOrbit = "E-MU Orbit/Phatt/Caranaval";
    m_stored.WriteProfileString(kOrbit, "Definition", "Stored Orbit");
    m_stored.WriteProfileString(kOrbit, "BankFormat", "Stored %d");
    const std::vector<std::pair<Strings, Strings>> cases{
        // arguments, lines of the output
        {{"--bank-format", "Bank %d", m_orbit}, {"[Bank 0]", "[Stored Orbit]"}},
        {{"--definition=Mine", "--instr-format", "P%03d ", m_orbit},
         {"[Stored 0]", "1=P001 Dust Drums", "[Mine]", "Patch[0]=Stored 0"}},
        {{"--no-settings", "--bank-format", "B%d", m_orbit},
         {"[B0]", "[E-MU Orbit/Phatt/Caranaval]"}},
    };
    for (const auto& [args, lines] : cases) {
        SCOPED_TRACE(::testing::PrintToString(args));
        EXPECT_EQ(Run(args), kExitOk) << m_err;
        for (const std::string& line : lines)
            EXPECT_NE(m_out.find("\r\n" + line + "\r\n"), std::string::npos) << line << m_out;
    }
    EXPECT_EQ(m_stored.GetProfileString(kOrbit, "BankFormat", ""), "Stored %d");
}

TEST_F(CliTest, UsageErrorsExitTwoAndWriteNothing)
{
    const std::string out = Path("out.ins");
    const std::vector<std::pair<Strings, std::string>> cases{
        {{}, "no dump given"},
        {{"--bogus", m_orbit}, "unknown option --bogus"},
        {{m_orbit, "--definition"}, "option --definition needs an argument"},
        {{m_orbit, m_jv}, "several dumps need -d DIR"},
        {{"-o", out, "-d", Path(""), m_orbit}, "-o and -d cannot be used together"},
        {{"--format", "xml", "-o", out, m_orbit},
         "unknown format xml (ins, midnam, reabank, cubase, rgd or idf)"},
    };
    for (const auto& [args, problem] : cases) {
        EXPECT_EQ(Run(args), kExitUsage) << problem;
        EXPECT_EQ(m_out + m_err, "bankwise-convert: " + problem +
                                     "\nusage: bankwise-convert"
                                     " [-o FILE | -d DIR] [OPTIONS] DUMP... (--help)\n");
    }
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(Run({"--help", "--bogus"}), kExitOk);  // help wins over a bad option
    EXPECT_TRUE(m_out.starts_with("usage: bankwise-convert")) << m_out;
}

// With -v each dump says what it held, in its family's words (or, for a
// family without words of its own, in banks and names).
TEST_F(CliTest, VerboseSaysWhatEachDumpHeld)
{
    const std::vector<std::pair<const char*, const char*>> cases{
        {"emu-orbit.syx", "E-MU Orbit/Phatt/Caranaval: 6 presets"},
        {"roland-jvxp.mid", "Roland JV/XP: 3 patches, 2 performances, 1 rhythm set"},
        {"korg-trrack.syx", "Korg TR-Rack: 64 programs"},
        {"yamaha-fs1r.syx", "Yamaha FS1R: 1 bank, 4 names"},
        {"access-virus.syx", "access Virus: 5 singles, 2 multis"},
    };
    for (const auto& [example, contents] : cases) {
        const std::string dump = (kExamples / example).string();
        EXPECT_EQ(Run({"-v", "-d", Path("out"), dump}), kExitOk);
        EXPECT_EQ(m_err, dump + ": " + contents + "\n");
    }
}

// Only -d gives the format's own extension.
TEST_F(CliTest, FormatsChooseTheTextAndTheExtension)
{
    for (const auto& [format, extension] :
         {std::pair("MIDNAM", ".midnam"), std::pair("cubase", ".txt"), std::pair("Rgd", ".rgd"),
          std::pair("idf", ".idf")}) {
        fs::remove_all(m_dir / "out");
        fs::create_directory(m_dir / "out");
        EXPECT_EQ(Run({"-d", Path("out"), "--format", format, m_orbit, m_jv}), kExitOk);
        EXPECT_EQ(m_out + m_err, "");
        EXPECT_EQ(Listing(m_dir / "out"),
                  (std::set<std::string>{std::string("jv") + extension,
                                         std::string("orbit") + extension}));
    }
    EXPECT_EQ(Run({"-o", Path("out/orbit.midnam"), "--format", "reabank", m_orbit}), kExitOk);
    EXPECT_TRUE(ReadText(m_dir / "out" / "orbit.midnam").starts_with("// E-MU")) << m_err;
}

// A refused or failed write leaves the target as it was and no partial or
// temporary file behind; a good one replaces it.
TEST_F(CliTest, OnlyACompleteTextReplacesTheOutputFile)
{
    const auto before = Listing(m_dir.path);
    const std::string cannot = m_orbit + ": Cannot write ";
    EXPECT_EQ(Run({"-d", Path("nowhere"), m_orbit}), kExitFailed);
    EXPECT_EQ(m_err, cannot + (m_dir / "nowhere" / "orbit.ins").string() +
                         ": No such file or directory\n");

    const std::string target = Dump("orbit.ins", {'o', 'l', 'd'});
#if defined(__unix__) || defined(__APPLE__)
    // The file system refuses the text half way: writes beyond 16 bytes fail.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 16;
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int code = Run({"-o", target, m_orbit});
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(code, kExitFailed);
    EXPECT_TRUE(m_err.starts_with(cannot + target + ": ")) << m_err;
    EXPECT_EQ(ReadText(target), "old");
#endif
    EXPECT_EQ(Run({"-o", target, m_orbit}), kExitOk);
    EXPECT_EQ(m_out + m_err, "");
    EXPECT_EQ(ReadText(target), kOrbitText);
    fs::remove(target);
    EXPECT_EQ(Listing(m_dir.path), before);
}

}  // namespace
}  // namespace bankwise
