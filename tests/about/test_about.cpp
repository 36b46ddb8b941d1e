// The About box and its link labels, with a stand-in desktop: no browser,
// mail program or message box is ever opened.
#include "AboutDialog.h"
#include "Desktop.h"
#include "LinkLabel.h"

#include <QApplication>
#include <QEnterEvent>
#include <QFile>
#include <QMap>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace bankwise;

Q_DECLARE_METATYPE(std::optional<VersionNumbers>)

namespace {

template <typename T> std::optional<T> Lookup(const QMap<QString, T>& map, const QString& key)
{
    return map.contains(key) ? std::optional<T>(map.value(key)) : std::nullopt;
}

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
    void ShowMessage(QWidget*, QMessageBox::Icon icon, const QString& text) override
    {
        icons << icon;
        messages << text;
    }
    std::optional<VersionNumbers> ProgramVersion() override { return program; }
    std::optional<QString> FindLibrary(const QString& name) override
    {
        return Lookup(libraries, name);
    }
    std::optional<VersionNumbers> FileVersion(const QString& path) override
    {
        return Lookup(versions, path);
    }

    bool openWorks = false;
    QString browser;
    bool startWorks = false;
    std::optional<VersionNumbers> program;
    QMap<QString, QString> libraries;        // loaded name -> file
    QMap<QString, VersionNumbers> versions;  // file -> readable version

    QStringList opened;
    QList<QStringList> started;
    int beeps = 0;
    QList<QMessageBox::Icon> icons;
    QStringList messages;
};

const QString kPrefix = QStringLiteral("Unable to open hyperlink:\n\n");

void Send(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::NoButton)
{
    QMouseEvent event(type, at, widget->mapToGlobal(at), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button),
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

QColor Shown(const QWidget& label)
{
    return label.palette().color(QPalette::WindowText);
}

}  // namespace

class TestAbout : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CFakeDesktop> m_desktop;

    // A link on a window of its own, attached as the About dialog does.
    std::unique_ptr<QWidget> MakeLink(CLinkLabel*& link, const QString& text, const QString& target)
    {
        auto window = std::make_unique<QWidget>();
        link = new CLinkLabel(window.get());
        link->setText(text);
        link->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        link->setGeometry(10, 10, 300, 40);
        if (!target.isNull())
            link->SetTarget(target);
        link->PreSubclassWindow();
        return window;
    }

