#include "DumpExtractor.h"

#include <algorithm>

#include "BusyGuard.h"
#include "Profile.h"
#include "SafeFormat.h"
#include "StringTable.h"

namespace bankwise {

namespace {

constexpr const char* kCrLf = "\r\n";

std::string Sanitized(std::string text)
{
    for (char& c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            c = '?';
    }
    return text;
}

}  // namespace

CDumpExtractor::CDumpExtractor(std::uint32_t nNameID, const char* pszBankFormat,
                               const char* pszInstrFormat)
    : m_nNameID(nNameID), m_pszBankFormat(pszBankFormat), m_pszInstrFormat(pszInstrFormat)
{
}

CDumpExtractor::~CDumpExtractor() = default;

std::string CDumpExtractor::GetSynthName() const
{
    return LoadString(m_nNameID);
}

std::string CDumpExtractor::GetDefinitionName() const
{
    const std::string synth = GetSynthName();
    return GetAppProfile().GetProfileString(synth, "Definition", synth);
}

std::string CDumpExtractor::GetBankFormat() const
{
    return GetAppProfile().GetProfileString(GetSynthName(), "BankFormat",
                                            m_pszBankFormat != nullptr ? m_pszBankFormat : "");
}

std::string CDumpExtractor::GetInstrFormat() const
{
    return GetAppProfile().GetProfileString(GetSynthName(), "InstrFormat",
                                            m_pszInstrFormat != nullptr ? m_pszInstrFormat : "");
}

void CDumpExtractor::SetError(std::uint32_t stringId)
{
    m_strError = LoadString(stringId);
}

int Make14BitValue(std::uint8_t lo, std::uint8_t hi)
{
    const int v = lo + hi * 128;
    return v > 8191 ? v - 16384 : v;
}

void StoreName(CNameList& list, std::size_t slot, std::string name)
{
    if (slot >= list.size())
        list.resize(slot + 1);
    list[slot] = std::move(name);
}

std::string NameFromField(std::span<const std::uint8_t> field, ETrim trim)
{
    const auto zero = std::find(field.begin(), field.end(), std::uint8_t{0});
    std::string name(field.begin(), zero);
    if (trim == ETrim::TrailingWhiteSpace) {
        const auto last = name.find_last_not_of(" \t\n\v\f\r");
        name.erase(last == std::string::npos ? 0 : last + 1);
    }
    return name;
}

bool PatternCarriesNumber(std::string_view pattern)
{
    const auto percent = pattern.find('%');
    return percent != std::string_view::npos && pattern.find('d', percent + 1) != std::string_view::npos;
}

CPatternUse AnalyseLetterPattern(std::string_view pattern)
{
    CPatternUse use;
    const auto letter = pattern.find("%c");
    use.hasLetter = letter != std::string_view::npos;
    const std::size_t from = use.hasLetter ? letter + 1 : 0;
    const auto percent = pattern.find('%', from);
    use.hasNumber = percent != std::string_view::npos
                    && pattern.find('d', percent + 1) != std::string_view::npos;
    return use;
}

std::string NumberedPrefix(std::string_view pattern, bool carriesNumber, long long number)
{
    return carriesNumber ? SafeFormat(pattern, {FormatArg::Int(number)}) : std::string(pattern);
}

std::string LetteredBankName(std::string_view pattern, char letter)
{
    if (pattern.find("%c") == std::string_view::npos)
        return std::string(pattern);
    return SafeFormat(pattern, {FormatArg::Char(letter)});
}

std::string FormatLetterPrefix(std::string_view pattern, const CPatternUse& use, char letter,
                               int number)
{
    if (use.hasLetter && use.hasNumber)
        return SafeFormat(pattern, {FormatArg::Char(letter), FormatArg::Int(number)});
    if (use.hasLetter)
        return SafeFormat(pattern, {FormatArg::Char(letter)});
    if (use.hasNumber)
        return SafeFormat(pattern, {FormatArg::Int(number)});
    return std::string(pattern);
}

void CInsWriter::Header(const std::string& synthName)
{
    m_out += SafeFormat(LoadString(IDS_INS_HEADER),
                        {FormatArg::Text(synthName), FormatArg::Text(kCrLf)});
}

void CInsWriter::PatchNamesHeading()
{
    m_out += SafeFormat(LoadString(IDS_INS_PATCH_NAMES),
                        {FormatArg::Text(kCrLf), FormatArg::Text(kCrLf)});
}

void CInsWriter::BankHeading(const std::string& bankName)
{
    m_out += kCrLf;
    m_out += '[';
    m_out += Sanitized(bankName);
    m_out += ']';
    m_out += kCrLf;
}

void CInsWriter::PatchLine(std::size_t slot, const std::string& prefix, const std::string& name)
{
    m_out += std::to_string(slot);
    m_out += '=';
    m_out += Sanitized(prefix);
    m_out += Sanitized(name);
    m_out += kCrLf;
}

void CInsWriter::DefinitionsHeading()
{
    m_out += SafeFormat(LoadString(IDS_INS_DEFINITIONS),
                        {FormatArg::Text(kCrLf), FormatArg::Text(kCrLf)});
}

void CInsWriter::DefinitionHeading(const std::string& definitionName)
{
    BankHeading(definitionName);
}

void CInsWriter::BankLine(int bankNumber, const std::string& bankName)
{
    m_out += "Patch[";
    m_out += std::to_string(bankNumber);
    m_out += "]=";
    m_out += Sanitized(bankName);
    m_out += kCrLf;
}

void WriteReferenceDefinition(const CDumpExtractor& extractor, std::span<const CNameList> banks,
                              std::string& out)
{
    CBusyGuard busy;
    const std::string bankFormat = extractor.GetBankFormat();
    const bool numberedBanks = bankFormat.find("%d") != std::string::npos;
    std::vector<std::string> bankNames;
    bankNames.reserve(banks.size());
    for (std::size_t i = 0; i < banks.size(); ++i) {
        bankNames.push_back(numberedBanks
                                ? SafeFormat(bankFormat, {FormatArg::Int(static_cast<long long>(i))})
                                : bankFormat);
    }

    const std::string instrFormat = extractor.GetInstrFormat();
    const bool numberedPatches = PatternCarriesNumber(instrFormat);

    CInsWriter writer(out);
    writer.Header(extractor.GetSynthName());
    writer.PatchNamesHeading();
    for (std::size_t i = 0; i < banks.size(); ++i) {
        if (banks[i].empty())
            continue;
        writer.BankHeading(bankNames[i]);
        for (std::size_t slot = 0; slot < banks[i].size(); ++slot) {
            const auto program = static_cast<long long>(i) * 128 + static_cast<long long>(slot);
            writer.PatchLine(slot, NumberedPrefix(instrFormat, numberedPatches, program),
                             banks[i][slot]);
        }
    }
    writer.DefinitionsHeading();
    writer.DefinitionHeading(extractor.GetDefinitionName());
    for (std::size_t i = 0; i < banks.size(); ++i) {
        if (!banks[i].empty())
            writer.BankLine(static_cast<int>(i), bankNames[i]);
    }
}

}  // namespace bankwise
