// Yamaha FS1R bulk messages and the Yamaha 32-voice packed voice bulk.
// Offsets from the manufacturer byte o (the 0xF0 stands at o - 1):
//
// FS1R bulk message (model 0x5E); an internal performance is 411 bytes from
// F0 to F7, so its F7 is at o+409:
//   offset  length  content
//   o       1       0x43  Yamaha
//   o+1     1       device number (any)
//   o+2     1       0x5E  FS1R
//   o+3     2       byte count (not read)
//   o+5     3       address: 0x11 0x00 nn is internal performance nn; any
//                   other address (edit buffer, voices, system) is passed over
//   o+8     12      performance name (first 12 data bytes)
//   o+20    ...     rest of the 400 data bytes, checksum, 0xF7
//
// 32-voice packed bulk (DX7 layout):
//   o       1       0x43  Yamaha
//   o+1     1       sub-status, must be 0x00
//   o+2     1       0x09  format number
//   o+3     1       byte count high, taken as the number of voices (0x20 = 32)
//   o+4     1       byte count low (not read)
//   o+5+128i 128    voice record i; its last 10 bytes (o+123+128i) are the name
//
// Names end before a 0 and lose trailing white space. Raw files hold the
// messages back to back (one byte, the next 0xF0, is stepped over); in a MIDI
// file the next message is the next 0x43 ?? 0x5E. Nothing is read after a
// 32-voice message.
#include "Fs1rExtractor.h"

#include "ByteView.h"
#include "StringTable.h"

namespace bankwise {
namespace {

constexpr std::uint8_t kYamaha = 0x43;
constexpr std::uint8_t kModelFs1r = 0x5E;
constexpr std::uint8_t kFormatVoice32 = 0x09;

constexpr std::size_t kHeaderLength = 8;  // through the address bytes
constexpr std::size_t kNameOffset = 8;
constexpr std::size_t kNameLength = 12;
constexpr std::size_t kPerformanceStep = 410;  // manufacturer byte to the byte after F7

constexpr std::size_t kVoiceRecordOffset = 5;
constexpr std::size_t kVoiceRecordLength = 128;
constexpr std::size_t kVoiceNameInRecord = 118;
constexpr std::size_t kVoiceNameLength = 10;

constexpr int kDefinitionBank = 64;

bool IsPerformance(const CByteView& data, std::size_t o)
{
    return data.ByteIs(o + 5, 0x11) && data.ByteIs(o + 6, 0x00);
}

// True when every field this reader takes from the FS1R message at o lies
// inside the data: the header with its address and, for a performance, the
// name.
bool Fs1rFieldsFit(const CByteView& data, std::size_t o)
{
    if (!data.Fits(o, kHeaderLength))
        return false;
    return !IsPerformance(data, o) || data.Fits(o + kNameOffset, kNameLength);
}

// The next FS1R message at or after from in a MIDI file, or npos. One that
// the end of the data cuts short is not taken for a message.
std::size_t FindFs1rMessage(const CByteView& data, std::size_t from)
{
    for (std::size_t q = from; q < data.size(); ++q) {
        if (data.ByteIs(q, kYamaha) && data.ByteIs(q + 2, kModelFs1r) && Fs1rFieldsFit(data, q))
            return q;
    }
    return CByteView::npos;
}

// Stores the names of the 32-voice message at o. False when the message is
// cut short before its count or its records.
bool ReadVoiceBulk(const CByteView& data, std::size_t o, CNameList& names)
{
    if (!data.Fits(o, kVoiceRecordOffset))
        return false;
    const std::size_t count = data.At(o + 3);
    if (!data.Fits(o + kVoiceRecordOffset, count * kVoiceRecordLength))
        return false;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t name =
            o + kVoiceRecordOffset + i * kVoiceRecordLength + kVoiceNameInRecord;
        StoreName(names, i,
                  NameFromField(data.Slice(name, kVoiceNameLength), ETrim::TrailingWhiteSpace));
    }
    return true;
}

}  // namespace

