// The behaviour both desktop programs share, without a toolkit: the options
// model, the recent-file list and the title and path rules.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "DocumentRules.h"
#include "StringTable.h"

namespace bankwise {
namespace {

using Strings = std::vector<std::string>;

TEST(DocumentOptions, LoadTakesDefaultsOnlyForAbsentEntriesAndStoreWritesThemBack)
{
    CMemoryProfile profile;
    const COptionsValues defaults =
        LoadOptions(profile, IDS_SYNTH_JVXP, "JV/XP User", "USER:%03d ");
    EXPECT_EQ(defaults.strDefinition, "Roland JV/XP");
    EXPECT_EQ(defaults.strBankFormat, "JV/XP User");
    EXPECT_EQ(defaults.strInstrFormat, "USER:%03d ");
    EXPECT_EQ(defaults.bShowOptions, 1);
    EXPECT_EQ(LoadOptions(profile, IDS_SYNTH_ORBIT, "Orbit Bank %d", nullptr).strInstrFormat, "");

    StoreOptions(profile, IDS_SYNTH_JVXP, {"Mine", "Bank", "", 0});
    EXPECT_EQ(profile.GetProfileString("Roland JV/XP", "Definition", ""), "Mine");
    EXPECT_EQ(profile.GetProfileInt("Settings", "ShowOptions", 1), 0);
    const COptionsValues stored = LoadOptions(profile, IDS_SYNTH_JVXP, "JV/XP User", "USER:%03d ");
    EXPECT_EQ(std::tie(stored.strDefinition, stored.strBankFormat, stored.strInstrFormat,
                       stored.bShowOptions),
              std::make_tuple(std::string("Mine"), std::string("Bank"), std::string(), 0));
}

TEST(DocumentOptions, PreviewShowsSampleNamesAndOkNeedsDefinitionAndBankName)
{
    const COptionsPreview preview =
        MakeOptionsPreview("Korg Prophecy", "Prophecy Bank %c", "%c%02d:", 0, 128);
    EXPECT_TRUE(preview.okEnabled);
    EXPECT_NE(preview.text.find("[Prophecy Bank A]"), std::string::npos) << preview.text;
    EXPECT_NE(preview.text.find("0=A00:"), std::string::npos) << preview.text;
    EXPECT_NE(preview.text.find("1=A01:"), std::string::npos) << preview.text;
    EXPECT_NE(preview.text.find("Patch[128]=Prophecy Bank A"), std::string::npos);
    EXPECT_NE(MakeOptionsPreview("X", "Bank %d", "", 0, 0).text.find("[Bank 0]"),
              std::string::npos);
    EXPECT_NE(MakeOptionsPreview("X", "Bank %02x", "", 0, 0).text.find("[Bank %02x]"),
              std::string::npos);
    EXPECT_FALSE(MakeOptionsPreview("", "Bank", "", 0, 0).okEnabled);
    EXPECT_FALSE(MakeOptionsPreview("X", "", "", 0, 0).okEnabled);
}

TEST(DocumentRecentFiles, NewestFirstNoPathTwiceAtMostFour)
{
    Strings list;
    for (const char* path : {"/a", "/b", "/c", "/d", "/e"})
        AddRecentFile(list, path);
    EXPECT_EQ(list, (Strings{"/e", "/d", "/c", "/b"}));
    AddRecentFile(list, "/c");
    EXPECT_EQ(list, (Strings{"/c", "/e", "/d", "/b"}));
}

TEST(DocumentPaths, OnlyAnInstrumentFileBecomesThePath)
{
    const std::tuple<const char*, bool, const char*> cases[] = {
        {"/dumps/orbit.syx", false, "orbit"}, {"/dumps/names.INS", true, "names.INS"},
        {"/a.b/names.txt", false, "names"},   {"/a.ins/noext", false, "noext"},
        {"C:\\dumps\\x.ins", true, "x.ins"},  {"/dumps/first.ins.syx", false, "first.ins"},
    };
    for (const auto& [path, becomesPath, title] : cases) {
        const CPathUse use = ClassifyPath(path);
        EXPECT_EQ(use.bBecomesPath, becomesPath) << path;
        EXPECT_EQ(use.strTitle, title) << path;
    }
    EXPECT_EQ(ProposedSaveName("orbit"), "orbit.ins");
}

TEST(DocumentPaths, ARememberedFolderThatIsGoneIsForgotten)
{
    const std::string here = std::filesystem::temp_directory_path().string();
    std::string current = "/start";
    std::string remembered = here;
    UseRememberedDir(remembered, current);
    EXPECT_EQ(std::tie(remembered, current), std::tie(here, here));
    remembered = here + "/bankwise-no-such-folder";
    UseRememberedDir(remembered, current);
    EXPECT_EQ(std::tie(remembered, current), std::make_tuple(std::string(), here));
    UseRememberedDir(remembered, current);
    EXPECT_EQ(current, here);
}

}  // namespace
}  // namespace bankwise
