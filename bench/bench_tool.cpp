// The helper behind bench/figures.sh: makes the dumps the figures are
// measured on (with the test generator, into a scratch folder) and times
// commands.
//
//   bankwise_bench_tool batch DIR COUNT
//       COUNT dumps of about 4 KB, of every streamed family, raw and MIDI
//   bankwise_bench_tool big FAMILY raw|mid FILE MIB
//       one dump of about MIB MiB: FAMILY's full bank over and over; in a
//       MIDI file with note events between the messages
//   bankwise_bench_tool scan FILE
//       the baseline: read() in 1 MiB pieces and memchr for every 0xF7
//   bankwise_bench_tool time RUNS [--fresh DIR] -- COMMAND... [--vs ...]
//       runs each COMMAND RUNS times, taking turns (DIR made anew before
//       each run, the old one set aside), and prints per command a line with the median wall time
//       in seconds and the largest peak memory in KiB; with
//       BANKWISE_BENCH_VERBOSE set, every run's time goes to stderr too
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "gen/BlofeldGen.h"
#include "gen/EnsoniqGen.h"
#include "gen/Fs1rGen.h"
#include "gen/JvXpGen.h"
#include "gen/KawaiK5000Gen.h"
#include "gen/KorgM1Gen.h"
#include "gen/MidiFile.h"
#include "gen/MorpheusGen.h"
#include "gen/OrbitGen.h"
#include "gen/RolandD50Gen.h"
#include "gen/VirusGen.h"

namespace {

namespace fs = std::filesystem;
using namespace bankwise::gen;

std::string Numbered(const char* what, int i)
{
    return what + std::to_string(i);
}

std::vector<Bytes> OrbitBank(int count)
{
    std::vector<Bytes> messages;
    for (int i = 0; i < count; ++i)
        messages.push_back(MakeOrbitPreset(i, Numbered("Preset ", i)));
    return messages;
}

std::vector<Bytes> JvXpBank(int patches, int performances)
{
    std::vector<Bytes> messages;
    for (int i = 0; i < patches; ++i) {
        messages.push_back(MakeJvXpMessage({.area = kJvAreaPatch,
                                            .slot = static_cast<std::uint8_t>(i),
                                            .name = Numbered("Patch ", i)}));
    }
    for (int i = 0; i < performances; ++i) {
        messages.push_back(MakeJvXpMessage({.area = kJvAreaPerformance,
                                            .slot = static_cast<std::uint8_t>(i),
                                            .name = Numbered("Perform ", i)}));
    }
    return messages;
}

std::vector<Bytes> Fs1rBank(int count)
{
    std::vector<Bytes> messages{MakeFs1rEditPerformance("Edit")};
    for (int i = 0; i < count; ++i)
        messages.push_back(MakeFs1rPerformance(static_cast<std::uint8_t>(i), Numbered("Perf ", i)));
    return messages;
}

std::vector<Bytes> VirusBank(int banks, int perBank, int multis)
{
    std::vector<Bytes> messages;
    for (int bank = 1; bank <= banks; ++bank) {
        for (int p = 0; p < perBank; ++p) {
            messages.push_back(MakeVirusMessage({.bank = static_cast<std::uint8_t>(bank),
                                                 .program = static_cast<std::uint8_t>(p),
                                                 .name = Numbered("Single ", p)}));
        }
    }
    for (int m = 0; m < multis; ++m) {
        messages.push_back(MakeVirusMessage({.type = kVirusMulti,
                                             .program = static_cast<std::uint8_t>(m),
                                             .name = Numbered("Multi ", m)}));
    }
    return messages;
}

std::vector<Bytes> BlofeldBank()
{
    std::vector<Bytes> messages;
    for (int i = 0; i < 1024; ++i) {
        messages.push_back(MakeBlofeldSound({.bank = static_cast<std::uint8_t>(i / 128),
                                             .program = static_cast<std::uint8_t>(i % 128),
                                             .name = Numbered("Sound ", i)}));
    }
    return messages;
}

std::vector<Bytes> MorpheusBank()
{
    std::vector<Bytes> messages;
    const std::pair<std::uint8_t, int> kinds[] = {
        {kMorpheusPreset, 384}, {kMorpheusHyperpreset, 256}, {kMorpheusMidimap, 16}};
    for (const auto& [command, count] : kinds) {
        for (int i = 0; i < count; ++i)
            messages.push_back(
                MakeMorpheusMessage({.command = command, .number = i, .name = Numbered("N", i)}));
    }
    return messages;
}

// Cartridge-sized dumps: about 4 KB each.
int Batch(const fs::path& dir, int count)
{
    std::vector<std::string> voices;
    for (int i = 0; i < 32; ++i)
        voices.push_back(Numbered("Voice ", i));
    const std::pair<const char*, Bytes> kinds[] = {
        {".syx", JoinMessages(OrbitBank(14))},       {".mid", MakeMidiFile(JvXpBank(40, 8))},
        {".syx", MakeVoiceBulk({.names = voices})},  {".mid", MakeMidiFile(VirusBank(1, 15, 0))},
        {".syx", JoinMessages(VirusBank(1, 12, 3))}, {".mid", MakeMidiFile(OrbitBank(14))},
        {".syx", JoinMessages(JvXpBank(40, 8))},     {".mid", MakeMidiFile(Fs1rBank(9))},
    };
    fs::create_directories(dir);
    constexpr int kKinds = sizeof kinds / sizeof kinds[0];
    for (int i = 0; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "dump-%05d", i);
        const auto& [extension, bytes] = kinds[i % kKinds];
        WriteFile(dir / (std::string(name) + extension), bytes);
    }
    return 0;
}

