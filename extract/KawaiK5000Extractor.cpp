// Kawai K5000 single dumps. Offsets from the manufacturer byte o (the 0xF0
// stands at o - 1):
//
//   offset  length  content
//   o       1       0x40  Kawai
//   o+1     1       MIDI channel (any)
//   o+2     1       0x20 one single, 0x21 a bank of singles; any other passed over
//   o+3     1       0x00  group
//   o+4     1       0x0A  K5000
//   o+5     1       0x00  single; any other (multis) passed over
//   o+6     1       bank: 0 A, 2 D, 3 E, 4 F; 1 (B, the W's PCM bank) and any
//                   other passed over and counted
//   one single:
//   o+7     1       program 0-127
//   o+8     ...     one record
//   bank of singles:
//   o+7     19      tone map: slot s is present when bit s % 7 of byte s / 7
//                   is set (slots 0-127; the last five bits unused)
//   o+26    ...     the records of the present slots, in slot order
//
// A record, all 7-bit:
//
//   offset  length  content
//   0       1       checksum (not read: names are listed whatever it holds)
//   40      8       name, ASCII; 0x7F is a filler
//   51      1       number of sources, 2-6
//   82      86 each the sources; a source whose wave, (byte 28 & 7) << 7 |
//                   byte 29, is 512 is an ADD source
//   then    806 each one wave kit per ADD source
//
// Every record's length comes from its own bytes, so each is checked
// against the message before the next is looked for. In a bank message
// that closes before a present slot's name, or whose record cannot be
// measured with slots still to come, the names cannot be placed: the dump
// is refused. A cut one gives the names before the cut. Bank select: MSB
// 100 A, 102 D, 103 E, 104 F, LSB 0.
#include "KawaiK5000Extractor.h"

#include <optional>

#include "MessageWalk.h"
#include "StringTable.h"

