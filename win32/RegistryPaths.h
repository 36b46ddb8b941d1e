// File and folder names in the program's registry key as Windows keeps
// them, UTF-16 REG_SZ values, so the recent-file list and the remembered
// folders read as paths in any registry tool and any name survives. (The
// profile's texts cross to the registry byte for byte, for the naming
// patterns; a path is no such text.)
#pragma once

#include <string>

namespace bankwise {

class CRegistryPaths
{
public:
    // keyPath under HKEY_CURRENT_USER, as the profile's.
    explicit CRegistryPaths(std::wstring keyPath) : m_keyPath(std::move(keyPath)) {}

    // Empty when the value is absent or is no text.
    std::wstring Read(const std::wstring& section, const std::wstring& entry) const;
    bool Write(const std::wstring& section, const std::wstring& entry, const std::wstring& value);

private:
    std::wstring m_keyPath;
};

}  // namespace bankwise
