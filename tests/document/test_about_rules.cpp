// The About box's texts and the link label's road, for both desktop programs.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "AboutRules.h"

namespace bankwise {
namespace {

using Strings = std::vector<std::string>;

// Every code the system can give has its own words; others are numbered.
TEST(AboutRules, EachOpenErrorHasItsWords)
{
    const std::pair<int, const char*> rows[] = {
        {0, "The operating system is out\nof memory or resources."},
        {2, "The specified file was not found."},
        {3, "The specified path was not found."},
        {5, "The operating system denied\naccess to the specified file."},
        {8, "There was not enough memory to complete the operation."},
        {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
        {26, "A sharing violation occurred. "},
        {27, "The filename association is\nincomplete or invalid."},
        {28, "The DDE transaction could not\nbe completed because the request timed out."},
        {29, "The DDE transaction failed."},
        {30, "The DDE transaction could not\nbe completed because other DDE transactions\n"
             "were being processed."},
        {31, "There is no application associated\nwith the given filename extension."},
        {32, "The specified dynamic-link library was not found."},
        {1, "Unknown Error (1) occurred."},
        {-5, "Unknown Error (-5) occurred."},
    };
    for (const auto& [code, reason] : rows)
        EXPECT_EQ(OpenErrorMessage(code), std::string("Unable to open hyperlink:\n\n") + reason);
}

// Quoted %1 first, then the earliest bare placeholder.
TEST(AboutRules, ThePlaceholderAndAllAfterItAreCut)
{
    const std::pair<const char*, const char*> rows[] = {
        {R"("C:\Web\browse.exe" -nohome "%1" -x)", R"("C:\Web\browse.exe" -nohome )"},
        {"/usr/bin/w3m -F", "/usr/bin/w3m -F"},
        {"chromium --new %U", "chromium --new "},
        {R"(sh -c "%f")", "sh -c "},
        {"viewer %F --tail", "viewer "},
        {R"(b %u "%1")", "b %u "},
        {"firefox %s", "firefox "},
        {"%u -x %F", ""},
    };
    for (const auto& [command, cut] : rows)
        EXPECT_EQ(CutPlaceholder(command), cut) << command;
}

class CFakeOpener final : public ILinkOpener
{
public:
    int OpenWithDesktop(const std::string& target) override
    {
        calls.push_back("open " + target);
        return desktopCode;
    }
    std::string BrowserCommand() override { return browser; }
    int StartCommand(const std::string& commandLine, const std::string& target) override
    {
        calls.push_back("start " + commandLine + "|" + target);
        return startCode;
    }
    int desktopCode = 0;
    std::string browser;
    int startCode = 0;
    Strings calls;
};

// The desktop first; then the registered browser; its code, or the
// desktop's when no browser is registered.
TEST(AboutRules, ALinkOpensThroughTheDesktopThenTheBrowser)
{
    const std::string t = "mailto:me@x.example";
    const std::tuple<int, const char*, int, Strings, int> rows[] = {
        {42, "b %1", 33, {"open " + t}, 42},
        {31, R"(b -n "%1")", 40, {"open " + t, "start b -n |" + t}, 40},
        {5, "b", 2, {"open " + t, "start b|" + t}, 2},
        {31, "", 33, {"open " + t}, 31},
        {2, "%1 -x", 33, {"open " + t}, 2},
    };
    for (const auto& [desktop, browser, start, calls, code] : rows) {
        CFakeOpener opener;
        opener.desktopCode = desktop;
        opener.browser = browser;
        opener.startCode = start;
        EXPECT_EQ(OpenLink(t, opener), code) << browser;
        EXPECT_EQ(opener.calls, calls) << browser;
    }
}

TEST(AboutRules, InformationTextListsProgramAndLibraries)
{
    const std::string known = ProgramInformationText(VersionNumbers{1, 2, 3, 4},
                                                     {{"A.DLL", true, VersionNumbers{5, 6, 7, 8}},
                                                      {"B.DLL", true, std::nullopt},
                                                      {"C.DLL", false, std::nullopt}});
    EXPECT_NE(known.find("Roland JV/XP\n"), std::string::npos);
    const std::string tail = "BANKWISE.EXE: 1.2.3.4\n\n\xC2\xA7 DLLs Version:\n"
                             "A.DLL: 5.6.7.8\nB.DLL: Unknown\nC.DLL: Not installed\n";
    EXPECT_EQ(known.substr(known.size() - tail.size()), tail) << known;
    const std::string unknown = ProgramInformationText(std::nullopt, {});
    EXPECT_NE(unknown.find("BANKWISE.EXE: Unknown\n\xC2\xA7 DLLs Version:"), std::string::npos)
        << unknown;
}

}  // namespace
}  // namespace bankwise
