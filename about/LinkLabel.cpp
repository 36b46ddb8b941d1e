#include "LinkLabel.h"

#include "Desktop.h"
#include "SafeFormat.h"
#include "StringTable.h"

#include <QApplication>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPalette>
#include <QProcess>

#include <array>
#include <utility>

namespace bankwise {
namespace {

// Where each of these is found, the target goes instead.
constexpr std::array kPlaceholders{"%1", "%u", "%U", "%f", "%F", "%s"};

// Index of the earliest occurrence of any placeholder, each wrapped in
// quote (none for bare); -1 when there is none.
qsizetype FindPlaceholder(const QString& commandLine, const QString& quote)
{
    qsizetype first = -1;
    for (const char* placeholder : kPlaceholders) {
        const qsizetype at = commandLine.indexOf(quote + QLatin1String(placeholder) + quote);
        if (at >= 0 && (first < 0 || at < first))
            first = at;
    }
    return first;
}

}  // namespace

CLinkLabel::CLinkLabel(QWidget* parent)
    : QLabel(parent), m_clrHover(QApplication::palette().color(QPalette::Highlight))
{
    setTextFormat(Qt::PlainText);
}

void CLinkLabel::PreSubclassWindow()
{
    if (m_strTarget.isEmpty())
        m_strTarget = text();
    if (text().isEmpty())
        setText(m_strTarget);

    m_fontLink = font();
    m_fontLink.setUnderline(m_bUnderlined);
    setFont(m_fontLink);
    m_bAttached = true;

    FitToText();
    LoadHandCursor();
    setToolTip(m_strTarget);
    // Moves are needed to follow the pointer over the label.
    setMouseTracking(true);
    Redraw();
}

void CLinkLabel::SetTarget(const QString& target)
{
    m_strTarget = target;
    if (m_bAttached) {
        FitToText();
        setToolTip(m_strTarget);
    }
}

void CLinkLabel::MarkOpened(bool opened)
{
    m_bWasOpened = opened;
    if (m_bAttached)
        Redraw();
}

QColor CLinkLabel::CtlColor() const
{
    if (m_bMouseInside)
        return m_clrHover;
    return m_bWasOpened ? m_clrVisited : m_clrNormal;
}

void CLinkLabel::enterEvent(QEnterEvent* event)
{
    QLabel::enterEvent(event);
    OnMouseMove(event->position().toPoint());
}

void CLinkLabel::leaveEvent(QEvent* event)
{
    QLabel::leaveEvent(event);
    OnMouseMove(QPoint(-1, -1));
}

void CLinkLabel::mouseMoveEvent(QMouseEvent* event)
{
    QLabel::mouseMoveEvent(event);
    OnMouseMove(event->position().toPoint());
}

void CLinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    // A press dragged off the label before release is no click.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        OnClicked();
}

void CLinkLabel::OnMouseMove(const QPoint& point)
{
    const bool inside = rect().contains(point);
    if (inside == m_bMouseInside)
        return;
    m_bMouseInside = inside;
    Redraw();
}

void CLinkLabel::OnClicked()
{
    const int code = OpenTarget(m_strTarget);
    // Also on failure, so that a label once visited shows it is not any more.
    MarkOpened(code > kLastErrorCode);
    if (!m_bWasOpened) {
        Desktop().Beep();
        ShowOpenError(code);
    }
}

void CLinkLabel::FitToText()
{
    if (!m_bAutoSize)
        return;
    const QSize textSize = QFontMetrics(m_fontLink).size(Qt::TextSingleLine, text());
    setGeometry(FitRect(geometry(), textSize, alignment()));
}

void CLinkLabel::LoadHandCursor()
{
    if (m_hHandCursor)
        return;
    m_hHandCursor = QCursor(Qt::PointingHandCursor);
    setCursor(*m_hHandCursor);
}

void CLinkLabel::Redraw()
{
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, CtlColor());
    setPalette(colours);
    repaint();
}

int CLinkLabel::OpenTarget(const QString& target)
{
    CDesktop& desktop = Desktop();
    if (desktop.OpenUrl(target))
        return kOpenedCode;
    // The desktop's open gives no reason; "no application" is the likely one.
    const int openResult = kNoAssociationCode;
    const QStringList argv = BrowserArguments(desktop.BrowserCommand(), target);
    if (argv.isEmpty())
        return openResult;
    return desktop.StartProcess(argv) ? kOpenedCode : kFileNotFoundCode;
}

void CLinkLabel::ShowOpenError(int code)
{
    Desktop().ShowMessage(window(), QMessageBox::Warning, OpenErrorMessage(code));
}

QRect FitRect(const QRect& rect, const QSize& text, Qt::Alignment alignment)
{
    int left = rect.left();
    int top = rect.top();
    int right = left + rect.width();  // one past, as the measures are
    int bottom = top + rect.height();

    if (alignment & Qt::AlignVCenter) {
        const int shrink = (rect.height() - text.height()) / 2;
        top += shrink;
        bottom -= shrink;
    } else {
        bottom = top + text.height();
    }

    if (alignment & Qt::AlignHCenter) {
        const int shrink = (rect.width() - text.width()) / 2;
        left += shrink;
        right -= shrink;
    } else if (alignment & Qt::AlignRight) {
        left = right - text.width();
    } else {
        right = left + text.width();
    }
    return QRect(left, top, right - left, bottom - top);
}

QString CutPlaceholder(const QString& commandLine)
{
    qsizetype at = FindPlaceholder(commandLine, QStringLiteral("\""));
    if (at < 0)
        at = FindPlaceholder(commandLine, QString());
    return at < 0 ? commandLine : commandLine.left(at);
}

QStringList BrowserArguments(const QString& commandLine, const QString& target)
{
    // Split here rather than after appending, so the target stays one argument
    // whatever characters it holds.
    QStringList argv = QProcess::splitCommand(CutPlaceholder(commandLine));
    if (argv.isEmpty())
        return {};
    argv << target;
    return argv;
}

QString OpenErrorMessage(int code)
{
    static constexpr std::array<std::pair<int, StringId>, 13> kTexts{{
        {0, IDS_LINK_OUT_OF_RESOURCES},
        {2, IDS_LINK_FILE_NOT_FOUND},
        {3, IDS_LINK_PATH_NOT_FOUND},
        {5, IDS_LINK_ACCESS_DENIED},
        {8, IDS_LINK_OUT_OF_MEMORY},
        {11, IDS_LINK_BAD_PROGRAM},
        {26, IDS_LINK_SHARING_VIOLATION},
        {27, IDS_LINK_ASSOC_INCOMPLETE},
        {28, IDS_LINK_DDE_TIMEOUT},
        {29, IDS_LINK_DDE_FAILED},
        {30, IDS_LINK_DDE_BUSY},
        {31, IDS_LINK_NO_ASSOCIATION},
        {32, IDS_LINK_LIBRARY_NOT_FOUND},
    }};
    QString reason;
    for (const auto& [known, id] : kTexts) {
        if (known == code)
            reason = LoadText(id);
    }
    if (reason.isEmpty())
        reason = QString::fromStdString(
            SafeFormat(LoadString(IDS_LINK_UNKNOWN_ERROR), {FormatArg::Int(code)}));
    return LoadText(IDS_LINK_OPEN_FAILED) + reason;
}

}  // namespace bankwise
