// The settings store on Windows: the registry key the program has always
// used, HKEY_CURRENT_USER\Software\Orvane\Bankwise. Each section is a
// subkey named by the section itself, so the '/' in "Roland JV/XP" is part
// of a key name and nests nothing; texts are REG_SZ, numbers REG_DWORD.
// The desktop program and the converter share it.
//
// Texts are single bytes in the core and cross to the registry's UTF-16 as
// Latin-1, so every byte 1-255 comes back unchanged; the entries that hold
// file names (the recent-file list, the remembered folders) are UTF-8 names
// stored as the UTF-16 paths they are. A value that cannot
// be used (a number stored as text, a text longer than kMaxRegistryText,
// characters beyond Latin-1, a key that may not be read) reads its default,
// and the warning callback hears of it once per value.
#pragma once

#include <cstddef>
#include <functional>
#include <set>
#include <string>

#include "Profile.h"

namespace bankwise {

inline constexpr std::size_t kMaxRegistryText = 32767;

class CRegistryProfile final : public IProfile
{
public:
    using Warn = std::function<void(const std::string&)>;

    // The program's own key.
    explicit CRegistryProfile(Warn warn = {});
    // keyPath under HKEY_CURRENT_USER, such as L"Software\\Orvane\\Bankwise"
    // (tests point it at a scratch key).
    explicit CRegistryProfile(std::wstring keyPath, Warn warn = {});

    std::string GetProfileString(const std::string& section, const std::string& entry,
                                 const std::string& def) const override;
    int GetProfileInt(const std::string& section, const std::string& entry, int def) const override;
    // Both create the section when needed and report whether the value took.
    bool WriteProfileString(const std::string& section, const std::string& entry,
                            const std::string& value) override;
    bool WriteProfileInt(const std::string& section, const std::string& entry, int value) override;

    const std::wstring& KeyPath() const { return m_keyPath; }

private:
    void Warning(const std::string& section, const std::string& entry,
                 const std::string& reason) const;

    std::wstring m_keyPath;
    Warn m_warn;
    mutable std::set<std::string> m_warned;  // the values already warned about
};

// The registry key path of the program's settings, under HKEY_CURRENT_USER.
std::wstring UserSettingsKeyPath();

}  // namespace bankwise
