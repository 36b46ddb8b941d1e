#include "Profile.h"

#include <charconv>

namespace bankwise {

std::string CMemoryProfile::GetProfileString(const std::string& section, const std::string& entry,
                                             const std::string& def) const
{
    const auto it = m_values.find({section, entry});
    return it == m_values.end() ? def : it->second;
}

int CMemoryProfile::GetProfileInt(const std::string& section, const std::string& entry,
                                  int def) const
{
    const auto it = m_values.find({section, entry});
    if (it == m_values.end())
        return def;
    int value = 0;
    const std::string& text = it->second;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size())
        return def;
    return value;
}

bool CMemoryProfile::WriteProfileString(const std::string& section, const std::string& entry,
                                        const std::string& value)
{
    m_values[{section, entry}] = value;
    return true;
}

bool CMemoryProfile::WriteProfileInt(const std::string& section, const std::string& entry,
                                     int value)
{
    m_values[{section, entry}] = std::to_string(value);
    return true;
}

}  // namespace bankwise
