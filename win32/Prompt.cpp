#include "Prompt.h"

#include "StringTable.h"
#include "Texts.h"

namespace bankwise {

EAnswer CWinPrompt::Message(HWND owner, EBox box, const std::wstring& text)
{
    UINT type = MB_OK | MB_ICONEXCLAMATION;
    if (box == EBox::Information)
        type = MB_OK | MB_ICONINFORMATION;
    else if (box == EBox::OkCancel)
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

std::wstring CWinPrompt::FileName(HWND owner, const CFileRequest& request)
{
    // The dialog takes its filters as one text of NUL-separated pairs.
    std::wstring filter;
    for (const auto& [name, patterns] : request.filters)
        filter += name + L'\0' + patterns + L'\0';
    filter += L'\0';
    std::wstring file(32768, L'\0');
    request.proposedName.copy(file.data(), file.size() - 1);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = request.startDir.empty() ? nullptr : request.startDir.c_str();
    ofn.lpstrTitle = request.caption.c_str();
    ofn.lpstrDefExt = request.defaultExt.empty() ? nullptr : request.defaultExt.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                (request.save ? OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST : OFN_FILEMUSTEXIST);
    const BOOL chosen = request.save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!chosen)
        return {};
    file.resize(wcsnlen(file.c_str(), file.size()));
    return file;
}

}  // namespace bankwise
