// The golden XML files read back by an outside XML reader; then the
// writers on what no family's dump gives.
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

// The golden XML files (a .rgd once gunzip has unpacked it) as a reader
// outside ours finds them; the golden-file driver shows the converter
// writes them byte for byte.
TEST(Golden, XmlFilesAreWellFormed)
{
    int files = 0;
    for (const char* root : {BANKWISE_EXAMPLES_DIR, BANKWISE_TEST_DATA_DIR}) {
        for (const auto& entry : fs::recursive_directory_iterator(root)) {
            const std::string extension = entry.path().extension().string();
            if (extension != ".midnam" && extension != ".idf" && extension != ".rgd")
                continue;
            SCOPED_TRACE(entry.path().string());
            ++files;
            const std::string text = test::ReadText(entry.path());
            if (extension == ".rgd") {
                const auto xml = test::Gunzip(text);
                ASSERT_TRUE(xml) << "not a gzip file";
                EXPECT_EQ(test::XmlProblem(*xml), "");
            } else {
                EXPECT_EQ(test::XmlProblem(text), "");
            }
        }
    }
    EXPECT_GE(files, 20);
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
