// The document's roads from command to file, once for both desktop programs:
// a fake front end answers every box and dialog from a script and holds the
// view's text and the status bar.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Document.h"
#include "StringTable.h"

namespace bankwise {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// As the document keeps it: absolute, in the system's own form.
std::string Example(const char* name)
{
    return fs::absolute(fs::path(BANKWISE_EXAMPLES_DIR) / name).string();
}

class CFakeFrontEnd final : public IUserPrompt, public ITextView, public IDocumentFrame
{
public:
    EAnswer Message(EBox box, const std::string& text) override
    {
        asked.push_back(text);
        if (box == EBox::Warning || answers.empty())
            return box == EBox::Warning ? EAnswer::Ok : EAnswer::Cancel;
        const EAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::string FileName(CFileRequest& request) override
    {
        requests.push_back(request);
        if (chosenFilter)
            request.nFilter = *chosenFilter;
        std::string file;
        if (!files.empty()) {
            file = files.front();
            files.pop_front();
        }
        return file;
    }
    bool RunOptionsDialog(const CDumpExtractor&) override
    {
        ++optionsShown;
        return optionsOk;
    }
    std::string GetText() const override { return text; }
    void SetText(std::string_view bytes) override
    {
        text = bytes;
        changed = false;
    }
    bool IsUserChanged() const override { return changed; }
    void SetStatusText(const std::string& newStatus) override { status = newStatus; }

    Strings asked;
    std::deque<EAnswer> answers;
    std::vector<CFileRequest> requests;
    std::deque<std::string> files;
    std::optional<std::size_t> chosenFilter;
    int optionsShown = 0;
    bool optionsOk = true;
    std::string text;
    bool changed = false;
    std::string status;
};

class DocumentRoad : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = fs::temp_directory_path() / (std::string("bankwise-doc-") + test->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        profile.WriteProfileInt(kSettingsSection, kEntryShowOptions, 0);
    }
    void TearDown() override { fs::remove_all(m_dir); }
    std::string Path(const char* name) const { return (m_dir / name).string(); }
    // The user types in the view.
    void Edit(const std::string& typed)
    {
        ui.text = typed + ui.text;
        ui.changed = true;
        doc.SetModifiedFlag();
    }

