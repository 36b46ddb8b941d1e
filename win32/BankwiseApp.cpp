#include "BankwiseApp.h"

#include "AboutDialog.h"
#include "CommandLine.h"
#include "Desktop.h"
#include "Families.h"
#include "Registration.h"
#include "SafeFormat.h"
#include "StringTable.h"
#include "Texts.h"
#include "resource.h"

namespace bankwise {

CBankwiseApp::CBankwiseApp(HINSTANCE instance)
    : m_hInstance(instance), m_pFrame(std::make_unique<CMainFrame>(*this))
{}

CBankwiseApp::~CBankwiseApp() = default;

namespace {

// The libraries whose versions the information box lists: the C run-time
// and the common controls this program draws with (the C++ run-time is
// linked into the program itself).
constexpr const wchar_t* kLibraries[] = {L"MSVCRT.DLL", L"COMCTL32.DLL"};

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

std::string VersionLine(unsigned id, const std::string& name, const FileVersionNumbers& v)
{
    std::vector<FormatArg> args;
    if (!name.empty())
        args.push_back(FormatArg::Text(name));
    for (const std::uint16_t n : v)
        args.push_back(FormatArg::Int(n));
    return SafeFormat(LoadString(id), args);
}

}  // namespace

bool CBankwiseApp::InitInstance(const std::vector<std::wstring>& args, int showCommand)
{
    const CCommandLine line = ParseCommandLine(args);
    if (line.action == CCommandLine::EAction::Register ||
        line.action == CCommandLine::EAction::Unregister) {
        // Asked for on the command line only, and done without a window.
        const bool registering = line.action == CCommandLine::EAction::Register;
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

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    if (!m_pFrame->Create(m_hInstance)) {
        m_nExitCode = 1;
        return false;
    }
    m_pFrame->SetTitle(Text(IDS_SHELL_UNTITLED));
    ShowWindow(m_pFrame->GetSafeHwnd(), showCommand);
    UpdateWindow(m_pFrame->GetSafeHwnd());
    return true;
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

void CBankwiseApp::Warn(const std::wstring& text, UINT icon)
{
    HWND owner = m_pFrame->GetSafeHwnd();
    MessageBoxW(owner, text.c_str(), Text(AFX_IDS_APP_TITLE).c_str(), MB_OK | icon);
}

void CBankwiseApp::OnCommand(unsigned id)
{
    switch (id) {
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

void CBankwiseApp::OnAppAbout()
{
    CAboutDialog dialog([this](const std::wstring& target) { return OpenLink(target); },
                        [this](HWND) { Warn(InformationText(), MB_ICONINFORMATION); });
    dialog.DoModal(m_hInstance, m_pFrame->GetSafeHwnd());
}

bool CBankwiseApp::OpenLink(const std::wstring& target)
{
    const int code = ShellOpen(target);
    if (code > 32)
        return true;
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
    const std::optional<FileVersionNumbers> own = ReadFileVersion(ProgramPath());
    const std::string program = own ? VersionLine(IDS_INFO_PROGRAM_VERSION, {}, *own)
                                    : LoadString(IDS_INFO_PROGRAM_UNKNOWN);
    std::string libraries;
    for (const wchar_t* name : kLibraries) {
        const std::string narrow = Narrow(name);
        const std::optional<std::wstring> path = LoadedLibraryPath(name);
        const std::optional<FileVersionNumbers> version =
            path ? ReadFileVersion(*path) : std::nullopt;
        libraries +=
            !path     ? SafeFormat(LoadString(IDS_INFO_LIBRARY_MISSING), {FormatArg::Text(narrow)})
            : version ? VersionLine(IDS_INFO_LIBRARY_VERSION, narrow, *version)
                      : SafeFormat(LoadString(IDS_INFO_LIBRARY_UNKNOWN), {FormatArg::Text(narrow)});
    }
    const std::string text = SafeFormat(
        LoadString(IDS_PROGRAM_INFO),
        {FormatArg::Text(FamilyNameLines()), FormatArg::Text(program), FormatArg::Text(libraries)});
    // A message box breaks lines at "\r\n" as well as at "\n"; keep the table's.
    return Widen(text);
}

void CBankwiseApp::OnFilePrint(bool showDialog)
{
    CBankwiseView& view = m_pFrame->View();
    const std::wstring text = view.Codec().ToWide(view.GetText());
    ReportPrint(m_printer.Print(m_pFrame->GetSafeHwnd(), Text(AFX_IDS_APP_TITLE), text, showDialog),
                {});
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

bool CBankwiseApp::IsCommandEnabled(unsigned id) const
{
    switch (id) {
    case ID_APP_ABOUT:
    case ID_FILE_PRINT:
    case ID_FILE_PRINT_PREVIEW:
    case ID_FILE_PRINT_SETUP:
        return true;
    default:
        // The document's commands come with the document layer.
        return false;
    }
}

std::vector<std::wstring> CBankwiseApp::RecentFiles() const
{
    return {};
}

void CBankwiseApp::OnDropFiles(const std::vector<std::wstring>& /*files*/) {}

bool CBankwiseApp::CanCloseFrame()
{
    return true;
}

}  // namespace bankwise
