// Roland D-50 data set (DT1) messages. Offsets from the manufacturer byte o
// (the 0xF0 stands at o - 1):
//
//   offset  length  content
//   o       1       0x41  Roland
//   o+1     1       device ID (any)
//   o+2     1       0x14  D-50
//   o+3     1       0x12  data set
//   o+4     3       address, three 7-bit bytes, most significant first
//   o+7     ...     data, one byte per address, up to the checksum
//   end-1   1       checksum: address, data and checksum sum to 0 mod 128
//
// Messages write the synth's address space; a bank dump's 256-byte messages
// do not align with its 448-byte patches, so names come from what the
// messages wrote, byte by byte:
//
//   address              content
//   00 00 00 - 00 03 3F  temporary (edit) patch
//   02 00 00 + n * 448   internal patch n, 0-63 (to 03 5F 7F)
//   03 60 00 - 04 0E 7F  reverb data, no names
//   patch + 0x180        patch name, 18 character codes
//
// Character codes: 0 blank, 1-26 A-Z, 27-52 a-z, 53-61 1-9, 62 0, 63 '-'.
// A patch is listed once all 18 name bytes were written; the temporary
// patch each time they were, in file order. Writes outside the names are
// not read. A wrong checksum is counted and the names kept. Roland
// documents no bank select for the D-50: a program change picks patch
// 11-88.
#include "RolandD50Extractor.h"

#include "MessageWalk.h"
#include "SafeFormat.h"
#include "StringTable.h"

namespace bankwise {
namespace {

constexpr std::uint8_t kRoland = 0x41;
constexpr std::uint8_t kD50 = 0x14;
constexpr std::uint8_t kDataSet = 0x12;
constexpr std::size_t kHeaderLength = 4;  // manufacturer to command
constexpr std::size_t kAddressOffset = 4;
constexpr std::size_t kDataOffset = 7;
constexpr std::size_t kPatchLength = 448;
constexpr std::size_t kNameOffset = 0x180;
constexpr std::size_t kNameLength = 18;
constexpr std::uint32_t kNameWritten = (1u << kNameLength) - 1;
constexpr std::size_t kInternalBase = 2u << 14;  // 02 00 00
constexpr std::size_t kPatchCount = 64;
constexpr std::int32_t kEditBufferBank = 1;  // none reaches it: the one after

constexpr char kCharacters[] = " ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz1234567890-";
static_assert(sizeof kCharacters == 64 + 1);

bool IsD50Header(const CByteView& data, std::size_t o)
{
    return data.ByteIs(o, kRoland) && data.ByteIs(o + 2, kD50) && data.ByteIs(o + 3, kDataSet);
}

// One patch name as the messages write it.
struct CNameField
{
    std::array<std::uint8_t, kNameLength> codes{};
    std::uint32_t written = 0;  // bit i: code i arrived

    std::string Decode() const
    {
        std::string name;
        for (const std::uint8_t code : codes)
            name += code < 64 ? kCharacters[code] : '?';
        return NameFromCodes(std::move(name));
    }
};

// Copies what [at, at + length) of the data writes to the name of the patch
// at address patch.
void WriteName(CNameField& field, std::size_t patch, std::size_t address,
               std::span<const std::uint8_t> bytes)
{
    const std::size_t name = patch + kNameOffset;
    for (std::size_t i = 0; i < kNameLength; ++i) {
        if (name + i >= address && name + i - address < bytes.size()) {
            field.codes[i] = bytes[name + i - address];
            field.written |= 1u << i;
        }
    }
}

bool ChecksumHolds(const CByteView& data, const CMessage& m)
{
    unsigned sum = 0;
    for (const std::uint8_t byte : data.Slice(m.o + kAddressOffset, m.end - m.o - kAddressOffset))
        sum += byte;
    return (sum & 0x7F) == 0;
}

// The number a D-50 shows for patch slot: bank 1-8, then number 1-8.
long long D50Number(std::size_t slot)
{
    return static_cast<long long>((slot / 8 + 1) * 10 + slot % 8 + 1);
}

}  // namespace

CRolandD50Extractor::CRolandD50Extractor() : CDumpExtractor(IDS_SYNTH_D50) {}

CRolandD50Extractor::~CRolandD50Extractor() = default;

bool CRolandD50Extractor::Parse(CByteSource& file, bool bMidiFile, std::uint32_t nOffset)
{
    const CWholeSource whole(file);
    const CByteView data = whole.View();
    std::array<CNameField, kPatchCount> patches{};
    CNameField temporary;
    const auto read = [&](const CMessage& m) {
        // The address and the checksum at least; in a cut message the last
        // byte that came may be the checksum, so it is not taken as data.
        if (!m.Holds(kAddressOffset, kDataOffset - kAddressOffset + 1))
            return m.cut;
        if (!m.cut && !ChecksumHolds(data, m))
            ++m_nBadChecksums;
        const std::size_t address = std::size_t{data.At(m.o + 4)} << 14 |
                                    std::size_t{data.At(m.o + 5)} << 7 | data.At(m.o + 6);
        const auto bytes = data.Slice(m.o + kDataOffset, m.end - 1 - (m.o + kDataOffset));
        const std::size_t last = address + bytes.size();  // one past the last address written
        if (address < kPatchLength) {
            WriteName(temporary, 0, address, bytes);
            if (temporary.written == kNameWritten) {
                m_editBuffer.push_back(temporary.Decode());
                temporary.written = 0;
            }
        }
        const std::size_t first =
            address < kInternalBase ? 0 : (address - kInternalBase) / kPatchLength;
        for (std::size_t n = first;
             n < kPatchCount && kInternalBase + n * kPatchLength + kNameOffset < last; ++n)
            WriteName(patches.at(n), kInternalBase + n * kPatchLength, address, bytes);
        return true;
    };
    const std::optional<std::size_t> broken = WalkMessages(
        data, bMidiFile, nOffset, kRoland, kHeaderLength, IsD50Header, read, m_bCutOff);
    if (broken) {
        SetError(IDS_INVALID_DATA, *broken);
        return false;
    }
    for (std::size_t n = 0; n < kPatchCount; ++n) {
        if (patches[n].written == kNameWritten)
            StoreName(m_patches, n, patches[n].Decode());
    }
    return true;
}

CDefinition CRolandD50Extractor::BuildDefinition() const
{
    CDefinition definition = StartDefinition(IDS_MAKER_ROLAND);
    const std::string bankFormat = GetBankFormat();
    const std::string instrFormat = GetInstrFormat();
    const bool numberedPatches = PatternCarriesNumber(instrFormat);

    CInstrumentDef& instrument = definition.instruments.emplace_back();
    instrument.name = definition.definitionName;
    const auto prefix = [&](std::size_t slot) {
        return NumberedPrefix(instrFormat, numberedPatches, D50Number(slot));
    };
    AddNameBank(definition, instrument, m_patches, NumberedBankName(bankFormat, 0), 0, prefix);
    AddNameBank(definition, instrument, m_editBuffer, KindTitle(bankFormat, "Edit Buffer"),
                kEditBufferBank, prefix);
    return definition;
}

void CRolandD50Extractor::ClearNames()
{
    m_patches.clear();
    m_editBuffer.clear();
}

void CRolandD50Extractor::StoreSampleNames(std::span<const std::string> names)
{
    ClearNames();
    m_patches.assign(names.begin(), names.end());
}

}  // namespace bankwise
