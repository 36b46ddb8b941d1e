// The Windows program as a whole: start-up, the command line, the message
// loop, and the commands that are not the frame's own.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "MainFrame.h"
#include "Printing.h"
#include "Win.h"

namespace bankwise {

class CBankwiseApp final : public IFrameOwner
{
public:
    explicit CBankwiseApp(HINSTANCE instance);
    ~CBankwiseApp() override;

    // Creates and shows the main window after the command line has been
    // worked through; false: the program ends.
    bool InitInstance(const std::vector<std::wstring>& args, int showCommand);
    // The exit code when InitInstance ended the program without a window.
    int ExitCode() const { return m_nExitCode; }
    // Runs until the main window has closed; the exit code.
    int Run();
    // One round of the loop for callers that drive the program themselves
    // (the self-test): every queued message, then the idle update.
    void PumpMessages();

    CMainFrame& Frame() { return *m_pFrame; }
    HINSTANCE Instance() const { return m_hInstance; }

    void OnCommand(unsigned id) override;
    bool IsCommandEnabled(unsigned id) const override;
    std::vector<std::wstring> RecentFiles() const override;
    void OnDropFiles(const std::vector<std::wstring>& files) override;
    bool CanCloseFrame() override;

    // The program-information box's text.
    std::wstring InformationText() const;
    CPrinter& Printer() { return m_printer; }

private:
    bool Dispatch(MSG& msg);
    void OnAppAbout();
    bool OpenLink(const std::wstring& target);
    void OnFilePrint(bool showDialog);
    void OnFilePrintPreview();
    void ReportPrint(EPrintResult result, const std::wstring& printer);
    void Warn(const std::wstring& text, UINT icon = MB_ICONEXCLAMATION);

    HINSTANCE m_hInstance;
    std::unique_ptr<CMainFrame> m_pFrame;
    CPrinter m_printer;
    int m_nExitCode = 0;
};

}  // namespace bankwise