namespace bankwise {
namespace {

constexpr std::uint8_t kKawai = 0x40;
constexpr std::uint8_t kK5000 = 0x0A;
constexpr std::uint8_t kOneSingle = 0x20;
constexpr std::uint8_t kSingleBank = 0x21;
constexpr std::uint8_t kSingleKind = 0x00;
constexpr std::size_t kHeaderLength = 5;  // manufacturer to machine
constexpr std::size_t kBankOffset = 6;
constexpr std::size_t kProgramOffset = 7;
constexpr std::size_t kSingleRecordOffset = 8;
constexpr std::size_t kToneMapOffset = 7;
constexpr std::size_t kToneMapLength = 19;
constexpr std::size_t kBankRecordsOffset = kToneMapOffset + kToneMapLength;
constexpr std::size_t kSlotCount = 128;

constexpr std::size_t kNameOffset = 40;
constexpr std::size_t kNameLength = 8;
constexpr std::uint8_t kNameFiller = 0x7F;
constexpr std::size_t kSourceCountOffset = 51;
constexpr std::size_t kMinSources = 2;
constexpr std::size_t kMaxSources = 6;
constexpr std::size_t kCommonLength = 82;
constexpr std::size_t kSourceLength = 86;
constexpr std::size_t kWaveOffset = 28;
constexpr unsigned kAddWave = 512;
constexpr std::size_t kWaveKitLength = 806;

// Bank bytes 0 A, 1 B (not listed), 2 D, 3 E, 4 F.
constexpr std::uint8_t kBankB = 1;
constexpr std::uint8_t kBankF = 4;
constexpr std::array<char, 4> kLetters{'A', 'D', 'E', 'F'};
constexpr std::array<std::int32_t, 4> kBankSelect{100 * 128, 102 * 128, 103 * 128, 104 * 128};

bool IsK5000Header(const CByteView& data, std::size_t o)
{
    return data.ByteIs(o, kKawai) && data.ByteIs(o + 3, 0x00) && data.ByteIs(o + 4, kK5000);
}

std::string RecordName(const CByteView& data, std::size_t record)
{
    const auto field = data.Slice(record + kNameOffset, kNameLength);
    std::string codes(field.begin(), field.end());
    for (char& c : codes) {
        if (static_cast<std::uint8_t>(c) == kNameFiller)
            c = ' ';
    }
    return NameFromCodes(std::move(codes));
}

// The length of the record at offset r of m, or nothing when its common
// part or its sources do not lie inside the message or its source count is
// out of range.
std::optional<std::size_t> RecordLength(const CByteView& data, const CMessage& m, std::size_t r)
{
    if (!m.Holds(r, kCommonLength))
        return std::nullopt;
    const std::size_t sources = data.At(m.o + r + kSourceCountOffset);
    if (sources < kMinSources || sources > kMaxSources ||
        !m.Holds(r + kCommonLength, sources * kSourceLength))
        return std::nullopt;
    std::size_t length = kCommonLength + sources * kSourceLength;
    for (std::size_t i = 0; i < sources; ++i) {
        const std::size_t wave = m.o + r + kCommonLength + i * kSourceLength + kWaveOffset;
        if (((data.At(wave) & 7u) << 7 | data.At(wave + 1)) == kAddWave)
            length += kWaveKitLength;
    }
    return length;
}

bool SlotPresent(const CByteView& data, const CMessage& m, std::size_t slot)
{
    return (data.At(m.o + kToneMapOffset + slot / 7) >> (slot % 7) & 1) != 0;
}

// The names of a bank message's present slots into list; false when the
// message is broken.
bool ReadBank(const CByteView& data, const CMessage& m, CNameList& list)
{
    if (!m.Holds(kToneMapOffset, kToneMapLength))
        return m.cut;
    std::optional<std::size_t> record = kBankRecordsOffset;
    for (std::size_t slot = 0; slot < kSlotCount; ++slot) {
        if (!SlotPresent(data, m, slot))
            continue;
        // A present slot that cannot be reached or named: in a cut message
        // the cut took it; in a closed one the message is broken.
        if (!record || !m.Holds(*record + kNameOffset, kNameLength))
            return m.cut;
        StoreName(list, slot, RecordName(data, m.o + *record));
        const std::optional<std::size_t> length = RecordLength(data, m, *record);
        record = length ? std::optional(*record + *length) : std::nullopt;
    }
    return true;
}

}  // namespace

CKawaiK5000Extractor::CKawaiK5000Extractor() : CDumpExtractor(IDS_SYNTH_K5000) {}

CKawaiK5000Extractor::~CKawaiK5000Extractor() = default;

bool CKawaiK5000Extractor::Parse(CByteSource& file, bool bMidiFile, std::uint32_t nOffset)
{
    const CWholeSource whole(file);
    const CByteView data = whole.View();
    const auto read = [&](const CMessage& m) {
        if (!m.Holds(kBankOffset, 1))
            return m.cut;
        const std::uint8_t function = data.At(m.o + 2);
        if ((function != kOneSingle && function != kSingleBank) ||
            !data.ByteIs(m.o + 5, kSingleKind))
            return true;
        const std::uint8_t bank = data.At(m.o + kBankOffset);
        if (bank == kBankB || bank > kBankF) {
            ++m_nPassedOver;
            return true;
        }
        CNameList& list = m_banks.at(bank == 0 ? 0 : bank - 1u);
        if (function == kSingleBank)
            return ReadBank(data, m, list);
        if (!m.Holds(kSingleRecordOffset + kNameOffset, kNameLength))
            return m.cut;
        const std::uint8_t program = data.At(m.o + kProgramOffset);
        if (program >= kSlotCount) {
            ++m_nPassedOver;
            return true;
        }
        StoreName(list, program, RecordName(data, m.o + kSingleRecordOffset));
        return true;
    };
    const std::optional<std::size_t> broken = WalkMessages(
        data, bMidiFile, nOffset, kKawai, kHeaderLength, IsK5000Header, read, m_bCutOff);
    if (broken) {
        SetError(IDS_INVALID_DATA, *broken);
        return false;
    }
    return true;
}

CDefinition CKawaiK5000Extractor::BuildDefinition() const
{
    CDefinition definition = StartDefinition(IDS_MAKER_KAWAI);
    const std::string bankFormat = GetBankFormat();
    const std::string instrFormat = GetInstrFormat();
    const CPatternUse use = AnalyseLetterPattern(instrFormat);

    CInstrumentDef& instrument = definition.instruments.emplace_back();
    instrument.name = definition.definitionName;
    for (std::size_t i = 0; i < m_banks.size(); ++i) {
        const char letter = kLetters[i];
        AddNameBank(definition, instrument, m_banks[i], LetteredBankName(bankFormat, letter),
                    kBankSelect[i], [&](std::size_t slot) {
                        return FormatLetterPrefix(instrFormat, use, letter,
                                                  static_cast<int>(slot) + 1);
                    });
    }
    return definition;
}

void CKawaiK5000Extractor::ClearNames()
{
    for (CNameList& bank : m_banks)
        bank.clear();
}

void CKawaiK5000Extractor::StoreSampleNames(std::span<const std::string> names)
{
    ClearNames();
    m_banks[0].assign(names.begin(), names.end());
}

}  // namespace bankwise
