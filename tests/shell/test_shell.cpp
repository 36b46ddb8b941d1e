// The desktop program road by road; a scripted prompt answers every box and dialog.
#include <QtPrintSupport>
#include <QtTest>
#include <QtWidgets>

#include <deque>
#include <functional>
#include <sstream>

#include <sys/stat.h>

#include "BankwiseApp.h"
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
    QString FileName(QWidget*, CFileRequest& request) override
    {
        requests.push_back(request);
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
    CDocument& doc() { return app.Document(); }
    CBankwiseView& view() { return *app.MainFrame()->GetView(); }
    QStringList recent()
    {
        QStringList files;
        for (const std::string& file : doc().GetRecentFiles())
            files << FromDocText(file);
        return files;
    }
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

    // The Qt side of the open and save road (the road itself is the
    // document's, tested there): the settings file's naming options, the
    // window title, the menus, typing in the view, the status bar.
    void openConvertSave()
    {
        const QString dump = Example("roland-jvxp.mid");
        Store("Roland JV/XP", "InstrFormat", "U%04d|");
        CShell shell(m_ini);
        QVERIFY(shell.app.OpenDocumentFile(dump));
        QCOMPARE(shell.title(), "roland-jvxp - Bankwise");
        QVERIFY(shell.optionsEnabled());
        // What was read, until the next command prompt.
        QCOMPARE(shell.barText(), FromDocText(shell.doc().GetExtractor()->DescribeContents()));

        const QString target = Path("roland-jvxp.ins");
        QVERIFY(shell.saveAs(target));
        const QByteArray saved = ReadAll(target);
        QCOMPARE(saved.toStdString(), ConverterOutput(dump, m_ini));
        QCOMPARE(shell.title(), "roland-jvxp.ins - Bankwise");

        shell.view().moveCursor(QTextCursor::End);  // typed text marks the document
        QTest::keyClicks(&shell.view(), "; mine");
        QVERIFY(shell.doc().IsModified());
        QVERIFY(shell.doc().OnFileSave());
        QCOMPARE(ReadAll(target), saved + "; mine");
        QVERIFY(shell.prompt.asked.empty());
    }

    // Bytes are saved as they came; only CR LF ends a line on screen.
    void viewKeepsEveryByte()
    {
        std::string everyByte;
        for (int c = 0; c < 256; ++c)
            everyByte += static_cast<char>(c);
        CBankwiseView view;
        for (const std::string& bytes : {everyByte, std::string("a\rb\nc\r\n\r\r\n\n\r")}) {
            view.SetText(bytes);
            QCOMPARE(view.GetText(), bytes);
            QVERIFY(!view.IsUserChanged());
        }
        QCOMPARE(BytesFromText(QStringLiteral("x\u20ACy")), std::string("x?y"));
        view.SetText("\r\nx\ry\r\n");
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
        QCOMPARE(shell.view().GetText(), ConverterOutput(dump, m_ini));
        answer("Studio JV", false, true);
        shell.frame().Action(ID_VIEW_OPTIONS)->trigger();
        QCOMPARE(stored().second, 0);

        QVERIFY(shell.open("access-virus.syx"));  // box switched off
        QCOMPARE(shell.prompt.dialogs, 3);
        shell.frame().Action(ID_VIEW_OPTIONS)->trigger();
        QCOMPARE(shownChecked, std::vector<bool>({true, true, true, false}));
    }

    // A first start takes two thirds of the screen; a closed window's place
    // is where the next start opens.
    void windowPlace()
    {
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        {
            CShell first(m_ini);
            QCOMPARE(first.frame().height(), area.height() * 2 / 3);
            QVERIFY(first.frame().width() >= area.width() * 2 / 3);
            first.frame().show();
            first.frame().setGeometry(20, 30, 400, 300);
            QVERIFY(first.frame().close());
        }
        QCOMPARE(Stored({"WindowLeft", "WindowTop", "WindowWidth", "WindowHeight"}),
                 QStringList({"20", "30", "400", "300"}));
        CShell second(m_ini);
        QCOMPARE(second.frame().geometry(), QRect(20, 30, 400, 300));
    }

    // The keys, the commands' first state and tips, the lock-key panes, drops.
    void frameKeysLocksAndDrops()
    {
        QApplication::clipboard()->clear();
        CShell shell(m_ini);
        CMainFrame& frame = shell.frame();
        const std::tuple<QKeySequence, std::uint32_t, bool> keys[] = {
            {QKeySequence(Qt::CTRL | Qt::Key_N), ID_FILE_NEW, true},
            {QKeySequence(Qt::ALT | Qt::Key_Backspace), ID_EDIT_UNDO, false},
            {QKeySequence(Qt::SHIFT | Qt::Key_Delete), ID_EDIT_CUT, false},
            {QKeySequence(Qt::CTRL | Qt::Key_Insert), ID_EDIT_COPY, false},
            {QKeySequence(Qt::SHIFT | Qt::Key_Insert), ID_EDIT_PASTE, false},  // nothing to paste
            {QKeySequence(Qt::SHIFT | Qt::Key_F6), ID_PREV_PANE, true}};
        for (const auto& [key, id, enabled] : keys) {
            QVERIFY2(frame.Action(id)->shortcuts().contains(key), qPrintable(key.toString()));
            QCOMPARE(frame.Action(id)->isEnabled(), enabled);
        }
        QVERIFY(frame.Action(ID_VIEW_STATUS_BAR)->isChecked());
        // Paste follows the clipboard: text, then a picture only.
        QApplication::clipboard()->setText(QStringLiteral("x"));
        QVERIFY(frame.Action(ID_EDIT_PASTE)->isEnabled());
        auto* picture = new QMimeData;
        picture->setData(QStringLiteral("image/png"), "x");
        QApplication::clipboard()->setMimeData(picture);
        QVERIFY(!frame.Action(ID_EDIT_PASTE)->isEnabled());
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
        QCOMPARE(shell.recent().mid(0, 2),
                 QStringList({Example("yamaha-fs1r.mid"), Example("emu-orbit.syx")}));

        QList<QAction*> recent;  // the File menu lists them
        for (QAction* a : shell.fileMenu()) {
            if (a->text() == QLatin1String("Recent File"))
                QVERIFY(!a->isVisible() && !a->isEnabled());
            if (a->text().startsWith(QLatin1Char('&')) && a->text().at(1).isDigit())
                recent.append(a);
        }
        QCOMPARE(recent.size(), 3);
        QCOMPARE(recent[1]->text(), "&2 " + Example("emu-orbit.syx"));
        QCOMPARE(recent[1]->statusTip(), "Open this document");
        recent[1]->trigger();
        QCOMPARE(shell.title(), "emu-orbit - Bankwise");
    }

    // A note given before the window is first shown stays in sight.
    void noteBeforeShown()
    {
        QVERIFY(WriteAll(Path("cut.syx"), ReadAll(Example("roland-jvxp.syx")).chopped(5)));
        CShell started(m_ini, {"bankwise", Path("cut.syx")});
        QVERIFY(started.barText().startsWith("cut.syx: ") && !started.frame().Pane(0)->isVisible());
    }

    // The real dialog: filters, name, note; the user's filter wins.
    void exportDialog()
    {
        CShell shell(m_ini);
        QVERIFY(shell.open("emu-orbit.syx"));
        QVERIFY(!shell.doc().OnFileExport());  // cancelled; the request is kept
        CFileRequest request = shell.prompt.requests.back();
        request.strProposedName = ToDocText(Path("emu-orbit.reabank"));
        request.nFilter = 1;

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
        for (const CFileFilter& offered : request.filters)
            filters << FromDocText(offered.strName);
        QCOMPARE(filters.mid(0, 2), QStringList({kMidnamFilter, kReabankFilter}));
        QCOMPARE(seen, filters + QStringList({"emu-orbit.reabank", kReabankFilter, "reabank",
                                              LoadQString(IDS_SHELL_EXPORT_NOTE)}));
        QCOMPARE(request.nFilter, std::size_t{0});
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

    // --help and --version answer without a display; usage errors end with 2
    // and say what was wrong.
    void commandLine()
    {
        const std::pair<QStringList, QByteArray> usage[] = {
            {{"a.syx", "b.syx"}, "bankwise: one FILE at most is opened; 2 were given."},
            {{"--print"}, "bankwise: --print and --print-to need the FILE to print."},
            {{"--bogus"}, "bankwise: Unknown option 'bogus'."},
        };
        for (const auto& [args, problem] : usage) {
            QProcess process;
            process.start(QStringLiteral(BANKWISE_SHELL_EXE), args);
            QVERIFY(process.waitForFinished(30000));
            QCOMPARE(process.exitCode(), 2);
            // Qt may warn about the session first.
            QVERIFY2(process.readAllStandardError().split('\n').contains(problem),
                     problem.constData());
        }
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
