// The behaviour both desktop programs share, without a toolkit: the options
// model, the recent-file list and the title and path rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "Conversion.h"
#include "DocumentRules.h"
#include "Families.h"
#include "FileNames.h"
#include "StringTable.h"
#include "gen/BlofeldGen.h"
#include "gen/EnsoniqGen.h"
#include "gen/Fs1rGen.h"
#include "gen/JvXpGen.h"
#include "gen/KawaiK5000Gen.h"
#include "gen/KorgGen.h"
#include "gen/KorgM1Gen.h"
#include "gen/MorpheusGen.h"
#include "gen/OrbitGen.h"
#include "gen/RolandD50Gen.h"
#include "gen/VirusGen.h"

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

TEST(DocumentOptions, OkNeedsDefinitionAndBankName)
{
    EXPECT_TRUE(MakeOptionsPreview(IDS_SYNTH_ORBIT, "X", "Bank", "").okEnabled);
    EXPECT_FALSE(MakeOptionsPreview(IDS_SYNTH_ORBIT, "", "Bank", "").okEnabled);
    EXPECT_FALSE(MakeOptionsPreview(IDS_SYNTH_ORBIT, "X", "", "").okEnabled);
}

// Two names in the first slots of the family's first bank, as the synth sends them.
gen::Bytes FirstTwoNames(std::uint32_t family, const std::string& a, const std::string& b)
{
    using namespace gen;
    switch (family) {
    case IDS_SYNTH_ORBIT:
        return JoinMessages({MakeOrbitPreset(0, a), MakeOrbitPreset(1, b)});
    case IDS_SYNTH_JVXP:
        return JoinMessages(
            {MakeJvXpMessage({kJvAreaPatch, 0, a}), MakeJvXpMessage({kJvAreaPatch, 1, b})});
    case IDS_SYNTH_PROPHECY:
        return MakeKorgProgramDump(kProphecy, kKorgBankA, {a, b});
    case IDS_SYNTH_TRRACK:
        return MakeKorgProgramDump(kTrRack, kKorgBankA, {a, b});
    case IDS_SYNTH_FS1R:
        return JoinMessages({MakeFs1rPerformance(0, a), MakeFs1rPerformance(1, b)});
    case IDS_SYNTH_VIRUS:
        return JoinMessages({MakeVirusMessage({.program = 0, .name = a}),
                             MakeVirusMessage({.program = 1, .name = b})});
    case IDS_SYNTH_BLOFELD:
        return JoinMessages({MakeBlofeldSound({.program = 0, .name = a}),
                             MakeBlofeldSound({.program = 1, .name = b})});
    case IDS_SYNTH_MORPHEUS:
        return JoinMessages({MakeMorpheusMessage({.number = 0, .name = a}),
                             MakeMorpheusMessage({.number = 1, .name = b})});
    case IDS_SYNTH_ENSONIQ:
        return MakeVfxPrograms({a, b});
    case IDS_SYNTH_D50:
        return JoinMessages(MakeD50Bank({a, b}));
    case IDS_SYNTH_K5000:
        return MakeK5000Bank(kK5000BankA, K5000Singles({a, b}, 2));
    case IDS_SYNTH_M1:
        return MakeM1Dump({.names = {a, b}, .count = 2});
    default:
        return {};
    }
}

Strings SplitLines(const std::string& text, const std::string& end)
{
    Strings lines;
    for (std::size_t at = 0; at <= text.size();) {
        const std::size_t next = std::min(text.find(end, at), text.size());
        lines.push_back(text.substr(at, next - at));
        at = next + end.size();
    }
    return lines;
}

// The bank heading, the two patch prefixes (the line with its name cut off),
// the definition heading and the first Patch line.
Strings NamingLines(const Strings& lines, const std::string& first, const std::string& second)
{
    const auto after = [&](const char* heading) {
        const auto it = std::find(lines.begin(), lines.end(), heading);
        return it == lines.end() ? lines.end()
                                 : std::find_if(it + 1, lines.end(), [](const std::string& line) {
                                       return !line.empty();
                                   });
    };
    const auto names = after(".Patch Names");
    const auto definitions = after(".Instrument Definitions");
    if (lines.end() - names < 3 || lines.end() - definitions < 2)
        return {"missing"};
    const auto prefix = [](const std::string& line, const std::string& name) {
        return line.substr(0, line.rfind(name));
    };
    return {names[0], prefix(names[1], first), prefix(names[2], second), definitions[0],
            definitions[1]};
}

