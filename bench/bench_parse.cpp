// How long a full conversion takes: detection, parsing and writing of
// complete dumps of every family, raw and in Standard MIDI Files, and the
// pattern formatter on the patterns the writers use. Numbers only; nothing
// here passes or fails on time.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "ByteSource.h"
#include "Conversion.h"
#include "SafeFormat.h"
#include "gen/BlofeldGen.h"
#include "gen/EnsoniqGen.h"
#include "gen/Fs1rGen.h"
#include "gen/JvXpGen.h"
#include "gen/KawaiK5000Gen.h"
#include "gen/KorgGen.h"
#include "gen/KorgM1Gen.h"
#include "gen/MidiFile.h"
#include "gen/MorpheusGen.h"
#include "gen/OrbitGen.h"
#include "gen/RolandD50Gen.h"
#include "gen/VirusGen.h"

namespace {

using namespace bankwise;
using namespace bankwise::gen;

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
        messages.push_back(
            MakeJvXpMessage({.area = kJvAreaPerformance, .slot = slot, .name = "Kit"}));
    return messages;
}

std::vector<Bytes> FullBlofeldDump()
{
    std::vector<Bytes> sounds;
    for (int i = 0; i < 1024; ++i) {
        sounds.push_back(MakeBlofeldSound({.bank = static_cast<std::uint8_t>(i / 128),
                                           .program = static_cast<std::uint8_t>(i % 128),
                                           .name = "Sound " + std::to_string(i)}));
    }
    return sounds;
}

std::vector<Bytes> FullMorpheusDump()
{
    std::vector<Bytes> messages;
    const std::pair<std::uint8_t, int> kinds[] = {
        {kMorpheusPreset, 384}, {kMorpheusHyperpreset, 256}, {kMorpheusMidimap, 16}};
    for (const auto& [command, count] : kinds) {
        for (int i = 0; i < count; ++i)
            messages.push_back(MakeMorpheusMessage(
                {.command = command, .number = i, .name = "Name " + std::to_string(i)}));
    }
    return messages;
}

// A dump the caller holds, offered in place as a file in memory is: no copy
// per run, as the converter makes none.
class CSpanSource final : public CByteSource
{
public:
    explicit CSpanSource(const Bytes& bytes) : m_bytes(bytes) {}
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
        const std::size_t n = std::min<std::size_t>(count, m_bytes.size() - m_position);
        std::memcpy(destination, m_bytes.data() + m_position, n);
        m_position += n;
        return n;
    }
    std::optional<std::span<const std::uint8_t>> GetContiguousBytes() override { return m_bytes; }

private:
    const Bytes& m_bytes;
    std::uint64_t m_position = 0;
};

// The largest realistic dump of each family.
struct CDump
{
    Bytes file;
    bool midi;
};

const CDump& OrbitRaw()
{
    static const CDump dump{JoinMessages(FullOrbitDump()), false};
    return dump;
}

const CDump& OrbitMidi()
{
    static const CDump dump{MakeMidiFile(FullOrbitDump()), true};
    return dump;
}

const CDump& JvXpRaw()
{
    static const CDump dump{JoinMessages(FullJvXpDump()), false};
    return dump;
}

const CDump& JvXpMidi()
{
    static const CDump dump{MakeMidiFile(FullJvXpDump()), true};
    return dump;
}

// Banks A and B of 128 programs: the largest single block, unpacked in one pass.
const CDump& ProphecyBothBanks()
{
    static const CDump dump{MakeKorgProgramDump(kProphecy, 0x20, {}), false};
    return dump;
}

// 128 internal performances behind the edit buffer, as a bank dump sends them.
const CDump& Fs1rBank()
{
    static const CDump dump{[] {
                                std::vector<Bytes> messages{MakeFs1rEditPerformance("Edit")};
                                for (int i = 0; i < 128; ++i) {
                                    messages.push_back(MakeFs1rPerformance(
                                        static_cast<std::uint8_t>(i), "Perf " + std::to_string(i)));
                                }
                                return JoinMessages(messages);
                            }(),
                            false};
    return dump;
}

// Four banks of 128 singles and 128 multis.
const CDump& VirusAllBanks()
{
    static const CDump dump{
        [] {
            std::vector<Bytes> messages;
            for (std::uint8_t bank = 1; bank <= 4; ++bank) {
                for (int p = 0; p < 128; ++p) {
                    messages.push_back(MakeVirusMessage(
                        {.bank = bank, .program = static_cast<std::uint8_t>(p), .name = "Single"}));
                }
            }
            for (int m = 0; m < 128; ++m) {
                messages.push_back(MakeVirusMessage({.type = kVirusMulti,
                                                     .program = static_cast<std::uint8_t>(m),
                                                     .name = "Multi"}));
            }
            return JoinMessages(messages);
        }(),
        false};
    return dump;
}

// All eight banks of 128 sounds.
const CDump& BlofeldAllBanks()
{
    static const CDump dump{JoinMessages(FullBlofeldDump()), false};
    return dump;
}

