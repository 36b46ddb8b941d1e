// To add a family: write its extractor pair (its constructor passes only
// its display name id to CDumpExtractor, which takes the rest from here),
// give the display name a string-table entry, and add its row below. New
// rows go after the others, so that every dump read today still goes to the
// family that reads it now.
//
// Signatures at p (the manufacturer byte), first match wins:
//   E-MU Orbit      [p]=18 [p+1]=0A
//   Roland JV/XP    [p]=41 [p+2]=6A
//   Korg Prophecy   [p]=42 [p+2]=41
//   Korg TR-Rack    [p]=42 [p+1]=3B, but not an M1 message it would refuse
//   Yamaha FS1R     [p]=43 and ([p+2]=5E or [p+1]=00 [p+2]=09)
//   access Virus    [p]=00 [p+1]=20 [p+2]=33 [p+3]=01
//   Waldorf Blofeld [p]=3E [p+1]=13 [p+3]=10
//   E-mu Morpheus   [p]=18 and ([p+1]=0C or [p+1]=04)
//   Ensoniq         [p]=0F and ([p+1]=05 [p+2]=00 or [p+1]=02)
//   Korg M1/03R/W   [p]=42 [p+1]=3n and ([p+2]=19 or [p+2]=30)
//   Roland D-50     [p]=41 [p+2]=14 [p+3]=12
//   Kawai K5000     [p]=40 [p+3]=00 [p+4]=0A
#include "Families.h"

#include <algorithm>
#include <array>

#include "BlofeldExtractor.h"
#include "EnsoniqExtractor.h"
#include "Fs1rExtractor.h"
#include "JvXpExtractor.h"
#include "KawaiK5000Extractor.h"
#include "KorgExtractor.h"
#include "KorgM1Extractor.h"
#include "MorpheusExtractor.h"
#include "OrbitExtractor.h"
#include "RolandD50Extractor.h"
#include "StringTable.h"
#include "VirusExtractor.h"

