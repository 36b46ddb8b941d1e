// Writes the example dumps into the folder given on the command line.
#include <exception>
#include <iostream>

#include "BlofeldGen.h"
#include "EnsoniqGen.h"
#include "Fs1rGen.h"
#include "JvXpGen.h"
#include "KawaiK5000Gen.h"
#include "KorgGen.h"
#include "KorgM1Gen.h"
#include "MorpheusGen.h"
#include "OrbitGen.h"
#include "RolandD50Gen.h"
#include "VirusGen.h"

using namespace bankwise::gen;

namespace {

void WriteBoth(const std::filesystem::path& dir, const char* name,
               const std::vector<Bytes>& messages)
{
    WriteFile(dir / (std::string(name) + ".syx"), JoinMessages(messages));
    WriteFile(dir / (std::string(name) + ".mid"), MakeMidiFile(messages));
}

void WriteExamples(const std::filesystem::path& dir)
{
    WriteBoth(dir, "emu-orbit",
              {MakeOrbitPreset(0, "Velvet Pad"), MakeOrbitPreset(1, "Dust Drums"),
               MakeOrbitPreset(2, "Rubber Bass"), MakeOrbitPreset(3, "Glass Bells"),
               MakeOrbitPreset(128, "Night Lead"), MakeOrbitPreset(130, "Warm Keys")});
    WriteBoth(dir, "roland-jvxp",
              {MakeJvXpMessage({.area = kJvAreaPatch, .slot = 0, .name = "Amber Strings"}),
               MakeJvXpMessage({.area = kJvAreaPatch, .slot = 1, .name = "Copper Brass"}),
               MakeJvXpMessage({.area = kJvAreaPatch, .slot = 2, .name = "Moss Organ"}),
               MakeJvXpMessage({.area = kJvAreaPerformance, .slot = 0, .name = "Split Dream"}),
               MakeJvXpMessage({.area = kJvAreaPerformance, .slot = 1, .name = "Layer Sky"}),
               MakeJvXpMessage({.area = kJvAreaPerformance, .slot = 0x40, .name = "Street Kit"})});
    WriteBoth(
        dir, "korg-prophecy",
        {MakeKorgProgramDump(kProphecy, kKorgBothBanks,
                             {"Tidal Lead", "Brass Canyon", "Reed Whisper", "Mallet Rain",
                              "Bowed Glass", "Fret Noise Solo", "Sub Bass Drift", "Ember Pad"})});
    WriteFile(dir / "korg-trrack.syx",
              MakeKorgProgramDump(kTrRack, kKorgBankA,
                                  {"Concert Grand", "Tine Piano", "Drawbar Jazz", "Nylon Guitar",
                                   "Pizz Section", "Choir Aahs", "Fretless", "Warm Strings"}));
    WriteBoth(dir, "yamaha-fs1r",
              {MakeFs1rEditPerformance("Edit Buffer"), MakeFs1rPerformance(0, "Glass Choir"),
               MakeFs1rPerformance(1, "Tidal Pad"), MakeFs1rPerformance(2, "Formant Bass"),
               MakeFs1rPerformance(3, "Night Bell"), MakeFs1rVoice(0, "Vox Sweep"),
               MakeFs1rVoice(1, "Reed Pulse")});
    WriteBoth(
        dir, "access-virus",
        {MakeVirusMessage({.bank = 0, .program = 0x40, .name = "Edit Lead"}),
         MakeVirusMessage({.bank = 1, .program = 0, .name = "Glass Bell"}),
         MakeVirusMessage({.bank = 1, .program = 1, .name = "Tidal Pad"}),
         MakeVirusMessage({.bank = 1, .program = 2, .name = "Rust Bass"}),
         MakeVirusMessage({.bank = 2, .program = 0, .name = "Night Arp"}),
         MakeVirusMessage(
             {.bank = 2, .program = 1, .name = "Dust Keys", .length = kVirusTiSingleLength}),
         MakeVirusOther(0x72, {0x00, 0x05, 0x40}),
         MakeVirusMessage({.type = kVirusMulti, .bank = 1, .name = "Split Set"}),
         MakeVirusMessage({.type = kVirusMulti, .bank = 1, .program = 1, .name = "Layer Set"})});
    WriteBoth(
        dir, "waldorf-blofeld",
        {MakeBlofeldSound({.bank = 0, .program = 0, .name = "Frozen Choir"}),
         MakeBlofeldSound({.bank = 0, .program = 1, .name = "Wavetable Sweep"}),
         MakeBlofeldSound({.bank = 0, .program = 2, .name = "Low Drone"}),
         MakeBlofeldSound({.bank = 1, .program = 0, .name = "Pluck Echo"}),
         MakeBlofeldSound({.bank = 1, .program = 1, .name = "Metal Keys", .checksum = 0x7F})});
    WriteBoth(
        dir, "emu-morpheus",
        {MakeMorpheusMessage({.number = 0, .name = "Z-Plane Pad"}),
         MakeMorpheusMessage({.number = 1, .name = "Morph Bass"}),
         MakeMorpheusMessage({.number = 128, .name = "Vox Filter"}),
         MakeMorpheusMessage({.command = kMorpheusHyperpreset, .number = 0, .name = "Split Zone"}),
         MakeMorpheusMessage({.command = kMorpheusMidimap, .number = 0, .name = "Warm Room"})});
    WriteBoth(
        dir, "korg-m1",
        {MakeM1Dump({.names = {"Universe", "Tine EP", "Lore", "Strings", "Dream Pad", "Fretless"},
                     .count = 6}),
         MakeM1Dump({.function = kM1AllCombinations,
                     .names = {"Orch Tutti", "Pno/Strngs", "Split Lead"},
                     .count = 3})});
    std::vector<Bytes> d50 =
        MakeD50Bank({"Fantasia", "Staccato Heaven", "Pizzagogo", "Digital Native Dnc",
                     "Glass Voices", "Nylon Atmosphere", "Breathy Chiffer", "Soundtrack"});
    const std::vector<Bytes> temporary = MakeD50Temporary("Edit Buffer Pad");
    d50.insert(d50.end(), temporary.begin(), temporary.end());
    WriteBoth(dir, "roland-d50", d50);
    WriteBoth(dir, "kawai-k5000",
              {MakeK5000Bank(kK5000BankA, K5000Singles({"Spectral", "AddPiano", "Bell Pad",
                                                        "Harmonic", "Formant", "Glass Vx"},
                                                       6)),
               MakeK5000Single(kK5000BankD, {.slot = 0, .name = "Morph Ld", .addSources = 2})});
    WriteFile(dir / "ensoniq-esq1.syx",
              MakeEsq1Programs({"PIANO", "STRING", "BRASS", "ORGAN", "BASS-1", "SYNLD"}));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: bankwise-make-examples DIR\n";
        return 2;
    }
    try {
        std::filesystem::create_directories(argv[1]);
        WriteExamples(argv[1]);
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
    return 0;
}
