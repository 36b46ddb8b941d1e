// Detection reads at most the first 128 bytes. A raw file must start with
// 0xF0 and carry a known signature right after it (p = 1). A MIDI file must
// start with "MThd"; after its first 0xF0 (from byte 4 on) every position up
// to byte 127 is tested and the first that matches is p.
//
// Signatures at p, first match wins:
//   E-MU Orbit      [p]=18 [p+1]=0A
//   Roland JV/XP    [p]=41 [p+2]=6A
//   Korg Prophecy   [p]=42 [p+2]=41
//   Korg TR-Rack    [p]=42 [p+1]=3B
//   Yamaha FS1R     [p]=43 and ([p+2]=5E or [p+1]=00 [p+2]=09)
//   access Virus    [p]=00 [p+1]=20 [p+2]=33 [p+3]=01
#include "Detector.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "Fs1rExtractor.h"
#include "JvXpExtractor.h"
#include "KorgExtractor.h"
#include "OrbitExtractor.h"
#include "StringTable.h"
#include "VirusExtractor.h"

namespace bankwise {
namespace {

constexpr std::size_t kHeadLength = 6;
constexpr std::size_t kMidiSearchLength = 128;

}  // namespace

std::optional<EFamily> MatchSignature(const CByteView& b, std::size_t p)
{
    if (b.ByteIs(p, 0x18) && b.ByteIs(p + 1, 0x0A))
        return EFamily::Orbit;
    if (b.ByteIs(p, 0x41) && b.ByteIs(p + 2, 0x6A))
        return EFamily::JvXp;
    if (b.ByteIs(p, 0x42) && b.ByteIs(p + 2, 0x41))
        return EFamily::Prophecy;
    if (b.ByteIs(p, 0x42) && b.ByteIs(p + 1, 0x3B))
        return EFamily::TrRack;
    if (b.ByteIs(p, 0x43) &&
        (b.ByteIs(p + 2, 0x5E) || (b.ByteIs(p + 1, 0x00) && b.ByteIs(p + 2, 0x09))))
        return EFamily::Fs1r;
    if (b.Matches(p, {0x00, 0x20, 0x33, 0x01}))
        return EFamily::Virus;
    return std::nullopt;
}

std::unique_ptr<CDumpExtractor> CreateExtractor(EFamily family)
{
    switch (family) {
    case EFamily::Orbit:
        return std::make_unique<COrbitExtractor>();
    case EFamily::JvXp:
        return std::make_unique<CJvXpExtractor>();
    case EFamily::Prophecy:
        return std::make_unique<CProphecyExtractor>();
    case EFamily::TrRack:
        return std::make_unique<CTrRackExtractor>();
    case EFamily::Fs1r:
        return std::make_unique<CFs1rExtractor>();
    case EFamily::Virus:
        return std::make_unique<CVirusExtractor>();
    }
    return nullptr;
}

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

    std::optional<EFamily> family;
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
        for (std::size_t q = start == CByteView::npos ? n : start + 1; q < n; ++q) {
            family = MatchSignature(bytes, q);
            if (family) {
                p = q;
                break;
            }
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
