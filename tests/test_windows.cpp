// bankwise-convert.exe itself, as a Windows user runs it: file names beyond
// the code page, standard output byte for byte (messages on standard error
// end their lines as Windows does), the Windows file rules.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "FileNames.h"
#include "TestSupport.h"
#include "WindowsApi.h"

namespace bankwise {
namespace {

namespace fs = std::filesystem;
using test::ReadText;

const fs::path kExamples = BANKWISE_EXAMPLES_DIR;

struct CRun
{
    DWORD status = 0;
    std::string out, err;
};

// As CommandLineToArgvW will split it again.
std::wstring Quoted(const std::wstring& arg)
{
    std::wstring quoted = L"\"";
    std::size_t slashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++slashes;
            continue;
        }
        quoted.append(c == L'"' ? slashes * 2 + 1 : slashes, L'\\');
        slashes = 0;
        quoted += c;
    }
    quoted.append(slashes * 2, L'\\');
    return quoted + L"\"";
}

class ExeTest : public ::testing::Test
{
protected:
    // Runs the converter in the scratch folder with standard output and
    // error going to files, so that every byte it wrote is seen.
    CRun Run(const std::vector<std::wstring>& args)
    {
        const fs::path exe = fs::absolute(BANKWISE_CONVERT);
        std::wstring line = Quoted(exe.native());
        for (const std::wstring& arg : args)
            line += L" " + Quoted(arg);
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        const auto create = [&inherit](const fs::path& file) {
            return CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        };
        const fs::path outFile = m_dir.path / "stdout", errFile = m_dir.path / "stderr";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = create(outFile);
        startup.hStdError = create(errFile);
        PROCESS_INFORMATION process{};
        CRun run;
        const std::wstring folder = m_dir.path.native();
        if (CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                           folder.c_str(), &startup, &process) != 0) {
            WaitForSingleObject(process.hProcess, INFINITE);
            GetExitCodeProcess(process.hProcess, &run.status);
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        } else {
            ADD_FAILURE() << "cannot start " << exe.string();
        }
        CloseHandle(startup.hStdOutput);
        CloseHandle(startup.hStdError);
        run.out = ReadText(outFile);
        run.err = ReadText(errFile);
        fs::remove(outFile);
        fs::remove(errFile);
        return run;
    }

    // Every name in the scratch folder, in UTF-8, standard files left out.
    std::set<std::string> Listing(const fs::path& dir) const
    {
        std::set<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(dir))
            names.insert(NameOfPath(entry.path().lexically_relative(m_dir.path).generic_wstring()));
        return names;
    }

    const test::CScratchDir m_dir;
};

// Through a file, standard output keeps the text's own line ends: the same
// bytes as the golden file, as on Linux.
TEST_F(ExeTest, StandardOutputCarriesEveryExampleByteForByte)
{
    int dumps = 0;
    for (const auto& entry : fs::directory_iterator(kExamples)) {
        const fs::path dump = entry.path();
        if (dump.extension() != ".syx" && dump.extension() != ".mid")
            continue;
        SCOPED_TRACE(dump.string());
        ++dumps;
        const CRun run = Run({L"--no-settings", dump.native()});
        EXPECT_EQ(run.status, 0u) << run.err;
        EXPECT_EQ(run.out, ReadText(fs::path(dump).replace_extension(".ins")));
        EXPECT_EQ(run.err, "");
    }
    EXPECT_GE(dumps, 6);
}

