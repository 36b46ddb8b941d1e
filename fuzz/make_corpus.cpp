// Writes the seed inputs of the fuzz targets: DIR/detect holds small dumps
// of every family, raw and in Standard MIDI Files, good and broken, with
// truncated and bit-flipped variants; DIR/format holds argument lists and
// patterns in the encoding that fuzz_format.cpp reads. The saved corpus in
// fuzz/corpus was made with this tool (plus the inputs the fuzzer found).
//
// Every dump comes from the test generator; this tool only picks the cases
// and makes the broken variants.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "gen/Fs1rGen.h"
#include "gen/JvXpGen.h"
#include "gen/KorgGen.h"
#include "gen/MidiFile.h"
#include "gen/OrbitGen.h"
#include "gen/VirusGen.h"

namespace {

namespace fs = std::filesystem;
using namespace bankwise::gen;

// Filler that never holds 0xF0 or 0xF7, so a message has only its own.
Bytes Filler(std::size_t length, std::uint8_t seed)
{
    Bytes out(length);
    for (std::size_t i = 0; i < length; ++i)
        out[i] = static_cast<std::uint8_t>((seed + i * 13) & 0x7F);
    return out;
}

Bytes Truncated(const Bytes& bytes, std::size_t length)
{
    return Bytes(bytes.begin(),
                 bytes.begin() + static_cast<std::ptrdiff_t>(std::min(length, bytes.size())));
}

// A few bits flipped at places a small fixed generator picks.
Bytes BitFlipped(Bytes bytes, std::uint32_t seed)
{
    for (int i = 0; i < 4 && !bytes.empty(); ++i) {
        seed = seed * 1103515245u + 12345u;
        const std::size_t at = (seed >> 8) % bytes.size();
        bytes[at] ^= static_cast<std::uint8_t>(1u << ((seed >> 4) % 8));
    }
    return bytes;
}

void WriteWithVariants(const fs::path& dir, const std::string& name, const std::string& ext,
                       const Bytes& bytes)
{
    WriteFile(dir / (name + ext), bytes);
    WriteFile(dir / (name + "-cut-half" + ext), Truncated(bytes, bytes.size() / 2));
    WriteFile(dir / (name + "-cut-last" + ext), Truncated(bytes, bytes.size() - 1));
    WriteFile(dir / (name + "-flip-1" + ext), BitFlipped(bytes, 1));
    WriteFile(dir / (name + "-flip-2" + ext), BitFlipped(bytes, 2));
}

void WriteDetectSeeds(const fs::path& dir)
{
    fs::create_directories(dir);

    const std::vector<Bytes> orbit{
        MakeOrbitPreset(0, "Velvet Pad"),
        MakeOrbitPreset(1, "Dust Drums"),
        MakeOrbitPreset(128, "Night Lead"),
        MakeOrbitPreset(639, "Last One"),
    };
    WriteWithVariants(dir, "orbit", ".syx", JoinMessages(orbit));
    WriteWithVariants(dir, "orbit", ".mid", MakeMidiFile(orbit));
    WriteFile(dir / "orbit-bare.mid", MakeMidiFile(orbit, {.otherEvents = false, .deltaTime = 0}));
    WriteFile(dir / "orbit-odd-numbers.syx",
              JoinMessages({MakeOrbitPreset(-1, "Minus One"), MakeOrbitPreset(640, "Too Far"),
                            MakeOrbitPreset(8191, "Top"), MakeOrbitPreset(5, "\xE9t\xE9\r\n\tx")}));

    const std::vector<Bytes> jv{
        MakeJvXpMessage({.area = kJvAreaPatch, .slot = 0, .name = "Amber Strings"}),
        MakeJvXpMessage({.area = kJvAreaPatch, .slot = 127, .name = "Tail  \t"}),
        MakeJvXpMessage({.area = kJvAreaPatch, .slot = 3, .name = "Not Name", .address3 = 0x10}),
        MakeJvXpMessage({.area = kJvAreaPerformance, .slot = 0, .name = "Split Dream"}),
        MakeJvXpMessage({.area = kJvAreaPerformance, .slot = 31, .name = "Layer Sky"}),
        MakeJvXpMessage({.area = kJvAreaPerformance, .slot = 0x40, .name = "Street Kit"}),
        MakeJvXpMessage({.area = kJvAreaPerformance, .slot = 0x41, .name = "Room Kit"}),
        MakeJvXpMessage({.area = kJvAreaPatch, .slot = 9, .name = "Request", .command = 0x11}),
        MakeJvXpMessage({.area = 0x01, .slot = 0, .name = "System"}),
    };
    WriteWithVariants(dir, "jvxp", ".syx", JoinMessages(jv));
    WriteWithVariants(dir, "jvxp", ".mid", MakeMidiFile(jv));
    WriteFile(dir / "jvxp-bad-slot.syx",
              MakeJvXpMessage({.area = kJvAreaPerformance, .slot = 0x20, .name = "Bad"}));
    WriteFile(dir / "jvxp-short-name.syx",
              MakeJvXpMessage({.area = kJvAreaPatch, .slot = 1, .name = "Short", .dataLength = 4}));

    // Korg: one complete bank so the unpacking is reached, the rest cut short.
    const std::vector<std::string> korgNames{"Prog 0", "\xC4rger\x01 \x7F",
                                             std::string("Cut\0Hidden", 10)};
    WriteFile(dir / "prophecy-bank-a.syx", MakeKorgProgramDump(kProphecy, 0x10, korgNames));
    const Bytes prophecyShort = Truncated(MakeKorgProgramDump(kProphecy, 0x20, korgNames), 300);
    WriteWithVariants(dir, "prophecy-short", ".syx", prophecyShort);
    WriteFile(dir / "prophecy-short.mid", MakeMidiFile({prophecyShort}));
    WriteFile(dir / "prophecy-all-data.syx",
              Truncated(MakeKorgAllDataDump(kProphecy, korgNames), 900));
    WriteFile(dir / "prophecy-bad-bank.syx",
              Truncated(MakeKorgProgramDump(kProphecy, 0x30, {}), 48));
    Bytes noPrograms = Truncated(MakeKorgProgramDump(kProphecy, 0x10, {}), 48);
    noPrograms[4] = 0x40;  // a function code that holds no programs
    WriteFile(dir / "prophecy-no-programs.syx", noPrograms);
    WriteFile(dir / "prophecy-header-only.syx", Bytes{0xF0, 0x42, 0x30, 0x41, 0x4C, 0x11});
    const Bytes trRack = Truncated(MakeKorgProgramDump(kTrRack, 0x11, korgNames), 300);
    WriteFile(dir / "trrack-short.syx", trRack);
    WriteFile(dir / "trrack-short.mid", MakeMidiFile({trRack}));

    const std::vector<Bytes> fs1r{
        MakeFs1rEditPerformance("Edit"),
        MakeFs1rPerformance(0, "Init Perf"),
        MakeFs1rPerformance(200, "High Index"),
        MakeFs1rVoice(7, "Voice Data"),
        MakeFs1rPerformance(5, std::string_view("Pad\0Zero   ", 11)),
    };
    WriteWithVariants(dir, "fs1r", ".syx", JoinMessages(fs1r));
    WriteWithVariants(dir, "fs1r", ".mid", MakeMidiFile(fs1r));
    const Bytes voices = MakeVoiceBulk({.names = {"Voice 0", "Voice 1", "Voice 2"}});
    WriteWithVariants(dir, "fs1r-voices", ".syx", voices);
    WriteFile(dir / "fs1r-voices-none.syx", MakeVoiceBulk({}));
    WriteFile(dir / "fs1r-voices-after.syx", JoinMessages({MakeFs1rPerformance(1, "First"),
                                                           MakeVoiceBulk({.names = {"A", "B"}})}));

    const std::vector<Bytes> virus{
        MakeVirusMessage(
            {.bank = 1, .program = 0, .name = "Acid Saw  ", .length = kVirusFixedLength}),
        MakeVirusMessage({.bank = 4, .program = 127, .name = "Last D"}),
        MakeVirusMessage(
            {.bank = 2, .program = 5, .name = "TI Single", .length = kVirusTiSingleLength}),
        MakeVirusMessage({.bank = 0, .program = 200, .name = "Edit Buf"}),
        MakeVirusMessage({.type = kVirusMulti, .bank = 1, .program = 3, .name = "Multi Three"}),
        MakeVirusOther(0x12, {0x01, 0x02, 0x03}),
    };
    WriteWithVariants(dir, "virus", ".syx", JoinMessages(virus));
    WriteWithVariants(dir, "virus", ".mid", MakeMidiFile(virus));
    WriteFile(dir / "virus-bad-bank.syx", MakeVirusMessage({.bank = 5, .name = "Five"}));
    WriteFile(dir / "virus-bad-multi.syx",
              MakeVirusMessage({.type = kVirusMulti, .bank = 2, .name = "Two"}));

    // Detection alone.
    WriteFile(dir / "unknown-maker.syx", Bytes{0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7});
    WriteFile(dir / "five-bytes.syx", Bytes{0xF0, 0x18, 0x0A, 0x00, 0x01});
    WriteFile(dir / "header-only.mid", Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 6});
    WriteFile(dir / "later-signature.mid",
              MakeMidiFile({Bytes{0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7}, jv[0], jv[3]}));
    // A long text event in front pushes the first F0 past byte 128.
    Bytes late = MakeMidiFile({jv[0]});
    Bytes text{0x00, 0xFF, 0x01, 120};
    Append(text, Filler(120, 3));
    late.insert(late.begin() + 22, text.begin(), text.end());  // after the MTrk header
    std::uint32_t trackLength = 0;
    for (std::size_t i = 18; i < 22; ++i)
        trackLength = (trackLength << 8) | late[i];
    trackLength += static_cast<std::uint32_t>(text.size());
    for (int i = 0; i < 4; ++i)
        late[18 + static_cast<std::size_t>(i)] =
            static_cast<std::uint8_t>(trackLength >> (8 * (3 - i)));
    WriteFile(dir / "late-sysex.mid", late);
}

