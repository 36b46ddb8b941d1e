#include "DumpExtractor.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "Families.h"
#include "SafeFormat.h"
#include "StringTable.h"

namespace bankwise {

namespace {

constexpr const char* kCrLf = "\r\n";

void AppendSanitized(std::string& out, std::string_view text)
{
    const std::size_t from = out.size();
    out += text;
    for (std::size_t i = from; i < out.size(); ++i) {
        const auto byte = static_cast<unsigned char>(out[i]);
        if (byte < 0x20 || byte == 0x7F)
            out[i] = '?';
    }
}

// Writes the lines of an instrument definition text. Each call writes its
// line (or its empty line plus line) with CR LF endings.
class CInsWriter
{
public:
    explicit CInsWriter(std::string& out) : m_out(out) {}

    void Header(const std::string& synthName);
    void PatchNamesHeading();
    void BankHeading(const std::string& bankName);
    // "<slot>=<prefix><name>"
    void PatchLine(std::size_t slot, const std::string& prefix, const std::string& name);
    void DefinitionsHeading();
    void DefinitionHeading(const std::string& definitionName);
    void BankLine(int bankNumber, const std::string& bankName);

private:
    std::string& m_out;
};

}  // namespace

CDumpExtractor::CDumpExtractor(std::uint32_t nNameID, const char* pszBankFormat,
                               const char* pszInstrFormat)
    : m_nNameID(nNameID), m_pszBankFormat(pszBankFormat), m_pszInstrFormat(pszInstrFormat)
{}

CDumpExtractor::CDumpExtractor(std::uint32_t nNameID) : CDumpExtractor(nNameID, "", nullptr)
{
    if (const CFamily* family = FindFamily(nNameID)) {
        m_pszBankFormat = family->bankFormat;
        m_pszInstrFormat = family->instrFormat;
        m_nPreviewFirstPatch = family->previewFirstPatch;
        m_nPreviewBank = family->previewBank;
    }
}

CDumpExtractor::~CDumpExtractor() = default;

std::string CDumpExtractor::GetSynthName() const
{
    return LoadString(m_nNameID);
}

const IProfile& CDumpExtractor::GetProfile() const
{
    static const CMemoryProfile defaults;
    return m_pProfile != nullptr ? *m_pProfile : defaults;
}

std::string CDumpExtractor::GetDefinitionName() const
{
    const std::string synth = GetSynthName();
    return GetProfile().GetProfileString(synth, kEntryDefinition, synth);
}

std::string CDumpExtractor::GetBankFormat() const
{
    return GetProfile().GetProfileString(GetSynthName(), kEntryBankFormat,
                                         m_pszBankFormat != nullptr ? m_pszBankFormat : "");
}

std::string CDumpExtractor::GetInstrFormat() const
{
    return GetProfile().GetProfileString(GetSynthName(), kEntryInstrFormat,
                                         m_pszInstrFormat != nullptr ? m_pszInstrFormat : "");
}

std::string CDumpExtractor::DescribeContents() const
{
    std::string counts;
    for (const CReadCount& item : CountContents()) {
        if (!counts.empty())
            counts += ", ";
        counts += SafeFormat(LoadString(item.count == 1 ? item.oneId : item.manyId),
                             {FormatArg::Int(static_cast<long long>(item.count))});
    }
    return SafeFormat(LoadString(IDS_READ_SUMMARY),
                      {FormatArg::Text(GetSynthName()), FormatArg::Text(counts)});
}

std::vector<CReadCount> CDumpExtractor::CountContents() const
{
    const CDefinition definition = BuildDefinition();
    CReadCount banks{0, IDS_READ_BANK, IDS_READ_BANKS};
    CReadCount names{0, IDS_READ_NAME, IDS_READ_NAMES};
    for (const CBankNames& bank : definition.banks) {
        if (bank.patches.empty() && !bank.listedWhenEmpty)
            continue;
        ++banks.count;
        names.count += static_cast<std::size_t>(
            std::count_if(bank.patches.begin(), bank.patches.end(),
                          [](const CPatchName& patch) { return !patch.name.empty(); }));
    }
    return {banks, names};
}

void CDumpExtractor::SetError(std::uint32_t stringId)
{
    m_nErrorID = stringId;
}

void CDumpExtractor::SetError(std::uint32_t stringId, std::uint64_t offset)
{
    m_nErrorID = stringId;
    m_nErrorOffset = offset;
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

std::size_t CountNames(const CNameList& list)
{
    return static_cast<std::size_t>(std::count_if(
        list.begin(), list.end(), [](const std::string& name) { return !name.empty(); }));
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

bool EndsInsideMessage(const CByteView& data, bool bMidiFile, std::size_t next)
{
    if (!bMidiFile)
        return next == data.size() && data.ByteIs(next - 1, 0xF0);
    // Chunks: four letters, a 32-bit length (high byte first), the data.
    // Anything after them that is no chunk of a MIDI file is not judged.
    constexpr std::size_t kChunkHeader = 8;
    for (std::size_t at = 0; data.Fits(at, kChunkHeader);) {
        if (!data.Matches(at, {'M', 'T', 'h', 'd'}) && !data.Matches(at, {'M', 'T', 'r', 'k'}))
            return false;
        std::size_t length = 0;
        for (std::size_t i = 4; i < kChunkHeader; ++i)
            length = length << 8 | data.At(at + i);
        at += kChunkHeader;
        if (!data.Fits(at, length))
            return true;
        at += length;
    }
    return false;
}

bool MessageCutShort(const CByteView& data, std::size_t o, std::size_t length)
{
    return !data.Fits(o, length) && data.Find(o, 0xF7) == CByteView::npos;
}

bool PatternCarriesNumber(std::string_view pattern)
{
    const auto percent = pattern.find('%');
    return percent != std::string_view::npos &&
           pattern.find('d', percent + 1) != std::string_view::npos;
}

CPatternUse AnalyseLetterPattern(std::string_view pattern)
{
    CPatternUse use;
    const auto letter = pattern.find("%c");
    use.hasLetter = letter != std::string_view::npos;
    const std::size_t from = use.hasLetter ? letter + 1 : 0;
    const auto percent = pattern.find('%', from);
    use.hasNumber = percent != std::string_view::npos &&
                    pattern.find('d', percent + 1) != std::string_view::npos;
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

std::string NumberedBankName(std::string_view pattern, long long number)
{
    if (pattern.find("%d") == std::string_view::npos)
        return std::string(pattern);
    return SafeFormat(pattern, {FormatArg::Int(number)});
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

namespace {

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
    AppendSanitized(m_out, bankName);
    m_out += ']';
    m_out += kCrLf;
}

void CInsWriter::PatchLine(std::size_t slot, const std::string& prefix, const std::string& name)
{
    m_out += std::to_string(slot);
    m_out += '=';
    AppendSanitized(m_out, prefix);
    AppendSanitized(m_out, name);
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
    AppendSanitized(m_out, bankName);
    m_out += kCrLf;
}

}  // namespace

void CDumpExtractor::WriteDefinition(std::string& out)
{
    WriteInsText(MakeDefinition(), out);
}

CDefinition CDumpExtractor::MakeDefinition() const
{
    CDefinition definition = BuildDefinition();
    MakeBankTitlesDistinct(definition);
    return definition;
}

void MakeBankTitlesDistinct(CDefinition& definition)
{
    // Titles compared as the files show them.
    const auto shown = [](const std::string& title) {
        std::string text;
        AppendSanitized(text, title);
        return text;
    };
    std::unordered_set<std::string> taken;  // every title as it stands, and each one given
    for (const CBankNames& bank : definition.banks)
        taken.insert(shown(bank.title));
    std::unordered_set<std::string> seen;
    std::unordered_map<std::string, int> next;  // the number to try next, by title
    for (CBankNames& bank : definition.banks) {
        const std::string title = shown(bank.title);
        if (seen.insert(title).second)
            continue;
        int& n = next.try_emplace(title, 2).first->second;
        std::string renamed;
        do {
            renamed = bank.title + " (" + std::to_string(n++) + ")";
        } while (!taken.insert(shown(renamed)).second);
        bank.title = std::move(renamed);
    }
}

CDefinition CDumpExtractor::StartDefinition(std::uint32_t makerId) const
{
    CDefinition definition;
    definition.synthName = GetSynthName();
    definition.manufacturer = LoadString(makerId);
    definition.definitionName = GetDefinitionName();
    return definition;
}

CDefinition CDumpExtractor::BuildReferenceDefinition(std::span<const CNameList> banks,
                                                     std::uint32_t makerId) const
{
    CDefinition definition = StartDefinition(makerId);
    const std::string bankFormat = GetBankFormat();
    const std::string instrFormat = GetInstrFormat();
    const bool numberedPatches = PatternCarriesNumber(instrFormat);

    CInstrumentDef instrument{definition.definitionName, {}};
    for (std::size_t i = 0; i < banks.size(); ++i) {
        if (banks[i].empty())
            continue;
        const auto index = static_cast<long long>(i);
        CBankNames bank;
        bank.title = NumberedBankName(bankFormat, index);
        bank.number = static_cast<std::int32_t>(i);
        bank.patches.reserve(banks[i].size());
        for (std::size_t slot = 0; slot < banks[i].size(); ++slot) {
            const long long program = index * 128 + static_cast<long long>(slot);
            bank.patches.push_back(
                {NumberedPrefix(instrFormat, numberedPatches, program), banks[i][slot]});
        }
        instrument.banks.push_back(definition.banks.size());
        definition.banks.push_back(std::move(bank));
    }
    definition.instruments.push_back(std::move(instrument));
    return definition;
}

void WriteInsText(const CDefinition& definition, std::string& out)
{
    // Room for every line up front: the text is grown by many small appends.
    std::size_t length = 256 + definition.synthName.size();
    for (const CBankNames& bank : definition.banks) {
        length += 32 + 2 * bank.title.size();
        for (const CPatchName& patch : bank.patches)
            length += 8 + patch.prefix.size() + patch.name.size();
    }
    for (const CInstrumentDef& instrument : definition.instruments)
        length += 8 + instrument.name.size();
    out.reserve(out.size() + length);

    CInsWriter writer(out);
    writer.Header(definition.synthName);
    writer.PatchNamesHeading();
    for (const CBankNames& bank : definition.banks) {
        if (bank.patches.empty() && !bank.listedWhenEmpty)
            continue;
        writer.BankHeading(bank.title);
        for (std::size_t slot = 0; slot < bank.patches.size(); ++slot)
            writer.PatchLine(slot, bank.patches[slot].prefix, bank.patches[slot].name);
    }
    writer.DefinitionsHeading();
    for (const CInstrumentDef& instrument : definition.instruments) {
        writer.DefinitionHeading(instrument.name);
        for (const std::size_t index : instrument.banks)
            writer.BankLine(definition.banks[index].number, definition.banks[index].title);
    }
}

}  // namespace bankwise
