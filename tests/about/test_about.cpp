// The About box's link labels, on a stand-in desktop that opens nothing.
#include "AboutDialog.h"
#include "Desktop.h"
#include "LinkLabel.h"

#include <QTest>
#include <QtWidgets>

using namespace bankwise;

namespace {

// Records what the link and the dialog ask for and answers as told.
class CFakeDesktop : public CDesktop
{
public:
    bool OpenUrl(const QString& target) override
    {
        opened << target;
        return openWorks;
    }
    QString BrowserCommand() override { return browser; }
    bool StartProcess(const QStringList& argv) override
    {
        started << argv;
        return startWorks;
    }
    void Beep() override { ++beeps; }
    void ShowMessage(QWidget*, QMessageBox::Icon, const QString& t) override { messages << t; }
    std::optional<VersionNumbers> ProgramVersion() override { return program; }
    std::optional<QString> FindLibrary(const QString& name) override
    {
        return libraries.contains(name) ? std::optional(libraries.value(name)) : std::nullopt;
    }
    std::optional<VersionNumbers> FileVersion(const QString& path) override
    {
        return path.endsWith(QLatin1String(".9")) ? std::optional(VersionNumbers{9, 8, 7, 6})
                                                  : std::nullopt;
    }

    std::optional<VersionNumbers> program;
    QMap<QString, QString> libraries;  // found: name -> file, versioned when it ends in .9
    bool openWorks = false, startWorks = false;
    QString browser;
    QStringList opened, messages;
    QList<QStringList> started;
    int beeps = 0;
};

void Send(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::NoButton)
{
    QMouseEvent event(type, at, widget->mapToGlobal(at), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button),
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

}  // namespace

class TestAbout : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CFakeDesktop> m_desktop;
    std::unique_ptr<QWidget> m_window;

    // A link on a window of its own, attached as the About dialog does.
    CLinkLabel* MakeLink(const QString& text, const QString& target)
    {
        m_window = std::make_unique<QWidget>();
        auto* link = new CLinkLabel(m_window.get());
        link->setText(text);
        link->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        link->setGeometry(10, 10, 300, 40);
        if (!target.isNull())
            link->SetTarget(target);
        link->PreSubclassWindow();
        return link;
    }

private slots:
    void init()
    {
        m_desktop = std::make_unique<CFakeDesktop>();
        SetDesktop(m_desktop.get());
    }
    void cleanup()
    {
        m_window.reset();
        SetDesktop(nullptr);
        m_desktop.reset();
    }

    // The address goes where the placeholder stood, as one argument.
    void browserCommand()
    {
        const QString t = QStringLiteral("https://x.example/");
        const std::tuple<QString, QStringList> rows[] = {
            {R"("C:\Web\browse.exe" -nohome "%1" -x)", {R"(C:\Web\browse.exe)", "-nohome", t}},
            {"chromium --new %U", {"chromium", "--new", t}},
            {"%u -x %F", {}},  // names no program
        };
        for (const auto& [command, argv] : rows)
            QCOMPARE(BrowserArguments(command, t), argv);
    }

    // Library versions come from the file name after ".so."; a part that is
    // no number or does not fit 16 bits gives none. A loaded library is found
    // by the name it is asked for, with its version appended.
    void versions()
    {
        const auto v = [](const char* file) { return VersionFromFileName(QLatin1String(file)); };
        QVERIFY((v("/lib/libQt6Core.so.6.4.2") == VersionNumbers{6, 4, 2, 0}));
        QVERIFY((v(".so.65535.1.2.3") == VersionNumbers{65535, 1, 2, 3}));
        QVERIFY(!v("libx.so.65536.1") && !v("libx.so.6") && !v("libx.so.6.a") && !v("libx.6.1"));
        QVERIFY(CDesktop().FindLibrary(QStringLiteral("libQt6Core.so.6")));
    }

    void colours()
    {
        // Without a text of its own the link shows its target.
        QCOMPARE(MakeLink(QString(), QStringLiteral("https://x.example/"))->text(),
                 QStringLiteral("https://x.example/"));
        CLinkLabel* link = MakeLink(QStringLiteral("Web: x"), QStringLiteral("https://x.example/"));
        const auto shown = [link] { return link->palette().color(QPalette::WindowText); };
        const QColor normal(0, 0, 238), visited(85, 26, 139);
        const QColor hover = QApplication::palette().color(QPalette::Highlight);
        const QPoint inside(1, 1), outside(-3, 1);
        QCOMPARE(shown(), normal);

        QEnterEvent enter(inside, inside, link->mapToGlobal(inside));
        QApplication::sendEvent(link, &enter);
        QCOMPARE(shown(), hover);
        Send(link, QEvent::MouseMove, outside);
        QCOMPARE(shown(), normal);

        link->MarkOpened(true);
        QCOMPARE(shown(), visited);
        Send(link, QEvent::MouseMove, inside);
        QCOMPARE(shown(), hover);  // hover wins over visited
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(link, &leave);
        QCOMPARE(shown(), visited);
    }

