#include "MainFrame.h"

#include <array>

#include "Document.h"
#include "StringTable.h"
#include "Texts.h"
#include "resource.h"

namespace bankwise {

namespace {

constexpr wchar_t kClassName[] = L"BankwiseMainFrame";
constexpr unsigned kImageCount = 7;
constexpr int kStatusPanes = 4;
constexpr std::array<unsigned, 3> kIndicators = {ID_INDICATOR_CAPS, ID_INDICATOR_NUM,
                                                 ID_INDICATOR_SCRL};

// The tool bar's entries in order; -1 is a separator.
struct CButton
{
    int image;
    unsigned command;
};
constexpr std::array<CButton, 10> kButtons = {{
    {0, ID_FILE_OPEN},
    {1, ID_FILE_SAVE},
    {-1, 0},
    {2, ID_EDIT_CUT},
    {3, ID_EDIT_COPY},
    {4, ID_EDIT_PASTE},
    {-1, 0},
    {5, ID_FILE_PRINT},
    {-1, 0},
    {6, ID_APP_ABOUT},
}};

bool IsRecentFileCommand(unsigned id)
{
    return id >= ID_FILE_MRU_FILE1 && id < ID_FILE_MRU_FILE1 + 16;
}

// A path as a menu text: '&' would otherwise make the next letter a mnemonic.
std::wstring MenuEscaped(const std::wstring& text)
{
    std::wstring out;
    for (const wchar_t c : text) {
        out.push_back(c);
        if (c == L'&')
            out.push_back(L'&');
    }
    return out;
}

}  // namespace

UINT DpiOfWindow(HWND hWnd)
{
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow != nullptr && hWnd != nullptr) {
        if (const UINT dpi = getDpiForWindow(hWnd); dpi != 0)
            return dpi;
    }
    HDC dc = GetDC(nullptr);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
    ReleaseDC(nullptr, dc);
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

CMainFrame::CMainFrame(IFrameOwner& owner) : m_owner(owner) {}

CMainFrame::~CMainFrame()
{
    if (m_hWnd != nullptr)
        DestroyWindow(m_hWnd);
    if (m_hImages != nullptr)
        ImageList_Destroy(m_hImages);
}

bool CMainFrame::Create(HINSTANCE instance)
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME),
                                               IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszMenuName = MAKEINTRESOURCEW(IDR_MAINFRAME);
    wc.lpszClassName = kClassName;
    if (RegisterClassExW(&wc) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return false;
    m_hAccel = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME));
    const std::wstring title = Text(AFX_IDS_APP_TITLE);
    CreateWindowExW(WS_EX_ACCEPTFILES, kClassName, title.c_str(),
                    WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT, 640, 480,
                    nullptr, nullptr, instance, this);
    return m_hWnd != nullptr && m_hAccel != nullptr;
}

LRESULT CALLBACK CMainFrame::WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<CMainFrame*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        self = static_cast<CMainFrame*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->m_hWnd = hWnd;
        SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (self == nullptr)
        return DefWindowProcW(hWnd, message, wParam, lParam);
    const LRESULT result = self->OnMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
        self->m_hWnd = nullptr;
    }
    return result;
}

LRESULT CMainFrame::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate() ? 0 : -1;
    case WM_SIZE:
        RecalcLayout();
        return 0;
    case WM_SETFOCUS:
        SetFocus(m_view.GetSafeHwnd());
        return 0;
    case WM_COMMAND:
        if (lParam != 0 && reinterpret_cast<HWND>(lParam) == m_view.GetSafeHwnd()) {
            if (HIWORD(wParam) == EN_CHANGE)
                m_owner.OnViewChanged();
            return 0;  // the editor's own notifications
        }
        OnCommand(LOWORD(wParam));
        return 0;
    case WM_INITMENUPOPUP:
        if (HIWORD(lParam) == 0)
            OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
        return 0;
    case WM_MENUSELECT:
        OnMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
        return 0;
    case WM_EXITMENULOOP:
        SetMessageText(Text(AFX_IDS_IDLEMESSAGE));
        return 0;
    case WM_NOTIFY:
        return OnNotify(*reinterpret_cast<NMHDR*>(lParam));
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_ACTIVATEAPP:
        UpdateLockIndicators();
        break;
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_CLOSE:
        if (m_owner.CanCloseFrame())
            DestroyWindow(m_hWnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(m_hWnd, message, wParam, lParam);
}

