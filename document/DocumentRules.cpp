#include "DocumentRules.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <memory>
#include <system_error>

#include "DumpExtractor.h"
#include "Families.h"
#include "FileNames.h"
#include "SafeFormat.h"
#include "StringTable.h"

namespace bankwise {

COptionsValues LoadOptions(const IProfile& profile, std::uint32_t nNameID,
                           const char* pszBankFormat, const char* pszInstrFormat)
{
    const std::string name = LoadString(nNameID);
    COptionsValues values;
    values.strDefinition = profile.GetProfileString(name, kEntryDefinition, name);
    values.strBankFormat = profile.GetProfileString(name, kEntryBankFormat,
                                                    pszBankFormat != nullptr ? pszBankFormat : "");
    values.strInstrFormat = profile.GetProfileString(
        name, kEntryInstrFormat, pszInstrFormat != nullptr ? pszInstrFormat : "");
    values.bShowOptions = profile.GetProfileInt(kSettingsSection, kEntryShowOptions, 1);
    return values;
}

void StoreOptions(IProfile& profile, std::uint32_t nNameID, const COptionsValues& values)
{
    const std::string name = LoadString(nNameID);
    profile.WriteProfileString(name, kEntryDefinition, values.strDefinition);
    profile.WriteProfileString(name, kEntryBankFormat, values.strBankFormat);
    profile.WriteProfileString(name, kEntryInstrFormat, values.strInstrFormat);
    profile.WriteProfileInt(kSettingsSection, kEntryShowOptions, values.bShowOptions);
}

COptionsPreview MakeOptionsPreview(std::uint32_t nNameID, const std::string& definition,
                                   const std::string& bankFormat, const std::string& instrFormat)
{
    // The typed values, as the family's writer would read them once stored.
    CMemoryProfile typed;
    StoreOptions(typed, nNameID, {definition, bankFormat, instrFormat, 1});
    CDefinition sample;
    if (const CFamily* family = FindFamily(nNameID)) {
        const std::unique_ptr<CDumpExtractor> extractor = family->create();
        extractor->SetProfile(typed);
        const std::string names[] = {"XXX", "YYY"};
        extractor->StoreSampleNames(names);
        sample = extractor->MakeDefinition();
    }

    std::string bankName;
    std::string prefixes[2];
    std::int32_t bankNumber = 0;
    std::string definitionName = definition;
    if (!sample.banks.empty()) {
        const CBankNames& bank = sample.banks.front();
        bankName = bank.title;
        bankNumber = bank.number;
        for (std::size_t i = 0; i < 2 && i < bank.patches.size(); ++i)
            prefixes[i] = bank.patches[i].prefix;
    }
    if (!sample.instruments.empty())
        definitionName = sample.instruments.front().name;

    COptionsPreview preview;
    preview.text = SafeFormat(LoadString(IDS_OPTIONS_PREVIEW),
                              {FormatArg::Text(bankName), FormatArg::Text(prefixes[0]),
                               FormatArg::Text(prefixes[1]), FormatArg::Text(definitionName),
                               FormatArg::Int(bankNumber), FormatArg::Text(bankName)});
    preview.okEnabled = !definition.empty() && !bankName.empty();
    return preview;
}

void AddRecentFile(std::vector<std::string>& list, const std::string& path)
{
    std::erase_if(list, [&path](const std::string& entry) { return SameFileName(entry, path); });
    list.insert(list.begin(), path);
    if (list.size() > kMaxRecentFiles)
        list.resize(kMaxRecentFiles);
}

CPathUse ClassifyPath(std::string_view path)
{
    const auto separator = path.find_last_of("/\\");
    const std::string_view name =
        separator == std::string_view::npos ? path : path.substr(separator + 1);
    const auto dot = name.rfind('.');
    std::string ext(dot == std::string_view::npos ? std::string_view() : name.substr(dot));
    std::string ins = LoadString(IDS_INSTRUMENT_EXT);
    const auto upper = [](std::string& text) {
        std::transform(text.begin(), text.end(), text.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    };
    upper(ext);
    upper(ins);
    CPathUse use;
    use.bBecomesPath = ext == ins;
    use.strTitle =
        std::string(use.bBecomesPath || dot == std::string_view::npos ? name : name.substr(0, dot));
    return use;
}

void UseRememberedDir(std::string& remembered, std::string& current)
{
    if (remembered.empty())
        return;
    std::error_code ec;
    // Through the UTF-8 name: a plain std::string would be read in the ANSI
    // code page on Windows, and a folder outside it would be forgotten.
    if (std::filesystem::exists(PathFromName(remembered), ec))
        current = remembered;
    else
        remembered.clear();
}

std::string ProposedSaveName(const std::string& title)
{
    const std::string ext = LoadString(IDS_INSTRUMENT_EXT);
    return title + ext.substr(0, ext.find(';'));
}

CWindowPlace PlaceMainWindow(const IProfile& profile, const CWindowPlace& screen, int minWidth)
{
    // Smaller than this, a stored size is a mistake rather than a choice.
    constexpr int kLeast = 100;
    CWindowPlace place;
    place.width = profile.GetProfileInt(kSettingsSection, kEntryWindowWidth, 0);
    place.height = profile.GetProfileInt(kSettingsSection, kEntryWindowHeight, 0);
    if (place.width < kLeast || place.height < kLeast) {
        place.width = std::max(screen.width * 2 / 3, minWidth);
        place.height = screen.height * 2 / 3;
        place.x = screen.x + (screen.width - std::min(place.width, screen.width)) / 2;
        place.y = screen.y + (screen.height - place.height) / 2;
    } else {
        place.x = profile.GetProfileInt(kSettingsSection, kEntryWindowLeft, screen.x);
        place.y = profile.GetProfileInt(kSettingsSection, kEntryWindowTop, screen.y);
        place.maximized = profile.GetProfileInt(kSettingsSection, kEntryWindowMaximized, 0) != 0;
    }
    place.width = std::min(place.width, screen.width);
    place.height = std::min(place.height, screen.height);
    place.x = std::clamp(place.x, screen.x, screen.x + screen.width - place.width);
    place.y = std::clamp(place.y, screen.y, screen.y + screen.height - place.height);
    return place;
}

void StoreWindowPlace(IProfile& profile, const CWindowPlace& place)
{
    profile.WriteProfileInt(kSettingsSection, kEntryWindowLeft, place.x);
    profile.WriteProfileInt(kSettingsSection, kEntryWindowTop, place.y);
    profile.WriteProfileInt(kSettingsSection, kEntryWindowWidth, place.width);
    profile.WriteProfileInt(kSettingsSection, kEntryWindowHeight, place.height);
    profile.WriteProfileInt(kSettingsSection, kEntryWindowMaximized, place.maximized ? 1 : 0);
}

}  // namespace bankwise
