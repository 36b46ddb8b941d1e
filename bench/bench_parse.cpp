// How long a full conversion takes: detection, parsing and writing of
// complete dumps of every family, raw and in Standard MIDI Files, and the
// pattern formatter on the patterns the writers use. Numbers only; nothing
// here passes or fails on time.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "ByteSource.h"
#include "Detector.h"
#include "MessageSink.h"
#include "SafeFormat.h"
#include "gen/Fs1rGen.h"
#include "gen/JvXpGen.h"
#include "gen/KorgGen.h"
#include "gen/MidiFile.h"
#include "gen/OrbitGen.h"
#include "gen/VirusGen.h"

namespace {

using namespace bankwise;
using namespace bankwise::gen;

class CQuietSink final : public IMessageSink {
public:
    void ShowMessage(const std::string& /*text*/) override {}
};

// All five banks of 128 presets.
std::vector<Bytes> FullOrbitDump()
{
    std::vector<Bytes> presets;
    for (int i = 0; i < 640; ++i)
        presets.push_back(MakeOrbitPreset(i, "Preset " + std::to_string(i)));
    return presets;
}

// 128 patches, 32 performances and both rhythm sets.
std::vector<Bytes> FullJvXpDump()
{
    std::vector<Bytes> messages;
    for (int i = 0; i < 128; ++i) {
        messages.push_back(MakeJvXpMessage({.area = kJvAreaPatch,
                                            .slot = static_cast<std::uint8_t>(i),
                                            .name = "Patch " + std::to_string(i)}));
    }
    for (int i = 0; i < 32; ++i) {
        messages.push_back(MakeJvXpMessage({.area = kJvAreaPerformance,
                                            .slot = static_cast<std::uint8_t>(i),
                                            .name = "Perform " + std::to_string(i)}));
    }
    for (std::uint8_t slot : {0x40, 0x41})
        messages.push_back(MakeJvXpMessage({.area = kJvAreaPerformance, .slot = slot, .name = "Kit"}));
    return messages;
}

// Detection, parse and write, as one open of the file does them.
void Convert(benchmark::State& state, const Bytes& file, bool midi)
{
    CQuietSink sink;
    std::size_t textBytes = 0;
    for (auto _ : state) {
        CMemoryByteSource source(file);
        std::unique_ptr<CDumpExtractor> extractor;
        if (!DetectAndParse(source, midi, sink, extractor)) {
            state.SkipWithError("the dump did not parse");
            break;
        }
        std::string text;
        extractor->WriteDefinition(text);
        textBytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations())
                            * static_cast<std::int64_t>(file.size()));
    state.counters["text_bytes"] = static_cast<double>(textBytes);
}

void BM_OrbitRaw(benchmark::State& state)
{
    static const Bytes file = JoinMessages(FullOrbitDump());
    Convert(state, file, false);
}
BENCHMARK(BM_OrbitRaw)->Unit(benchmark::kMicrosecond);

void BM_OrbitMidi(benchmark::State& state)
{
    static const Bytes file = MakeMidiFile(FullOrbitDump());
    Convert(state, file, true);
}
BENCHMARK(BM_OrbitMidi)->Unit(benchmark::kMicrosecond);

void BM_JvXpRaw(benchmark::State& state)
{
    static const Bytes file = JoinMessages(FullJvXpDump());
    Convert(state, file, false);
}
BENCHMARK(BM_JvXpRaw)->Unit(benchmark::kMicrosecond);

void BM_JvXpMidi(benchmark::State& state)
{
    static const Bytes file = MakeMidiFile(FullJvXpDump());
    Convert(state, file, true);
}
BENCHMARK(BM_JvXpMidi)->Unit(benchmark::kMicrosecond);

// Banks A and B of 128 programs: the largest single block, unpacked in one pass.
void BM_ProphecyBothBanks(benchmark::State& state)
{
    static const Bytes file = MakeKorgProgramDump(kProphecy, 0x20, {});
    Convert(state, file, false);
}
BENCHMARK(BM_ProphecyBothBanks)->Unit(benchmark::kMicrosecond);

// 128 internal performances behind the edit buffer, as a bank dump sends them.
void BM_Fs1rBank(benchmark::State& state)
{
    static const Bytes file = [] {
        std::vector<Bytes> messages{MakeFs1rEditPerformance("Edit")};
        for (int i = 0; i < 128; ++i)
            messages.push_back(MakeFs1rPerformance(static_cast<std::uint8_t>(i), "Perf " + std::to_string(i)));
        return JoinMessages(messages);
    }();
    Convert(state, file, false);
}
BENCHMARK(BM_Fs1rBank)->Unit(benchmark::kMicrosecond);

// Four banks of 128 singles and 128 multis.
void BM_VirusAllBanks(benchmark::State& state)
{
    static const Bytes file = [] {
        std::vector<Bytes> messages;
        for (std::uint8_t bank = 1; bank <= 4; ++bank) {
            for (int p = 0; p < 128; ++p)
                messages.push_back(MakeVirusMessage({.bank = bank, .program = static_cast<std::uint8_t>(p), .name = "Single"}));
        }
        for (int m = 0; m < 128; ++m)
            messages.push_back(MakeVirusMessage({.type = kVirusMulti, .program = static_cast<std::uint8_t>(m), .name = "Multi"}));
        return JoinMessages(messages);
    }();
    Convert(state, file, false);
}
BENCHMARK(BM_VirusAllBanks)->Unit(benchmark::kMicrosecond);

// Writing alone, the part that runs again after each change of the options.
void BM_OrbitWriteOnly(benchmark::State& state)
{
    CMemoryByteSource source(JoinMessages(FullOrbitDump()));
    CQuietSink sink;
    std::unique_ptr<CDumpExtractor> extractor;
    if (!DetectAndParse(source, false, sink, extractor)) {
        state.SkipWithError("the dump did not parse");
        return;
    }
    for (auto _ : state) {
        std::string text;
        extractor->WriteDefinition(text);
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_OrbitWriteOnly)->Unit(benchmark::kMicrosecond);

void BM_SafeFormatNumber(benchmark::State& state)
{
    long long n = 0;
    for (auto _ : state) {
        std::string s = SafeFormat("USER:%03d ", {FormatArg::Int(n++ & 127)});
        benchmark::DoNotOptimize(s.data());
    }
}
BENCHMARK(BM_SafeFormatNumber);

void BM_SafeFormatLetterAndNumber(benchmark::State& state)
{
    long long n = 0;
    for (auto _ : state) {
        std::string s = SafeFormat("%c%02d:", {FormatArg::Char('A'), FormatArg::Int(n++ & 63)});
        benchmark::DoNotOptimize(s.data());
    }
}
BENCHMARK(BM_SafeFormatLetterAndNumber);

void BM_SafeFormatHeader(benchmark::State& state)
{
    for (auto _ : state) {
        std::string s = SafeFormat("; Cakewalk Instrument Definition File for %s%s",
                                   {FormatArg::Text("Roland JV/XP"), FormatArg::Text("\r\n")});
        benchmark::DoNotOptimize(s.data());
    }
}
BENCHMARK(BM_SafeFormatHeader);

void BM_SafeFormatHostile(benchmark::State& state)
{
    for (auto _ : state) {
        std::string s = SafeFormat("%s%n%999999d%*d%c%x%-300.300d%%%",
                                   {FormatArg::Int(7), FormatArg::Char('A')});
        benchmark::DoNotOptimize(s.data());
    }
}
BENCHMARK(BM_SafeFormatHostile);

}  // namespace

BENCHMARK_MAIN();
