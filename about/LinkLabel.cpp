#include "LinkLabel.h"

#include "Desktop.h"

#include <QApplication>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPalette>
#include <QProcess>

#include <string>

namespace bankwise {
namespace {

// The desktop of Desktop.h as the document layer's link opener.
class CDesktopLinkOpener final : public ILinkOpener
{
public:
    int OpenWithDesktop(const std::string& target) override
    {
        // The desktop's open gives no reason; "no application" is the likely one.
        return Desktop().OpenUrl(QString::fromStdString(target)) ? kOpenedCode : kNoAssociationCode;
    }
    std::string BrowserCommand() override { return Desktop().BrowserCommand().toStdString(); }
    int StartCommand(const std::string& commandLine, const std::string& target) override
    {
        const QStringList argv =
            BrowserArguments(QString::fromStdString(commandLine), QString::fromStdString(target));
        if (argv.isEmpty())
            return kNoAssociationCode;
        return Desktop().StartProcess(argv) ? kOpenedCode : kFileNotFoundCode;
    }
};

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
    CDesktopLinkOpener opener;
    const int code = OpenLink(m_strTarget.toStdString(), opener);
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

void CLinkLabel::ShowOpenError(int code)
{
    Desktop().ShowMessage(window(), QMessageBox::Warning,
                          QString::fromStdString(OpenErrorMessage(code)));
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

QStringList BrowserArguments(const QString& commandLine, const QString& target)
{
    // Split here rather than after appending, so the target stays one argument
    // whatever characters it holds.
    QStringList argv =
        QProcess::splitCommand(QString::fromStdString(CutPlaceholder(commandLine.toStdString())));
    if (argv.isEmpty())
        return {};
    argv << target;
    return argv;
}

}  // namespace bankwise
