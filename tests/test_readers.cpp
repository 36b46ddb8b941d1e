// What each family's reader does with what follows a good message: the
// faults that fail the whole dump with the one message, the tails it
// passes over. Good dumps are compared with their golden files instead.
#include <gtest/gtest.h>

#include "KorgExtractor.h"
#include "TestSupport.h"
#include "VirusExtractor.h"
#include "gen/BlofeldGen.h"
#include "gen/EnsoniqGen.h"
#include "gen/Fs1rGen.h"
#include "gen/JvXpGen.h"
#include "gen/KawaiK5000Gen.h"
#include "gen/KorgGen.h"
#include "gen/KorgM1Gen.h"
#include "gen/MorpheusGen.h"
#include "gen/OrbitGen.h"
#include "gen/RolandD50Gen.h"
#include "gen/VirusGen.h"

namespace bankwise {
namespace {

using namespace gen;
using test::Cut;
using test::Raw;

constexpr const char* kInvalid = "File contains invalid data!";

Bytes WithByte(Bytes bytes, std::size_t at, std::uint8_t value)
{
    bytes.at(at) = value;
    return bytes;
}

TEST(Readers, Orbit)
{
    const Bytes good = MakeOrbitPreset(0, "Good");
    const Bytes two = JoinMessages({good, good});
    const Bytes midi = MakeMidiFile({good, good}, {.otherEvents = false});
    test::ExpectReads({{"wrong command", Concat({good, WithByte(good, 4, 0x02)}), kInvalid},
                       {"no F7 at the end", Concat({good, WithByte(good, 280, 0x00)}), kInvalid},
                       {"last message cut short", Cut(two, two.size() - 1), kInvalid},
                       {"two trailing bytes", Concat({good, {0xF0, 0x18}}), kInvalid},
                       {"MIDI dump cut short", Cut(midi, midi.size() - 20), kInvalid, -1, true},
                       // A stray 18 0A inside another event is taken for a message.
                       {"stray pair in a MIDI event",
                        MakeMidiFile({good, {0xF0, 0x7D, 0x18, 0x0A, 0xF7}}), kInvalid, -1, true}},
                      "0=Good");
}

TEST(Readers, JvXp)
{
    const auto patch = [](std::uint8_t area, std::uint8_t slot) {
        return MakeJvXpMessage({.area = area, .slot = slot, .name = "x"});
    };
    const Bytes good = MakeJvXpMessage({.name = "Good"});
    const Bytes other = patch(kJvAreaPatch, 1);
    test::ExpectReads(
        {{"performance slot 0x20", Concat({good, patch(kJvAreaPerformance, 0x20)}), kInvalid},
         {"rhythm slot 0x42", Concat({good, patch(kJvAreaPerformance, 0x42)}), kInvalid},
         {"patch slot 0x80", Concat({good, patch(kJvAreaPatch, 0x80)}), kInvalid},
         {"another model after the first", Concat({good, WithByte(other, 3, 0x6B)}), kInvalid},
         {"two stray bytes at the end", Concat({good, {0x00, 0x00}}), kInvalid},
         // A download that stopped: the names before the cut stand.
         {"name cut short by the end", Concat({good, Cut(other, 15)}), nullptr},
         {"address cut short by the end", Concat({good, Cut(other, 7)}), nullptr}},
        "0=USER:001 Good");
}

// A failed Korg dump leaves no names and no bank.
TEST(Readers, Korg)
{
    const Bytes one = MakeKorgProgramDump(kProphecy, kKorgBankA, {"Tidal Lead"});
    const Bytes both = MakeKorgProgramDump(kProphecy, kKorgBothBanks, {"Tidal Lead"});
    const Bytes all = MakeKorgAllDataDump(kProphecy, {"Tidal Lead"});
    const char* const useless = "No useful data found in this file!";
    test::ExpectReads({{"function 0x40", {0xF0, 0x42, 0x30, 0x41, 0x40, 0x10}, useless, 0},
                       {"function 0x4D", {0xF0, 0x42, 0x30, 0x41, 0x4D, 0x10}, useless, 0},
                       {"bank 0x00", {0xF0, 0x42, 0x30, 0x41, 0x4C, 0x00}, kInvalid, 0},
                       {"bank 0x12", {0xF0, 0x42, 0x30, 0x41, 0x4C, 0x12}, kInvalid, 0},
                       {"bank 0x30", {0xF0, 0x42, 0x30, 0x41, 0x4C, 0x30}, kInvalid, 0},
                       {"header only", {0xF0, 0x42, 0x30, 0x41, 0x4C, 0x10}, kInvalid, 0},
                       {"TR-Rack, ends in the packed data",
                        {0xF0, 0x42, 0x3B, 0x3B, 0x4C, 0x20, 0x00, 0x00},
                        kInvalid,
                        0},
                       {"bank A a byte short of its data", Cut(one, one.size() - 2), kInvalid, 0},
                       {"both a byte short", Cut(both, both.size() - 2), kInvalid, 0},
                       {"all data a byte short", Cut(all, all.size() - 2), kInvalid, 0},
                       {"all data ends in what it skips", Cut(all, 300), kInvalid, 0}},
                      "");
    // Nothing after the packed data is read, not even the F7; an all data
    // dump never reads the byte a program dump keeps its bank in.
    const std::string expected = test::Convert(both).text;
    for (const Bytes& same :
         {WithByte(both, 5, 0x21), Cut(both, both.size() - 1), Concat({both, Bytes(100, 0x55)}),
          all, Cut(all, all.size() - 1), WithByte(all, 5, 0x00), WithByte(all, 5, 0x11)})
        EXPECT_EQ(test::Convert(same).text, expected) << same.size();
}

TEST(Readers, KorgUnpackSetsBitSevenAndKeepsAShortLastGroup)
{
    // Bit byte 0b1000101: data bytes 0, 2 and 6 get bit 7; then a short group
    // whose bit byte 0b10 marks its second byte; a lone bit byte gives nothing.
    Bytes data{0x45, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x02, 0x10, 0x20};
    UnpackKorgData(data);
    EXPECT_EQ(data, (Bytes{0xC1, 0x42, 0xC3, 0x44, 0x45, 0x46, 0xC7, 0x10, 0xA0}));
    Bytes lone{0x7F, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x7F};
    UnpackKorgData(lone);
    EXPECT_EQ(lone.size(), 7u);
}

TEST(Readers, Fs1r)
{
    const Bytes next = MakeFs1rPerformance(1, "Tidal Pad");
    const auto after = [](const Bytes& tail) {
        return Concat({MakeFs1rPerformance(0, "Formant Bass"), tail});
    };
    const auto odd = [&](std::size_t data) {  // performance 1 with the wrong data length
        return after(
            Concat({MakeFs1rMessage({.addressLow = 1, .name = "", .dataLength = data}), next}));
    };
    test::ExpectReads(
        {{"two trailing bytes", after({0xF7, 0x00}), kInvalid, 1},
         {"header misplaced after a short message", odd(399), kInvalid, 2},
         {"header misplaced after a long message", odd(401), kInvalid, 2},
         {"other manufacturer", after({0xF0, 0x41, 0x10, 0x6A, 0x12, 0xF7}), kInvalid, 1},
         {"other Yamaha model", after({0xF0, 0x43, 0x10, 0x4C, 0x00, 0xF7}), kInvalid, 1},
         {"header closed short", after({0xF0, 0x43, 0x10, 0x5E, 0x03, 0xF7}), kInvalid, 1},
         {"sub-status not 0", after(MakeVoiceBulk({.names = {"A"}, .subStatus = 0x10})), kInvalid,
          1},
         {"voice records do not fit", after(MakeVoiceBulk({.names = {"A"}, .count = 2})), kInvalid,
          1},
         {"voice bulk cut before its count", after({0xF0, 0x43, 0x00, 0x09}), nullptr, 1},
         {"name cut off", after(Cut(next, 15)), nullptr, 1},
         {"header cut off", after(Cut(next, 6)), nullptr, 1},
         {"manufacturer byte alone", after({0xF0, 0x43}), nullptr, 1}},
        "0=I001 Formant Bass");
}

// After a good 265-byte message (the next identifier at 266 in a raw file).
TEST(Readers, Virus)
{
    const auto single = [](std::uint8_t bank, std::uint8_t program, std::size_t length = 267) {
        return MakeVirusMessage(
            {.bank = bank, .program = program, .name = "Next", .length = length});
    };
    const auto multi = [](std::uint8_t bank, std::uint8_t program) {
        return MakeVirusMessage(
            {.type = kVirusMulti, .bank = bank, .program = program, .name = ""});
    };
    const Bytes kept = MakeVirusMessage({.name = "Kept", .length = kVirusFixedLength});
    const Bytes next = single(1, 1);
    std::vector<test::ReadCase> cases;
    for (const bool midi : {false, true}) {
        for (const Bytes& bad : {single(1, 128), multi(1, 200), single(128, 0), multi(255, 0)})
            cases.push_back(
                {"bank or program not a data byte", Raw({kept, bad}, midi), kInvalid, 1, midi});
        cases.push_back({"name past its own F7", Raw({kept, single(1, 1, 100), next}, midi),
                         kInvalid, 1, midi});
    }
    // In a raw file, where the next message should begin:
    for (const auto& [what, after] : std::initializer_list<std::pair<const char*, Bytes>>{
             {"a foreign message", Concat({{0xF0, 0x43, 0x10, 0x5E, 0x00, 0xF7}, next})},
             {"another product", WithByte(next, 4, 0x02)},
             {"the header a byte late", Concat({{0xF0}, next})}})
        cases.push_back({what, Concat({kept, after}), kInvalid, 1});
    // A download that stopped inside the next message: the names before stand.
    for (const Bytes& after : {Bytes{0xF0, 0x00}, Cut(next, 1 + 248 + 5),
                               Bytes{0xF0, 0x00, 0x20, 0x33, 0x01, 0x00, 0x10, 0x01}})
        cases.push_back({"cut off", Concat({kept, after}), nullptr, 1});
    test::ExpectReads(cases, "0=A000 Kept      ");
}

// A message of the family whose F7 comes before the end of its name.
Bytes EndedAt(const Bytes& message, std::size_t f7)
{
    Bytes shorter = Cut(message, f7);
    shorter.push_back(0xF7);
    return shorter;
}

// What the self-delimiting families share: a message that cannot hold its
// name, or anything but the family's next message, fails; a dump that stops
// inside a message keeps the names before it.
TEST(Readers, SelfDelimitingFamilies)
{
    const Bytes foreign{0xF0, 0x43, 0x10, 0x5E, 0x00, 0xF7};
    const struct
    {
        const char* family;
        Bytes good, next;
        std::size_t nameEnd;      // from the F0
        std::uint8_t otherModel;  // the maker's, in place of the model byte
        const char* kept;
        std::size_t modelAt = 2;
    } families[] = {
        {"Blofeld", MakeBlofeldSound({.name = "Good"}),
         MakeBlofeldSound({.program = 1, .name = "Next"}), 386, 0x14, "0=A001 Good"},
        {"Morpheus", MakeMorpheusMessage({.name = "Good"}),
         MakeMorpheusMessage({.number = 1, .name = "Next"}), 32, 0x0A, "0=000 Good"},
        {"Proteus", MakeMorpheusMessage({.name = "Good", .proteus = true}),
         MakeMorpheusMessage({.number = 1, .name = "Next", .proteus = true}), 31, 0x0A,
         "0=000 Good"},
        {"VFX", MakeVfxPrograms({"GOOD"}, false), MakeVfxPrograms({"NEXT"}, false), 6 + 996 + 22,
         0x03, "0=01 GOOD"},
        {"VFX bank", MakeVfxPrograms({"GOOD"}), MakeVfxPrograms({"NEXT"}), 6 + 996 + 22, 0x03,
         "0=01 GOOD"},
        {"ESQ-1", MakeEsq1Programs({"GOOD"}), MakeEsq1Programs({"NEXT"}), 5 + 12, 0x03,
         "0=01 GOOD"},
        // Ten name bytes packed: a bit byte, seven, a bit byte, three.
        {"M1 edit program", MakeM1Dump({.function = kM1EditProgram, .names = {"Good"}}),
         MakeM1Dump({.function = kM1EditProgram, .names = {"Next"}}), 5 + 12, 0x40, "0=I00 Good"},
        {"03R/W programs", MakeM1Dump({.model = k03rw, .names = {"Good"}, .count = 2}),
         MakeM1Dump({.model = k03rw, .names = {"Next"}, .count = 1}), 6 + 12, 0x20, "0=I00 Good"},
        {"K5000 single", MakeK5000Single(kK5000BankA, {.name = "Good"}),
         MakeK5000Single(kK5000BankA, {.slot = 1, .name = "Next"}), 9 + 48, 0x0B, "0=A001 Good", 5},
        {"K5000 bank", MakeK5000Bank(kK5000BankA, {{.name = "Good"}}),
         MakeK5000Bank(kK5000BankA, {{.slot = 1, .name = "Next"}}), 27 + 48, 0x0B, "0=A001 Good",
         5},
    };
    for (const auto& f : families) {
        SCOPED_TRACE(f.family);
        const Bytes midi = MakeMidiFile({f.good, f.next}, {.otherEvents = false});
        test::ExpectReads(
            {{"name past the F7", Concat({f.good, EndedAt(f.next, f.nameEnd - 1)}), kInvalid},
             {"in MIDI too", Raw({f.good, EndedAt(f.next, f.nameEnd - 1)}, true), kInvalid, -1,
              true},
             {"a foreign message next", Concat({f.good, foreign, f.next}), kInvalid},
             {"another model next", Concat({f.good, WithByte(f.next, f.modelAt, f.otherModel)}),
              kInvalid},
             {"two stray bytes at the end", Concat({f.good, {0x00, 0x00}}), kInvalid},
             {"the header a byte late", Concat({f.good, {0xF0}, f.next}), kInvalid},
             {"cut in the name", Concat({f.good, Cut(f.next, f.nameEnd - 1)}), nullptr},
             {"cut in the header", Concat({f.good, Cut(f.next, 3)}), nullptr},
             {"a header closed short at the end", Concat({f.good, Cut(f.next, 3), {0xF7}}),
              kInvalid},
             {"MIDI cut in the name", Cut(midi, midi.size() - (f.next.size() - f.nameEnd) - 5),
              nullptr, -1, true}},
            f.kept);
    }
}

// D-50 messages write the address space: a short one is no fault, one
// without room for its checksum is, and a name counts once all of it came.
TEST(Readers, D50)
{
    const Bytes good = MakeD50Message(0x180, D50Name("Good"));  // the temporary patch's name
    const Bytes next = MakeD50Message(0x180, D50Name("Next"));
    const Bytes foreign{0xF0, 0x43, 0x10, 0x5E, 0x00, 0xF7};
    test::ExpectReads(
        {{"no room for the checksum", Concat({good, {0xF0, 0x41, 0x00, 0x14, 0x12, 0, 3, 0, 0xF7}}),
          kInvalid},
         {"no data", Concat({good, {0xF0, 0x41, 0x00, 0x14, 0x12, 0, 3, 0, 0x7D, 0xF7}}), nullptr,
          1},
         {"a foreign message next", Concat({good, foreign, next}), kInvalid},
         {"another Roland model next", Concat({good, WithByte(next, 3, 0x6A)}), kInvalid},
         {"a request next", Concat({good, WithByte(next, 4, 0x11)}), kInvalid},
         {"the end of the address space", Concat({good, MakeD50Message(0x1FFFFF, {1, 2, 3})}),
          nullptr, 1},
         // In a cut message the last byte may be the checksum: not a name byte.
         {"cut after the name", Concat({good, Cut(next, 8 + 18)}), nullptr, 1},
         {"cut after the checksum", Concat({good, Cut(next, 8 + 18 + 1)}), nullptr, 2},
         {"in MIDI", Raw({good, next}, true), nullptr, 2, true}},
        "0=I-11 Good");
    // A message from below the internal patches into patch 0's name; patch
    // 63's name, the last byte before the reverb data, in two messages; and a
    // message that writes only the patch after it.
    const std::size_t name63 = (2u << 14) + 63 * 448 + 0x180;
    const Bytes codes = D50Name("Last Patch");
    const test::Conversion result = test::Convert(
        JoinMessages({MakeD50Message((2u << 14) - 1, Concat({Bytes(1 + 0x180), D50Name("First")})),
                      MakeD50Message(name63, Bytes(codes.begin(), codes.begin() + 5)),
                      MakeD50Message(name63 + 5, Bytes(codes.begin() + 5, codes.end())),
                      MakeD50Message(name63 + 448, codes)}));
    ASSERT_TRUE(result.ok);
    EXPECT_NE(result.text.find("\r\n0=I-11 First\r\n"), std::string::npos) << result.text;
    EXPECT_NE(result.text.find("\r\n63=I-88 Last Patch\r\n"), std::string::npos) << result.text;
    EXPECT_EQ(result.text.find("64="), std::string::npos);
}

// Bit 7 of an M1 name byte comes from its group's bit byte; the display
// has no character for such a code.
TEST(Readers, M1NameBytesWithBit7)
{
    const test::Conversion result =
        test::Convert(MakeM1Dump({.function = kM1EditProgram, .names = {"Hi\x80\xFEZ"}}));
    ASSERT_TRUE(result.ok);
    EXPECT_NE(result.text.find("\r\n0=I00 Hi??Z\r\n"), std::string::npos) << result.text;
}

// A K5000 bank is walked record by record: every present slot's name must
// lie inside the message, and a record that cannot be measured ends the
// walk, which only slots still to come make a fault.
TEST(Readers, K5000)
{
    const Bytes good = MakeK5000Single(kK5000BankA, {.name = "Good"});
    const auto bank = [](std::vector<K5000Single> singles) {
        return MakeK5000Bank(kK5000BankD, singles);
    };
    // Slots 3 and 9 after a single with three ADD sources of six.
    const Bytes three = bank(
        {{.slot = 3, .name = "Three", .sources = 6, .addSources = 3}, {.slot = 9, .name = "Nine"}});
    const std::size_t nine = 27 + 82 + 6 * 86 + 3 * 806;  // slot 9's record, from the F0
    const Bytes broken = WithByte(three, 27 + 51, 7);     // seven sources
    Bytes fullMap = bank({{.name = "Zero"}});
    fullMap[8 + 18] = 0x7C;  // bits 2-6 of the last byte stand for no slot
    test::ExpectReads(
        {{"lengths from the sources", Concat({good, three}), nullptr, 11},
         {"slot 9 past the F7", Concat({good, EndedAt(three, nine + 47)}), kInvalid},
         {"slot 9 named, then the F7", Concat({good, EndedAt(three, nine + 48)}), nullptr, 11},
         {"cut before slot 9's name ends", Concat({good, Cut(three, nine + 47)}), nullptr, 5},
         {"cut in slot 3's sources", Concat({good, Cut(three, 27 + 82 + 100)}), nullptr, 5},
         {"seven sources", Concat({good, broken}), kInvalid},
         {"one source", Concat({good, WithByte(three, 27 + 51, 1)}), kInvalid},
         {"cut after it", Concat({good, Cut(broken, 27 + 60)}), nullptr, 5},
         {"as the last record", Concat({good, bank({{.slot = 3, .name = "One", .sources = 1}})}),
          nullptr, 5},
         {"an empty tone map", Concat({good, bank({})}), nullptr, 1},
         {"the five bits past slot 127", Concat({good, fullMap}), nullptr, 2},
         {"a multi", Concat({good, WithByte(good, 6, 0x20)}), nullptr, 1},
         {"cut in the bank byte", Concat({good, Cut(good, 7)}), nullptr, 1},
         {"closed before the bank byte", Concat({good, EndedAt(good, 7)}), kInvalid},
         {"cut in the tone map", Concat({good, Cut(three, 20)}), nullptr, 1},
         {"closed in the tone map", Concat({good, EndedAt(three, 20)}), kInvalid}},
        "0=A001 Good");
    // 0x7F fills a name out; a wave kit whose bytes look like an ADD source
    // is not one; a single replaces the bank's name at its slot.
    Bytes kit = bank({{.slot = 4, .name = "Pad\x7F\x7F\x7F\x7F\x7F", .addSources = 1},
                      {.slot = 5, .name = "Five"},
                      {.slot = 6, .name = "Six"}});
    const std::size_t kitAt = 27 + 82 + 2 * 86;
    kit.at(kitAt + 28) = 4;
    kit.at(kitAt + 29) = 0;
    const test::Conversion result = test::Convert(
        JoinMessages({kit, MakeK5000Single(kK5000BankD, {.slot = 6, .name = "Bell\x7F"})}));
    ASSERT_TRUE(result.ok);
    EXPECT_NE(result.text.find("\r\n4=D005 Pad\r\n5=D006 Five\r\n6=D007 Bell\r\n"),
              std::string::npos)
        << result.text;
}

// An all-programs message with one record more than it holds.
Bytes OneProgramMore(Bytes bank, std::size_t recordBytes)
{
    const Bytes last(bank.end() - 1 - static_cast<long>(recordBytes), bank.end() - 1);
    bank.insert(bank.end() - 1, last.begin(), last.end());
    return bank;
}

// Wrong checksums and messages that have no list are counted; the names of
// the first stay.
TEST(Readers, CountsOfWrongChecksumsAndPassedOverMessages)
{
    const auto morpheus = [](int number, bool bad = false, std::uint8_t version = 1) {
        return MakeMorpheusMessage(
            {.number = number, .name = "M", .version = version, .badChecksum = bad});
    };
    const struct
    {
        const char* what;
        Bytes file;
        std::uint32_t badChecksums, passedOver;
        std::size_t names;
    } cases[] = {
        {"Blofeld sums",
         JoinMessages({MakeBlofeldSound({.name = "A", .checksum = 0x7F}),
                       MakeBlofeldSound({.program = 1, .checksum = 0x01}),
                       MakeBlofeldSound({.program = 2, .checksum = 0x00})}),
         2, 0, 3},
        {"Blofeld bank 8 and program 128",
         JoinMessages({MakeBlofeldSound({}), MakeBlofeldSound({.bank = 8}),
                       MakeBlofeldSound({.program = 128})}),
         0, 2, 1},
        {"Morpheus sums", JoinMessages({morpheus(0), morpheus(1, true), morpheus(2, true)}), 2, 0,
         3},
        // No room for the checksum after the name: counted as a wrong one.
        {"Morpheus ending after its name", JoinMessages({morpheus(0), EndedAt(morpheus(1), 32)}), 1,
         0, 2},
        {"Morpheus out of range",
         JoinMessages({morpheus(383), morpheus(384), morpheus(-1), morpheus(5, false, 2),
                       MakeMorpheusMessage({.command = kMorpheusHyperpreset, .number = 256}),
                       MakeMorpheusMessage({.command = kMorpheusMidimap, .number = 16})}),
         0, 5, 128},
        {"ESQ-1 bank of 41", OneProgramMore(MakeEsq1Programs({}), 204), 0, 1, 40},
        {"VFX bank of 61", OneProgramMore(MakeVfxPrograms({}), 1060), 0, 1, 60},
        {"ESQ-1 dump with a VFX program",
         JoinMessages({MakeEsq1Programs({"A"}), MakeVfxPrograms({"B"}, false)}), 0, 1, 40},
        {"D-50 sums", JoinMessages(MakeD50Bank({}, 135)), 1, 0, 64},
        {"M1 bank of 101", MakeM1Dump({.count = 101}), 0, 1, 100},
        {"K5000 bank B and program 128",
         JoinMessages({MakeK5000Bank(kK5000BankA, K5000Singles({}, 3)),
                       MakeK5000Bank(kK5000BankB, K5000Singles({})),
                       MakeK5000Single(kK5000BankA, {.slot = 128}),
                       MakeK5000Single(5, {.slot = 3})}),
         0, 3, 3},
        // The record count comes from the length: 143 + 10 bytes, 175 packed.
        {"M1 bank ending after a name", EndedAt(MakeM1Dump({.count = 2}), 6 + 175), 0, 0, 2},
        {"03R/W combinations",
         JoinMessages({MakeM1Dump({.model = k03rw, .count = 3}),
                       MakeM1Dump({.model = k03rw, .function = kM1AllCombinations})}),
         0, 1, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const test::Conversion result = test::Convert(c.file);
        ASSERT_TRUE(result.ok);
        EXPECT_EQ(result.extractor->m_nBadChecksums, c.badChecksums);
        EXPECT_EQ(result.extractor->m_nPassedOver, c.passedOver);
        EXPECT_EQ(result.extractor->MakeDefinition().banks.at(0).patches.size(), c.names);
    }
}

// A whole Virus TI multi dump: the 128 multis are listed; their parts'
// singles and the second multi bank, which the layout does not number, are
// passed over and counted.
TEST(Readers, VirusTiMultiDump)
{
    std::vector<std::string> names;
    for (int i = 0; i < 128; ++i)
        names.push_back("Multi " + std::to_string(i));
    const std::vector<Bytes> messages = MakeVirusTiMultiDump(names);
    for (const bool midi : {false, true}) {
        SCOPED_TRACE(midi);
        const test::Conversion result = test::Convert(Raw(messages, midi), midi);
        ASSERT_TRUE(result.ok) << result.messages.front();
        const auto& virus = dynamic_cast<const CVirusExtractor&>(*result.extractor);
        EXPECT_EQ(virus.m_multis.size(), 128u);
        EXPECT_EQ(virus.m_multis[127], "Multi 127 ");
        EXPECT_EQ(virus.m_nPassedOver, 128u * 16 + 128);
        EXPECT_FALSE(virus.m_bCutOff);
        EXPECT_EQ(virus.DescribeContents(), "access Virus: 0 singles, 128 multis");
    }
}

}  // namespace
}  // namespace bankwise
