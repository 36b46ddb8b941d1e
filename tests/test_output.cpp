// The MIDNAM and .reabank writers on what no family's dump gives: prefixes
// that lose their blanks and bank numbers that bank select cannot carry.
// Whole texts of real dumps are golden files.
#include <gtest/gtest.h>

#include "OutputFormat.h"

namespace bankwise {
namespace {

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
    const std::size_t from = midnam.find("<PatchBank"), to = midnam.rfind("</PatchBank>");
    EXPECT_EQ(midnam.substr(from, to - from), R"(<PatchBank Name="Top">
        <MIDICommands>
          <ControlChange Control="0" Value="127"/>
          <ControlChange Control="32" Value="127"/>
        </MIDICommands>
        <PatchNameList>
          <Patch Number="0" Name="x" ProgramChange="0"/>
          <Patch Number="A1" Name="y" ProgramChange="1"/>
        </PatchNameList>
      </PatchBank>
      <PatchBank Name="Wide">
        <PatchNameList>
          <Patch Number="0" Name="z" ProgramChange="0"/>
        </PatchNameList>
      </PatchBank>
      <PatchBank Name="Minus">
        <PatchNameList>
          <Patch Number="0" Name="w" ProgramChange="0"/>
        </PatchNameList>
      )");
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
