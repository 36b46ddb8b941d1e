// What the document layer asks of a desktop front end: a few small
// interfaces, each a toolkit's job (boxes, file dialogs, the options dialog,
// the text control, the main window's status bar, title and menus, opening
// a link). The document holds the program's behaviour and calls these; a
// front end implements them with its own widgets and passes them in.
//
// Texts cross as std::string bytes: the string table's texts, the view's
// text (one byte a character, CR LF line ends) and file names in the file
// system's own bytes (UTF-8 on Windows). A message that names a file is the
// table's text with the name's bytes in it; both front ends show it as
// UTF-8 (the table's own texts are ASCII).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace bankwise {

class CDumpExtractor;

// The kinds of message box.
enum class EBox {
    Warning,      // a problem: OK only, exclamation icon
    OkCancel,     // a question that may lose work: OK and Cancel, exclamation icon
    YesNoCancel,  // the save-changes query: Yes, No, Cancel
};

enum class EAnswer { Ok, Cancel, Yes, No };

// One filter of a file dialog.
struct CFileFilter
{
    std::string strName;                // e.g. "Sysex File (*.syx; *.mid)"
    std::vector<std::string> patterns;  // what it matches, e.g. "*.syx", "*.mid"
    std::string strDefaultExt;          // save: added, with a dot, to a typed name without one
};

// What a file dialog offers and, on return, what the user chose in it.
struct CFileRequest
{
    bool bSave = false;
    std::string strCaption;
    std::string strStartDir;           // the folder the dialog starts in
    std::string strProposedName;       // save only: the full path the dialog starts with
    std::vector<CFileFilter> filters;  // the program's own, in order
    std::string strAllFilesFilter;     // offered after them when not empty
    // In: the filter (index into filters) the dialog starts with. Out: the
    // one the user chose, when it is one of filters.
    std::size_t nFilter = 0;
    std::string strNote;  // one line shown under the file list, when not empty
};

// Boxes and dialogs: everything the document asks the user. A test puts in
// one that answers from a script.
class IUserPrompt
{
public:
    virtual ~IUserPrompt() = default;
    // Shows text in a box of the given kind (titled with the program's
    // name) and gives the button pressed; a Warning answers Ok.
    virtual EAnswer Message(EBox box, const std::string& text) = 0;
    // Asks for a file name; the chosen path (as typed: the dialog adds the
    // chosen filter's default extension when the name has none), or an
    // empty text when the user cancelled. Sets request.nFilter.
    virtual std::string FileName(CFileRequest& request) = 0;
    // Shows the options dialog for extractor's family (its name id, default
    // patterns and preview numbers; the model is LoadOptions,
    // MakeOptionsPreview and StoreOptions). True when closed with OK, which
    // has stored the values in the profile.
    virtual bool RunOptionsDialog(const CDumpExtractor& extractor) = 0;
};

// The text control that holds the whole instrument definition.
class ITextView
{
public:
    virtual ~ITextView() = default;
    // The whole text as bytes, exactly as the user sees it.
    virtual std::string GetText() const = 0;
    // Replaces the whole text and clears the user's-change mark.
    virtual void SetText(std::string_view bytes) = 0;
    // Whether the user changed the text since it was last set (the edit
    // control's modification mark). When the user changes it the front end
    // also calls CDocument::SetModifiedFlag().
    virtual bool IsUserChanged() const = 0;
};

// The main window, as far as the document changes what it shows. All but
// SetStatusText have empty defaults.
class IDocumentFrame
{
public:
    virtual ~IDocumentFrame() = default;
    // The status bar's message pane; an empty text brings back the idle
    // text. A command prompt shown later (menu hover) replaces it.
    virtual void SetStatusText(const std::string& text) = 0;
    // The title changed: show "<CDocument::GetTitle()> - Bankwise".
    virtual void OnTitleChanged() {}
    // An extractor came or went: Options and Export are enabled exactly
    // while CDocument::HasExtractor().
    virtual void OnExtractorChanged() {}
    // CDocument::GetRecentFiles() changed: rebuild the File menu's list.
    virtual void OnRecentFilesChanged() {}
    // The file asked for is the document already shown: bring the window up.
    virtual void Activate() {}
};

// Opening a link, for the About box's link labels (OpenLink in
// AboutRules.h holds the order and the codes).
class ILinkOpener
{
public:
    virtual ~ILinkOpener() = default;
    // Hands a web or mailto: address to the desktop's own handler
    // (ShellExecute's "open", xdg-open). Its code: above 32 is success, else
    // ShellExecute's error codes (a handler that gives no reason: 31).
    virtual int OpenWithDesktop(const std::string& target) = 0;
    // The command line registered for web pages, placeholder included (the
    // ".htm" class's shell\open\command, a desktop entry's Exec line,
    // $BROWSER); empty when there is none.
    virtual std::string BrowserCommand() = 0;
    // Starts commandLine (the registered command, cut at its placeholder)
    // with target as its last argument: WinExec(commandLine + " " + target)
    // on Windows. Its code: above 31 is success, else WinExec's (0, 2, 3, 11).
    virtual int StartCommand(const std::string& commandLine, const std::string& target) = 0;
};

}  // namespace bankwise
