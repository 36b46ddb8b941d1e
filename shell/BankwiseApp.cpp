#include "BankwiseApp.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <cstdio>

#include "AboutDialog.h"
#include "BankwiseDoc.h"
#include "BankwiseDocTemplate.h"
#include "BankwiseView.h"
#include "BusyGuard.h"
#include "DocumentRules.h"
#include "MainFrame.h"
#include "Profile.h"
#include "Prompt.h"
#include "SafeFormat.h"
#include "SettingsProfile.h"
#include "StringTable.h"

#ifndef BANKWISE_VERSION
#define BANKWISE_VERSION "unknown"
#endif
#ifndef BANKWISE_DESCRIPTION
#define BANKWISE_DESCRIPTION ""
#endif

namespace bankwise {
namespace {

constexpr const char* kRecentSection = "Recent File List";
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

QString Format(std::uint32_t id, const QString& argument)
{
    return QString::fromLocal8Bit(
        SafeFormat(LoadString(id), {FormatArg::Text(argument.toLocal8Bit().toStdString())}));
}

std::string RecentEntry(int index)
{
    return "File" + std::to_string(index + 1);
}

}  // namespace

CBankwiseApp::CBankwiseApp(IProfile& profile, IPrompt& prompt)
    : m_profile(profile), m_prompt(prompt)
{}

CBankwiseApp::~CBankwiseApp() = default;

QWidget* CBankwiseApp::MainWindow()
{
    return m_pMainFrame.get();
}

QPrinter& CBankwiseApp::Printer()
{
    // Made on first use: asking the print system for printers takes time
    // that start-up should not spend.
    if (!m_pPrinter)
        m_pPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_pPrinter;
}

int CBankwiseApp::InitInstance(const QStringList& arguments)
{
    CCommandLine commandLine;
    const int status = ParseCommandLine(arguments, commandLine);
    if (status != kRunEventLoop)
        return status;

    m_busyHook = [](bool busy) {
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    };
    LoadRecentFiles();

    m_pTemplate = std::make_unique<CBankwiseDocTemplate>(IDR_MAINFRAME);
    m_pDocument = std::make_unique<CBankwiseDoc>(*this, *m_pTemplate);
    m_pTemplate->SetDocument(m_pDocument.get());
    m_pMainFrame = std::make_unique<CMainFrame>(*this);

    if (commandLine.file.isEmpty()) {
        m_pDocument->OnNewDocument();
    } else {
        // The stored folders are read here too, or the close would store
        // the folders of a run that never read them.
        m_pDocument->LoadRememberedDirs();
        if (!OpenDocumentFile(commandLine.file))
            return kExitFailed;
        if (commandLine.print)
            return OnFilePrintDirect(commandLine.printer) ? 0 : kExitFailed;
    }
    m_pMainFrame->show();
    return kRunEventLoop;
}

int CBankwiseApp::ParseCommandLine(const QStringList& arguments, CCommandLine& commandLine)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(BANKWISE_DESCRIPTION));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption printOption(QStringLiteral("print"), LoadQString(IDS_SHELL_ARG_PRINT));
    const QCommandLineOption printToOption(
        QStringLiteral("print-to"), LoadQString(IDS_SHELL_ARG_PRINT_TO), QStringLiteral("PRINTER"));
    parser.addOption(printOption);
    parser.addOption(printToOption);
    parser.addPositionalArgument(QStringLiteral("FILE"), LoadQString(IDS_SHELL_ARG_FILE),
                                 QStringLiteral("[FILE]"));
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "bankwise: %s\n", qPrintable(parser.errorText()));
        return kExitUsage;
    }
    // --help-all is the parser's own option beside --help; without a Qt
    // event loop to show its extra options it prints the same help.
    if (parser.isSet(helpOption) || parser.isSet(QStringLiteral("help-all"))) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    if (parser.isSet(versionOption)) {
        std::printf("bankwise %s\n", BANKWISE_VERSION);
        return 0;
    }
    const QStringList files = parser.positionalArguments();
    commandLine.print = parser.isSet(printOption) || parser.isSet(printToOption);
    commandLine.printer = parser.value(printToOption);
    if (files.size() > 1 || (commandLine.print && files.isEmpty())) {
        std::fprintf(stderr, "%s\n%s", LoadString(IDS_SHELL_USAGE_PRINT).c_str(),
                     qPrintable(parser.helpText()));
        return kExitUsage;
    }
    commandLine.file = files.isEmpty() ? QString() : files.constFirst();
    return kRunEventLoop;
}

bool CBankwiseApp::OpenDocumentFile(const QString& pathName)
{
    const QString fullPath = QFileInfo(pathName).absoluteFilePath();
    CBankwiseDoc* match = nullptr;
    if (m_pTemplate->MatchDocType(fullPath, match) == CBankwiseDocTemplate::yesAlreadyOpen) {
        m_pMainFrame->activateWindow();
        return true;
    }
    if (!m_pDocument->SaveModified())
        return false;
    if (!m_pDocument->OnOpenDocument(fullPath))
        return false;
    m_pDocument->SetPathName(fullPath, true);
    return true;
}

void CBankwiseApp::OnFileNew()
{
    if (m_pDocument->SaveModified())
        m_pDocument->OnNewDocument();
}

