// bankwise-convert run as a real program, in a home of its own: what only
// a whole process shows (signals, standard streams, the settings store).
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <thread>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "SettingsProfile.h"
#include "TestSupport.h"
#include "gen/OrbitGen.h"

namespace bankwise {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::HasTemporary;
using test::ReadText;

class ProgramTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fs::create_directories(m_home / ".config" / "Orvane");
        m_dump = (m_home / "orbit.syx").string();
        gen::WriteFile(m_dump, gen::JoinMessages({gen::MakeOrbitPreset(0, "First")}));
    }

    // Starts the converter with its standard streams in files; the user's
    // and the system's settings folders are both inside the scratch home.
    pid_t Start(const std::vector<std::string>& args)
    {
        const pid_t pid = fork();
        if (pid == 0) {
            setenv("HOME", m_home.c_str(), 1);
            setenv("XDG_CONFIG_HOME", (m_home / ".config").c_str(), 1);
            setenv("XDG_CONFIG_DIRS", (m_home / "xdg").c_str(), 1);
            // A test started in the background inherits ignored signals.
            for (const int signal : {SIGINT, SIGTERM, SIGHUP})
                std::signal(signal, SIG_DFL);
            if (!freopen((m_home / "stdout").c_str(), "w", stdout) ||
                !freopen((m_home / "stderr").c_str(), "w", stderr))
                _exit(126);
            std::vector<char*> argv{const_cast<char*>(BANKWISE_CONVERT)};
            for (const std::string& arg : args)
                argv.push_back(const_cast<char*>(arg.c_str()));
            argv.push_back(nullptr);
            execv(BANKWISE_CONVERT, argv.data());
            _exit(127);
        }
        return pid;
    }

    // The wait status, or -1 when the program was still running after a
    // few seconds (and was then killed).
    static int Wait(pid_t pid)
    {
        int status = 0;
        for (auto waited = 0ms; waited < 5000ms; waited += 10ms) {
            if (waitpid(pid, &status, WNOHANG) == pid)
                return status;
            std::this_thread::sleep_for(10ms);
        }
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        return -1;
    }

    // Runs the converter to its end: exit code, or -1 when it hung or died.
    int Run(const std::vector<std::string>& args)
    {
        const int status = Wait(Start(args));
        m_out = ReadText(m_home / "stdout");
        m_err = ReadText(m_home / "stderr");
        return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    const test::CScratchDir m_scratch;
    const fs::path m_home = m_scratch.path;
    std::string m_dump, m_out, m_err;
};

// --version and --no-settings never open the settings store, so a FIFO
// cannot hold them up; a run that needs it passes over a store that is no
// regular file or too large, with one warning, and uses the defaults.
TEST_F(ProgramTest, OnlyAUsableSettingsFileIsRead)
{
    const fs::path own = m_home / ".config" / "Orvane" / "Bankwise.conf";
    const fs::path system = m_home / "xdg" / "Orvane.conf";  // the organisation's, for every user
    fs::create_directories(system.parent_path());
    fs::create_directory(m_home / "out");
    const std::string second = (m_home / "second.syx").string();
    fs::copy_file(m_dump, second);
    ASSERT_EQ(Run({"--no-settings", m_dump}), 0);
    const std::string defaults = m_out;
    const auto ignored = [](const fs::path& file, const std::string& why) {
        return "bankwise-convert: Settings file " + file.string() + " ignored (" + why +
               "); the defaults apply\n";
    };
    enum class EStore { Fifo, Large, Stored };
    enum class EText { Any, Defaults, Stored };
    const struct
    {
        EStore store;
        fs::path file;
        std::vector<std::string> args;
        std::string err;  // the whole of standard error
        EText text;
    } cases[] = {
        {EStore::Fifo, own, {"--version"}, "", EText::Any},
        {EStore::Fifo, own, {"--no-settings", m_dump}, "", EText::Defaults},
        {EStore::Fifo,
         own,
         {"-d", (m_home / "out").string(), m_dump, second},
         ignored(own, "not a regular file"),
         EText::Any},
        {EStore::Fifo, system, {m_dump}, ignored(system, "not a regular file"), EText::Defaults},
        {EStore::Large, own, {m_dump}, ignored(own, "larger than 1 MiB"), EText::Defaults},
        {EStore::Stored, own, {m_dump}, "", EText::Stored},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        fs::remove(own);
        fs::remove(system);
        if (c.store == EStore::Fifo) {
            ASSERT_EQ(mkfifo(c.file.c_str(), 0600), 0);
        } else if (c.store == EStore::Large) {
            std::ofstream(c.file) << "[";
            fs::resize_file(c.file, kMaxSettingsFileSize + 1);
        } else {
            CSettingsProfile(c.file.string())
                .WriteProfileString("E-MU Orbit/Phatt/Caranaval", "BankFormat", "Stored %d");
        }
        ASSERT_EQ(Run(c.args), 0) << m_err;
        EXPECT_EQ(m_err, c.err);
        if (c.text != EText::Any) {
            EXPECT_EQ(m_out == defaults, c.text == EText::Defaults) << m_out;
        }
    }
}

