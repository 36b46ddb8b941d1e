// The program's one document on Windows: the extractor of the current dump,
// the open road (read, convert, options, text into the view), Save and Save
// As through the safe writer, the save-changes query, and the remembered
// open and save folders. The rules shared with the Linux program come from
// the document layer (DocumentRules.h) and the core (ConvertDump); this
// class is the glue between them and the Win32 side.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "DumpExtractor.h"
#include "Profile.h"
#include "Prompt.h"
#include "RegistryPaths.h"

namespace bankwise {

class CBankwiseView;

// What the document needs of the program around it.
class IDocumentHost
{
public:
    virtual ~IDocumentHost() = default;
    virtual HWND Owner() const = 0;
    virtual IPrompt& Prompt() = 0;
    virtual IProfile& Profile() = 0;
    // Where the remembered folders are kept.
    virtual CRegistryPaths& Paths() = 0;
    virtual CBankwiseView& View() = 0;
    virtual void TitleChanged(const std::wstring& title) = 0;
    virtual void AddToRecentFileList(const std::wstring& path) = 0;
    // A note on the file just opened for the status bar; empty: none.
    virtual void StatusMessage(const std::wstring& text) = 0;
    // The options dialog for extractor over the profile; true: closed with OK.
    virtual bool RunOptionsDialog(const CDumpExtractor& extractor) = 0;
};

class CBankwiseDoc
{
public:
    explicit CBankwiseDoc(IDocumentHost& host);
    ~CBankwiseDoc();

    const std::wstring& GetTitle() const { return m_title; }
    const std::wstring& GetPathName() const { return m_path; }
    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true) { m_bModified = modified; }
    const CDumpExtractor* Extractor() const { return m_pExtractor.get(); }

    // File > New: an empty text, the stored folders read again.
    bool OnNewDocument();
    // Reads the stored open and save folders; the open one becomes current.
    void LoadRememberedDirs();
    // The whole open road for a full path; false leaves title, text and
    // flag as they were (the extractor goes once detection has begun).
    bool OnOpenDocument(const std::wstring& path);
    // The save-changes query: true when the caller may go on.
    bool SaveModified();
    bool OnFileSave();
    bool OnFileSaveAs();
    void OnViewOptions();
    // Asked when the main window is about to close; false keeps it open.
    bool CanCloseFrame();

    // Where the file dialogs start.
    const std::wstring& CurrentDir() const { return m_currentDir; }
    void SetCurrentDir(const std::wstring& dir) { m_currentDir = dir; }
    const std::wstring& OpenDir() const { return m_openDir; }
    const std::wstring& SaveDir() const { return m_saveDir; }

private:
    bool ConvertToView();
    bool DoSave(bool askForName);
    void UseRememberedDir(std::wstring& remembered);
    void SetTitle(const std::wstring& title);
    void Warn(const std::wstring& text);

    IDocumentHost& m_host;
    std::unique_ptr<CDumpExtractor> m_pExtractor;
    std::wstring m_title;
    std::wstring m_path;  // only an instrument file the text was saved to
    std::wstring m_openDir;
    std::wstring m_saveDir;
    std::wstring m_currentDir;
    bool m_bModified = false;
};

// The whole file at path, or the reason it cannot be read.
struct CReadResult
{
    std::vector<std::uint8_t> bytes;
    std::wstring error;  // empty: read
};
CReadResult ReadWholeFile(const std::wstring& path);

// The folder and the file name of a path.
std::wstring FolderOf(const std::wstring& path);
std::wstring FileNameOf(const std::wstring& path);

}  // namespace bankwise
