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
#include "Conversion.h"
#include "Fs1rExtractor.h"
#include "OptionsDialog.h"
#include "OptionsModel.h"
#include "OutputFormat.h"
#include "Printing.h"
#include "Prompt.h"
#include "Registration.h"
#include "StringTable.h"
#include "Texts.h"
#include "resource.h"

#include <shlobj.h>

#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>

#ifndef BANKWISE_EXAMPLES_DIR
#define BANKWISE_EXAMPLES_DIR ""
#endif

namespace bankwise {
namespace {

int g_failures = 0;
// Every setting the checks make lands here, never in the user's own key.
constexpr const wchar_t* kScratchKey = L"Software\\Orvane\\Bankwise selftest";

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

// The state File > ID shows once the menu has been opened.
bool MenuItemEnabled(HWND hWnd, UINT id)
{
    HMENU file = GetSubMenu(GetMenu(hWnd), 0);
    SendMessageW(hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
    return (GetMenuState(file, id, MF_BYCOMMAND) & MF_GRAYED) == 0;
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
        {ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_FILE_EXPORT, 0, ID_FILE_PRINT,
         ID_FILE_PRINT_PREVIEW, ID_FILE_PRINT_SETUP, 0, ID_FILE_MRU_FILE1, 0, ID_APP_EXIT},
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
    Check(!MenuItemEnabled(hWnd, ID_FILE_EXPORT), "File > Export is greyed without a dump");

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

// The real save dialog shows a request's note below its controls.
void TestFileNote(CBankwiseApp& app)
{
    CFileRequest request;
    request.bSave = true;
    request.strNote = "Names, not the edited text.";
    request.filters.push_back({"MIDNAM (*.midnam)", {"*.midnam"}, "midnam"});
    std::wstring note;
    WhenModal([&] {
        HWND box = GetActiveWindow();
        EnumChildWindows(
            box,
            [](HWND child, LPARAM found) {
                if (GetDlgCtrlID(child) != IDC_FILE_NOTE)
                    return TRUE;
                *reinterpret_cast<std::wstring*>(found) = WindowText(child);
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&note));
        PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
    });
    CWinPrompt prompt;
    Check(prompt.FileName(app.Frame().GetSafeHwnd(), request).empty() &&
              note == L"Names, not the edited text.",
          "the save dialog shows the note");
}

void TestFirstPlace(CBankwiseApp& app)
{
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT rect{};
    GetWindowRect(app.Frame().GetSafeHwnd(), &rect);
    Check(rect.right - rect.left == (work.right - work.left) * 2 / 3 &&
              rect.bottom - rect.top == (work.bottom - work.top) * 2 / 3,
          "the first start takes two thirds of the screen");
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
    Check(info.find(L"COMCTL32.DLL: ") != std::wstring::npos &&
              info.find(L"KERNEL32.DLL: ") != std::wstring::npos &&
              info.find(L"SELFTEST.EXE") == std::wstring::npos,
          "information box: the loaded libraries, not the program itself");
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

// Whether each label of a dialog shows its whole text on one line.
bool LabelsFit(HWND box)
{
    HDC dc = GetDC(box);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)));
    bool fit = true;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t type[16] = {};
        GetClassNameW(child, type, 16);
        if (lstrcmpiW(type, L"Static") != 0 || GetDlgCtrlID(child) == IDC_PREVIEW)
            continue;
        RECT needed{};
        RECT have{};
        DrawTextW(dc, WindowText(child).c_str(), -1, &needed, DT_CALCRECT | DT_SINGLELINE);
        GetClientRect(child, &have);
        fit = fit && needed.right <= have.right;
    }
    SelectObject(dc, old);
    ReleaseDC(box, dc);
    return fit;
}

void TestOptionsDialog(CBankwiseApp& app)
{
    CFakeOptions model;
    COptionsDialog dialog(model, app.Frame().View().Codec());
    std::wstring caption;
    std::wstring preview;
    bool okWhenEmpty = true;
    bool labelsFit = false;
    WhenModal([&] {
        HWND box = GetActiveWindow();
        caption = WindowText(box);
        labelsFit = LabelsFit(box);
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
    Check(labelsFit, "the labels show their whole texts in the dialog's font");
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

// Answers the boxes and file dialogs from the script and keeps what was asked.
class CScriptedPrompt final : public IPrompt
{
public:
    EAnswer Message(HWND, EBox, const std::wstring& text) override
    {
        messages.push_back(text);
        if (answers.empty())
            return EAnswer::Ok;
        const EAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void Information(HWND, const std::wstring& text) override { messages.push_back(text); }
    std::wstring FileName(HWND, CFileRequest& request) override
    {
        requests.push_back(request);
        if (!filters.empty()) {
            request.nFilter = filters.front();
            filters.pop_front();
        }
        if (files.empty())
            return {};
        std::wstring file = files.front();
        files.pop_front();
        return file;
    }
    std::vector<std::wstring> messages;
    std::deque<EAnswer> answers;
    std::vector<CFileRequest> requests;
    std::deque<std::wstring> files;
    std::deque<std::size_t> filters;  // the filter each file dialog closes with
};

std::string ReadBytes(const std::wstring& path)
{
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::wstring& path, const std::string& bytes)
{
    std::ofstream(std::filesystem::path(path), std::ios::binary) << bytes;
}

// What the converter makes of the dump with the settings under the scratch key.
std::string ConverterText(const std::wstring& dump, EOutputFormat format = EOutputFormat::Ins)
{
    const std::string bytes = ReadBytes(dump);
    const CRegistryProfile profile(kScratchKey);
    const std::span<const std::uint8_t> view(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                             bytes.size());
    CConversion conversion = ConvertDump(view, false, profile);
    std::string text;
    if (conversion.extractor)
        WriteOutput(*conversion.extractor, format, text, nullptr);
    return text;
}

// A key as the keyboard sends it, through the program's own loop: the
// accelerators and the menu's mnemonics see it as they would a real one.
void PressKey(CBankwiseApp& app, HWND target, UINT key, bool control, bool alt)
{
    BYTE state[256] = {};
    GetKeyboardState(state);
    state[VK_CONTROL] = control ? 0x80 : 0;
    state[VK_MENU] = alt ? 0x80 : 0;
    SetKeyboardState(state);
    const LPARAM context = alt ? (1 | (1 << 29)) : 1;
    PostMessageW(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, context);
    PostMessageW(target, alt ? WM_SYSKEYUP : WM_KEYUP, key,
                 context | (LPARAM{1} << 30) | (LPARAM{1} << 31));
    app.PumpMessages();
    state[VK_CONTROL] = 0;
    state[VK_MENU] = 0;
    SetKeyboardState(state);
}

// Alt+letter, then letter in the menu that opened, then step once the
// command's modal window is up. The item's key is typed from a timer, as
// the menu's own loop runs only once the first key has been translated.
wchar_t g_menuItem = 0;
std::function<void()> g_afterMenu;
void CALLBACK TypeMenuItem(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    BYTE state[256] = {};
    GetKeyboardState(state);
    state[VK_MENU] = 0;
    SetKeyboardState(state);
    PostMessageW(GetFocus(), WM_CHAR, g_menuItem, 1);
    if (g_afterMenu)
        WhenModal(std::move(g_afterMenu));
}

void PressMenu(CBankwiseApp& app, wchar_t menu, wchar_t item, std::function<void()> step)
{
    HWND hWnd = app.Frame().GetSafeHwnd();
    BYTE state[256] = {};
    GetKeyboardState(state);
    state[VK_MENU] = 0x80;
    SetKeyboardState(state);
    g_menuItem = item;
    g_afterMenu = std::move(step);
    PostMessageW(hWnd, WM_SYSKEYDOWN, menu, 1 | (1 << 29));
    SetTimer(nullptr, 0, 30, TypeMenuItem);
    app.PumpMessages();
}

// A text value as any registry tool reads it.
std::wstring RegistryText(const std::wstring& section, const std::wstring& entry)
{
    wchar_t value[1024] = {};
    DWORD size = sizeof value;
    const std::wstring key = std::wstring(kScratchKey) + L"\\" + section;
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), entry.c_str(), RRF_RT_REG_SZ, nullptr, value,
                     &size) != ERROR_SUCCESS)
        return {};
    return value;
}

std::wstring TempFolder()
{
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    std::wstring path = std::wstring(folder) + L"bankwise selftest";
    CreateDirectoryW(path.c_str(), nullptr);
    return path + L"\\";
}

void WriteProfileFlag(int showOptions)
{
    CRegistryProfile(kScratchKey).WriteProfileInt("Settings", "ShowOptions", showOptions);
}

// Files dropped from Explorer: the HDROP the shell would hand over.
void DropFiles(HWND hWnd, const std::vector<std::wstring>& files)
{
    std::wstring list;
    for (const std::wstring& file : files)
        list += file + L'\0';
    list += L'\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::memcpy(drop + 1, list.data(), list.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    PostMessageW(hWnd, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
}

// bankwise.exe DUMP, Ctrl+S, Alt+V O, Alt+H A and the roads behind them.
void TestDocumentRoads(HINSTANCE instance, const std::wstring& examples)
{
    const std::wstring dump = examples + L"\\yamaha-fs1r.syx";
    const std::wstring folder = TempFolder();
    CScriptedPrompt prompt;
    CBankwiseApp app(instance, kScratchKey, &prompt);
    std::wstring caption;
    WhenModal([&] {
        caption = WindowText(GetActiveWindow());
        PostMessageW(GetActiveWindow(), WM_COMMAND, IDOK, 0);
    });
    Check(app.InitInstance({dump}, SW_SHOW), "bankwise.exe DUMP starts");
    app.PumpMessages();
    HWND hWnd = app.Frame().GetSafeHwnd();
    Check(caption == L"Instrument file options for Yamaha FS1R", "the open asks for the options");
    Check(WindowText(hWnd) == L"yamaha-fs1r - Bankwise", "title \"<base> - Bankwise\"");
    const std::string expected = ConverterText(dump);
    Check(!expected.empty() && app.Frame().View().GetText() == expected,
          "the view holds the converter's text");
    Check(RegistryText(L"Recent File List", L"File1") == dump, "the dump heads the recent list");
    Check(prompt.messages.empty(), "no box on a good dump");

    // Ctrl+S: a converted dump has no file of its own yet.
    const std::wstring saved = folder + L"Bänke out.ins";
    DeleteFileW(saved.c_str());
    prompt.files.push_back(saved);
    PressKey(app, app.Frame().View().GetSafeHwnd(), 'S', true, false);
    Check(prompt.requests.size() == 1 && prompt.requests[0].strCaption == "Save As" &&
              prompt.requests[0].strProposedName.ends_with("\\yamaha-fs1r.ins") &&
              prompt.requests[0].filters.at(0).strName == "Instrument Files (*.ins)",
          "Ctrl+S shows \"Save As\" proposing <base>.ins");
    Check(ReadBytes(saved) == expected, "the saved file is the converter's bytes");
    Check(WindowText(hWnd) == L"Bänke out.ins - Bankwise", "titled by the saved file");
    PressKey(app, app.Frame().View().GetSafeHwnd(), 'S', true, false);
    Check(prompt.requests.size() == 1, "a second Ctrl+S writes without asking");

    // File > Export: the format is the filter chosen, its extension added.
    Check(MenuItemEnabled(hWnd, ID_FILE_EXPORT), "File > Export is enabled with a dump");
    const std::wstring exported = folder + L"Bänke out";
    DeleteFileW((exported + L".reabank").c_str());
    prompt.requests.clear();
    prompt.files.push_back(exported);
    prompt.filters.push_back(1);
    SendMessageW(hWnd, WM_COMMAND, ID_FILE_EXPORT, 0);
    const std::vector<std::string> exportFilters = {
        GetOutputFilter(EOutputFormat::Midnam), GetOutputFilter(EOutputFormat::Reabank),
        GetOutputFilter(EOutputFormat::Cubase), GetOutputFilter(EOutputFormat::Rosegarden),
        GetOutputFilter(EOutputFormat::Muse),   GetOutputFilter(EOutputFormat::Ins)};
    std::vector<std::string> offered;
    for (const CFileFilter& filter : prompt.requests.at(0).filters)
        offered.push_back(filter.strName);
    Check(offered == exportFilters && prompt.requests[0].strCaption == "Export" &&
              !prompt.requests[0].strNote.empty(),
          "Export offers the six formats under its caption and note");
    const std::string reabank = ConverterText(dump, EOutputFormat::Reabank);
    Check(!reabank.empty() && ReadBytes(exported + L".reabank") == reabank &&
              WindowText(hWnd) == L"Bänke out.ins - Bankwise",
          "the exported file is the converter's REAPER bank file; the document stays");
    DeleteFileW((exported + L".reabank").c_str());
    prompt.requests.clear();

    // A read-only target is left as it was, with one box.
    const std::wstring locked = folder + L"locked.ins";
    SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
    WriteBytes(locked, "old");
    SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_READONLY);
    prompt.files.push_back(locked);
    SendMessageW(hWnd, WM_COMMAND, ID_FILE_SAVE_AS, 0);
    Check(ReadBytes(locked) == "old" && prompt.messages.size() == 1 &&
              prompt.messages[0].starts_with(L"Cannot save " + locked + L":\n"),
          "a read-only target keeps its bytes and says why");
    Check(WindowText(hWnd) == L"Bänke out.ins - Bankwise", "and the title stays");
    SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(locked.c_str());

    // Alt+V, O: the options; a typed name and Enter change text and registry.
    std::wstring options;
    PressMenu(app, 'V', 'o', [&] {
        HWND box = GetActiveWindow();
        options = WindowText(box);
        HWND definition = GetDlgItem(box, IDC_DEFINITION);
        SendMessageW(definition, EM_SETSEL, 0, -1);
        Type(definition, L"Rack");
        PostMessageW(definition, WM_KEYDOWN, VK_RETURN, 0);
    });
    Check(options == L"Instrument file options for Yamaha FS1R", "Alt+V, O opens the options");
    const std::string text = app.Frame().View().GetText();
    Check(text.find("[Rack]\r\nPatch[") != std::string::npos, "OK puts the typed name in the text");
    Check(CRegistryProfile(kScratchKey).GetProfileString("Yamaha FS1R", "Definition", "") == "Rack",
          "and stores it in the registry key");
    WhenModal([&] {
        HWND box = GetActiveWindow();
        Type(GetDlgItem(box, IDC_DEFINITION), L"Other");
        PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
    });
    SendMessageW(hWnd, WM_COMMAND, ID_VIEW_OPTIONS, 0);
    Check(app.Frame().View().GetText() == text &&
              CRegistryProfile(kScratchKey).GetProfileString("Yamaha FS1R", "Definition", "") ==
                  "Rack",
          "Cancel changes neither");

    // Alt+H, A
    std::wstring about;
    PressMenu(app, 'H', 'a', [&] {
        about = WindowText(GetActiveWindow());
        PostMessageW(GetActiveWindow(), WM_COMMAND, IDOK, 0);
    });
    Check(about == L"About Bankwise", "Alt+H, A opens \"About Bankwise\"");

    // A dump that does not convert leaves title, text and flag as they were.
    const std::wstring junk = folder + L"junk.syx";
    WriteBytes(junk, std::string(64, '\x7f'));
    prompt.messages.clear();
    SendMessageW(app.Frame().View().GetSafeHwnd(), WM_CHAR, L'x', 0);
    const std::string edited = app.Frame().View().GetText();
    prompt.answers = {EAnswer::No};
    Check(!app.OpenDocumentFile(junk), "a broken dump does not open");
    Check(prompt.messages.size() == 2 && prompt.messages[0] == L"Save changes to Bänke out.ins?" &&
              prompt.messages[1] == Widen(DescribeError(EConvertError::UnknownFormat)),
          "the save-changes query, then the error box");
    Check(WindowText(hWnd) == L"Bänke out.ins - Bankwise" &&
              app.Frame().View().GetText() == edited && app.Document().IsModified(),
          "title, text and flag stay");
    prompt.messages.clear();
    prompt.answers = {EAnswer::No};
    Check(!app.OpenDocumentFile(folder + L"missing.syx") && prompt.messages.size() == 2 &&
              prompt.messages[1].starts_with(L"Cannot read " + folder + L"missing.syx:\n"),
          "a missing file says it cannot be read");

    // Declining "Modifications will be lost" keeps the edits and their mark.
    WriteProfileFlag(0);
    prompt.messages.clear();
    prompt.answers = {EAnswer::No, EAnswer::Cancel};
    Check(app.OpenDocumentFile(dump), "the dump opens over edits");
    Check(prompt.messages.size() == 2 && prompt.messages[1] == L"Modifications will be lost, OK ?",
          "with the question before the text is replaced");
    Check(app.Frame().View().GetText() == edited && app.Document().IsModified(),
          "declined: the edits stay, still marked");

    // Drops open one after another, each as File > Open would.
    prompt.answers = {EAnswer::No};
    SendMessageW(hWnd, WM_COMMAND, ID_FILE_NEW, 0);
    Check(WindowText(hWnd) == L"Untitled - Bankwise" && app.Frame().View().GetText().empty(),
          "File > New after No to the query");
    prompt.messages.clear();
    const std::wstring midi = examples + L"\\roland-jvxp.mid";
    DropFiles(hWnd, {junk, midi});
    app.PumpMessages();
    Check(WindowText(hWnd) == L"roland-jvxp - Bankwise" && prompt.messages.size() == 1,
          "dropped files open in turn, the last stays");
    Check(RegistryText(L"Recent File List", L"File1") == midi &&
              RegistryText(L"Recent File List", L"File2") == dump,
          "the recent list, newest first");
    SendMessageW(hWnd, WM_COMMAND, ID_FILE_MRU_FILE1 + 1, 0);
    Check(WindowText(hWnd) == L"yamaha-fs1r - Bankwise", "a recent entry opens again");

    // A name beyond the code page is listed as the UTF-16 path it is; the
    // same file in other letters, chosen with File > Open, is listed once,
    // and its folder is the open folder from now on.
    const std::wstring named = folder + L"B\u00e4nke \u0431.syx";
    const std::wstring upper = folder + L"B\u00c4NKE \u0411.SYX";
    WriteBytes(named, ReadBytes(dump));
    DropFiles(hWnd, {named});
    app.PumpMessages();
    Check(RegistryText(L"Recent File List", L"File1") == named, "a name beyond the code page");
    prompt.files.push_back(upper);
    SendMessageW(hWnd, WM_COMMAND, ID_FILE_OPEN, 0);
    Check(WindowText(hWnd) == L"B\u00c4NKE \u0411 - Bankwise" &&
              RegistryText(L"Recent File List", L"File1") == upper &&
              RegistryText(L"Recent File List", L"File2") == dump && app.RecentFiles().size() == 3,
          "File > Open; one file in other letters is one entry");

    // The window's place is stored at close and used at the next start.
    MoveWindow(hWnd, 40, 30, 700, 500, TRUE);
    prompt.messages.clear();
    SendMessageW(hWnd, WM_CLOSE, 0, 0);
    Check(!IsWindow(hWnd), "the window closes");
    const CRegistryProfile stored(kScratchKey);
    Check(stored.GetProfileInt("Settings", "WindowLeft", 0) == 40 &&
              stored.GetProfileInt("Settings", "WindowTop", 0) == 30 &&
              stored.GetProfileInt("Settings", "WindowWidth", 0) == 700 &&
              stored.GetProfileInt("Settings", "WindowHeight", 0) == 500 &&
              stored.GetProfileInt("Settings", "WindowMaximized", 1) == 0,
          "its place is stored");
    Check(RegistryText(L"Settings", L"OpenDir") == folder.substr(0, folder.size() - 1),
          "the open folder is stored");
    app.PumpMessages();  // the quit message of the closed window
    DeleteFileW(named.c_str());
    DeleteFileW(junk.c_str());
    DeleteFileW(saved.c_str());
}

// The next start: the stored place; /pt prints through the page seam and
// ends; a hostile stored value gets its default and one box.
void TestNextStart(HINSTANCE instance, const std::wstring& examples)
{
    {
        CScriptedPrompt prompt;
        CBankwiseApp app(instance, kScratchKey, &prompt);
        Check(app.InitInstance({}, SW_SHOW), "a second start");
        RECT rect{};
        GetWindowRect(app.Frame().GetSafeHwnd(), &rect);
        Check(rect.left == 40 && rect.top == 30 && rect.right == 740 && rect.bottom == 530,
              "opens where it was closed");
        Check(app.RecentFiles().size() == 3, "with the recent list read back");
        DestroyWindow(app.Frame().GetSafeHwnd());
        app.PumpMessages();
    }
    const std::wstring pages = TempFolder() + L"page.emf";
    const std::wstring second = TempFolder() + L"page-2.emf";
    DeleteFileW(pages.c_str());
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, (std::wstring(kScratchKey) + L"\\Settings").c_str(), 0,
                    nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    RegSetValueExW(key, L"ShowOptions", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"x"),
                   2 * sizeof(wchar_t));
    RegCloseKey(key);
    CScriptedPrompt prompt;
    CBankwiseApp app(instance, kScratchKey, &prompt);
    WhenModal([&] { PostMessageW(GetActiveWindow(), WM_COMMAND, IDOK, 0); });
    Check(!app.InitInstance({L"/pt", examples + L"\\yamaha-fs1r.syx", pages}, SW_SHOW) &&
              app.ExitCode() == 0,
          "/pt FILE PRINTER prints and ends");
    Check(GetFileAttributesW(pages.c_str()) != INVALID_FILE_ATTRIBUTES &&
              !app.Printer().LastPages().empty() &&
              app.Printer().LastPages()[0][0] ==
                  L"; Cakewalk Instrument Definition File for Yamaha FS1R",
          "the dump's text reaches the printer");
    Check(prompt.messages.size() == 1 && prompt.messages[0].starts_with(L"Registry value "),
          "a stored value of the wrong type: one box, and its default");
    DeleteFileW(pages.c_str());
    DeleteFileW(second.c_str());

