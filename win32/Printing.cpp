#include "Printing.h"

#include <algorithm>

#include "StringTable.h"
#include "Texts.h"

namespace bankwise {

namespace {

constexpr int kPrintPoints = 10;
constexpr int kA4WidthMm = 210;
constexpr int kA4HeightMm = 297;
constexpr int kPreviewDpi = 600;
constexpr wchar_t kPreviewClass[] = L"BankwisePrintPreview";

HFONT CreatePrintFont(const CPageSetup& setup)
{
    return CreateFontIndirectW(&setup.font);
}

// Removes a metafile DC's file when it could not be finished.
void DiscardMetafile(HDC dc, const std::wstring& path)
{
    if (HENHMETAFILE file = CloseEnhMetaFile(dc))
        DeleteEnhMetaFile(file);
    DeleteFileW(path.c_str());
}

std::wstring PagePath(const std::wstring& path, std::size_t page)
{
    if (page == 0)
        return path;
    const std::wstring stem = path.substr(0, path.size() - 4);  // without ".emf"
    return stem + L"-" + std::to_wstring(page + 1) + path.substr(path.size() - 4);
}

bool EndsWithEmf(const std::wstring& name)
{
    if (name.size() < 4)
        return false;
    std::wstring end = name.substr(name.size() - 4);
    for (wchar_t& c : end)
        c = static_cast<wchar_t>(towlower(c));
    return end == L".emf";
}

}  // namespace

CPageSetup MakePageSetup(int width, int height, int dpi)
{
    CPageSetup setup;
    setup.width = width;
    setup.height = height;
    setup.margin = dpi * 3 / 4;  // three quarters of an inch all round
    LOGFONTW gui{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
    setup.font = gui;
    setup.font.lfHeight = -MulDiv(kPrintPoints, dpi, 72);
    setup.font.lfWidth = 0;
    setup.lineHeight = std::max(1, MulDiv(kPrintPoints * 6 / 5, dpi, 72));
    const int usable = height - 2 * setup.margin;
    setup.linesPerPage = static_cast<std::size_t>(std::max(1, usable / setup.lineHeight));
    return setup;
}

std::vector<Page> LayoutPages(HDC dc, const CPageSetup& setup, const std::wstring& text)
{
    HFONT font = CreatePrintFont(setup);
    HGDIOBJ old = SelectObject(dc, font);
    const int width = std::max(1, setup.width - 2 * setup.margin);
    std::vector<Page> pages = PaginateText(text, setup.linesPerPage, [&](std::wstring_view line) {
        int fit = 0;
        SIZE extent{};
        // A line is measured in slices: GDI's counts are ints.
        const int length = static_cast<int>(std::min<std::size_t>(line.size(), 4096));
        GetTextExtentExPointW(dc, line.data(), length, width, &fit, nullptr, &extent);
        return static_cast<std::size_t>(fit);
    });
    SelectObject(dc, old);
    DeleteObject(font);
    return pages;
}

void DrawPage(HDC dc, const CPageSetup& setup, const Page& page)
{
    HFONT font = CreatePrintFont(setup);
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    int y = setup.margin;
    for (const std::wstring& line : page) {
        TextOutW(dc, setup.margin, y, line.c_str(), static_cast<int>(line.size()));
        y += setup.lineHeight;
    }
    SelectObject(dc, old);
    DeleteObject(font);
}

CPrinter::~CPrinter()
{
    if (m_hDevMode != nullptr)
        GlobalFree(m_hDevMode);
    if (m_hDevNames != nullptr)
        GlobalFree(m_hDevNames);
}

HDC CPrinter::CreateKeptPrinterDC() const
{
    if (m_hDevNames == nullptr)
        return nullptr;
    const auto* names = static_cast<const DEVNAMES*>(GlobalLock(m_hDevNames));
    const auto* base = reinterpret_cast<const wchar_t*>(names);
    const auto* mode =
        m_hDevMode != nullptr ? static_cast<const DEVMODEW*>(GlobalLock(m_hDevMode)) : nullptr;
    HDC dc = CreateDCW(base + names->wDriverOffset, base + names->wDeviceOffset, nullptr, mode);
    if (mode != nullptr)
        GlobalUnlock(m_hDevMode);
    GlobalUnlock(m_hDevNames);
    return dc;
}

EPrintResult CPrinter::Print(HWND owner, const std::wstring& docName, const std::wstring& text,
                             bool showDialog)
{
    HDC dc = showDialog ? nullptr : CreateKeptPrinterDC();
    if (dc == nullptr) {
        PRINTDLGW dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = owner;
        dialog.hDevMode = m_hDevMode;
        dialog.hDevNames = m_hDevNames;
        dialog.Flags = PD_RETURNDC | PD_NOSELECTION | PD_NOPAGENUMS |
                       PD_USEDEVMODECOPIESANDCOLLATE | (showDialog ? 0 : PD_RETURNDEFAULT);
        if (!showDialog) {
            // PD_RETURNDEFAULT wants no settings handed in.
            dialog.hDevMode = nullptr;
            dialog.hDevNames = nullptr;
        }
        if (!PrintDlgW(&dialog)) {
            // No printer at all, or the user cancelled the dialog.
            return CommDlgExtendedError() == PDERR_NODEFAULTPRN ||
                           CommDlgExtendedError() == PDERR_NODEVICES || !showDialog
                       ? EPrintResult::NoPrinter
                       : EPrintResult::Cancelled;
        }
        if (showDialog) {
            m_hDevMode = dialog.hDevMode;
            m_hDevNames = dialog.hDevNames;
        } else {
            if (dialog.hDevMode != nullptr)
                GlobalFree(dialog.hDevMode);
            if (dialog.hDevNames != nullptr)
                GlobalFree(dialog.hDevNames);
        }
        dc = dialog.hDC;
    }
    if (dc == nullptr)
        return EPrintResult::NoPrinter;
    const EPrintResult result = PrintOnDC(dc, docName, text);
    DeleteDC(dc);
    return result;
}

EPrintResult CPrinter::PrintTo(const std::wstring& printer, const std::wstring& docName,
                               const std::wstring& text)
{
    if (EndsWithEmf(printer))
        return PrintToMetafiles(printer, text);
    HDC dc = CreateDCW(L"WINSPOOL", printer.c_str(), nullptr, nullptr);
    if (dc == nullptr)
        return EPrintResult::NoSuchPrinter;
    const EPrintResult result = PrintOnDC(dc, docName, text);
    DeleteDC(dc);
    return result;
}

EPrintResult CPrinter::PrintOnDC(HDC dc, const std::wstring& docName, const std::wstring& text)
{
    const CPageSetup setup = MakePageSetup(GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES),
                                           GetDeviceCaps(dc, LOGPIXELSY));
    m_lastPages = LayoutPages(dc, setup, text);
    DOCINFOW info{};
    info.cbSize = sizeof info;
    info.lpszDocName = docName.c_str();
    if (StartDocW(dc, &info) <= 0)
        return EPrintResult::Failed;
    for (const Page& page : m_lastPages) {
        if (StartPage(dc) <= 0) {
            AbortDoc(dc);
            return EPrintResult::Failed;
        }
        DrawPage(dc, setup, page);
        if (EndPage(dc) <= 0) {
            AbortDoc(dc);
            return EPrintResult::Failed;
        }
    }
    return EndDoc(dc) > 0 ? EPrintResult::Printed : EPrintResult::Failed;
}

EPrintResult CPrinter::PrintToMetafiles(const std::wstring& path, const std::wstring& text)
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    const CPageSetup setup =
        MakePageSetup(MulDiv(kA4WidthMm, GetDeviceCaps(screen, LOGPIXELSX) * 10, 254),
                      MulDiv(kA4HeightMm, dpi * 10, 254), dpi);
    m_lastPages = LayoutPages(screen, setup, text);
    const RECT frame{0, 0, kA4WidthMm * 100, kA4HeightMm * 100};  // in 0.01 mm
    EPrintResult result = EPrintResult::Printed;
    for (std::size_t i = 0; i < m_lastPages.size() && result == EPrintResult::Printed; ++i) {
        const std::wstring file = PagePath(path, i);
        HDC dc = CreateEnhMetaFileW(screen, file.c_str(), &frame, L"Bankwise\0Page\0");
        if (dc == nullptr) {
            result = EPrintResult::Failed;
            break;
        }
        DrawPage(dc, setup, m_lastPages[i]);
        HENHMETAFILE done = CloseEnhMetaFile(dc);
        if (done == nullptr) {
            DiscardMetafile(dc, file);
            result = EPrintResult::Failed;
        } else {
            DeleteEnhMetaFile(done);
        }
    }
    ReleaseDC(nullptr, screen);
    return result;
}

