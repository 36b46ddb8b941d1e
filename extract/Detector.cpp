// Detection reads at most the first 128 bytes. A raw file must start with
// 0xF0 and carry a known signature right after it (p = 1). A MIDI file must
// start with "MThd"; after its first 0xF0 (from byte 4 on) every position up
// to byte 127 is tested and the first that matches is p. The signatures
// are those of the family table.
#include "Detector.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "StringTable.h"

namespace bankwise {
namespace {

// The families read before the table grew; in a MIDI file they come first.
constexpr std::size_t kFirstFamilies = 6;

constexpr std::size_t kHeadLength = 6;
constexpr std::size_t kMidiSearchLength = 128;

}  // namespace

bool IsMidiFileName(std::string_view path)
{
    const auto separator = path.find_last_of("/\\");
    const std::string_view name =
        separator == std::string_view::npos ? path : path.substr(separator + 1);
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return false;
    std::string extension(name.substr(dot));
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return extension == ".MID";
}

CDetection DetectFamily(CByteSource& file, bool bMidiFile)
{
    CDetection result;
    std::array<std::uint8_t, kMidiSearchLength> head{};
    if (!file.Seek(0) || file.Read(head.data(), kHeadLength) < kHeadLength)
        return result;

    const CFamily* family = nullptr;
    std::size_t p = 1;
    if (bMidiFile) {
        if (!std::equal(head.begin(), head.begin() + 4, "MThd")) {
            result.nErrorID = IDS_UNKNOWN_FORMAT;
            return result;
        }
        if (!file.Seek(0))
            return result;
        const std::size_t n = file.Read(head.data(), head.size());
        const CByteView bytes(head.data(), n);
        const std::size_t start = bytes.Find(4, 0xF0);
        // A later family is taken only when none of the first six matches
        // anywhere, so that a MIDI file that opened before opens the same:
        // its other messages may hold a later family's bytes.
        const CFamily* later = nullptr;
        std::size_t laterAt = 0;
        for (std::size_t q = start == CByteView::npos ? n : start + 1; q < n; ++q) {
            const CFamily* match = MatchSignature(bytes, q);
            if (match != nullptr && match < Families().data() + kFirstFamilies) {
                family = match;
                p = q;
                break;
            }
            if (match != nullptr && later == nullptr) {
                later = match;
                laterAt = q;
            }
        }
        if (family == nullptr && later != nullptr) {
            family = later;
            p = laterAt;
        }
        if (!family) {
            result.nErrorID = IDS_UNKNOWN_DATA;
            return result;
        }
    } else {
        if (head[0] != 0xF0) {
            result.nErrorID = IDS_UNKNOWN_FORMAT;
            return result;
        }
        family = MatchSignature(CByteView(head.data(), kHeadLength), p);
    }

    if (!file.Seek(0))
        return result;
    if (!family) {
        result.nErrorID = IDS_UNKNOWN_DATA;
        return result;
    }
    result.family = family;
    result.nOffset = p;
    return result;
}

}  // namespace bankwise
