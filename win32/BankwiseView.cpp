#include "BankwiseView.h"

namespace bankwise {

namespace {

constexpr UINT kFallbackCodePage = 1252;

}  // namespace

CTextCodec AnsiCodec()
{
    CPINFO info{};
    UINT codePage = GetACP();
    if (!GetCPInfo(codePage, &info) || info.MaxCharSize != 1)
        codePage = kFallbackCodePage;
    return CTextCodec([codePage](unsigned char byte) -> wchar_t {
        const char in = static_cast<char>(byte);
        wchar_t out = 0;
        if (MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, &in, 1, &out, 1) != 1)
            return 0;
        // A best-fit character that does not lead back to the byte is no
        // character of the code page.
        char back = 0;
        BOOL lossy = FALSE;
        if (WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, &out, 1, &back, 1, nullptr,
                                &lossy) != 1 ||
            lossy || back != in)
            return 0;
        return out;
    });
}

CBankwiseView::CBankwiseView() : m_codec(AnsiCodec()) {}

CBankwiseView::~CBankwiseView()
{
    if (m_hFont != nullptr)
        DeleteObject(m_hFont);
}

bool CBankwiseView::Create(HWND parent, UINT dpi)
{
    // No WS_HSCROLL and no ES_AUTOHSCROLL: lines wrap at the edge.
    m_hWnd = CreateWindowExW(
        WS_EX_CLIENTEDGE, L"EDIT", L"",
        WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL |
            ES_WANTRETURN,
        0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(0xE900)),
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
    if (m_hWnd == nullptr)
        return false;
    // The control's own limit is 32 K characters; a large bank is more.
    SendMessageW(m_hWnd, EM_SETLIMITTEXT, 0, 0);
    SetDpi(dpi);
    return true;
}

void CBankwiseView::SetDpi(UINT dpi)
{
    LOGFONTW font{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    font.lfHeight = MulDiv(font.lfHeight, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
    HFONT created = CreateFontIndirectW(&font);
    if (created == nullptr)
        return;
    SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(created), TRUE);
    if (m_hFont != nullptr)
        DeleteObject(m_hFont);
    m_hFont = created;
}

void CBankwiseView::SetText(std::string_view bytes)
{
    const std::wstring text = m_codec.ToWide(bytes);
    SetWindowTextW(m_hWnd, text.c_str());
    SetModified(false);
}

std::string CBankwiseView::GetText() const
{
    const int length = GetWindowTextLengthW(m_hWnd);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(m_hWnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return m_codec.ToBytes(text);
}

bool CBankwiseView::IsModified() const
{
    return SendMessageW(m_hWnd, EM_GETMODIFY, 0, 0) != 0;
}

void CBankwiseView::SetModified(bool modified)
{
    SendMessageW(m_hWnd, EM_SETMODIFY, modified ? TRUE : FALSE, 0);
}

bool CBankwiseView::CanUndo() const
{
    return SendMessageW(m_hWnd, EM_CANUNDO, 0, 0) != 0;
}

bool CBankwiseView::HasSelection() const
{
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return start != end;
}

bool CBankwiseView::CanPaste()
{
    return IsClipboardFormatAvailable(CF_UNICODETEXT) != 0;
}

void CBankwiseView::Undo()
{
    SendMessageW(m_hWnd, WM_UNDO, 0, 0);
}

void CBankwiseView::Cut()
{
    SendMessageW(m_hWnd, WM_CUT, 0, 0);
}

void CBankwiseView::Copy()
{
    SendMessageW(m_hWnd, WM_COPY, 0, 0);
}

void CBankwiseView::Paste()
{
    SendMessageW(m_hWnd, WM_PASTE, 0, 0);
}

}  // namespace bankwise
