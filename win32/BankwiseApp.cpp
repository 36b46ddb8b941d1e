#include "BankwiseApp.h"

#include "AboutDialog.h"
#include "CommandLine.h"
#include "Desktop.h"
#include "DocumentRules.h"
#include "Families.h"
#include "OptionsDialog.h"
#include "OptionsModel.h"
#include "Registration.h"
#include "SafeFormat.h"
#include "StringTable.h"
#include "Texts.h"
#include "resource.h"

namespace bankwise {

namespace {

// The link texts by the codes of ShellExecute and WinExec.
unsigned LinkErrorId(int code)
{
    switch (code) {
    case 0:
        return IDS_LINK_OUT_OF_RESOURCES;
    case 2:
        return IDS_LINK_FILE_NOT_FOUND;
    case 3:
        return IDS_LINK_PATH_NOT_FOUND;
    case 5:
        return IDS_LINK_ACCESS_DENIED;
    case 8:
        return IDS_LINK_OUT_OF_MEMORY;
    case 11:
        return IDS_LINK_BAD_PROGRAM;
    case 26:
        return IDS_LINK_SHARING_VIOLATION;
    case 27:
        return IDS_LINK_ASSOC_INCOMPLETE;
    case 28:
        return IDS_LINK_DDE_TIMEOUT;
    case 29:
        return IDS_LINK_DDE_FAILED;
    case 30:
        return IDS_LINK_DDE_BUSY;
    case 31:
        return IDS_LINK_NO_ASSOCIATION;
    case 32:
        return IDS_LINK_LIBRARY_NOT_FOUND;
    default:
        return 0;
    }
}

// A line on the standard error the program was given, or on the console
// it was started from; false when it has neither, as when started from
// Explorer.
bool WriteToConsole(const std::wstring& text)
{
    HANDLE out = GetStdHandle(STD_ERROR_HANDLE);
    const bool given =
        out != nullptr && out != INVALID_HANDLE_VALUE && GetFileType(out) != FILE_TYPE_UNKNOWN;
    const bool attached = !given && AttachConsole(ATTACH_PARENT_PROCESS) != 0;
    if (attached)
        out = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, 0, nullptr);
    bool written = false;
    if (given || (attached && out != INVALID_HANDLE_VALUE)) {
        DWORD count = 0;
        const std::wstring line = text + L"\r\n";
        written =
            GetFileType(out) == FILE_TYPE_CHAR &&
            WriteConsoleW(out, line.c_str(), static_cast<DWORD>(line.size()), &count, nullptr) != 0;
        if (!written) {
            // A file or a pipe: the same bytes the Linux program writes.
            const std::string bytes = Narrow(text) + "\n";
            written = WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &count,
                                nullptr) != 0;
        }
    }
    if (attached) {
        if (out != INVALID_HANDLE_VALUE)
            CloseHandle(out);
        FreeConsole();
    }
    return written;
}

void ShowBusy(bool busy)
{
    SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

// The folder the file dialogs start in until a remembered one replaces it.
std::string CurrentFolder()
{
    std::wstring folder(MAX_PATH, L'\0');
    DWORD got = GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data());
    if (got >= folder.size()) {
        folder.resize(got);
        got = GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data());
    }
    folder.resize(got < folder.size() ? got : 0);
    return Narrow(folder);
}

}  // namespace

CBankwiseApp::CBankwiseApp(HINSTANCE instance, std::wstring keyPath, IPrompt* prompt)
    : m_hInstance(instance),
      m_pOwnPrompt(prompt == nullptr ? std::make_unique<CWinPrompt>() : nullptr),
      m_pPrompt(prompt == nullptr ? m_pOwnPrompt.get() : prompt),
      // An unusable stored value gets its default and one box.
      m_profile(keyPath, [this](const std::string& warning) { Warn(Widen(warning)); }),
      m_pFrame(std::make_unique<CMainFrame>(*this)),
      m_document(m_profile, *this, m_pFrame->View(), *m_pFrame, ShowBusy, CurrentFolder())
{
    m_pFrame->SetDocument(m_document);
}

