// The program's one document, for both desktop programs: it owns the
// extractor of the current dump, turns a dump into the text of the view,
// saves and exports, keeps the title, the path, the modified flag, the
// remembered folders and the recent-file list. It talks to the front end
// only through FrontEnd.h's interfaces; a front end turns its commands into
// calls of the On... members and shows what the interfaces are told.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "BusyGuard.h"
#include "DumpExtractor.h"
#include "FrontEnd.h"
#include "OutputFormat.h"
#include "Profile.h"

namespace bankwise {

// How well a file about to be opened matches the document type.
enum class EConfidence {
    yesAttemptForeign = 3,  // opened all the same; detection decides
    yesAttemptNative = 4,   // a dump's extension (.syx, .mid, any case)
    yesAlreadyOpen = 5,     // the document's own path: nothing is read
};
// From path's last dot on (even in a folder name) against the dump filter's
// extensions; documentPath is the document's path (empty: none).
EConfidence MatchDocType(const std::string& path, const std::string& documentPath);

// The file dialogs' filters: the dump filter for opening, the instrument
// filter while the document saves (File > Save and Save As).
CFileRequest MakeFileRequest(bool bSaveMode);

// Reads a whole dump file. Empty when read; else the message that names the
// file ("Cannot read FILE:\nreason").
std::optional<std::string> ReadDumpFile(const std::string& path, std::vector<std::uint8_t>& bytes);

class CDocument
{
public:
    // The interfaces must outlive the document. currentDir is the folder the
    // file dialogs start in until a remembered one replaces it.
    CDocument(IProfile& profile, IUserPrompt& prompt, ITextView& view, IDocumentFrame& frame,
              BusyHook busy, std::string currentDir);
    ~CDocument();
    CDocument(const CDocument&) = delete;
    CDocument& operator=(const CDocument&) = delete;

    // "Untitled", a dump's base name, or a saved file's name.
    const std::string& GetTitle() const { return m_strTitle; }
    // Empty unless the text was saved under an ".ins" name.
    const std::string& GetPathName() const { return m_strPathName; }
    bool IsModified() const { return m_bModified; }
    // The front end calls this when the user changes the text.
    void SetModifiedFlag(bool bModified = true) { m_bModified = bModified; }
    // Options and Export are enabled exactly while this is true.
    bool HasExtractor() const { return m_pExtractor != nullptr; }
    const CDumpExtractor* GetExtractor() const { return m_pExtractor.get(); }
    // Puts in an extractor as if a dump had been read (tests).
    void SetExtractor(std::unique_ptr<CDumpExtractor> extractor);
    // The newest first, at most four, as stored in "Recent File List".
    const std::vector<std::string>& GetRecentFiles() const { return m_recentFiles; }
    const std::string& GetCurrentDir() const { return m_strCurrentDir; }

    // Start-up: reads the recent-file list. Then either OnNewDocument, or
    // LoadRememberedDirs and OpenDocumentFile for a file on the command line.
    void LoadRecentFiles();
    // Reads the remembered folders and starts in the open one.
    void LoadRememberedDirs();

    // New (Ctrl+N, and start-up without a file): empties the view and the
    // path after the save-changes query; reads the remembered folders.
    bool OnNewDocument();
    void OnFileNew();
    // File > Open: asks for a dump in the current folder, then opens it.
    void OnFileOpen();
    // Opens a dump as File > Open does after its dialog (command line, drop,
    // recent list): the save-changes query, read, detect, the options dialog
    // when "ShowOptions" is on, convert into the view. False when nothing
    // opened (said why, or the user cancelled).
    bool OpenDocumentFile(const std::string& path);
    // A file that is gone leaves the list; one the user chose not to open stays.
    void OnOpenRecentFile(std::size_t index);
    bool OnFileSave();
    bool OnFileSaveAs();
    // Writes the dump's names in another sequencer's format; the document
    // stays as it was.
    bool OnFileExport();
    // View > Options: on OK the text is made again.
    void OnViewOptions();
    // The save-changes query: true when the caller may go on.
    bool SaveModified();
    // The main window is about to close: false keeps it open. Stores the
    // remembered folders and drops the extractor.
    bool CanCloseFrame();

private:
    enum class EDir { Open, Save };
    bool OnOpenDocument(const std::string& path);
    bool ConvertToView();
    void UseRememberedDir(EDir which);
    void SetTitle(const std::string& title);
    void SetPathName(const std::string& path, bool bAddToRecent);
    void AddToRecentFileList(const std::string& path);
    void SaveRecentFiles();
    bool SaveWith(bool bAsk);
    bool WriteTarget(const std::string& path, const std::string& bytes);
    std::optional<std::string> MakeText(EOutputFormat format, std::vector<std::string>* left);
    void DropExtractor();

    IProfile& m_profile;
    IUserPrompt& m_prompt;
    ITextView& m_view;
    IDocumentFrame& m_frame;
    BusyHook m_busy;
    std::unique_ptr<CDumpExtractor> m_pExtractor;
    std::string m_strTitle;
    std::string m_strPathName;
    std::string m_strCurrentDir;
    std::string m_strOpenDir;
    std::string m_strSaveDir;
    std::string m_strDumpName;  // base name of the dump the extractor was made for
    std::vector<std::string> m_recentFiles;
    bool m_bModified = false;
};

}  // namespace bankwise