    fs::path m_dir;
    CMemoryProfile profile;
    CFakeFrontEnd ui;
    CDocument doc{profile, ui, ui, ui, {}, fs::temp_directory_path().string()};
};

TEST_F(DocumentRoad, OpenConvertSaveAndSaveAgain)
{
    const std::string dump = Example("roland-jvxp.syx");
    ASSERT_TRUE(doc.OpenDocumentFile(dump));
    EXPECT_EQ(ui.text, ReadAll(Example("roland-jvxp.ins")));
    EXPECT_EQ(doc.GetTitle(), "roland-jvxp");
    EXPECT_TRUE(doc.HasExtractor() && !doc.IsModified() && doc.GetPathName().empty());
    EXPECT_EQ(doc.GetRecentFiles(), Strings{dump});
    EXPECT_EQ(ui.status, "Roland JV/XP: 3 patches, 2 performances, 1 rhythm set");

    ui.files = {Path("first.ins")};  // the first save asks, proposing the title
    Edit("; mine\r\n");
    ASSERT_TRUE(doc.OnFileSave());
    ASSERT_EQ(ui.requests.size(), 1u);
    const CFileFilter& filter = ui.requests[0].filters.at(0);
    EXPECT_EQ(Strings({filter.strName, filter.strDefaultExt, ui.requests[0].strProposedName}),
              Strings({"Instrument Files (*.ins)", "ins",
                       (fs::temp_directory_path() / "roland-jvxp.ins").string()}));
    EXPECT_EQ(filter.patterns, Strings{"*.ins"});
    EXPECT_EQ(ReadAll(Path("first.ins")), ui.text);
    EXPECT_EQ(doc.GetTitle(), "first.ins");
    EXPECT_EQ(doc.GetPathName(), Path("first.ins"));
    EXPECT_FALSE(doc.IsModified());

    Edit("x");  // the second save writes without asking
    ASSERT_TRUE(doc.OnFileSave());
    EXPECT_EQ(ui.requests.size(), 1u);
    EXPECT_EQ(ReadAll(Path("first.ins")), ui.text);
    // Save As proposes the document's own file, not "first.ins.ins".
    EXPECT_FALSE(doc.OnFileSaveAs());
    EXPECT_EQ(ui.requests.back().strProposedName, Path("first.ins"));
    EXPECT_EQ(doc.GetRecentFiles(), Strings{dump});
    EXPECT_TRUE(ui.asked.empty());
}

// Every example dump, raw or in a MIDI file, opens as its text; the naming
// options come from the profile the document was given.
TEST_F(DocumentRoad, EveryExampleOpensAsItsText)
{
    std::size_t opened = 0;
    for (const auto& entry : fs::directory_iterator(BANKWISE_EXAMPLES_DIR)) {
        const fs::path dump = entry.path();
        if (dump.extension() != ".syx" && dump.extension() != ".mid")
            continue;
        ASSERT_TRUE(doc.OpenDocumentFile(fs::absolute(dump).string())) << dump;
        EXPECT_EQ(ui.text, ReadAll(fs::path(dump).replace_extension(".ins"))) << dump;
        ++opened;
    }
    EXPECT_GE(opened, 12u);
    profile.WriteProfileString("Roland JV/XP", "BankFormat", "Studio JV");
    ASSERT_TRUE(doc.OpenDocumentFile(Example("roland-jvxp.mid")));
    EXPECT_NE(ui.text.find("\r\n[Studio JV]\r\n"), std::string::npos);
    EXPECT_TRUE(ui.asked.empty());
}

TEST_F(DocumentRoad, ADumpNamedInsIsNeverTheSaveTarget)
{
    const std::string dump = Path("x.ins");
    WriteAll(dump, ReadAll(Example("roland-jvxp.syx")));
    ASSERT_TRUE(doc.OpenDocumentFile(dump));
    EXPECT_EQ(doc.GetTitle(), "x");
    EXPECT_TRUE(doc.GetPathName().empty());
    EXPECT_EQ(doc.GetRecentFiles(), Strings{dump});
    EXPECT_FALSE(doc.OnFileSave());  // asks, and the user cancels
    EXPECT_EQ(ui.requests.size(), 1u);
    EXPECT_EQ(ReadAll(dump), ReadAll(Example("roland-jvxp.syx")));
}

TEST_F(DocumentRoad, EditsAreAskedForAndKeptWithTheirFlag)
{
    ASSERT_TRUE(doc.OpenDocumentFile(Example("roland-jvxp.syx")));
    Edit("edited ");
    const std::string edited = ui.text;

    ui.answers = {EAnswer::Cancel};  // the save-changes query cancelled: nothing opens
    EXPECT_FALSE(doc.OpenDocumentFile(Example("emu-orbit.syx")));
    EXPECT_EQ(doc.GetTitle(), "roland-jvxp");

    ui.asked.clear();
    ui.answers = {EAnswer::No, EAnswer::Cancel};  // the dump opens, the edits stay
    EXPECT_TRUE(doc.OpenDocumentFile(Example("access-virus.syx")));
    EXPECT_EQ(ui.asked,
              Strings({"Save changes to roland-jvxp?", "Modifications will be lost, OK ?"}));
    EXPECT_EQ(doc.GetTitle(), "access-virus");
    EXPECT_EQ(ui.text, edited);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.GetExtractor()->m_nNameID, std::uint32_t{IDS_SYNTH_VIRUS});

    ui.answers = {EAnswer::Ok};  // Options makes the text again, over the edits
    doc.OnViewOptions();
    EXPECT_EQ(ui.text, ReadAll(Example("access-virus.ins")));

