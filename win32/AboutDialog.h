// The About box from its template: the picture, the program's name and
// notice, the mail and web links, and "More..." for the program-information
// box. What the links and the box do is given in by the program.
#pragma once

#include <functional>
#include <string>

#include "LinkLabel.h"
#include "Win.h"

namespace bankwise {

class CAboutDialog
{
public:
    CAboutDialog(CLinkLabel::Opener open, std::function<void(HWND dialog)> onMoreInfo);
    INT_PTR DoModal(HINSTANCE instance, HWND parent);

    CLinkLabel& MailLink() { return m_mailLink; }
    CLinkLabel& WebLink() { return m_webLink; }

private:
    static INT_PTR CALLBACK DialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog();

    CLinkLabel m_mailLink;
    CLinkLabel m_webLink;
    std::function<void(HWND)> m_onMoreInfo;
    HWND m_hWnd = nullptr;
};

// The program-information box's text: the families, the program's version
// from its version resource, and each run-time library of the program as the
// process has loaded it, with its file version, by name.
std::wstring ProgramInformation();

}  // namespace bankwise
