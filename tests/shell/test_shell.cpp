// The desktop program road by road; a scripted prompt answers every box and dialog.
#include <QtPrintSupport>
#include <QtTest>
#include <QtWidgets>

#include <deque>
#include <functional>
#include <sstream>

#include <sys/stat.h>

#include "BankwiseApp.h"
#include "BankwiseDoc.h"
#include "BankwiseDocTemplate.h"
#include "BankwiseView.h"
#include "Converter.h"
#include "Detector.h"
#include "MainFrame.h"
#include "OptionsDialog.h"
#include "Prompt.h"
#include "SettingsProfile.h"
#include "StringTable.h"

using namespace bankwise;

namespace {

QString Example(const char* name)
{
    return QStringLiteral(BANKWISE_EXAMPLES "/") + QLatin1String(name);
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Answers every box and dialog from a script, and keeps what was asked.
class CScriptedPrompt final : public IPrompt
{
public:
    EAnswer Message(QWidget*, EBox box, const QString& text) override
    {
        asked << text;
        boxes.push_back(box);
        if (box == EBox::Warning)
            return EAnswer::Ok;
        unexpected = unexpected || answers.empty();
        const EAnswer answer = answers.empty() ? EAnswer::Cancel : answers.front();
        if (!answers.empty())
            answers.pop_front();
        return answer;
    }
    QString FileName(QWidget*, const CFileRequest& request) override
    {
        requests.push_back(request);
        if (request.selectedFilter != nullptr) {
            startFilters.push_back(*request.selectedFilter);
            if (!chosenFilter.isEmpty())
                *request.selectedFilter = chosenFilter;
        }
        const QString file = files.empty() ? QString() : files.front();
        if (!files.empty())
            files.pop_front();
        return file;
    }
    int Exec(QDialog& dialog) override
    {
        ++dialogs;
        if (onExec)
            return onExec(dialog);
        dialog.accept();
        return dialog.result();
    }

    QStringList asked;
    std::vector<EBox> boxes;
    std::deque<EAnswer> answers;
    std::vector<CFileRequest> requests;
    std::deque<QString> files;
    std::vector<QString> startFilters;  // the filter each dialog started with
    QString chosenFilter;               // the filter the user turns to; none: kept
    std::function<int(QDialog&)> onExec;
    int dialogs = 0;
    bool unexpected = false;
};

// One run of the program on the test's own settings, options box off unless asked.
struct CShell
{
    explicit CShell(const QString& ini, const QStringList& args = {"bankwise"},
                    bool showOptions = false)
        : profile(ini.toStdString()), app(profile, prompt)
    {
        if (!showOptions)
            profile.WriteProfileInt("Settings", "ShowOptions", 0);
        status = app.InitInstance(args);
    }
    CBankwiseDoc& doc() { return app.Document(); }
    CBankwiseView& view() { return *app.Document().GetView(); }
    CMainFrame& frame() { return *app.MainFrame(); }
    QString title() { return frame().windowTitle(); }
    QString barText() { return frame().statusBar()->currentMessage(); }
    bool optionsEnabled() { return frame().Action(ID_VIEW_OPTIONS)->isEnabled(); }
    QList<QAction*> fileMenu() { return frame().menuBar()->actions()[0]->menu()->actions(); }
    bool open(const char* example) { return app.OpenDocumentFile(Example(example)); }
    bool saveAs(const QString& target)
    {
        prompt.files = {target};
        return doc().OnFileSaveAs();
    }

    CSettingsProfile profile;
    CScriptedPrompt prompt;
    CBankwiseApp app;
    int status = 0;
};

// What bankwise-convert writes for the dump with the settings in ini.
std::string ConverterOutput(const QString& dump, const QString& ini, const char* format = "ins")
{
    CSettingsProfile stored(ini.toStdString());
    std::ostringstream out, err;
    const int status = RunConverter({"--format", format, dump.toStdString()}, out, err, stored);
    return status == 0 ? out.str() : "failed: " + err.str();
}

template <typename T> T* Control(COptionsDialog& dlg, int id)
{
    return static_cast<T*>(dlg.Control(id));
}

const QString kMidnamFilter = QStringLiteral("MIDNAM Files (*.midnam)");
const QString kReabankFilter = QStringLiteral("REAPER Bank Files (*.reabank)");
const QString kInsFilter = QStringLiteral("Instrument Files (*.ins)");
const QString kCubaseFilter = QStringLiteral("Cubase Patch Name Scripts (*.txt)");
// What Export offers, in the order of its filters: --format, extension, filter.
const std::tuple<const char*, const char*, QString> kExports[] = {
    {"midnam", ".midnam", kMidnamFilter},
    {"reabank", ".reabank", kReabankFilter},
    {"cubase", ".txt", kCubaseFilter},
    {"rgd", ".rgd", QStringLiteral("Rosegarden Device Files (*.rgd)")},
    {"idf", ".idf", QStringLiteral("MusE Instrument Definitions (*.idf)")},
    {"ins", ".ins", kInsFilter},
};

// One bank whose number bank select cannot carry, titled beyond ASCII.
class CWideBankExtractor final : public CDumpExtractor
{
public:
    CWideBankExtractor() : CDumpExtractor(IDS_SYNTH_ORBIT, "Bank %d", nullptr) {}
    bool Parse(CByteSource&, bool, std::uint32_t) override { return true; }
    void ClearNames() override {}
    void StoreSampleNames(std::span<const std::string>) override {}

protected:
    CDefinition BuildDefinition() const override
    {
        CDefinition definition = StartDefinition(IDS_MAKER_EMU);
        definition.banks.push_back({"Caf\xE9", 16384, {{"", "x"}}, false});
        return definition;
    }
};

}  // namespace

class ShellTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_ini;