CBankwiseApp::~CBankwiseApp() = default;

bool CBankwiseApp::InitInstance(const std::vector<std::wstring>& args, int showCommand)
{
    const CCommandLine line = ParseCommandLine(args);
    using EAction = CCommandLine::EAction;
    if (line.action == EAction::Register || line.action == EAction::Unregister) {
        // Asked for on the command line only, and done without a window.
        const bool registering = line.action == EAction::Register;
        HKEY classes = OpenUserClasses();
        const LONG result = classes == nullptr ? ERROR_ACCESS_DENIED
                            : registering      ? RegisterFileType(classes, ProgramPath())
                                               : UnregisterFileType(classes);
        if (classes != nullptr)
            RegCloseKey(classes);
        if (result != ERROR_SUCCESS) {
            Warn(Widen(SafeFormat(
                LoadString(registering ? IDS_WIN_REGISTER_FAILED : IDS_WIN_UNREGISTER_FAILED),
                {FormatArg::Int(result)})));
        }
        m_nExitCode = result == ERROR_SUCCESS ? 0 : 1;
        return false;
    }
    if (line.tooManyFiles > 0 || line.missingArgument) {
        const std::wstring problem =
            line.tooManyFiles > 0
                ? Widen(SafeFormat(LoadString(IDS_SHELL_USAGE_ONE_FILE),
                                   {FormatArg::Int(static_cast<long long>(line.tooManyFiles))}))
                : Text(IDS_WIN_USAGE_PRINT);
        if (!WriteToConsole(problem))
            Warn(problem);
        m_nExitCode = 2;
        return false;
    }

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    if (!m_pFrame->Create(m_hInstance)) {
        m_nExitCode = 1;
        return false;
    }
    m_document.LoadRecentFiles();
    m_pFrame->OnTitleChanged();
    if (line.file.empty()) {
        m_document.OnNewDocument();
    } else {
        // The stored folders are read here too, or the close would store
        // the folders of a run that never read them.
        m_document.LoadRememberedDirs();
        // A file that does not open ends the program, as the shell's
        // open and print verbs expect.
        if (!OpenDocumentFile(line.file)) {
            m_nExitCode = 1;
            return false;
        }
        if (line.action == EAction::Print || line.action == EAction::PrintTo) {
            EPrintResult result = EPrintResult::Failed;
            if (line.action == EAction::Print) {
                result = OnFilePrint(false);
            } else {
                result = m_printer.PrintTo(line.printer, Widen(m_document.GetTitle()),
                                           View().Codec().ToWide(View().GetText()));
                ReportPrint(result, line.printer);
            }
            m_nExitCode = result == EPrintResult::Printed ? 0 : 1;
            return false;
        }
    }
    RestoreWindowPlace(showCommand);
    UpdateWindow(m_pFrame->GetSafeHwnd());
    return true;
}

void CBankwiseApp::RestoreWindowPlace(int showCommand)
{
    HWND hWnd = m_pFrame->GetSafeHwnd();
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(hWnd, &placement);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    // Wide enough for a bank's lines in the view's font.
    const int minWidth = MulDiv(640, static_cast<int>(DpiOfWindow(hWnd)), USER_DEFAULT_SCREEN_DPI);
    const CWindowPlace place = PlaceMainWindow(
        m_profile, {work.left, work.top, work.right - work.left, work.bottom - work.top}, minWidth);
    placement.rcNormalPosition = {place.x, place.y, place.x + place.width, place.y + place.height};
    placement.showCmd = static_cast<UINT>(place.maximized && (showCommand == SW_SHOWNORMAL ||
                                                              showCommand == SW_SHOWDEFAULT ||
                                                              showCommand == SW_SHOW)
                                              ? SW_SHOWMAXIMIZED
                                              : showCommand);
    SetWindowPlacement(hWnd, &placement);
}

void CBankwiseApp::SaveWindowPlace()
{
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(m_pFrame->GetSafeHwnd(), &placement))
        return;
    const RECT& r = placement.rcNormalPosition;
    const bool maximized =
        placement.showCmd == SW_SHOWMAXIMIZED || (placement.flags & WPF_RESTORETOMAXIMIZED) != 0;
    StoreWindowPlace(m_profile, {r.left, r.top, r.right - r.left, r.bottom - r.top, maximized});
}

