#include "Desktop.h"

#include "StringTable.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#ifdef Q_OS_WIN
#include <QSettings>
#endif

namespace bankwise {
namespace {

CDesktop* g_installed = nullptr;

QString ReadTextFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

std::optional<VersionNumbers> ParseVersion(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() < 2 || parts.size() > 4)
        return std::nullopt;
    VersionNumbers numbers{};
    for (qsizetype i = 0; i < parts.size(); ++i) {
        bool ok = false;
        const uint value = parts[i].toUInt(&ok);
        if (!ok || value > 0xFFFF)
            return std::nullopt;
        numbers[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(value);
    }
    return numbers;
}

#ifdef Q_OS_WIN
// The open command of the class that HKEY_CLASSES_ROOT\.htm names.
QString RegisteredHtmCommand()
{
    const QString root = QStringLiteral("HKEY_CLASSES_ROOT\\");
    const QString htmClass = QSettings(root + QStringLiteral(".htm"), QSettings::NativeFormat)
                                 .value("Default")
                                 .toString();
    if (htmClass.isEmpty())
        return {};
    return QSettings(root + htmClass + QStringLiteral("\\shell\\open\\command"),
                     QSettings::NativeFormat)
        .value("Default")
        .toString();
}
#endif

}  // namespace

bool CDesktop::OpenUrl(const QString& target)
{
    return QDesktopServices::openUrl(QUrl::fromUserInput(target));
}

QString CDesktop::BrowserCommand()
{
#ifdef Q_OS_WIN
    return RegisteredHtmCommand();
#else
    QStringList mimeapps;
    for (const QString& dir :
         QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation))
        mimeapps << dir + QStringLiteral("/mimeapps.list");
    const QStringList applications =
        QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation);
    for (const QString& dir : applications)
        mimeapps << dir + QStringLiteral("/mimeapps.list");
    return FindBrowserCommand(qEnvironmentVariable("BROWSER"), mimeapps, applications);
#endif
}

bool CDesktop::StartProcess(const QStringList& argv)
{
    return !argv.isEmpty() && QProcess::startDetached(argv.first(), argv.mid(1));
}

void CDesktop::Beep()
{
    QApplication::beep();
}

void CDesktop::ShowMessage(QWidget* parent, QMessageBox::Icon icon, const QString& text)
{
    QMessageBox box(icon, LoadText(AFX_IDS_APP_TITLE), text, QMessageBox::Ok, parent);
    box.exec();
}

std::optional<VersionNumbers> CDesktop::ProgramVersion()
{
    return VersionNumbers{BANKWISE_VERSION_MAJOR, BANKWISE_VERSION_MINOR, BANKWISE_VERSION_PATCH,
                          BANKWISE_VERSION_TWEAK};
}

std::optional<QString> CDesktop::FindLibrary(const QString& name)
{
#ifdef Q_OS_LINUX
    // Each mapped file once per segment; the first match is enough.
    const QStringList lines =
        ReadTextFile(QStringLiteral("/proc/self/maps")).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        const qsizetype slash = line.indexOf(QLatin1Char('/'));
        if (slash < 0)
            continue;
        const QString path = line.mid(slash);
        const QString file = QFileInfo(path).fileName();
        if (file == name || file.startsWith(name + QLatin1Char('.')))
            return path;
    }
    return std::nullopt;
#else
    // Linked in, hence loaded; the version is read from Qt's own call below.
    return name;
#endif
}

std::optional<VersionNumbers> CDesktop::FileVersion(const QString& path)
{
#ifdef Q_OS_LINUX
    return VersionFromFileName(path);
#else
    if (path.startsWith(QStringLiteral("Qt6")))
        return ParseVersion(QString::fromLatin1(qVersion()));
    return std::nullopt;
#endif
}

CDesktop& Desktop()
{
    static CDesktop real;
    return g_installed != nullptr ? *g_installed : real;
}

void SetDesktop(CDesktop* desktop)
{
    g_installed = desktop;
}

QString LoadText(std::uint32_t id)
{
    return QString::fromStdString(LoadString(id));
}

QString IniValue(const QString& text, const QString& group, const QString& key)
{
    const QString header = QLatin1Char('[') + group + QLatin1Char(']');
    bool inGroup = false;
    for (const QString& raw : text.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inGroup = line == header;
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (inGroup && equals > 0 && line.left(equals).trimmed() == key)
            return line.mid(equals + 1).trimmed();
    }
    return {};
}

QString FindBrowserCommand(const QString& browserVariable, const QStringList& mimeappsFiles,
                           const QStringList& applicationDirs)
{
    // $BROWSER may list several commands separated by colons; the first one wins.
    QString fromVariable = browserVariable.section(QLatin1Char(':'), 0, 0).trimmed();
    if (!fromVariable.isEmpty())
        return fromVariable;

    static const char* const kWebTypes[] = {"x-scheme-handler/http", "x-scheme-handler/https",
                                            "text/html"};
    for (const QString& list : mimeappsFiles) {
        const QString text = ReadTextFile(list);
        for (const char* type : kWebTypes) {
            const QString ids =
                IniValue(text, QStringLiteral("Default Applications"), QString::fromLatin1(type));
            for (const QString& id : ids.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
                for (const QString& dir : applicationDirs) {
                    QString exec =
                        IniValue(ReadTextFile(QDir(dir).filePath(id)),
                                 QStringLiteral("Desktop Entry"), QStringLiteral("Exec"));
                    if (!exec.isEmpty())
                        return exec;
                }
            }
        }
    }
    return {};
}

std::optional<VersionNumbers> VersionFromFileName(const QString& path)
{
    const QString file = QFileInfo(path).fileName();
    const qsizetype so = file.indexOf(QStringLiteral(".so."));
    if (so < 0)
        return std::nullopt;
    return ParseVersion(file.mid(so + 4));
}

}  // namespace bankwise
