// Fuzz target over the whole road of a dump: detection, the family's
// parser and its writers. Every input is read once as raw SysEx and once as a
// Standard MIDI File; whatever extractor comes out (also after a failed
// parse, which the document keeps) writes its text in every format with the
// default settings, with hostile naming patterns, and with the defaults again.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ByteSource.h"
#include "Detector.h"
#include "DumpExtractor.h"
#include "FuzzCheck.h"
#include "MessageSink.h"
#include "OutputFormat.h"
#include "Profile.h"

namespace {

using namespace bankwise;

// Patterns a user could type into the options. None holds CR or LF, so the
// line structure checks below stay exact; everything else is fair game.
constexpr std::array<std::string_view, 19> kHostilePatterns{
    "%s%n%999999d%*d%c%x%-300.300d%%%",
    "%c%d%c%d%s%s%n%p%f%lld%hhd%#o%+ d",
    "%c",
    "%d",
    "%c%d",
    "%d%c",
    "%",
    "%%d%%c",
    "%99999999999999999999d%.99999999999999999999d",
    "%0255x%-255.255X",
    "",
    "Bank",
    "  Bank %c",
    "\xff\x80%c%03d\x7f",
    "[%s]%s",
    "Patch[%d]=%s",
    "%hhc%lc%ls%S%C%Z%I64d",
    "USER:%03d %c%02d: %s",
    "<&amp;\"%c>%d' ]]>",
};

const EFamily kFamilies[] = {EFamily::Orbit,  EFamily::JvXp, EFamily::Prophecy,
                             EFamily::TrRack, EFamily::Fs1r, EFamily::Virus};

// The longest line a writer may produce with these patterns: the slot
// number, '=', a prefix of at most (width cap + 16) bytes per pattern byte
// plus slack, and a name of at most a few dozen bytes.
constexpr std::size_t kMaxLine = 64 + 80 * (255 + 16) + 64 + 256;

class CCountingSink final : public IMessageSink
{
public:
    void ShowMessage(const std::string& text) override
    {
        ++count;
        BANKWISE_FUZZ_CHECK(!text.empty());
    }
    int count = 0;
};

std::vector<std::string_view> SplitCrLfLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        BANKWISE_FUZZ_CHECK(end != std::string_view::npos);  // last line ends in CR LF
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsControl(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

bool IsHeading(std::string_view line)
{
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

// "<slot>=<prefix><name>" with no control byte anywhere: a name or prefix
// must never break or smuggle bytes into the line structure.
bool IsPatchLine(std::string_view line)
{
    std::size_t i = 0;
    while (i < line.size() && IsDigit(line[i]))
        ++i;
    if (i == 0 || i >= line.size() || line[i] != '=')
        return false;
    for (const char c : line) {
        if (IsControl(c))
            return false;
    }
    return true;
}

bool IsBankLine(std::string_view line)
{
    constexpr std::string_view kStart = "Patch[";
    if (line.substr(0, kStart.size()) != kStart)
        return false;
    std::size_t i = kStart.size();
    const std::size_t digits = i;
    while (i < line.size() && IsDigit(line[i]))
        ++i;
    return i > digits && line.substr(i, 2) == "]=";
}

// The layout every family writes: header, ".Patch Names", bank sections,
// ".Instrument Definitions", definition headings and Patch lines, every line
// ended by CR LF and no lone CR or LF anywhere.
void CheckDefinitionText(const std::string& text, const std::string& synthName)
{
    if (text.empty())
        return;  // a family whose writer is not there yet
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r')
            BANKWISE_FUZZ_CHECK(i + 1 < text.size() && text[i + 1] == '\n');
        if (text[i] == '\n')
            BANKWISE_FUZZ_CHECK(i > 0 && text[i - 1] == '\r');
    }
    const std::vector<std::string_view> lines = SplitCrLfLines(text);
    BANKWISE_FUZZ_CHECK(lines.size() >= 5);
    BANKWISE_FUZZ_CHECK(lines[0] == "; Cakewalk Instrument Definition File for " + synthName);
    BANKWISE_FUZZ_CHECK(lines[1].empty());
    BANKWISE_FUZZ_CHECK(lines[2] == ".Patch Names");
    std::size_t i = 3;
    for (; i < lines.size() && lines[i] != ".Instrument Definitions"; ++i) {
        BANKWISE_FUZZ_CHECK(lines[i].size() <= kMaxLine);
        BANKWISE_FUZZ_CHECK(lines[i].empty() || IsHeading(lines[i]) || IsPatchLine(lines[i]));
    }
    BANKWISE_FUZZ_CHECK(i < lines.size());
    BANKWISE_FUZZ_CHECK(lines[i - 1].empty());
    for (++i; i < lines.size(); ++i)
        BANKWISE_FUZZ_CHECK(lines[i].empty() || IsHeading(lines[i]) || IsBankLine(lines[i]));
}

// What names and patterns hold never reaches the structure of the other
// formats: UTF-8 made of ASCII and Latin-1, no control byte but LF.
void CheckUtf8Lines(std::string_view text)
{
    BANKWISE_FUZZ_CHECK(!text.empty() && text.back() == '\n');
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0x80) {
            BANKWISE_FUZZ_CHECK((byte == 0xC2 || byte == 0xC3) && i + 1 < text.size() &&
                                (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80);
            ++i;
        } else {
            BANKWISE_FUZZ_CHECK(text[i] == '\n' || !IsControl(text[i]));
        }
    }
}

// Every '<' and '>' is markup and every '&' starts an entity.
void CheckMidnam(std::string_view text)
{
    CheckUtf8Lines(text);
    BANKWISE_FUZZ_CHECK(text.starts_with("<?xml ") && text.ends_with("</MIDINameDocument>\n"));
    std::size_t open = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '<')
            BANKWISE_FUZZ_CHECK(open++ == 0);
        if (text[i] == '>')
            BANKWISE_FUZZ_CHECK(open-- == 1);
        if (text[i] == '&') {
            const std::string_view rest = text.substr(i + 1);
            BANKWISE_FUZZ_CHECK(rest.starts_with("amp;") || rest.starts_with("lt;") ||
                                rest.starts_with("gt;") || rest.starts_with("quot;"));
        }
    }
    BANKWISE_FUZZ_CHECK(open == 0);
}

