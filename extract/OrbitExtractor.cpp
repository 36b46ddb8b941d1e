// E-MU Orbit/Phatt/Carnaval preset dump, one 281-byte message per preset.
// Offsets from the manufacturer byte o (the 0xF0 stands at o - 1):
//
//   offset  length  content
//   o       1       0x18  E-MU
//   o+1     1       0x0A  Orbit family
//   o+2     1       device ID (any)
//   o+3     1       0x01  preset dump
//   o+4     2       preset number, 14-bit, low part first
//   o+6     24      name: 12 characters, each a 14-bit pair (low, high)
//   o+30    249     rest of the preset, not read
//   o+279   1       0xF7
//
// Raw files hold the messages back to back; in a MIDI file the next message
// is the next 0x18 0x0A pair after the current one.
#include "OrbitExtractor.h"

#include "ByteView.h"
#include "StringTable.h"

namespace bankwise {
namespace {

constexpr std::size_t kMessageLength = 281;  // 0xF0 to 0xF7
constexpr std::size_t kEndOffset = 279;      // the 0xF7, from o
constexpr std::size_t kNameOffset = 6;
constexpr std::size_t kNameChars = 12;
constexpr int kPresetCount = 5 * 128;

bool IsPresetMessage(const CByteView& data, std::size_t o)
{
    return data.Fits(o, kEndOffset + 1) && data.ByteIs(o, 0x18) && data.ByteIs(o + 1, 0x0A) &&
           data.ByteIs(o + 3, 0x01) && data.ByteIs(o + kEndOffset, 0xF7);
}

std::string DecodeName(const CByteView& data, std::size_t o)
{
    std::string name;
    for (std::size_t i = 0; i < kNameChars; ++i) {
        const std::size_t at = o + kNameOffset + 2 * i;
        const int value = Make14BitValue(data.At(at), data.At(at + 1));
        const auto c = static_cast<char>(static_cast<unsigned char>(value & 0xFF));
        if (c == '\0')
            break;
        name += c;
    }
    return name;
}

}  // namespace

COrbitExtractor::COrbitExtractor() : CDumpExtractor(IDS_SYNTH_ORBIT) {}

COrbitExtractor::~COrbitExtractor() = default;

bool COrbitExtractor::Parse(CByteSource& file, bool bMidiFile, std::uint32_t nOffset)
{
    const CWholeSource whole(file);
    const CByteView data = whole.View();
    std::size_t o = nOffset;
    while (o < data.size()) {
        if (!IsPresetMessage(data, o)) {
            SetError(IDS_INVALID_DATA, o);
            return false;
        }
        const int preset = Make14BitValue(data.At(o + 4), data.At(o + 5));
        // Numbers outside the five banks have nowhere to go; the message is
        // passed over and the rest of the dump still read.
        if (preset >= 0 && preset < kPresetCount) {
            StoreName(m_banks[static_cast<std::size_t>(preset / 128)],
                      static_cast<std::size_t>(preset % 128), DecodeName(data, o));
        }
        if (!bMidiFile) {
            o += kMessageLength;
            continue;
        }
        o += kMessageLength - 1;
        while (o < data.size() && !data.Matches(o, {0x18, 0x0A}))
            ++o;
    }
    m_bCutOff = EndsInsideMessage(data, bMidiFile, o);
    return true;
}

CDefinition COrbitExtractor::BuildDefinition() const
{
    return BuildReferenceDefinition(m_banks, IDS_MAKER_EMU);
}

std::vector<CReadCount> COrbitExtractor::CountContents() const
{
    std::size_t presets = 0;
    for (const CNameList& bank : m_banks)
        presets += CountNames(bank);
    return {{presets, IDS_READ_PRESET, IDS_READ_PRESETS}};
}

void COrbitExtractor::ClearNames()
{
    for (CNameList& bank : m_banks)
        bank.clear();
}

void COrbitExtractor::StoreSampleNames(std::span<const std::string> names)
{
    ClearNames();
    m_banks[0].assign(names.begin(), names.end());
}

}  // namespace bankwise
