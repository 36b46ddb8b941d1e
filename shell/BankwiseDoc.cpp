#include "BankwiseDoc.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <new>
#include <system_error>

#include "BankwiseApp.h"
#include "BankwiseDocTemplate.h"
#include "BankwiseView.h"
#include "BusyGuard.h"
#include "Conversion.h"
#include "Detector.h"
#include "DocumentRules.h"
#include "OptionsDialog.h"
#include "OutputFile.h"
#include "OutputFormat.h"
#include "Profile.h"
#include "Prompt.h"
#include "SafeFormat.h"
#include "StringTable.h"

namespace bankwise {
namespace {

constexpr const char* kOpenDir = "OpenDir";
constexpr const char* kSaveDir = "SaveDir";
constexpr const char* kExportDir = "ExportDir";
constexpr const char* kExportFormat = "ExportFormat";  // the extension, without its dot

// What Export offers, in the order of its filters. Its .ins is made afresh
// from the dump, as the others are; Save writes the edited text.
constexpr std::array kExportFormats{EOutputFormat::Midnam, EOutputFormat::Reabank,
                                    EOutputFormat::Cubase, EOutputFormat::Rosegarden,
                                    EOutputFormat::Muse,   EOutputFormat::Ins};

QString Format(std::uint32_t id, const QString& first, const QString& second = {})
{
    const QByteArray a = first.toLocal8Bit();
    const QByteArray b = second.toLocal8Bit();
    return QString::fromLocal8Bit(SafeFormat(
        LoadString(id), {FormatArg::Text(a.toStdString()), FormatArg::Text(b.toStdString())}));
}

QString OutputFilter(EOutputFormat format)
{
    return QString::fromLatin1(GetOutputFilter(format).c_str());
}

QString OutputExtension(EOutputFormat format)
{
    return QString::fromLatin1(GetOutputExtension(format).c_str());
}

// Folders are kept in the store as the file system's own bytes.
std::string PathToProfile(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

QString PathFromProfile(const std::string& text)
{
    return QFile::decodeName(QByteArray::fromStdString(text));
}

}  // namespace

bool ReadDumpFile(const QString& pathName, std::vector<std::uint8_t>& bytes, QString& error)
{
    const QString name = QDir::toNativeSeparators(pathName);
    if (QFileInfo(pathName).isDir()) {
        error = Format(
            IDS_SHELL_CANNOT_READ, name,
            QString::fromStdString(std::make_error_code(std::errc::is_a_directory).message()));
        return false;
    }
    QFile file(pathName);
    if (!file.open(QIODevice::ReadOnly)) {
        error = Format(IDS_SHELL_CANNOT_READ, name, file.errorString());
        return false;
    }
    try {
        // Sequential files (pipes, devices) report no size; they are read in pieces.
        bytes.clear();
        if (!file.isSequential() && file.size() > 0)
            bytes.reserve(static_cast<std::size_t>(file.size()));
        char chunk[64 * 1024];
        for (;;) {
            const qint64 got = file.read(chunk, sizeof chunk);
            if (got < 0) {
                error = Format(IDS_SHELL_CANNOT_READ, name, file.errorString());
                return false;
            }
            if (got == 0)
                break;
            bytes.insert(bytes.end(), chunk, chunk + got);
        }
    } catch (const std::bad_alloc&) {
        bytes = {};
        error =
            Format(IDS_SHELL_CANNOT_READ, name, QString::fromLatin1(LoadString(IDS_OUT_OF_MEMORY)));
        return false;
    }
    return true;
}

CBankwiseDoc::CBankwiseDoc(CBankwiseApp& app, CBankwiseDocTemplate& docTemplate)
    : m_app(app), m_template(docTemplate), m_strTitle(LoadQString(IDS_SHELL_UNTITLED)),
      m_strCurrentDir(QDir::currentPath())
{}

CBankwiseDoc::~CBankwiseDoc() = default;

QWidget* CBankwiseDoc::Parent() const
{
    return m_app.MainWindow();
}

void CBankwiseDoc::SetTitle(const QString& title)
{
    m_strTitle = title;
    emit TitleChanged();
}

void CBankwiseDoc::SetPathName(const QString& pathName, bool bAddToMRU)
{
    const QFileInfo info(pathName);
    const CPathUse use = ClassifyPath(QFile::encodeName(info.fileName()).toStdString());
    const QString title = QFile::decodeName(QByteArray::fromStdString(use.strTitle));
    if (use.bBecomesPath) {
        m_strPathName = info.absoluteFilePath();
        SetTitle(title);
        return;
    }
    m_strPathName.clear();
    SetTitle(title);
    if (bAddToMRU)
        m_app.AddToRecentFileList(info.absoluteFilePath());
}

bool CBankwiseDoc::OnNewDocument()
{
    if (m_pView != nullptr)
        m_pView->ClearText();
    m_strPathName.clear();
    SetTitle(LoadQString(IDS_SHELL_UNTITLED));
    SetModifiedFlag(false);
    LoadRememberedDirs();
    return true;
}

void CBankwiseDoc::LoadRememberedDirs()
{
    const IProfile& profile = m_app.Profile();
    m_strOpenDir = PathFromProfile(profile.GetProfileString(kSettingsSection, kOpenDir, ""));
    m_strSaveDir = PathFromProfile(profile.GetProfileString(kSettingsSection, kSaveDir, ""));
    UseRememberedDir(EDir::Open);
}

void CBankwiseDoc::UseRememberedDir(EDir which)
{
    QString& dir = which == EDir::Open ? m_strOpenDir : m_strSaveDir;
    std::string remembered = PathToProfile(dir);
    std::string current = PathToProfile(m_strCurrentDir);
    bankwise::UseRememberedDir(remembered, current);
    dir = PathFromProfile(remembered);
    m_strCurrentDir = PathFromProfile(current);
}

bool CBankwiseDoc::OnOpenDocument(const QString& pathName)
{
    // The whole dump is read before anything changes, so a file that cannot
    // be read leaves title, text and extractor as they were.
    std::vector<std::uint8_t> bytes;
    QString error;
    if (!ReadDumpFile(pathName, bytes, error)) {
        m_app.Prompt().Message(Parent(), EBox::Warning, error);
        return false;
    }
    m_strOpenDir = m_strCurrentDir;
    // Whatever extractor the detection leaves behind is this dump's.
    m_strDumpName = QFileInfo(pathName).completeBaseName();
    const bool bMidiFile = IsMidiFileName(QFile::encodeName(pathName).toStdString());

    if (!DetectAndParse(bytes, bMidiFile))
        return false;
    if (m_app.Profile().GetProfileInt(kSettingsSection, kEntryShowOptions, 1) != 0 &&
        !RunOptionsDialog()) {
        DropExtractor();
        return false;
    }
    ConvertToView();
    SetModifiedFlag(false);
    // Said where it stays in sight, as the names that are there still count.
    QString status;
    const CDumpExtractor& e = *m_pExtractor;
    for (const std::string& note :
         DescribeNotes({e.m_bCutOff, e.m_nPassedOver, e.m_nBadChecksums})) {
        status += status.isEmpty() ? QFileInfo(pathName).fileName() + QStringLiteral(": ")
                                   : QStringLiteral("; ");
        status += QString::fromStdString(note);
    }
    emit StatusMessage(status);
    return true;
}

bool CBankwiseDoc::DetectAndParse(const std::vector<std::uint8_t>& dump, bool bMidiFile)
{
    // The previous dump's extractor goes before anything is read, so that a
    // failed open discards it too.
    m_pExtractor.reset();
    CConversion conversion = ConvertDump(dump, bMidiFile, m_app.Profile(), m_app.GetBusyHook());
    m_pExtractor = std::move(conversion.extractor);
    emit ExtractorChanged();
    if (!conversion.Succeeded())
        m_app.Prompt().Message(Parent(), EBox::Warning,
                               QString::fromLatin1(DescribeError(conversion.error).c_str()));
    return conversion.Succeeded();
}

bool CBankwiseDoc::RunOptionsDialog()
{
    COptionsDialog dlg(m_app.Profile(), m_pExtractor->m_nNameID, m_pExtractor->m_pszBankFormat,
                       m_pExtractor->m_pszInstrFormat, Parent());
    return m_app.Prompt().Exec(dlg) == QDialog::Accepted;
}

void CBankwiseDoc::ConvertToView()
{
    if (m_pView->IsUserChanged() &&
        m_app.Prompt().Message(Parent(), EBox::OkCancel, LoadQString(IDS_MODIFICATIONS_LOST)) !=
            EAnswer::Ok)
        return;
    const CBusyGuard busy(m_app.GetBusyHook());
    if (const auto text = MakeText(EOutputFormat::Ins, nullptr))
        m_pView->SetTextBytes(*text);
}

std::optional<std::string> CBankwiseDoc::MakeText(EOutputFormat format,
                                                  std::vector<std::string>* left)
{
    std::string text;
    try {
        text.reserve(16 * 1024);
        WriteOutput(*m_pExtractor, format, text, left);
    } catch (const std::bad_alloc&) {
        m_app.Prompt().Message(Parent(), EBox::Warning, LoadQString(IDS_OUT_OF_MEMORY));
        return std::nullopt;
    }
    return text;
}

void CBankwiseDoc::OnViewOptions()
{
    if (m_pExtractor && RunOptionsDialog())
        ConvertToView();
}

void CBankwiseDoc::DropExtractor()
{
    m_pExtractor.reset();
    emit ExtractorChanged();
}

bool CBankwiseDoc::SaveModified()
{
    if (!IsModified())
        return true;
    switch (m_app.Prompt().Message(Parent(), EBox::YesNoCancel,
                                   Format(IDS_SHELL_ASK_TO_SAVE, m_strTitle))) {
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
    IProfile& profile = m_app.Profile();
    profile.WriteProfileString(kSettingsSection, kOpenDir, PathToProfile(m_strOpenDir));
    profile.WriteProfileString(kSettingsSection, kSaveDir, PathToProfile(m_strSaveDir));
    DropExtractor();
    return true;
}

bool CBankwiseDoc::OnFileSave()
{
    m_template.m_bSaveMode = true;
    UseRememberedDir(EDir::Save);
    const bool ok = DoSave(m_strPathName);
    m_template.m_bSaveMode = false;
    m_strSaveDir = m_strCurrentDir;
    UseRememberedDir(EDir::Open);
    return ok;
}

bool CBankwiseDoc::OnFileSaveAs()
{
    m_template.m_bSaveMode = true;
    UseRememberedDir(EDir::Save);
    const bool ok = DoSave({});
    m_template.m_bSaveMode = false;
    m_strSaveDir = m_strCurrentDir;
    UseRememberedDir(EDir::Open);
    return ok;
}

bool CBankwiseDoc::DoSave(const QString& pathName)
{
    QString target = pathName;
    if (target.isEmpty()) {
        CFileRequest request = m_template.MakeFileRequest(true);
        request.startDir = m_strCurrentDir;
        request.proposedName =
            QDir(m_strCurrentDir)
                .filePath(QFile::decodeName(QByteArray::fromStdString(
                    ProposedSaveName(QFile::encodeName(m_strTitle).toStdString()))));
        target = m_app.Prompt().FileName(Parent(), request);
        if (target.isEmpty())
            return false;
        m_strCurrentDir = QFileInfo(target).absolutePath();
    }
    if (!OnSaveDocument(target))
        return false;
    SetPathName(target, true);
    return true;
}

bool CBankwiseDoc::OnSaveDocument(const QString& pathName)
{
    if (!WriteTarget(pathName, m_pView->GetTextBytes()))
        return false;
    SetModifiedFlag(false);
    return true;
}

bool CBankwiseDoc::OnFileExport()
{
    if (!m_pExtractor)
        return false;
    IProfile& profile = m_app.Profile();
    // A stored format that Export does not offer starts on the first one.
    EOutputFormat format = kExportFormats.front();
    if (const auto stored =
            FindOutputFormat(profile.GetProfileString(kSettingsSection, kExportFormat, ""));
        stored &&
        std::find(kExportFormats.begin(), kExportFormats.end(), *stored) != kExportFormats.end())
        format = *stored;
    QString dir = PathFromProfile(profile.GetProfileString(kSettingsSection, kExportDir, ""));
    if (dir.isEmpty() || !QFileInfo(dir).isDir())
        dir = m_strCurrentDir;

    CFileRequest request;
    request.save = true;
    request.caption = LoadQString(IDS_SHELL_EXPORT_CAPTION);
    request.note = LoadQString(IDS_SHELL_EXPORT_NOTE);
    request.startDir = dir;
    request.proposedName = QDir(dir).filePath(m_strDumpName + OutputExtension(format));
    request.filterName = OutputFilter(kExportFormats.front());
    request.patterns = {QLatin1Char('*') + OutputExtension(kExportFormats.front())};
    request.defaultSuffix = OutputExtension(kExportFormats.front()).mid(1);
    for (std::size_t i = 1; i < kExportFormats.size(); ++i)
        request.moreFilters.append(OutputFilter(kExportFormats[i]));
    QString filter = OutputFilter(format);
    request.selectedFilter = &filter;
    QString target = m_app.Prompt().FileName(Parent(), request);
    if (target.isEmpty())
        return false;
    for (const EOutputFormat offered : kExportFormats) {
        if (filter == OutputFilter(offered))
            format = offered;
    }
    // As the dialog does with its default suffix.
    if (!QFileInfo(target).fileName().contains(QLatin1Char('.')))
        target += OutputExtension(format);

    std::vector<std::string> left;
    const auto text = MakeText(format, &left);
    if (!text || !WriteTarget(target, *text))
        return false;
    profile.WriteProfileString(kSettingsSection, kExportDir,
                               PathToProfile(QFileInfo(target).absolutePath()));
    profile.WriteProfileString(kSettingsSection, kExportFormat,
                               GetOutputExtension(format).substr(1));
    if (!left.empty()) {
        // The writers' messages hold the names as they wrote them, in UTF-8.
        QStringList lines;
        for (const std::string& line : left)
            lines.append(QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size())));
        m_app.Prompt().Message(Parent(), EBox::Warning, lines.join(QLatin1Char('\n')));
    }
    return true;
}

bool CBankwiseDoc::WriteTarget(const QString& pathName, const std::string& bytes)
{
    // The converter's rules: a new text replaces the old file only once it
    // is complete, devices are written directly, links are followed, and
    // read-only files are refused.
    const auto reason = WriteOutputFile(QFile::encodeName(pathName).toStdString(), bytes);
    if (reason) {
        m_app.Prompt().Message(Parent(), EBox::Warning,
                               Format(IDS_SHELL_CANNOT_SAVE, QDir::toNativeSeparators(pathName),
                                      QString::fromLocal8Bit(reason->c_str())));
        return false;
    }
    return true;
}

}  // namespace bankwise