bool CMainFrame::OnCreate()
{
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(m_hWnd, GWLP_HINSTANCE));
    m_dpi = DpiOfWindow(m_hWnd);
    m_hToolBar =
        CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                        WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP, 0, 0, 0,
                        0, m_hWnd, reinterpret_cast<HMENU>(kIdToolBar), instance, nullptr);
    if (m_hToolBar == nullptr)
        return false;
    SendMessageW(m_hToolBar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    CreateToolBarImages();
    std::array<TBBUTTON, kButtons.size()> buttons{};
    for (std::size_t i = 0; i < kButtons.size(); ++i) {
        buttons[i].iBitmap = kButtons[i].image < 0 ? 0 : kButtons[i].image;
        buttons[i].idCommand = static_cast<int>(kButtons[i].command);
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = kButtons[i].image < 0 ? BTNS_SEP : BTNS_BUTTON;
    }
    SendMessageW(m_hToolBar, TB_ADDBUTTONSW, buttons.size(),
                 reinterpret_cast<LPARAM>(buttons.data()));
    SendMessageW(m_hToolBar, TB_AUTOSIZE, 0, 0);

    m_hStatusBar =
        CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0,
                        0, 0, m_hWnd, reinterpret_cast<HMENU>(kIdStatusBar), instance, nullptr);
    if (m_hStatusBar == nullptr || !m_view.Create(m_hWnd, m_dpi))
        return false;
    LayoutStatusPanes();
    SetMessageText(Text(AFX_IDS_IDLEMESSAGE));
    UpdateLockIndicators();
    return true;
}

