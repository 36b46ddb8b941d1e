// access Virus single-program (0x10) and multi (0x11) dumps. Offsets from the
// manufacturer byte o (the 0xF0 stands at o - 1):
//
//   offset  length  content
//   o       4       0x00 0x20 0x33 0x01  access, Virus
//   o+4     1       device number (any)
//   o+5     1       type: 0x10 single, 0x11 multi, anything else passed over
//   o+6     1       bank: single 0 (edit buffer, passed over) or 1-4 (A-D);
//                   multi 0 (edit buffer, passed over) or 1; other banks up
//                   to 127 are passed over and counted; above is invalid
//   o+7     1       program or multi number 0-127; above is invalid
//   o+12    10      multi name (data bytes 4-13)
//   o+248   10      single name (data bytes 240-249)
//   ...             rest of the data, checksum, 0xF7
//
// Names are taken as they stand: they end before a 0 and keep trailing blanks.
//
// A Virus TI multi dump sends each multi's part singles along in banks above
// 4, and multis in banks above 1: the bank layout here does not number them,
// so they are passed over, and the user is told how many.
//
// Messages come in several lengths (267 bytes from 0xF0 to 0xF7 on the older
// models, 524 for TI singles), so the end of each is found by its 0xF7: all
// data bytes are 7-bit, and the first 0xF7 after the header closes it. Raw
// files hold the messages back to back (one byte, the next 0xF0, is stepped
// over untested); in a MIDI file the next message is the next full header.
#include "VirusExtractor.h"

#include "ByteView.h"
#include "StringTable.h"

