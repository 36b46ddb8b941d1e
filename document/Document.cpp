#include "Document.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <new>
#include <system_error>
#include <utility>

#include "Conversion.h"
#include "Detector.h"
#include "DocumentRules.h"
#include "FileNames.h"
#include "OutputFile.h"
#include "SafeFormat.h"
#include "StringTable.h"

namespace bankwise {
namespace {

constexpr const char* kOpenDir = "OpenDir";
constexpr const char* kSaveDir = "SaveDir";
constexpr const char* kExportDir = "ExportDir";
constexpr const char* kExportFormat = "ExportFormat";  // the extension, without its dot
constexpr const char* kRecentSection = "Recent File List";

// What Export offers, in the order of its filters. Its .ins is made afresh
// from the dump, as the others are; Save writes the edited text.
constexpr std::array kExportFormats{EOutputFormat::Midnam, EOutputFormat::Reabank,
                                    EOutputFormat::Cubase, EOutputFormat::Rosegarden,
                                    EOutputFormat::Muse,   EOutputFormat::Ins};

std::string Format(std::uint32_t id, std::string_view first, std::string_view second = {})
{
    return SafeFormat(LoadString(id), {FormatArg::Text(first), FormatArg::Text(second)});
}

std::string FileNameOf(std::string_view path)
{
    const auto separator = path.find_last_of("/\\");
    return std::string(separator == std::string_view::npos ? path : path.substr(separator + 1));
}

// The name without folder and without what follows its last dot.
std::string BaseNameOf(std::string_view path)
{
    std::string name = FileNameOf(path);
    if (const auto dot = name.rfind('.'); dot != std::string::npos)
        name.resize(dot);
    return name;
}

std::string AbsolutePath(const std::string& path)
{
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(PathFromName(path), ec);
    return ec ? path : NameOfPath(absolute);
}

std::string FolderOf(const std::string& path)
{
    return NameOfPath(PathFromName(AbsolutePath(path)).parent_path());
}

std::string InFolder(const std::string& folder, const std::string& name)
{
    return NameOfPath(PathFromName(folder) / PathFromName(name));
}

bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) ==
               std::toupper(static_cast<unsigned char>(y));
    });
}

// One field of the document strings (fields split by line feeds).
std::string DocString(std::size_t index)
{
    const std::string strings = LoadString(IDR_MAINFRAME);
    std::size_t start = 0;
    for (std::size_t i = 0; i < index && start != std::string::npos; ++i) {
        start = strings.find('\n', start);
        if (start != std::string::npos)
            ++start;
    }
    if (start == std::string::npos)
        return {};
    return strings.substr(start, strings.find('\n', start) - start);
}

constexpr std::size_t kFilterName = 3;
constexpr std::size_t kFilterExt = 4;

// The dump filter's extensions, ".syx;.mid", one by one.
std::vector<std::string> DumpExtensions()
{
    std::vector<std::string> extensions;
    const std::string text = DocString(kFilterExt);
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find(';', start), text.size());
        if (end > start)
            extensions.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return extensions;
}

CFileFilter FilterOf(std::string name, const std::vector<std::string>& extensions)
{
    CFileFilter filter{std::move(name), {}, {}};
    for (const std::string& ext : extensions)
        filter.patterns.push_back('*' + ext);
    if (!extensions.empty())
        filter.strDefaultExt = extensions.front().substr(1);
    return filter;
}

}  // namespace

EConfidence MatchDocType(const std::string& path, const std::string& documentPath)
{
    if (!documentPath.empty() && SameFileName(path, documentPath))
        return EConfidence::yesAlreadyOpen;
    // Everything from the last dot on, even when that dot is in a folder name.
    const auto dot = path.rfind('.');
    if (dot == std::string::npos)
        return EConfidence::yesAttemptForeign;
    const std::string_view ext = std::string_view(path).substr(dot);
    for (const std::string& candidate : DumpExtensions()) {
        if (SameIgnoringCase(ext, candidate))
            return EConfidence::yesAttemptNative;
    }
    return EConfidence::yesAttemptForeign;
}

CFileRequest MakeFileRequest(bool bSaveMode)
{
    CFileRequest request;
    request.bSave = bSaveMode;
    request.strCaption = LoadString(bSaveMode ? IDS_SHELL_SAVE_CAPTION : IDS_SHELL_OPEN_CAPTION);
    request.filters.push_back(
        bSaveMode ? FilterOf(LoadString(IDS_INSTRUMENT_FILTER), {LoadString(IDS_INSTRUMENT_EXT)})
                  : FilterOf(DocString(kFilterName), DumpExtensions()));
    request.strAllFilesFilter = LoadString(IDS_SHELL_ALL_FILES);
    return request;
}

