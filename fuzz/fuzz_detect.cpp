// Fuzz target over detection, parsing and writing: each input is read as raw
// SysEx and as a MIDI file; any extractor that comes out (also after a failed
// parse) writes every format with the defaults, hostile patterns, the defaults.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ByteSource.h"
#include "Conversion.h"
#include "Detector.h"
#include "DumpExtractor.h"
#include "FuzzCheck.h"
#include "OutputFormat.h"
#include "Profile.h"
#include "StringTable.h"

namespace {

using namespace bankwise;

// Patterns a user could type into the options. None holds CR or LF, so the
// line structure checks below stay exact; everything else is fair game.
constexpr std::array<std::string_view, 9> kHostilePatterns{
    "%s%n%999999d%*d%c%x%-300.300d%%%",
    "%c%d%c%d%s%s%n%p%f%lld%hhd%#o%+ d",
    "%",
    "%99999999999999999999d%.99999999999999999999d",
    "",
    "  Bank %c",
    "\xff\x80%c%03d\x7f",
    "Patch[%d]=%s",
    "<&amp;\"%c>%d' ]]>"};

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsControl(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

// "<digits><separator>" at the start of the line, and no control byte.
bool IsNumbered(std::string_view line, std::string_view start, std::string_view separator)
{
    if (!line.starts_with(start))
        return false;
    std::size_t i = start.size();
    while (i < line.size() && IsDigit(line[i]))
        ++i;
    for (const char c : line)
        BANKWISE_FUZZ_CHECK(!IsControl(c));
    return i > start.size() && line.substr(i).starts_with(separator);
}

// The layout every family writes, every line ended by CR LF: a name or prefix
// must never break or smuggle bytes into the structure.
void CheckDefinitionText(std::string_view text, const std::string& synthName)
{
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find("\r\n", start);
        BANKWISE_FUZZ_CHECK(end != std::string_view::npos);  // last line ends in CR LF
        lines.push_back(text.substr(start, end - start));
        BANKWISE_FUZZ_CHECK(lines.back().find_first_of("\r\n") == std::string_view::npos);
        start = end + 2;
    }
    BANKWISE_FUZZ_CHECK(lines.size() >= 5);
    BANKWISE_FUZZ_CHECK(lines[0] == "; Cakewalk Instrument Definition File for " + synthName);
    BANKWISE_FUZZ_CHECK(lines[1].empty() && lines[2] == ".Patch Names");
    const auto heading = [](std::string_view line) {
        return line.size() >= 2 && line.front() == '[' && line.back() == ']';
    };
    std::size_t i = 3;
    for (; i < lines.size() && lines[i] != ".Instrument Definitions"; ++i) {
        BANKWISE_FUZZ_CHECK(lines[i].empty() || heading(lines[i]) || IsNumbered(lines[i], "", "="));
    }
    BANKWISE_FUZZ_CHECK(i < lines.size() && lines[i - 1].empty());
    for (++i; i < lines.size(); ++i) {
        BANKWISE_FUZZ_CHECK(lines[i].empty() || heading(lines[i]) ||
                            IsNumbered(lines[i], "Patch[", "]="));
    }
}

// UTF-8 of ASCII and Latin-1, no control byte but LF; in MIDNAM every '<' and
// '>' is markup and every '&' an entity; a .reabank has a comment, then empty
// lines, Bank and program lines only.
// xmlEnd: how an XML document ends; null for the .reabank text.
void CheckOtherFormat(std::string_view text, const char* xmlEnd)
{
    const bool midnam = xmlEnd != nullptr;
    BANKWISE_FUZZ_CHECK(text.starts_with(midnam ? "<?xml " : "// ") && text.ends_with("\n"));
    BANKWISE_FUZZ_CHECK(!midnam || text.ends_with(xmlEnd));
    std::size_t open = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const std::string_view rest = text.substr(i + 1);
        if (byte >= 0x80) {
            BANKWISE_FUZZ_CHECK((byte == 0xC2 || byte == 0xC3) && !rest.empty() &&
                                (static_cast<unsigned char>(rest[0]) & 0xC0) == 0x80);
            ++i;
        } else if (midnam) {
            BANKWISE_FUZZ_CHECK(text[i] != '<' || open++ == 0);
            BANKWISE_FUZZ_CHECK(text[i] != '>' || open-- == 1);
            BANKWISE_FUZZ_CHECK(text[i] != '&' || rest.starts_with("amp;") ||
                                rest.starts_with("lt;") || rest.starts_with("gt;") ||
                                rest.starts_with("quot;"));
        } else if (text[i] == '\n' && !rest.empty()) {
            BANKWISE_FUZZ_CHECK(rest[0] == '\n' || IsDigit(rest[0]) || rest.starts_with("Bank "));
        }
        BANKWISE_FUZZ_CHECK(text[i] == '\n' || !IsControl(text[i]));
    }
    BANKWISE_FUZZ_CHECK(open == 0);
}

