// Korg Prophecy and TR-Rack program dumps: one SysEx message holding bank A,
// bank B or both, in Korg's packed form. Offsets from the manufacturer byte o
// (the 0xF0 stands at o - 1):
//
//   offset  length  content
//   o       1       0x42  Korg (tested by the detector only)
//   o+1     1       format and channel, not read
//   o+2     1       model, not read
//   o+3     1       function: 0x4C program data dump, 0x50 all data dump
//   o+4     1       0x4C only: bank 0x10 A, 0x11 B, 0x20 or 0x21 both
//   o+5     2       0x4C only: not read
//   o+7     39132   0x4C, one bank: packed data of 64 programs
//   o+7     78263   0x4C, both banks: packed data of 128 programs
//   o+5     657     0x50 only: not read
//   o+662   78263   0x50: packed data of 128 programs (banks A and B)
//   ...             nothing after the packed data is read, not even the 0xF7
//
// Packed form: groups of a bit byte and up to 7 data bytes; bit j of the bit
// byte is bit 7 of data byte j. Unpacked, each program is a 535-byte record
// whose first 16 bytes are its name.
//
// Only the header and the packed block are read from the file, so a dump in
// a MIDI file is read the same way, from the given offset on.
#include "KorgExtractor.h"

#include <algorithm>
#include <array>

#include "ByteView.h"
#include "StringTable.h"

