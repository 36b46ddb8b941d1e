// Korg M1 and 03R/W program and combination dumps. Offsets from the
// manufacturer byte o (the 0xF0 stands at o - 1):
//
//   offset  length  content
//   o       1       0x42  Korg
//   o+1     1       0x3n  n = channel (any)
//   o+2     1       model: 0x19 M1, 0x30 03R/W
//   o+3     1       function: 0x40 edit program, 0x4C all programs,
//                   0x4D all combinations (M1 only); any other (all data,
//                   sequences, global) carries no names and is passed over
//   o+4     ...     0x40: packed data to the 0xF7, one program record
//   o+4     1       0x4C, 0x4D: memory allocation, not read
//   o+5     ...     0x4C, 0x4D: packed data to the 0xF7, records back to back
//
// Packed form: groups of a bit byte and up to 7 data bytes (the last group
// may be short); bit j of the bit byte is bit 7 of data byte j.
//
//   record          M1 program 143 bytes, M1 combination 124, 03R/W program
//                   172; the name is bytes 0-9 of each
//
// The count of records comes from the length of the data (a 50/50 memory
// allocation sends 50); records beyond the 100 a bank holds are passed
// over. There is no checksum. Character codes: ASCII, 0x00 a blank, 0x7E
// and 0x7F the display's arrows. Neither model answers bank select: a
// program change in program or combination mode picks the number.
#include "KorgM1Extractor.h"

#include <algorithm>

#include "MessageWalk.h"
#include "SafeFormat.h"
#include "StringTable.h"

