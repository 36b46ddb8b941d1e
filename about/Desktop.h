// What the About box asks of the desktop: opening addresses, the registered
// browser, starting a program, beeps, message boxes, and the versions of the
// program and its loaded libraries. All of it goes through one replaceable
// object, so tests never open a browser or a box.
#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>

#include "AboutRules.h"

namespace bankwise {

class CDesktop
{
public:
    CDesktop() = default;
    CDesktop(const CDesktop&) = delete;
    CDesktop& operator=(const CDesktop&) = delete;
    virtual ~CDesktop() = default;

    // Hands a web or mailto: address to the desktop's own handler.
    virtual bool OpenUrl(const QString& target);
    // The registered web browser's command line, placeholder included;
    // empty when none is registered.
    virtual QString BrowserCommand();
    virtual bool StartProcess(const QStringList& argv);
    virtual void Beep();
    // A modal box with an OK button, titled with the program's name.
    virtual void ShowMessage(QWidget* parent, QMessageBox::Icon icon, const QString& text);

    virtual std::optional<VersionNumbers> ProgramVersion();
    // The file of a library this process has loaded, if it has.
    virtual std::optional<QString> FindLibrary(const QString& name);
    virtual std::optional<VersionNumbers> FileVersion(const QString& path);
};

// The desktop in use: the real one unless a stand-in is installed.
CDesktop& Desktop();
// Installs a stand-in (the caller keeps ownership); nullptr restores the real one.
void SetDesktop(CDesktop* desktop);

// A string-table text as the About box shows it: the table is UTF-8.
QString LoadText(std::uint32_t id);

// The value of key in [group] of a desktop-entry or mimeapps.list text.
QString IniValue(const QString& text, const QString& group, const QString& key);

// The browser command a freedesktop system has registered: $BROWSER (its
// first entry) when set, else the Exec line of the first default web
// browser named in the given mimeapps.list files whose desktop entry is
// found in the application folders.
QString FindBrowserCommand(const QString& browserVariable, const QStringList& mimeappsFiles,
                           const QStringList& applicationDirs);

// "libQt6Core.so.6.4.2" -> 6.4.2.0. A name with fewer than a major and a
// minor number after ".so." has no readable version.
std::optional<VersionNumbers> VersionFromFileName(const QString& path);

}  // namespace bankwise