// -o /dev/stdout writes into the caller's redirect, here a file, as a shell
// redirect would, instead of renaming a new file over what it leads to.
TEST_F(ProgramTest, StandardOutputIsWrittenNotReplaced)
{
    ASSERT_EQ(Run({"--no-settings", m_dump}), 0);
    const std::string text = m_out;
    fs::create_hard_link(m_home / "stdout", m_home / "caller");
    EXPECT_EQ(Run({"--no-settings", "-o", "/dev/stdout", m_dump}), 0) << m_err;
    EXPECT_EQ(m_out, text);
    // The caller's own file, not a new one in its place.
    EXPECT_TRUE(fs::equivalent(m_home / "stdout", m_home / "caller"));
    EXPECT_FALSE(HasTemporary(m_home));
}

// Interrupted while it writes its output, the converter removes its
// temporary file and ends by the signal, as a caller expects; the target
// is either as it was or complete.
TEST_F(ProgramTest, AnInterruptedWriteLeavesNoTemporaryFile)
{
    // A text of some 25 MB takes long enough to write to be caught at it.
    std::vector<gen::Bytes> presets;
    for (int preset = 0; preset < 256; ++preset)
        presets.push_back(gen::MakeOrbitPreset(preset, "Name"));
    gen::WriteFile(m_dump, gen::JoinMessages(presets));
    const std::string prefix(100000, 'p');
    const fs::path out = m_home / "out";
    fs::create_directory(out);
    const std::string target = (out / "orbit.ins").string();
    ASSERT_EQ(Run({"--no-settings", "--instr-format", prefix, "-o", target, m_dump}), 0) << m_err;
    const std::string complete = ReadText(target);
    std::ofstream(target) << "old";

    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        bool caught = false;
        for (int attempt = 0; attempt < 10 && !caught; ++attempt) {
            const pid_t pid =
                Start({"--no-settings", "--instr-format", prefix, "-o", target, m_dump});
            int status = 0;
            bool ended = false;
            while (!ended && !HasTemporary(out)) {
                ended = waitpid(pid, &status, WNOHANG) == pid;
                std::this_thread::yield();
            }
            if (!ended) {
                kill(pid, signal);
                status = Wait(pid);
                caught = status != -1 && WIFSIGNALED(status) && WTERMSIG(status) == signal;
            }
            EXPECT_FALSE(HasTemporary(out));
            const std::string now = ReadText(target);
            EXPECT_TRUE(now == "old" || now == complete) << now.size();
        }
        EXPECT_TRUE(caught) << "never interrupted while writing";
    }
}

}  // namespace
}  // namespace bankwise