void CBankwiseApp::OnFileOpen()
{
    CFileRequest request = m_pTemplate->MakeFileRequest(false);
    request.startDir = m_pDocument->GetCurrentDir();
    const QString path = m_prompt.FileName(MainWindow(), request);
    if (path.isEmpty())
        return;
    m_pDocument->SetCurrentDir(QFileInfo(path).absolutePath());
    OpenDocumentFile(path);
}

void CBankwiseApp::OnOpenRecentFile(int index)
{
    if (index < 0 || index >= m_recentFiles.size())
        return;
    const QString path = m_recentFiles.at(index);
    // A file that is gone leaves the list; one the user chose not to open
    // (a cancelled query or options box) stays on it.
    if (!OpenDocumentFile(path) && !QFileInfo::exists(path)) {
        m_recentFiles.removeAll(path);
        SaveRecentFiles();
    }
}

void CBankwiseApp::AddToRecentFileList(const QString& pathName)
{
    std::vector<std::string> list;
    for (const QString& path : m_recentFiles)
        list.push_back(QFile::encodeName(path).toStdString());
    AddRecentFile(list, QFile::encodeName(pathName).toStdString());
    m_recentFiles.clear();
    for (const std::string& path : list)
        m_recentFiles.append(QFile::decodeName(QByteArray::fromStdString(path)));
    SaveRecentFiles();
}

void CBankwiseApp::LoadRecentFiles()
{
    m_recentFiles.clear();
    for (int i = 0; i < kMaxRecentFiles; ++i) {
        const std::string entry = m_profile.GetProfileString(kRecentSection, RecentEntry(i), "");
        if (!entry.empty())
            m_recentFiles.append(QFile::decodeName(QByteArray::fromStdString(entry)));
    }
    emit RecentFilesChanged();
}

void CBankwiseApp::SaveRecentFiles()
{
    // Stored at every change, so a second window or a crash loses nothing.
    for (int i = 0; i < kMaxRecentFiles; ++i) {
        const QString path = i < m_recentFiles.size() ? m_recentFiles.at(i) : QString();
        m_profile.WriteProfileString(kRecentSection, RecentEntry(i),
                                     QFile::encodeName(path).toStdString());
    }
    emit RecentFilesChanged();
}

bool CBankwiseApp::Print(QPrinter& printer, const QString& target)
{
    printer.setDocName(m_pDocument->GetTitle());
    // Without a print system Qt falls back to a PDF printer with no file.
    const bool toFile =
        printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty();
    if (!toFile && QPrinterInfo::availablePrinters().isEmpty()) {
        m_prompt.Message(MainWindow(), EBox::Warning, LoadQString(IDS_SHELL_NO_PRINTER));
        return false;
    }
    m_pDocument->GetView()->PrintTo(printer);
    // A PDF file that cannot be created, or a print job the system refused.
    if (printer.printerState() == QPrinter::Error) {
        m_prompt.Message(MainWindow(), EBox::Warning, Format(IDS_SHELL_PRINT_FAILED, target));
        return false;
    }
    return true;
}

void CBankwiseApp::OnFilePrint()
{
    QPrinter& printer = Printer();
    QPrintDialog dialog(&printer, MainWindow());
    if (m_prompt.Exec(dialog) != QDialog::Accepted)
        return;
    Print(printer, printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName()
                                                                 : printer.printerName());
}

bool CBankwiseApp::OnFilePrintDirect(const QString& printerName)
{
    if (printerName.isEmpty()) {
        QPrinter& printer = Printer();
        return Print(printer, printer.printerName());
    }
    if (printerName.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) {
        QPrinter pdf(QPrinter::HighResolution);
        pdf.setOutputFormat(QPrinter::PdfFormat);
        pdf.setOutputFileName(printerName);
        return Print(pdf, QDir::toNativeSeparators(printerName));
    }
    if (QPrinterInfo::printerInfo(printerName).isNull()) {
        m_prompt.Message(MainWindow(), EBox::Warning,
                         Format(IDS_SHELL_NO_SUCH_PRINTER, printerName));
        return false;
    }
    QPrinter& printer = Printer();
    printer.setPrinterName(printerName);
    return Print(printer, printerName);
}

void CBankwiseApp::OnFilePrintPreview()
{
    QPrintPreviewDialog preview(&Printer(), MainWindow());
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* printer) { m_pDocument->GetView()->PrintTo(*printer); });
    m_prompt.Exec(preview);
}

void CBankwiseApp::OnFilePrintSetup()
{
    QPageSetupDialog dialog(&Printer(), MainWindow());
    m_prompt.Exec(dialog);
}

void CBankwiseApp::OnAppAbout()
{
    CAboutDialog dlg(MainWindow());
    m_prompt.Exec(dlg);
}

std::unique_ptr<IProfile> OpenUserProfile(IPrompt& prompt)
{
    if (const auto warning = CheckSettingsFiles(UserSettingsFiles())) {
        prompt.Message(nullptr, EBox::Warning, QString::fromLocal8Bit(warning->c_str()));
        return std::make_unique<CMemoryProfile>();
    }
    return std::make_unique<CSettingsProfile>();
}

}  // namespace bankwise
