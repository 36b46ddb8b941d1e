// A static text that behaves as a link: underlined in the link colour, the
// highlight colour while the pointer is over it, the visited colour once it
// was opened, a hand cursor and the target as tool tip. A click opens the
// target through the desktop, falling back to the registered browser, and
// explains with a beep and a box when neither works.
#pragma once

#include <QColor>
#include <QCursor>
#include <QFont>
#include <QLabel>
#include <QRect>
#include <QString>
#include <QStringList>

#include <optional>

#include "AboutRules.h"

namespace bankwise {

class CLinkLabel : public QLabel
{
    Q_OBJECT
public:
    explicit CLinkLabel(QWidget* parent = nullptr);

    // Called once the dialog has given the label its text, place and
    // alignment: turns it into a link.
    void PreSubclassWindow();
    void SetTarget(const QString& target);
    const QString& Target() const { return m_strTarget; }
    void MarkOpened(bool opened);
    // The text colour for the current state.
    QColor CtlColor() const;

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void OnClicked();
    void OnMouseMove(const QPoint& point);
    void FitToText();
    void LoadHandCursor();
    void Redraw();
    void ShowOpenError(int code);

    QColor m_clrNormal{0, 0, 238};
    QColor m_clrVisited{85, 26, 139};
    QColor m_clrHover;
    bool m_bMouseInside = false;
    bool m_bWasOpened = false;
    bool m_bUnderlined = true;
    bool m_bAutoSize = true;
    QString m_strTarget;
    QFont m_fontLink;
    std::optional<QCursor> m_hHandCursor;
    bool m_bAttached = false;
};

// The label's rectangle shrunk or grown to a text of the given size,
// keeping the edge or centre that its alignment names.
QRect FitRect(const QRect& rect, const QSize& text, Qt::Alignment alignment);

// The program and arguments that open target with a registered browser
// command (cut at its placeholder); empty when the command names no program.
QStringList BrowserArguments(const QString& commandLine, const QString& target);

}  // namespace bankwise