namespace bankwise {
namespace {

constexpr std::size_t kHeaderLength = 5;  // o to o+4
constexpr std::size_t kFunctionOffset = 3;
constexpr std::size_t kBankOffset = 4;
constexpr std::uint8_t kProgramDataDump = 0x4C;
constexpr std::uint8_t kAllDataDump = 0x50;
constexpr std::uint64_t kProgramDataOffset = 7;
constexpr std::uint64_t kAllDataOffset = 662;
constexpr std::size_t kOneBankPacked = 39132;
constexpr std::size_t kTwoBanksPacked = 78263;

constexpr std::size_t kGroupLength = 8;  // bit byte + 7 data bytes
constexpr std::size_t kRecordLength = 535;
constexpr std::size_t kNameLength = 16;

constexpr std::size_t kProgramsPerBank = 64;
constexpr int kBankNumberA = 128;  // bank select MSB 1, LSB 0
constexpr int kBankNumberB = 256;  // bank select MSB 2, LSB 0

constexpr std::int32_t kScopeA = 0;
constexpr std::int32_t kScopeB = 1;
constexpr std::int32_t kScopeBoth = 2;

char BankLetter(std::int32_t scope, std::size_t entry)
{
    if (scope == kScopeB)
        return 'B';
    if (scope == kScopeBoth && entry >= kProgramsPerBank)
        return 'B';
    return 'A';
}

}  // namespace

void UnpackKorgData(std::vector<std::uint8_t>& data)
{
    std::size_t out = 0;
    for (std::size_t group = 0; group < data.size(); group += kGroupLength) {
        const std::uint8_t bits = data[group];
        for (std::size_t j = 0; j + 1 < kGroupLength && group + 1 + j < data.size(); ++j) {
            std::uint8_t byte = data[group + 1 + j];
            if ((bits & (1u << j)) != 0)
                byte = static_cast<std::uint8_t>(byte | 0x80);
            data[out++] = byte;  // out < group + 1 + j: never overtakes the input
        }
    }
    data.resize(out);
}

CKorgProgramExtractor::CKorgProgramExtractor(std::uint32_t nNameID) : CDumpExtractor(nNameID) {}

CKorgProgramExtractor::~CKorgProgramExtractor() = default;

bool CKorgProgramExtractor::Parse(CByteSource& file, bool /*bMidiFile*/, std::uint32_t nOffset)
{
    std::array<std::uint8_t, kHeaderLength> header{};
    if (!file.Seek(nOffset) || file.Read(header.data(), header.size()) < header.size())
        return false;

    std::int32_t scope = kNoBank;
    std::uint64_t packedAt = 0;
    std::size_t packedLength = 0;
    switch (header[kFunctionOffset]) {
    case kProgramDataDump:
        switch (header[kBankOffset]) {
        case 0x10:
        case 0x11:
            scope = header[kBankOffset] & 1;
            packedLength = kOneBankPacked;
            break;
        case 0x20:
        case 0x21:
            scope = kScopeBoth;
            packedLength = kTwoBanksPacked;
            break;
        default:
            SetError(IDS_INVALID_DATA, nOffset);
            return false;
        }
        packedAt = std::uint64_t{nOffset} + kProgramDataOffset;
        break;
    case kAllDataDump:
        scope = kScopeBoth;
        packedLength = kTwoBanksPacked;
        packedAt = std::uint64_t{nOffset} + kAllDataOffset;
        break;
    default:
        SetError(IDS_NO_USEFUL_DATA, nOffset);
        return false;
    }

    std::vector<std::uint8_t> buffer(packedLength);
    if (!file.Seek(packedAt) || file.Read(buffer.data(), buffer.size()) < buffer.size()) {
        SetError(IDS_INVALID_DATA, nOffset);
        return false;
    }
    UnpackKorgData(buffer);

    const CByteView data(buffer);
    for (std::size_t at = 0; at < data.size(); at += kRecordLength)
        m_names.push_back(NameFromField(data.Slice(at, kNameLength), ETrim::TrailingWhiteSpace));
    // Set only now: a dump cut short lists no bank in its definition.
    m_nBankScope = scope;
    return true;
}

CDefinition CKorgProgramExtractor::BuildDefinition() const
{
    CDefinition definition = StartDefinition(IDS_MAKER_KORG);
    const std::string bankFormat = GetBankFormat();
    const std::string prefixPattern = GetInstrFormat();
    const CPatternUse use = AnalyseLetterPattern(prefixPattern);
    const std::array<std::string, 2> titles{LetteredBankName(bankFormat, 'A'),
                                            LetteredBankName(bankFormat, 'B')};
    const auto startBank = [&](std::size_t ab) -> CBankNames& {
        CBankNames& bank = definition.banks.emplace_back();
        bank.title = titles[ab];
        bank.number = ab == 0 ? kBankNumberA : kBankNumberB;
        bank.patches.reserve(kProgramsPerBank);
        return bank;
    };

    for (std::size_t i = 0; i < m_names.size(); ++i) {
        const char letter = BankLetter(m_nBankScope, i);
        const std::size_t n = i < kProgramsPerBank ? i : i - kProgramsPerBank;
        if (i == 0 || i == kProgramsPerBank)
            startBank(static_cast<std::size_t>(letter - 'A'));
        definition.banks.back().patches.push_back(
            {FormatLetterPrefix(prefixPattern, use, letter, static_cast<int>(n)), m_names[i]});
    }

    // The definition selects the banks that the dump's header announced.
    CInstrumentDef& instrument = definition.instruments.emplace_back();
    instrument.name = definition.definitionName;
    for (std::size_t ab = 0; ab < 2; ++ab) {
        if (m_nBankScope != kScopeBoth && m_nBankScope != (ab == 0 ? kScopeA : kScopeB))
            continue;
        const std::int32_t number = ab == 0 ? kBankNumberA : kBankNumberB;
        auto found =
            std::find_if(definition.banks.begin(), definition.banks.end(),
                         [number](const CBankNames& bank) { return bank.number == number; });
        if (found == definition.banks.end()) {
            startBank(ab);
            found = definition.banks.end() - 1;
        }
        instrument.banks.push_back(static_cast<std::size_t>(found - definition.banks.begin()));
    }
    return definition;
}

std::vector<CReadCount> CKorgProgramExtractor::CountContents() const
{
    return {{CountNames(m_names), IDS_READ_PROGRAM, IDS_READ_PROGRAMS}};
}

void CKorgProgramExtractor::ClearNames()
{
    m_names.clear();
}

void CKorgProgramExtractor::StoreSampleNames(std::span<const std::string> names)
{
    ClearNames();
    m_nBankScope = kScopeA;
    m_names.assign(names.begin(), names.end());
}

CProphecyExtractor::CProphecyExtractor() : CKorgProgramExtractor(IDS_SYNTH_PROPHECY) {}

CTrRackExtractor::CTrRackExtractor() : CKorgProgramExtractor(IDS_SYNTH_TRRACK) {}

}  // namespace bankwise
