// The Windows program driven in-process under wine (or Windows): real
// windows, commands sent as WM_COMMAND, controls read back with their
// messages. Modal dialogs are answered from a thread timer, which their own
// message loops dispatch. Exit code: the number of failed checks.
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "AboutDialog.h"
#include "BankwiseApp.h"
#include "Fs1rExtractor.h"
#include "OptionsDialog.h"
#include "OptionsModel.h"
#include "Printing.h"
#include "Registration.h"
#include "StringTable.h"
#include "Texts.h"
#include "resource.h"

namespace bankwise {
namespace {

int g_failures = 0;

void Check(bool ok, const char* what)
{
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what);
    if (!ok)
        ++g_failures;
}

std::wstring WindowText(HWND hWnd)
{
    wchar_t text[1024] = {};
    SendMessageW(hWnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    return text;
}

// Runs step once the next modal loop is under way.
std::function<void()> g_step;
void CALLBACK RunStep(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    auto step = std::move(g_step);
    if (step)
        step();
}
void WhenModal(std::function<void()> step)
{
    g_step = std::move(step);
    SetTimer(nullptr, 0, 50, RunStep);
}

void TestFrame(CBankwiseApp& app)
{
    CMainFrame& frame = app.Frame();
    HWND hWnd = frame.GetSafeHwnd();
    Check(WindowText(hWnd) == L"Untitled - Bankwise", "title of an empty document");
    Check(frame.GetPaneText(0) == L"Ready", "idle text in the first pane");
    Check(SendMessageW(frame.ToolBar(), TB_BUTTONCOUNT, 0, 0) == 10, "ten tool-bar entries");

    // The menu's commands are the ones the C++ side handles.
    HMENU menu = GetMenu(hWnd);
    const std::vector<std::vector<UINT>> items = {
        {ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS, 0, ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW,
         ID_FILE_PRINT_SETUP, 0, ID_FILE_MRU_FILE1, 0, ID_APP_EXIT},
        {ID_EDIT_UNDO, 0, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE},
        {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, 0, ID_VIEW_OPTIONS},
        {ID_APP_ABOUT}};
    bool same = GetMenuItemCount(menu) == 4;
    for (int m = 0; same && m < 4; ++m) {
        HMENU popup = GetSubMenu(menu, m);
        same = GetMenuItemCount(popup) == static_cast<int>(items[m].size());
        for (int i = 0; same && i < GetMenuItemCount(popup); ++i)
            same = GetMenuItemID(popup, i) == items[m][i];
    }
    Check(same, "menu items and their commands");

    // Every byte the converter may write comes back from the edit control.
    std::string bytes = "Patch Names\r\n";
    // Lines of 32, as names are short: wine's edit control faults on
    // wrapping one very long line without spaces.
    for (int b = 0x20; b < 0x100; ++b) {
        bytes.push_back(static_cast<char>(b));
        if (b % 32 == 31)
            bytes += "\r\n";
    }
    frame.View().SetText(bytes);
    Check(frame.View().GetText() == bytes, "bytes 0x20-0xFF round-trip through the view");
    Check(!frame.View().IsModified(), "a loaded text is not marked as changed");
    SendMessageW(frame.View().GetSafeHwnd(), WM_CHAR, L'x', 0);
    Check(frame.View().IsModified(), "a typed key marks the text");

    // The status bar follows the menu under the pointer.
    SendMessageW(hWnd, WM_MENUSELECT, MAKEWPARAM(ID_FILE_OPEN, MF_STRING),
                 reinterpret_cast<LPARAM>(GetSubMenu(menu, 0)));
    Check(frame.GetPaneText(0) == L"Open an existing document", "command prompt");
    SendMessageW(hWnd, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    Check(frame.GetPaneText(0) == L"Ready", "idle text after the menu closed");

    SendMessageW(hWnd, WM_COMMAND, ID_VIEW_TOOLBAR, 0);
    Check(!IsWindowVisible(frame.ToolBar()), "View > Toolbar hides the tool bar");
    SendMessageW(hWnd, WM_COMMAND, ID_VIEW_TOOLBAR, 0);
    Check(IsWindowVisible(frame.ToolBar()) != 0, "and shows it again");
}

void TestAbout(CBankwiseApp& app)
{
    std::wstring caption;
    std::wstring mail;
    std::wstring web;
    WhenModal([&] {
        HWND dialog = GetActiveWindow();
        caption = WindowText(dialog);
        mail = WindowText(GetDlgItem(dialog, IDC_MAIL_LINK));
        web = WindowText(GetDlgItem(dialog, IDC_WEB_LINK));
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    SendMessageW(app.Frame().GetSafeHwnd(), WM_COMMAND, ID_APP_ABOUT, 0);
    Check(caption == L"About Bankwise", "Help > About opens \"About Bankwise\"");
    Check(mail == L"Email: bankwise@example.org" && web == L"Web: https://example.org/",
          "link label texts");
    const std::wstring info = app.InformationText();
    Check(info.find(L"BANKWISE.EXE: 1.0.0.0\n") != std::wstring::npos,
          "information box: the program's version from its version resource");
    Check(info.find(L"COMCTL32.DLL: ") != std::wstring::npos, "information box: libraries");
}

void TestPrint(CBankwiseApp& app)
{
    std::string text;
    for (int i = 0; i < 150; ++i)
        text += "0=Patch " + std::to_string(i) + "\r\n";
    app.Frame().View().SetText(text);
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"bankwise-selftest.emf";
    CPrinter& printer = app.Printer();
    const EPrintResult result =
        printer.PrintTo(path, L"test", app.Frame().View().Codec().ToWide(text));
    Check(result == EPrintResult::Printed, "printing to metafiles");
    Check(printer.LastPages().size() > 1 && printer.LastPages()[0][0] == L"0=Patch 0",
          "150 lines make more than one page, starting with the first line");
    const std::wstring second = std::wstring(folder) + L"bankwise-selftest-2.emf";
    Check(GetFileAttributesW(second.c_str()) != INVALID_FILE_ATTRIBUTES, "one file per page");
    DeleteFileW(path.c_str());
    DeleteFileW(second.c_str());
}

// Stands in for the document layer's options model.
class CFakeOptions final : public IOptionsModel
{
public:
    std::string FamilyName() const override { return "Yamaha FS1R"; }
    COptionsFields Initial() const override
    {
        return {"Yamaha FS1R", "FS1R Internal", "I%03d ", true};
    }
    std::pair<std::string, bool> Preview(const COptionsFields& f) const override
    {
        return {"[" + f.bankFormat + "]\n[" + f.definition + "]",
                !f.definition.empty() && !f.bankFormat.empty()};
    }
    void Store(const COptionsFields& f) override { stored.push_back(f); }
    std::vector<COptionsFields> stored;
};

void Type(HWND field, const wchar_t* text)
{
    for (const wchar_t* c = text; *c != 0; ++c)
        SendMessageW(field, WM_CHAR, *c, 0);
}

void TestOptionsDialog(CBankwiseApp& app)
{
    CFakeOptions model;
    COptionsDialog dialog(model, app.Frame().View().Codec());
    std::wstring caption;
    std::wstring preview;
    bool okWhenEmpty = true;
    WhenModal([&] {
        HWND box = GetActiveWindow();
        caption = WindowText(box);
        HWND definition = GetDlgItem(box, IDC_DEFINITION);
        SendMessageW(definition, EM_SETSEL, 0, -1);
        SendMessageW(definition, WM_CLEAR, 0, 0);
        okWhenEmpty = IsWindowEnabled(GetDlgItem(box, IDOK)) != 0;
        Type(definition, L"My FS1R");
        preview = WindowText(GetDlgItem(box, IDC_PREVIEW));
        // Enter in a field is the default button, through the dialog's own loop.
        PostMessageW(definition, WM_KEYDOWN, VK_RETURN, 0);
    });
    const INT_PTR result = dialog.DoModal(app.Instance(), app.Frame().GetSafeHwnd());
    Check(caption == L"Instrument file options for Yamaha FS1R", "options caption");
    Check(!okWhenEmpty, "OK is disabled while the definition name is empty");
    Check(preview == L"[FS1R Internal]\r\n[My FS1R]", "the preview follows each typed key");
    Check(result == IDOK && model.stored.size() == 1 && model.stored[0].definition == "My FS1R",
          "Enter is OK and stores the typed name");
    WhenModal([&] { PostMessageW(GetActiveWindow(), WM_COMMAND, IDCANCEL, 0); });
    Check(dialog.DoModal(app.Instance(), app.Frame().GetSafeHwnd()) == IDCANCEL &&
              model.stored.size() == 1,
          "Cancel stores nothing");
}

// The dialog over the document layer's model: what the user types reaches
// the profile on OK.
void TestOptionsStored(CBankwiseApp& app)
{
    CMemoryProfile profile;
    CFs1rExtractor fs1r;
    CExtractorOptions model(profile, fs1r);
    COptionsDialog dialog(model, app.Frame().View().Codec());
    std::wstring before;
    std::wstring after;
    WhenModal([&] {
        HWND box = GetActiveWindow();
        before = WindowText(GetDlgItem(box, IDC_PREVIEW));
        HWND definition = GetDlgItem(box, IDC_DEFINITION);
        SendMessageW(definition, EM_SETSEL, 0, -1);
        Type(definition, L"Rack");
        after = WindowText(GetDlgItem(box, IDC_PREVIEW));
        PostMessageW(definition, WM_KEYDOWN, VK_RETURN, 0);
    });
    dialog.DoModal(app.Instance(), app.Frame().GetSafeHwnd());
    Check(before.find(L"[FS1R Internal]\r\n0=I001 XXX\r\n1=I002 YYY") != std::wstring::npos &&
              before.find(L"[Yamaha FS1R]\r\nPatch[64]=FS1R Internal") != std::wstring::npos,
          "the FS1R defaults' preview");
    Check(after.find(L"[Rack]\r\nPatch[64]") != std::wstring::npos, "a typed name in the preview");
    Check(profile.GetProfileString("Yamaha FS1R", "Definition", "") == "Rack" &&
              profile.GetProfileInt("Settings", "ShowOptions", -1) == 1,
          "OK stores the typed name in the family's section");
}

void TestRegistration()
{
    HKEY scratch = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\BankwiseSelfTest\\Classes", 0, nullptr, 0,
                    KEY_ALL_ACCESS, nullptr, &scratch, nullptr);
    Check(RegisterFileType(scratch, L"C:\\Bankwise\\bankwise.exe") == ERROR_SUCCESS, "register");
    wchar_t value[260] = {};
    DWORD size = sizeof value;
    RegGetValueW(scratch, L"Bankwise.Document\\shell\\printto\\command", nullptr, RRF_RT_REG_SZ,
                 nullptr, value, &size);
    Check(std::wstring(value) == L"\"C:\\Bankwise\\bankwise.exe\" /pt \"%1\" \"%2\" \"%3\" \"%4\"",
          "print-to verb");
    Check(UnregisterFileType(scratch) == ERROR_SUCCESS, "unregister");
    HKEY gone = nullptr;
    Check(RegOpenKeyExW(scratch, L"Bankwise.Document", 0, KEY_READ, &gone) != ERROR_SUCCESS,
          "the type is gone after /unregister");
    RegCloseKey(scratch);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\BankwiseSelfTest");
}

}  // namespace
}  // namespace bankwise

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    using namespace bankwise;
    CBankwiseApp app(instance);
    if (!app.InitInstance({}, SW_SHOW)) {
        std::printf("FAIL the main window\n");
        return 1;
    }
    app.PumpMessages();
    TestFrame(app);
    TestAbout(app);
    TestPrint(app);
    TestOptionsDialog(app);
    TestOptionsStored(app);
    TestRegistration();
    std::printf("%d failed\n", g_failures);
    return g_failures;
}