namespace bankwise {
namespace {

constexpr std::uint8_t kTypeSingle = 0x10;
constexpr std::uint8_t kTypeMulti = 0x11;
constexpr std::size_t kTypeOffset = 5;
constexpr std::size_t kBankOffset = 6;
constexpr std::size_t kProgramOffset = 7;
constexpr std::size_t kFixedFields = 8;  // identifier to program number
constexpr std::size_t kSingleNameOffset = 248;
constexpr std::size_t kMultiNameOffset = 12;
constexpr std::size_t kNameLength = 10;
constexpr std::size_t kBankCount = 4;
constexpr std::size_t kMultiBankNumber = 4;  // Patch[4] in the definition

bool StartsWithIdentifier(const CByteView& data, std::size_t o)
{
    return data.Matches(o, {0x00, 0x20, 0x33, 0x01});
}

// In a MIDI file only a header whose fixed fields all lie in the file counts:
// a few identifier-like bytes at the very end are not a message.
std::size_t FindMidiMessage(const CByteView& data, std::size_t from)
{
    for (std::size_t q = from; q < data.size(); ++q) {
        if (data.Fits(q, kFixedFields) && StartsWithIdentifier(data, q))
            return q;
    }
    return CByteView::npos;
}

// The position just past the 0xF7 that closes the message, or the end of the
// data when the file stops first (and the dump is cut off).
std::size_t PastMessageEnd(const CByteView& data, std::size_t from, bool& cutOff)
{
    const std::size_t end = data.Find(from, 0xF7);
    cutOff = end == CByteView::npos;
    return end == CByteView::npos ? data.size() : end + 1;
}

// The multi section's name: the bank pattern up to its "Bank" (or, without
// one, up to its "%c"), trailing white space cut, followed by " Multis".
std::string MultiBankName(const std::string& bankFormat)
{
    std::size_t cut = bankFormat.find("Bank");
    if (cut == std::string::npos)
        cut = bankFormat.find("%c");
    std::string name = bankFormat;
    if (cut != std::string::npos) {
        name.erase(cut);
        const auto last = name.find_last_not_of(" \t\n\v\f\r");
        name.erase(last == std::string::npos ? 0 : last + 1);
    }
    return name + " Multis";
}

}  // namespace

CVirusExtractor::CVirusExtractor() : CDumpExtractor(IDS_SYNTH_VIRUS) {}

CVirusExtractor::~CVirusExtractor() = default;

bool CVirusExtractor::Parse(CByteSource& file, bool bMidiFile, std::uint32_t nOffset)
{
    const CWholeSource whole(file);
    const CByteView data = whole.View();
    std::size_t o = nOffset;
    const auto invalid = [this, &o] {
        SetError(IDS_INVALID_DATA, o);
        return false;
    };

    if (bMidiFile) {
        // The first header was recognised, but the file ends inside it.
        o = FindMidiMessage(data, o);
        m_bCutOff = o == CByteView::npos;
        if (o == CByteView::npos)
            return true;
    }
    while (o < data.size()) {
        if (data.ByteIs(o, 0x00) && MessageCutShort(data, o, kFixedFields)) {
            m_bCutOff = true;
            return true;
        }
        if (!StartsWithIdentifier(data, o) || !data.Fits(o, kTypeOffset + 1))
            return invalid();
        const std::uint8_t type = data.At(o + kTypeOffset);
        if (type == kTypeSingle || type == kTypeMulti) {
            if (!data.Fits(o, kFixedFields))
                return invalid();
            const bool single = type == kTypeSingle;
            const std::uint8_t bank = data.At(o + kBankOffset);
            const std::uint8_t program = data.At(o + kProgramOffset);
            // Bank 0 is the edit buffer: nothing to store, so neither its
            // program number nor its name is looked at. Data bytes are
            // 7-bit: a larger one belongs to a broken message.
            if (bank > 127 || (bank != 0 && program > 127))
                return invalid();
            if (bank > (single ? kBankCount : 1)) {
                ++m_nPassedOver;
            } else if (bank != 0) {
                const std::size_t nameOffset = o + (single ? kSingleNameOffset : kMultiNameOffset);
                const auto field = data.Slice(nameOffset, kNameLength);
                // A name lying beyond the message's own 0xF7 belongs to a
                // broken message; one that the end of the file cuts off, to
                // a dump that stopped there.
                const std::size_t end = data.Find(o + kFixedFields, 0xF7);
                if (end == CByteView::npos && field.empty()) {
                    m_bCutOff = true;
                    return true;
                }
                if (field.empty() || end < nameOffset + kNameLength)
                    return invalid();
                CNameList* list = single ? &m_banks[bank - 1u] : &m_multis;
                StoreName(*list, program, NameFromField(field, ETrim::Keep));
            }
            o = PastMessageEnd(data, o + kFixedFields, m_bCutOff);
        } else {
            o = PastMessageEnd(data, o + kTypeOffset, m_bCutOff);
        }

        if (bMidiFile) {
            o = FindMidiMessage(data, o);
            if (o == CByteView::npos)
                break;
        } else if (o < data.size()) {
            ++o;  // the next message's 0xF0, not tested
        }
    }
    m_bCutOff = m_bCutOff || EndsInsideMessage(data, bMidiFile, o);
    return true;
}

CDefinition CVirusExtractor::BuildDefinition() const
{
    CDefinition definition = StartDefinition(IDS_MAKER_ACCESS);
    const std::string bankFormat = GetBankFormat();
    const std::string instrFormat = GetInstrFormat();
    const CPatternUse use = AnalyseLetterPattern(instrFormat);

    CInstrumentDef& instrument = definition.instruments.emplace_back();
    instrument.name = definition.definitionName;
    const auto addBank = [&](const CNameList& names, std::string title, std::size_t number,
                             char letter) {
        AddNameBank(definition, instrument, names, std::move(title),
                    static_cast<std::int32_t>(number), [&](std::size_t slot) {
                        return FormatLetterPrefix(instrFormat, use, letter, static_cast<int>(slot));
                    });
    };
    for (std::size_t i = 0; i < kBankCount; ++i) {
        const auto letter = static_cast<char>('A' + i);
        addBank(m_banks[i], LetteredBankName(bankFormat, letter), i, letter);
    }
    addBank(m_multis, MultiBankName(bankFormat), kMultiBankNumber, 'M');
    return definition;
}

std::vector<CReadCount> CVirusExtractor::CountContents() const
{
    std::size_t singles = 0;
    for (const CNameList& bank : m_banks)
        singles += CountNames(bank);
    return {{singles, IDS_READ_SINGLE, IDS_READ_SINGLES},
            {CountNames(m_multis), IDS_READ_MULTI, IDS_READ_MULTIS}};
}

void CVirusExtractor::ClearNames()
{
    for (CNameList& bank : m_banks)
        bank.clear();
    m_multis.clear();
}

void CVirusExtractor::StoreSampleNames(std::span<const std::string> names)
{
    ClearNames();
    m_banks[0].assign(names.begin(), names.end());
}

}  // namespace bankwise