// Every preset, hyperpreset and midimap of a Morpheus with a card.
const CDump& MorpheusAll()
{
    static const CDump dump{JoinMessages(FullMorpheusDump()), false};
    return dump;
}

const CDump& VfxAllPrograms()
{
    static const CDump dump{MakeVfxPrograms({}), false};
    return dump;
}

const CDump& Esq1AllPrograms()
{
    static const CDump dump{MakeEsq1Programs({}), false};
    return dump;
}

// All programs and all combinations of an M1.
const CDump& M1AllData()
{
    static const CDump dump{
        JoinMessages({MakeM1Dump({}), MakeM1Dump({.function = kM1AllCombinations})}), false};
    return dump;
}

// The 64 internal patches and the reverb data.
const CDump& D50Bank()
{
    static const CDump dump{JoinMessages(MakeD50Bank({})), false};
    return dump;
}

// Banks A, D, E and F in full, each record walked by its sources.
const CDump& K5000Banks()
{
    static const CDump dump{JoinMessages({MakeK5000Bank(kK5000BankA, K5000Singles({})),
                                          MakeK5000Bank(kK5000BankD, K5000Singles({})),
                                          MakeK5000Bank(kK5000BankE, K5000Singles({})),
                                          MakeK5000Bank(kK5000BankF, K5000Singles({}))}),
                            false};
    return dump;
}

// Detection, parse and write, as one open of the file does them.
void BM_Convert(benchmark::State& state, const CDump& (*dump)())
{
    const CDump& d = dump();
    const CMemoryProfile profile;
    std::size_t textBytes = 0;
    for (auto _ : state) {
        CSpanSource source(d.file);
        const CConversion conversion = ConvertDump(source, d.midi, profile);
        if (!conversion.Succeeded()) {
            state.SkipWithError("the dump did not parse");
            break;
        }
        std::string text;
        conversion.extractor->WriteDefinition(text);
        textBytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(d.file.size()));
    state.counters["text_bytes"] = static_cast<double>(textBytes);
}

// Detection and parse alone: the rest of BM_Convert is writing.
void BM_Parse(benchmark::State& state, const CDump& (*dump)())
{
    const CDump& d = dump();
    const CMemoryProfile profile;
    for (auto _ : state) {
        CSpanSource source(d.file);
        const CConversion conversion = ConvertDump(source, d.midi, profile);
        if (!conversion.Succeeded()) {
            state.SkipWithError("the dump did not parse");
            break;
        }
        benchmark::DoNotOptimize(conversion.extractor.get());
    }
}

// The baseline: one memchr pass over the same bytes, finding every 0xF7.
void BM_Memchr(benchmark::State& state, const CDump& (*dump)())
{
    const CDump& d = dump();
    for (auto _ : state) {
        std::size_t found = 0;
        const std::uint8_t* p = d.file.data();
        const std::uint8_t* end = p + d.file.size();
        while (const void* hit = std::memchr(p, 0xF7, static_cast<std::size_t>(end - p))) {
            ++found;
            p = static_cast<const std::uint8_t*>(hit) + 1;
        }
        benchmark::DoNotOptimize(found);
    }
}

#define BANKWISE_FAMILY_BENCHMARKS(name)                                                           \
    BENCHMARK_CAPTURE(BM_Convert, name, &name)->Unit(benchmark::kMicrosecond);                     \
    BENCHMARK_CAPTURE(BM_Parse, name, &name)->Unit(benchmark::kMicrosecond);                       \
    BENCHMARK_CAPTURE(BM_Memchr, name, &name)->Unit(benchmark::kMicrosecond)

BANKWISE_FAMILY_BENCHMARKS(OrbitRaw);
BANKWISE_FAMILY_BENCHMARKS(OrbitMidi);
BANKWISE_FAMILY_BENCHMARKS(JvXpRaw);
BANKWISE_FAMILY_BENCHMARKS(JvXpMidi);
BANKWISE_FAMILY_BENCHMARKS(ProphecyBothBanks);
BANKWISE_FAMILY_BENCHMARKS(Fs1rBank);
BANKWISE_FAMILY_BENCHMARKS(VirusAllBanks);
BANKWISE_FAMILY_BENCHMARKS(BlofeldAllBanks);
BANKWISE_FAMILY_BENCHMARKS(MorpheusAll);
BANKWISE_FAMILY_BENCHMARKS(VfxAllPrograms);
BANKWISE_FAMILY_BENCHMARKS(Esq1AllPrograms);
BANKWISE_FAMILY_BENCHMARKS(M1AllData);
BANKWISE_FAMILY_BENCHMARKS(D50Bank);
BANKWISE_FAMILY_BENCHMARKS(K5000Banks);

// Writing alone, the part that runs again after each change of the options.
void BM_OrbitWriteOnly(benchmark::State& state)
{
    const CMemoryProfile profile;
    const CConversion conversion = ConvertDump(JoinMessages(FullOrbitDump()), false, profile);
    if (!conversion.Succeeded()) {
        state.SkipWithError("the dump did not parse");
        return;
    }
    for (auto _ : state) {
        std::string text;
        conversion.extractor->WriteDefinition(text);
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