std::optional<std::string> ReadDumpFile(const std::string& path, std::vector<std::uint8_t>& bytes)
{
    const auto failed = [&path, &bytes](const std::string& reason) {
        bytes = {};
        return Format(IDS_SHELL_CANNOT_READ, path, reason);
    };
    const auto systemReason = [](int code) {
        return std::generic_category().message(code != 0 ? code : EIO);
    };
    std::error_code ec;
    const std::filesystem::path file = PathFromName(path);
    if (std::filesystem::is_directory(file, ec))
        return failed(std::make_error_code(std::errc::is_a_directory).message());
    errno = 0;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return failed(systemReason(errno));
    try {
        // Read in pieces: pipes and devices tell no size.
        bytes.clear();
        std::array<char, 64 * 1024> chunk;
        while (in) {
            in.read(chunk.data(), chunk.size());
            const auto got = static_cast<std::size_t>(in.gcount());
            bytes.insert(bytes.end(), chunk.data(), chunk.data() + got);
        }
        if (in.bad())
            return failed(systemReason(errno));
    } catch (const std::bad_alloc&) {
        return failed(LoadString(IDS_OUT_OF_MEMORY));
    }
    return std::nullopt;
}

CDocument::CDocument(IProfile& profile, IUserPrompt& prompt, ITextView& view, IDocumentFrame& frame,
                     BusyHook busy, std::string currentDir)
    : m_profile(profile), m_prompt(prompt), m_view(view), m_frame(frame), m_busy(std::move(busy)),
      m_strTitle(LoadString(IDS_SHELL_UNTITLED)), m_strCurrentDir(std::move(currentDir))
{}

CDocument::~CDocument() = default;

void CDocument::SetExtractor(std::unique_ptr<CDumpExtractor> extractor)
{
    m_pExtractor = std::move(extractor);
    m_frame.OnExtractorChanged();
}

void CDocument::DropExtractor()
{
    SetExtractor(nullptr);
}

void CDocument::SetTitle(const std::string& title)
{
    m_strTitle = title;
    m_frame.OnTitleChanged();
}

void CDocument::SetPathName(const std::string& path, bool bAddToRecent)
{
    const std::string full = AbsolutePath(path);
    const CPathUse use = ClassifyPath(FileNameOf(full));
    m_strPathName = use.bBecomesPath ? full : std::string();
    SetTitle(use.strTitle);
    if (!use.bBecomesPath && bAddToRecent)
        AddToRecentFileList(full);
}

void CDocument::LoadRecentFiles()
{
    m_recentFiles.clear();
    for (std::size_t i = 0; i < kMaxRecentFiles; ++i) {
        std::string entry =
            m_profile.GetProfileString(kRecentSection, "File" + std::to_string(i + 1), "");
        if (!entry.empty())
            m_recentFiles.push_back(std::move(entry));
    }
    m_frame.OnRecentFilesChanged();
}

void CDocument::SaveRecentFiles()
{
    // Stored at every change, so a second window or a crash loses nothing.
    for (std::size_t i = 0; i < kMaxRecentFiles; ++i)
        m_profile.WriteProfileString(kRecentSection, "File" + std::to_string(i + 1),
                                     i < m_recentFiles.size() ? m_recentFiles[i] : std::string());
    m_frame.OnRecentFilesChanged();
}

void CDocument::AddToRecentFileList(const std::string& path)
{
    AddRecentFile(m_recentFiles, path);
    SaveRecentFiles();
}

void CDocument::LoadRememberedDirs()
{
    m_strOpenDir = m_profile.GetProfileString(kSettingsSection, kOpenDir, "");
    m_strSaveDir = m_profile.GetProfileString(kSettingsSection, kSaveDir, "");
    UseRememberedDir(EDir::Open);
}

void CDocument::UseRememberedDir(EDir which)
{
    bankwise::UseRememberedDir(which == EDir::Open ? m_strOpenDir : m_strSaveDir, m_strCurrentDir);
}

bool CDocument::OnNewDocument()
{
    m_view.SetText({});
    // A note on the dump goes with its text.
    m_frame.SetStatusText({});
    m_strPathName.clear();
    SetTitle(LoadString(IDS_SHELL_UNTITLED));
    SetModifiedFlag(false);
    LoadRememberedDirs();
    return true;
}