    QString Path(const QString& name) const { return m_dir.filePath(name); }
    void Store(const char* section, const char* entry, const std::string& value) const
    {
        CSettingsProfile(m_ini.toStdString()).WriteProfileString(section, entry, value);
    }
    QStringList Stored(std::initializer_list<const char*> entries) const
    {
        CSettingsProfile profile(m_ini.toStdString());
        QStringList values;
        for (const char* entry : entries)
            values << QString::fromStdString(profile.GetProfileString("Settings", entry, "absent"));
        return values;
    }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_ini = Path(QStringLiteral("Bankwise-%1.conf").arg(QTest::currentTestFunction()));
        QFile::remove(m_ini);
    }

    void openConvertSave_data()
    {
        QTest::addColumn<QString>("dump");
        for (const char* name : {"roland-jvxp.syx", "access-virus.mid", "emu-orbit.syx",
                                 "yamaha-fs1r.syx", "korg-prophecy.mid", "korg-trrack.syx"})
            QTest::newRow(name) << Example(name);
    }
    void openConvertSave()
    {
        QFETCH(QString, dump);
        Store("Roland JV/XP", "InstrFormat", "U%04d|");
        CShell shell(m_ini);
        QVERIFY(shell.app.OpenDocumentFile(dump));
        const QString base = QFileInfo(dump).completeBaseName();
        QCOMPARE(shell.title(), base + " - Bankwise");
        QVERIFY(shell.optionsEnabled());
        QCOMPARE(shell.app.GetRecentFiles(), QStringList{dump});

        const QString target = Path(base + ".ins");  // first save: asks
        shell.prompt.files = {target};
        QVERIFY(shell.doc().OnFileSave());
        QCOMPARE(shell.prompt.requests.size(), std::size_t{1});
        const CFileRequest& request = shell.prompt.requests.front();
        QCOMPARE(QStringList({request.filterName, request.defaultSuffix,
                              QFileInfo(request.proposedName).fileName()}) +
                     request.patterns,
                 QStringList({kInsFilter, "ins", base + ".ins", "*.ins"}));
        const QByteArray saved = ReadAll(target);
        QCOMPARE(saved.toStdString(), ConverterOutput(dump, m_ini));
        QCOMPARE(shell.title(), base + ".ins - Bankwise");

        shell.view().moveCursor(QTextCursor::End);  // second: no question
        QTest::keyClicks(&shell.view(), "; mine");
        QVERIFY(shell.doc().OnFileSave());
        QCOMPARE(shell.prompt.requests.size(), std::size_t{1});
        QCOMPARE(ReadAll(target), saved + "; mine");
        QCOMPARE(shell.app.GetRecentFiles(), QStringList{dump});
        QVERIFY(shell.prompt.asked.empty());
        QCOMPARE(shell.barText(), QString());
    }

    // Bytes are saved as they came; only CR LF ends a line on screen.
    void viewKeepsEveryByte()
    {
        std::string everyByte;
        for (int c = 0; c < 256; ++c)
            everyByte += static_cast<char>(c);
        CBankwiseView view;
        for (const std::string& bytes : {everyByte, std::string("a\rb\nc\r\n\r\r\n\n\r")}) {
            view.SetTextBytes(bytes);
            QCOMPARE(view.GetTextBytes(), bytes);
            QVERIFY(!view.IsUserChanged());
        }
        QCOMPARE(BytesFromText(QStringLiteral("x\u20ACy")), std::string("x?y"));
        view.SetTextBytes("\r\nx\ry\r\n");
        QCOMPARE(view.document()->blockCount(), 3);
    }

    // Markup previews as text; OK needs a definition name.
    void optionsDialog()
    {
        CSettingsProfile profile(m_ini.toStdString());
        const auto e = FindFamily(IDS_SYNTH_PROPHECY)->create();
        COptionsDialog dlg(profile, e->m_nNameID, e->m_pszBankFormat, e->m_pszInstrFormat);
        QCOMPARE(dlg.windowTitle(), "Instrument file options for Korg Prophecy");
        const QString tail = ".Instrument Definitions\n[Korg Prophecy]\nPatch[128]=Prophecy Bank A";
        QCOMPARE(dlg.PreviewText(),
                 ".Patch Names\n[Prophecy Bank A]\n0=A00:XXX\n1=A01:YYY\n...\n" + tail);
        auto* instr = Control<QLineEdit>(dlg, COptionsDialog::IDC_INSTR_FORMAT);
        instr->selectAll();
        QTest::keyClicks(instr, "<b>%c %s%n");
        QCOMPARE(dlg.PreviewText(),
                 ".Patch Names\n[Prophecy Bank A]\n0=<b>A %s%nXXX\n1=<b>A %s%nYYY\n...\n" + tail);

        auto* definition = Control<QLineEdit>(dlg, COptionsDialog::IDC_DEFINITION);
        auto* ok = dlg.Control(1);
        QVERIFY(ok->isEnabled());
        definition->selectAll();
        QTest::keyClick(definition, Qt::Key_Backspace);
        QVERIFY(!ok->isEnabled());
        QTest::keyClick(definition, Qt::Key_Return);  // the default button, disabled
        QCOMPARE(dlg.result(), int{QDialog::Rejected});
        QTest::keyClicks(definition, "Mine");
        QVERIFY(ok->isEnabled());
        const QString before = dlg.PreviewText();
        Control<QCheckBox>(dlg, COptionsDialog::IDC_SHOW_OPTIONS)->click();
        QCOMPARE(dlg.PreviewText(), before);
    }

    // The box is stored only on OK, check box included, and shows what is stored.
    void optionsWriteOnlyOnOk()
    {
        const QString dump = Example("roland-jvxp.syx");
        CShell shell(m_ini, {"bankwise"}, true);
        std::vector<bool> shownChecked;
        const auto answer = [&](const char* bank, bool showAgain, bool ok) {
            shell.prompt.onExec = [&shownChecked, bank, showAgain, ok](QDialog& dialog) {
                auto& dlg = dynamic_cast<COptionsDialog&>(dialog);
                auto* check = Control<QCheckBox>(dlg, COptionsDialog::IDC_SHOW_OPTIONS);
                shownChecked.push_back(check->isChecked());
                Control<QLineEdit>(dlg, COptionsDialog::IDC_BANK_FORMAT)->setText(bank);
                check->setChecked(showAgain);
                ok ? Control<QPushButton>(dlg, 1)->click() : dlg.reject();
                return dlg.result();
            };
        };
        const auto stored = [&] {
            return std::pair(shell.profile.GetProfileString("Roland JV/XP", "BankFormat", "-"),
                             shell.profile.GetProfileInt("Settings", "ShowOptions", 7));
        };
        answer("X", false, false);  // Cancel abandons the open
        QVERIFY(!shell.app.OpenDocumentFile(dump));
        QCOMPARE(shell.title(), "Untitled - Bankwise");
        QVERIFY(!shell.optionsEnabled());
        QCOMPARE(stored(), std::pair(std::string("-"), 7));

        answer("Studio JV", true, true);  // bankwise-convert reads the same store
        QVERIFY(shell.app.OpenDocumentFile(dump));
        QCOMPARE(stored(), std::pair(std::string("Studio JV"), 1));
        QVERIFY(ConverterOutput(dump, m_ini).find("[Studio JV]\r\n") != std::string::npos);
        QCOMPARE(shell.view().GetTextBytes(), ConverterOutput(dump, m_ini));
        answer("Studio JV", false, true);
        shell.frame().Action(ID_VIEW_OPTIONS)->trigger();
        QCOMPARE(stored().second, 0);

        QVERIFY(shell.open("access-virus.syx"));  // box switched off
        QCOMPARE(shell.prompt.dialogs, 3);
        shell.frame().Action(ID_VIEW_OPTIONS)->trigger();
        QCOMPARE(shownChecked, std::vector<bool>({true, true, true, false}));
    }

    void editedTextQuestions()
    {
        Store("Settings", "SaveDir", m_dir.path().toStdString());
        CShell shell(m_ini);
        QVERIFY(shell.open("roland-jvxp.syx"));
        QTest::keyClicks(&shell.view(), "edited ");
        QVERIFY(shell.doc().IsModified());

        shell.app.AddToRecentFileList(Example("emu-orbit.syx"));  // Cancel: nothing opens
        shell.prompt.answers = {EAnswer::Cancel, EAnswer::Cancel};
        QVERIFY(!shell.open("emu-orbit.syx"));
        shell.app.OnOpenRecentFile(0);
        QCOMPARE(shell.app.GetRecentFiles().size(), 2);
        QCOMPARE(shell.title(), "roland-jvxp - Bankwise");

        shell.prompt.asked.clear();
        shell.prompt.answers = {EAnswer::No, EAnswer::Cancel};
        QVERIFY(shell.open("access-virus.syx"));
        QCOMPARE(shell.prompt.asked,
                 QStringList({"Save changes to roland-jvxp?", "Modifications will be lost, OK ?"}));
        QCOMPARE(shell.prompt.boxes.back(), EBox::OkCancel);
        QCOMPARE(shell.title(), "access-virus - Bankwise");
        QVERIFY(shell.view().toPlainText().startsWith("edited ; Cakewalk"));
        QCOMPARE(shell.doc().m_pExtractor->m_nNameID, std::uint32_t{IDS_SYNTH_VIRUS});

        shell.prompt.answers = {EAnswer::Ok};  // asks again over edits
        shell.doc().OnViewOptions();
        QCOMPARE(shell.prompt.asked.size(), 3);
        QVERIFY(shell.view().toPlainText().startsWith("; Cakewalk"));

        QTest::keyClicks(&shell.view(), "x");  // Yes saves like Save
        shell.prompt.answers = {EAnswer::Yes, EAnswer::Ok};
        shell.prompt.files = {Path("kept.ins")};
        QVERIFY(shell.open("emu-orbit.syx"));
        QCOMPARE(shell.prompt.requests.back().filterName, kInsFilter);
        QCOMPARE(shell.prompt.requests.back().startDir, m_dir.path());
        QVERIFY(ReadAll(Path("kept.ins")).startsWith("x; Cakewalk"));
        QCOMPARE(shell.title(), "emu-orbit - Bankwise");

        QTest::keyClicks(&shell.view(), "y");
        shell.prompt.answers = {EAnswer::Cancel};
        QVERIFY(!shell.frame().close() && shell.optionsEnabled());
        shell.prompt.answers = {EAnswer::No};
        QVERIFY(shell.frame().close() && !shell.optionsEnabled());
        QVERIFY(!shell.prompt.unexpected);
    }

    void titleRecentListAndMatch()
    {
        {
            CShell shell(m_ini);
            CBankwiseDocTemplate& t = shell.app.Template();
            CBankwiseDoc* match = nullptr;
            const std::pair<const char*, bool> native[] = {
                {"/d/x.SYX", true}, {"/d/x.Mid", true},         {"/d/x.ins", false},
                {"/d/bank", false}, {"/old.dumps/bank", false}, {"/d/x.syx.bak", false}};
            for (const auto& [path, yes] : native)
                QCOMPARE(t.MatchDocType(QString::fromLatin1(path), match),
                         yes ? CBankwiseDocTemplate::yesAttemptNative
                             : CBankwiseDocTemplate::yesAttemptForeign);
            QCOMPARE(t.MakeFileRequest(false).patterns, QStringList({"*.syx", "*.mid"}));
            QCOMPARE(t.MakeFileRequest(false).filterName, "Sysex File (*.syx; *.mid)");
            // A document string without the field: no extension, nothing native.
            CBankwiseDocTemplate bare(IDS_SHELL_UNTITLED);
            QString text;
            QVERIFY(!bare.GetDocString(text, CBankwiseDocTemplate::filterExt));
            QCOMPARE(bare.MatchDocType("/d/x.syx", match), CBankwiseDocTemplate::yesAttemptForeign);

            for (const char* dump : {"emu-orbit.syx", "roland-jvxp.syx", "korg-prophecy.syx",
                                     "korg-trrack.syx", "yamaha-fs1r.syx", "korg-prophecy.syx"})
                QVERIFY(shell.open(dump));
            QCOMPARE(shell.app.GetRecentFiles(),  // four stay, latest first
                     QStringList({Example("korg-prophecy.syx"), Example("yamaha-fs1r.syx"),
                                  Example("korg-trrack.syx"), Example("roland-jvxp.syx")}));
            QList<QAction*> recent;
            for (QAction* a : shell.fileMenu()) {
                if (a->text() == QLatin1String("Recent File"))
                    QVERIFY(!a->isVisible() && !a->isEnabled());
                if (a->text().startsWith(QLatin1Char('&')) && a->text().at(1).isDigit())
                    recent.append(a);
            }
            QCOMPARE(recent.size(), 4);
            QCOMPARE(recent[1]->text(), "&2 " + Example("yamaha-fs1r.syx"));
            QCOMPARE(recent[1]->statusTip(), "Open this document");
            recent[1]->trigger();
            QCOMPARE(shell.title(), "yamaha-fs1r - Bankwise");

            shell.prompt.files = {Path("names.txt")};  // not .ins: no path
            QVERIFY(shell.doc().OnFileSave());
            QCOMPARE(shell.title(), "names - Bankwise");
            QVERIFY(shell.doc().GetPathName().isEmpty());
            QCOMPARE(shell.app.GetRecentFiles().front(), Path("names.txt"));

            QVERIFY(shell.saveAs(Path("bank.ins")));  // .ins: it is the document
            QVERIFY(shell.app.OpenDocumentFile(Path("bank.ins")));
            QCOMPARE(t.MatchDocType(Path("bank.ins"), match), CBankwiseDocTemplate::yesAlreadyOpen);
            QVERIFY(match == &shell.doc() && shell.prompt.asked.empty());

            QFile::remove(Path("names.txt"));  // gone: off the list
            shell.app.OnOpenRecentFile(0);
            QCOMPARE(shell.prompt.asked.size(), 1);
            QCOMPARE(shell.app.GetRecentFiles().size(), 3);
        }
        CShell again(m_ini);  // the list outlives the run
        QCOMPARE(again.app.GetRecentFiles().front(), Example("yamaha-fs1r.syx"));
        QCOMPARE(again.title(), "Untitled - Bankwise");
    }

    void rememberedFolders()
    {
        const QString openDir = Path("dumps"), saveDir = Path("out");
        QVERIFY(QDir().mkpath(openDir) && QDir().mkpath(saveDir));
        QVERIFY(QFile::copy(Example("roland-jvxp.syx"), openDir + "/jv.syx"));
        {
            CShell shell(m_ini);
            shell.prompt.files = {openDir + "/jv.syx", saveDir + "/jv.ins"};
            shell.app.OnFileOpen();
            QVERIFY(!shell.prompt.requests.back().save);
            QVERIFY(shell.doc().OnFileSave() && shell.frame().close());
        }
        QCOMPARE(Stored({"OpenDir", "SaveDir"}), QStringList({openDir, saveDir}));
        {
            // Started on a dump: the stored folders are used and kept.
            CShell shell(m_ini, {"bankwise", Example("emu-orbit.syx")});
            QCOMPARE(shell.status, CBankwiseApp::kRunEventLoop);
            shell.app.OnFileOpen();
            QCOMPARE(shell.prompt.requests.back().startDir, openDir);
            shell.saveAs(QString());
            QCOMPARE(shell.prompt.requests.back().startDir, saveDir);
            QVERIFY(shell.frame().close());
        }
        QCOMPARE(Stored({"OpenDir", "SaveDir"}), QStringList({openDir, saveDir}));
        {
            QVERIFY(QDir(openDir).removeRecursively());  // a gone folder is forgotten
            CShell shell(m_ini);
            shell.app.OnFileOpen();
            QVERIFY(shell.prompt.requests.back().startDir != openDir);
            QVERIFY(shell.frame().close());
        }
        QCOMPARE(Stored({"OpenDir", "SaveDir"}), QStringList({QString(), saveDir}));
    }

    // No dump: why, and title and text kept; a cut-off dump opens and says so.
    void badInput()
    {
        QVERIFY(WriteAll(Path("short.syx"), {}));
        QVERIFY(WriteAll(Path("names.ins"), "[Bank]\r\n"));
        QVERIFY(WriteAll(Path("cut.syx"), ReadAll(Example("roland-jvxp.syx")).chopped(5)));
        CShell shell(m_ini);
        QVERIFY(shell.open("roland-jvxp.syx"));
        const std::string text = shell.view().GetTextBytes();
        const std::pair<QString, QString> files[] = {
            {m_dir.path(), "Cannot read " + m_dir.path() + ":\n"},
            {Path("gone.syx"), "Cannot read " + Path("gone.syx") + ":\n"},
            {Path("short.syx"), "File is too short to hold a dump!"},
            {Path("names.ins"), "Unknown file format!"}};
        for (const auto& [file, message] : files) {
            shell.prompt.asked.clear();
            QVERIFY(!shell.app.OpenDocumentFile(file));
            QCOMPARE(shell.prompt.asked.size(), 1);
            QVERIFY2(shell.prompt.asked[0].startsWith(message), qPrintable(file));
            QCOMPARE(shell.title(), "roland-jvxp - Bankwise");
            QCOMPARE(shell.view().GetTextBytes(), text);
            // A file never read leaves the dump's extractor too.
            QCOMPARE(shell.optionsEnabled(), message.startsWith("Cannot read"));
        }
        shell.prompt.asked.clear();
        QVERIFY(shell.app.OpenDocumentFile(Path("cut.syx")) && shell.prompt.asked.empty());
        QCOMPARE(shell.barText(),
                 "cut.syx: the dump ends inside a message; names after that point are missing");
        QVERIFY(shell.open("emu-orbit.syx"));
        QCOMPARE(shell.barText(), QString());
        CShell started(m_ini, {"bankwise", Path("cut.syx")});  // opened before it is shown
        QVERIFY(started.barText().startsWith("cut.syx: ") && !started.frame().Pane(0)->isVisible());
    }

    // The keys, the commands' first state and tips, the lock-key panes, drops.
    void frameKeysLocksAndDrops()
    {
        CShell shell(m_ini);
        CMainFrame& frame = shell.frame();
        const std::tuple<QKeySequence, std::uint32_t, bool> keys[] = {
            {QKeySequence(Qt::CTRL | Qt::Key_N), ID_FILE_NEW, true},
            {QKeySequence(Qt::ALT | Qt::Key_Backspace), ID_EDIT_UNDO, false},
            {QKeySequence(Qt::SHIFT | Qt::Key_Delete), ID_EDIT_CUT, false},
            {QKeySequence(Qt::CTRL | Qt::Key_Insert), ID_EDIT_COPY, false},
            {QKeySequence(Qt::SHIFT | Qt::Key_Insert), ID_EDIT_PASTE, true},
            {QKeySequence(Qt::SHIFT | Qt::Key_F6), ID_PREV_PANE, true}};
        for (const auto& [key, id, enabled] : keys) {
            QVERIFY2(frame.Action(id)->shortcuts().contains(key), qPrintable(key.toString()));
            QCOMPARE(frame.Action(id)->isEnabled(), enabled);
        }
        QVERIFY(frame.Action(ID_VIEW_STATUS_BAR)->isChecked());
        QCOMPARE(frame.Action(ID_FILE_OPEN)->toolTip(), "Open");  // the prompt's second line

        CLockKeys locks;
        frame.SetLockKeysSource([&locks] { return locks; });
        const auto release = [&](Qt::Key key) {
            QKeyEvent event(QEvent::KeyRelease, key, Qt::NoModifier);
            QCoreApplication::sendEvent(&shell.view(), &event);
            return frame.Pane(ID_INDICATOR_CAPS)->text() + frame.Pane(ID_INDICATOR_NUM)->text() +
                   frame.Pane(ID_INDICATOR_SCRL)->text();
        };
        locks.caps = true;
        QCOMPARE(release(Qt::Key_A), QString());
        QCOMPARE(release(Qt::Key_CapsLock), "CAP");
        locks = {false, true, false};
        QCOMPARE(release(Qt::Key_NumLock), "NUM");
        locks = {false, false, true};
        QCOMPARE(release(Qt::Key_ScrollLock), "SCRL");
        locks = {true, true, false};
        QEvent activate(QEvent::ApplicationActivate);
        QCoreApplication::sendEvent(qApp, &activate);
        QCOMPARE(release(Qt::Key_A), "CAPNUM");

        QVERIFY(shell.open("korg-trrack.syx"));  // Ctrl+N empties the view
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        QTest::keyClick(&frame, Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(shell.view().toPlainText(), QString());
        QCOMPARE(shell.title(), "Untitled - Bankwise");

        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(Example("emu-orbit.syx")),
                      QUrl::fromLocalFile(Example("yamaha-fs1r.mid"))});
        const QPoint inside = frame.rect().center();
        QDragEnterEvent enter(inside, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&frame, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(inside, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&frame, &drop);
        QTRY_COMPARE(shell.title(), "yamaha-fs1r - Bankwise");
        QCOMPARE(shell.app.GetRecentFiles().mid(0, 2),
                 QStringList({Example("yamaha-fs1r.mid"), Example("emu-orbit.syx")}));
    }

    // Export writes what bankwise-convert writes; the document stays as it was.
    void exportFormats()
    {
        Store("Roland JV/XP", "Definition", "Caf\xE9 JV");
        const QString dump = Example("roland-jvxp.syx");
        const QString exports = Path("exports");
        QVERIFY(QDir().mkpath(exports));
        {
            CShell shell(m_ini);
            QAction* exportAction = shell.frame().Action(ID_FILE_EXPORT);
            QVERIFY(!exportAction->isEnabled() && !shell.doc().OnFileExport());
            QVERIFY(shell.app.OpenDocumentFile(dump) && exportAction->isEnabled());
            QTest::keyClicks(&shell.view(), "edited");
            const std::string text = shell.view().GetTextBytes();
            for (const auto& [format, extension, filter] : kExports) {
                shell.prompt.files = {exports + "/jv"};  // the filter adds the extension
                shell.prompt.chosenFilter = filter;
                exportAction->trigger();
                QCOMPARE(ReadAll(exports + "/jv" + extension).toStdString(),
                         ConverterOutput(dump, m_ini, format));
            }
            QVERIFY(ReadAll(exports + "/jv.midnam").contains("Caf\xC3\xA9 JV"));
            QCOMPARE(QFileInfo(shell.prompt.requests.front().proposedName).fileName(),
                     "roland-jvxp.midnam");
            QCOMPARE(shell.view().GetTextBytes(), text);
            QCOMPARE(shell.title(), "roland-jvxp - Bankwise");
            QVERIFY(shell.doc().IsModified() && shell.doc().GetPathName().isEmpty());
            QCOMPARE(shell.app.GetRecentFiles(), QStringList{dump});
            QVERIFY(shell.prompt.asked.empty());

            shell.doc().m_pExtractor = std::make_unique<CWideBankExtractor>();
            shell.prompt.chosenFilter = kReabankFilter;
            shell.prompt.files = {Path("wide.reabank")};
            QVERIFY(shell.doc().OnFileExport());
            QCOMPARE(shell.prompt.asked, QStringList{QString::fromUtf8(
                                             "Left out bank \"Caf\xC3\xA9\": its number 16384 "
                                             "cannot be sent as bank select MSB and LSB")});

            shell.prompt.answers = {EAnswer::No};
            QVERIFY(shell.frame().close() && !exportAction->isEnabled());
        }
        // The next run starts where the last export went, else falls back.
        for (const auto& [format, dir, ext] :
             {std::tuple("reabank", exports, ".reabank"), std::tuple("txt", Path("gone"), ".txt"),
              std::tuple("xml", exports, ".midnam")}) {
            Store("Settings", "ExportFormat", format);
            Store("Settings", "ExportDir", dir.toStdString());
            CShell shell(m_ini);
            QVERIFY(shell.open("emu-orbit.syx"));
            shell.prompt.files = {exports + "/orbit"};
            QVERIFY(shell.doc().OnFileExport());
            QCOMPARE(shell.prompt.startFilters.back(), ext[1] == 'm'   ? kMidnamFilter
                                                       : ext[1] == 'r' ? kReabankFilter
                                                                       : kCubaseFilter);
            const QString start = dir == exports ? exports : shell.doc().GetCurrentDir();
            QCOMPARE(shell.prompt.requests.back().proposedName, start + "/emu-orbit" + ext);
            QVERIFY(QFile::exists(exports + "/orbit" + ext));
            QCOMPARE(Stored({"ExportDir", "ExportFormat"}), QStringList({exports, ext + 1}));
        }
    }

    // The real dialog: filters, name, note; the user's filter wins.
    void exportDialog()
    {
        CShell shell(m_ini);
        QVERIFY(shell.open("emu-orbit.syx"));
        QVERIFY(!shell.doc().OnFileExport());  // cancelled; the request is kept
        CFileRequest request = shell.prompt.requests.back();
        request.proposedName = Path("emu-orbit.reabank");
        QString filter = kReabankFilter;
        request.selectedFilter = &filter;

        QStringList seen;  // filters, name, filter, suffix, note lines shown
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr)
                return;
            timer.stop();
            auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            seen << dialog->nameFilters() << name->text() << types->currentText()
                 << dialog->defaultSuffix();
            for (const QLabel* label : dialog->findChildren<QLabel*>(QStringLiteral("note")))
                seen << (label->isVisible() ? label->text() : QStringLiteral("hidden"));
            QTest::keyClick(types, Qt::Key_Up);
            name->setText(QStringLiteral("picked"));
            static_cast<QDialog*>(dialog)->accept();  // QFileDialog::accept, which reads the name
        });
        timer.start(10);
        QCOMPARE(CWidgetPrompt().FileName(nullptr, request), Path("picked.midnam"));
        QStringList filters;
        for (const auto& offered : kExports)
            filters << std::get<2>(offered);
        QCOMPARE(seen, filters + QStringList({"emu-orbit.reabank", kReabankFilter, "reabank",
                                              LoadQString(IDS_SHELL_EXPORT_NOTE)}));
        QCOMPARE(filter, kMidnamFilter);
    }

    // A refused write says so once and leaves the old file alone, nothing else;
    // Save and Export share the converter's rules for what they write over.
    void refusedWriteKeepsOldFile()
    {
        for (const bool exporting : {false, true}) {
            const QString folder = Path(exporting ? "export" : "save");
            const QString target = folder + (exporting ? "/names.midnam" : "/names.ins");
            QVERIFY(QDir().mkpath(folder) && WriteAll(target, "old"));
            QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::ReadOther));
            CShell shell(m_ini);
            QVERIFY(shell.open("roland-jvxp.syx"));
            shell.prompt.files = {target};
            QVERIFY(!(exporting ? shell.doc().OnFileExport() : shell.doc().OnFileSaveAs()));
            QCOMPARE(ReadAll(target), QByteArray("old"));
            QCOMPARE(QDir(folder).entryList(QDir::Files),
                     QStringList{QFileInfo(target).fileName()});
            QCOMPARE(shell.prompt.asked, QStringList{"Cannot save " + target +
                                                     ":\nThe file is read-only\n"
                                                     "The file on disk was left as it was."});
            QCOMPARE(shell.title(), "roland-jvxp - Bankwise");
        }
    }

    // An unsafe settings file is passed over, with one warning, left as it is.
    void unusableSettingsFile()
    {
        const QByteArray home = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path()));
        const QString conf = Path("Orvane/Bankwise.conf");
        QVERIFY(QDir().mkpath(Path("Orvane")));
        for (const bool fifo : {false, true}) {  // a file over 1 MiB takes the same road
            QFile::remove(conf);
            QVERIFY(fifo ? mkfifo(QFile::encodeName(conf).constData(), 0600) == 0
                         : WriteAll(conf, "[Settings]\n"));
            CScriptedPrompt prompt;
            const auto profile = OpenUserProfile(prompt);
            QCOMPARE(dynamic_cast<CSettingsProfile*>(profile.get()) == nullptr, fifo);
            if (!fifo)
                continue;
            QCOMPARE(prompt.asked.size(), 1);
            QVERIFY2(prompt.asked[0].startsWith("Settings file " + conf + " ignored"),
                     qPrintable(prompt.asked[0]));
            QVERIFY(profile->WriteProfileInt("Settings", "ShowOptions", 5));
            QCOMPARE(profile->GetProfileInt("Settings", "ShowOptions", 1), 5);
            QVERIFY(!QFileInfo(conf).isFile());
        }
        qputenv("XDG_CONFIG_HOME", home);
    }

    // --help and --version answer without a display; usage errors end with 2.
    void commandLine()
    {
        for (const QStringList& args :
             {QStringList{"bankwise", "a.syx", "b.syx"}, QStringList{"bankwise", "--print"},
              QStringList{"bankwise", "--bogus"}})
            QCOMPARE(CShell(m_ini, args).status, 2);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            environment.remove(QLatin1String(name));
        for (const char* arg : {"--help", "-h", "--help-all", "--version", "-v"}) {
            QProcess process;
            process.setProcessEnvironment(environment);
            process.start(QStringLiteral(BANKWISE_SHELL_EXE), {QLatin1String(arg)});
            QVERIFY(process.waitForFinished(30000));
            QCOMPARE(process.exitStatus(), QProcess::NormalExit);
            QCOMPARE(process.exitCode(), 0);
            const bool version = arg[2] == 'v' || arg[1] == 'v';
            QVERIFY2(process.readAllStandardOutput().startsWith(version ? "bankwise " : "Usage: "),
                     arg);
        }
    }

    void printing()
    {
        const QString pdf = Path("out.pdf");
        CShell shell(m_ini, {"bankwise", "--print-to", pdf, Example("roland-jvxp.syx")});
        QCOMPARE(shell.status, 0);
        QVERIFY(!shell.frame().isVisible() && shell.prompt.asked.empty());

        const QString bad = Path("no/such/dir/out.pdf");
        shell.app.Printer().setOutputFormat(QPrinter::PdfFormat);
        shell.app.Printer().setOutputFileName(bad);
        shell.prompt.onExec = [](QDialog&) { return int(QDialog::Accepted); };
        shell.app.OnFilePrint();
        QCOMPARE(shell.prompt.asked, QStringList{"Printing to " + bad + " failed."});

        if (QPrinterInfo::availablePrinters().isEmpty()) {
            CShell noPrinter(m_ini, {"bankwise", "--print", Example("roland-jvxp.syx")});
            QCOMPARE(noPrinter.status, 1);
            QCOMPARE(noPrinter.prompt.asked, QStringList{LoadQString(IDS_SHELL_NO_PRINTER)});
        }
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (pdftotext.isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QProcess process;
        process.start(pdftotext, {pdf, QStringLiteral("-")});
        QVERIFY(process.waitForFinished(30000));
        const QString text = QString::fromUtf8(process.readAllStandardOutput());
        QVERIFY2(text.contains(QStringLiteral("0=USER:001 ")), qPrintable(text.left(400)));
        QVERIFY(text.contains(QStringLiteral("Patch[10240]=JV/XP User")));
    }
};

QTEST_MAIN(ShellTest)
#include "test_shell.moc"
