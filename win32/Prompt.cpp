#include "Prompt.h"

#include "StringTable.h"
#include "Texts.h"
#include "resource.h"

namespace bankwise {

namespace {

// Fills the note below the file list; the note's text comes in lCustData.
UINT_PTR CALLBACK NoteHook(HWND child, UINT message, WPARAM, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        const auto& ofn = *reinterpret_cast<const OPENFILENAMEW*>(lParam);
        SetDlgItemTextW(child, IDC_FILE_NOTE, reinterpret_cast<const wchar_t*>(ofn.lCustData));
    }
    return 0;
}

}  // namespace

EAnswer CWinPrompt::Message(HWND owner, EBox box, const std::wstring& text)
{
    UINT type = MB_OK | MB_ICONEXCLAMATION;
    if (box == EBox::OkCancel)
        type = MB_OKCANCEL | MB_ICONEXCLAMATION;
    else if (box == EBox::YesNoCancel)
        type = MB_YESNOCANCEL | MB_ICONEXCLAMATION;
    switch (MessageBoxW(owner, text.c_str(), Text(AFX_IDS_APP_TITLE).c_str(), type)) {
    case IDOK:
        return EAnswer::Ok;
    case IDYES:
        return EAnswer::Yes;
    case IDNO:
        return EAnswer::No;
    default:
        return EAnswer::Cancel;
    }
}

void CWinPrompt::Information(HWND owner, const std::wstring& text)
{
    MessageBoxW(owner, text.c_str(), Text(AFX_IDS_APP_TITLE).c_str(), MB_OK | MB_ICONINFORMATION);
}

std::wstring CWinPrompt::FileName(HWND owner, CFileRequest& request)
{
    // The dialog takes its filters as one text of NUL-separated pairs.
    std::wstring filter;
    for (const CFileFilter& each : request.filters) {
        std::wstring patterns;
        for (const std::string& pattern : each.patterns)
            patterns += (patterns.empty() ? L"" : L";") + Widen(pattern);
        filter += Widen(each.strName) + L'\0' + patterns + L'\0';
    }
    // Windows' own words for it, with its own pattern.
    if (!request.strAllFilesFilter.empty())
        filter += Text(IDS_WIN_ALL_FILES) + L'\0' + L"*.*" + L'\0';
    filter += L'\0';
    const std::wstring caption = Widen(request.strCaption);
    const std::wstring startDir = Widen(request.strStartDir);
    const std::wstring defaultExt = request.nFilter < request.filters.size()
                                        ? Widen(request.filters[request.nFilter].strDefaultExt)
                                        : std::wstring();
    std::wstring file(32768, L'\0');
    Widen(request.strProposedName).copy(file.data(), file.size() - 1);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(request.nFilter + 1);
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = startDir.empty() ? nullptr : startDir.c_str();
    ofn.lpstrTitle = caption.c_str();
    ofn.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                (request.bSave ? OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST : OFN_FILEMUSTEXIST);
    // A hook gives the older Explorer look on newer Windows: only the
    // dialogs with a note take it.
    const std::wstring note = Widen(request.strNote);
    if (!note.empty()) {
        ofn.Flags |= OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_ENABLESIZING;
        ofn.hInstance = GetModuleHandleW(nullptr);
        ofn.lpTemplateName = MAKEINTRESOURCEW(IDD_FILE_NOTE);
        ofn.lpfnHook = NoteHook;
        ofn.lCustData = reinterpret_cast<LPARAM>(note.c_str());
    }
    const BOOL chosen = request.bSave ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!chosen)
        return {};
    if (ofn.nFilterIndex >= 1 && ofn.nFilterIndex <= request.filters.size())
        request.nFilter = ofn.nFilterIndex - 1;
    file.resize(wcsnlen(file.c_str(), file.size()));
    return file;
}

}  // namespace bankwise
