#include "LinkLabel.h"

#include <utility>

namespace bankwise {

namespace {

constexpr UINT_PTR kSubclassId = 1;
constexpr UINT_PTR kToolId = 1;

std::wstring WindowText(HWND hWnd)
{
    const int length = GetWindowTextLengthW(hWnd);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hWnd, text.data(), length + 1)));
    return text;
}

}  // namespace

CLinkLabel::CLinkLabel(Opener open)
    : m_open(std::move(open)), m_clrHover(GetSysColor(COLOR_HIGHLIGHT))
{}

CLinkLabel::~CLinkLabel()
{
    if (m_hWnd != nullptr && IsWindow(m_hWnd))
        RemoveWindowSubclass(m_hWnd, SubclassProc, kSubclassId);
    if (m_tip != nullptr && IsWindow(m_tip))
        DestroyWindow(m_tip);
    if (m_fontLink != nullptr)
        DeleteObject(m_fontLink);
}

void CLinkLabel::Attach(HWND control)
{
    m_hWnd = control;
    SetWindowLongPtrW(control, GWL_STYLE, GetWindowLongPtrW(control, GWL_STYLE) | SS_NOTIFY);
    const std::wstring text = WindowText(control);
    if (m_strTarget.empty())
        m_strTarget = text;
    if (text.empty())
        SetWindowTextW(control, m_strTarget.c_str());

    LOGFONTW font{};
    auto* current = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    GetObjectW(current != nullptr ? static_cast<HGDIOBJ>(current)
                                  : GetStockObject(DEFAULT_GUI_FONT),
               sizeof font, &font);
    font.lfUnderline = m_bUnderlined ? TRUE : FALSE;
    m_fontLink = CreateFontIndirectW(&font);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(m_fontLink), TRUE);
    FitToText();
    if (m_hHandCursor == nullptr)
        m_hHandCursor = LoadCursorW(nullptr, IDC_HAND);

    m_tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                            GetParent(control), nullptr, nullptr, nullptr);
    if (m_tip != nullptr) {
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_SUBCLASS;  // the tip sees the label's mouse messages itself
        tool.hwnd = control;
        tool.uId = kToolId;
        GetClientRect(control, &tool.rect);
        tool.lpszText = m_strTarget.data();
        SendMessageW(m_tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    SetWindowSubclass(control, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

void CLinkLabel::SetTarget(const std::wstring& target)
{
    m_strTarget = target;
    if (m_hWnd == nullptr)
        return;
    FitToText();
    if (m_tip != nullptr) {
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = m_hWnd;
        tool.uId = kToolId;
        GetClientRect(m_hWnd, &tool.rect);
        tool.lpszText = m_strTarget.data();
        SendMessageW(m_tip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
        SendMessageW(m_tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void CLinkLabel::FitToText()
{
    if (m_hWnd == nullptr || !m_bAutoSize)
        return;
    RECT rect{};
    GetWindowRect(m_hWnd, &rect);
    MapWindowPoints(nullptr, GetParent(m_hWnd), reinterpret_cast<POINT*>(&rect), 2);
    const std::wstring text = WindowText(m_hWnd);
    HDC dc = GetDC(m_hWnd);
    HGDIOBJ old = SelectObject(dc, m_fontLink);
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, old);
    ReleaseDC(m_hWnd, dc);

    const auto style = static_cast<DWORD>(GetWindowLongPtrW(m_hWnd, GWL_STYLE));
    if ((style & SS_CENTERIMAGE) != 0) {
        const LONG shrink = (rect.bottom - rect.top - extent.cy) / 2;
        rect.top += shrink;
        rect.bottom -= shrink;
    } else {
        rect.bottom = rect.top + extent.cy;
    }
    const DWORD align = style & SS_TYPEMASK;
    if (align == SS_CENTER) {
        const LONG shrink = (rect.right - rect.left - extent.cx) / 2;
        rect.left += shrink;
        rect.right -= shrink;
    } else if (align == SS_RIGHT) {
        rect.left = rect.right - extent.cx;
    } else {
        rect.right = rect.left + extent.cx;
    }
    SetWindowPos(m_hWnd, nullptr, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

COLORREF CLinkLabel::TextColor() const
{
    return m_bMouseInside ? m_clrHover : m_bWasOpened ? m_clrVisited : m_clrNormal;
}

HBRUSH CLinkLabel::CtlColor(HDC dc) const
{
    SetTextColor(dc, TextColor());
    SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

void CLinkLabel::Redraw()
{
    // The label draws on a hollow brush: the dialog repaints what lies under
    // it first, so the old colour does not show through the new one.
    HWND parent = GetParent(m_hWnd);
    RECT rect{};
    GetWindowRect(m_hWnd, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    RedrawWindow(parent, &rect, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void CLinkLabel::MarkOpened(bool opened)
{
    m_bWasOpened = opened;
    if (m_hWnd != nullptr)
        Redraw();
}

void CLinkLabel::OnClicked()
{
    const bool opened = m_open && m_open(m_strTarget);
    m_bWasOpened = opened;
    if (opened)
        MarkOpened(true);
}

void CLinkLabel::OnMouseMove(POINT point)
{
    RECT client{};
    GetClientRect(m_hWnd, &client);
    if (m_bMouseInside) {
        if (!PtInRect(&client, point)) {
            m_bMouseInside = false;
            ReleaseCapture();
            Redraw();
        }
        return;
    }
    // Held with the capture, so that the move that leaves the label is seen.
    m_bMouseInside = true;
    Redraw();
    SetCapture(m_hWnd);
}

LRESULT CALLBACK CLinkLabel::SubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR /*id*/, DWORD_PTR data)
{
    auto* self = reinterpret_cast<CLinkLabel*>(data);
    switch (message) {
    case WM_SETCURSOR:
        if (self->m_hHandCursor != nullptr) {
            SetCursor(self->m_hHandCursor);
            return TRUE;
        }
        break;
    case WM_MOUSEMOVE: {
        const LRESULT result = DefSubclassProc(hWnd, message, wParam, lParam);
        self->OnMouseMove(
            POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        return result;
    }
    case WM_CAPTURECHANGED:
        if (self->m_bMouseInside && reinterpret_cast<HWND>(lParam) != hWnd) {
            self->m_bMouseInside = false;
            self->Redraw();
        }
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(hWnd, SubclassProc, kSubclassId);
        self->m_hWnd = nullptr;
        break;
    default:
        break;
    }
    return DefSubclassProc(hWnd, message, wParam, lParam);
}

}  // namespace bankwise
