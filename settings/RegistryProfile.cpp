#include "RegistryProfile.h"

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "FileNames.h"
#include "SafeFormat.h"
#include "StringTable.h"
#include "UserSettings.h"
#include "WindowsApi.h"

namespace bankwise {
namespace {

std::wstring Widen(const std::string& text)
{
    std::wstring wide;
    wide.reserve(text.size());
    for (const char c : text)
        wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return wide;
}

// The text as single bytes, or nothing when a character has no byte.
std::optional<std::string> Narrow(const std::wstring& wide)
{
    std::string text;
    text.reserve(wide.size());
    for (const wchar_t c : wide) {
        if (static_cast<std::uint32_t>(c) > 0xFF)
            return std::nullopt;
        text += static_cast<char>(c);
    }
    return text;
}

// The entries that hold file names: the desktop program's recent-file list
// and remembered folders. They are UTF-16 in the registry as Windows keeps
// any path (so other tools, and lists stored before, read as names) and
// UTF-8 for the program, as every file name it carries.
bool HoldsFileName(const std::string& section, const std::string& entry)
{
    return section == "Recent File List" ||
           (section == "Settings" &&
            (entry == "OpenDir" || entry == "SaveDir" || entry == "ExportDir"));
}

class CKey
{
public:
    CKey() = default;
    CKey(const CKey&) = delete;
    CKey& operator=(const CKey&) = delete;
    ~CKey()
    {
        if (m_key != nullptr)
            RegCloseKey(m_key);
    }
    HKEY* Out() { return &m_key; }
    HKEY Get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

// What a value read gives: nothing stored, the value, or why it is not usable.
struct CValue
{
    enum class EState { Absent, Present, Unusable } state = EState::Absent;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    std::string reason;
    bool wholeKey = false;  // the section's key could not be opened
};

CValue ReadValue(const std::wstring& sectionKey, const std::string& entry, DWORD maxBytes)
{
    CValue value;
    CKey key;
    LSTATUS status =
        RegOpenKeyExW(HKEY_CURRENT_USER, sectionKey.c_str(), 0, KEY_QUERY_VALUE, key.Out());
    if (status == ERROR_FILE_NOT_FOUND)
        return value;
    const std::wstring name = Widen(entry);
    DWORD size = 0;
    value.wholeKey = status != ERROR_SUCCESS;
    if (status == ERROR_SUCCESS)
        status = RegQueryValueExW(key.Get(), name.c_str(), nullptr, &value.type, nullptr, &size);
    if (status == ERROR_FILE_NOT_FOUND)
        return value;
    value.state = CValue::EState::Unusable;
    if (status != ERROR_SUCCESS) {
        value.reason = WindowsErrorReason(static_cast<unsigned long>(status));
        return value;
    }
    if (size > maxBytes) {
        value.reason = LoadString(IDS_REGISTRY_TOO_LONG);
        return value;
    }
    value.data.resize(size);
    // A value that grew since it was measured is read as too long.
    status =
        RegQueryValueExW(key.Get(), name.c_str(), nullptr, &value.type, value.data.data(), &size);
    if (status == ERROR_MORE_DATA) {
        value.reason = LoadString(IDS_REGISTRY_TOO_LONG);
        return value;
    }
    if (status != ERROR_SUCCESS) {
        value.reason = WindowsErrorReason(static_cast<unsigned long>(status));
        return value;
    }
    value.data.resize(size);
    value.state = CValue::EState::Present;
    return value;
}

// The read-only face the converter uses: writes never reach the registry.
class CReadOnlyRegistry final : public IProfile
{
public:
    explicit CReadOnlyRegistry(CRegistryProfile::Warn warn) : m_store(std::move(warn)) {}

