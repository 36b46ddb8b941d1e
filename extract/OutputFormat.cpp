#include "OutputFormat.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "CubaseWriter.h"
#include "MuseWriter.h"
#include "OutputText.h"
#include "RosegardenWriter.h"
#include "StringTable.h"

namespace bankwise {
namespace {

struct CFormatTexts
{
    EOutputFormat format;
    const char* name;  // for --format and the stored choice of Export
    StringId extension;
    StringId filter;
};

constexpr std::array kFormats{
    CFormatTexts{EOutputFormat::Ins, "ins", IDS_INSTRUMENT_EXT, IDS_INSTRUMENT_FILTER},
    CFormatTexts{EOutputFormat::Midnam, "midnam", IDS_MIDNAM_EXT, IDS_MIDNAM_FILTER},
    CFormatTexts{EOutputFormat::Reabank, "reabank", IDS_REABANK_EXT, IDS_REABANK_FILTER},
    CFormatTexts{EOutputFormat::Cubase, "cubase", IDS_CUBASE_EXT, IDS_CUBASE_FILTER},
    CFormatTexts{EOutputFormat::Rosegarden, "rgd", IDS_RGD_EXT, IDS_RGD_FILTER},
    CFormatTexts{EOutputFormat::Muse, "idf", IDS_IDF_EXT, IDS_IDF_FILTER},
};

const CFormatTexts* FindTexts(EOutputFormat format)
{
    const auto* it = std::find_if(kFormats.begin(), kFormats.end(),
                                  [format](const CFormatTexts& t) { return t.format == format; });
    return it != kFormats.end() ? it : nullptr;
}

constexpr int kChannels = 16;

std::string_view TrimBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
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
    case EOutputFormat::Cubase:
        WriteCubaseText(extractor.MakeDefinition(), out, messages);
        return true;
    case EOutputFormat::Rosegarden:
        WriteRosegardenFile(extractor.MakeDefinition(), out, messages);
        return true;
    case EOutputFormat::Muse:
        WriteMuseText(extractor.MakeDefinition(), out, messages);
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
    const auto same = [&lower](std::string_view typed, std::string_view known) {
        return std::equal(typed.begin(), typed.end(), known.begin(), known.end(),
                          [&lower](char a, char b) { return lower(a) == b; });
    };
    for (const CFormatTexts& texts : kFormats) {
        const std::string extension = LoadString(texts.extension);
        if (same(name, texts.name) || same(name, std::string_view(extension).substr(1)))
            return texts.format;
    }
    return std::nullopt;
}

void WriteMidnamText(const CDefinition& definition, std::string& out)
{
    const std::string device = XmlText(DeviceName(definition));
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE MIDINameDocument PUBLIC"
           " \"-//MIDI Manufacturers Association//DTD MIDINameDocument 1.0//EN\""
           " \"http://www.midi.org/dtds/MIDINameDocument10.dtd\">\n"
           "<MIDINameDocument>\n";
    out += "  <Author>" + XmlText(LoadString(AFX_IDS_APP_TITLE)) + "</Author>\n";
    out += "  <MasterDeviceNames>\n";
    out += "    <Manufacturer>" + XmlText(definition.manufacturer) + "</Manufacturer>\n";
    out += "    <Model>" + XmlText(definition.synthName) + "</Model>\n";
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
        out += "      <PatchBank Name=\"" + XmlText(bank.title) + "\">\n";
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
                   (prefix.empty() ? std::to_string(slot) : XmlText(prefix)) + "\" Name=\"" +
                   XmlText(patch.name) + "\" ProgramChange=\"" + std::to_string(slot) + "\"/>\n";
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
        // The file has no way to name a bank without its MSB and LSB.
        if (!IsSelectable(bank.number)) {
            NoteBankNotSelectable(bank, messages);
            continue;
        }
        const std::string title = Utf8FromLatin1(bank.title);
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
