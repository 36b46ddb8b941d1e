#include "DocumentRules.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "DumpExtractor.h"
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

COptionsPreview MakeOptionsPreview(const std::string& definition, const std::string& bankFormat,
                                   const std::string& instrFormat, int firstPatch, int previewBank)
{
    std::string bankName;
    if (bankFormat.find("%c") != std::string::npos)
        bankName = SafeFormat(bankFormat, {FormatArg::Char('A')});
    else if (bankFormat.find("%d") != std::string::npos)
        bankName = SafeFormat(bankFormat, {FormatArg::Int(0)});
    else
        bankName = bankFormat;

    const CPatternUse use = AnalyseLetterPattern(instrFormat);
    const std::string first = FormatLetterPrefix(instrFormat, use, 'A', firstPatch);
    const std::string second = FormatLetterPrefix(instrFormat, use, 'A', firstPatch + 1);

    COptionsPreview preview;
    preview.text = SafeFormat(LoadString(IDS_OPTIONS_PREVIEW),
                              {FormatArg::Text(bankName), FormatArg::Text(first),
                               FormatArg::Text(second), FormatArg::Text(definition),
                               FormatArg::Int(previewBank), FormatArg::Text(bankName)});
    preview.okEnabled = !definition.empty() && !bankName.empty();
    return preview;
}

void AddRecentFile(std::vector<std::string>& list, const std::string& path)
{
    std::erase(list, path);
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
    if (std::filesystem::exists(remembered, ec))
        current = remembered;
    else
        remembered.clear();
}

std::string ProposedSaveName(const std::string& title)
{
    const std::string ext = LoadString(IDS_INSTRUMENT_EXT);
    return title + ext.substr(0, ext.find(';'));
}

}  // namespace bankwise