bool CBankwiseApp::Dispatch(MSG& msg)
{
    if (msg.message == WM_QUIT)
        return false;
    if (!m_pFrame->PreTranslateMessage(msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

int CBankwiseApp::Run()
{
    MSG msg{};
    for (;;) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!Dispatch(msg))
                return static_cast<int>(msg.wParam);
        }
        if (m_pFrame->GetSafeHwnd() != nullptr)
            m_pFrame->OnIdle();
        if (GetMessageW(&msg, nullptr, 0, 0) <= 0)
            return static_cast<int>(msg.wParam);
        if (!Dispatch(msg))
            return static_cast<int>(msg.wParam);
    }
}

void CBankwiseApp::PumpMessages()
{
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        Dispatch(msg);
    if (m_pFrame->GetSafeHwnd() != nullptr)
        m_pFrame->OnIdle();
}

void CBankwiseApp::Warn(const std::wstring& text)
{
    m_pPrompt->Message(m_pFrame ? m_pFrame->GetSafeHwnd() : nullptr, EBox::Warning, text);
}

void CBankwiseApp::OnCommand(unsigned id)
{
    if (id >= ID_FILE_MRU_FILE1 && id < ID_FILE_MRU_FILE1 + kRecentFileCount) {
        m_document.OnOpenRecentFile(id - ID_FILE_MRU_FILE1);
        return;
    }
    switch (id) {
    case ID_FILE_NEW:
        m_document.OnFileNew();
        return;
    case ID_FILE_OPEN:
        m_document.OnFileOpen();
        return;
    case ID_FILE_SAVE:
        m_document.OnFileSave();
        return;
    case ID_FILE_SAVE_AS:
        m_document.OnFileSaveAs();
        return;
    case ID_FILE_EXPORT:
        m_document.OnFileExport();
        return;
    case ID_VIEW_OPTIONS:
        m_document.OnViewOptions();
        return;
    case ID_APP_ABOUT:
        OnAppAbout();
        return;
    case ID_FILE_PRINT:
        OnFilePrint(true);
        return;
    case ID_FILE_PRINT_PREVIEW:
        OnFilePrintPreview();
        return;
    case ID_FILE_PRINT_SETUP:
        m_printer.Setup(m_pFrame->GetSafeHwnd());
        return;
    default:
        return;
    }
}

bool CBankwiseApp::IsCommandEnabled(unsigned id) const
{
    if (id >= ID_FILE_MRU_FILE1 && id < ID_FILE_MRU_FILE1 + kRecentFileCount)
        return id - ID_FILE_MRU_FILE1 < m_document.GetRecentFiles().size();
    switch (id) {
    case ID_FILE_NEW:
    case ID_FILE_OPEN:
    case ID_FILE_SAVE:
    case ID_FILE_SAVE_AS:
    case ID_APP_ABOUT:
    case ID_FILE_PRINT:
    case ID_FILE_PRINT_PREVIEW:
    case ID_FILE_PRINT_SETUP:
        return true;
    case ID_VIEW_OPTIONS:
    case ID_FILE_EXPORT:
        return m_document.HasExtractor();
    default:
        return false;
    }
}

bool CBankwiseApp::OpenDocumentFile(const std::wstring& path)
{
    return m_document.OpenDocumentFile(Narrow(path));
}

std::vector<std::wstring> CBankwiseApp::RecentFiles() const
{
    std::vector<std::wstring> files;
    for (const std::string& file : m_document.GetRecentFiles())
        files.push_back(Widen(file));
    return files;
}

void CBankwiseApp::OnDropFiles(const std::vector<std::wstring>& files)
{
    // One after another as if each were chosen with File > Open; the last stays open.
    for (const std::wstring& file : files)
        OpenDocumentFile(file);
}

