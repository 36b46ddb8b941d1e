// The Cubase, Rosegarden and MusE writers on what no family's dump gives:
// names that would break a format, banks and programs that MIDI cannot
// select, and the gzip file around the Rosegarden XML.
#include <gtest/gtest.h>

#include "CubaseWriter.h"
#include "Gzip.h"
#include "MuseWriter.h"
#include "RosegardenWriter.h"
#include "SequencerFiles.h"

namespace bankwise {
namespace {

using Strings = std::vector<std::string>;

CDefinition OneBank(std::int32_t number, std::vector<CPatchName> patches)
{
    CDefinition definition;
    definition.synthName = "Synth";
    definition.manufacturer = "Maker";
    definition.definitionName = "Synth";
    definition.banks.push_back({"Bank", number, std::move(patches), false});
    return definition;
}

std::string Cubase(const CDefinition& definition, Strings* messages = nullptr)
{
    std::string out;
    WriteCubaseText(definition, out, messages);
    return out;
}

std::string RosegardenXml(const CDefinition& definition, Strings* messages = nullptr)
{
    std::string file;
    WriteRosegardenFile(definition, file, messages);
    return test::Gunzip(file).value_or("not a gzip file");
}

std::string Muse(const CDefinition& definition, Strings* messages = nullptr)
{
    std::string out;
    WriteMuseText(definition, out, messages);
    return out;
}

// The dump's bytes as Cubase's script holds them and as an XML reader
// gives them back from both XML files (it gives nothing, or less, for a
// name that broke the document).
TEST(SequencerWriters, NamesThatWouldBreakAFormat)
{
    const struct
    {
        const char* prefix;
        const char* name;
        const char* script;  // after "[p2, 0, 0, 0]"
        const char* xml;     // UTF-8
    } cases[] = {
        {"", "[Lead]", "(Lead]", "[Lead]"},
        {"", "]x", ")x", "]x"},
        {"  ", "[x", "(x", "  [x"},
        {"", "a<b&c\"d>'", "a<b&c\"d>'", "a<b&c\"d>'"},
        {"", "t\x01\t\r\n\x7F", "t?????", "t?????"},
        {"", "Caf\xE9 \x85\xFF", "Caf\xE9 ?\xFF", "Caf\xC3\xA9 \xC2\x85\xC3\xBF"},
        {"", "", "0", "0"},
        {"  ", " ", "0", "0"},
        {"A1 ", "", "A1 ", "A1 "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CDefinition definition = OneBank(0, {{c.prefix, c.name}});
        EXPECT_NE(Cubase(definition).find(std::string("\r\n[p2, 0, 0, 0]") + c.script + "\r\n"),
                  std::string::npos)
            << Cubase(definition);
        const std::string rosegarden = RosegardenXml(definition);
        const std::string muse = Muse(definition);
        EXPECT_EQ(test::XmlAttributes(rosegarden, "program", "name"), Strings{c.xml});
        EXPECT_EQ(test::XmlAttributes(muse, "Patch", "name"), Strings{c.xml});
    }
}

// A bank that bank select cannot carry sends none in Cubase and MusE and
// has no place in a device file; programs stop at 127; an empty bank is no
// group.
TEST(SequencerWriters, WhatMidiCannotSelect)
{
    std::vector<CPatchName> many(130, CPatchName{"", "n"});
    CDefinition definition = OneBank(16384, many);
    definition.banks.push_back({"Minus", -1, {{"", "m"}}, false});
    definition.banks.push_back({"Top", 16383, {{"", "t"}}, false});
    definition.banks.push_back({"Empty", 3, {}, true});

    Strings messages;
    const std::string script = Cubase(definition, &messages);
    EXPECT_NE(script.find("\r\n[g1]Bank\r\n[p2, 0, -1, -1]n\r\n"), std::string::npos);
    EXPECT_NE(script.find("\r\n[p2, 127, -1, -1]n\r\n\r\n[g1]Minus\r\n[p2, 0, -1, -1]m\r\n"),
              std::string::npos);
    EXPECT_NE(script.find("\r\n[g1]Top\r\n[p2, 0, 127, 127]t\r\n\r\n[end]\r\n"), std::string::npos);
    const Strings beyond{"Left out 2 names of bank \"Bank\": program change reaches only 0 to 127"};
    EXPECT_EQ(messages, beyond);

    messages.clear();
    const std::string muse = Muse(definition, &messages);
    EXPECT_EQ(test::XmlAttributes(muse, "PatchGroup", "name"), (Strings{"Bank", "Minus", "Top"}));
    EXPECT_EQ(test::XmlAttributes(muse, "Patch", "prog").size(), 130u);
    EXPECT_EQ(test::XmlAttributes(muse, "Patch", "hbank").back(), "127");
    EXPECT_EQ(test::XmlAttributes(muse, "Patch", "hbank").front(), "");
    EXPECT_EQ(messages, beyond);

    messages.clear();
    const std::string rosegarden = RosegardenXml(definition, &messages);
    EXPECT_EQ(test::XmlAttributes(rosegarden, "bank", "name"), Strings{"Top"});
    EXPECT_EQ(test::XmlAttributes(rosegarden, "bank", "lsb"), Strings{"127"});
    EXPECT_EQ(messages, (Strings{"Left out bank \"Bank\": its number 16384 cannot be sent as "
                                 "bank select MSB and LSB",
                                 "Left out bank \"Minus\": its number -1 cannot be sent as "
                                 "bank select MSB and LSB"}));
}

// zlib reads the file back whole, across the 64 KiB a stored block can
// hold, and checks its CRC and length.
TEST(Gzip, StoredBlocksUnpackToTheData)
{
    for (const std::size_t size : {std::size_t{0}, std::size_t{65535}, std::size_t{65536}}) {
        SCOPED_TRACE(size);
        std::string data(size, '\0');
        for (std::size_t i = 0; i < size; ++i)
            data[i] = static_cast<char>(i * 7 % 251);
        std::string file = "kept";
        AppendGzipStored(data, file);
        EXPECT_EQ(file.substr(0, 4), "kept");
        EXPECT_EQ(test::Gunzip(std::string_view(file).substr(4)), data);
    }
}

}  // namespace
}  // namespace bankwise