    ui.answers = {EAnswer::Yes};  // Yes saves as Save does
    ui.files = {Path("kept.ins")};
    profile.WriteProfileString(kSettingsSection, "SaveDir", m_dir.string());
    doc.LoadRememberedDirs();
    EXPECT_TRUE(doc.OpenDocumentFile(Example("emu-orbit.syx")));
    EXPECT_EQ(ui.requests.back().filters.at(0).strName, "Instrument Files (*.ins)");
    EXPECT_EQ(ui.requests.back().strStartDir, m_dir.string());
    EXPECT_EQ(ReadAll(Path("kept.ins")), ReadAll(Example("access-virus.ins")));
    EXPECT_EQ(doc.GetTitle(), "emu-orbit");

    Edit("y");  // closing: Cancel keeps the window, No closes and drops the extractor
    ui.answers = {EAnswer::Cancel};
    EXPECT_FALSE(doc.CanCloseFrame());
    EXPECT_TRUE(doc.HasExtractor());
    ui.answers = {EAnswer::No};
    EXPECT_TRUE(doc.CanCloseFrame());
    EXPECT_FALSE(doc.HasExtractor());
}

TEST_F(DocumentRoad, TheOptionsDialogDecidesTheOpenWhenShown)
{
    profile.WriteProfileInt(kSettingsSection, kEntryShowOptions, 1);
    ui.optionsOk = false;  // Cancel abandons the open
    EXPECT_FALSE(doc.OpenDocumentFile(Example("roland-jvxp.syx")));
    EXPECT_EQ(doc.GetTitle(), "Untitled");
    EXPECT_FALSE(doc.HasExtractor());
    ui.optionsOk = true;
    EXPECT_TRUE(doc.OpenDocumentFile(Example("roland-jvxp.syx")));
    EXPECT_EQ(ui.optionsShown, 2);
    profile.WriteProfileInt(kSettingsSection, kEntryShowOptions, 0);
    EXPECT_TRUE(doc.OpenDocumentFile(Example("emu-orbit.syx")));
    EXPECT_EQ(ui.optionsShown, 2);
}

// No dump: why, with title and text kept; a cut-off dump opens and says so
// until the next open or New.
TEST_F(DocumentRoad, BadInputSaysWhyAndKeepsTheDocument)
{
    WriteAll(Path("short.syx"), "");
    WriteAll(Path("names.ins"), "[Bank]\r\n");
    const std::string jv = ReadAll(Example("roland-jvxp.syx"));
    WriteAll(Path("cut.syx"), jv.substr(0, jv.size() - 5));
    const std::pair<std::string, std::string> files[] = {
        {m_dir.string(), "Cannot read " + m_dir.string() + ":\n"},
        {Path("gone.syx"), "Cannot read " + Path("gone.syx") + ":\n"},
        {Path("short.syx"), "File is too short to hold a dump!"},
        {Path("names.ins"), "Unknown file format!"}};
    for (const auto& [file, message] : files) {
        ASSERT_TRUE(doc.OpenDocumentFile(Path("cut.syx")));
        EXPECT_EQ(ui.status.rfind("cut.syx: the dump ends inside a message; names after that "
                                  "point are missing - Roland JV/XP: ",
                                  0),
                  0u)
            << ui.status;
        ui.asked.clear();
        EXPECT_FALSE(doc.OpenDocumentFile(file));
        ASSERT_EQ(ui.asked.size(), 1u);
        EXPECT_EQ(ui.asked[0].rfind(message, 0), 0u) << ui.asked[0];
        EXPECT_EQ(doc.GetTitle(), "cut");
        EXPECT_EQ(ui.status, "");
        // A file never read leaves the dump's extractor too.
        EXPECT_EQ(doc.HasExtractor(), message.starts_with("Cannot read"));
    }
    EXPECT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(ui.status + ui.text + doc.GetTitle(), "Untitled");
}