// The same patterns in every entry of every family's section.
CMemoryProfile Patterns(std::string_view definition, std::string_view bank, std::string_view instr)
{
    CMemoryProfile profile;
    for (const CFamily& family : Families()) {
        const std::string section = LoadString(family.nameId);
        profile.WriteProfileString(section, kEntryDefinition, std::string(definition));
        profile.WriteProfileString(section, kEntryBankFormat, std::string(bank));
        profile.WriteProfileString(section, kEntryInstrFormat, std::string(instr));
    }
    return profile;
}

// Every line a command whose text cannot read as one, in CR LF lines.
void CheckCubaseScript(std::string_view text)
{
    BANKWISE_FUZZ_CHECK(text.starts_with("[cubase parse file]\r\n") &&
                        text.ends_with("\r\n[end]\r\n"));
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find("\r\n", at);
        BANKWISE_FUZZ_CHECK(end != std::string_view::npos);
        const std::string_view line = text.substr(at, end - at);
        at = end + 2;
        if (line.empty())
            continue;
        const std::size_t close = line.find(']');
        BANKWISE_FUZZ_CHECK(line[0] == '[' && close != std::string_view::npos);
        const std::string_view rest = line.substr(close + 1);
        BANKWISE_FUZZ_CHECK(!rest.starts_with(' ') && !rest.starts_with('[') &&
                            !rest.starts_with(']'));
        for (const char c : line)
            BANKWISE_FUZZ_CHECK(!IsControl(c));
    }
}

std::string Write(CDumpExtractor& extractor, const IProfile& profile)
{
    extractor.SetProfile(profile);
    std::string text, ins, midnam, reabank;
    extractor.WriteDefinition(text);
    CheckDefinitionText(text, extractor.GetSynthName());
    BANKWISE_FUZZ_CHECK(WriteOutput(extractor, EOutputFormat::Ins, ins) && ins == text);
    BANKWISE_FUZZ_CHECK(WriteOutput(extractor, EOutputFormat::Midnam, midnam));
    CheckOtherFormat(midnam, "</MIDINameDocument>\n");
    std::vector<std::string> messages;
    BANKWISE_FUZZ_CHECK(WriteOutput(extractor, EOutputFormat::Reabank, reabank, &messages));
    CheckOtherFormat(reabank, nullptr);
    BANKWISE_FUZZ_CHECK(messages.empty());  // every family's banks fit bank select
    // A dump may number more slots than program change reaches: the
    // writers then say so, and nothing else.
    std::string cubase, muse, rosegarden;
    BANKWISE_FUZZ_CHECK(WriteOutput(extractor, EOutputFormat::Cubase, cubase, &messages));
    CheckCubaseScript(cubase);
    BANKWISE_FUZZ_CHECK(WriteOutput(extractor, EOutputFormat::Muse, muse, &messages));
    CheckOtherFormat(muse, "</muse>\n");
    BANKWISE_FUZZ_CHECK(WriteOutput(extractor, EOutputFormat::Rosegarden, rosegarden, &messages));
    BANKWISE_FUZZ_CHECK(rosegarden.starts_with("\x1F\x8B\x08"));
    for (const std::string& message : messages)
        BANKWISE_FUZZ_CHECK(message.find("program change reaches only") != std::string::npos);
    return text;
}

void Run(const std::uint8_t* data, std::size_t size, bool midi)
{
    CMemoryProfile defaults;
    const CConversion conversion = ConvertDump({data, size}, midi, defaults);
    const std::unique_ptr<CDumpExtractor>& extractor = conversion.extractor;

    BANKWISE_FUZZ_CHECK(conversion.Succeeded() == DescribeError(conversion.error).empty());
    BANKWISE_FUZZ_CHECK(!conversion.Succeeded() || extractor != nullptr);
    if (size < 6)
        BANKWISE_FUZZ_CHECK(conversion.error == EConvertError::TooShort && !extractor);
    if (!extractor)
        return;

    const std::string first = Write(*extractor, defaults);
    // The worst pattern we know of everywhere, then a combination picked by
    // the input, so a corpus walks through all of them.
    CMemoryProfile worst = Patterns(kHostilePatterns[0], kHostilePatterns[0], kHostilePatterns[0]);
    Write(*extractor, worst);
    const std::size_t pick = size % kHostilePatterns.size();
    CMemoryProfile mixed =
        Patterns(kHostilePatterns[(pick + 7) % kHostilePatterns.size()], kHostilePatterns[pick],
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
