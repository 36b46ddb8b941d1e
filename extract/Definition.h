// What a dump's names become once the naming settings are applied, before
// any file format is chosen. Each family fills one from its name lists; the
// writers of the .ins, MIDNAM and .reabank formats only render it, so every
// format shows the same titles, bank numbers, prefixes and names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace bankwise {

// One slot of a bank: the prefix the patch pattern makes and the name from
// the dump. A slot the dump did not fill has an empty name.
struct CPatchName
{
    std::string prefix;
    std::string name;
};

struct CBankNames
{
    std::string title;                // heads the bank's list and names it in the definitions
    std::int32_t number = 0;          // bank select, MSB * 128 + LSB
    std::vector<CPatchName> patches;  // by slot within the bank
    // A bank without patches is normally left out of the list of names; a
    // family whose one bank is always listed sets this.
    bool listedWhenEmpty = false;
};

// One instrument definition of an .ins file: its name and the banks it
// selects, as indexes into CDefinition::banks.
struct CInstrumentDef
{
    std::string name;
    std::vector<std::size_t> banks;
};

// Every bank title of an output is in banks, and only there: instruments
// refer to banks by index, so a title changed in banks changes everywhere.
struct CDefinition
{
    std::string synthName;  // the family's display name
    std::string manufacturer;
    std::string definitionName;     // the "Definition" setting
    std::vector<CBankNames> banks;  // in the order they are written
    std::vector<CInstrumentDef> instruments;
};

}  // namespace bankwise
