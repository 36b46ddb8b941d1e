// What bankwise-convert writes, byte for byte as every golden file holds it
// (the layout is in tests/data/README.md); then the writers on what no
// family's dump gives.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "Converter.h"
#include "OutputFormat.h"
#include "SequencerFiles.h"
#include "TestSupport.h"

namespace bankwise {
namespace {

namespace fs = std::filesystem;

// XML as a reader outside ours finds it, a .rgd once gunzip has unpacked it.
void ExpectWellFormed(const std::string& text, const std::string& format)
{
    if (format == "midnam" || format == "idf") {
        EXPECT_EQ(test::XmlProblem(text), "");
    } else if (format == "rgd") {
        const auto xml = test::Gunzip(text);
        ASSERT_TRUE(xml) << "not a gzip file";
        EXPECT_EQ(test::XmlProblem(*xml), "");
    }
}

void ExpectConverterWrites(const fs::path& golden, const std::string& format)
{
    const std::string name = golden.stem().string();
    test::Strings args{"--no-settings", "--format", format};
    std::istringstream extra(test::ReadText(fs::path(golden).replace_extension(".args")));
    for (std::string arg; std::getline(extra, arg);)
        args.push_back(arg);
    const fs::path errors = fs::path(golden).replace_extension(".err");
    int dumps = 0;
    for (const char* kind : {".syx", ".mid"}) {
        const fs::path dump = golden.parent_path() / (name.substr(0, name.find('@')) + kind);
        if (!fs::exists(dump))
            continue;
        SCOPED_TRACE(dump.string() + " as " + golden.filename().string());
        ++dumps;
        std::ostringstream out, err;
        CMemoryProfile unused;
        args.push_back(dump.string());
        EXPECT_EQ(RunConverter(args, out, err, unused), kExitOk);
        args.pop_back();
        EXPECT_EQ(out.str(), test::ReadText(golden));
        ExpectWellFormed(out.str(), format);
        std::string shown = err.str();
        for (auto at = shown.find(dump.string()); at != std::string::npos;
             at = shown.find(dump.string(), at))
            shown.replace(at, dump.string().size(), dump.filename().string());
        // One .err serves the raw dump and the MIDI file alike.
        std::string expected = fs::exists(errors) ? test::ReadText(errors) : "";
        for (const char* other : {".syx", ".mid"}) {
            const std::string spelt = dump.stem().string() + other;
            for (auto at = expected.find(spelt); at != std::string::npos;
                 at = expected.find(spelt, at + 1))
                expected.replace(at, spelt.size(), dump.filename().string());
        }
        EXPECT_EQ(shown, expected);
    }
    EXPECT_GT(dumps, 0) << "no dump for " << golden;
}

// Looks for the files at run time, so a new one is compared without a rebuild.
TEST(Golden, ConverterWritesEveryGoldenFile)
{
    int files = 0;
    for (const char* root : {BANKWISE_EXAMPLES_DIR, BANKWISE_TEST_DATA_DIR}) {
        for (const auto& entry : fs::recursive_directory_iterator(root)) {
            // What no dump gives has tests of its own.
            if (entry.path().parent_path().filename() == "writers")
                continue;
            const std::string extension = entry.path().extension().string();
            const auto format = FindOutputFormat(extension.empty() ? "" : extension.substr(1));
            if (format) {
                ++files;
                ExpectConverterWrites(entry.path(), GetOutputExtension(*format).substr(1));
            }
        }
    }
    EXPECT_GE(files, 90);
}

// Prefixes lose their blanks in MIDNAM (the program number stands in for
// one that is only blanks); a bank number that bank select cannot carry
// gives a MIDNAM bank without bank select and no wrapped .reabank bank; a
// bank without names is left out.
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
    // The whole document, as a MIDNAM reader is given it.
    const fs::path expected =
        fs::path(BANKWISE_TEST_DATA_DIR) / "writers" / "beyond-bank-select.midnam.txt";
    EXPECT_EQ(midnam, test::ReadText(expected));
    EXPECT_EQ(reabank, "// Synth\n\nBank 127 127 Top\n0   x\n1  A1 y\n");
    EXPECT_EQ(messages, (std::vector<std::string>{
                            "Left out bank \"Wide\": its number 16384 cannot be sent as bank "
                            "select MSB and LSB",
                            "Left out bank \"Minus\": its number -1 cannot be sent as bank "
                            "select MSB and LSB"}));
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

}  // namespace
}  // namespace bankwise
