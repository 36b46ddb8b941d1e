// Help > About: the program's picture, name and version, the maker's notice
// and links, and "More..." for the program's and its libraries' versions.
#pragma once

#include "LinkLabel.h"

#include <QDialog>
#include <QFontMetrics>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

namespace bankwise {

class CDesktop;

class CAboutDialog : public QDialog
{
    Q_OBJECT
public:
    explicit CAboutDialog(QWidget* parent = nullptr);

    // Shows the program-information box.
    void OnMoreInfo();

private:
    void DoDataExchange();

    CLinkLabel m_mailLink;
    CLinkLabel m_webLink;
};

// A rectangle given in dialog units, in pixels of a font whose average
// character is avgCharWidth wide and charHeight high. Both dialogs place
// their controls by it.
QRect DialogUnitsToPixels(const QRect& units, int avgCharWidth, int charHeight);
// A font's average character width, measured over the alphabet as the
// classic conversion does, and its height.
QSize DialogBaseUnits(const QFontMetrics& metrics);

// The run-time libraries listed in the information box, in order.
QStringList RuntimeLibraryNames();

// The information box's text, with versions as the desktop reports them.
QString ProgramInformation(CDesktop& desktop);

}  // namespace bankwise
