#include "AboutDialog.h"

#include "AboutRules.h"
#include "Desktop.h"
#include "StringTable.h"

#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include <string>
#include <vector>
#include <version>

namespace bankwise {
namespace {

// Rounds as the classic dialog-unit conversion does.
int Scale(int value, int numerator, int denominator)
{
    return (value * numerator + denominator / 2) / denominator;
}

}  // namespace

CAboutDialog::CAboutDialog(QWidget* parent) : QDialog(parent), m_mailLink(this), m_webLink(this)
{
    setWindowTitle(LoadText(IDS_ABOUT_CAPTION));
    const QSize base = DialogBaseUnits(QFontMetrics(font()));
    const auto place = [&](QWidget* widget, int x, int y, int width, int height) {
        widget->setGeometry(
            DialogUnitsToPixels(QRect(x, y, width, height), base.width(), base.height()));
    };

    // In the order the keyboard visits them.
    auto* ok = new QPushButton(LoadText(IDS_ABOUT_OK), this);
    place(ok, 158, 7, 50, 14);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    m_webLink.setText(LoadText(IDS_ABOUT_WEB_LABEL) + LoadText(IDS_ABOUT_WEB_ADDRESS));
    m_webLink.setObjectName(QStringLiteral("webLink"));
    place(&m_webLink, 7, 103, 124, 8);

    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    place(frame, 7, 7, 141, 83);

    // The picture keeps its own size, centred across its frame at the top
    // wherever the font puts the frame.
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("picture"));
    picture->setPixmap(QPixmap(QStringLiteral(":/about/about.png")));
    place(picture, 14, 14, 133, 49);
    picture->setGeometry(frame->x() + (frame->width() - picture->pixmap().width()) / 2,
                         picture->y(), picture->pixmap().width(), picture->pixmap().height());

    auto* title = new QLabel(LoadText(IDS_ABOUT_TITLE), this);
    title->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    place(title, 10, 67, 135, 8);

    m_mailLink.setText(LoadText(IDS_ABOUT_MAIL_LABEL) + LoadText(IDS_ABOUT_MAIL_ADDRESS));
    m_mailLink.setObjectName(QStringLiteral("mailLink"));
    place(&m_mailLink, 7, 93, 124, 8);

    auto* notice = new QLabel(LoadText(IDS_ABOUT_NOTICE), this);
    notice->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    place(notice, 10, 77, 135, 8);

    auto* more = new QPushButton(LoadText(IDS_ABOUT_MORE), this);
    more->setObjectName(QStringLiteral("moreButton"));
    place(more, 158, 24, 50, 14);
    // Enter on a focused "More..." opens the box, as it does on Windows.
    more->setAutoDefault(true);
    connect(more, &QPushButton::clicked, this, &CAboutDialog::OnMoreInfo);

    for (CLinkLabel* link : {&m_webLink, &m_mailLink})
        link->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setFixedSize(DialogUnitsToPixels(QRect(0, 0, 215, 117), base.width(), base.height()).size());

    DoDataExchange();
    m_mailLink.SetTarget(QStringLiteral("mailto:") + LoadText(IDS_ABOUT_MAIL_ADDRESS));
    m_webLink.SetTarget(LoadText(IDS_ABOUT_WEB_ADDRESS));
}

void CAboutDialog::DoDataExchange()
{
    m_mailLink.PreSubclassWindow();
    m_webLink.PreSubclassWindow();
}

void CAboutDialog::OnMoreInfo()
{
    Desktop().ShowMessage(this, QMessageBox::Information, ProgramInformation(Desktop()));
}

QRect DialogUnitsToPixels(const QRect& units, int avgCharWidth, int charHeight)
{
    const int left = Scale(units.x(), avgCharWidth, 4);
    const int top = Scale(units.y(), charHeight, 8);
    const int right = Scale(units.x() + units.width(), avgCharWidth, 4);
    const int bottom = Scale(units.y() + units.height(), charHeight, 8);
    return QRect(left, top, right - left, bottom - top);
}

QSize DialogBaseUnits(const QFontMetrics& metrics)
{
    const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return {Scale(metrics.horizontalAdvance(alphabet), 1, 52), metrics.height()};
}

QStringList RuntimeLibraryNames()
{
#if defined(Q_OS_LINUX)
#if defined(_LIBCPP_VERSION)
    const QString runtime = QStringLiteral("libc++.so.1");
#else
    const QString runtime = QStringLiteral("libstdc++.so.6");
#endif
    return {runtime, QStringLiteral("libQt6Core.so.6"), QStringLiteral("libQt6Gui.so.6"),
            QStringLiteral("libQt6Widgets.so.6")};
#else
    return {QStringLiteral("C++ runtime"), QStringLiteral("Qt6Core"), QStringLiteral("Qt6Gui"),
            QStringLiteral("Qt6Widgets")};
#endif
}

QString ProgramInformation(CDesktop& desktop)
{
    std::vector<CLibraryLine> libraries;
    for (const QString& library : RuntimeLibraryNames()) {
        const auto path = desktop.FindLibrary(library);
        libraries.push_back({library.toStdString(), path.has_value(),
                             path ? desktop.FileVersion(*path) : std::nullopt});
    }
    return QString::fromStdString(ProgramInformationText(desktop.ProgramVersion(), libraries));
}

}  // namespace bankwise