// The preview shows what the family's writer makes of the typed settings:
// for JV/XP and FS1R a number in the bank pattern is written as typed.
TEST(DocumentOptions, PreviewEqualsTheWrittenTextForEveryFamilyAndPattern)
{
    for (const CFamily& family : Families()) {
        const std::string name = LoadString(family.nameId);
        const gen::Bytes dump = FirstTwoNames(family.nameId, "Nm1", "Nm2");
        ASSERT_FALSE(dump.empty()) << "no sample dump for " << name;
        for (const char* pattern : {"X %d", "X %c", "X %02d", "X"}) {
            CMemoryProfile profile;
            StoreOptions(profile, family.nameId, {"Def", pattern, pattern, 1});
            CConversion conversion = ConvertDump(dump, false, profile);
            ASSERT_TRUE(conversion.Succeeded()) << name;
            std::string text;
            conversion.extractor->WriteDefinition(text);
            const COptionsPreview preview =
                MakeOptionsPreview(family.nameId, "Def", pattern, pattern);
            EXPECT_EQ(NamingLines(SplitLines(preview.text, "\n"), "XXX", "YYY"),
                      NamingLines(SplitLines(text, "\r\n"), "Nm1", "Nm2"))
                << name << ", pattern " << pattern;
        }
    }
}

TEST(DocumentRecentFiles, NewestFirstNoPathTwiceAtMostFour)
{
    Strings list;
    for (const char* path : {"/a", "/b", "/c", "/d", "/e"})
        AddRecentFile(list, path);
    EXPECT_EQ(list, (Strings{"/e", "/d", "/c", "/b"}));
    AddRecentFile(list, "/c");
    EXPECT_EQ(list, (Strings{"/c", "/e", "/d", "/b"}));

    // One file under two spellings of its case is one entry where the file
    // system ignores case.
    Strings spelt;
    AddRecentFile(spelt, "C:\\Dumps\\B\u00c4NKE.syx");
    AddRecentFile(spelt, "c:\\dumps\\b\u00e4nke.SYX");
#ifdef _WIN32
    EXPECT_EQ(spelt, Strings{"c:\\dumps\\b\u00e4nke.SYX"});
#else
    EXPECT_EQ(spelt.size(), 2u);
#endif
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

    // A name outside the ANSI code page is still found on Windows.
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         std::filesystem::path(u8"bankwise-B\u00e4nke-\u0411");
    std::filesystem::create_directories(folder);
    const std::string name = NameOfPath(folder);
    remembered = name;
    UseRememberedDir(remembered, current);
    EXPECT_EQ(std::tie(remembered, current), std::tie(name, name));
    std::filesystem::remove(folder);
}

// Stored: nothing (-1), or a place; where the window opens on screen.
TEST(DocumentWindow, OpensWhereItWasLeftWhollyOnTheScreenOrOnTwoThirdsOfIt)
{
    const CWindowPlace full{0, 0, 1920, 1080};
    const std::tuple<CWindowPlace, CWindowPlace, int, CWindowPlace> cases[] = {
        {{-1}, full, 600, {320, 180, 1280, 720}},
        {{100, 50, 900, 700, true}, full, 600, {100, 50, 900, 700, true}},
        {{3000, 50, 900, 700}, full, 600, {1020, 50, 900, 700}},  // its monitor is gone
        {{-50, -20, 2500, 1500}, full, 600, {0, 0, 1920, 1080}},
        {{10, 10, 40, 700}, full, 600, {320, 180, 1280, 720}},  // no size to keep
        {{-1}, {0, 0, 600, 400}, 700, {0, 67, 600, 266}},
        {{-1}, {0, 0, 1200, 900}, 1000, {100, 150, 1000, 600}},
        {{-1}, {1920, 24, 1280, 1000}, 600, {2133, 191, 853, 666}},
    };
    for (const auto& [stored, screen, minWidth, expected] : cases) {
        CMemoryProfile profile;
        if (stored.x != -1)
            StoreWindowPlace(profile, stored);
        const CWindowPlace place = PlaceMainWindow(profile, screen, minWidth);
        EXPECT_EQ(
            std::tie(place.x, place.y, place.width, place.height, place.maximized),
            std::tie(expected.x, expected.y, expected.width, expected.height, expected.maximized))
            << stored.x << "," << stored.width << " on " << screen.width;
    }
    CMemoryProfile profile;
    StoreWindowPlace(profile, {1, 2, 300, 400, true});
    // The Windows program keeps the same names in its registry section.
    const std::pair<const char*, int> entries[] = {{"WindowLeft", 1},
                                                   {"WindowTop", 2},
                                                   {"WindowWidth", 300},
                                                   {"WindowHeight", 400},
                                                   {"WindowMaximized", 1}};
    for (const auto& [entry, value] : entries)
        EXPECT_EQ(profile.GetProfileInt("Settings", entry, -1), value) << entry;
}

}  // namespace
}  // namespace bankwise