namespace bankwise {
namespace {

constexpr std::uint8_t kKorg = 0x42;
constexpr std::uint8_t kM1 = 0x19;
constexpr std::uint8_t k03rw = 0x30;
constexpr std::uint8_t kEditProgram = 0x40;
constexpr std::uint8_t kAllPrograms = 0x4C;
constexpr std::uint8_t kAllCombinations = 0x4D;
constexpr std::size_t kHeaderLength = 4;  // manufacturer to function
constexpr std::size_t kNameLength = 10;
constexpr std::size_t kBankSize = 100;
constexpr std::size_t kGroupLength = 8;  // bit byte + 7 data bytes
// No bank select reaches the lists; they are numbered in this order.
constexpr std::int32_t kProgramsBank = 0;
constexpr std::int32_t kCombinationsBank = 1;
constexpr std::int32_t kEditBufferBank = 2;

bool IsModel(const CByteView& data, std::size_t at)
{
    return data.ByteIs(at, kM1) || data.ByteIs(at, k03rw);
}

bool IsM1Header(const CByteView& data, std::size_t o)
{
    return data.ByteIs(o, kKorg) && data.Fits(o + 1, 1) && (data.At(o + 1) & 0xF0) == 0x30 &&
           IsModel(data, o + 2);
}

// Where unpacked byte u of the packed data at from stands.
std::size_t PackedAt(std::size_t from, std::size_t u)
{
    return from + u / 7 * kGroupLength + 1 + u % 7;
}

// How many bytes packed data of this length unpacks to.
std::size_t UnpackedLength(std::size_t packed)
{
    return packed / kGroupLength * 7 + (packed % kGroupLength == 0 ? 0 : packed % kGroupLength - 1);
}

char DisplayChar(unsigned code)
{
    switch (code) {
    case 0x00:
        return ' ';
    case 0x7E:
        return '>';
    case 0x7F:
        return '<';
    default:
        return code < 0x20 || code > 0x7F ? '?' : static_cast<char>(code);
    }
}

// The name of the record at unpacked offset first; its bytes lie before end.
std::string DecodeName(const CByteView& data, std::size_t from, std::size_t first)
{
    std::string name;
    for (std::size_t i = 0; i < kNameLength; ++i) {
        const std::size_t u = first + i;
        const unsigned bits = data.At(from + u / 7 * kGroupLength);
        const unsigned high = ((bits >> (u % 7)) & 1u) << 7;
        name += DisplayChar(data.At(PackedAt(from, u)) | high);
    }
    return NameFromCodes(std::move(name));
}

std::size_t RecordLength(bool m1, std::uint8_t function)
{
    if (!m1)
        return 172;
    return function == kAllCombinations ? 124 : 143;
}

}  // namespace

bool IsM1MessageOnTrRackChannel(const CByteView& bytes, std::size_t p)
{
    if (!IsModel(bytes, p + 2))
        return false;
    if (bytes.ByteIs(p + 3, kEditProgram) || bytes.ByteIs(p + 3, kAllCombinations))
        return true;
    if (!bytes.ByteIs(p + 3, kAllPrograms) || !bytes.Fits(p + 4, 1))
        return false;
    const std::uint8_t bank = bytes.At(p + 4);
    return bank != 0x10 && bank != 0x11 && bank != 0x20 && bank != 0x21;
}

CKorgM1Extractor::CKorgM1Extractor() : CDumpExtractor(IDS_SYNTH_M1) {}

CKorgM1Extractor::~CKorgM1Extractor() = default;

bool CKorgM1Extractor::Parse(CByteSource& file, bool bMidiFile, std::uint32_t nOffset)
{
    const CWholeSource whole(file);
    const CByteView data = whole.View();
    const auto read = [&](const CMessage& m) {
        const bool m1 = data.ByteIs(m.o + 2, kM1);
        const std::uint8_t function = data.At(m.o + 3);
        CNameList* list = nullptr;
        if (function == kEditProgram)
            list = &m_editBuffer;
        else if (function == kAllPrograms)
            list = &m_programs;
        else if (function == kAllCombinations && m1)
            list = &m_combinations;
        else if (function == kAllCombinations) {
            ++m_nPassedOver;  // the 03R/W has no combinations
            return true;
        } else {
            return true;
        }
        const std::size_t from = m.o + (function == kEditProgram ? 4 : 5);
        const std::size_t packed = m.end - std::min(m.end, from);
        const std::size_t unpacked = UnpackedLength(packed);
        const std::size_t record = RecordLength(m1, function);
        // A message that cannot hold even one name breaks the layout, unless
        // the dump stops inside it.
        if (unpacked < kNameLength)
            return m.cut;
        if (list == &m_editBuffer) {
            m_editBuffer.push_back(DecodeName(data, from, 0));
            return true;
        }
        for (std::size_t r = 0; r * record <= unpacked - kNameLength; ++r) {
            if (r < kBankSize)
                StoreName(*list, r, DecodeName(data, from, r * record));
            else
                ++m_nPassedOver;
        }
        return true;
    };
    const std::optional<std::size_t> broken =
        WalkMessages(data, bMidiFile, nOffset, kKorg, kHeaderLength, IsM1Header, read, m_bCutOff);
    if (broken) {
        SetError(IDS_INVALID_DATA, *broken);
        return false;
    }
    return true;
}

CDefinition CKorgM1Extractor::BuildDefinition() const
{
    CDefinition definition = StartDefinition(IDS_MAKER_KORG);
    const std::string bankFormat = GetBankFormat();
    const std::string instrFormat = GetInstrFormat();
    const bool numberedPatches = PatternCarriesNumber(instrFormat);

    CInstrumentDef& instrument = definition.instruments.emplace_back();
    instrument.name = definition.definitionName;
    const auto prefix = [&](std::size_t slot) {
        return NumberedPrefix(instrFormat, numberedPatches, static_cast<long long>(slot));
    };
    const auto title = [&](std::int32_t number, const char* kind) {
        return NumberedBankName(bankFormat, number) + ' ' + kind;
    };
    AddNameBank(definition, instrument, m_programs, title(kProgramsBank, "Programs"), kProgramsBank,
                prefix);
    AddNameBank(definition, instrument, m_combinations, title(kCombinationsBank, "Combinations"),
                kCombinationsBank, prefix);
    AddNameBank(definition, instrument, m_editBuffer, KindTitle(bankFormat, "Edit Buffer"),
                kEditBufferBank, prefix);
    return definition;
}

void CKorgM1Extractor::ClearNames()
{
    m_programs.clear();
    m_combinations.clear();
    m_editBuffer.clear();
}

void CKorgM1Extractor::StoreSampleNames(std::span<const std::string> names)
{
    ClearNames();
    m_programs.assign(names.begin(), names.end());
}

}  // namespace bankwise