// Names beyond the code page open, every file is written under the one
// name asked for (never under one converted twice), and messages name them
// in UTF-8 as well.
TEST_F(ExeTest, NamesBeyondTheCodePageOpenAndAreWrittenAsGiven)
{
    const std::string orbit = ReadText(kExamples / "emu-orbit.syx");
    const std::string text = ReadText(kExamples / "emu-orbit.ins");
    const gen::Bytes bytes(orbit.begin(), orbit.end());
    const std::wstring banks = L"B\u00e4nke", uber = L"\u00dcber dump", japanese = L"\u65e5\u672c";
    fs::create_directories(m_dir.path / banks / (L"out " + japanese));
    gen::WriteFile(m_dir.path / banks / (uber + L".syx"), bytes);
    gen::WriteFile(m_dir.path / (japanese + L".syx"), bytes);

    CRun run = Run({L"--no-settings", banks + L"\\" + uber + L".syx"});
    EXPECT_EQ(run.status, 0u) << run.err;
    EXPECT_EQ(run.out, text);
    run = Run({L"--no-settings", japanese + L".syx", L"-o", japanese + L".ins"});
    EXPECT_EQ(run.status, 0u) << run.err;
    EXPECT_EQ(ReadText(m_dir.path / (japanese + L".ins")), text);
    run = Run({L"--no-settings", L"-d", banks + L"\\out " + japanese, japanese + L".syx",
               (m_dir.path / banks / (uber + L".syx")).native()});
    EXPECT_EQ(run.status, 0u) << run.err;
    run = Run({banks + L"\\missing \u00fc.syx"});
    EXPECT_EQ(run.status, 1u);
    EXPECT_EQ(run.err, "B\xC3\xA4nke\\missing \xC3\xBC.syx: Cannot open the file: "
                       "No such file or directory\r\n");

    const std::string b = "B\xC3\xA4nke",
                      u = "\xC3\x9C"
                          "ber dump",
                      j = "\xE6\x97\xA5\xE6\x9C\xAC";
    EXPECT_EQ(Listing(m_dir.path),
              (std::set<std::string>{b, b + "/" + u + ".syx", b + "/out " + j,
                                     b + "/out " + j + "/" + j + ".ins",
                                     b + "/out " + j + "/" + u + ".ins", j + ".syx", j + ".ins"}));
}

// A read-only file is refused and kept; a file with two links is written
// in place so they stay one file; a replaced file keeps its attributes.
TEST_F(ExeTest, TargetsAreWrittenByTheSameRulesAsOnLinux)
{
    const fs::path dump = kExamples / "emu-orbit.syx";
    const std::string text = ReadText(kExamples / "emu-orbit.ins");
    const fs::path locked = m_dir.path / "locked.ins", linked = m_dir.path / "linked.ins",
                   other = m_dir.path / "other.ins", hidden = m_dir.path / "hidden.ins";
    for (const fs::path& file : {locked, linked, hidden})
        gen::WriteFile(file, {'o', 'l', 'd'});
    ASSERT_NE(SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_READONLY), 0);
    ASSERT_NE(CreateHardLinkW(other.c_str(), linked.c_str(), nullptr), 0);
    ASSERT_NE(SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN), 0);

    CRun run = Run({L"--no-settings", dump.native(), L"-o", L"locked.ins"});
    EXPECT_EQ(run.status, 1u);
    EXPECT_EQ(run.err, dump.string() + ": Cannot write locked.ins: The file is read-only\r\n");
    SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadText(locked), "old");

    run = Run({L"--no-settings", dump.native(), L"-o", L"linked.ins"});
    EXPECT_EQ(run.status, 0u) << run.err;
    EXPECT_EQ(ReadText(other), text);

    run = Run({L"--no-settings", dump.native(), L"-o", L"hidden.ins"});
    EXPECT_EQ(run.status, 0u) << run.err;
    EXPECT_EQ(ReadText(hidden), text);
    EXPECT_NE(GetFileAttributesW(hidden.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_FALSE(test::HasTemporary(m_dir.path));

    // Exit statuses as on Linux; the help tells these rules in Windows' words.
    EXPECT_EQ(Run({L"--no-such-option"}).status, 2u);
    run = Run({L"--help"});
    EXPECT_EQ(run.status, 0u);
    EXPECT_NE(run.out.find("keeps the old one's attributes"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("such as NUL"), std::string::npos);
    EXPECT_EQ(run.out.find("/dev/stdout"), std::string::npos);
}

}  // namespace
}  // namespace bankwise