    std::string GetProfileString(const std::string& section, const std::string& entry,
                                 const std::string& def) const override
    {
        return m_store.GetProfileString(section, entry, def);
    }
    int GetProfileInt(const std::string& section, const std::string& entry, int def) const override
    {
        return m_store.GetProfileInt(section, entry, def);
    }
    bool WriteProfileString(const std::string&, const std::string&, const std::string&) override
    {
        return false;
    }
    bool WriteProfileInt(const std::string&, const std::string&, int) override { return false; }

private:
    CRegistryProfile m_store;
};

}  // namespace

std::wstring UserSettingsKeyPath()
{
    return L"Software\\" + Widen(LoadString(IDS_REGISTRY_COMPANY)) + L"\\" +
           Widen(LoadString(AFX_IDS_APP_TITLE));
}

CRegistryProfile::CRegistryProfile(Warn warn)
    : CRegistryProfile(UserSettingsKeyPath(), std::move(warn))
{}

CRegistryProfile::CRegistryProfile(std::wstring keyPath, Warn warn)
    : m_keyPath(std::move(keyPath)), m_warn(std::move(warn))
{}

void CRegistryProfile::Warning(const std::string& section, const std::string& entry,
                               const std::string& reason) const
{
    const std::optional<std::string> key = Narrow(m_keyPath);
    // A key that cannot be opened is told of once, not for each value in it.
    const std::string name = "HKEY_CURRENT_USER\\" + key.value_or("?") + "\\" + section +
                             (entry.empty() ? "" : "\\" + entry);
    if (!m_warn || !m_warned.insert(name).second)
        return;
    m_warn(
        SafeFormat(LoadString(entry.empty() ? IDS_REGISTRY_KEY_UNREADABLE : IDS_REGISTRY_IGNORED),
                   {FormatArg::Text(name), FormatArg::Text(reason)}));
}

std::string CRegistryProfile::GetProfileString(const std::string& section, const std::string& entry,
                                               const std::string& def) const
{
    // Room for the longest text and its terminator.
    constexpr DWORD kMaxBytes = (kMaxRegistryText + 1) * sizeof(wchar_t);
    CValue value = ReadValue(m_keyPath + L"\\" + Widen(section), entry, kMaxBytes);
    if (value.state == CValue::EState::Present && value.type != REG_SZ) {
        value.state = CValue::EState::Unusable;
        value.reason = LoadString(IDS_REGISTRY_NOT_TEXT);
    }
    if (value.state == CValue::EState::Present && value.data.size() % sizeof(wchar_t) != 0) {
        value.state = CValue::EState::Unusable;
        value.reason = LoadString(IDS_REGISTRY_NOT_TEXT);
    }
    if (value.state == CValue::EState::Absent)
        return def;
    if (value.state == CValue::EState::Unusable) {
        Warning(section, value.wholeKey ? std::string() : entry, value.reason);
        return def;
    }
    std::wstring wide(value.data.size() / sizeof(wchar_t), L'\0');
    std::memcpy(wide.data(), value.data.data(), value.data.size());
    // The terminator is stored with the text, but need not be.
    if (!wide.empty() && wide.back() == L'\0')
        wide.pop_back();
    if (wide.size() > kMaxRegistryText) {
        Warning(section, entry, LoadString(IDS_REGISTRY_TOO_LONG));
        return def;
    }
    if (HoldsFileName(section, entry))
        return NameOfPath(std::filesystem::path(wide));
    std::optional<std::string> text = Narrow(wide);
    if (!text) {
        Warning(section, entry, LoadString(IDS_REGISTRY_NOT_LATIN1));
        return def;
    }
    return std::move(*text);
}

int CRegistryProfile::GetProfileInt(const std::string& section, const std::string& entry,
                                    int def) const
{
    const CValue value = ReadValue(m_keyPath + L"\\" + Widen(section), entry, sizeof(DWORD));
    if (value.state == CValue::EState::Absent)
        return def;
    if (value.state == CValue::EState::Unusable && value.wholeKey) {
        Warning(section, {}, value.reason);
        return def;
    }
    if (value.state == CValue::EState::Unusable) {
        // A text in place of a number is the wrong type, however long it is.
        Warning(section, entry,
                value.type == REG_DWORD ? value.reason : LoadString(IDS_REGISTRY_NOT_NUMBER));
        return def;
    }
    if (value.type != REG_DWORD || value.data.size() != sizeof(DWORD)) {
        Warning(section, entry, LoadString(IDS_REGISTRY_NOT_NUMBER));
        return def;
    }
    DWORD number = 0;
    std::memcpy(&number, value.data.data(), sizeof number);
    return static_cast<int>(number);
}

bool CRegistryProfile::WriteProfileString(const std::string& section, const std::string& entry,
                                          const std::string& value)
{
    if (value.size() > kMaxRegistryText)
        return false;
    CKey key;
    const std::wstring sectionKey = m_keyPath + L"\\" + Widen(section);
    if (RegCreateKeyExW(HKEY_CURRENT_USER, sectionKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, key.Out(), nullptr) != ERROR_SUCCESS)
        return false;
    const std::wstring wide =
        HoldsFileName(section, entry) ? PathFromName(value).native() : Widen(value);
    const std::wstring name = Widen(entry);
    const auto bytes = static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key.Get(), name.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(wide.c_str()), bytes) == ERROR_SUCCESS;
}

bool CRegistryProfile::WriteProfileInt(const std::string& section, const std::string& entry,
                                       int value)
{
    CKey key;
    const std::wstring sectionKey = m_keyPath + L"\\" + Widen(section);
    if (RegCreateKeyExW(HKEY_CURRENT_USER, sectionKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, key.Out(), nullptr) != ERROR_SUCCESS)
        return false;
    const auto number = static_cast<DWORD>(value);
    const std::wstring name = Widen(entry);
    return RegSetValueExW(key.Get(), name.c_str(), 0, REG_DWORD,
                          reinterpret_cast<const BYTE*>(&number), sizeof number) == ERROR_SUCCESS;
}

std::unique_ptr<IProfile> OpenUserSettingsForReading(std::function<void(const std::string&)> warn)
{
    return std::make_unique<CReadOnlyRegistry>(std::move(warn));
}

}  // namespace bankwise
