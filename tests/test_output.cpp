// The MIDNAM and .reabank writers, read back with a real XML parser and
// checked against the .ins text of the same dump.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include "OrbitExtractor.h"
#include "OutputFormat.h"
#include "Profile.h"
#include "TestSupport.h"
#include "gen/KorgGen.h"
#include "gen/OrbitGen.h"
#include "gen/VirusGen.h"

namespace bankwise {
namespace {

namespace fs = std::filesystem;

// A bank as any of the three formats shows it; number is MSB * 128 + LSB,
// -1 without bank select.
struct Bank
{
    std::string title;
    int number = -1;
    std::vector<std::pair<int, std::string>> lines;  // program, text
    bool operator==(const Bank&) const = default;
};

void PrintTo(const Bank& bank, std::ostream* os)
{
    *os << bank.title << " #" << bank.number << " " << ::testing::PrintToString(bank.lines);
}

std::vector<std::string> SplitLines(const std::string& text, const std::string& end)
{
    std::vector<std::string> lines;
    for (std::size_t from = 0, at; (at = text.find(end, from)) != std::string::npos;
         from = at + end.size())
        lines.push_back(text.substr(from, at - from));
    return lines;
}

// The .ins sections in order, "slot=text" lines, numbered by the Patch lines.
std::vector<Bank> ReadIns(const std::string& text)
{
    std::vector<Bank> banks;
    bool definitions = false;
    for (const std::string& line : SplitLines(text, "\r\n")) {
        if (line == ".Instrument Definitions") {
            definitions = true;
        } else if (!definitions && line.starts_with('[')) {
            banks.push_back({line.substr(1, line.size() - 2), -1, {}});
        } else if (!definitions && !banks.empty() && line.find('=') != std::string::npos) {
            const auto eq = line.find('=');
            banks.back().lines.emplace_back(std::stoi(line.substr(0, eq)), line.substr(eq + 1));
        } else if (definitions && line.starts_with("Patch[")) {
            const auto close = line.find("]=");
            for (Bank& bank : banks) {
                if (bank.title == line.substr(close + 2))
                    bank.number = std::stoi(line.substr(6, close - 6));
            }
        }
    }
    return banks;
}

struct Midnam
{
    std::string error, doctype, manufacturer, model;
    std::vector<Bank> banks;         // lines hold "Number|Name"
    std::set<std::string> nameSets;  // assigned, and the one defined
    std::vector<int> assignedChannels, availableChannels;
};

Midnam ReadMidnam(const std::string& text)
{
    Midnam doc;
    QXmlStreamReader xml(QByteArray::fromStdString(text));
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isDTD())
            doc.doctype = xml.dtdName().toString().toStdString();
        if (!xml.isStartElement())
            continue;
        const auto attr = [&xml](const char* name) {
            return xml.attributes().value(QString::fromLatin1(name)).toString().toStdString();
        };
        const QStringView element = xml.name();
        if (element == u"ChannelNameSetAssign") {
            doc.assignedChannels.push_back(std::stoi(attr("Channel")));
            doc.nameSets.insert(attr("NameSet"));
        } else if (element == u"ChannelNameSet") {
            doc.nameSets.insert(attr("Name"));
        } else if (element == u"AvailableChannel" && attr("Available") == "true") {
            doc.availableChannels.push_back(std::stoi(attr("Channel")));
        } else if (element == u"Manufacturer") {
            doc.manufacturer = xml.readElementText().toStdString();
        } else if (element == u"Model") {
            doc.model = xml.readElementText().toStdString();
        } else if (element == u"PatchBank") {
            doc.banks.push_back({attr("Name"), -1, {}});
        } else if (element == u"ControlChange") {  // 0 the MSB, 32 the LSB
            const int value = std::stoi(attr("Value"));
            int& number = doc.banks.back().number;
            number = std::max(number, 0) + (attr("Control") == "0" ? value * 128 : value);
        } else if (element == u"Patch") {
            doc.banks.back().lines.emplace_back(std::stoi(attr("ProgramChange")),
                                                attr("Number") + "|" + attr("Name"));
        }
    }
    if (xml.hasError())
        doc.error = xml.errorString().toStdString();
    return doc;
}

