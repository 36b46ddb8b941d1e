#include "AboutDialog.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "AboutRules.h"
#include "Desktop.h"
#include "StringTable.h"
#include "Texts.h"
#include "resource.h"

namespace bankwise {
namespace {

// The picture keeps its own size, centred across its frame wherever the
// dialog font puts the frame: the template's place suits one font only.
void CentrePicture(HWND dialog)
{
    HWND frame = nullptr;
    HWND picture = nullptr;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t type[16] = {};
        GetClassNameW(child, type, 16);
        const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK;
        if (lstrcmpiW(type, L"Static") == 0 && style == SS_GRAYFRAME)
            frame = child;
        else if (lstrcmpiW(type, L"Static") == 0 && style == SS_BITMAP)
            picture = child;
    }
    if (frame == nullptr || picture == nullptr)
        return;
    RECT frameRect{};
    RECT pictureRect{};
    GetWindowRect(frame, &frameRect);
    GetWindowRect(picture, &pictureRect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&frameRect), 2);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&pictureRect), 2);
    const int width = pictureRect.right - pictureRect.left;
    SetWindowPos(picture, nullptr, frameRect.left + (frameRect.right - frameRect.left - width) / 2,
                 pictureRect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

CAboutDialog::CAboutDialog(CLinkLabel::Opener open, std::function<void(HWND)> onMoreInfo)
    : m_mailLink(open), m_webLink(open), m_onMoreInfo(std::move(onMoreInfo))
{}

INT_PTR CAboutDialog::DoModal(HINSTANCE instance, HWND parent)
{
    return DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_ABOUTBOX), parent, DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

void CAboutDialog::OnInitDialog()
{
    // The texts are the string table's, as in the Linux program.
    SetWindowTextW(m_hWnd, Text(IDS_ABOUT_CAPTION).c_str());
    SetDlgItemTextW(m_hWnd, IDC_ABOUT_TITLE, Text(IDS_ABOUT_TITLE).c_str());
    SetDlgItemTextW(m_hWnd, IDC_ABOUT_NOTICE, Text(IDS_ABOUT_NOTICE).c_str());
    SetDlgItemTextW(m_hWnd, IDC_MORE_INFO, Text(IDS_ABOUT_MORE).c_str());
    const std::wstring mail = Text(IDS_ABOUT_MAIL_ADDRESS);
    const std::wstring web = Text(IDS_ABOUT_WEB_ADDRESS);
    SetDlgItemTextW(m_hWnd, IDC_MAIL_LINK, (Text(IDS_ABOUT_MAIL_LABEL) + mail).c_str());
    SetDlgItemTextW(m_hWnd, IDC_WEB_LINK, (Text(IDS_ABOUT_WEB_LABEL) + web).c_str());
    m_mailLink.Attach(GetDlgItem(m_hWnd, IDC_MAIL_LINK));
    m_webLink.Attach(GetDlgItem(m_hWnd, IDC_WEB_LINK));
    m_mailLink.SetTarget(L"mailto:" + mail);
    m_webLink.SetTarget(web);
    CentrePicture(m_hWnd);
}

INT_PTR CALLBACK CAboutDialog::DialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<CAboutDialog*>(lParam);
        SetWindowLongPtrW(hDlg, DWLP_USER, lParam);
        self->m_hWnd = hDlg;
        self->OnInitDialog();
        return TRUE;
    }
    auto* self = reinterpret_cast<CAboutDialog*>(GetWindowLongPtrW(hDlg, DWLP_USER));
    if (self == nullptr)
        return FALSE;
    switch (message) {
    case WM_CTLCOLORSTATIC: {
        const auto control = reinterpret_cast<HWND>(lParam);
        for (CLinkLabel* link : {&self->m_mailLink, &self->m_webLink}) {
            if (control == link->GetSafeHwnd())
                return reinterpret_cast<INT_PTR>(link->CtlColor(reinterpret_cast<HDC>(wParam)));
        }
        return FALSE;
    }
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (HIWORD(wParam) == STN_CLICKED && id == IDC_MAIL_LINK) {
            self->m_mailLink.OnClicked();
            return TRUE;
        }
        if (HIWORD(wParam) == STN_CLICKED && id == IDC_WEB_LINK) {
            self->m_webLink.OnClicked();
            return TRUE;
        }
        if (id == IDC_MORE_INFO && HIWORD(wParam) == BN_CLICKED) {
            if (self->m_onMoreInfo)
                self->m_onMoreInfo(hDlg);
            return TRUE;
        }
        if (id == IDOK || id == IDCANCEL) {
            EndDialog(hDlg, id);
            return TRUE;
        }
        return FALSE;
    }
    default:
        return FALSE;
    }
}

std::wstring ProgramInformation()
{
    // Named in capitals, as the system folder's libraries always were.
    const auto capitals = [](std::string name) {
        for (char& c : name)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return name;
    };
    // The program's own run-time libraries, not the system's libraries
    // that they load in turn: the box stays short enough for a screen.
    std::set<std::string> imported;
    for (const std::string& name : ImportedLibraryNames())
        imported.insert(capitals(name));
    std::vector<CLibraryLine> libraries;
    for (const std::wstring& path : LoadedLibraryPaths()) {
        const std::string name = capitals(Narrow(path.substr(path.find_last_of(L"\\/") + 1)));
        if (imported.contains(name))
            libraries.push_back({name, true, ReadFileVersion(path)});
    }
    const auto byName = [](const CLibraryLine& a, const CLibraryLine& b) {
        return std::tie(a.strName, a.version) < std::tie(b.strName, b.version);
    };
    std::sort(libraries.begin(), libraries.end(), byName);
    // One library loaded under two paths of the same version is one line.
    libraries.erase(std::unique(libraries.begin(), libraries.end(),
                                [](const CLibraryLine& a, const CLibraryLine& b) {
                                    return a.strName == b.strName && a.version == b.version;
                                }),
                    libraries.end());
    return Widen(ProgramInformationText(ReadFileVersion(ProgramPath()), libraries));
}

}  // namespace bankwise
