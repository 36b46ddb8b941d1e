// Everything the Windows program asks the user goes through one seam:
// message boxes and the file dialogs. The program uses the real ones; the
// self-test puts in one that answers from its script, so no check waits on
// a box.
#pragma once

#include <string>
#include <vector>

#include "Win.h"

namespace bankwise {

enum class EBox {
    Warning,      // a problem: OK only, exclamation icon
    Information,  // OK only, information icon
    OkCancel,     // a question that may lose work: OK and Cancel, exclamation icon
    YesNoCancel,  // the save-changes query
};

enum class EAnswer { Ok, Cancel, Yes, No };

// What a file dialog is to offer.
struct CFileRequest
{
    bool save = false;
    std::wstring caption;
    std::wstring startDir;
    std::wstring proposedName;  // save only: the name the dialog starts with
    // Pairs of a filter's name and its patterns ("*.syx;*.mid"), in order.
    std::vector<std::pair<std::wstring, std::wstring>> filters;
    std::wstring defaultExt;  // without its dot; added when the typed name has none
};

class IPrompt
{
public:
    virtual ~IPrompt() = default;
    virtual EAnswer Message(HWND owner, EBox box, const std::wstring& text) = 0;
    // The chosen path, or an empty text when the user cancelled.
    virtual std::wstring FileName(HWND owner, const CFileRequest& request) = 0;
};

// MessageBoxW and the common file dialogs.
class CWinPrompt final : public IPrompt
{
public:
    EAnswer Message(HWND owner, EBox box, const std::wstring& text) override;
    std::wstring FileName(HWND owner, const CFileRequest& request) override;
};

}  // namespace bankwise
