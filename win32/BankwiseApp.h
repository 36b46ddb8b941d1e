// The Windows program as a whole: start-up, the command line, the message
// loop, the settings store, the window's place, the boxes and dialogs the
// document asks for, and the commands that are neither the frame's nor the
// document's own.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Document.h"
#include "FrontEnd.h"
#include "MainFrame.h"
#include "Printing.h"
#include "Prompt.h"
#include "RegistryProfile.h"
#include "Win.h"

namespace bankwise {

class CBankwiseApp final : public IFrameOwner, public IUserPrompt
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
    CDocument& Document() { return m_document; }
    HINSTANCE Instance() const { return m_hInstance; }
    // Opens path as File > Open would after its dialog.
    bool OpenDocumentFile(const std::wstring& path);

    // IFrameOwner
    void OnCommand(unsigned id) override;
    bool IsCommandEnabled(unsigned id) const override;
    std::vector<std::wstring> RecentFiles() const override;
    void OnDropFiles(const std::vector<std::wstring>& files) override;
    void OnViewChanged() override;
    bool CanCloseFrame() override;

    // IUserPrompt: the document's boxes and dialogs, owned by the main window.
    EAnswer Message(EBox box, const std::string& text) override;
    std::string FileName(CFileRequest& request) override;
    bool RunOptionsDialog(const CDumpExtractor& extractor) override;

    // The program-information box's text.
    std::wstring InformationText() const;
    // The link road: the shell, then the registered web-page command, then
    // the error box; true when opened.
    bool OpenLink(const std::wstring& target);
    CPrinter& Printer() { return m_printer; }

private:
    bool Dispatch(MSG& msg);
    CBankwiseView& View() { return m_pFrame->View(); }
    void OnAppAbout();
    EPrintResult OnFilePrint(bool showDialog);
    void OnFilePrintPreview();
    void ReportPrint(EPrintResult result, const std::wstring& printer);
    void RestoreWindowPlace(int showCommand);
    void SaveWindowPlace();
    void Warn(const std::wstring& text);

    HINSTANCE m_hInstance;
    std::unique_ptr<IPrompt> m_pOwnPrompt;
    IPrompt* m_pPrompt;
    CRegistryProfile m_profile;
    std::unique_ptr<CMainFrame> m_pFrame;
    CDocument m_document;
    CPrinter m_printer;
    int m_nExitCode = 0;
};

}  // namespace bankwise