std::vector<Bank> ReadReabank(const std::string& text)
{
    std::vector<Bank> banks;
    for (const std::string& line : SplitLines(text, "\n")) {
        std::istringstream in(line);
        int msb = 0, lsb = 0, program = 0;
        std::string name;  // after the one blank that ends the numbers
        if (line.starts_with("Bank ") && (in.ignore(5) >> msb >> lsb).get() == ' ' &&
            std::getline(in, name)) {
            banks.push_back({name, msb * 128 + lsb, {}});
        } else if (in >> program && in.get() == ' ' && std::getline(in, name)) {
            banks.back().lines.emplace_back(program, name);
        }
    }
    return banks;
}

struct Outputs
{
    std::string ins, midnam, reabank;
};

Outputs ConvertFile(const fs::path& path, IProfile& profile)
{
    std::ifstream in(path, std::ios::binary);
    const gen::Bytes bytes((std::istreambuf_iterator<char>(in)), {});
    CScopedAppProfile scope(profile);
    test::Conversion conversion = test::Convert(bytes, IsMidiFileName(path.string()));
    EXPECT_TRUE(conversion.ok);
    Outputs out{conversion.text, {}, {}};
    std::vector<std::string> messages;
    if (conversion.extractor) {
        WriteOutput(*conversion.extractor, EOutputFormat::Midnam, out.midnam, &messages);
        WriteOutput(*conversion.extractor, EOutputFormat::Reabank, out.reabank, &messages);
    }
    EXPECT_EQ(messages, std::vector<std::string>{});
    return out;
}