// The argument encoding that fuzz_format.cpp reads.
struct Arg
{
    enum { Int, Char, Text } kind;
    long long value = 0;
    std::string text;
};

Bytes FormatSeed(const std::vector<Arg>& args, std::string_view pattern)
{
    Bytes out{static_cast<std::uint8_t>(args.size())};
    for (const Arg& arg : args) {
        if (arg.kind == Arg::Int) {
            out.push_back(0);
            const auto value = static_cast<std::uint64_t>(arg.value);
            for (int b = 0; b < 8; ++b)
                out.push_back(static_cast<std::uint8_t>((value >> (8 * b)) & 0xFF));
        } else if (arg.kind == Arg::Char) {
            out.push_back(1);
            out.push_back(static_cast<std::uint8_t>(arg.value));
        } else {
            out.push_back(2);
            out.push_back(static_cast<std::uint8_t>(arg.text.size()));
            out.insert(out.end(), arg.text.begin(), arg.text.end());
        }
    }
    out.insert(out.end(), pattern.begin(), pattern.end());
    return out;
}

void WriteFormatSeeds(const fs::path& dir)
{
    fs::create_directories(dir);
    const Arg crlf{Arg::Text, 0, "\r\n"};
    const struct
    {
        const char* file;
        std::vector<Arg> args;
        std::string_view pattern;
    } seeds[] = {
        {"jvxp-prefix", {{Arg::Int, 5, {}}}, "USER:%03d "},
        {"korg-prefix", {{Arg::Char, 'A', {}}, {Arg::Int, 63, {}}}, "%c%02d:"},
        {"orbit-bank", {{Arg::Int, 4, {}}}, "Orbit Bank %d"},
        {"virus-prefix", {{Arg::Char, 'M', {}}, {Arg::Int, 127, {}}}, "%c%03d "},
        {"fs1r-prefix", {{Arg::Int, 128, {}}}, "I%03d "},
        {"header",
         {{Arg::Text, 0, "Roland JV/XP"}, crlf},
         "; Cakewalk Instrument Definition File for %s%s"},
        {"patch-names", {crlf, crlf}, "%s.Patch Names%s"},
        {"hostile",
         {{Arg::Int, -7, {}}, {Arg::Char, 'Z', {}}, {Arg::Text, 0, "text"}},
         "%s%n%999999d%*d%c%x%-300.300d%%%"},
        {"flags",
         {{Arg::Int, -1, {}},
          {Arg::Int, 65535, {}},
          {Arg::Int, 0x80000000LL, {}},
          {Arg::Int, (1LL << 40) + 7, {}}},
         "%#o %#x %#X %+d % d %-5d| %05d %.3d %hd %hhu"},
        {"lengths",
         {{Arg::Int, -2, {}}, {Arg::Int, 3, {}}, {Arg::Int, 4, {}}, {Arg::Int, 5, {}}},
         "%lld %ld %jd %zd %td"},
        {"no-args", {}, "%d%%%c%s%"},
        {"percent-five", {}, "%5%"},
        {"wrapping-char", {{Arg::Int, 0x141, {}}}, "[%c]"},
        {"zero-precision", {{Arg::Int, 0, {}}}, "<%.0d><%#.0o>"},
        {"widest", {{Arg::Int, 1, {}}, {Arg::Int, 2, {}}}, "%0255x%-255.255X"},
        {"overflowing-width", {{Arg::Int, 9, {}}}, "%99999999999999999999d"},
        {"single-c-library", {{Arg::Int, -123456, {}}}, "n=%+08.5hd!"},
    };
    for (const auto& seed : seeds)
        WriteFile(dir / (std::string(seed.file) + ".fmt"), FormatSeed(seed.args, seed.pattern));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: bankwise-make-fuzz-corpus DIR\n";
        return 2;
    }
    try {
        const fs::path dir = argv[1];
        WriteDetectSeeds(dir / "detect");
        WriteFormatSeeds(dir / "format");
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
    return 0;
}
