#include "SettingsProfile.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QVariant>

#include <filesystem>
#include <optional>
#include <system_error>

#include "SafeFormat.h"
#include "StringTable.h"
#include "UserSettings.h"

namespace bankwise {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

QString FromBytes(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToBytes(const QString& text)
{
    const QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// What the store holds for key, or nothing when the entry is absent. A list
// can only come from a hand-edited file (an unquoted value with commas);
// it is read back as the text that was typed, give or take blanks.
std::optional<QString> ReadText(const QSettings& settings, const QString& key)
{
    const QVariant value = settings.value(key);
    if (!value.isValid())
        return std::nullopt;
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

}  // namespace

std::string EscapeSettingsName(std::string_view name)
{
    std::string escaped;
    escaped.reserve(name.size());
    for (const char c : name) {
        if (c == '%' || c == '/' || c == '\\') {
            const auto byte = static_cast<unsigned char>(c);
            escaped += '%';
            escaped += kHexDigits[byte >> 4];
            escaped += kHexDigits[byte & 0x0F];
        } else {
            escaped += c;
        }
    }
    return escaped;
}

std::string UnescapeSettingsName(std::string_view escaped)
{
    std::string name;
    name.reserve(escaped.size());
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        if (escaped[i] == '%' && i + 2 < escaped.size() && HexValue(escaped[i + 1]) >= 0 &&
            HexValue(escaped[i + 2]) >= 0) {
            name += static_cast<char>(HexValue(escaped[i + 1]) * 16 + HexValue(escaped[i + 2]));
            i += 2;
        } else {
            name += escaped[i];
        }
    }
    return name;
}

QString SettingsKey(const std::string& section, const std::string& entry)
{
    return FromBytes(EscapeSettingsName(section)) + QLatin1Char('/') +
           FromBytes(EscapeSettingsName(entry));
}

CSettingsProfile::CSettingsProfile()
    : m_settings(
          std::make_unique<QSettings>(QString::fromLatin1(LoadString(IDS_REGISTRY_COMPANY).c_str()),
                                      QString::fromLatin1(LoadString(AFX_IDS_APP_TITLE).c_str())))
{}

CSettingsProfile::CSettingsProfile(const std::string& iniPath)
    : m_settings(std::make_unique<QSettings>(
          QFile::decodeName(QByteArray(iniPath.data(), static_cast<qsizetype>(iniPath.size()))),
          QSettings::IniFormat))
{}

CSettingsProfile::~CSettingsProfile() = default;

std::string CSettingsProfile::GetProfileString(const std::string& section, const std::string& entry,
                                               const std::string& def) const
{
    const std::optional<QString> text = ReadText(*m_settings, SettingsKey(section, entry));
    return text ? ToBytes(*text) : def;
}

int CSettingsProfile::GetProfileInt(const std::string& section, const std::string& entry,
                                    int def) const
{
    const std::optional<QString> text = ReadText(*m_settings, SettingsKey(section, entry));
    if (!text)
        return def;
    bool ok = false;
    const int value = text->toInt(&ok);
    return ok ? value : def;
}

bool CSettingsProfile::WriteProfileString(const std::string& section, const std::string& entry,
                                          const std::string& value)
{
    m_settings->setValue(SettingsKey(section, entry), FromBytes(value));
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

bool CSettingsProfile::WriteProfileInt(const std::string& section, const std::string& entry,
                                       int value)
{
    m_settings->setValue(SettingsKey(section, entry), value);
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

std::vector<std::string> UserSettingsFiles()
{
    const std::string organization = LoadString(IDS_REGISTRY_COMPANY);
    const std::string application = LoadString(AFX_IDS_APP_TITLE);
    std::vector<std::string> files;
    // The folders, in order, that the store itself looks in.
    for (const QString& folder :
         QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation)) {
        const QByteArray base = QFile::encodeName(folder);
        const std::string path(base.constData(), static_cast<std::size_t>(base.size()));
        files.push_back(path + '/' + organization + '/' + application + ".conf");
        files.push_back(path + '/' + organization + ".conf");
    }
    return files;
}

std::optional<std::string> CheckSettingsFiles(const std::vector<std::string>& files)
{
    namespace fs = std::filesystem;
    for (const std::string& file : files) {
        std::error_code ec;
        const fs::file_status status = fs::status(file, ec);
        if (!fs::exists(status))
            continue;
        const bool regular = fs::is_regular_file(status);
        if (regular && (fs::file_size(file, ec) <= kMaxSettingsFileSize || ec))
            continue;
        const StringId problem = regular ? IDS_SETTINGS_TOO_LARGE : IDS_SETTINGS_NOT_REGULAR;
        return SafeFormat(LoadString(IDS_SETTINGS_IGNORED),
                          {FormatArg::Text(file), FormatArg::Text(LoadString(problem))});
    }
    return std::nullopt;
}

CSettingsOnDemand::CSettingsOnDemand(std::function<void(const std::string&)> warn)
    : m_warn(std::move(warn))
{}

CSettingsOnDemand::~CSettingsOnDemand() = default;

const IProfile* CSettingsOnDemand::Store() const
{
    if (!m_bOpened) {
        m_bOpened = true;
        if (const auto warning = CheckSettingsFiles(UserSettingsFiles())) {
            if (m_warn)
                m_warn(*warning);
        } else {
            m_pStore = std::make_unique<CSettingsProfile>();
        }
    }
    return m_pStore.get();
}

std::string CSettingsOnDemand::GetProfileString(const std::string& section,
                                                const std::string& entry,
                                                const std::string& def) const
{
    const IProfile* store = Store();
    return store != nullptr ? store->GetProfileString(section, entry, def) : def;
}

int CSettingsOnDemand::GetProfileInt(const std::string& section, const std::string& entry,
                                     int def) const
{
    const IProfile* store = Store();
    return store != nullptr ? store->GetProfileInt(section, entry, def) : def;
}

bool CSettingsOnDemand::WriteProfileString(const std::string&, const std::string&,
                                           const std::string&)
{
    return false;
}

bool CSettingsOnDemand::WriteProfileInt(const std::string&, const std::string&, int)
{
    return false;
}

std::unique_ptr<IProfile> OpenUserSettingsForReading(std::function<void(const std::string&)> warn)
{
    return std::make_unique<CSettingsOnDemand>(std::move(warn));
}

}  // namespace bankwise