bool CPrinter::Setup(HWND owner)
{
    PRINTDLGW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.hDevMode = m_hDevMode;
    dialog.hDevNames = m_hDevNames;
    dialog.Flags = PD_PRINTSETUP;
    if (!PrintDlgW(&dialog))
        return false;
    m_hDevMode = dialog.hDevMode;
    m_hDevNames = dialog.hDevNames;
    return true;
}

CPageSetup CPrinter::PageSetupForPreview() const
{
    if (HDC dc = CreateKeptPrinterDC()) {
        const CPageSetup setup = MakePageSetup(
            GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES), GetDeviceCaps(dc, LOGPIXELSY));
        DeleteDC(dc);
        return setup;
    }
    return MakePageSetup(MulDiv(kA4WidthMm, kPreviewDpi * 10, 254),
                         MulDiv(kA4HeightMm, kPreviewDpi * 10, 254), kPreviewDpi);
}

CPrintPreview::CPrintPreview(const CPageSetup& setup, std::vector<Page> pages)
    : m_setup(setup), m_pages(std::move(pages))
{}

bool CPrintPreview::Run(HINSTANCE instance, HWND owner)
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    wc.lpszClassName = kPreviewClass;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME));
    RegisterClassExW(&wc);
    RECT place{};
    GetWindowRect(owner, &place);
    const std::wstring title = ToolTipText(ID_FILE_PRINT_PREVIEW);
    CreateWindowExW(0, kPreviewClass, title.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                    place.left, place.top, place.right - place.left, place.bottom - place.top,
                    owner, nullptr, instance, this);
    if (m_hWnd == nullptr)
        return false;
    EnableWindow(owner, FALSE);
    ShowWindow(m_hWnd, SW_SHOW);
    MSG msg{};
    while (m_hWnd != nullptr && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_KEYDOWN && msg.hwnd != nullptr &&
            (msg.hwnd == m_hWnd || IsChild(m_hWnd, msg.hwnd))) {
            if (msg.wParam == VK_ESCAPE) {
                OnCommand(kClose);
                continue;
            }
            if (msg.wParam == VK_NEXT || msg.wParam == VK_PRIOR) {
                OnCommand(msg.wParam == VK_NEXT ? kNext : kPrev);
                continue;
            }
        }
        if (m_hWnd != nullptr && IsDialogMessageW(m_hWnd, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (msg.message == WM_QUIT)
        PostQuitMessage(static_cast<int>(msg.wParam));
    EnableWindow(owner, TRUE);
    SetActiveWindow(owner);
    return m_bPrint;
}

LRESULT CALLBACK CPrintPreview::WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<CPrintPreview*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        self =
            static_cast<CPrintPreview*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->m_hWnd = hWnd;
        SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (self == nullptr)
        return DefWindowProcW(hWnd, message, wParam, lParam);
    const LRESULT result = self->OnMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        if (self->m_hButtonFont != nullptr)
            DeleteObject(self->m_hButtonFont);
        self->m_hButtonFont = nullptr;
        self->m_hWnd = nullptr;
    }
    return result;
}

