// The application object: the settings store, the one document and its
// window, the command line, the printer, and the commands that belong to no
// window. It shows the document's boxes and dialogs with Qt's.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

#include "Document.h"
#include "FrontEnd.h"

class QPrinter;
class QWidget;

namespace bankwise {

class CMainFrame;
class IPrompt;

class CBankwiseApp : public QObject, public IUserPrompt
{
    Q_OBJECT
public:
    // InitInstance's answer when the program goes on into its event loop.
    static constexpr int kRunEventLoop = -1;

    CBankwiseApp(IProfile& profile, IPrompt& prompt);
    ~CBankwiseApp() override;
    CBankwiseApp(const CBankwiseApp&) = delete;
    CBankwiseApp& operator=(const CBankwiseApp&) = delete;

    // Start-up: builds the window, runs the command line (arguments[0] is
    // the program). Returns kRunEventLoop, or the exit status when the
    // program ends at once (a file that did not open, a print job, usage).
    int InitInstance(const QStringList& arguments);

    // What the command line asks for.
    struct CCommandLine
    {
        QString file;
        bool print = false;
        QString printer;  // --print-to's
    };
    // Reads the command line; answers --help and --version and usage errors
    // itself, which need no window. Returns kRunEventLoop to go on, else the
    // exit status.
    static int ParseCommandLine(const QStringList& arguments, CCommandLine& commandLine);

    void OnFilePrint();
    void OnFilePrintPreview();
    void OnFilePrintSetup();
    void OnAppAbout();
    // Prints without a dialog: on the kept printer, or on printerName (a
    // name ending in ".pdf" is a PDF file). False when nothing was printed.
    bool OnFilePrintDirect(const QString& printerName = {});

    // Opens a file as File > Open does after its dialog.
    bool OpenDocumentFile(const QString& pathName);

    // The document's boxes and dialogs, over the main window.
    EAnswer Message(EBox box, const std::string& text) override;
    std::string FileName(CFileRequest& request) override;
    bool RunOptionsDialog(const CDumpExtractor& extractor) override;

    IProfile& Profile() { return m_profile; }
    IPrompt& Prompt() { return m_prompt; }
    QPrinter& Printer();
    CDocument& Document() { return *m_pDocument; }
    CMainFrame* MainFrame() { return m_pMainFrame.get(); }
    QWidget* MainWindow();

private:
    bool Print(QPrinter& printer, const QString& target);

    IProfile& m_profile;
    IPrompt& m_prompt;
    std::unique_ptr<QPrinter> m_pPrinter;
    std::unique_ptr<CMainFrame> m_pMainFrame;
    std::unique_ptr<CDocument> m_pDocument;
};

// The user's settings store. When one of its files cannot be read safely (no
// regular file, or absurdly large) the user is warned once and the session
// runs on defaults in memory, so that file is neither read nor written.
std::unique_ptr<IProfile> OpenUserProfile(IPrompt& prompt);

}  // namespace bankwise
