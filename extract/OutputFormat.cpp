#include "OutputFormat.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "SafeFormat.h"
#include "StringTable.h"

namespace bankwise {
namespace {

struct CFormatTexts
{
    EOutputFormat format;
    StringId extension;
    StringId filter;
};

constexpr std::array kFormats{
    CFormatTexts{EOutputFormat::Ins, IDS_INSTRUMENT_EXT, IDS_INSTRUMENT_FILTER},
    CFormatTexts{EOutputFormat::Midnam, IDS_MIDNAM_EXT, IDS_MIDNAM_FILTER},
    CFormatTexts{EOutputFormat::Reabank, IDS_REABANK_EXT, IDS_REABANK_FILTER},
};

const CFormatTexts* FindTexts(EOutputFormat format)
{
    const auto* it = std::find_if(kFormats.begin(), kFormats.end(),
                                  [format](const CFormatTexts& t) { return t.format == format; });
    return it != kFormats.end() ? it : nullptr;
}

// Bank select carries two 7-bit values, MSB and LSB.
constexpr std::int32_t kMaxBankNumber = 16383;
constexpr int kChannels = 16;

bool IsSelectable(std::int32_t bankNumber)
{
    return bankNumber >= 0 && bankNumber <= kMaxBankNumber;
}

bool HasNames(const CBankNames& bank)
{
    return std::any_of(bank.patches.begin(), bank.patches.end(),
                       [](const CPatchName& patch) { return !patch.name.empty(); });
}

// Dump names are single bytes; the synths' own character sets agree with
// Latin-1 wherever they go beyond ASCII at all.
std::string Utf8FromLatin1(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            out += '?';
        } else if (byte < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (byte >> 6));
            out += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return out;
}

// For element content and double-quoted attribute values alike.
std::string Xml(std::string_view text)
{
    std::string out;
    for (const char c : Utf8FromLatin1(text)) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string_view TrimBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The name under which the sequencer lists the device's mode and names.
std::string DeviceName(const CDefinition& definition)
{
    return definition.definitionName.empty() ? definition.synthName : definition.definitionName;
}

}  // namespace

bool WriteOutput(CDumpExtractor& extractor, EOutputFormat format, std::string& out,
                 std::vector<std::string>* messages)
{
    switch (format) {
    case EOutputFormat::Ins:
        extractor.WriteDefinition(out);
        return true;
    case EOutputFormat::Midnam:
        WriteMidnamText(extractor.MakeDefinition(), out);
        return true;
    case EOutputFormat::Reabank:
        WriteReabankText(extractor.MakeDefinition(), out, messages);
        return true;
    }
    return false;
}

std::string GetOutputExtension(EOutputFormat format)
{
    const CFormatTexts* texts = FindTexts(format);
    return texts != nullptr ? LoadString(texts->extension) : std::string();
}

std::string GetOutputFilter(EOutputFormat format)
{
    const CFormatTexts* texts = FindTexts(format);
    return texts != nullptr ? LoadString(texts->filter) : std::string();
}

std::optional<EOutputFormat> FindOutputFormat(std::string_view name)
{
    const auto lower = [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    for (const CFormatTexts& texts : kFormats) {
        const std::string extension = LoadString(texts.extension);
        const std::string_view known = std::string_view(extension).substr(1);  // after the dot
        if (std::equal(name.begin(), name.end(), known.begin(), known.end(),
                       [&lower](char a, char b) { return lower(a) == b; }))
            return texts.format;
    }
    return std::nullopt;
}

void WriteMidnamText(const CDefinition& definition, std::string& out)
{
    const std::string device = Xml(DeviceName(definition));
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE MIDINameDocument PUBLIC"
           " \"-//MIDI Manufacturers Association//DTD MIDINameDocument 1.0//EN\""
           " \"http://www.midi.org/dtds/MIDINameDocument10.dtd\">\n"
           "<MIDINameDocument>\n";
    out += "  <Author>" + Xml(LoadString(AFX_IDS_APP_TITLE)) + "</Author>\n";
    out += "  <MasterDeviceNames>\n";
    out += "    <Manufacturer>" + Xml(definition.manufacturer) + "</Manufacturer>\n";
    out += "    <Model>" + Xml(definition.synthName) + "</Model>\n";
    out += "    <CustomDeviceMode Name=\"" + device + "\">\n";
    out += "      <ChannelNameSetAssignments>\n";
    for (int channel = 1; channel <= kChannels; ++channel) {
        out += "        <ChannelNameSetAssign Channel=\"" + std::to_string(channel) +
               "\" NameSet=\"" + device + "\"/>\n";
    }
    out += "      </ChannelNameSetAssignments>\n";
    out += "    </CustomDeviceMode>\n";
    out += "    <ChannelNameSet Name=\"" + device + "\">\n";
    out += "      <AvailableForChannels>\n";
    for (int channel = 1; channel <= kChannels; ++channel) {
        out += "        <AvailableChannel Channel=\"" + std::to_string(channel) +
               "\" Available=\"true\"/>\n";
    }
    out += "      </AvailableForChannels>\n";
    for (const CBankNames& bank : definition.banks) {
        if (!HasNames(bank))
            continue;
        out += "      <PatchBank Name=\"" + Xml(bank.title) + "\">\n";
        // A number that bank select cannot carry would arrive wrapped and
        // select some other bank; better none than a wrong one.
        if (IsSelectable(bank.number)) {
            out += "        <MIDICommands>\n";
            out += "          <ControlChange Control=\"0\" Value=\"" +
                   std::to_string(bank.number / 128) + "\"/>\n";
            out += "          <ControlChange Control=\"32\" Value=\"" +
                   std::to_string(bank.number % 128) + "\"/>\n";
            out += "        </MIDICommands>\n";
        }
        out += "        <PatchNameList>\n";
        for (std::size_t slot = 0; slot < bank.patches.size(); ++slot) {
            const CPatchName& patch = bank.patches[slot];
            if (patch.name.empty())
                continue;
            const std::string_view prefix = TrimBlanks(patch.prefix);
            out += "          <Patch Number=\"" +
                   (prefix.empty() ? std::to_string(slot) : Xml(prefix)) + "\" Name=\"" +
                   Xml(patch.name) + "\" ProgramChange=\"" + std::to_string(slot) + "\"/>\n";
        }
        out += "        </PatchNameList>\n";
        out += "      </PatchBank>\n";
    }
    out += "    </ChannelNameSet>\n";
    out += "  </MasterDeviceNames>\n";
    out += "</MIDINameDocument>\n";
}

void WriteReabankText(const CDefinition& definition, std::string& out,
                      std::vector<std::string>* messages)
{
    out += "// " + Utf8FromLatin1(DeviceName(definition)) + "\n";
    for (const CBankNames& bank : definition.banks) {
        if (!HasNames(bank))
            continue;
        const std::string title = Utf8FromLatin1(bank.title);
        // The file has no way to name a bank without its MSB and LSB.
        if (!IsSelectable(bank.number)) {
            if (messages != nullptr) {
                messages->push_back(
                    SafeFormat(LoadString(IDS_BANK_NOT_SELECTABLE),
                               {FormatArg::Text(title), FormatArg::Int(bank.number)}));
            }
            continue;
        }
        out += "\nBank " + std::to_string(bank.number / 128) + ' ' +
               std::to_string(bank.number % 128) + ' ' + title + '\n';
        for (std::size_t slot = 0; slot < bank.patches.size(); ++slot) {
            const CPatchName& patch = bank.patches[slot];
            if (!patch.name.empty())
                out +=
                    std::to_string(slot) + ' ' + Utf8FromLatin1(patch.prefix + patch.name) + '\n';
        }
    }
}

}  // namespace bankwise