CFs1rExtractor::CFs1rExtractor() : CDumpExtractor(IDS_SYNTH_FS1R) {}

CFs1rExtractor::~CFs1rExtractor() = default;

bool CFs1rExtractor::Parse(CByteSource& file, bool bMidiFile, std::uint32_t nOffset)
{
    const CWholeSource whole(file);
    const CByteView data = whole.View();

    std::size_t o = nOffset;
    while (o < data.size()) {
        if (!data.ByteIs(o, kYamaha)) {
            SetError(IDS_INVALID_DATA, o);
            return false;
        }
        if (MessageCutShort(data, o, 3)) {  // too short to tell what it was
            m_bCutOff = true;
            return true;
        }
        if (data.ByteIs(o + 2, kModelFs1r)) {
            // A message cut short by the end of the data: in a MIDI file it
            // is no message, as the search would have it; in a raw dump it
            // is where a stopped download ends, unless a 0xF7 closes it.
            if (!Fs1rFieldsFit(data, o)) {
                if (bMidiFile || data.Find(o, 0xF7) == CByteView::npos) {
                    m_bCutOff = true;
                    return true;
                }
                SetError(IDS_INVALID_DATA, o);
                return false;
            }
            if (IsPerformance(data, o)) {
                StoreName(m_names, data.At(o + 7),
                          NameFromField(data.Slice(o + kNameOffset, kNameLength),
                                        ETrim::TrailingWhiteSpace));
                m_bCutOff = !data.Fits(o, kPerformanceStep);
                o += kPerformanceStep;
            } else {
                const std::size_t end = data.Find(o + 7, 0xF7);
                m_bCutOff = end == CByteView::npos;
                o = end == CByteView::npos ? data.size() : end + 1;
            }
        } else if (data.ByteIs(o + 1, 0x00) && data.ByteIs(o + 2, kFormatVoice32)) {
            if (!ReadVoiceBulk(data, o, m_names)) {
                if (data.Find(o, 0xF7) == CByteView::npos) {  // cut off inside the bulk
                    m_bCutOff = true;
                    return true;
                }
                SetError(IDS_INVALID_DATA, o);
                return false;
            }
            // Nothing after a voice bulk is read, so a cut after its names
            // loses none.
            return true;
        } else {
            SetError(IDS_INVALID_DATA, o);
            return false;
        }

        if (bMidiFile) {
            o = FindFs1rMessage(data, o);
            if (o == CByteView::npos)
                break;
        } else {
            ++o;  // the next message's 0xF0, not tested
        }
    }
    m_bCutOff = m_bCutOff || EndsInsideMessage(data, bMidiFile, o);
    return true;
}

CDefinition CFs1rExtractor::BuildDefinition() const
{
    CDefinition definition = StartDefinition(IDS_MAKER_YAMAHA);
    const std::string prefixPattern = GetInstrFormat();
    const bool numbered = PatternCarriesNumber(prefixPattern);

    // The one bank is named by the pattern as typed: there is no bank number
    // or letter to put into it. It is listed even when the dump held no
    // performance.
    CBankNames bank;
    bank.title = GetBankFormat();
    bank.number = kDefinitionBank;
    bank.listedWhenEmpty = true;
    bank.patches.reserve(m_names.size());
    for (std::size_t i = 0; i < m_names.size(); ++i) {
        bank.patches.push_back(
            {NumberedPrefix(prefixPattern, numbered, static_cast<long long>(i) + 1), m_names[i]});
    }
    definition.banks.push_back(std::move(bank));
    definition.instruments.push_back({definition.definitionName, {0}});
    return definition;
}

void CFs1rExtractor::ClearNames()
{
    m_names.clear();
}

void CFs1rExtractor::StoreSampleNames(std::span<const std::string> names)
{
    ClearNames();
    m_names.assign(names.begin(), names.end());
}

}  // namespace bankwise