void CBankwiseApp::OnViewChanged()
{
    // The edit control's mark is the user's change; setting the text clears it.
    if (View().IsModified())
        m_document.SetModifiedFlag(true);
}

bool CBankwiseApp::CanCloseFrame()
{
    if (!m_document.CanCloseFrame())
        return false;
    SaveWindowPlace();
    return true;
}

EAnswer CBankwiseApp::Message(EBox box, const std::string& text)
{
    return m_pPrompt->Message(m_pFrame->GetSafeHwnd(), box, Widen(text));
}

std::string CBankwiseApp::FileName(CFileRequest& request)
{
    return Narrow(m_pPrompt->FileName(m_pFrame->GetSafeHwnd(), request));
}

bool CBankwiseApp::RunOptionsDialog(const CDumpExtractor& extractor)
{
    CExtractorOptions model(m_profile, extractor);
    COptionsDialog dialog(model, View().Codec());
    return dialog.DoModal(m_hInstance, m_pFrame->GetSafeHwnd()) == IDOK;
}

void CBankwiseApp::OnAppAbout()
{
    CAboutDialog dialog([this](const std::wstring& target) { return OpenLink(target); },
                        [this](HWND owner) { m_pPrompt->Information(owner, InformationText()); });
    dialog.DoModal(m_hInstance, m_pFrame->GetSafeHwnd());
}

bool CBankwiseApp::OpenLink(const std::wstring& target)
{
    int code = ShellOpen(target);
    if (code > 32)
        return true;
    // The web-page command registered for .htm, with the target in place of its "%1".
    if (const auto type = ReadClassDefault(L".htm"); type && !type->empty()) {
        if (const auto command = ReadClassDefault(*type + L"\\shell\\open\\command")) {
            code = RunCommandLine(CutPlaceholder(*command) + L" " + target);
            if (code > 31)
                return true;
        }
    }
    MessageBeep(MB_ICONEXCLAMATION);
    const unsigned id = LinkErrorId(code);
    const std::string reason =
        id != 0 ? LoadString(id)
                : SafeFormat(LoadString(IDS_LINK_UNKNOWN_ERROR), {FormatArg::Int(code)});
    Warn(Widen(LoadString(IDS_LINK_OPEN_FAILED) + reason));
    return false;
}

std::wstring CBankwiseApp::InformationText() const
{
    return ProgramInformation();
}

EPrintResult CBankwiseApp::OnFilePrint(bool showDialog)
{
    CBankwiseView& view = m_pFrame->View();
    const std::wstring text = view.Codec().ToWide(view.GetText());
    const EPrintResult result =
        m_printer.Print(m_pFrame->GetSafeHwnd(), Widen(m_document.GetTitle()), text, showDialog);
    ReportPrint(result, {});
    return result;
}

void CBankwiseApp::ReportPrint(EPrintResult result, const std::wstring& printer)
{
    switch (result) {
    case EPrintResult::NoPrinter:
        Warn(Text(IDS_SHELL_NO_PRINTER));
        break;
    case EPrintResult::NoSuchPrinter:
        Warn(Widen(
            SafeFormat(LoadString(IDS_SHELL_NO_SUCH_PRINTER), {FormatArg::Text(Narrow(printer))})));
        break;
    case EPrintResult::Failed:
        Warn(Widen(
            SafeFormat(LoadString(IDS_SHELL_PRINT_FAILED), {FormatArg::Text(Narrow(printer))})));
        break;
    case EPrintResult::Printed:
    case EPrintResult::Cancelled:
        break;
    }
}

void CBankwiseApp::OnFilePrintPreview()
{
    CBankwiseView& view = m_pFrame->View();
    const std::wstring text = view.Codec().ToWide(view.GetText());
    const CPageSetup setup = m_printer.PageSetupForPreview();
    HDC screen = GetDC(nullptr);
    std::vector<Page> pages = LayoutPages(screen, setup, text);
    ReleaseDC(nullptr, screen);
    CPrintPreview preview(setup, std::move(pages));
    if (preview.Run(m_hInstance, m_pFrame->GetSafeHwnd()))
        OnFilePrint(true);
}

}  // namespace bankwise