void CDocument::OnFileNew()
{
    if (SaveModified())
        OnNewDocument();
}

void CDocument::OnFileOpen()
{
    CFileRequest request = MakeFileRequest(false);
    request.strStartDir = m_strCurrentDir;
    const std::string path = m_prompt.FileName(request);
    if (path.empty())
        return;
    m_strCurrentDir = FolderOf(path);
    OpenDocumentFile(path);
}

bool CDocument::OpenDocumentFile(const std::string& path)
{
    const std::string full = AbsolutePath(path);
    if (MatchDocType(full, m_strPathName) == EConfidence::yesAlreadyOpen) {
        m_frame.Activate();
        return true;
    }
    if (!SaveModified() || !OnOpenDocument(full))
        return false;
    // A dump never becomes the path, whatever its name: only a save sets one,
    // or Save would write the text over the dump.
    m_strPathName.clear();
    SetTitle(BaseNameOf(full));
    AddToRecentFileList(full);
    return true;
}

void CDocument::OnOpenRecentFile(std::size_t index)
{
    if (index >= m_recentFiles.size())
        return;
    const std::string path = m_recentFiles[index];
    std::error_code ec;
    if (!OpenDocumentFile(path) && !std::filesystem::exists(PathFromName(path), ec)) {
        std::erase(m_recentFiles, path);
        SaveRecentFiles();
    }
}

bool CDocument::OnOpenDocument(const std::string& path)
{
    // The note on the last dump would otherwise stand beside another one's box.
    m_frame.SetStatusText({});
    CConversion conversion;
    {
        // The whole dump is read before anything changes, so a file that
        // cannot be read leaves title, text and extractor as they were.
        std::vector<std::uint8_t> bytes;
        if (const auto error = ReadDumpFile(path, bytes)) {
            m_prompt.Message(EBox::Warning, *error);
            return false;
        }
        m_strOpenDir = m_strCurrentDir;
        m_strDumpName = BaseNameOf(path);
        // The previous dump's extractor goes first, so a failed open discards it too.
        m_pExtractor.reset();
        conversion = ConvertDump(bytes, IsMidiFileName(path), m_profile, m_busy);
    }
    SetExtractor(std::move(conversion.extractor));
    if (!conversion.Succeeded()) {
        m_prompt.Message(EBox::Warning, DescribeError(conversion.error));
        return false;
    }
    if (m_profile.GetProfileInt(kSettingsSection, kEntryShowOptions, 1) != 0 &&
        !m_prompt.RunOptionsDialog(*m_pExtractor)) {
        DropExtractor();
        return false;
    }
    // Declined over edits: the edited text stays, and so does its flag.
    if (ConvertToView())
        SetModifiedFlag(false);
    // Said where it stays in sight, as the names that are there still count.
    std::string status;
    for (const std::string& note : DescribeNotes(conversion.notes))
        status += (status.empty() ? FileNameOf(path) + ": " : std::string("; ")) + note;
    status += (status.empty() ? "" : " - ") + m_pExtractor->DescribeContents();
    m_frame.SetStatusText(status);
    return true;
}

bool CDocument::ConvertToView()
{
    if (m_view.IsUserChanged() &&
        m_prompt.Message(EBox::OkCancel, LoadString(IDS_MODIFICATIONS_LOST)) != EAnswer::Ok)
        return false;
    const CBusyGuard busy(m_busy);
    const auto text = MakeText(EOutputFormat::Ins, nullptr);
    if (text)
        m_view.SetText(*text);
    return text.has_value();
}

std::optional<std::string> CDocument::MakeText(EOutputFormat format, std::vector<std::string>* left)
{
    std::string text;
    try {
        text.reserve(16 * 1024);
        WriteOutput(*m_pExtractor, format, text, left);
    } catch (const std::bad_alloc&) {
        m_prompt.Message(EBox::Warning, LoadString(IDS_OUT_OF_MEMORY));
        return std::nullopt;
    }
    return text;
}

void CDocument::OnViewOptions()
{
    if (m_pExtractor && m_prompt.RunOptionsDialog(*m_pExtractor))
        ConvertToView();
}

