#include "OptionsDialog.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "Texts.h"
#include "resource.h"

namespace bankwise {

namespace {

// A static control breaks lines at "\r\n".
std::wstring WithCrLf(const std::wstring& text)
{
    std::wstring out;
    for (const wchar_t c : text) {
        if (c == L'\n')
            out.push_back(L'\r');
        out.push_back(c);
    }
    return out;
}

// A child's place in the dialog's client area.
RECT ChildRect(HWND dialog, HWND child)
{
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The template's units were chosen for a narrower font than most systems
// give dialogs today: the layout is widened, keeping its proportions, until
// every label and the check box show their whole text on one line, as the
// Linux program does.
void FitLabels(HWND dialog)
{
    HDC dc = GetDC(dialog);
    const HGDIOBJ oldFont =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)));
    double grow = 1.0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(child);
        wchar_t type[16] = {};
        GetClassNameW(child, type, 16);
        const bool label = lstrcmpiW(type, L"Static") == 0 && id != IDC_PREVIEW;
        if (!label && id != IDC_SHOW_OPTIONS)
            continue;
        const int length = GetWindowTextLengthW(child);
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        text.resize(static_cast<std::size_t>(GetWindowTextW(child, text.data(), length + 1)));
        RECT needed{};
        DrawTextW(dc, text.c_str(), -1, &needed, DT_CALCRECT | DT_SINGLELINE);
        // The check box's box and the gap before its text.
        const int extra = label ? 0 : GetSystemMetrics(SM_CXMENUCHECK) + 6;
        const RECT have = ChildRect(dialog, child);
        if (have.right > have.left)
            grow = std::max(grow, static_cast<double>(needed.right + extra) /
                                      static_cast<double>(have.right - have.left));
    }
    SelectObject(dc, oldFont);
    ReleaseDC(dialog, dc);
    if (grow <= 1.0)
        return;
    const auto scaled = [grow](LONG x) { return static_cast<int>(std::lround(x * grow)); };
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        const RECT r = ChildRect(dialog, child);
        SetWindowPos(child, nullptr, scaled(r.left), r.top, scaled(r.right) - scaled(r.left),
                     r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RECT client{};
    RECT window{};
    GetClientRect(dialog, &client);
    GetWindowRect(dialog, &window);
    // Half the growth to each side: the dialog stays where it was centred.
    const int growth = scaled(client.right) - client.right;
    SetWindowPos(dialog, nullptr, window.left - growth / 2, window.top,
                 window.right - window.left + growth, window.bottom - window.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

COptionsDialog::COptionsDialog(IOptionsModel& model, const CTextCodec& codec)
    : m_model(model), m_codec(codec)
{}

INT_PTR COptionsDialog::DoModal(HINSTANCE instance, HWND parent)
{
    return DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_OPTIONS), parent, DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK COptionsDialog::DialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<COptionsDialog*>(lParam);
        SetWindowLongPtrW(hDlg, DWLP_USER, lParam);
        self->m_hWnd = hDlg;
        self->OnInitDialog();
        return TRUE;  // the focus goes to the first tab stop, the definition name
    }
    auto* self = reinterpret_cast<COptionsDialog*>(GetWindowLongPtrW(hDlg, DWLP_USER));
    if (self == nullptr || message != WM_COMMAND)
        return FALSE;
    const int id = LOWORD(wParam);
    if (HIWORD(wParam) == EN_CHANGE &&
        (id == IDC_DEFINITION || id == IDC_BANK_FORMAT || id == IDC_INSTR_FORMAT)) {
        self->UpdatePreview();
        return TRUE;
    }
    if (id == IDOK && HIWORD(wParam) == BN_CLICKED) {
        // Enter reaches here through the default button even while it is greyed.
        if (!IsWindowEnabled(GetDlgItem(hDlg, IDOK)))
            return TRUE;
        self->m_model.Store(self->ReadFields());
        EndDialog(hDlg, IDOK);
        return TRUE;
    }
    if (id == IDCANCEL) {
        EndDialog(hDlg, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

void COptionsDialog::OnInitDialog()
{
    const COptionsFields fields = m_model.Initial();
    SetDlgItemTextW(m_hWnd, IDC_DEFINITION, m_codec.ToWide(fields.definition).c_str());
    SetDlgItemTextW(m_hWnd, IDC_BANK_FORMAT, m_codec.ToWide(fields.bankFormat).c_str());
    SetDlgItemTextW(m_hWnd, IDC_INSTR_FORMAT, m_codec.ToWide(fields.instrFormat).c_str());
    CheckDlgButton(m_hWnd, IDC_SHOW_OPTIONS, fields.showOptions ? BST_CHECKED : BST_UNCHECKED);

    // The template's caption holds "%s" for the family's name.
    const int length = GetWindowTextLengthW(m_hWnd);
    std::wstring caption(static_cast<std::size_t>(length) + 1, L'\0');
    caption.resize(static_cast<std::size_t>(GetWindowTextW(m_hWnd, caption.data(), length + 1)));
    if (const std::size_t at = caption.find(L"%s"); at != std::wstring::npos)
        caption.replace(at, 2, Widen(m_model.FamilyName()));
    SetWindowTextW(m_hWnd, caption.c_str());
    UpdatePreview();
    FitLabels(m_hWnd);
}

std::string COptionsDialog::FieldText(int id) const
{
    HWND field = GetDlgItem(m_hWnd, id);
    const int length = GetWindowTextLengthW(field);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(field, text.data(), length + 1)));
    return m_codec.ToBytes(text);
}

COptionsFields COptionsDialog::ReadFields() const
{
    COptionsFields fields;
    fields.definition = FieldText(IDC_DEFINITION);
    fields.bankFormat = FieldText(IDC_BANK_FORMAT);
    fields.instrFormat = FieldText(IDC_INSTR_FORMAT);
    fields.showOptions = IsDlgButtonChecked(m_hWnd, IDC_SHOW_OPTIONS) == BST_CHECKED;
    return fields;
}

void COptionsDialog::UpdatePreview()
{
    const auto [text, okEnabled] = m_model.Preview(ReadFields());
    SetDlgItemTextW(m_hWnd, IDC_PREVIEW, WithCrLf(m_codec.ToWide(text)).c_str());
    EnableWindow(GetDlgItem(m_hWnd, IDOK), okEnabled ? TRUE : FALSE);
}

}  // namespace bankwise