// A comment first, then empty lines, Bank lines and program lines only.
void CheckReabank(std::string_view text)
{
    CheckUtf8Lines(text);
    BANKWISE_FUZZ_CHECK(text.starts_with("// "));
    for (std::size_t end = text.find('\n'); end + 1 < text.size(); end = text.find('\n', end + 1)) {
        const std::string_view line = text.substr(end + 1);
        BANKWISE_FUZZ_CHECK(line[0] == '\n' || IsDigit(line[0]) || line.starts_with("Bank "));
    }
}

const std::vector<std::string>& FamilySections()
{
    static const std::vector<std::string> sections = [] {
        std::vector<std::string> names;
        for (const EFamily family : kFamilies)
            names.push_back(CreateExtractor(family)->GetSynthName());
        return names;
    }();
    return sections;
}

void SetFamilyPatterns(CMemoryProfile& profile, std::string_view definition, std::string_view bank,
                       std::string_view instr)
{
    for (const std::string& section : FamilySections()) {
        profile.WriteProfileString(section, "Definition", std::string(definition));
        profile.WriteProfileString(section, "BankFormat", std::string(bank));
        profile.WriteProfileString(section, "InstrFormat", std::string(instr));
    }
}

std::string Write(CDumpExtractor& extractor, IProfile& profile)
{
    CScopedAppProfile scope(profile);
    std::string text;
    extractor.WriteDefinition(text);
    CheckDefinitionText(text, extractor.GetSynthName());

    std::string ins, midnam, reabank;
    BANKWISE_FUZZ_CHECK(WriteOutput(extractor, EOutputFormat::Ins, ins) && ins == text);
    BANKWISE_FUZZ_CHECK(WriteOutput(extractor, EOutputFormat::Midnam, midnam));
    CheckMidnam(midnam);
    std::vector<std::string> messages;
    BANKWISE_FUZZ_CHECK(WriteOutput(extractor, EOutputFormat::Reabank, reabank, &messages));
    CheckReabank(reabank);
    BANKWISE_FUZZ_CHECK(messages.empty());  // every family's banks fit bank select
    return text;
}

void Run(const std::uint8_t* data, std::size_t size, bool midi)
{
    CMemoryByteSource source(data, size);
    CCountingSink sink;
    std::unique_ptr<CDumpExtractor> extractor;
    const bool ok = DetectAndParse(source, midi, sink, extractor);

    BANKWISE_FUZZ_CHECK(sink.count <= 1);
    BANKWISE_FUZZ_CHECK(!ok || extractor != nullptr);
    if (size < 6)
        BANKWISE_FUZZ_CHECK(!ok && !extractor && sink.count == 0);
    if (!extractor)
        return;

    CMemoryProfile defaults;
    const std::string first = Write(*extractor, defaults);

    // The worst pattern we know of, in every entry of every family.
    CMemoryProfile worst;
    SetFamilyPatterns(worst, kHostilePatterns[0], kHostilePatterns[0], kHostilePatterns[0]);
    Write(*extractor, worst);

    // A combination picked by the input, so a corpus walks through all of them.
    const std::size_t pick = size % kHostilePatterns.size();
    CMemoryProfile mixed;
    SetFamilyPatterns(mixed, kHostilePatterns[(pick + 7) % kHostilePatterns.size()],
                      kHostilePatterns[pick],
                      kHostilePatterns[(pick * 5 + 3) % kHostilePatterns.size()]);
    Write(*extractor, mixed);

    // Settings are read at each write, never kept: the defaults come back.
    BANKWISE_FUZZ_CHECK(Write(*extractor, defaults) == first);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Run(data, size, false);
    Run(data, size, true);
    return 0;
}