bool CDocument::SaveModified()
{
    if (!IsModified())
        return true;
    switch (m_prompt.Message(EBox::YesNoCancel, Format(IDS_SHELL_ASK_TO_SAVE, m_strTitle))) {
    case EAnswer::Yes:
        // The same road as File > Save: instrument filter, .ins, save folder.
        return OnFileSave();
    case EAnswer::No:
        return true;
    default:
        return false;
    }
}

bool CDocument::CanCloseFrame()
{
    if (!SaveModified())
        return false;
    m_profile.WriteProfileString(kSettingsSection, kOpenDir, m_strOpenDir);
    m_profile.WriteProfileString(kSettingsSection, kSaveDir, m_strSaveDir);
    DropExtractor();
    return true;
}

bool CDocument::OnFileSave()
{
    return SaveWith(m_strPathName.empty());
}

bool CDocument::OnFileSaveAs()
{
    return SaveWith(true);
}

bool CDocument::SaveWith(bool bAsk)
{
    UseRememberedDir(EDir::Save);
    std::string target = m_strPathName;
    bool ok = true;
    if (bAsk) {
        CFileRequest request = MakeFileRequest(true);
        request.strStartDir = m_strCurrentDir;
        // A document saved under its own name proposes that name again.
        request.strProposedName = !m_strPathName.empty()
                                      ? m_strPathName
                                      : InFolder(m_strCurrentDir, ProposedSaveName(m_strTitle));
        target = m_prompt.FileName(request);
        ok = !target.empty();
        if (ok)
            m_strCurrentDir = FolderOf(target);
    }
    ok = ok && WriteTarget(target, m_view.GetText());
    if (ok) {
        SetModifiedFlag(false);
        SetPathName(target, true);
    }
    m_strSaveDir = m_strCurrentDir;
    UseRememberedDir(EDir::Open);
    return ok;
}

bool CDocument::OnFileExport()
{
    if (!m_pExtractor)
        return false;
    // A stored format that Export does not offer starts on the first one.
    std::size_t index = 0;
    if (const auto stored =
            FindOutputFormat(m_profile.GetProfileString(kSettingsSection, kExportFormat, ""))) {
        const auto it = std::find(kExportFormats.begin(), kExportFormats.end(), *stored);
        if (it != kExportFormats.end())
            index = static_cast<std::size_t>(it - kExportFormats.begin());
    }
    std::string dir = m_profile.GetProfileString(kSettingsSection, kExportDir, "");
    std::error_code ec;
    if (dir.empty() || !std::filesystem::is_directory(PathFromName(dir), ec))
        dir = m_strCurrentDir;

    CFileRequest request;
    request.bSave = true;
    request.strCaption = LoadString(IDS_SHELL_EXPORT_CAPTION);
    request.strNote = LoadString(IDS_SHELL_EXPORT_NOTE);
    request.strStartDir = dir;
    request.strProposedName =
        InFolder(dir, m_strDumpName + GetOutputExtension(kExportFormats[index]));
    for (const EOutputFormat format : kExportFormats)
        request.filters.push_back(FilterOf(GetOutputFilter(format), {GetOutputExtension(format)}));
    request.nFilter = index;
    std::string target = m_prompt.FileName(request);
    if (target.empty())
        return false;
    const EOutputFormat format =
        kExportFormats[request.nFilter < kExportFormats.size() ? request.nFilter : index];
    // As the dialog does with its default suffix.
    if (FileNameOf(target).find('.') == std::string::npos)
        target += GetOutputExtension(format);

    std::vector<std::string> left;
    const auto text = MakeText(format, &left);
    if (!text || !WriteTarget(target, *text))
        return false;
    m_profile.WriteProfileString(kSettingsSection, kExportDir, FolderOf(target));
    m_profile.WriteProfileString(kSettingsSection, kExportFormat,
                                 GetOutputExtension(format).substr(1));
    if (!left.empty()) {
        std::string lines;
        for (const std::string& line : left)
            lines += (lines.empty() ? "" : "\n") + line;
        m_prompt.Message(EBox::Warning, lines);
    }
    return true;
}

bool CDocument::WriteTarget(const std::string& path, const std::string& bytes)
{
    // The converter's rules: a new text replaces the old file only once it
    // is complete, devices are written directly, links are followed, and
    // read-only files are refused.
    if (const auto reason = WriteOutputFile(path, bytes)) {
        m_prompt.Message(EBox::Warning, Format(IDS_SHELL_CANNOT_SAVE, path, *reason));
        return false;
    }
    return true;
}

}  // namespace bankwise
