// E-mu Morpheus and Proteus data messages. Offsets from the manufacturer
// byte o (the 0xF0 stands at o - 1):
//
// Morpheus (product 0x0C):
//   offset  length  content
//   o       1       0x18  E-mu
//   o+1     1       0x0C  Morpheus
//   o+2     1       device ID (any)
//   o+3     1       command: 0x01 preset (566 bytes F0 to F7), 0x45 hyperpreset
//                   (484), 0x47 midimap (730); any other passed over
//   o+4     1       data version: 0x01; any other layout is passed over
//   o+5     2       number, 14-bit, low part first
//   o+7     24      name: 12 characters, each a 14-bit word (low, high)
//   ...             the rest of the data
//   end-1   1       checksum: sum of the bytes from o+7 to end-2, & 0x7F
//   end     1       0xF7
//
// Proteus (product 0x04), preset data only (command 0x01, 265 bytes): the
// same without the version byte, so the number is at o+4 and the name at
// o+6, the checksum from o+6.
//
// Numbers: presets 0-383 (MIDI banks 0 RAM, 1 ROM, 3 card on the Morpheus;
// on the Proteus bank = number / 128), hyperpresets 0-255 (MIDI banks 2 RAM,
// 4 card), midimaps 0-15 (no bank select; listed as bank 5). Bank select is
// the LSB (controller 32). Numbers out of range are passed over; a wrong
// checksum is counted and the name kept.
#include "MorpheusExtractor.h"

#include "MessageWalk.h"
#include "SafeFormat.h"
#include "StringTable.h"

namespace bankwise {
namespace {

constexpr std::uint8_t kEmu = 0x18;
constexpr std::uint8_t kMorpheus = 0x0C;
constexpr std::uint8_t kProteus = 0x04;
constexpr std::uint8_t kPreset = 0x01;
constexpr std::uint8_t kHyperpreset = 0x45;
constexpr std::uint8_t kMidimap = 0x47;
constexpr std::uint8_t kDataVersion = 0x01;
constexpr std::size_t kHeaderLength = 4;  // manufacturer to command
constexpr std::size_t kNameChars = 12;
constexpr int kPresetCount = 384;
constexpr int kHyperpresetCount = 256;
constexpr int kMidimapCount = 16;
constexpr std::int32_t kMidimapBank = 5;

bool IsEmuHeader(const CByteView& data, std::size_t o)
{
    return data.ByteIs(o, kEmu) && (data.ByteIs(o + 1, kMorpheus) || data.ByteIs(o + 1, kProteus));
}

// Each character the low 8 bits of a 14-bit word.
std::string DecodeName(const CByteView& data, std::size_t at)
{
    std::string codes;
    for (std::size_t i = 0; i < kNameChars; ++i) {
        const int value = Make14BitValue(data.At(at + 2 * i), data.At(at + 2 * i + 1));
        codes += static_cast<char>(static_cast<unsigned char>(value & 0xFF));
    }
    return NameFromCodes(std::move(codes));
}

bool ChecksumHolds(const CByteView& data, std::size_t from, std::size_t cs)
{
    unsigned sum = 0;
    for (const std::uint8_t byte : data.Slice(from, cs - from))
        sum += byte;
    return (sum & 0x7F) == data.At(cs);
}

}  // namespace

CMorpheusExtractor::CMorpheusExtractor() : CDumpExtractor(IDS_SYNTH_MORPHEUS) {}

CMorpheusExtractor::~CMorpheusExtractor() = default;

bool CMorpheusExtractor::Parse(CByteSource& file, bool bMidiFile, std::uint32_t nOffset)
{
    const CWholeSource whole(file);
    const CByteView data = whole.View();
    const auto read = [&](const CMessage& m) {
        const bool morpheus = data.ByteIs(m.o + 1, kMorpheus);
        const std::uint8_t command = data.At(m.o + 3);
        if (command != kPreset && !(morpheus && (command == kHyperpreset || command == kMidimap)))
            return true;
        const std::size_t number = morpheus ? 5 : 4;
        const std::size_t name = number + 2;
        if (!m.Holds(name, 2 * kNameChars))
            return m.cut;
        if (morpheus && !data.ByteIs(m.o + 4, kDataVersion)) {
            ++m_nPassedOver;
            return true;
        }
        const int n = Make14BitValue(data.At(m.o + number), data.At(m.o + number + 1));
        CNameList* list = nullptr;
        if (command == kPreset && n >= 0 && n < kPresetCount)
            list = &m_presets[static_cast<std::size_t>(n / 128)];
        else if (command == kHyperpreset && n >= 0 && n < kHyperpresetCount)
            list = &m_hyperpresets[static_cast<std::size_t>(n / 128)];
        else if (command == kMidimap && n >= 0 && n < kMidimapCount)
            list = &m_midimaps;
        if (list == nullptr) {
            ++m_nPassedOver;
            return true;
        }
        m_bMorpheus = m_bMorpheus || morpheus;
        // A message that ends right after its name has no checksum to hold.
        if (!m.cut &&
            (!m.Holds(name, 2 * kNameChars + 1) || !ChecksumHolds(data, m.o + name, m.end - 1)))
            ++m_nBadChecksums;
        StoreName(*list, static_cast<std::size_t>(n % 128), DecodeName(data, m.o + name));
        return true;
    };
    const std::optional<std::size_t> broken =
        WalkMessages(data, bMidiFile, nOffset, kEmu, kHeaderLength, IsEmuHeader, read, m_bCutOff);
    if (broken) {
        SetError(IDS_INVALID_DATA, *broken);
        return false;
    }
    return true;
}

CDefinition CMorpheusExtractor::BuildDefinition() const
{
    CDefinition definition = StartDefinition(IDS_MAKER_EMU);
    const std::string bankFormat = GetBankFormat();
    const std::string instrFormat = GetInstrFormat();
    const bool numberedPatches = PatternCarriesNumber(instrFormat);

    struct CList
    {
        const CNameList* names;
        std::int32_t bank;
        int firstNumber;
        const char* kind;
    };
    // In the order of their MIDI banks.
    const CList lists[] = {
        {&m_presets[0], 0, 0, "Presets"},
        {&m_presets[1], 1, 128, "Presets"},
        {&m_hyperpresets[0], 2, 0, "Hyperpresets"},
        {&m_presets[2], m_bMorpheus ? 3 : 2, 256, "Presets"},
        {&m_hyperpresets[1], 4, 128, "Hyperpresets"},
        {&m_midimaps, kMidimapBank, 0, nullptr},
    };
    CInstrumentDef& instrument = definition.instruments.emplace_back();
    instrument.name = definition.definitionName;
    for (const CList& list : lists) {
        const std::string title = list.kind == nullptr
                                      ? KindTitle(bankFormat, "Midimaps")
                                      : NumberedBankName(bankFormat, list.bank) + ' ' + list.kind;
        AddNameBank(definition, instrument, *list.names, title, list.bank, [&](std::size_t slot) {
            return NumberedPrefix(instrFormat, numberedPatches,
                                  list.firstNumber + static_cast<long long>(slot));
        });
    }
    return definition;
}

void CMorpheusExtractor::ClearNames()
{
    for (CNameList& list : m_presets)
        list.clear();
    for (CNameList& list : m_hyperpresets)
        list.clear();
    m_midimaps.clear();
}

void CMorpheusExtractor::StoreSampleNames(std::span<const std::string> names)
{
    ClearNames();
    m_presets[0].assign(names.begin(), names.end());
}

}  // namespace bankwise
