// A static text of a dialog that behaves as a link: underlined in the link
// colour, the highlight colour while the pointer is over it, the visited
// colour once opened, the hand cursor, and its target as tool tip. How a
// click opens the target (and what it says when nothing can) is given in.
#pragma once

#include <functional>
#include <string>

#include "Win.h"

namespace bankwise {

class CLinkLabel
{
public:
    // Opens a target; true when it was opened.
    using Opener = std::function<bool(const std::wstring& target)>;

    explicit CLinkLabel(Opener open);
    ~CLinkLabel();
    CLinkLabel(const CLinkLabel&) = delete;
    CLinkLabel& operator=(const CLinkLabel&) = delete;

    // Turns the dialog's static control into the link.
    void Attach(HWND control);
    void SetTarget(const std::wstring& target);
    const std::wstring& Target() const { return m_strTarget; }
    HWND GetSafeHwnd() const { return m_hWnd; }
    HWND ToolTip() const { return m_tip; }

    // The dialog's WM_CTLCOLORSTATIC for this control.
    HBRUSH CtlColor(HDC dc) const;
    COLORREF TextColor() const;
    // The dialog's STN_CLICKED for this control.
    void OnClicked();
    void MarkOpened(bool opened);
    bool IsMouseInside() const { return m_bMouseInside; }
    void OnMouseMove(POINT point);

private:
    static LRESULT CALLBACK SubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR data);
    void FitToText();
    void Redraw();

    Opener m_open;
    COLORREF m_clrNormal = RGB(0, 0, 238);
    COLORREF m_clrVisited = RGB(85, 26, 139);
    COLORREF m_clrHover;
    bool m_bMouseInside = false;
    bool m_bWasOpened = false;
    bool m_bUnderlined = true;
    bool m_bAutoSize = true;
    std::wstring m_strTarget;
    HFONT m_fontLink = nullptr;
    HCURSOR m_hHandCursor = nullptr;
    HWND m_tip = nullptr;
    HWND m_hWnd = nullptr;
};

}  // namespace bankwise
