// The Windows program as a whole: start-up, the command line, the message
// loop, the settings store, the recent-file list, the window's place, and
// the commands that are not the frame's own.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Document.h"
#include "MainFrame.h"
#include "Printing.h"
#include "RegistryPaths.h"
#include "RegistryProfile.h"
#include "Win.h"

namespace bankwise {

class CBankwiseApp final : public IFrameOwner, public IDocumentHost
{
public:
    // keyPath: the settings key under HKEY_CURRENT_USER (tests give a
    // scratch key); prompt: the boxes and file dialogs, the real ones when null.
    CBankwiseApp(HINSTANCE instance, std::wstring keyPath = UserSettingsKeyPath(),
                 IPrompt* prompt = nullptr);
    ~CBankwiseApp() override;

    // Works through the command line, then creates and shows the main
    // window; false: the program ends (ExitCode says how).
    bool InitInstance(const std::vector<std::wstring>& args, int showCommand);
    int ExitCode() const { return m_nExitCode; }
    // Runs until the main window has closed; the exit code.
    int Run();
    // One round of the loop for callers that drive the program themselves
    // (the self-test): every queued message, then the idle update.
    void PumpMessages();

    CMainFrame& Frame() { return *m_pFrame; }
    CBankwiseDoc& Document() { return m_document; }
    HINSTANCE Instance() const { return m_hInstance; }
    // Opens path as File > Open would after its dialog.
    bool OpenDocumentFile(const std::wstring& path);

    // IFrameOwner
    void OnCommand(unsigned id) override;
    bool IsCommandEnabled(unsigned id) const override;
    std::vector<std::wstring> RecentFiles() const override { return m_recentFiles; }
    void OnDropFiles(const std::vector<std::wstring>& files) override;
    void OnViewChanged() override;
    bool CanCloseFrame() override;

    // IDocumentHost
    HWND Owner() const override { return m_pFrame->GetSafeHwnd(); }
    IPrompt& Prompt() override { return *m_pPrompt; }
    IProfile& Profile() override { return m_profile; }
    CRegistryPaths& Paths() override { return m_paths; }
    CBankwiseView& View() override { return m_pFrame->View(); }
    void TitleChanged(const std::wstring& title) override { m_pFrame->SetTitle(title); }
    void AddToRecentFileList(const std::wstring& path) override;
    void StatusMessage(const std::wstring& text) override;
    bool RunOptionsDialog(const CDumpExtractor& extractor) override;

    // The program-information box's text.
    std::wstring InformationText() const;
    // The link road: the shell, then the registered web-page command, then
    // the error box; true when opened.
    bool OpenLink(const std::wstring& target);
    CPrinter& Printer() { return m_printer; }

private:
    bool Dispatch(MSG& msg);
    void OnFileOpen();
    void OnFileNew();
    void OnOpenRecentFile(std::size_t index);
    void OnAppAbout();
    EPrintResult OnFilePrint(bool showDialog);
    void OnFilePrintPreview();
    void ReportPrint(EPrintResult result, const std::wstring& printer);
    void LoadRecentFiles();
    void SaveRecentFiles();
    void RestoreWindowPlace(int showCommand);
    void SaveWindowPlace();
    void Warn(const std::wstring& text, EBox box = EBox::Warning);

    HINSTANCE m_hInstance;
    std::unique_ptr<IPrompt> m_pOwnPrompt;
    IPrompt* m_pPrompt;
    CRegistryProfile m_profile;
    CRegistryPaths m_paths;
    std::unique_ptr<CMainFrame> m_pFrame;
    CBankwiseDoc m_document;
    CPrinter m_printer;
    std::vector<std::wstring> m_recentFiles;
    int m_nExitCode = 0;
};

}  // namespace bankwise