TEST_F(DocumentRoad, RecentListAndMatchingFiles)
{
    for (const char* dump : {"emu-orbit.syx", "roland-jvxp.syx", "korg-prophecy.syx",
                             "korg-trrack.syx", "yamaha-fs1r.syx", "korg-prophecy.syx"})
        ASSERT_TRUE(doc.OpenDocumentFile(Example(dump)));
    const Strings four = {Example("korg-prophecy.syx"), Example("yamaha-fs1r.syx"),
                          Example("korg-trrack.syx"), Example("roland-jvxp.syx")};
    EXPECT_EQ(doc.GetRecentFiles(), four);
    doc.OnOpenRecentFile(1);
    EXPECT_EQ(doc.GetTitle(), "yamaha-fs1r");

    ui.files = {Path("names.txt")};  // not .ins: no path, on the list
    ASSERT_TRUE(doc.OnFileSave());
    EXPECT_EQ(doc.GetTitle(), "names");
    EXPECT_TRUE(doc.GetPathName().empty());
    EXPECT_EQ(doc.GetRecentFiles().front(), Path("names.txt"));

    ui.files = {Path("bank.ins")};  // .ins: it is the document, and opening it reads nothing
    ASSERT_TRUE(doc.OnFileSaveAs());
    EXPECT_EQ(MatchDocType(Path("bank.ins"), doc.GetPathName()), EConfidence::yesAlreadyOpen);
    ASSERT_TRUE(doc.OpenDocumentFile(Path("bank.ins")));
    EXPECT_TRUE(ui.asked.empty());

    fs::remove(Path("names.txt"));  // gone: off the list
    doc.OnOpenRecentFile(0);
    EXPECT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(doc.GetRecentFiles().size(), 3u);
    CDocument again(profile, ui, ui, ui, {}, m_dir.string());  // the list outlives the run
    again.LoadRecentFiles();
    EXPECT_EQ(again.GetRecentFiles(), doc.GetRecentFiles());
    // Four entries at most, whatever the store holds beyond them.
    for (const char* entry : {"File4", "File5"})
        profile.WriteProfileString("Recent File List", entry, Path(entry));
    again.LoadRecentFiles();
    EXPECT_EQ(again.GetRecentFiles().size(), 4u);
    EXPECT_EQ(again.GetRecentFiles().back(), Path("File4"));

    const std::pair<const char*, bool> native[] = {
        {"/d/x.SYX", true}, {"/d/x.Mid", true},         {"/d/x.ins", false},
        {"/d/bank", false}, {"/old.dumps/bank", false}, {"/d/x.syx.bak", false}};
    for (const auto& [path, yes] : native)
        EXPECT_EQ(MatchDocType(path, ""),
                  yes ? EConfidence::yesAttemptNative : EConfidence::yesAttemptForeign)
            << path;
    const CFileRequest open = MakeFileRequest(false);
    EXPECT_EQ(open.filters.at(0).strName, "Sysex File (*.syx; *.mid)");
    EXPECT_EQ(open.filters.at(0).patterns, Strings({"*.syx", "*.mid"}));
    EXPECT_EQ(open.strAllFilesFilter, "All Files (*)");
}

