// The persistent per-user settings that the desktop program and the
// converter share, kept with QSettings: organisation "Orvane", application
// "Bankwise" (on Linux ~/.config/Orvane/Bankwise.conf). One group per
// section; the family sections are named by display names such as
// "E-MU Orbit/Phatt/Caranaval", so names are escaped before they reach
// QSettings, which would otherwise split them at '/' and '\'.
#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Profile.h"

class QSettings;

namespace bankwise {

// A section or entry name as one QSettings key component: '%', '/' and '\'
// become "%25", "%2F" and "%5C", so no name is split into nested groups and
// no two names share a key.
std::string EscapeSettingsName(std::string_view name);
// The inverse, for names read back from childGroups() or childKeys().
std::string UnescapeSettingsName(std::string_view escaped);
// The QSettings key of an entry in a section. Texts are single bytes, so
// they cross to QString as Latin-1 and every byte comes back unchanged.
QString SettingsKey(const std::string& section, const std::string& entry);

class CSettingsProfile final : public IProfile
{
public:
    // The user's own settings store.
    CSettingsProfile();
    // An INI file at path (tests, portable installs).
    explicit CSettingsProfile(const std::string& iniPath);
    ~CSettingsProfile() override;
    CSettingsProfile(const CSettingsProfile&) = delete;
    CSettingsProfile& operator=(const CSettingsProfile&) = delete;

    std::string GetProfileString(const std::string& section, const std::string& entry,
                                 const std::string& def) const override;
    int GetProfileInt(const std::string& section, const std::string& entry, int def) const override;
    // Both write through to the store at once and report whether it took.
    bool WriteProfileString(const std::string& section, const std::string& entry,
                            const std::string& value) override;
    bool WriteProfileInt(const std::string& section, const std::string& entry, int value) override;

private:
    std::unique_ptr<QSettings> m_settings;
};

// A settings file larger than this is no settings file: reading it would
// cost its whole size in time and memory.
inline constexpr std::uintmax_t kMaxSettingsFileSize = std::uintmax_t{1} << 20;

// Every file the user's own store reads when it is opened: the program's
// and the organisation's, the user's first and then the system's.
std::vector<std::string> UserSettingsFiles();

// The warning for the first of files that exists but is not a regular file
// (a FIFO would block the reader for ever) or is larger than
// kMaxSettingsFileSize; nothing when all of them may be read.
std::optional<std::string> CheckSettingsFiles(const std::vector<std::string>& files);

// The user's own store for a program that only reads it (the converter):
// opened when a setting is first read, after its files have passed
// CheckSettingsFiles. When one fails, warn is called once with the warning
// and every read gives its default. Writes are refused.
class CSettingsOnDemand final : public IProfile
{
public:
    explicit CSettingsOnDemand(std::function<void(const std::string&)> warn);
    ~CSettingsOnDemand() override;
    CSettingsOnDemand(const CSettingsOnDemand&) = delete;
    CSettingsOnDemand& operator=(const CSettingsOnDemand&) = delete;

    std::string GetProfileString(const std::string& section, const std::string& entry,
                                 const std::string& def) const override;
    int GetProfileInt(const std::string& section, const std::string& entry, int def) const override;
    bool WriteProfileString(const std::string& section, const std::string& entry,
                            const std::string& value) override;
    bool WriteProfileInt(const std::string& section, const std::string& entry, int value) override;

private:
    // The store, or null when its files failed the check.
    const IProfile* Store() const;

    std::function<void(const std::string&)> m_warn;
    mutable bool m_bOpened = false;
    mutable std::unique_ptr<CSettingsProfile> m_pStore;
};

}  // namespace bankwise