// Every shipped example: MIDNAM and .reabank hold exactly the banks, bank
// numbers and names of the .ins text. Without prefixes, an .ins line is the
// name alone and the MIDNAM number is the program's.
TEST(OtherFormats, HoldTheNamesAndBanksOfTheInsText)
{
    CMemoryProfile namesOnly;
    for (const char* synth : {"E-MU Orbit/Phatt/Caranaval", "Roland JV/XP", "Korg Prophecy",
                              "Korg TR-Rack", "Yamaha FS1R", "access Virus"}) {
        namesOnly.WriteProfileString(synth, "InstrFormat", "");
    }
    const std::vector<int> channels{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    std::set<std::string> models;
    for (const auto& entry : fs::directory_iterator(BANKWISE_EXAMPLES_DIR)) {
        SCOPED_TRACE(entry.path().filename().string());
        const Outputs out = ConvertFile(entry.path(), namesOnly);
        std::vector<Bank> expected;  // the .ins banks less the slots without a name
        for (Bank bank : ReadIns(out.ins)) {
            std::erase_if(bank.lines, [](const auto& line) { return line.second.empty(); });
            if (!bank.lines.empty())
                expected.push_back(std::move(bank));
        }
        ASSERT_FALSE(expected.empty());
        EXPECT_EQ(ReadReabank(out.reabank), expected);

        const Midnam doc = ReadMidnam(out.midnam);
        EXPECT_EQ(doc.error, "");
        EXPECT_EQ(doc.doctype, "MIDINameDocument");
        EXPECT_TRUE(out.ins.find("for " + doc.model + "\r\n") != std::string::npos) << doc.model;
        EXPECT_TRUE(doc.model.starts_with(doc.manufacturer + " "))
            << doc.manufacturer;  // "Korg TR-Rack"
        EXPECT_TRUE(out.reabank.starts_with("// " + doc.model + "\n")) << out.reabank;
        // One set of names, on every channel.
        EXPECT_EQ(doc.assignedChannels, channels);
        EXPECT_EQ(doc.availableChannels, channels);
        EXPECT_EQ(doc.nameSets, std::set<std::string>{doc.model});
        for (Bank& bank : expected) {
            for (auto& [program, name] : bank.lines)
                name = std::to_string(program) + "|" + name;
        }
        EXPECT_EQ(doc.banks, expected);
        models.insert(doc.model);
    }
    EXPECT_EQ(models.size(), 6u);
}

// Dump names are bytes: XML's own characters are escaped, bytes from 0x80
// are their Latin-1 characters in UTF-8, control bytes are '?' as in .ins.
TEST(OtherFormats, EscapeNamesTitlesAndSettings)
{
    constexpr const char* kOrbit = "E-MU Orbit/Phatt/Caranaval";
    CMemoryProfile profile;
    profile.WriteProfileString(kOrbit, "BankFormat", "R&D <%d>");
    profile.WriteProfileString(kOrbit, "Definition", "Mine \"x\"");
    profile.WriteProfileString(kOrbit, "InstrFormat", "");
    CScopedAppProfile scope(profile);
    COrbitExtractor orbit;
    orbit.m_banks[1] = {"A&B<C>\"D'", "Caf\xE9 \x80\xFF", "", std::string("c\x01\x7F\0t", 5)};

    std::string midnam, reabank;
    ASSERT_TRUE(WriteOutput(orbit, EOutputFormat::Midnam, midnam));
    ASSERT_TRUE(WriteOutput(orbit, EOutputFormat::Reabank, reabank));

    const Midnam doc = ReadMidnam(midnam);
    EXPECT_EQ(doc.error, "");
    const std::vector<Bank> expected{
        {"R&D <1>", 1, {{0, "0|A&B<C>\"D'"}, {1, "1|Caf\u00E9 \u0080\u00FF"}, {3, "3|c???t"}}}};
    EXPECT_EQ(doc.banks, expected);
    EXPECT_NE(midnam.find("<CustomDeviceMode Name=\"Mine &quot;x&quot;\">"), std::string::npos);
    EXPECT_EQ(reabank, "// Mine \"x\"\n"
                       "\n"
                       "Bank 0 1 R&D <1>\n"
                       "0 A&B<C>\"D'\n"
                       "1 Caf\xC3\xA9 \xC2\x80\xC3\xBF\n"
                       "3 c???t\n");
}

// Prefixes lose their blanks in MIDNAM (the program number stands in for
// one that is only blanks); a bank number that bank select cannot carry
// gives a MIDNAM bank without bank select, and no wrapped .reabank bank.
TEST(OtherFormats, PrefixesAndBanksBeyondBankSelect)
{
    CDefinition definition;
    definition.synthName = "Synth";
    definition.banks = {
        {"Top", 16383, {{"  ", "x"}, {" A1 ", "y"}, {"P", ""}}, false},
        {"Wide", 16384, {{"", "z"}}, false},
        {"Minus", -1, {{"", "w"}}, false},
        {"Unnamed", 5, {{"P", ""}}, true},
    };
    std::string midnam, reabank;
    WriteMidnamText(definition, midnam);
    std::vector<std::string> messages;
    WriteReabankText(definition, reabank, &messages);

    const Midnam doc = ReadMidnam(midnam);
    EXPECT_EQ(doc.error, "");
    EXPECT_EQ(doc.banks, (std::vector<Bank>{{"Top", 16383, {{0, "0|x"}, {1, "A1|y"}}},
                                            {"Wide", -1, {{0, "0|z"}}},
                                            {"Minus", -1, {{0, "0|w"}}}}));
    EXPECT_NE(midnam.find("<CustomDeviceMode Name=\"Synth\">"), std::string::npos);
    EXPECT_EQ(reabank, "// Synth\n\nBank 127 127 Top\n0   x\n1  A1 y\n");
    EXPECT_EQ(messages, (std::vector<std::string>{
                            "Left out bank \"Wide\": its number 16384 cannot be sent as bank "
                            "select MSB and LSB",
                            "Left out bank \"Minus\": its number -1 cannot be sent as bank "
                            "select MSB and LSB"}));
}

std::vector<std::string> Titles(const std::vector<Bank>& banks)
{
    std::vector<std::string> titles;
    for (const Bank& bank : banks)
        titles.push_back(bank.title);
    return titles;
}

// A bank pattern that a family cannot number or letter would give several
// banks one title, and readers would merge their lists: every later bank is
// told apart, alike in all three formats, and each Patch line names its own.
TEST(OtherFormats, BanksOfOneTitleAreToldApart)
{
    struct Case
    {
        const char* synth;
        const char* bankFormat;
        gen::Bytes dump;
        std::vector<std::string> titles;
    };
    const std::vector<Case> cases{
        {"E-MU Orbit/Phatt/Caranaval",
         "Bank %02d",
         gen::JoinMessages({gen::MakeOrbitPreset(0, "A"), gen::MakeOrbitPreset(128, "B"),
                            gen::MakeOrbitPreset(300, "C")}),
         {"Bank %02d", "Bank %02d (2)", "Bank %02d (3)"}},
        {"Korg Prophecy",
         "Bank",
         gen::MakeKorgProgramDump(gen::kProphecy, gen::kKorgBothBanks, {}),
         {"Bank", "Bank (2)"}},
        {"access Virus",
         "V %d",
         gen::JoinMessages({gen::MakeVirusMessage({.bank = 1, .name = "A"}),
                            gen::MakeVirusMessage({.bank = 3, .name = "C"}),
                            gen::MakeVirusMessage({.type = gen::kVirusMulti, .name = "M"})}),
         {"V %d", "V %d (2)", "V %d Multis"}},
        // Told apart already: nothing changes.
        {"access Virus",
         "V%c",
         gen::JoinMessages({gen::MakeVirusMessage({.bank = 1, .name = "A"}),
                            gen::MakeVirusMessage({.bank = 2, .name = "B"})}),
         {"VA", "VB"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.synth) + " / " + c.bankFormat);
        CMemoryProfile profile;
        profile.WriteProfileString(c.synth, "BankFormat", c.bankFormat);
        CScopedAppProfile scope(profile);
        test::Conversion conversion = test::Convert(c.dump);
        ASSERT_TRUE(conversion.ok);
        std::string midnam, reabank;
        WriteOutput(*conversion.extractor, EOutputFormat::Midnam, midnam);
        WriteOutput(*conversion.extractor, EOutputFormat::Reabank, reabank);
        const std::vector<Bank> ins = ReadIns(conversion.text);
        EXPECT_EQ(Titles(ins), c.titles);
        for (const Bank& bank : ins)
            EXPECT_NE(bank.number, -1) << bank.title;  // found by its Patch line
        EXPECT_EQ(Titles(ReadMidnam(midnam).banks), c.titles);
        EXPECT_EQ(Titles(ReadReabank(reabank)), c.titles);
    }
}

// A title made by numbering never takes one a bank already has, and titles
// that the files would show alike (control bytes become '?') count as one.
TEST(OtherFormats, NumberedTitlesStayClearOfOthers)
{
    const auto titlesAfter = [](std::vector<std::string> titles) {
        CDefinition definition;
        for (std::string& title : titles)
            definition.banks.push_back({std::move(title), 0, {}, false});
        MakeBankTitlesDistinct(definition);
        std::vector<std::string> result;
        for (const CBankNames& bank : definition.banks)
            result.push_back(bank.title);
        return result;
    };
    using T = std::vector<std::string>;
    EXPECT_EQ(titlesAfter({"T", "T", "T (2)", "T"}), (T{"T", "T (3)", "T (2)", "T (4)"}));
    EXPECT_EQ(titlesAfter({"T (2)", "T", "T"}), (T{"T (2)", "T", "T (3)"}));
    EXPECT_EQ(titlesAfter({"A\x01", "A\x02", "A?"}), (T{"A\x01", "A\x02 (2)", "A? (3)"}));
}

TEST(OtherFormats, NamesExtensionsAndFilters)
{
    struct Case
    {
        const char* name;
        EOutputFormat format;
        const char* extension;
        const char* filter;
    };
    for (const Case c :
         {Case{"ins", EOutputFormat::Ins, ".ins", "Instrument Files (*.ins)"},
          Case{"MIDNAM", EOutputFormat::Midnam, ".midnam", "MIDNAM Files (*.midnam)"},
          Case{"reaBank", EOutputFormat::Reabank, ".reabank", "REAPER Bank Files (*.reabank)"}}) {
        EXPECT_EQ(FindOutputFormat(c.name), c.format) << c.name;
        EXPECT_EQ(GetOutputExtension(c.format), c.extension);
        EXPECT_EQ(GetOutputFilter(c.format), c.filter);
    }
    for (const char* unknown : {"", "in", "inss", ".ins", "xml"})
        EXPECT_EQ(FindOutputFormat(unknown), std::nullopt) << unknown;

    COrbitExtractor orbit;
    std::string out = "kept";
    EXPECT_FALSE(WriteOutput(orbit, static_cast<EOutputFormat>(7), out));
    EXPECT_EQ(out, "kept");
    EXPECT_EQ(GetOutputExtension(static_cast<EOutputFormat>(7)), "");
}

}  // namespace
}  // namespace bankwise