TEST_F(DocumentRoad, RememberedFolders)
{
    const fs::path openDir = m_dir / "dumps", saveDir = m_dir / "out";
    fs::create_directories(openDir);
    fs::create_directories(saveDir);
    fs::copy_file(Example("roland-jvxp.syx"), openDir / "jv.syx");
    doc.OnNewDocument();
    ui.files = {(openDir / "jv.syx").string(), (saveDir / "jv.ins").string()};
    doc.OnFileOpen();
    EXPECT_FALSE(ui.requests.back().bSave);
    ASSERT_TRUE(doc.OnFileSave() && doc.CanCloseFrame());
    EXPECT_EQ(profile.GetProfileString(kSettingsSection, "OpenDir", "-"), openDir.string());
    EXPECT_EQ(profile.GetProfileString(kSettingsSection, "SaveDir", "-"), saveDir.string());

    CDocument next(profile, ui, ui, ui, {}, m_dir.string());  // the next run starts there
    next.LoadRememberedDirs();
    next.OnFileOpen();
    EXPECT_EQ(ui.requests.back().strStartDir, openDir.string());
    next.OnFileSaveAs();
    EXPECT_EQ(ui.requests.back().strStartDir, saveDir.string());

    fs::remove_all(openDir);  // a folder that is gone is forgotten
    CDocument third(profile, ui, ui, ui, {}, m_dir.string());
    third.OnNewDocument();
    third.OnFileOpen();
    EXPECT_EQ(ui.requests.back().strStartDir, m_dir.string());
    ASSERT_TRUE(third.CanCloseFrame());
    EXPECT_EQ(profile.GetProfileString(kSettingsSection, "OpenDir", "-"), "");
}

// Export writes the dump's names afresh in the chosen format and remembers
// format and folder; the document stays as it was.
TEST_F(DocumentRoad, ExportRemembersFormatAndFolder)
{
    EXPECT_FALSE(doc.OnFileExport());
    ASSERT_TRUE(doc.OpenDocumentFile(Example("roland-jvxp.syx")));
    Edit("edited");
    ui.chosenFilter = 0;  // MIDNAM; the filter's extension is added
    ui.files = {Path("jv")};
    ASSERT_TRUE(doc.OnFileExport());
    const CFileRequest& request = ui.requests.back();
    EXPECT_EQ(request.filters.size(), 6u);
    EXPECT_EQ(request.filters.at(5).strName, "Instrument Files (*.ins)");
    EXPECT_EQ(request.strNote, LoadString(IDS_SHELL_EXPORT_NOTE));
    EXPECT_NE(ReadAll(Path("jv.midnam")).find("<MIDINameDocument>"), std::string::npos);
    ui.chosenFilter = 5;
    ui.files = {Path("jv")};
    ASSERT_TRUE(doc.OnFileExport());
    EXPECT_EQ(ReadAll(Path("jv.ins")), ReadAll(Example("roland-jvxp.ins")));
    EXPECT_EQ(profile.GetProfileString(kSettingsSection, "ExportFormat", ""), "ins");
    EXPECT_EQ(profile.GetProfileString(kSettingsSection, "ExportDir", ""), m_dir.string());
    EXPECT_TRUE(doc.IsModified() && doc.GetPathName().empty());
    EXPECT_EQ(doc.GetTitle(), "roland-jvxp");

    ui.chosenFilter.reset();  // the next export starts where the last one went
    EXPECT_FALSE(doc.OnFileExport());
    EXPECT_EQ(ui.requests.back().nFilter, 5u);
    EXPECT_EQ(ui.requests.back().strProposedName, Path("roland-jvxp.ins"));
    EXPECT_TRUE(ui.asked.empty());
}

// A refused write says so once and leaves the old file as it was.
TEST_F(DocumentRoad, ARefusedSaveKeepsTheOldFile)
{
    const std::string target = Path("names.ins");
    WriteAll(target, "old");
    fs::permissions(target, fs::perms::owner_read);
    ASSERT_TRUE(doc.OpenDocumentFile(Example("roland-jvxp.syx")));
    ui.files = {target};
    EXPECT_FALSE(doc.OnFileSaveAs());
    EXPECT_EQ(ReadAll(target), "old");
    EXPECT_EQ(ui.asked, Strings{"Cannot save " + target +
                                ":\nThe file is read-only\nThe file on disk was left as it was."});
    EXPECT_EQ(doc.GetTitle(), "roland-jvxp");
    fs::permissions(target, fs::perms::owner_all);
}

}  // namespace
}  // namespace bankwise
