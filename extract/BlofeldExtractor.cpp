// Waldorf Blofeld sound dump, one 392-byte message per sound. Offsets from
// the manufacturer byte o (the 0xF0 stands at o - 1):
//
//   offset  length  content
//   o       1       0x3E  Waldorf
//   o+1     1       0x13  Blofeld
//   o+2     1       device ID (any)
//   o+3     1       0x10  sound dump; any other (multi, global) passed over
//   o+4     1       bank: 0-7 (A-H), 0x7F edit buffer; any other passed over
//   o+5     1       program 0-127
//   o+6     383     sound data, all 7-bit
//   o+369   16      name (data bytes 363-378), ASCII, blank-padded
//   o+385   1       category (data byte 379, not read)
//   o+389   1       checksum: sum of the data & 0x7F; 0x7F means none
//   o+390   1       0xF7
//
// The checksum is the byte before the 0xF7, over the data before it. A
// wrong one is counted, and the name kept. Bank select: LSB (controller 32)
// 0-7 picks bank A-H.
#include "BlofeldExtractor.h"

#include "MessageWalk.h"
#include "StringTable.h"

namespace bankwise {
namespace {

constexpr std::uint8_t kWaldorf = 0x3E;
constexpr std::uint8_t kBlofeld = 0x13;
constexpr std::uint8_t kSoundDump = 0x10;
constexpr std::uint8_t kEditBufferBank = 0x7F;
constexpr std::uint8_t kNoChecksum = 0x7F;
constexpr std::size_t kHeaderLength = 6;  // manufacturer to program
constexpr std::size_t kDataOffset = 6;
constexpr std::size_t kNameOffset = kDataOffset + 363;
constexpr std::size_t kNameLength = 16;
constexpr std::size_t kBankCount = 8;
constexpr std::int32_t kEditBufferNumber = 8;  // no bank select reaches it: the one after H
constexpr char kEditBufferLetter = '-';

bool IsBlofeldHeader(const CByteView& data, std::size_t o)
{
    return data.ByteIs(o, kWaldorf) && data.ByteIs(o + 1, kBlofeld);
}

bool ChecksumHolds(const CByteView& data, const CMessage& m)
{
    const std::uint8_t stored = data.At(m.end - 1);
    if (stored == kNoChecksum)
        return true;
    unsigned sum = 0;
    for (const std::uint8_t byte : data.Slice(m.o + kDataOffset, m.end - 1 - (m.o + kDataOffset)))
        sum += byte;
    return (sum & 0x7F) == stored;
}

}  // namespace

CBlofeldExtractor::CBlofeldExtractor() : CDumpExtractor(IDS_SYNTH_BLOFELD) {}

CBlofeldExtractor::~CBlofeldExtractor() = default;

bool CBlofeldExtractor::Parse(CByteSource& file, bool bMidiFile, std::uint32_t nOffset)
{
    const CWholeSource whole(file);
    const CByteView data = whole.View();
    const auto read = [&](const CMessage& m) {
        if (!data.ByteIs(m.o + 3, kSoundDump))
            return true;
        // A cut that leaves the name whole still gives it.
        if (!m.Holds(kNameOffset, kNameLength))
            return m.cut;
        const std::uint8_t bank = data.At(m.o + 4);
        const std::uint8_t program = data.At(m.o + 5);
        CNameList* list = nullptr;
        if (bank == kEditBufferBank)
            list = &m_editBuffer;
        else if (bank < kBankCount && program < 128)
            list = &m_banks[bank];
        if (list == nullptr) {
            ++m_nPassedOver;
            return true;
        }
        if (!m.cut && !ChecksumHolds(data, m))
            ++m_nBadChecksums;
        const auto name = data.Slice(m.o + kNameOffset, kNameLength);
        const std::size_t slot = list == &m_editBuffer ? m_editBuffer.size() : program;
        StoreName(*list, slot, NameFromCodes(std::string(name.begin(), name.end())));
        return true;
    };
    const std::optional<std::size_t> broken = WalkMessages(
        data, bMidiFile, nOffset, kWaldorf, kHeaderLength, IsBlofeldHeader, read, m_bCutOff);
    if (broken) {
        SetError(IDS_INVALID_DATA, *broken);
        return false;
    }
    return true;
}

CDefinition CBlofeldExtractor::BuildDefinition() const
{
    CDefinition definition = StartDefinition(IDS_MAKER_WALDORF);
    const std::string bankFormat = GetBankFormat();
    const std::string instrFormat = GetInstrFormat();
    const CPatternUse use = AnalyseLetterPattern(instrFormat);

    CInstrumentDef& instrument = definition.instruments.emplace_back();
    instrument.name = definition.definitionName;
    const auto addBank = [&](const CNameList& names, std::string title, std::int32_t number,
                             char letter) {
        AddNameBank(definition, instrument, names, std::move(title), number, [&](std::size_t slot) {
            return FormatLetterPrefix(instrFormat, use, letter, static_cast<int>(slot) + 1);
        });
    };
    for (std::size_t i = 0; i < kBankCount; ++i) {
        const auto letter = static_cast<char>('A' + i);
        addBank(m_banks[i], LetteredBankName(bankFormat, letter), static_cast<std::int32_t>(i),
                letter);
    }
    addBank(m_editBuffer, KindTitle(bankFormat, "Edit Buffer"), kEditBufferNumber,
            kEditBufferLetter);
    return definition;
}

void CBlofeldExtractor::ClearNames()
{
    for (CNameList& bank : m_banks)
        bank.clear();
    m_editBuffer.clear();
}

void CBlofeldExtractor::StoreSampleNames(std::span<const std::string> names)
{
    ClearNames();
    m_banks[0].assign(names.begin(), names.end());
}

}  // namespace bankwise
