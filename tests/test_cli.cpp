// bankwise-convert, run in process over dumps in a scratch folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#if defined(__unix__) || defined(__APPLE__)
#include <csignal>
#include <sys/resource.h>
#endif

#include "Converter.h"
#include "TestSupport.h"
#include "gen/Fs1rGen.h"
#include "gen/JvXpGen.h"
#include "gen/KorgGen.h"
#include "gen/OrbitGen.h"
#include "gen/VirusGen.h"

namespace bankwise {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

const std::string kOrbitText = test::Lines(
    {"; Cakewalk Instrument Definition File for E-MU Orbit/Phatt/Caranaval", "", ".Patch Names", "",
     "[Orbit Bank 0]", "0=First", "1=Second", "", ".Instrument Definitions", "",
     "[E-MU Orbit/Phatt/Caranaval]", "Patch[0]=Orbit Bank 0"});
const std::vector<gen::Bytes> kOrbitPresets{gen::MakeOrbitPreset(0, "First"),
                                            gen::MakeOrbitPreset(1, "Second")};

std::string ReadText(const fs::path& path)
{
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

bool HasLine(const std::string& text, const std::string& line)
{
    return text.find("\r\n" + line + "\r\n") != std::string::npos;
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
        fs::remove_all(m_dir);
        fs::create_directories(m_dir / "out");
        m_orbit = Dump("orbit.syx", gen::JoinMessages(kOrbitPresets));
        m_jv = Dump("jv.syx", gen::MakeJvXpMessage({.slot = 0, .name = "Piano"}));
    }
    void TearDown() override { fs::remove_all(m_dir, m_ec); }
    std::string Path(const std::string& name) const { return (m_dir / name).string(); }
    std::string Dump(const std::string& name, const gen::Bytes& bytes)
    {
        fs::create_directories((m_dir / name).parent_path());
        gen::WriteFile(m_dir / name, bytes);
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

    const fs::path m_dir =
        fs::temp_directory_path() /
        ("bankwise-cli-" +
         std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::error_code m_ec;
    CMemoryProfile m_stored;
    std::string m_orbit, m_jv, m_out, m_err;
};

// Each dump of a run converts or fails with its own message, and no output is
// written over another of the same run; the others are written.
TEST_F(CliTest, EachDumpConvertsOrFailsAlone)
{
    const gen::Bytes raw = gen::JoinMessages(kOrbitPresets);
    const gen::Bytes midi = gen::MakeMidiFile(kOrbitPresets);
    fs::create_directory(m_dir / "folder.syx");
    const std::string taken =
        "Skipped: " + (m_dir / "out" / "orbit.ins").string() + " was already written by this run!";
    const std::vector<std::pair<std::string, std::string>> dumps{
        // empty message: converts
        {m_orbit, ""},
        {Dump("upper.MiD", midi), ""},
        {Dump("midi-named.syx", midi), "Unknown file format!"},
        {Dump("raw-named.mid", raw), "Unknown file format!"},
        {Dump("unknown.syx", {0xF0, 0x7E, 0x00, 0x06, 0x01, 0xF7}), "File contains unknown data!"},
        {Dump("short.syx", {0xF0, 0x18, 0x0A}), "File is too short to hold a dump!"},
        // A good preset followed by one that breaks off after its header.
        {Dump("bad.syx", gen::Concat({kOrbitPresets[0], {0xF0, 0x18, 0x0A, 0x00, 0x01}})),
         "File contains invalid data!"},
        {Path("missing.syx"), "Cannot open the file: No such file or directory"},
        {Path("folder.syx"), "Cannot open the file: Is a directory"},
        {m_jv, ""},
        {Dump("b/orbit.syx", gen::MakeJvXpMessage({.name = "Other"})), taken},
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
    EXPECT_TRUE(HasLine(ReadText(m_dir / "out" / "jv.ins"), "0=USER:001 Piano"));
}

// An output never replaces a dump of the run or an earlier output, whatever
// name reaches it: another spelling, a hard or symbolic link (also one that
// leads nowhere yet), or the name of a dump that could not be read.
TEST_F(CliTest, NoOutputReplacesADumpOrEarlierOutputUnderAnotherName)
{
    const std::string dump = ReadText(m_orbit);
    fs::create_directory(m_dir / "sub");
    fs::create_hard_link(m_orbit, m_dir / "hard.syx");
    fs::create_symlink("orbit.syx", m_dir / "soft.syx");
    fs::create_symlink("jv.ins", m_dir / "out" / "orbit.ins");
    fs::create_directory(m_dir / "out2");
    fs::create_symlink("../out/jv.ins", m_dir / "out2" / "jv.ins");
    const auto isInput = [](const std::string& target) {
        return "Skipped: " + target + " is one of the dumps being converted!";
    };
    const std::string respelt = Path("sub/../orbit.syx");
    const std::string unread = Path("out/./jv.ins");
    const std::string earlier = (m_dir / "out" / "orbit.ins").string();
    const std::vector<std::pair<Strings, std::string>> cases{
        // arguments, what stderr shows
        {{"-o", respelt, m_orbit}, m_orbit + ": " + isInput(respelt)},
        {{"-o", Path("hard.syx"), m_orbit}, m_orbit + ": " + isInput(Path("hard.syx"))},
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
    };
    for (const auto& [args, message] : cases) {
        SCOPED_TRACE(::testing::PrintToString(args));
        EXPECT_EQ(Run(args), kExitFailed);
        EXPECT_EQ(m_err, message + "\n");
        EXPECT_EQ(ReadText(m_orbit), dump);
    }
    EXPECT_TRUE(fs::is_symlink(m_dir / "out" / "orbit.ins"));
}

TEST_F(CliTest, OverridesApplyOverStoredOrDefaultSettings)
{
    constexpr const char* kOrbit = "E-MU Orbit/Phatt/Caranaval";
    m_stored.WriteProfileString(kOrbit, "Definition", "Stored Orbit");
    m_stored.WriteProfileString(kOrbit, "BankFormat", "Stored %d");
    // One dump goes to standard output byte for byte; nothing stored is read.
    EXPECT_EQ(Run({"--no-settings", m_orbit}), kExitOk);
    EXPECT_EQ(m_out, kOrbitText);
    EXPECT_EQ(m_err, "");
    const std::vector<std::pair<Strings, Strings>> cases{
        // arguments, lines of the output
        {{"--bank-format", "Bank %d", m_orbit}, {"[Bank 0]", "[Stored Orbit]"}},
        {{"--definition=Mine", "--instr-format", "P%03d ", m_orbit},
         {"[Stored 0]", "1=P001 Second", "[Mine]", "Patch[0]=Stored 0"}},
        {{"--no-settings", "--bank-format", "B%d", m_orbit},
         {"[B0]", "[E-MU Orbit/Phatt/Caranaval]"}},
        {{"--instr-format", "", m_jv}, {"0=Piano"}},  // present but empty empties the pattern
    };
    for (const auto& [args, lines] : cases) {
        SCOPED_TRACE(::testing::PrintToString(args));
        EXPECT_EQ(Run(args), kExitOk) << m_err;
        for (const std::string& line : lines)
            EXPECT_TRUE(HasLine(m_out, line)) << line << "\n" << m_out;
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
        {{"-o", out, m_orbit, m_jv}, "several dumps need -d DIR"},
        {{"-o", out, "-d", Path(""), m_orbit}, "-o and -d cannot be used together"},
        {{"--format", "xml", "-o", out, m_orbit}, "unknown format xml (ins, midnam or reabank)"},
        {{m_orbit, "--format"}, "option --format needs an argument"},
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

// A dump that ends inside a message still converts, with one warning that
// names after the cut are missing; one whose names are all there (a
// complete dump, a cut after the only message that is read) converts
// silently.
TEST_F(CliTest, ACutOffDumpConvertsWithAWarning)
{
    using gen::Bytes;
    const auto cut = [](const Bytes& bytes, std::size_t drop) {
        return Bytes(bytes.begin(), bytes.end() - static_cast<std::ptrdiff_t>(drop));
    };
    // Keeps keep bytes of the last SysEx event, its 0xF0 included.
    const auto cutLast = [](const Bytes& midi, std::size_t keep) {
        const auto f0 = std::find(midi.rbegin(), midi.rend(), 0xF0).base() - 1;
        return Bytes(midi.begin(), f0 + static_cast<std::ptrdiff_t>(keep));
    };
    const std::vector<Bytes> jv{gen::MakeJvXpMessage({.slot = 0, .name = "Piano"}),
                                gen::MakeJvXpMessage({.slot = 1, .name = "Organ"})};
    const std::vector<Bytes> virus{gen::MakeVirusMessage({.name = "Lead"}),
                                   gen::MakeVirusMessage({.program = 1, .name = "Pad"})};
    const std::vector<Bytes> fs1r{gen::MakeFs1rPerformance(0, "Air"),
                                  gen::MakeFs1rPerformance(1, "Sea")};
    const Bytes korg = gen::MakeKorgProgramDump(gen::kProphecy, gen::kKorgBankA, {});
    struct Case
    {
        const char* name;
        Bytes bytes;
        bool warned;
    };
    const std::vector<Case> cases{
        {"jv.syx", gen::JoinMessages(jv), false},
        {"jv.mid", gen::MakeMidiFile(jv), false},
        {"jv-no-end.syx", cut(gen::JoinMessages(jv), 1), true},
        {"jv-lone-start.syx", gen::Concat({gen::JoinMessages(jv), {0xF0}}), true},
        {"jv-after-name.mid", cutLast(gen::MakeMidiFile(jv), 30), true},
        {"jv-unrecognised.mid", cutLast(gen::MakeMidiFile(jv), 2), true},
        {"orbit-lone-start.syx", gen::Concat({gen::JoinMessages(kOrbitPresets), {0xF0}}), true},
        {"orbit-unrecognised.mid", cutLast(gen::MakeMidiFile(kOrbitPresets), 4), true},
        {"fs1r-after-name.syx", cut(gen::JoinMessages(fs1r), 100), true},
        {"fs1r-other-no-end.syx", gen::Concat({fs1r[0], cut(gen::MakeFs1rVoice(0, "V"), 1)}), true},
        {"fs1r-first-header.mid", cutLast(gen::MakeMidiFile({fs1r[0]}), 9), true},
        {"fs1r-voices-no-end.syx", cut(gen::MakeVoiceBulk({.names = {"A", "B"}}), 2), false},
        {"virus-no-end.syx", cut(gen::JoinMessages(virus), 1), true},
        {"virus-first-header.mid", cutLast(gen::MakeMidiFile({virus[0]}), 8), true},
        {"virus-after-name.mid", cutLast(gen::MakeMidiFile(virus), 265), true},
        {"korg-no-end.syx", cut(korg, 1), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string dump = Dump(c.name, c.bytes);
        EXPECT_EQ(Run({"--no-settings", dump}), kExitOk) << m_err;
        EXPECT_EQ(m_err, c.warned
                             ? dump + ": the dump ends inside a message; names after that point"
                                      " are missing\n"
                             : "");
    }
}

// Every format goes the same way as the .ins text: standard output, -o,
// or -d with the format's own extension.
TEST_F(CliTest, FormatsChooseTheTextAndTheExtension)
{
    const std::string reabank = "// E-MU Orbit/Phatt/Caranaval\n\nBank 0 0 Orbit Bank 0\n"
                                "0 First\n1 Second\n";
    EXPECT_EQ(Run({"--no-settings", "--format=reabank", m_orbit}), kExitOk);
    EXPECT_EQ(m_out + m_err, reabank);
    EXPECT_EQ(Run({"--no-settings", "--format", "ins", m_orbit}), kExitOk);
    EXPECT_EQ(m_out + m_err, kOrbitText);

    EXPECT_EQ(Run({"-d", Path("out"), "--format", "MIDNAM", m_orbit, m_jv}), kExitOk);
    EXPECT_EQ(m_out + m_err, "");
    EXPECT_EQ(Listing(m_dir / "out"), (std::set<std::string>{"jv.midnam", "orbit.midnam"}));
    const std::string midnam = ReadText(m_dir / "out" / "orbit.midnam");
    EXPECT_TRUE(midnam.starts_with("<?xml") && midnam.ends_with("</MIDINameDocument>\n")) << midnam;
    EXPECT_NE(midnam.find("<Patch Number=\"1\" Name=\"Second\" ProgramChange=\"1\"/>"),
              std::string::npos);

    EXPECT_EQ(Run({"-o", Path("out/orbit.midnam"), "--format", "reabank", m_orbit}), kExitOk);
    EXPECT_EQ(ReadText(m_dir / "out" / "orbit.midnam"), reabank);
}

// A refused or failed write leaves the target as it was and no partial or
// temporary file behind; a good one replaces it.
TEST_F(CliTest, OnlyACompleteTextReplacesTheOutputFile)
{
    const auto before = Listing(m_dir);
    const std::string cannot = m_orbit + ": Cannot write ";
    const std::string dump = ReadText(m_orbit);
    EXPECT_EQ(Run({"-o", m_orbit, m_orbit}), kExitFailed);
    EXPECT_EQ(m_err, m_orbit + ": Skipped: " + m_orbit + " is one of the dumps being converted!\n");
    EXPECT_EQ(ReadText(m_orbit), dump);

    EXPECT_EQ(Run({"-d", Path("nowhere"), m_orbit}), kExitFailed);
    EXPECT_EQ(m_err, cannot + (m_dir / "nowhere" / "orbit.ins").string() +
                         ": No such file or directory\n");

    // The target is a folder: the text is written but cannot replace it.
    EXPECT_EQ(Run({"-o", Path("out"), m_orbit}), kExitFailed);
    EXPECT_TRUE(m_err.starts_with(cannot + Path("out") + ": ")) << m_err;
    EXPECT_TRUE(fs::is_directory(m_dir / "out") && fs::is_empty(m_dir / "out"));

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
    EXPECT_EQ(Listing(m_dir), before);
}

}  // namespace
}  // namespace bankwise