LRESULT CPrintPreview::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        const unsigned texts[] = {IDS_WIN_PREVIEW_PRINT, IDS_WIN_PREVIEW_NEXT, IDS_WIN_PREVIEW_PREV,
                                  IDS_WIN_PREVIEW_TWO, IDS_WIN_PREVIEW_CLOSE};
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        m_hButtonFont = CreateFontIndirectW(&metrics.lfMessageFont);
        for (unsigned i = 0; i < 5; ++i) {
            m_buttons[i] = CreateWindowExW(
                0, L"BUTTON", Text(texts[i]).c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 0,
                0, m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(i + 1)), nullptr, nullptr);
            SendMessageW(m_buttons[i], WM_SETFONT, reinterpret_cast<WPARAM>(m_hButtonFont), FALSE);
        }
        UpdateButtons();
        return 0;
    }
    case WM_SIZE:
        Layout();
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam));
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_CLOSE:
        DestroyWindow(m_hWnd);
        return 0;
    default:
        return DefWindowProcW(m_hWnd, message, wParam, lParam);
    }
}

void CPrintPreview::OnCommand(unsigned id)
{
    switch (id) {
    case kPrint:
        m_bPrint = true;
        DestroyWindow(m_hWnd);
        return;
    case kNext:
        if (m_first + (m_bTwoPages ? 2 : 1) < m_pages.size())
            ++m_first;
        break;
    case kPrev:
        if (m_first > 0)
            --m_first;
        break;
    case kTwoPages:
        m_bTwoPages = !m_bTwoPages;
        if (m_bTwoPages && m_first + 1 >= m_pages.size() && m_first > 0)
            --m_first;
        break;
    case kClose:
        DestroyWindow(m_hWnd);
        return;
    default:
        return;
    }
    UpdateButtons();
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CPrintPreview::UpdateButtons()
{
    const std::size_t shown = m_bTwoPages ? 2 : 1;
    EnableWindow(m_buttons[kNext - 1], m_first + shown < m_pages.size());
    EnableWindow(m_buttons[kPrev - 1], m_first > 0);
    EnableWindow(m_buttons[kTwoPages - 1], m_pages.size() > 1 || m_bTwoPages);
    SetWindowTextW(m_buttons[kTwoPages - 1],
                   Text(m_bTwoPages ? IDS_WIN_PREVIEW_ONE : IDS_WIN_PREVIEW_TWO).c_str());
}

void CPrintPreview::Layout()
{
    HDC dc = GetDC(m_hWnd);
    HGDIOBJ old = SelectObject(dc, m_hButtonFont);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    int x = metrics.tmAveCharWidth;
    const int height = metrics.tmHeight * 7 / 4;
    for (HWND button : m_buttons) {
        wchar_t text[64] = {};
        GetWindowTextW(button, text, 64);
        SIZE extent{};
        GetTextExtentPoint32W(dc, text, lstrlenW(text), &extent);
        const int width =
            std::max<int>(extent.cx + 4 * metrics.tmAveCharWidth, 12 * metrics.tmAveCharWidth);
        MoveWindow(button, x, metrics.tmHeight / 3, width, height, TRUE);
        x += width + metrics.tmAveCharWidth / 2;
    }
    SelectObject(dc, old);
    ReleaseDC(m_hWnd, dc);
}

void CPrintPreview::OnPaint()
{
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(m_hWnd, &paint);
    RECT client{};
    GetClientRect(m_hWnd, &client);
    RECT bar{};
    GetWindowRect(m_buttons[0], &bar);
    MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&bar), 2);
    const int top = bar.bottom + (bar.bottom - bar.top) / 2;
    const std::size_t shown = std::min<std::size_t>(m_bTwoPages ? 2 : 1, m_pages.size() - m_first);
    const int gap = (bar.bottom - bar.top) / 2;
    const int areaWidth =
        (client.right - gap * static_cast<int>(shown + 1)) / static_cast<int>(shown);
    const int areaHeight = client.bottom - top - gap;
    if (areaWidth > 0 && areaHeight > 0) {
        // Each page keeps its proportions inside its share of the window.
        int pageHeight = areaHeight;
        int pageWidth = MulDiv(pageHeight, m_setup.width, m_setup.height);
        if (pageWidth > areaWidth) {
            pageWidth = areaWidth;
            pageHeight = MulDiv(pageWidth, m_setup.height, m_setup.width);
        }
        for (std::size_t i = 0; i < shown; ++i) {
            const int left =
                gap + static_cast<int>(i) * (areaWidth + gap) + (areaWidth - pageWidth) / 2;
            RECT sheet{left, top, left + pageWidth, top + pageHeight};
            RECT shadow = sheet;
            OffsetRect(&shadow, 3, 3);
            FillRect(dc, &shadow, GetSysColorBrush(COLOR_3DDKSHADOW));
            FillRect(dc, &sheet, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            FrameRect(dc, &sheet, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            const int saved = SaveDC(dc);
            IntersectClipRect(dc, sheet.left, sheet.top, sheet.right, sheet.bottom);
            SetMapMode(dc, MM_ANISOTROPIC);
            SetWindowExtEx(dc, m_setup.width, m_setup.height, nullptr);
            SetViewportExtEx(dc, pageWidth, pageHeight, nullptr);
            SetViewportOrgEx(dc, sheet.left, sheet.top, nullptr);
            DrawPage(dc, m_setup, m_pages[m_first + i]);
            RestoreDC(dc, saved);
        }
    }
    EndPaint(m_hWnd, &paint);
}

}  // namespace bankwise
