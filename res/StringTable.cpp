#include "StringTable.h"

#include <algorithm>
#include <array>
#include <utility>

namespace bankwise {
namespace {

struct Entry {
    std::uint32_t id;
    const char* text;
};

// Sorted by id, so a lookup is a binary search.
constexpr std::array kTable{
    Entry{AFX_IDS_APP_TITLE, "Bankwise"},
    Entry{IDS_INSTRUMENT_FILTER, "Instrument Files (*.ins)"},
    Entry{IDS_INSTRUMENT_EXT, ".ins"},
    Entry{IDS_OPTIONS_PREVIEW,
          ".Patch Names\n[%s]\n0=%sXXX\n1=%sYYY\n...\n.Instrument Definitions\n[%s]\nPatch[%d]=%s"},
    Entry{IDS_REGISTRY_COMPANY, "Orvane"},
    Entry{IDS_MODIFICATIONS_LOST, "Modifications will be lost, OK ?"},
    Entry{IDS_SYNTH_ORBIT, "E-MU Orbit/Phatt/Caranaval"},
    Entry{IDS_SYNTH_JVXP, "Roland JV/XP"},
    Entry{IDS_SYNTH_PROPHECY, "Korg Prophecy"},
    Entry{IDS_INS_HEADER, "; Cakewalk Instrument Definition File for %s%s"},
    Entry{IDS_INS_PATCH_NAMES, "%s.Patch Names%s"},
    Entry{IDS_INS_DEFINITIONS, "%s.Instrument Definitions%s"},
    Entry{IDS_UNKNOWN_FORMAT, "Unknown file format!"},
    Entry{IDS_UNKNOWN_DATA, "File contains unknown data!"},
    Entry{IDS_INVALID_DATA, "File contains invalid data!"},
    Entry{IDS_NO_USEFUL_DATA, "No useful data found in this file!"},
    Entry{IDS_SYNTH_VIRUS, "access Virus"},
    Entry{IDS_SYNTH_FS1R, "Yamaha FS1R"},
    Entry{IDS_SYNTH_TRRACK, "Korg TR-Rack"},
    Entry{IDS_FILE_TOO_SHORT, "File is too short to hold a dump!"},
    Entry{IDS_OUT_OF_MEMORY, "Not enough memory to read this file!"},
    Entry{IDS_CANNOT_OPEN, "Cannot open the file: %s"},
    Entry{IDS_CANNOT_WRITE, "Cannot write %s: %s"},
    Entry{IDS_READ_ERROR, "The file could not be read completely!"},
    Entry{IDS_SAME_OUTPUT, "Skipped: %s was already written by this run!"},
    Entry{IDS_MIDNAM_FILTER, "MIDNAM Files (*.midnam)"},
    Entry{IDS_MIDNAM_EXT, ".midnam"},
    Entry{IDS_REABANK_FILTER, "REAPER Bank Files (*.reabank)"},
    Entry{IDS_REABANK_EXT, ".reabank"},
    Entry{IDS_BANK_NOT_SELECTABLE,
          "Left out bank \"%s\": its number %d cannot be sent as bank select MSB and LSB"},
    Entry{IDS_MAKER_EMU, "E-MU"},
    Entry{IDS_MAKER_ROLAND, "Roland"},
    Entry{IDS_MAKER_KORG, "Korg"},
    Entry{IDS_MAKER_YAMAHA, "Yamaha"},
    Entry{IDS_MAKER_ACCESS, "access"},
    Entry{IDS_CLI_USAGE, "usage: bankwise-convert [-o FILE | -d DIR] [OPTIONS] DUMP... (--help)"},
    Entry{IDS_CLI_HELP,
          "usage: bankwise-convert [-o FILE | -d DIR] [OPTIONS] DUMP...\n"
          "Converts SysEx bulk dumps (raw .syx, or Standard MIDI Files .mid) into\n"
          "Cakewalk instrument definitions (.ins), MIDNAM documents (.midnam) or\n"
          "REAPER bank files (.reabank).\n"
          "\n"
          "  -o, --output FILE      write the names of the one DUMP to FILE\n"
          "  -d, --output-dir DIR   write DIR/<name>.<FORMAT> for each DUMP\n"
          "                         (with neither, the one DUMP goes to standard output)\n"
          "  --format FORMAT        ins (the default), midnam or reabank\n"
          "  --definition TEXT      name of the instrument definition\n"
          "  --bank-format TEXT     bank-name pattern, e.g. \"Bank %d\"\n"
          "  --instr-format TEXT    patch-name prefix pattern, e.g. \"%03d \"\n"
          "  --no-settings          ignore the stored settings, start from the defaults\n"
          "  --help                 show this help\n"
          "  --version              show the version\n"
          "\n"
          "The naming settings are those stored by the Bankwise program, unless\n"
          "overridden here for this run. A value may also follow as --option=TEXT.\n"
          "Exit status: 0 all converted, 1 a dump or an output failed, 2 usage error.\n"},
    Entry{IDS_CLI_UNKNOWN_OPTION, "bankwise-convert: unknown option %s"},
    Entry{IDS_CLI_MISSING_ARGUMENT, "bankwise-convert: option %s needs an argument"},
    Entry{IDS_CLI_NO_DUMP, "bankwise-convert: no dump given"},
    Entry{IDS_CLI_SEVERAL_DUMPS, "bankwise-convert: several dumps need -d DIR"},
    Entry{IDS_CLI_OUTPUT_CONFLICT, "bankwise-convert: -o and -d cannot be used together"},
    Entry{IDS_OUTPUT_IS_INPUT, "Skipped: %s is one of the dumps being converted!"},
    Entry{IDS_STANDARD_OUTPUT, "standard output"},
    Entry{IDS_CLI_UNKNOWN_FORMAT,
          "bankwise-convert: unknown format %s (ins, midnam or reabank)"},
};

static_assert(std::is_sorted(kTable.begin(), kTable.end(),
                             [](const Entry& a, const Entry& b) { return a.id < b.id; }));

}  // namespace

std::string LoadString(std::uint32_t id)
{
    const auto* it = std::lower_bound(kTable.begin(), kTable.end(), id,
                                      [](const Entry& e, std::uint32_t v) { return e.id < v; });
    if (it == kTable.end() || it->id != id)
        return {};
    return it->text;
}

}  // namespace bankwise
