#include "Document.h"

#include <new>

#include "BankwiseView.h"
#include "BusyGuard.h"
#include "Conversion.h"
#include "Detector.h"
#include "DocumentRules.h"
#include "FileNames.h"
#include "OutputFile.h"
#include "OutputFormat.h"
#include "SafeFormat.h"
#include "StringTable.h"
#include "Texts.h"

namespace bankwise {

namespace {

constexpr const wchar_t* kSettings = L"Settings";
constexpr const wchar_t* kOpenDir = L"OpenDir";
constexpr const wchar_t* kSaveDir = L"SaveDir";

std::wstring Format(std::uint32_t id, const std::wstring& first, const std::wstring& second = {})
{
    return Widen(SafeFormat(LoadString(id),
                            {FormatArg::Text(Narrow(first)), FormatArg::Text(Narrow(second))}));
}

// The file name without its extension: a dump's title.
std::wstring BaseName(const std::wstring& path)
{
    const std::wstring name = FileNameOf(path);
    const std::size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos || dot == 0 ? name : name.substr(0, dot);
}

bool IsFolder(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void ShowBusy(bool busy)
{
    SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

}  // namespace

std::wstring FolderOf(const std::wstring& path)
{
    const std::size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
}

std::wstring FileNameOf(const std::wstring& path)
{
    const std::size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

CReadResult ReadWholeFile(const std::wstring& path)
{
    CReadResult result;
    const auto fail = [&](DWORD code) {
        result.bytes = {};
        result.error = Format(IDS_SHELL_CANNOT_READ, path, Widen(WindowsErrorReason(code)));
        return result;
    };
    if (IsFolder(path))
        return fail(ERROR_DIRECTORY);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return fail(GetLastError());
    try {
        LARGE_INTEGER size{};
        if (GetFileSizeEx(file, &size) && size.QuadPart > 0)
            result.bytes.reserve(static_cast<std::size_t>(size.QuadPart));
        std::uint8_t chunk[64 * 1024];
        for (;;) {
            DWORD got = 0;
            if (!ReadFile(file, chunk, sizeof chunk, &got, nullptr)) {
                const DWORD code = GetLastError();
                CloseHandle(file);
                return fail(code);
            }
            if (got == 0)
                break;
            result.bytes.insert(result.bytes.end(), chunk, chunk + got);
        }
    } catch (const std::bad_alloc&) {
        CloseHandle(file);
        result.bytes = {};
        result.error = Format(IDS_SHELL_CANNOT_READ, path, Text(IDS_OUT_OF_MEMORY));
        return result;
    }
    CloseHandle(file);
    return result;
}

CBankwiseDoc::CBankwiseDoc(IDocumentHost& host) : m_host(host), m_title(Text(IDS_SHELL_UNTITLED))
{
    wchar_t current[MAX_PATH] = {};
    const DWORD got = GetCurrentDirectoryW(MAX_PATH, current);
    if (got > 0 && got < MAX_PATH)
        m_currentDir.assign(current, got);
}

CBankwiseDoc::~CBankwiseDoc() = default;

void CBankwiseDoc::Warn(const std::wstring& text)
{
    m_host.Prompt().Message(m_host.Owner(), EBox::Warning, text);
}

void CBankwiseDoc::SetTitle(const std::wstring& title)
{
    m_title = title;
    m_host.TitleChanged(title);
}

bool CBankwiseDoc::OnNewDocument()
{
    m_host.View().Clear();
    m_path.clear();
    SetTitle(Text(IDS_SHELL_UNTITLED));
    SetModifiedFlag(false);
    LoadRememberedDirs();
    return true;
}

void CBankwiseDoc::LoadRememberedDirs()
{
    m_openDir = m_host.Paths().Read(kSettings, kOpenDir);
    m_saveDir = m_host.Paths().Read(kSettings, kSaveDir);
    UseRememberedDir(m_openDir);
}

void CBankwiseDoc::UseRememberedDir(std::wstring& remembered)
{
    // As the document layer's rule, with the test made on the UTF-16 name.
    if (remembered.empty())
        return;
    if (IsFolder(remembered))
        m_currentDir = remembered;
    else
        remembered.clear();
}

bool CBankwiseDoc::OnOpenDocument(const std::wstring& path)
{
    // The whole dump is read before anything changes, so a file that cannot
    // be read leaves title, text and extractor as they were.
    const CReadResult read = ReadWholeFile(path);
    if (!read.error.empty()) {
        Warn(read.error);
        return false;
    }
    m_openDir = FolderOf(path);
    m_currentDir = m_openDir;
    // The previous dump's extractor goes before anything is read, so a
    // failed open discards it too; a reader that failed leaves its own.
    m_pExtractor.reset();
    CConversion conversion =
        ConvertDump(read.bytes, IsMidiFileName(Narrow(path)), m_host.Profile(), ShowBusy);
    m_pExtractor = std::move(conversion.extractor);
    if (!conversion.Succeeded()) {
        Warn(Widen(DescribeError(conversion.error)));
        return false;
    }
    if (m_host.Profile().GetProfileInt(kSettingsSection, kEntryShowOptions, 1) != 0 &&
        !m_host.RunOptionsDialog(*m_pExtractor)) {
        m_pExtractor.reset();
        return false;
    }
    ConvertToView();
    // A dump never becomes the save target, whatever its name: only a save
    // sets the path, so Save cannot write the text over the dump.
    m_path.clear();
    SetTitle(BaseName(path));
    // Edits the user chose to keep over the new text stay marked.
    SetModifiedFlag(m_host.View().IsModified());
    m_host.AddToRecentFileList(path);
    std::wstring status;
    for (const std::string& note : DescribeNotes(conversion.notes))
        status += (status.empty() ? FileNameOf(path) + L": " : L"; ") + Widen(note);
    m_host.StatusMessage(status);
    return true;
}

bool CBankwiseDoc::ConvertToView()
{
    CBankwiseView& view = m_host.View();
    if (view.IsModified() && m_host.Prompt().Message(m_host.Owner(), EBox::OkCancel,
                                                     Text(IDS_MODIFICATIONS_LOST)) != EAnswer::Ok)
        return false;
    const CBusyGuard busy(ShowBusy);
    std::string text;
    try {
        text.reserve(16 * 1024);
        WriteOutput(*m_pExtractor, EOutputFormat::Ins, text, nullptr);
    } catch (const std::bad_alloc&) {
        Warn(Text(IDS_OUT_OF_MEMORY));
        return false;
    }
    view.SetText(text);
    view.SetModified(false);
    return true;
}

void CBankwiseDoc::OnViewOptions()
{
    if (m_pExtractor && m_host.RunOptionsDialog(*m_pExtractor))
        ConvertToView();
}

bool CBankwiseDoc::SaveModified()
{
    if (!IsModified())
        return true;
    switch (m_host.Prompt().Message(m_host.Owner(), EBox::YesNoCancel,
                                    Format(IDS_SHELL_ASK_TO_SAVE, m_title))) {
    case EAnswer::Yes:
        // The same road as File > Save: instrument filter, .ins, save folder.
        return OnFileSave();
    case EAnswer::No:
        return true;
    default:
        return false;
    }
}

bool CBankwiseDoc::CanCloseFrame()
{
    if (!SaveModified())
        return false;
    m_host.Paths().Write(kSettings, kOpenDir, m_openDir);
    m_host.Paths().Write(kSettings, kSaveDir, m_saveDir);
    m_pExtractor.reset();
    return true;
}

bool CBankwiseDoc::OnFileSave()
{
    return DoSave(m_path.empty());
}

bool CBankwiseDoc::OnFileSaveAs()
{
    return DoSave(true);
}

bool CBankwiseDoc::DoSave(bool askForName)
{
    std::wstring target = m_path;
    if (askForName) {
        UseRememberedDir(m_saveDir);
        CFileRequest request;
        request.save = true;
        request.caption = Text(IDS_SHELL_SAVE_CAPTION);
        request.startDir = m_currentDir;
        // A text saved before is proposed under its own name.
        request.proposedName =
            m_path.empty() ? Widen(ProposedSaveName(Narrow(m_title))) : FileNameOf(m_path);
        const std::wstring ext = Text(IDS_INSTRUMENT_EXT);
        request.filters = {{Text(IDS_INSTRUMENT_FILTER), L"*" + ext}};
        request.defaultExt = ext.substr(1);
        target = m_host.Prompt().FileName(m_host.Owner(), request);
        UseRememberedDir(m_openDir);
        if (target.empty())
            return false;
    }
    // Through the converter's writer: the old file is replaced only by a
    // complete text, and a read-only one is refused.
    if (const auto reason = WriteOutputFile(Narrow(target), m_host.View().GetText())) {
        Warn(Format(IDS_SHELL_CANNOT_SAVE, target, Widen(*reason)));
        return false;
    }
    if (askForName)
        m_saveDir = FolderOf(target);
    SetModifiedFlag(false);
    const CPathUse use = ClassifyPath(Narrow(FileNameOf(target)));
    m_path = use.bBecomesPath ? target : std::wstring();
    SetTitle(Widen(use.strTitle));
    if (!use.bBecomesPath)
        m_host.AddToRecentFileList(target);
    return true;
}

}  // namespace bankwise
