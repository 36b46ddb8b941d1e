#include "BankwiseApp.h"

#include <QAction>
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

#include <cstdint>
#include <cstdio>

#include "AboutDialog.h"
#include "BankwiseView.h"
#include "MainFrame.h"
#include "OptionsDialog.h"
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

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

QString Format(std::uint32_t id, const QString& argument)
{
    return QString::fromLocal8Bit(
        SafeFormat(LoadString(id), {FormatArg::Text(argument.toLocal8Bit().toStdString())}));
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

    m_pMainFrame = std::make_unique<CMainFrame>(m_profile);
    const auto command = [this](std::uint32_t id, void (CBankwiseApp::*handler)()) {
        connect(m_pMainFrame->Action(id), &QAction::triggered, this, handler);
    };
    command(ID_FILE_PRINT, &CBankwiseApp::OnFilePrint);
    command(ID_FILE_PRINT_PREVIEW, &CBankwiseApp::OnFilePrintPreview);
    command(ID_FILE_PRINT_SETUP, &CBankwiseApp::OnFilePrintSetup);
    command(ID_APP_ABOUT, &CBankwiseApp::OnAppAbout);
    // Shows the wait cursor while the document detects, reads and writes.
    const auto busy = [](bool bBusy) {
        if (bBusy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    };
    m_pDocument = std::make_unique<CDocument>(m_profile, *this, *m_pMainFrame->GetView(),
                                              *m_pMainFrame, busy, ToDocText(QDir::currentPath()));
    m_pMainFrame->SetDocument(*m_pDocument);
    m_pDocument->LoadRecentFiles();
    m_pMainFrame->OnTitleChanged();

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
        const std::string problem =
            files.size() > 1 ? SafeFormat(LoadString(IDS_SHELL_USAGE_ONE_FILE),
                                          {FormatArg::Int(static_cast<long long>(files.size()))})
                             : LoadString(IDS_SHELL_USAGE_PRINT);
        std::fprintf(stderr, "%s\n%s", problem.c_str(), qPrintable(parser.helpText()));
        return kExitUsage;
    }
    commandLine.file = files.isEmpty() ? QString() : files.constFirst();
    return kRunEventLoop;
}

bool CBankwiseApp::OpenDocumentFile(const QString& pathName)
{
    return m_pDocument->OpenDocumentFile(ToDocText(pathName));
}

EAnswer CBankwiseApp::Message(EBox box, const std::string& text)
{
    return m_prompt.Message(MainWindow(), box, FromDocText(text));
}

std::string CBankwiseApp::FileName(CFileRequest& request)
{
    return ToDocText(m_prompt.FileName(MainWindow(), request));
}

bool CBankwiseApp::RunOptionsDialog(const CDumpExtractor& e)
{
    COptionsDialog dlg(m_profile, e.m_nNameID, e.m_pszBankFormat, e.m_pszInstrFormat, MainWindow());
    return m_prompt.Exec(dlg) == QDialog::Accepted;
}

bool CBankwiseApp::Print(QPrinter& printer, const QString& target)
{
    printer.setDocName(FromDocText(m_pDocument->GetTitle()));
    // Without a print system Qt falls back to a PDF printer with no file.
    const bool toFile =
        printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty();
    if (!toFile && QPrinterInfo::availablePrinters().isEmpty()) {
        m_prompt.Message(MainWindow(), EBox::Warning, LoadQString(IDS_SHELL_NO_PRINTER));
        return false;
    }
    m_pMainFrame->GetView()->PrintTo(printer);
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
    if (printerName.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) {
        QPrinter pdf(QPrinter::HighResolution);
        pdf.setOutputFormat(QPrinter::PdfFormat);
        pdf.setOutputFileName(printerName);
        return Print(pdf, QDir::toNativeSeparators(printerName));
    }
    if (!printerName.isEmpty() && QPrinterInfo::printerInfo(printerName).isNull()) {
        m_prompt.Message(MainWindow(), EBox::Warning,
                         Format(IDS_SHELL_NO_SUCH_PRINTER, printerName));
        return false;
    }
    QPrinter& printer = Printer();
    if (!printerName.isEmpty())
        printer.setPrinterName(printerName);
    return Print(printer, printer.printerName());
}

void CBankwiseApp::OnFilePrintPreview()
{
    QPrintPreviewDialog preview(&Printer(), MainWindow());
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* printer) { m_pMainFrame->GetView()->PrintTo(*printer); });
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
