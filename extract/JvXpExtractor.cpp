// Roland JV/XP data-set (DT1) messages. Offsets from the manufacturer byte o
// (the 0xF0 stands at o - 1):
//
//   offset  length  content
//   o       1       0x41  Roland
//   o+1     1       device ID (any)
//   o+2     1       0x6A  JV/XP model
//   o+3     1       command: 0x12 DT1 is read, anything else passed over
//   o+4     1       area: 0x10 performance/rhythm set, 0x11 patch, else passed over
//   o+5     1       slot: area 0x10: 0x00-0x1F performance, 0x40-0x41 rhythm set;
//                   area 0x11: 0x00-0x7F patch; any other slot is invalid
//   o+6     2       0x00 0x00: the first block, which holds the name
//   o+8     12      name, 8-bit characters, ends before a 0, trailing white space cut
//   o+20    ...     rest of the block, checksum (not verified), 0xF7
//
// Raw files hold the messages back to back (one byte, the next 0xF0, is
// stepped over); in a MIDI file the next message is the next 0x41 ?? 0x6A.
#include "JvXpExtractor.h"

#include "ByteView.h"
#include "StringTable.h"

namespace bankwise {
namespace {

constexpr std::size_t kNameOffset = 8;
constexpr std::size_t kNameLength = 12;
constexpr int kDefinitionBank = 10240;  // bank select MSB 80, LSB 0

bool IsJvXpHeader(const CByteView& data, std::size_t o)
{
    return data.ByteIs(o, 0x41) && data.ByteIs(o + 2, 0x6A);
}

}  // namespace

CJvXpExtractor::CJvXpExtractor() : CDumpExtractor(IDS_SYNTH_JVXP) {}

CJvXpExtractor::~CJvXpExtractor() = default;

bool CJvXpExtractor::Parse(CByteSource& file, bool bMidiFile, std::uint32_t nOffset)
{
    const CWholeSource whole(file);
    const CByteView data = whole.View();
    std::size_t o = nOffset;
    while (o < data.size()) {
        if (data.ByteIs(o, 0x41) && MessageCutShort(data, o, kNameOffset + kNameLength)) {
            m_bCutOff = true;
            return true;
        }
        if (!IsJvXpHeader(data, o)) {
            SetError(IDS_INVALID_DATA, o);
            return false;
        }
        if (data.ByteIs(o + 3, 0x12)) {
            // A data set always carries its four address bytes; one that
            // lacks them although a 0xF7 follows is a broken dump.
            if (!data.Fits(o + 4, 4)) {
                SetError(IDS_INVALID_DATA, o);
                return false;
            }
            const std::uint8_t area = data.At(o + 4);
            const std::uint8_t slot = data.At(o + 5);
            const bool firstBlock = data.At(o + 6) == 0 && data.At(o + 7) == 0;
            CNameList* list = nullptr;
            std::size_t index = 0;
            if (firstBlock && area == 0x10) {
                if (slot <= 0x1F) {
                    list = &m_performances;
                    index = slot;
                } else if (slot == 0x40 || slot == 0x41) {
                    list = &m_rhythmSets;
                    index = slot - 0x40u;
                } else {
                    SetError(IDS_INVALID_DATA, o);
                    return false;
                }
            } else if (firstBlock && area == 0x11) {
                if (slot > 0x7F) {
                    SetError(IDS_INVALID_DATA, o);
                    return false;
                }
                list = &m_patches;
                index = slot;
            }
            if (list != nullptr) {
                const auto field = data.Slice(o + kNameOffset, kNameLength);
                if (field.empty()) {
                    SetError(IDS_INVALID_DATA, o);
                    return false;
                }
                StoreName(*list, index, NameFromField(field, ETrim::TrailingWhiteSpace));
            }
        }
        // Move just past the 0xF7 that ends this message; the dump stops
        // inside it when there is none.
        const std::size_t end = data.Find(o + 6, 0xF7);
        m_bCutOff = end == CByteView::npos;
        o = end == CByteView::npos ? data.size() : end + 1;
        if (bMidiFile) {
            while (o < data.size() && !IsJvXpHeader(data, o))
                ++o;
        } else {
            ++o;  // the next message's 0xF0, not tested
        }
    }
    m_bCutOff = m_bCutOff || EndsInsideMessage(data, bMidiFile, o);
    return true;
}

CDefinition CJvXpExtractor::BuildDefinition() const
{
    CDefinition definition = StartDefinition(IDS_MAKER_ROLAND);
    const std::string bank = GetBankFormat();
    const std::string prefixPattern = GetInstrFormat();
    const bool numbered = PatternCarriesNumber(prefixPattern);

    struct Section
    {
        const CNameList& names;
        const char* headingSuffix;
        const char* definitionSuffix;
    };
    const Section sections[] = {
        {m_patches, "", ""},
        {m_performances, " Perform", " Performance"},
        {m_rhythmSets, " Rhythm", " Rhythm Set"},
    };

    // Each kind is a bank and an instrument of its own, all on one bank
    // number: which of them a program change picks depends on the synth's
    // mode and part, not on bank select.
    for (const Section& section : sections) {
        if (section.names.empty())
            continue;
        CBankNames names;
        names.title = bank + section.headingSuffix;
        names.number = kDefinitionBank;
        names.patches.reserve(section.names.size());
        for (std::size_t slot = 0; slot < section.names.size(); ++slot) {
            names.patches.push_back(
                {NumberedPrefix(prefixPattern, numbered, static_cast<long long>(slot) + 1),
                 section.names[slot]});
        }
        definition.instruments.push_back(
            {definition.definitionName + section.definitionSuffix, {definition.banks.size()}});
        definition.banks.push_back(std::move(names));
    }
    return definition;
}

std::vector<CReadCount> CJvXpExtractor::CountContents() const
{
    return {{CountNames(m_patches), IDS_READ_PATCH, IDS_READ_PATCHES},
            {CountNames(m_performances), IDS_READ_PERFORMANCE, IDS_READ_PERFORMANCES},
            {CountNames(m_rhythmSets), IDS_READ_RHYTHM_SET, IDS_READ_RHYTHM_SETS}};
}

void CJvXpExtractor::ClearNames()
{
    m_performances.clear();
    m_rhythmSets.clear();
    m_patches.clear();
}

void CJvXpExtractor::StoreSampleNames(std::span<const std::string> names)
{
    ClearNames();
    m_patches.assign(names.begin(), names.end());
}

}  // namespace bankwise
