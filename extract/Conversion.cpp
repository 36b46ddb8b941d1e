#include "Conversion.h"

#include <algorithm>
#include <new>

#include "SafeFormat.h"
#include "StringTable.h"

namespace bankwise {
namespace {

// A dump that lies in the caller's memory, read in place.
class CSpanByteSource final : public CByteSource
{
public:
    explicit CSpanByteSource(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    std::uint64_t GetLength() override { return m_bytes.size(); }
    bool Seek(std::uint64_t position) override
    {
        m_position = position;
        return true;
    }
    std::uint64_t GetPosition() override { return m_position; }
    std::size_t Read(std::uint8_t* destination, std::size_t count) override
    {
        if (m_position >= m_bytes.size())
            return 0;
        const auto offset = static_cast<std::size_t>(m_position);
        const std::size_t n = std::min(count, m_bytes.size() - offset);
        std::copy_n(m_bytes.begin() + static_cast<std::ptrdiff_t>(offset), n, destination);
        m_position += n;
        return n;
    }
    std::optional<std::span<const std::uint8_t>> GetContiguousBytes() override { return m_bytes; }

private:
    std::span<const std::uint8_t> m_bytes;
    std::uint64_t m_position = 0;
};

EConvertError FromStringId(std::uint32_t id)
{
    switch (id) {
    case IDS_UNKNOWN_FORMAT:
        return EConvertError::UnknownFormat;
    case IDS_UNKNOWN_DATA:
        return EConvertError::UnknownData;
    case IDS_NO_USEFUL_DATA:
        return EConvertError::NoUsefulData;
    case IDS_OUT_OF_MEMORY:
        return EConvertError::OutOfMemory;
    default:
        // A reader that stops without a message (a header the file cuts
        // off) has still been handed a dump of its family that it cannot use.
        return EConvertError::InvalidData;
    }
}

void Read(CByteSource& source, bool bMidiFile, const IProfile& profile, CConversion& result)
{
    const CDetection detection = DetectFamily(source, bMidiFile);
    if (!detection.family) {
        result.error =
            detection.nErrorID != 0 ? FromStringId(detection.nErrorID) : EConvertError::TooShort;
        return;
    }
    result.family = detection.family;
    result.nOffset = detection.nOffset;
    result.extractor = detection.family->create();
    result.extractor->SetProfile(profile);
    CDumpExtractor& extractor = *result.extractor;
    if (!extractor.Parse(source, bMidiFile, static_cast<std::uint32_t>(detection.nOffset))) {
        result.error = FromStringId(extractor.m_nErrorID);
        result.nOffset = extractor.m_nErrorOffset.value_or(detection.nOffset);
        return;
    }
    result.notes = {extractor.m_bCutOff, extractor.m_nPassedOver, extractor.m_nBadChecksums};
}

}  // namespace

CConversion ConvertDump(CByteSource& source, bool bMidiFile, const IProfile& profile,
                        const BusyHook& busy)
{
    const CBusyGuard guard(busy);
    CConversion result;
    try {
        Read(source, bMidiFile, profile, result);
    } catch (const std::bad_alloc&) {
        result.error = EConvertError::OutOfMemory;
        result.notes = {};
    }
    // A read error cuts the dump short; whatever the reader made of the rest
    // is not the dump's content, whether it succeeded or not.
    if (source.HasFailed()) {
        result.error = EConvertError::ReadError;
        result.extractor.reset();
        result.notes = {};
    }
    return result;
}

CConversion ConvertDump(std::span<const std::uint8_t> dump, bool bMidiFile, const IProfile& profile,
                        const BusyHook& busy)
{
    CSpanByteSource source(dump);
    return ConvertDump(source, bMidiFile, profile, busy);
}

std::uint32_t ErrorStringId(EConvertError error)
{
    switch (error) {
    case EConvertError::None:
        return 0;
    case EConvertError::TooShort:
        return IDS_FILE_TOO_SHORT;
    case EConvertError::UnknownFormat:
        return IDS_UNKNOWN_FORMAT;
    case EConvertError::UnknownData:
        return IDS_UNKNOWN_DATA;
    case EConvertError::InvalidData:
        return IDS_INVALID_DATA;
    case EConvertError::NoUsefulData:
        return IDS_NO_USEFUL_DATA;
    case EConvertError::ReadError:
        return IDS_READ_ERROR;
    case EConvertError::OutOfMemory:
        return IDS_OUT_OF_MEMORY;
    }
    return IDS_INVALID_DATA;
}

std::string DescribeError(EConvertError error)
{
    const std::uint32_t id = ErrorStringId(error);
    return id != 0 ? LoadString(id) : std::string();
}

std::vector<std::string> DescribeNotes(const CConvertNotes& notes)
{
    std::vector<std::string> lines;
    if (notes.bCutOff)
        lines.push_back(LoadString(IDS_DUMP_CUT_OFF));
    if (notes.nBadChecksums == 1)
        lines.push_back(LoadString(IDS_DUMP_BAD_CHECKSUM));
    else if (notes.nBadChecksums != 0)
        lines.push_back(
            SafeFormat(LoadString(IDS_DUMP_BAD_CHECKSUMS), {FormatArg::Int(notes.nBadChecksums)}));
    if (notes.nPassedOver != 0) {
        lines.push_back(
            SafeFormat(LoadString(IDS_PASSED_OVER), {FormatArg::Int(notes.nPassedOver)}));
    }
    return lines;
}

}  // namespace bankwise
