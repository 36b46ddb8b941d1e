// The desktop program, road by road: open -> convert -> save, the options
// dialog, the questions about edited text, title and recent list, the
// remembered folders, export to other formats, printing from the command
// line, and bad input. Every box and dialog is answered by a scripted prompt
// (the file dialog itself once, driven by a timer).
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <csignal>
#include <deque>
#include <functional>
#include <memory>
#include <sstream>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

#include "BankwiseApp.h"
#include "BankwiseDoc.h"
#include "BankwiseDocTemplate.h"
#include "BankwiseView.h"
#include "Converter.h"
#include "Detector.h"
#include "MainFrame.h"
#include "OptionsDialog.h"
#include "Profile.h"
#include "Prompt.h"
#include "SettingsProfile.h"
#include "StringTable.h"

using namespace bankwise;

namespace {

const QString kExamples = QStringLiteral(BANKWISE_EXAMPLES);

QString Example(const char* name)
{
    return kExamples + QLatin1Char('/') + QLatin1String(name);
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Answers every box and dialog from a script, and keeps what was asked.
class CScriptedPrompt final : public IPrompt
{
public:
    struct CAsked
    {
        EBox box;
        QString text;
    };

    EAnswer Message(QWidget*, EBox box, const QString& text) override
    {
        asked.push_back({box, text});
        if (box == EBox::Warning)
            return EAnswer::Ok;
        if (answers.empty()) {
            unexpected = true;
            return EAnswer::Cancel;
        }
        const EAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    QString FileName(QWidget*, const CFileRequest& request) override
    {
        requests.push_back(request);
        if (request.selectedFilter != nullptr) {
            startFilters.push_back(*request.selectedFilter);
            if (!chosenFilters.empty()) {
                *request.selectedFilter = chosenFilters.front();
                chosenFilters.pop_front();
            }
        }
        if (files.empty())
            return {};
        const QString file = files.front();
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
    QStringList Texts() const
    {
        QStringList texts;
        for (const CAsked& a : asked)
            texts.append(a.text);
        return texts;
    }

    std::vector<CAsked> asked;
    std::deque<EAnswer> answers;
    std::vector<CFileRequest> requests;
    std::deque<QString> files;
    std::vector<QString> startFilters;  // the filter each dialog started with
    std::deque<QString> chosenFilters;  // the filter chosen in each; none: kept
    std::function<int(QDialog&)> onExec;
    int dialogs = 0;
    bool unexpected = false;
};

// One run of the program over a settings file of the test's own.
struct CShell
{
    explicit CShell(const QString& ini, const QStringList& args = {QStringLiteral("bankwise")})
        : profile(ini.toStdString()), scope(profile), app(profile, prompt)
    {
        status = app.InitInstance(args);
    }
    CBankwiseDoc& doc() { return app.Document(); }
    CBankwiseView& view() { return *app.Document().GetView(); }
    QString title() { return app.MainFrame()->windowTitle(); }
    bool optionsEnabled() { return app.MainFrame()->Action(ID_VIEW_OPTIONS)->isEnabled(); }
    bool close() { return app.MainFrame()->close(); }

    CSettingsProfile profile;
    CScopedAppProfile scope;
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

const QString kMidnamFilter = QStringLiteral("MIDNAM Files (*.midnam)");
const QString kReabankFilter = QStringLiteral("REAPER Bank Files (*.reabank)");

// One bank whose number bank select cannot carry, titled beyond ASCII.
class CWideBankExtractor final : public CDumpExtractor
{
public:
    CWideBankExtractor() : CDumpExtractor(IDS_SYNTH_ORBIT, "Bank %d", nullptr) {}
    bool Parse(CByteSource&, bool, std::uint32_t) override { return true; }
    void ClearNames() override {}

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
    void SetShowOptions(int on)
    {
        CSettingsProfile(m_ini.toStdString()).WriteProfileInt("Settings", "ShowOptions", on);
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
        SetShowOptions(0);
        {
            CSettingsProfile settings(m_ini.toStdString());
            settings.WriteProfileString("Roland JV/XP", "InstrFormat", "U%04d|");
            settings.WriteProfileString("access Virus", "Definition", "Studio Virus");
        }
        CShell shell(m_ini);
        QVERIFY(shell.app.OpenDocumentFile(dump));
        const QString base = QFileInfo(dump).completeBaseName();
        QCOMPARE(shell.title(), base + QStringLiteral(" - Bankwise"));
        QVERIFY(shell.optionsEnabled());
        QCOMPARE(shell.app.GetRecentFiles(), QStringList{dump});

        // The first save asks, with the instrument filter and the dump's name.
        const QString target = Path(base + QStringLiteral(".ins"));
        shell.prompt.files = {target};
        QVERIFY(shell.doc().OnFileSave());
        QCOMPARE(shell.prompt.requests.size(), std::size_t{1});
        const CFileRequest& request = shell.prompt.requests.front();
        QCOMPARE(request.filterName, QStringLiteral("Instrument Files (*.ins)"));
        QCOMPARE(request.patterns, QStringList{QStringLiteral("*.ins")});
        QCOMPARE(request.defaultSuffix, QStringLiteral("ins"));
        QCOMPARE(QFileInfo(request.proposedName).fileName(), base + QStringLiteral(".ins"));
        const QByteArray saved = ReadAll(target);
        QCOMPARE(saved.toStdString(), ConverterOutput(dump, m_ini));
        QCOMPARE(shell.title(), base + QStringLiteral(".ins - Bankwise"));

        // The second writes the edited text to that file without asking.
        shell.view().moveCursor(QTextCursor::End);
        QTest::keyClicks(&shell.view(), QStringLiteral("; mine"));
        QVERIFY(shell.doc().OnFileSave());
        QCOMPARE(shell.prompt.requests.size(), std::size_t{1});
        QCOMPARE(ReadAll(target), saved + "; mine");
        QCOMPARE(shell.app.GetRecentFiles(), QStringList{dump});
        QVERIFY(shell.prompt.asked.empty());
    }

    // Every byte the view holds is saved as it came, whatever the editor
    // does with line ends.
    void viewKeepsEveryByte()
    {
        std::string everyByte;
        for (int c = 0; c < 256; ++c)
            everyByte += static_cast<char>(c);
        CBankwiseView view;
        for (const std::string& bytes : {everyByte, std::string("a\rb\nc\r\n\r\r\n\n\r"),
                                         std::string("\r\n"), std::string()}) {
            view.SetTextBytes(bytes);
            QCOMPARE(view.GetTextBytes(), bytes);
            QVERIFY(!view.IsUserChanged());
        }
        QCOMPARE(BytesFromText(QStringLiteral("x\u20ACy")), std::string("x?y"));
        // CR LF, and only CR LF, ends a line on screen.
        view.SetTextBytes("\r\nx\ry\r\n");
        QCOMPARE(view.document()->blockCount(), 3);
    }

    void optionsDialog_data()
    {
        QTest::addColumn<unsigned>("nameId");
        QTest::addColumn<QString>("instrFormat");  // typed over the stored one
        QTest::addColumn<QString>("preview");
        QTest::addColumn<QString>("caption");
        const char* virus = ".Patch Names\n[Virus Bank A]\n0=A000 XXX\n1=A001 YYY\n...\n"
                            ".Instrument Definitions\n[access Virus]\nPatch[0]=Virus Bank A";
        QTest::newRow("virus defaults") << unsigned{IDS_SYNTH_VIRUS} << QString() << virus
                                        << "Instrument file options for access Virus";
        QTest::newRow("fs1r defaults")
            << unsigned{IDS_SYNTH_FS1R} << QString()
            << ".Patch Names\n[FS1R Internal]\n0=I001 XXX\n1=I002 YYY\n...\n"
               ".Instrument Definitions\n[Yamaha FS1R]\nPatch[64]=FS1R Internal"
            << "Instrument file options for Yamaha FS1R";
        QTest::newRow("orbit bank number")
            << unsigned{IDS_SYNTH_ORBIT} << QString()
            << ".Patch Names\n[Orbit Bank 0]\n0=XXX\n1=YYY\n...\n"
               ".Instrument Definitions\n[E-MU Orbit/Phatt/Caranaval]\nPatch[0]=Orbit Bank 0"
            << "Instrument file options for E-MU Orbit/Phatt/Caranaval";
        QTest::newRow("jv number only")
            << unsigned{IDS_SYNTH_JVXP} << "USER:%03d "
            << ".Patch Names\n[JV/XP User]\n0=USER:001 XXX\n1=USER:002 YYY\n...\n"
               ".Instrument Definitions\n[Roland JV/XP]\nPatch[10240]=JV/XP User"
            << "Instrument file options for Roland JV/XP";
        QTest::newRow("letter only, markup and stray conversions stay text")
            << unsigned{IDS_SYNTH_PROPHECY} << "<b>%c %s%n"
            << ".Patch Names\n[Prophecy Bank A]\n0=<b>A %s%nXXX\n1=<b>A %s%nYYY\n...\n"
               ".Instrument Definitions\n[Korg Prophecy]\nPatch[128]=Prophecy Bank A"
            << "Instrument file options for Korg Prophecy";
    }
    void optionsDialog()
    {
        QFETCH(unsigned, nameId);
        QFETCH(QString, instrFormat);
        QFETCH(QString, preview);
        QFETCH(QString, caption);
        CSettingsProfile profile(m_ini.toStdString());
        CScopedAppProfile scope(profile);
        const auto extractor = [nameId] {
            for (const EFamily f : {EFamily::Orbit, EFamily::JvXp, EFamily::Prophecy,
                                    EFamily::TrRack, EFamily::Fs1r, EFamily::Virus}) {
                auto e = CreateExtractor(f);
                if (e->m_nNameID == nameId)
                    return e;
            }
            return std::unique_ptr<CDumpExtractor>();
        }();
        QVERIFY(extractor);
        COptionsDialog dlg(extractor->m_nNameID, extractor->m_pszBankFormat,
                           extractor->m_pszInstrFormat, extractor->m_nPreviewFirstPatch,
                           extractor->m_nPreviewBank);
        auto* definition = static_cast<QLineEdit*>(dlg.Control(COptionsDialog::IDC_DEFINITION));
        auto* instr = static_cast<QLineEdit*>(dlg.Control(COptionsDialog::IDC_INSTR_FORMAT));
        auto* ok = dlg.Control(1);
        if (!instrFormat.isNull()) {
            instr->selectAll();
            QTest::keyClicks(instr, instrFormat);
        }
        QCOMPARE(dlg.windowTitle(), caption);
        for (const QWidget* text : dlg.findChildren<QWidget*>())
            if (qobject_cast<const QLabel*>(text) != dlg.Control(COptionsDialog::IDC_PREVIEW) &&
                (qobject_cast<const QLabel*>(text) || qobject_cast<const QCheckBox*>(text)))
                QVERIFY2(text->width() >= text->sizeHint().width(), "a label is cut off");
        QCOMPARE(dlg.PreviewText(), preview);
        QVERIFY(ok->isEnabled());

        // OK follows the definition name keystroke by keystroke; the check
        // box leaves the preview alone.
        definition->selectAll();
        QTest::keyClick(definition, Qt::Key_Backspace);
        QVERIFY(!ok->isEnabled());
        QTest::keyClick(definition, Qt::Key_Return);  // the default button, disabled
        QCOMPARE(dlg.result(), int{QDialog::Rejected});
        QTest::keyClicks(definition, QStringLiteral("Mine"));
        QVERIFY(ok->isEnabled());
        const QString before = dlg.PreviewText();
        static_cast<QCheckBox*>(dlg.Control(COptionsDialog::IDC_SHOW_OPTIONS))->click();
        QCOMPARE(dlg.PreviewText(), before);
    }

    void optionsWriteOnlyOnOk()
    {
        SetShowOptions(1);
        const QString dump = Example("roland-jvxp.syx");
        CShell shell(m_ini);
        // Cancel: nothing stored, the open is abandoned.
        shell.prompt.onExec = [](QDialog& dialog) {
            auto& dlg = dynamic_cast<COptionsDialog&>(dialog);
            static_cast<QLineEdit*>(dlg.Control(COptionsDialog::IDC_DEFINITION))->setText("X");
            static_cast<QCheckBox*>(dlg.Control(COptionsDialog::IDC_SHOW_OPTIONS))
                ->setChecked(false);
            dlg.reject();
            return dlg.result();
        };
        QVERIFY(!shell.app.OpenDocumentFile(dump));
        QCOMPARE(shell.title(), QStringLiteral("Untitled - Bankwise"));
        QVERIFY(!shell.optionsEnabled());
        QCOMPARE(shell.profile.GetProfileString("Roland JV/XP", "Definition", "absent"), "absent");
        QCOMPARE(shell.profile.GetProfileInt("Settings", "ShowOptions", 7), 1);

        // OK: stored, and read back by bankwise-convert from the same store.
        shell.prompt.onExec = [](QDialog& dialog) {
            auto& dlg = dynamic_cast<COptionsDialog&>(dialog);
            auto* bank = static_cast<QLineEdit*>(dlg.Control(COptionsDialog::IDC_BANK_FORMAT));
            bank->selectAll();
            QTest::keyClicks(bank, QStringLiteral("Studio JV"));
            static_cast<QCheckBox*>(dlg.Control(COptionsDialog::IDC_SHOW_OPTIONS))
                ->setChecked(false);
            static_cast<QPushButton*>(dlg.Control(1))->click();
            return dlg.result();
        };
        QVERIFY(shell.app.OpenDocumentFile(dump));
        QCOMPARE(shell.profile.GetProfileInt("Settings", "ShowOptions", 7), 0);
        QVERIFY(ConverterOutput(dump, m_ini).find("[Studio JV]\r\n") != std::string::npos);
        QCOMPARE(shell.view().GetTextBytes(), ConverterOutput(dump, m_ini));

        // With the box switched off the next open converts at once; Options
        // still reaches it.
        const int shown = shell.prompt.dialogs;
        QVERIFY(shell.app.OpenDocumentFile(Example("access-virus.syx")));
        QCOMPARE(shell.prompt.dialogs, shown);
        shell.app.MainFrame()->Action(ID_VIEW_OPTIONS)->trigger();
        QCOMPARE(shell.prompt.dialogs, shown + 1);
    }

    void editedTextQuestions()
    {
        SetShowOptions(0);
        CSettingsProfile(m_ini.toStdString())
            .WriteProfileString("Settings", "SaveDir", m_dir.path().toStdString());
        CShell shell(m_ini);
        QVERIFY(shell.app.OpenDocumentFile(Example("roland-jvxp.syx")));
        QTest::keyClicks(&shell.view(), QStringLiteral("edited "));
        QVERIFY(shell.doc().IsModified());

        // No to saving, Cancel to losing the edits: the new dump's title and
        // extractor, the old edited text.
        shell.prompt.answers = {EAnswer::No, EAnswer::Cancel};
        QVERIFY(shell.app.OpenDocumentFile(Example("access-virus.syx")));
        QCOMPARE(shell.prompt.Texts(),
                 QStringList({QStringLiteral("Save changes to roland-jvxp?"),
                              QStringLiteral("Modifications will be lost, OK ?")}));
        QCOMPARE(shell.prompt.asked[1].box, EBox::OkCancel);
        QCOMPARE(shell.title(), QStringLiteral("access-virus - Bankwise"));
        QVERIFY(shell.view().toPlainText().startsWith(QStringLiteral("edited ; Cakewalk")));
        QCOMPARE(shell.doc().m_pExtractor->m_nNameID, std::uint32_t{IDS_SYNTH_VIRUS});

        // Options > OK over the edits asks again; OK regenerates.
        shell.prompt.asked.clear();
        shell.prompt.answers = {EAnswer::Ok};
        shell.doc().OnViewOptions();
        QCOMPARE(shell.prompt.Texts(),
                 QStringList{QStringLiteral("Modifications will be lost, OK ?")});
        QVERIFY(shell.view().toPlainText().startsWith(QStringLiteral("; Cakewalk")));

        // Yes to the query before an open saves like File > Save: the
        // instrument filter, the save folder.
        QTest::keyClicks(&shell.view(), QStringLiteral("x"));
        shell.prompt.asked.clear();
        shell.prompt.answers = {EAnswer::Yes, EAnswer::Ok};
        shell.prompt.files = {Path(QStringLiteral("kept.ins"))};
        QVERIFY(shell.app.OpenDocumentFile(Example("emu-orbit.syx")));
        QCOMPARE(shell.prompt.requests.back().filterName,
                 QStringLiteral("Instrument Files (*.ins)"));
        QCOMPARE(shell.prompt.requests.back().startDir, m_dir.path());
        QVERIFY(ReadAll(Path(QStringLiteral("kept.ins"))).startsWith("x; Cakewalk"));
        QCOMPARE(shell.title(), QStringLiteral("emu-orbit - Bankwise"));

        // A cancelled close keeps the window and its Options command.
        QTest::keyClicks(&shell.view(), QStringLiteral("y"));
        shell.prompt.answers = {EAnswer::Cancel};
        QVERIFY(!shell.close());
        QVERIFY(shell.optionsEnabled());
        shell.prompt.answers = {EAnswer::No};
        QVERIFY(shell.close());
        QVERIFY(!shell.optionsEnabled());
        QVERIFY(!shell.prompt.unexpected);
    }

    void titleRecentListAndMatch()
    {
        SetShowOptions(0);
        {
            CShell shell(m_ini);
            CBankwiseDocTemplate& t = shell.app.Template();
            CBankwiseDoc* match = nullptr;
            struct
            {
                const char* path;
                CBankwiseDocTemplate::EConfidence expected;
            } const cases[] = {
                {"/d/x.SYX", CBankwiseDocTemplate::yesAttemptNative},
                {"/d/x.Mid", CBankwiseDocTemplate::yesAttemptNative},
                {"/d/x.ins", CBankwiseDocTemplate::yesAttemptForeign},
                {"/d/bank", CBankwiseDocTemplate::yesAttemptForeign},
                {"/old.dumps/bank", CBankwiseDocTemplate::yesAttemptForeign},
                {"/d/x.syx.bak", CBankwiseDocTemplate::yesAttemptForeign},
            };
            for (const auto& c : cases)
                QCOMPARE(t.MatchDocType(QString::fromLatin1(c.path), match), c.expected);

            QString text;
            QVERIFY(t.GetDocString(text, CBankwiseDocTemplate::filterExt));
            QCOMPARE(text, QStringLiteral(".syx;*.mid"));
            QCOMPARE(t.MakeFileRequest(false).patterns,
                     QStringList({QStringLiteral("*.syx"), QStringLiteral("*.mid")}));
            QCOMPARE(t.MakeFileRequest(false).filterName,
                     QStringLiteral("Sysex File (*.syx; *.mid)"));

            // Five dumps: the four latest stay, latest first; opening one
            // again moves it to the front.
            const char* dumps[] = {"emu-orbit.syx",   "roland-jvxp.syx", "korg-prophecy.syx",
                                   "korg-trrack.syx", "yamaha-fs1r.syx", "korg-prophecy.syx"};
            for (const char* dump : dumps)
                QVERIFY(shell.app.OpenDocumentFile(Example(dump)));
            QCOMPARE(shell.app.GetRecentFiles(),
                     QStringList({Example("korg-prophecy.syx"), Example("yamaha-fs1r.syx"),
                                  Example("korg-trrack.syx"), Example("roland-jvxp.syx")}));
            // The File menu lists them as "&1 path" ... in place of the greyed
            // placeholder; choosing one opens that dump.
            QList<QAction*> recent;
            for (QAction* a :
                 shell.app.MainFrame()->menuBar()->actions().constFirst()->menu()->actions()) {
                if (a->isVisible() && a->text().contains(QLatin1String("Recent File")))
                    QFAIL("placeholder shown beside the list");
                if (a->text().startsWith(QLatin1Char('&')) && a->text().at(1).isDigit())
                    recent.append(a);
            }
            QCOMPARE(recent.size(), 4);
            QCOMPARE(recent[1]->text(), "&2 " + Example("yamaha-fs1r.syx"));
            recent[1]->trigger();
            QCOMPARE(shell.title(), QStringLiteral("yamaha-fs1r - Bankwise"));

            // Saved under another extension: a title, no path, on the list.
            shell.prompt.files = {Path(QStringLiteral("names.txt"))};
            QVERIFY(shell.doc().OnFileSave());
            QCOMPARE(shell.title(), QStringLiteral("names - Bankwise"));
            QVERIFY(shell.doc().GetPathName().isEmpty());
            QCOMPARE(shell.app.GetRecentFiles().front(), Path(QStringLiteral("names.txt")));

            // Saved as .ins: that file is the document; opening it again
            // only brings the window forward.
            shell.prompt.files = {Path(QStringLiteral("bank.ins"))};
            QVERIFY(shell.doc().OnFileSaveAs());
            QCOMPARE(shell.title(), QStringLiteral("bank.ins - Bankwise"));
            QCOMPARE(t.MatchDocType(Path(QStringLiteral("bank.ins")), match),
                     CBankwiseDocTemplate::yesAlreadyOpen);
            QCOMPARE(match, &shell.doc());
            QVERIFY(shell.app.OpenDocumentFile(Path(QStringLiteral("bank.ins"))));
            QVERIFY(shell.prompt.asked.empty());
            QCOMPARE(shell.app.GetRecentFiles().front(), Path(QStringLiteral("names.txt")));

            // A recent file that is gone leaves the list with a message.
            QFile::remove(Path(QStringLiteral("names.txt")));
            shell.app.OnOpenRecentFile(0);
            QCOMPARE(shell.prompt.asked.size(), std::size_t{1});
            QCOMPARE(shell.app.GetRecentFiles().size(), 3);
        }
        // The list outlives the run, in the same store.
        CShell again(m_ini);
        QCOMPARE(again.app.GetRecentFiles().front(), Example("yamaha-fs1r.syx"));
        QCOMPARE(again.title(), QStringLiteral("Untitled - Bankwise"));
    }

    void rememberedFolders()
    {
        SetShowOptions(0);
        const QString openDir = Path(QStringLiteral("dumps"));
        const QString saveDir = Path(QStringLiteral("out"));
        QVERIFY(QDir().mkpath(openDir) && QDir().mkpath(saveDir));
        QVERIFY(QFile::copy(Example("roland-jvxp.syx"), openDir + QStringLiteral("/jv.syx")));
        {
            CShell shell(m_ini);
            shell.prompt.files = {openDir + QStringLiteral("/jv.syx"),
                                  saveDir + QStringLiteral("/jv.ins")};
            shell.app.OnFileOpen();
            QVERIFY(shell.doc().OnFileSave());
            QVERIFY(shell.close());
        }
        const auto stored = [this](const char* entry) {
            return QString::fromStdString(CSettingsProfile(m_ini.toStdString())
                                              .GetProfileString("Settings", entry, "absent"));
        };
        QCOMPARE(stored("OpenDir"), openDir);
        QCOMPARE(stored("SaveDir"), saveDir);
        {
            // Started on a dump from the command line: the stored folders
            // are used and survive the close.
            CShell shell(m_ini, {QStringLiteral("bankwise"), Example("emu-orbit.syx")});
            QCOMPARE(shell.status, CBankwiseApp::kRunEventLoop);
            shell.app.OnFileOpen();
            QCOMPARE(shell.prompt.requests.back().startDir, openDir);
            shell.prompt.files = {QString()};
            shell.doc().OnFileSaveAs();
            QCOMPARE(shell.prompt.requests.back().startDir, saveDir);
            QVERIFY(shell.close());
        }
        QCOMPARE(stored("OpenDir"), openDir);
        QCOMPARE(stored("SaveDir"), saveDir);
        {
            // A folder deleted meanwhile is forgotten.
            QVERIFY(QDir(openDir).removeRecursively());
            CShell shell(m_ini);
            shell.app.OnFileOpen();
            QVERIFY(shell.prompt.requests.back().startDir != openDir);
            QVERIFY(shell.close());
        }
        QCOMPARE(stored("OpenDir"), QString());
        QCOMPARE(stored("SaveDir"), saveDir);
    }

    void badInput_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("message");
        QTest::newRow("folder") << m_dir.path() << "Cannot read " + m_dir.path() + ":\n";
        QTest::newRow("vanished") << Path(QStringLiteral("gone.syx"))
                                  << "Cannot read " + Path(QStringLiteral("gone.syx")) + ":\n";
        QTest::newRow("too short")
            << Path(QStringLiteral("short.syx")) << "File is too short to hold a dump!";
        QTest::newRow("not a dump") << Path(QStringLiteral("names.ins")) << "Unknown file format!";
    }
    void badInput()
    {
        QFETCH(QString, file);
        QFETCH(QString, message);
        QFile(Path(QStringLiteral("short.syx"))).open(QIODevice::WriteOnly);
        QFile names(Path(QStringLiteral("names.ins")));
        QVERIFY(names.open(QIODevice::WriteOnly) && names.write("[Bank]\r\n") > 0);
        names.close();
        SetShowOptions(0);
        CShell shell(m_ini);
        QVERIFY(shell.app.OpenDocumentFile(Example("roland-jvxp.syx")));
        const std::string text = shell.view().GetTextBytes();
        QVERIFY(!shell.app.OpenDocumentFile(file));
        QCOMPARE(shell.prompt.asked.size(), std::size_t{1});
        QVERIFY2(shell.prompt.asked[0].text.startsWith(message),
                 qPrintable(shell.prompt.asked[0].text));
        QCOMPARE(shell.title(), QStringLiteral("roland-jvxp - Bankwise"));
        QCOMPARE(shell.view().GetTextBytes(), text);
        if (QTest::currentDataTag() == QLatin1String("folder") ||
            QTest::currentDataTag() == QLatin1String("vanished"))
            QVERIFY(shell.optionsEnabled());

        // A save that cannot be written says so and leaves the file alone.
        shell.prompt.files = {Path(QStringLiteral("names.ins/inside.ins"))};
        QVERIFY(!shell.doc().OnFileSaveAs());
        QVERIFY(shell.prompt.asked.back().text.startsWith(
            "Cannot save " + Path(QStringLiteral("names.ins/inside.ins"))));
        QCOMPARE(ReadAll(Path(QStringLiteral("names.ins"))), QByteArray("[Bank]\r\n"));
    }

    void keysAndDrops()
    {
        SetShowOptions(0);
        CShell shell(m_ini);
        CMainFrame& frame = *shell.app.MainFrame();
        const struct
        {
            QKeySequence key;
            std::uint32_t id;
        } keys[] = {
            {QKeySequence(Qt::CTRL | Qt::Key_N), ID_FILE_NEW},
            {QKeySequence(Qt::CTRL | Qt::Key_O), ID_FILE_OPEN},
            {QKeySequence(Qt::CTRL | Qt::Key_S), ID_FILE_SAVE},
            {QKeySequence(Qt::CTRL | Qt::Key_P), ID_FILE_PRINT},
            {QKeySequence(Qt::ALT | Qt::Key_Backspace), ID_EDIT_UNDO},
            {QKeySequence(Qt::SHIFT | Qt::Key_Delete), ID_EDIT_CUT},
            {QKeySequence(Qt::CTRL | Qt::Key_Insert), ID_EDIT_COPY},
            {QKeySequence(Qt::SHIFT | Qt::Key_Insert), ID_EDIT_PASTE},
            {QKeySequence(Qt::Key_F6), ID_NEXT_PANE},
            {QKeySequence(Qt::SHIFT | Qt::Key_F6), ID_PREV_PANE},
        };
        for (const auto& k : keys)
            QVERIFY2(frame.Action(k.id)->shortcuts().contains(k.key), qPrintable(k.key.toString()));

        // Ctrl+N, which no menu offers, empties the view.
        QVERIFY(shell.app.OpenDocumentFile(Example("korg-trrack.syx")));
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        QTest::keyClick(&frame, Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(shell.view().toPlainText(), QString());
        QCOMPARE(shell.title(), QStringLiteral("Untitled - Bankwise"));
        QVERIFY(shell.optionsEnabled());

        // Dropped dumps open one after another; the last one stays.
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(Example("emu-orbit.syx")),
                      QUrl::fromLocalFile(Example("yamaha-fs1r.mid"))});
        const QPoint inside = frame.rect().center();
        QDragEnterEvent enter(inside, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&frame, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(inside, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&frame, &drop);
        QTRY_COMPARE(shell.title(), QStringLiteral("yamaha-fs1r - Bankwise"));
        QCOMPARE(shell.app.GetRecentFiles().mid(0, 2),
                 QStringList({Example("yamaha-fs1r.mid"), Example("emu-orbit.syx")}));
    }

    // Export writes what bankwise-convert writes for the dump and settings,
    // UTF-8 as it comes, in the chosen filter's format; the document, its
    // edits included, stays as it was.
    void exportBothFormats()
    {
        SetShowOptions(0);
        CSettingsProfile(m_ini.toStdString())
            .WriteProfileString("Roland JV/XP", "Definition", "Caf\xE9 JV");
        const QString dump = Example("roland-jvxp.syx");
        CShell shell(m_ini);
        QAction* exportAction = shell.app.MainFrame()->Action(ID_FILE_EXPORT);
        QVERIFY(!exportAction->isEnabled() && !shell.doc().OnFileExport());
        QVERIFY(shell.app.OpenDocumentFile(dump) && exportAction->isEnabled());
        QTest::keyClicks(&shell.view(), QStringLiteral("edited"));
        const std::string text = shell.view().GetTextBytes();
        const QStringList recent = shell.app.GetRecentFiles();
        for (const char* format : {"midnam", "reabank"}) {
            shell.prompt.files = {Path(QStringLiteral("jv"))};  // the filter adds the extension
            shell.prompt.chosenFilters = {format == std::string_view("midnam") ? kMidnamFilter
                                                                               : kReabankFilter};
            exportAction->trigger();
            QCOMPARE(ReadAll(Path("jv." + QLatin1String(format))).toStdString(),
                     ConverterOutput(dump, m_ini, format));
        }
        QVERIFY(ReadAll(Path(QStringLiteral("jv.midnam"))).contains("Caf\xC3\xA9 JV"));
        QCOMPARE(QFileInfo(shell.prompt.requests.front().proposedName).fileName(),
                 "roland-jvxp.midnam");
        QCOMPARE(shell.view().GetTextBytes(), text);
        QCOMPARE(shell.title(), QStringLiteral("roland-jvxp - Bankwise"));
        QVERIFY(shell.doc().IsModified() && shell.doc().GetPathName().isEmpty());
        QCOMPARE(shell.app.GetRecentFiles(), recent);
        QVERIFY(shell.prompt.asked.empty());

        // Banks the format has no place for are told, names decoded.
        shell.doc().m_pExtractor = std::make_unique<CWideBankExtractor>();
        shell.prompt.files = {Path(QStringLiteral("wide.reabank"))};
        QVERIFY(shell.doc().OnFileExport());  // on REAPER, as the last export
        QCOMPARE(shell.prompt.Texts(),
                 QStringList{QString::fromUtf8("Left out bank \"Caf\xC3\xA9\": its number 16384 "
                                               "cannot be sent as bank select MSB and LSB")});

        // Right after Save As; disabled once the dump is let go.
        const QList<QAction*> file =
            shell.app.MainFrame()->menuBar()->actions().constFirst()->menu()->actions();
        QCOMPARE(file.indexOf(exportAction),
                 file.indexOf(shell.app.MainFrame()->Action(ID_FILE_SAVE_AS)) + 1);
        shell.prompt.answers = {EAnswer::No};
        QVERIFY(shell.close() && !exportAction->isEnabled());
    }

    void exportRemembers_data()
    {
        QTest::addColumn<QString>("format");  // stored, with the folder
        QTest::addColumn<QString>("dir");     // in the test's folder; "gone" never exists
        QTest::addColumn<QString>("ext");     // of the filter the dialog starts on
        QTest::newRow("nothing stored") << QString() << QString() << ".midnam";
        QTest::newRow("reabank") << "reabank"
                                 << "exports"
                                 << ".reabank";
        QTest::newRow("ins is not offered, folder gone") << "ins"
                                                         << "gone"
                                                         << ".midnam";
        QTest::newRow("unknown") << "xml"
                                 << "exports"
                                 << ".midnam";
    }
    void exportRemembers()
    {
        QFETCH(QString, format);
        QFETCH(QString, dir);
        QFETCH(QString, ext);
        SetShowOptions(0);
        const QString exports = Path(QStringLiteral("exports"));
        QVERIFY(QDir().mkpath(exports));
        if (!format.isEmpty()) {
            CSettingsProfile settings(m_ini.toStdString());
            settings.WriteProfileString("Settings", "ExportFormat", format.toStdString());
            settings.WriteProfileString("Settings", "ExportDir", Path(dir).toStdString());
        }
        {
            CShell shell(m_ini);
            QVERIFY(shell.app.OpenDocumentFile(Example("emu-orbit.syx")));
            shell.prompt.files = {exports + "/orbit"};
            QVERIFY(shell.doc().OnFileExport());
            QCOMPARE(shell.prompt.startFilters.back(),
                     ext == ".midnam" ? kMidnamFilter : kReabankFilter);
            const QString start = dir == "exports" ? exports : shell.doc().GetCurrentDir();
            QCOMPARE(shell.prompt.requests.back().proposedName, start + "/emu-orbit" + ext);
            QVERIFY(QFile::exists(exports + "/orbit" + ext));
        }
        const CSettingsProfile settings(m_ini.toStdString());
        QCOMPARE(settings.GetProfileString("Settings", "ExportDir", ""), exports.toStdString());
        QCOMPARE(settings.GetProfileString("Settings", "ExportFormat", ""),
                 ext.mid(1).toStdString());
    }

    // The real dialog: both filters, the remembered one first with its
    // suffix, the proposed name, the note; the suffix and the filter
    // handed back follow the filter the user turns to.
    void exportDialog()
    {
        SetShowOptions(0);
        CShell shell(m_ini);
        QVERIFY(shell.app.OpenDocumentFile(Example("emu-orbit.syx")));
        QVERIFY(!shell.doc()
                     .OnFileExport());  // cancelled in the scripted prompt, which keeps the request
        CFileRequest request = shell.prompt.requests.back();
        request.proposedName = Path(QStringLiteral("emu-orbit.reabank"));
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
        QCOMPARE(CWidgetPrompt().FileName(nullptr, request), Path(QStringLiteral("picked.midnam")));
        QCOMPARE(seen,
                 QStringList({kMidnamFilter, kReabankFilter, "emu-orbit.reabank", kReabankFilter,
                              "reabank", LoadQString(IDS_SHELL_EXPORT_NOTE)}));
        QCOMPARE(filter, kMidnamFilter);
    }

    // A write that fails halfway says so and leaves the old file, and
    // nothing else, in its folder: Save and Export write alike.
    void failedWriteKeepsOldFile_data()
    {
        QTest::addColumn<bool>("exporting");
        QTest::newRow("save") << false;
        QTest::newRow("export") << true;
    }
    void failedWriteKeepsOldFile()
    {
#ifdef Q_OS_UNIX
        QFETCH(bool, exporting);
        SetShowOptions(0);
        const QString folder = Path(QString::fromLatin1(QTest::currentDataTag()));
        const QString target = folder + (exporting ? "/names.midnam" : "/names.ins");
        QFile old(target);
        QVERIFY(QDir().mkpath(folder) && old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        CShell shell(m_ini);
        QVERIFY(shell.app.OpenDocumentFile(Example("roland-jvxp.syx")));
        shell.prompt.files = {target};

        // No file may grow beyond 64 bytes while the command runs.
        const auto handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        QVERIFY(getrlimit(RLIMIT_FSIZE, &limit) == 0);
        const rlimit before = limit;
        limit.rlim_cur = 64;
        QVERIFY(setrlimit(RLIMIT_FSIZE, &limit) == 0);
        const bool ok = exporting ? shell.doc().OnFileExport() : shell.doc().OnFileSaveAs();
        setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, handler);

        QVERIFY(!ok);
        QCOMPARE(ReadAll(target), QByteArray("old"));
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{QFileInfo(target).fileName()});
        QCOMPARE(shell.prompt.asked.size(), std::size_t{1});
        QVERIFY(shell.prompt.asked[0].text.startsWith("Cannot save " + target + ":\n"));
        QCOMPARE(shell.title(), QStringLiteral("roland-jvxp - Bankwise"));
#else
        QSKIP("needs a file size limit");
#endif
    }

    void usageErrors()
    {
        for (const QStringList& args :
             {QStringList{"bankwise", "a.syx", "b.syx"}, QStringList{"bankwise", "--print"},
              QStringList{"bankwise", "--bogus"}})
            QCOMPARE(CShell(m_ini, args).status, 2);
    }

    void printToPdf()
    {
        SetShowOptions(0);
        const QString pdf = Path(QStringLiteral("out.pdf"));
        CShell shell(m_ini, {QStringLiteral("bankwise"), QStringLiteral("--print-to"), pdf,
                             Example("roland-jvxp.syx")});
        QCOMPARE(shell.status, 0);
        QVERIFY(!shell.app.MainFrame()->isVisible());
        QVERIFY(shell.prompt.asked.empty());
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (pdftotext.isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QProcess process;
        process.start(pdftotext, {pdf, QStringLiteral("-")});
        QVERIFY(process.waitForFinished(30000));
        const QString text = QString::fromUtf8(process.readAllStandardOutput());
        QVERIFY2(text.contains(QStringLiteral("0=USER:001 ")), qPrintable(text.left(400)));
        QVERIFY(text.contains(QStringLiteral("Patch[10240]=JV/XP User")));

        CShell failing(m_ini,
                       {QStringLiteral("bankwise"), QStringLiteral("--print-to"),
                        Path(QStringLiteral("no/such/dir/out.pdf")), Example("roland-jvxp.syx")});
        QCOMPARE(failing.status, 1);
        QCOMPARE(failing.prompt.Texts(),
                 QStringList{"Printing to " + Path("no/such/dir/out.pdf") + " failed."});

        if (QPrinterInfo::availablePrinters().isEmpty()) {
            CShell noPrinter(m_ini, {QStringLiteral("bankwise"), QStringLiteral("--print"),
                                     Example("roland-jvxp.syx")});
            QCOMPARE(noPrinter.status, 1);
            QCOMPARE(
                noPrinter.prompt.Texts(),
                QStringList{QStringLiteral("No printer is installed, so nothing was printed.")});
        }
    }
};

QTEST_MAIN(ShellTest)
#include "test_shell.moc"