// A giant dump, written piece by piece: the full bank repeated until the
// file holds at least mib MiB.
int Big(const std::string& family, const std::string& kind, const fs::path& file, int mib)
{
    const std::map<std::string, std::function<std::vector<Bytes>()>> banks{
        {"orbit", [] { return OrbitBank(640); }},
        {"jvxp", [] { return JvXpBank(128, 32); }},
        {"fs1r", [] { return Fs1rBank(128); }},
        {"virus", [] { return VirusBank(4, 128, 128); }},
        {"blofeld", BlofeldBank},
        {"morpheus", MorpheusBank},
        {"vfx", [] { return std::vector<Bytes>{MakeVfxPrograms({})}; }},
        {"esq1", [] { return std::vector<Bytes>{MakeEsq1Programs({})}; }},
        {"d50", [] { return MakeD50Bank({}); }},
        {"k5000",
         [] {
             return std::vector<Bytes>{MakeK5000Bank(kK5000BankA, K5000Singles({})),
                                       MakeK5000Bank(kK5000BankD, K5000Singles({}))};
         }},
        {"m1",
         [] {
             return std::vector<Bytes>{MakeM1Dump({}),
                                       MakeM1Dump({.function = kM1AllCombinations})};
         }},
    };
    const auto bank = banks.find(family);
    if (bank == banks.end() || (kind != "raw" && kind != "mid"))
        throw std::invalid_argument("unknown family or kind: " + family + " " + kind);
    const bool midi = kind == "mid";

    // One round of the bank as the file carries it: bare messages, or track
    // events with a note on and off before each message.
    Bytes round;
    for (const Bytes& message : bank->second()) {
        if (!midi) {
            Append(round, message);
            continue;
        }
        Append(round, {0x01, 0x90, 0x3C, 0x64, 0x01, 0x80, 0x3C, 0x00, 0x0A, 0xF0});
        Append(round, VariableLength(static_cast<std::uint32_t>(message.size() - 1)));
        round.insert(round.end(), message.begin() + 1, message.end());
    }
    const std::uint64_t wanted = static_cast<std::uint64_t>(mib) << 20;
    const std::uint64_t rounds = (wanted + round.size() - 1) / round.size();

    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    const auto write = [&out](const Bytes& bytes) {
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    };
    const Bytes trackStart{0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20};  // tempo
    const Bytes trackEnd{0x00, 0xFF, 0x01, 0x03, 'e', 'n', 'd', 0x00, 0xFF, 0x2F, 0x00};
    if (midi) {
        const std::uint64_t length = trackStart.size() + rounds * round.size() + trackEnd.size();
        if (length > 0xFFFFFFFFu)
            throw std::invalid_argument("a MIDI track holds at most 4 GiB");
        // Format 0, one track, 480 ticks per quarter note; then the track's header.
        write({'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0, 'M', 'T', 'r', 'k'});
        write({static_cast<std::uint8_t>(length >> 24), static_cast<std::uint8_t>(length >> 16),
               static_cast<std::uint8_t>(length >> 8), static_cast<std::uint8_t>(length)});
        write(trackStart);
    }
    for (std::uint64_t i = 0; i < rounds; ++i)
        write(round);
    if (midi)
        write(trackEnd);
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
    return 0;
}

int Scan(const char* path)
{
    const int fd = open(path, O_RDONLY);
    if (fd < 0)
        throw std::runtime_error(std::string("cannot open ") + path);
    std::vector<unsigned char> buffer(std::size_t{1} << 20);
    std::size_t found = 0;
    for (;;) {
        const ssize_t n = read(fd, buffer.data(), buffer.size());
        if (n <= 0)
            break;
        const unsigned char* p = buffer.data();
        const unsigned char* end = p + n;
        while (const void* hit = std::memchr(p, 0xF7, static_cast<std::size_t>(end - p))) {
            ++found;
            p = static_cast<const unsigned char*>(hit) + 1;
        }
    }
    close(fd);
    std::printf("%zu\n", found);
    return 0;
}

struct CCommand
{
    std::string fresh;  // folder emptied before each run, or empty
    std::vector<char*> argv;
    std::vector<double> seconds;
    long peakKiB = 0;
};

void RunOnce(CCommand& command)
{
    if (!command.fresh.empty()) {
        // Set aside, not deleted: a file system slows down creating files
        // right after many were deleted, which would fall on the next run.
        static int setAside = 0;
        if (fs::exists(command.fresh))
            fs::rename(command.fresh, command.fresh + ".old" + std::to_string(++setAside));
        fs::create_directories(command.fresh);
    }
    // Earlier runs' files go to disk now, not while this one is timed.
    sync();
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        execvp(command.argv[0], command.argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child)
        throw std::runtime_error("cannot run the command");
    command.seconds.push_back(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(std::string(command.argv[0]) + " failed");
    command.peakKiB = std::max(command.peakKiB, usage.ru_maxrss);
}

// Commands compared with each other take turns, so that a change in the
// machine's load falls on all of them alike.
int Time(int runs, std::vector<CCommand> commands)
{
    for (int run = 0; run < runs; ++run) {
        for (CCommand& command : commands)
            RunOnce(command);
    }
    for (CCommand& command : commands) {
        if (std::getenv("BANKWISE_BENCH_VERBOSE") != nullptr) {
            for (const double s : command.seconds)
                std::fprintf(stderr, "%.3f ", s);
            std::fprintf(stderr, " %s\n", command.argv[0]);
        }
        std::sort(command.seconds.begin(), command.seconds.end());
        std::printf("%.6f %ld\n", command.seconds[command.seconds.size() / 2], command.peakKiB);
    }
    return 0;
}

// [--fresh DIR] -- COMMAND... [--vs [--fresh DIR] -- COMMAND...]...
std::vector<CCommand> ParseCommands(char** first, char** last)
{
    std::vector<CCommand> commands;
    while (first != last) {
        CCommand command;
        if (std::string(*first) == "--fresh" && last - first > 1) {
            command.fresh = first[1];
            first += 2;
        }
        if (first == last || std::string(*first) != "--")
            throw std::invalid_argument("expected -- before a command");
        for (++first; first != last && std::string(*first) != "--vs"; ++first)
            command.argv.push_back(*first);
        if (command.argv.empty())
            throw std::invalid_argument("empty command");
        command.argv.push_back(nullptr);
        commands.push_back(std::move(command));
        if (first != last)
            ++first;  // --vs
    }
    return commands;
}

int Usage()
{
    std::cerr << "usage: bankwise_bench_tool batch DIR COUNT | big FAMILY raw|mid FILE MIB |"
                 " scan FILE | time RUNS [--fresh DIR] -- COMMAND... [--vs ...]\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        const std::vector<std::string> args(argv + 1, argv + argc);
        if (args.size() == 3 && args[0] == "batch")
            return Batch(args[1], std::stoi(args[2]));
        if (args.size() == 5 && args[0] == "big")
            return Big(args[1], args[2], args[3], std::stoi(args[4]));
        if (args.size() == 2 && args[0] == "scan")
            return Scan(argv[2]);
        if (args.size() >= 4 && args[0] == "time")
            return Time(std::stoi(args[1]), ParseCommands(argv + 3, argv + argc));
        return Usage();
    } catch (const std::exception& e) {
        std::cerr << "bankwise_bench_tool: " << e.what() << '\n';
        return 1;
    }
}