private slots:
    void init()
    {
        m_desktop = std::make_unique<CFakeDesktop>();
        SetDesktop(m_desktop.get());
    }
    void cleanup()
    {
        SetDesktop(nullptr);
        m_desktop.reset();
    }

    void errorMessages_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("reason");
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
            {33, "Unknown Error (33) occurred."},
            {-5, "Unknown Error (-5) occurred."},
        };
        for (const auto& [code, reason] : rows)
            QTest::addRow("%d", code) << code << QString::fromUtf8(reason);
    }
    void errorMessages()
    {
        QFETCH(int, code);
        QFETCH(QString, reason);
        QCOMPARE(OpenErrorMessage(code), kPrefix + reason);
    }

    void browserCommand_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("cut");
        QTest::addColumn<QStringList>("argv");
        const QString t = QStringLiteral("https://x.example/");
        QTest::newRow("quoted %1") << R"("C:\Web\browse.exe" -nohome "%1" -x)"
                                   << R"("C:\Web\browse.exe" -nohome )"
                                   << QStringList{R"(C:\Web\browse.exe)", "-nohome", t};
        QTest::newRow("bare %1") << "browse.exe %1"
                                 << "browse.exe " << QStringList{"browse.exe", t};
        QTest::newRow("none") << "/usr/bin/w3m -F"
                              << "/usr/bin/w3m -F" << QStringList{"/usr/bin/w3m", "-F", t};
        QTest::newRow("%u") << "firefox-esr %u"
                            << "firefox-esr " << QStringList{"firefox-esr", t};
        QTest::newRow("%U") << "chromium --new %U"
                            << "chromium --new " << QStringList{"chromium", "--new", t};
        QTest::newRow("quoted %f") << R"(sh -c "%f")"
                                   << "sh -c " << QStringList{"sh", "-c", t};
        QTest::newRow("%F") << "viewer %F --tail"
                            << "viewer " << QStringList{"viewer", t};
        QTest::newRow("quoted wins over bare") << R"(b %u "%1")"
                                               << "b %u " << QStringList{"b", "%u", t};
        QTest::newRow("nothing left") << "%u"
                                      << "" << QStringList{};
    }
    void browserCommand()
    {
        QFETCH(QString, command);
        QFETCH(QString, cut);
        QFETCH(QStringList, argv);
        QCOMPARE(CutPlaceholder(command), cut);
        QCOMPARE(BrowserArguments(command, QStringLiteral("https://x.example/")), argv);
    }

    void fitting_data()
    {
        QTest::addColumn<int>("alignment");
        QTest::addColumn<QSize>("text");
        QTest::addColumn<QRect>("fitted");
        const QSize small(41, 12);
        QTest::newRow("left") << int(Qt::AlignLeft | Qt::AlignTop) << small
                              << QRect(10, 20, 41, 12);
        QTest::newRow("centred") << int(Qt::AlignHCenter | Qt::AlignTop) << small
                                 << QRect(39, 20, 42, 12);
        QTest::newRow("right") << int(Qt::AlignRight | Qt::AlignTop) << small
                               << QRect(69, 20, 41, 12);
        QTest::newRow("v-centred")
            << int(Qt::AlignLeft | Qt::AlignVCenter) << small << QRect(10, 29, 41, 12);
        QTest::newRow("wider, centred")
            << int(Qt::AlignHCenter | Qt::AlignTop) << QSize(120, 12) << QRect(0, 20, 120, 12);
    }
    void fitting()
    {
        QFETCH(int, alignment);
        QFETCH(QSize, text);
        QFETCH(QRect, fitted);
        QCOMPARE(FitRect(QRect(10, 20, 100, 30), text, Qt::Alignment(alignment)), fitted);
    }

    void attaching()
    {
        CLinkLabel* link = nullptr;
        auto window = MakeLink(link, QString(), QStringLiteral("https://only.example/"));
        QCOMPARE(link->text(), QStringLiteral("https://only.example/"));

        auto other = MakeLink(link, QStringLiteral("Web: here"), QString());
        QCOMPARE(link->Target(), QStringLiteral("Web: here"));
        QCOMPARE(link->toolTip(), QStringLiteral("Web: here"));
        QVERIFY(link->font().underline());
        QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(link->size(), QFontMetrics(link->font()).size(Qt::TextSingleLine, link->text()));

        link->SetTarget(QStringLiteral("https://later.example/"));
        QCOMPARE(link->toolTip(), QStringLiteral("https://later.example/"));
    }

    void colours()
    {
        CLinkLabel* link = nullptr;
        auto window =
            MakeLink(link, QStringLiteral("Web: x"), QStringLiteral("https://x.example/"));
        const QColor normal(0, 0, 238), visited(85, 26, 139);
        const QColor hover = QApplication::palette().color(QPalette::Highlight);
        const QPoint inside(1, 1), outside(-3, 1);
        QCOMPARE(Shown(*link), normal);

        QEnterEvent enter(inside, inside, link->mapToGlobal(inside));
        QApplication::sendEvent(link, &enter);
        QCOMPARE(Shown(*link), hover);
        Send(link, QEvent::MouseMove, outside);
        QCOMPARE(Shown(*link), normal);

        link->MarkOpened(true);
        QCOMPARE(Shown(*link), visited);
        Send(link, QEvent::MouseMove, inside);
        QCOMPARE(Shown(*link), hover);  // hover wins over visited
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(link, &leave);
        QCOMPARE(Shown(*link), visited);
    }

    void clicking_data()
    {
        QTest::addColumn<bool>("openWorks");
        QTest::addColumn<QString>("browser");
        QTest::addColumn<bool>("startWorks");
        QTest::addColumn<QStringList>("started");
        QTest::addColumn<int>("code");  // 0 when opened
        const QString t = QStringLiteral("mailto:me@x.example");
        QTest::newRow("desktop opens") << true << "b %u" << true << QStringList{} << 0;
        QTest::newRow("browser opens")
            << false << "b -n %u" << true << QStringList{"b", "-n", t} << 0;
        QTest::newRow("browser fails") << false << "b %u" << false << QStringList{"b", t} << 2;
        QTest::newRow("no browser") << false << "" << true << QStringList{} << 31;
    }
    void clicking()
    {
        QFETCH(bool, openWorks);
        QFETCH(QString, browser);
        QFETCH(bool, startWorks);
        QFETCH(QStringList, started);
        QFETCH(int, code);
        m_desktop->openWorks = openWorks;
        m_desktop->browser = browser;
        m_desktop->startWorks = startWorks;
        CLinkLabel* link = nullptr;
        auto window =
            MakeLink(link, QStringLiteral("Email: me"), QStringLiteral("mailto:me@x.example"));
        link->MarkOpened(true);  // a failed click must take the visited look away again

        Send(link, QEvent::MouseButtonPress, QPoint(1, 1), Qt::LeftButton);
        Send(link, QEvent::MouseButtonRelease, QPoint(1, 1), Qt::LeftButton);

        QCOMPARE(m_desktop->opened, QStringList{"mailto:me@x.example"});
        QCOMPARE(m_desktop->started.value(0), started);
        QCOMPARE(m_desktop->beeps, code == 0 ? 0 : 1);
        QCOMPARE(m_desktop->messages,
                 code == 0 ? QStringList{} : QStringList{OpenErrorMessage(code)});
        QCOMPARE(link->CtlColor(), code == 0 ? QColor(85, 26, 139) : QColor(0, 0, 238));

        // Released away from the label: no click.
        Send(link, QEvent::MouseButtonRelease, QPoint(-4, 1), Qt::LeftButton);
        QCOMPARE(m_desktop->opened.size(), 1);
    }

    void information_data()
    {
        QTest::addColumn<std::optional<VersionNumbers>>("program");
        QTest::addColumn<QString>("programLine");
        QTest::newRow("versioned")
            << std::optional<VersionNumbers>({1, 2, 3, 4}) << "BANKWISE.EXE: 1.2.3.4\n";
        QTest::newRow("unreadable") << std::optional<VersionNumbers>() << "BANKWISE.EXE: Unknown";
    }
    void information()
    {
        QFETCH(std::optional<VersionNumbers>, program);
        QFETCH(QString, programLine);
        const QStringList names = RuntimeLibraryNames();
        QCOMPARE(names.size(), 4);
        m_desktop->program = program;
        m_desktop->libraries = {{names[0], "/lib/a"}, {names[2], "/lib/c"}, {names[3], "/lib/d"}};
        m_desktop->versions = {{"/lib/a", {6, 0, 30, 0}}, {"/lib/d", {65535, 4, 2, 1}}};

        const QString expected =
            QStringLiteral(
                "§ Program Informations:\nBuilt with C++20 and Qt 6 Widgets\n\n"
                "§ Supported Synthesizers / Tone Modules:\nE-MU Orbit/Phatt/Caranaval\n"
                "Roland JV/XP\nKorg Prophecy\nKorg TR-Rack\nYamaha FS1R\naccess Virus\n\n"
                "§ Program Version:\n") +
            programLine + QStringLiteral("\n§ DLLs Version:\n") + names[0] + ": 6.0.30.0\n" +
            names[1] + ": Not installed\n" + names[2] + ": Unknown\n" + names[3] +
            ": 65535.4.2.1\n";
        QCOMPARE(ProgramInformation(*m_desktop), expected);
    }

    void versionFromFileName_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<std::optional<VersionNumbers>>("version");
        using V = std::optional<VersionNumbers>;
        QTest::newRow("qt") << "/usr/lib/libQt6Core.so.6.4.2" << V({6, 4, 2, 0});
        QTest::newRow("four") << "libx.so.1.2.3.4" << V({1, 2, 3, 4});
        QTest::newRow("soname only") << "/lib/libx.so.6" << V();
        QTest::newRow("five") << "libx.so.1.2.3.4.5" << V();
        QTest::newRow("too big") << "libx.so.65536.1" << V();
    }
    void versionFromFileName()
    {
        QFETCH(QString, file);
        QFETCH(std::optional<VersionNumbers>, version);
        QCOMPARE(VersionFromFileName(file), version);
    }

    // The real desktop, where that opens nothing: a browser that cannot
    // start is told as a failure.
    void realDesktop()
    {
        CDesktop real;
        QVERIFY(real.StartProcess({QStringLiteral("true")}));
        QVERIFY(!real.StartProcess({QStringLiteral("/nonexistent/browser"), QStringLiteral("x")}));
        QVERIFY(!real.StartProcess({}));
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

    void dialog()
    {
        CAboutDialog dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("About Bankwise"));
        const auto* mail = dialog.findChild<CLinkLabel*>(QStringLiteral("mailLink"));
        const auto* web = dialog.findChild<CLinkLabel*>(QStringLiteral("webLink"));
        QVERIFY(mail && web);
        QCOMPARE(mail->text(), QStringLiteral("Email: bankwise@example.org"));
        QCOMPARE(mail->toolTip(), QStringLiteral("mailto:bankwise@example.org"));
        QCOMPARE(web->text(), QStringLiteral("Web: https://example.org/"));
        QCOMPARE(web->Target(), QStringLiteral("https://example.org/"));

        dialog.findChild<QPushButton*>(QStringLiteral("moreButton"))->click();
        QCOMPARE(m_desktop->icons, QList<QMessageBox::Icon>{QMessageBox::Information});
        QCOMPARE(m_desktop->messages, QStringList{ProgramInformation(*m_desktop)});
    }

    void dialogUnits()  // rounded per edge, so neighbours never overlap or gap
    {
        QCOMPARE(DialogUnitsToPixels(QRect(7, 103, 124, 8), 6, 13), QRect(11, 167, 186, 13));
        QCOMPARE(DialogUnitsToPixels(QRect(0, 0, 215, 117), 7, 16), QRect(0, 0, 376, 234));
    }
};

QTEST_MAIN(TestAbout)
#include "test_about.moc"
