// Everything the Windows program asks the user goes through one seam:
// message boxes and the file dialogs. The program uses the real ones; the
// self-test puts in one that answers from its script, so no check waits on
// a box. The kinds of box and the file request are the document layer's.
#pragma once

#include <string>

#include "FrontEnd.h"
#include "Win.h"

namespace bankwise {

class IPrompt
{
public:
    virtual ~IPrompt() = default;
    // A box of the given kind titled with the program's name; the button pressed.
    virtual EAnswer Message(HWND owner, EBox box, const std::wstring& text) = 0;
    // The program-information box: OK only, information icon.
    virtual void Information(HWND owner, const std::wstring& text) = 0;
    // The chosen path, or an empty text when the user cancelled; sets
    // request.nFilter to the filter chosen.
    virtual std::wstring FileName(HWND owner, CFileRequest& request) = 0;
};

// MessageBoxW and the common file dialogs.
class CWinPrompt final : public IPrompt
{
public:
    EAnswer Message(HWND owner, EBox box, const std::wstring& text) override;
    void Information(HWND owner, const std::wstring& text) override;
    std::wstring FileName(HWND owner, CFileRequest& request) override;
};

}  // namespace bankwise