namespace bankwise {
namespace {

template <class T> std::unique_ptr<CDumpExtractor> Make()
{
    return std::make_unique<T>();
}

constexpr std::array kFamilies{
    CFamily{IDS_SYNTH_ORBIT, "Orbit Bank %d", nullptr, 0, 0,
            [](const CByteView& b, std::size_t p) {
                return b.ByteIs(p, 0x18) && b.ByteIs(p + 1, 0x0A);
            },
            Make<COrbitExtractor>},
    // One bank number for every kind: MSB 80, LSB 0.
    CFamily{IDS_SYNTH_JVXP, "JV/XP User", "USER:%03d ", 1, 10240,
            [](const CByteView& b, std::size_t p) {
                return b.ByteIs(p, 0x41) && b.ByteIs(p + 2, 0x6A);
            },
            Make<CJvXpExtractor>},
    // Bank A is MSB 1, LSB 0.
    CFamily{IDS_SYNTH_PROPHECY, "Prophecy Bank %c", "%c%02d:", 0, 128,
            [](const CByteView& b, std::size_t p) {
                return b.ByteIs(p, 0x42) && b.ByteIs(p + 2, 0x41);
            },
            Make<CProphecyExtractor>},
    CFamily{IDS_SYNTH_TRRACK, "TR-Rack Bank %c", "%c%02d:", 0, 128,
            [](const CByteView& b, std::size_t p) {
                // An M1 on channel 12 sends 3B too; what the TR-Rack reader
                // takes stays with it.
                return b.ByteIs(p, 0x42) && b.ByteIs(p + 1, 0x3B) &&
                       !IsM1MessageOnTrRackChannel(b, p);
            },
            Make<CTrRackExtractor>},
    CFamily{IDS_SYNTH_FS1R, "FS1R Internal", "I%03d ", 1, 64,
            [](const CByteView& b, std::size_t p) {
                return b.ByteIs(p, 0x43) &&
                       (b.ByteIs(p + 2, 0x5E) || (b.ByteIs(p + 1, 0x00) && b.ByteIs(p + 2, 0x09)));
            },
            Make<CFs1rExtractor>},
    CFamily{IDS_SYNTH_VIRUS, "Virus Bank %c", "%c%03d ", 0, 0,
            [](const CByteView& b, std::size_t p) {
                return b.Matches(p, {0x00, 0x20, 0x33, 0x01});
            },
            Make<CVirusExtractor>},
    // Bank select LSB 0-7 picks bank A-H.
    CFamily{IDS_SYNTH_BLOFELD, "Blofeld Bank %c", "%c%03d ", 1, 0,
            [](const CByteView& b, std::size_t p) {
                return b.ByteIs(p, 0x3E) && b.ByteIs(p + 1, 0x13) && b.ByteIs(p + 3, 0x10);
            },
            Make<CBlofeldExtractor>},
    CFamily{IDS_SYNTH_MORPHEUS, "E-mu Bank %d", "%03d ", 0, 0,
            [](const CByteView& b, std::size_t p) {
                return b.ByteIs(p, 0x18) && (b.ByteIs(p + 1, 0x0C) || b.ByteIs(p + 1, 0x04));
            },
            Make<CMorpheusExtractor>},
    CFamily{IDS_SYNTH_ENSONIQ, "Ensoniq Internal", "%02d ", 1, 0,
            [](const CByteView& b, std::size_t p) {
                return b.ByteIs(p, 0x0F) &&
                       ((b.ByteIs(p + 1, 0x05) && b.ByteIs(p + 2, 0x00)) || b.ByteIs(p + 1, 0x02));
            },
            Make<CEnsoniqExtractor>},
    // No bank select: programs, combinations and the edit buffer are listed
    // as banks 0, 1 and 2.
    CFamily{IDS_SYNTH_M1, "Korg Internal", "I%02d ", 0, 0,
            [](const CByteView& b, std::size_t p) {
                return b.ByteIs(p, 0x42) && b.Fits(p + 1, 1) && (b.At(p + 1) & 0xF0) == 0x30 &&
                       (b.ByteIs(p + 2, 0x19) || b.ByteIs(p + 2, 0x30));
            },
            Make<CKorgM1Extractor>},
    // No bank select: the internal patches are listed as bank 0, the
    // temporary area's as bank 1.
    CFamily{IDS_SYNTH_D50, "D-50 Internal", "I-%02d ", 11, 0,
            [](const CByteView& b, std::size_t p) {
                return b.ByteIs(p, 0x41) && b.ByteIs(p + 2, 0x14) && b.ByteIs(p + 3, 0x12);
            },
            Make<CRolandD50Extractor>},
    // Bank select MSB 100, 102, 103, 104 (LSB 0) picks bank A, D, E, F.
    CFamily{IDS_SYNTH_K5000, "K5000 Bank %c", "%c%03d ", 1, 100 * 128,
            [](const CByteView& b, std::size_t p) {
                return b.ByteIs(p, 0x40) && b.ByteIs(p + 3, 0x00) && b.ByteIs(p + 4, 0x0A);
            },
            Make<CKawaiK5000Extractor>},
};

}  // namespace

std::span<const CFamily> Families()
{
    return kFamilies;
}

const CFamily* MatchSignature(const CByteView& bytes, std::size_t p)
{
    const auto* it = std::find_if(kFamilies.begin(), kFamilies.end(),
                                  [&](const CFamily& family) { return family.matches(bytes, p); });
    return it == kFamilies.end() ? nullptr : &*it;
}

const CFamily* FindFamily(std::uint32_t nameId)
{
    const auto* it = std::find_if(kFamilies.begin(), kFamilies.end(),
                                  [&](const CFamily& family) { return family.nameId == nameId; });
    return it == kFamilies.end() ? nullptr : &*it;
}

std::string FamilyNameLines()
{
    std::string lines;
    for (const CFamily& family : kFamilies)
        lines += LoadString(family.nameId) + '\n';
    return lines;
}

}  // namespace bankwise
