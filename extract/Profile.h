// Per-user settings as the extractors and the options see them: texts and
// numbers by section and entry, each read with a default. The desktop
// program and the converter supply a persistent store; tests use the
// in-memory one.
#pragma once

#include <map>
#include <string>
#include <utility>

namespace bankwise {

// Names in the store that more than one reader or writer spells: the
// family sections' entries (extractors, options dialog, the converter's
// overrides) and the desktop program's own section.
inline constexpr const char* kEntryDefinition = "Definition";
inline constexpr const char* kEntryBankFormat = "BankFormat";
inline constexpr const char* kEntryInstrFormat = "InstrFormat";
inline constexpr const char* kSettingsSection = "Settings";
inline constexpr const char* kEntryShowOptions = "ShowOptions";

class IProfile
{
public:
    virtual ~IProfile() = default;

    // An entry that is present but empty yields the empty text, not def.
    virtual std::string GetProfileString(const std::string& section, const std::string& entry,
                                         const std::string& def) const = 0;
    virtual int GetProfileInt(const std::string& section, const std::string& entry,
                              int def) const = 0;
    virtual bool WriteProfileString(const std::string& section, const std::string& entry,
                                    const std::string& value) = 0;
    virtual bool WriteProfileInt(const std::string& section, const std::string& entry,
                                 int value) = 0;
};

class CMemoryProfile : public IProfile
{
public:
    std::string GetProfileString(const std::string& section, const std::string& entry,
                                 const std::string& def) const override;
    int GetProfileInt(const std::string& section, const std::string& entry, int def) const override;
    bool WriteProfileString(const std::string& section, const std::string& entry,
                            const std::string& value) override;
    bool WriteProfileInt(const std::string& section, const std::string& entry, int value) override;

private:
    std::map<std::pair<std::string, std::string>, std::string> m_values;
};

}  // namespace bankwise