    // A click opens through the desktop, else through the registered
    // browser; a failure beeps, says why and takes the visited look away.
    void clicking()
    {
        const QString t = QStringLiteral("mailto:me@x.example");
        const std::tuple<bool, QString, bool, QStringList, int> rows[] = {
            {true, "b %u", true, {}, 0},
            {false, "b -n %u", true, {"b", "-n", t}, 0},
            {false, "b %u", false, {"b", t}, 2},
            {false, "", true, {}, 31}};
        for (const auto& [openWorks, browser, startWorks, started, code] : rows) {
            init();
            m_desktop->openWorks = openWorks;
            m_desktop->browser = browser;
            m_desktop->startWorks = startWorks;
            CLinkLabel* link = MakeLink(QStringLiteral("Email: me"), t);
            link->MarkOpened(true);
            Send(link, QEvent::MouseButtonPress, QPoint(1, 1), Qt::LeftButton);
            Send(link, QEvent::MouseButtonRelease, QPoint(1, 1), Qt::LeftButton);
            QCOMPARE(m_desktop->opened, QStringList{t});
            QCOMPARE(m_desktop->started.value(0), started);
            QCOMPARE(m_desktop->beeps, code == 0 ? 0 : 1);
            QCOMPARE(m_desktop->messages,
                     code == 0 ? QStringList{}
                               : QStringList{QString::fromStdString(OpenErrorMessage(code))});
            QCOMPARE(link->CtlColor(), code == 0 ? QColor(85, 26, 139) : QColor(0, 0, 238));
            Send(link, QEvent::MouseButtonRelease, QPoint(-4, 1), Qt::LeftButton);  // away
            QCOMPARE(m_desktop->opened.size(), 1);
        }
    }

    // The program line, then each library in order: its version, "Unknown"
    // when it is loaded without one, "Not installed" when it is not loaded.
    void informationBox()
    {
        const QStringList names = RuntimeLibraryNames();
        QCOMPARE(names.size(), 4);
        const auto lines = [&](const QStringList& states) {
            QString text;
            for (int i = 0; i < names.size(); ++i)
                text += names[i] + ": " + states[i] + "\n";
            return text;
        };
        const QString dlls = QString::fromUtf8("\xC2\xA7 DLLs Version:\n");
        const std::tuple<std::optional<VersionNumbers>, QStringList, QString> rows[] = {
            {VersionNumbers{1, 2, 3, 4},
             {"lib.9", "lib.9", "lib.9", "lib.9"},
             "BANKWISE.EXE: 1.2.3.4\n\n" + dlls +
                 lines({"9.8.7.6", "9.8.7.6", "9.8.7.6", "9.8.7.6"})},
            {std::nullopt,
             {"", "lib.9", "lib", ""},
             "BANKWISE.EXE: Unknown\n" + dlls +
                 lines({"Not installed", "9.8.7.6", "Unknown", "Not installed"})},
        };
        for (const auto& [program, files, expected] : rows) {
            m_desktop->program = program;
            m_desktop->libraries.clear();
            for (int i = 0; i < names.size(); ++i) {
                if (!files[i].isEmpty())
                    m_desktop->libraries.insert(names[i], files[i]);
            }
            const QString text = ProgramInformation(*m_desktop);
            QVERIFY2(text.contains("\nE-MU Orbit/Phatt/Caranaval\nRoland JV/XP\n"),
                     qPrintable(text));
            QVERIFY2(text.endsWith(expected), qPrintable(text));
        }

        // Enter on a focused "More..." opens the box; on OK it closes the dialog.
        CAboutDialog dialog;
        dialog.show();
        auto* more = dialog.findChild<QPushButton*>(QStringLiteral("moreButton"));
        more->setFocus();
        QTest::keyClick(more, Qt::Key_Return);
        QCOMPARE(m_desktop->messages.size(), 1);
        QVERIFY(dialog.isVisible());
    }

    void registeredBrowser()
    {
        QTemporaryDir dir;
        const auto write = [&](const QString& name, const QByteArray& text) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(text);
        };
        write("mimeapps.list", "x-scheme-handler/http=wrong.desktop\n[Added "
                               "Associations]\nx-scheme-handler/http=wrong.desktop\n"
                               "[Default Applications]\ntext/plain=wrong.desktop\n"
                               "x-scheme-handler/http = gone.desktop;web.desktop;\n");
        write("wrong.desktop", "[Desktop Entry]\nExec=wrong %u\n");
        write("web.desktop", "[Desktop Action new]\nExec=web --window %u\n"
                             "[Desktop Entry]\nName=Web\nExec=web %u\n");
        const QStringList lists{dir.filePath("none.list"), dir.filePath("mimeapps.list")};
        const QStringList apps{dir.filePath("nowhere"), dir.path()};

        QCOMPARE(FindBrowserCommand(QString(), lists, apps), QStringLiteral("web %u"));
        QCOMPARE(FindBrowserCommand(QStringLiteral("lynx %s:w3m"), lists, apps),
                 QStringLiteral("lynx %s"));
        QCOMPARE(FindBrowserCommand(QString(), {dir.filePath("none.list")}, apps), QString());
    }
};

QTEST_MAIN(TestAbout)
#include "test_about.moc"