    // A usage error goes to the standard error when there is one, else
    // into a box (started from Explorer).
    const HANDLE standardError = GetStdHandle(STD_ERROR_HANDLE);
    const std::wstring said = TempFolder() + L"usage.txt";
    HANDLE file = CreateFileW(said.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              0, nullptr);
    SetStdHandle(STD_ERROR_HANDLE, file);
    CScriptedPrompt quiet;
    CBankwiseApp two(instance, kScratchKey, &quiet);
    const bool refused = !two.InitInstance({L"a.syx", L"b.syx"}, SW_SHOW) && two.ExitCode() == 2;
    CloseHandle(file);
    SetStdHandle(STD_ERROR_HANDLE, nullptr);
    CScriptedPrompt usage;
    CBankwiseApp boxed(instance, kScratchKey, &usage);
    boxed.InitInstance({L"a.syx", L"b.syx"}, SW_SHOW);
    CBankwiseApp bare(instance, kScratchKey, &usage);
    const bool bareRefused = !bare.InitInstance({L"/p"}, SW_SHOW) && bare.ExitCode() == 2;
    SetStdHandle(STD_ERROR_HANDLE, standardError);
    Check(refused && quiet.messages.empty() &&
              ReadBytes(said) == "bankwise: one FILE at most is opened; 2 were given.\n",
          "two FILEs: exit 2, said on the standard error");
    Check(bareRefused && usage.messages.size() == 2 &&
              usage.messages[0] == L"bankwise: one FILE at most is opened; 2 were given.",
          "and in a box without one, as /p without its FILE");
    DeleteFileW(said.c_str());
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
    RegDeleteTreeW(HKEY_CURRENT_USER, kScratchKey);
    // The example dumps: the first argument, else the source tree's.
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    std::wstring examples = count > 1 ? argv[1] : Widen(BANKWISE_EXAMPLES_DIR);
    LocalFree(argv);
    wchar_t full[MAX_PATH] = {};
    if (GetFullPathNameW(examples.c_str(), MAX_PATH, full, nullptr) != 0)
        examples = full;
    {
        CBankwiseApp app(instance, kScratchKey);
        if (!app.InitInstance({}, SW_SHOW)) {
            std::printf("FAIL the main window\n");
            return 1;
        }
        app.PumpMessages();
        TestFirstPlace(app);
        TestFrame(app);
        TestFileNote(app);
        TestAbout(app);
        TestPrint(app);
        TestOptionsDialog(app);
        TestOptionsStored(app);
        DestroyWindow(app.Frame().GetSafeHwnd());
        app.PumpMessages();
    }
    TestDocumentRoads(instance, examples);
    TestNextStart(instance, examples);
    TestRegistration();
    RegDeleteTreeW(HKEY_CURRENT_USER, kScratchKey);
    std::printf("%d failed\n", g_failures);
    return g_failures;
}