void CMainFrame::CreateToolBarImages()
{
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(m_hWnd, GWLP_HINSTANCE));
    const bool large = m_dpi >= 144;
    const int size = large ? 32 : 16;
    auto* bitmap = static_cast<HBITMAP>(LoadImageW(
        instance, MAKEINTRESOURCEW(large ? unsigned{IDB_TOOLBAR_2X} : unsigned{IDR_MAINFRAME}),
        IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    HIMAGELIST images = ImageList_Create(size, size, ILC_COLOR32, kImageCount, 0);
    if (bitmap != nullptr && images != nullptr)
        ImageList_Add(images, bitmap, nullptr);
    if (bitmap != nullptr)
        DeleteObject(bitmap);
    SendMessageW(m_hToolBar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    if (m_hImages != nullptr)
        ImageList_Destroy(m_hImages);
    m_hImages = images;
}

void CMainFrame::LayoutStatusPanes()
{
    RECT client{};
    GetClientRect(m_hWnd, &client);
    HDC dc = GetDC(m_hStatusBar);
    auto* font = reinterpret_cast<HFONT>(SendMessageW(m_hStatusBar, WM_GETFONT, 0, 0));
    HGDIOBJ old = font != nullptr ? SelectObject(dc, font) : nullptr;
    std::array<int, kStatusPanes> edges{};
    std::array<int, kIndicators.size()> widths{};
    const int margin = MulDiv(12, static_cast<int>(m_dpi), USER_DEFAULT_SCREEN_DPI);
    for (std::size_t i = 0; i < kIndicators.size(); ++i) {
        const std::wstring text = Text(kIndicators[i]);
        SIZE extent{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        widths[i] = extent.cx + margin;
    }
    if (old != nullptr)
        SelectObject(dc, old);
    ReleaseDC(m_hStatusBar, dc);
    // Room for the size grip after the last pane.
    int right = client.right - GetSystemMetrics(SM_CXVSCROLL);
    edges[kStatusPanes - 1] = -1;
    for (int i = kStatusPanes - 2; i >= 0; --i) {
        right -= widths[static_cast<std::size_t>(i)];
        edges[static_cast<std::size_t>(i)] = right > 0 ? right : 0;
    }
    // Pane 0 ends where the first indicator begins; the last indicator runs on to the grip.
    std::array<int, kStatusPanes> parts{};
    parts[0] = edges[0];
    parts[1] = edges[1];
    parts[2] = edges[2];
    parts[3] = -1;
    SendMessageW(m_hStatusBar, SB_SETPARTS, kStatusPanes, reinterpret_cast<LPARAM>(parts.data()));
}

void CMainFrame::RecalcLayout()
{
    if (m_hToolBar == nullptr || m_hStatusBar == nullptr)
        return;
    RECT client{};
    GetClientRect(m_hWnd, &client);
    int top = 0;
    int bottom = client.bottom;
    if (IsWindowVisible(m_hToolBar)) {
        SendMessageW(m_hToolBar, TB_AUTOSIZE, 0, 0);
        RECT bar{};
        GetWindowRect(m_hToolBar, &bar);
        top = bar.bottom - bar.top;
    }
    if (IsWindowVisible(m_hStatusBar)) {
        SendMessageW(m_hStatusBar, WM_SIZE, 0, 0);
        LayoutStatusPanes();
        RECT bar{};
        GetWindowRect(m_hStatusBar, &bar);
        bottom -= bar.bottom - bar.top;
    }
    MoveWindow(m_view.GetSafeHwnd(), 0, top, client.right, bottom > top ? bottom - top : 0, TRUE);
}

bool CMainFrame::PreTranslateMessage(MSG& msg)
{
    if (msg.message == WM_KEYUP &&
        (msg.wParam == VK_CAPITAL || msg.wParam == VK_NUMLOCK || msg.wParam == VK_SCROLL))
        UpdateLockIndicators();
    return m_hAccel != nullptr && TranslateAcceleratorW(m_hWnd, m_hAccel, &msg) != 0;
}

void CMainFrame::OnIdle()
{
    for (const CButton& button : kButtons) {
        if (button.image < 0)
            continue;
        const bool enabled = IsEnabled(button.command);
        const bool shown = SendMessageW(m_hToolBar, TB_ISBUTTONENABLED, button.command, 0) != 0;
        if (enabled != shown)
            SendMessageW(m_hToolBar, TB_ENABLEBUTTON, button.command, MAKELPARAM(enabled, 0));
    }
}

bool CMainFrame::IsEnabled(unsigned id) const
{
    switch (id) {
    case ID_EDIT_UNDO:
        return m_view.CanUndo();
    case ID_EDIT_CUT:
    case ID_EDIT_COPY:
        return m_view.HasSelection();
    case ID_EDIT_PASTE:
        return CBankwiseView::CanPaste();
    case ID_VIEW_TOOLBAR:
    case ID_VIEW_STATUS_BAR:
    case ID_APP_EXIT:
    case ID_NEXT_PANE:
    case ID_PREV_PANE:
        return true;
    default:
        return m_owner.IsCommandEnabled(id);
    }
}

void CMainFrame::OnCommand(unsigned id)
{
    // An accelerator reaches a command whose menu item is greyed: refuse it there too.
    if (!IsEnabled(id))
        return;
    switch (id) {
    case ID_EDIT_UNDO:
        m_view.Undo();
        return;
    case ID_EDIT_CUT:
        m_view.Cut();
        return;
    case ID_EDIT_COPY:
        m_view.Copy();
        return;
    case ID_EDIT_PASTE:
        m_view.Paste();
        return;
    case ID_VIEW_TOOLBAR:
        ShowBar(m_hToolBar, !IsWindowVisible(m_hToolBar));
        return;
    case ID_VIEW_STATUS_BAR:
        ShowBar(m_hStatusBar, !IsWindowVisible(m_hStatusBar));
        return;
    case ID_NEXT_PANE:
    case ID_PREV_PANE:
        // One pane only: both keys bring the focus back to the text.
        SetFocus(m_view.GetSafeHwnd());
        return;
    case ID_APP_EXIT:
        PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
        return;
    default:
        m_owner.OnCommand(id);
        return;
    }
}

void CMainFrame::ShowBar(HWND bar, bool show)
{
    ShowWindow(bar, show ? SW_SHOW : SW_HIDE);
    RecalcLayout();
}

void CMainFrame::OnInitMenuPopup(HMENU menu)
{
    HMENU bar = GetMenu(m_hWnd);
    if (menu == GetSubMenu(bar, 0))
        UpdateRecentFileMenu(menu);
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        const UINT id = GetMenuItemID(menu, i);
        if (id == 0 || id == static_cast<UINT>(-1))
            continue;  // separators and submenus
        if (id == ID_FILE_MRU_FILE1 && m_owner.RecentFiles().empty())
            continue;  // the greyed placeholder stays greyed
        EnableMenuItem(menu, static_cast<UINT>(i),
                       MF_BYPOSITION | (IsEnabled(id) ? MF_ENABLED : MF_GRAYED));
        if (id == ID_VIEW_TOOLBAR || id == ID_VIEW_STATUS_BAR) {
            const bool shown = IsWindowVisible(id == ID_VIEW_TOOLBAR ? m_hToolBar : m_hStatusBar);
            CheckMenuItem(menu, static_cast<UINT>(i),
                          MF_BYPOSITION | (shown ? MF_CHECKED : MF_UNCHECKED));
        }
    }
}

void CMainFrame::UpdateRecentFileMenu(HMENU fileMenu)
{
    // The entries stand where the placeholder stood: remove them all, then
    // put back the list or, with no list, the placeholder.
    int at = -1;
    for (int i = GetMenuItemCount(fileMenu) - 1; i >= 0; --i) {
        if (IsRecentFileCommand(GetMenuItemID(fileMenu, i))) {
            RemoveMenu(fileMenu, static_cast<UINT>(i), MF_BYPOSITION);
            at = i;
        }
    }
    if (at < 0)
        return;
    const std::vector<std::wstring> files = m_owner.RecentFiles();
    if (files.empty()) {
        InsertMenuW(fileMenu, static_cast<UINT>(at), MF_BYPOSITION | MF_STRING | MF_GRAYED,
                    ID_FILE_MRU_FILE1, L"Recent File");
        return;
    }
    for (std::size_t i = 0; i < files.size() && i < kRecentFileCount; ++i) {
        const std::wstring text = L"&" + std::to_wstring(i + 1) + L" " + MenuEscaped(files[i]);
        InsertMenuW(fileMenu, static_cast<UINT>(at) + static_cast<UINT>(i),
                    MF_BYPOSITION | MF_STRING, ID_FILE_MRU_FILE1 + i, text.c_str());
    }
}

void CMainFrame::OnMenuSelect(unsigned id, unsigned flags, HMENU menu)
{
    if (flags == 0xFFFF && menu == nullptr) {
        SetMessageText(Text(AFX_IDS_IDLEMESSAGE));
        return;
    }
    if ((flags & (MF_POPUP | MF_SEPARATOR)) != 0) {
        SetMessageText({});
        return;
    }
    SetMessageText(StatusPrompt(id));
}

LRESULT CMainFrame::OnNotify(NMHDR& header)
{
    if (header.code == TTN_GETDISPINFOW) {
        auto& info = reinterpret_cast<NMTTDISPINFOW&>(header);
        m_tipText = ToolTipText(static_cast<unsigned>(header.idFrom));
        info.lpszText = m_tipText.data();
        return 0;
    }
    if (header.code == TBN_HOTITEMCHANGE && header.hwndFrom == m_hToolBar) {
        // The fly-by prompt: the status bar says what the button under the pointer does.
        const auto& hot = reinterpret_cast<const NMTBHOTITEM&>(header);
        SetMessageText((hot.dwFlags & HICF_LEAVING) != 0
                           ? Text(AFX_IDS_IDLEMESSAGE)
                           : StatusPrompt(static_cast<unsigned>(hot.idNew)));
        return 0;
    }
    return 0;
}

void CMainFrame::OnDropFiles(HDROP drop)
{
    std::vector<std::wstring> files;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring file(length + 1, L'\0');
        DragQueryFileW(drop, i, file.data(), length + 1);
        file.resize(length);
        files.push_back(file);
    }
    DragFinish(drop);
    SetForegroundWindow(m_hWnd);
    m_owner.OnDropFiles(files);
}

void CMainFrame::OnDpiChanged(UINT dpi, const RECT& suggested)
{
    m_dpi = dpi;
    m_view.SetDpi(dpi);
    CreateToolBarImages();
    SendMessageW(m_hToolBar, TB_SETBUTTONSIZE, 0, 0);
    SetWindowPos(m_hWnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    RecalcLayout();
}

void CMainFrame::SetStatusText(const std::string& text)
{
    SetMessageText(text.empty() ? Text(AFX_IDS_IDLEMESSAGE) : Widen(text));
}

void CMainFrame::OnTitleChanged()
{
    if (m_pDocument != nullptr)
        SetTitle(Widen(m_pDocument->GetTitle()));
}

void CMainFrame::Activate()
{
    if (IsIconic(m_hWnd))
        ShowWindow(m_hWnd, SW_RESTORE);
    SetForegroundWindow(m_hWnd);
}

void CMainFrame::SetTitle(const std::wstring& title)
{
    const std::wstring text = title + L" - " + Text(AFX_IDS_APP_TITLE);
    SetWindowTextW(m_hWnd, text.c_str());
}

void CMainFrame::SetMessageText(const std::wstring& text)
{
    if (m_hStatusBar != nullptr)
        SendMessageW(m_hStatusBar, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::wstring CMainFrame::GetPaneText(int pane) const
{
    const auto length = LOWORD(SendMessageW(m_hStatusBar, SB_GETTEXTLENGTHW, pane, 0));
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(m_hStatusBar, SB_GETTEXTW, pane, reinterpret_cast<LPARAM>(text.data()));
    text.resize(length);
    return text;
}

void CMainFrame::UpdateLockIndicators()
{
    if (m_hStatusBar == nullptr)
        return;
    const std::array<int, kIndicators.size()> keys = {VK_CAPITAL, VK_NUMLOCK, VK_SCROLL};
    for (std::size_t i = 0; i < kIndicators.size(); ++i) {
        const bool on = (GetKeyState(keys[i]) & 1) != 0;
        const std::wstring text = on ? Text(kIndicators[i]) : std::wstring();
        SendMessageW(m_hStatusBar, SB_SETTEXTW, i + 1, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

}  // namespace bankwise
