#include "StringTable.h"

#include <algorithm>
#include <array>
#include <utility>

// The toolchain line of the program-information box: the desktop program
// on Windows is the Win32 one.
#ifdef _WIN32
#define BANKWISE_TOOLKIT_LINE "Built with C++20 on the Win32 API\n"
#else
#define BANKWISE_TOOLKIT_LINE "Built with C++20 and Qt 6 Widgets\n"
#endif

namespace bankwise {
namespace {

struct Entry
{
    std::uint32_t id;
    const char* text;
};

// Sorted by id, so a lookup is a binary search.
constexpr std::array kTable{
    Entry{IDR_MAINFRAME,
          "Bankwise\n\nInstrument\nSysex File (*.syx; *.mid)\n.syx;.mid\nBankwise.Document\n"
          "Bankwise Document"},
    Entry{AFX_IDS_APP_TITLE, "Bankwise"},
    Entry{AFX_IDS_IDLEMESSAGE, "Ready"},
    Entry{ID_FILE_NEW, "Create a new document\nNew"},
    Entry{ID_FILE_OPEN, "Open an existing document\nOpen"},
    Entry{ID_FILE_SAVE, "Save the active document\nSave"},
    Entry{ID_FILE_SAVE_AS, "Save the active document with a new name\nSave As"},
    Entry{ID_FILE_PRINT_SETUP, "Change the printer and printing options\nPrint Setup"},
    Entry{ID_FILE_PRINT, "Print the active document\nPrint"},
    Entry{ID_FILE_PRINT_PREVIEW, "Display full pages\nPrint Preview"},
    Entry{ID_FILE_MRU_FILE1 + 0, "Open this document"},
    Entry{ID_FILE_MRU_FILE1 + 1, "Open this document"},
    Entry{ID_FILE_MRU_FILE1 + 2, "Open this document"},
    Entry{ID_FILE_MRU_FILE1 + 3, "Open this document"},
    Entry{ID_FILE_MRU_FILE1 + 4, "Open this document"},
    Entry{ID_FILE_MRU_FILE1 + 5, "Open this document"},
    Entry{ID_FILE_MRU_FILE1 + 6, "Open this document"},
    Entry{ID_FILE_MRU_FILE1 + 7, "Open this document"},
    Entry{ID_FILE_MRU_FILE1 + 8, "Open this document"},
    Entry{ID_FILE_MRU_FILE1 + 9, "Open this document"},
    Entry{ID_FILE_MRU_FILE1 + 10, "Open this document"},
    Entry{ID_FILE_MRU_FILE1 + 11, "Open this document"},
    Entry{ID_FILE_MRU_FILE1 + 12, "Open this document"},
    Entry{ID_FILE_MRU_FILE1 + 13, "Open this document"},
    Entry{ID_FILE_MRU_FILE1 + 14, "Open this document"},
    Entry{ID_FILE_MRU_FILE1 + 15, "Open this document"},
    Entry{ID_EDIT_COPY, "Copy the selection and put it on the Clipboard\nCopy"},
    Entry{ID_EDIT_CUT, "Cut the selection and put it on the Clipboard\nCut"},
    Entry{ID_EDIT_PASTE, "Insert Clipboard contents\nPaste"},
    Entry{ID_EDIT_UNDO, "Undo the last action\nUndo"},
    Entry{ID_APP_ABOUT, "Display program information, version number and copyright\nAbout"},
    Entry{ID_APP_EXIT, "Quit the application; prompts to save documents\nExit"},
    Entry{ID_NEXT_PANE, "Switch to the next window pane\nNext Pane"},
    Entry{ID_PREV_PANE, "Switch back to the previous window pane\nPrevious Pane"},
    Entry{ID_INDICATOR_CAPS, "CAP"},
    Entry{ID_INDICATOR_NUM, "NUM"},
    Entry{ID_INDICATOR_SCRL, "SCRL"},
    Entry{ID_VIEW_TOOLBAR, "Show or hide the toolbar\nToggle ToolBar"},
    Entry{ID_VIEW_STATUS_BAR, "Show or hide the status bar\nToggle StatusBar"},
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
    // UTF-8: the section marks are not plain ASCII.
    Entry{IDS_PROGRAM_INFO, "\xC2\xA7 Program Informations:\n" BANKWISE_TOOLKIT_LINE "\n"
                            "\xC2\xA7 Supported Synthesizers / Tone Modules:\n"
                            "%s"
                            "\n"
                            "\xC2\xA7 Program Version:\n"
                            "%s\n"
                            "\xC2\xA7 DLLs Version:\n"
                            "%s"},
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
    Entry{IDS_MAKER_KAWAI, "Kawai"},
    Entry{IDS_MAKER_WALDORF, "Waldorf"},
    Entry{IDS_MAKER_ENSONIQ, "Ensoniq"},
    Entry{IDS_TARGET_READ_ONLY, "The file is read-only"},
    Entry{IDS_TARGET_BLOCK_DEVICE, "The target is a block device"},
    Entry{IDS_DUMP_CUT_OFF, "the dump ends inside a message; names after that point are missing"},
    Entry{IDS_SETTINGS_IGNORED, "Settings file %s ignored (%s); the defaults apply"},
    Entry{IDS_SETTINGS_NOT_REGULAR, "not a regular file"},
    Entry{IDS_SETTINGS_TOO_LARGE, "larger than 1 MiB"},
    Entry{IDS_CLI_USAGE, "usage: bankwise-convert [-o FILE | -d DIR] [OPTIONS] DUMP... (--help)"},
    Entry{IDS_CLI_HELP,
          "usage: bankwise-convert [-o FILE | -d DIR] [OPTIONS] DUMP...\n"
          "Converts SysEx bulk dumps (raw .syx, or Standard MIDI Files .mid) into\n"
          "Cakewalk instrument definitions (.ins), MIDNAM documents (.midnam),\n"
          "REAPER bank files (.reabank), Cubase patch name scripts (.txt),\n"
          "Rosegarden device files (.rgd) or MusE instrument definitions (.idf).\n"
          "\n"
          "  -o, --output FILE      write the names of the one DUMP to FILE\n"
          "  -d, --output-dir DIR   write DIR/<name>.<FORMAT> for each DUMP\n"
          "                         (with neither, the one DUMP goes to standard output)\n"
          "  --format FORMAT        ins (the default), midnam, reabank, cubase, rgd\n"
          "                         or idf\n"
          "  --definition TEXT      name of the instrument definition\n"
          "  --bank-format TEXT     bank-name pattern, e.g. \"Bank %d\"\n"
          "  --instr-format TEXT    patch-name prefix pattern, e.g. \"%03d \"\n"
          "  --no-settings          ignore the stored settings, start from the defaults\n"
          "  -v, --verbose          say on standard error what each dump held\n"
          "  --help                 show this help\n"
          "  --version              show the version\n"
          "\n"
          "The naming settings are those stored by the Bankwise program, unless\n"
          "overridden here for this run. A value may also follow as --option=TEXT.\n"
          "\n"},
    Entry{IDS_CLI_UNKNOWN_OPTION, "bankwise-convert: unknown option %s"},
    Entry{IDS_CLI_MISSING_ARGUMENT, "bankwise-convert: option %s needs an argument"},
    Entry{IDS_CLI_NO_DUMP, "bankwise-convert: no dump given"},
    Entry{IDS_CLI_SEVERAL_DUMPS, "bankwise-convert: several dumps need -d DIR"},
    Entry{IDS_CLI_OUTPUT_CONFLICT, "bankwise-convert: -o and -d cannot be used together"},
    Entry{IDS_OUTPUT_IS_INPUT, "Skipped: %s is one of the dumps being converted!"},
    Entry{IDS_STANDARD_OUTPUT, "standard output"},
    Entry{IDS_CLI_UNKNOWN_FORMAT,
          "bankwise-convert: unknown format %s (ins, midnam, reabank, cubase, rgd or idf)"},
    Entry{IDS_LINK_OPEN_FAILED, "Unable to open hyperlink:\n\n"},
    Entry{IDS_LINK_OUT_OF_RESOURCES, "The operating system is out\nof memory or resources."},
    Entry{IDS_LINK_FILE_NOT_FOUND, "The specified file was not found."},
    Entry{IDS_LINK_PATH_NOT_FOUND, "The specified path was not found."},
    Entry{IDS_LINK_ACCESS_DENIED, "The operating system denied\naccess to the specified file."},
    Entry{IDS_LINK_OUT_OF_MEMORY, "There was not enough memory to complete the operation."},
    Entry{IDS_LINK_BAD_PROGRAM,
          "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
    Entry{IDS_LINK_SHARING_VIOLATION, "A sharing violation occurred. "},
    Entry{IDS_LINK_ASSOC_INCOMPLETE, "The filename association is\nincomplete or invalid."},
    Entry{IDS_LINK_DDE_TIMEOUT,
          "The DDE transaction could not\nbe completed because the request timed out."},
    Entry{IDS_LINK_DDE_FAILED, "The DDE transaction failed."},
    Entry{IDS_LINK_DDE_BUSY,
          "The DDE transaction could not\nbe completed because other DDE transactions\n"
          "were being processed."},
    Entry{IDS_LINK_NO_ASSOCIATION,
          "There is no application associated\nwith the given filename extension."},
    Entry{IDS_LINK_LIBRARY_NOT_FOUND, "The specified dynamic-link library was not found."},
    Entry{IDS_LINK_UNKNOWN_ERROR, "Unknown Error (%d) occurred."},
    Entry{IDS_ABOUT_CAPTION, "About Bankwise"},
    Entry{IDS_ABOUT_TITLE, "Bankwise v1.0"},
    Entry{IDS_ABOUT_NOTICE, "(C) The Bankwise Project"},
    Entry{IDS_ABOUT_MAIL_LABEL, "Email: "},
    Entry{IDS_ABOUT_WEB_LABEL, "Web: "},
    Entry{IDS_ABOUT_MAIL_ADDRESS, "bankwise@example.org"},
    Entry{IDS_ABOUT_WEB_ADDRESS, "https://example.org/"},
    Entry{IDS_ABOUT_MORE, "&More..."},
    Entry{IDS_ABOUT_OK, "OK"},
    Entry{IDS_INFO_PROGRAM_VERSION, "BANKWISE.EXE: %d.%d.%d.%d\n"},
    Entry{IDS_INFO_PROGRAM_UNKNOWN, "BANKWISE.EXE: Unknown"},
    Entry{IDS_INFO_LIBRARY_VERSION, "%s: %d.%d.%d.%d\n"},
    Entry{IDS_INFO_LIBRARY_UNKNOWN, "%s: Unknown\n"},
    Entry{IDS_INFO_LIBRARY_MISSING, "%s: Not installed\n"},
    Entry{IDS_SHELL_CANNOT_READ, "Cannot read %s:\n%s"},
    Entry{IDS_SHELL_CANNOT_SAVE, "Cannot save %s:\n%s\nThe file on disk was left as it was."},
    Entry{IDS_SHELL_NO_PRINTER, "No printer is installed, so nothing was printed."},
    Entry{IDS_SHELL_NO_SUCH_PRINTER, "There is no printer named %s, so nothing was printed."},
    Entry{IDS_SHELL_PRINT_FAILED, "Printing to %s failed."},
    Entry{IDS_SHELL_ASK_TO_SAVE, "Save changes to %s?"},
    Entry{IDS_SHELL_UNTITLED, "Untitled"},
    Entry{IDS_SHELL_ALL_FILES, "All Files (*)"},
    Entry{IDS_SHELL_OPEN_CAPTION, "Open"},
    Entry{IDS_SHELL_SAVE_CAPTION, "Save As"},
    Entry{IDS_SHELL_ARG_FILE, "Dump to open at start-up (.syx, or .mid)."},
    Entry{IDS_SHELL_ARG_PRINT, "Print FILE on the default printer and exit."},
    Entry{IDS_SHELL_ARG_PRINT_TO,
          "Print FILE on PRINTER and exit; a PRINTER ending in .pdf is a PDF file to write."},
    Entry{IDS_SHELL_USAGE_PRINT, "bankwise: --print and --print-to need the FILE to print."},
    Entry{ID_FILE_EXPORT,
          "Write the names of the loaded dump in another sequencer's format\nExport"},
    Entry{IDS_SHELL_EXPORT_CAPTION, "Export"},
    Entry{IDS_SHELL_EXPORT_NOTE,
          "Writes the loaded dump's names as the naming settings make them, not the edited text."},
    Entry{IDS_REGISTRY_IGNORED, "Registry value %s ignored (%s); its default applies"},
    Entry{IDS_REGISTRY_NOT_TEXT, "not a text"},
    Entry{IDS_REGISTRY_NOT_NUMBER, "not a 32-bit number"},
    Entry{IDS_REGISTRY_TOO_LONG, "longer than 32767 characters"},
    Entry{IDS_REGISTRY_NOT_LATIN1, "characters beyond Latin-1"},
    Entry{IDS_REGISTRY_KEY_UNREADABLE, "Registry key %s cannot be read (%s); its defaults apply"},
    // The file rules as each platform keeps them (see output/OutputFile.h).
    Entry{IDS_CLI_HELP_FILES,
          "An output replaces a file only once its whole text is ready, and the new\n"
          "file keeps the old one's permissions; a read-only file is refused. A file\n"
          "with several hard links is overwritten in place, so the links stay linked.\n"
          "A symbolic link is followed and the file it points to is replaced. A\n"
          "device, FIFO or terminal (-o /dev/stdout) is written to as it is.\n"},
    Entry{IDS_CLI_HELP_FILES_WINDOWS,
          "An output replaces a file only once its whole text is ready, and the new\n"
          "file keeps the old one's attributes and security; a read-only file is\n"
          "refused. A file with several hard links is overwritten in place, so the\n"
          "links stay linked. A symbolic link is followed and the file it points to\n"
          "is replaced. A device such as NUL, or a pipe, is written to as it is.\n"},
    Entry{IDS_CLI_HELP_EXIT,
          "Exit status: 0 all converted, 1 a dump or an output failed, 2 usage error.\n"},
    Entry{IDS_WIN_PREVIEW_PRINT, "&Print..."},
    Entry{IDS_WIN_PREVIEW_NEXT, "&Next Page"},
    Entry{IDS_WIN_PREVIEW_PREV, "Pre&v Page"},
    Entry{IDS_WIN_PREVIEW_TWO, "&Two Page"},
    Entry{IDS_WIN_PREVIEW_ONE, "&One Page"},
    Entry{IDS_WIN_PREVIEW_CLOSE, "&Close"},
    Entry{IDS_WIN_REGISTER_FAILED, "Bankwise could not register its file type (error %d)."},
    Entry{IDS_WIN_UNREGISTER_FAILED, "Bankwise could not remove its file type (error %d)."},
    Entry{IDS_WIN_USAGE_PRINT, "/p needs the FILE to print, and /pt the FILE and the PRINTER."},
    Entry{IDS_WIN_ALL_FILES, "All Files (*.*)"},
    Entry{IDS_DUMP_BAD_CHECKSUMS, "%d messages have a wrong checksum"},
    Entry{IDS_DUMP_BAD_CHECKSUM, "1 message has a wrong checksum"},
    Entry{IDS_CLI_FAMILIES, "\n"
                            "Dumps of these synthesizers are read; each keeps its naming settings\n"
                            "under its own name:\n"},
    Entry{IDS_SYNTH_M1, "Korg M1/03R/W"},
    Entry{IDS_SYNTH_D50, "Roland D-50"},
    Entry{IDS_SYNTH_K5000, "Kawai K5000"},
    Entry{IDS_SYNTH_BLOFELD, "Waldorf Blofeld"},
    Entry{IDS_SYNTH_MORPHEUS, "E-mu Morpheus/Proteus"},
    Entry{IDS_SYNTH_ENSONIQ, "Ensoniq VFX/ESQ-1"},
    Entry{IDS_PASSED_OVER, "%d messages of banks that are not listed were passed over"},
    Entry{IDS_READ_SUMMARY, "%s: %s"},
    Entry{IDS_READ_BANK, "%d bank"},
    Entry{IDS_READ_BANKS, "%d banks"},
    Entry{IDS_READ_NAME, "%d name"},
    Entry{IDS_READ_NAMES, "%d names"},
    Entry{IDS_READ_PRESET, "%d preset"},
    Entry{IDS_READ_PRESETS, "%d presets"},
    Entry{IDS_READ_PATCH, "%d patch"},
    Entry{IDS_READ_PATCHES, "%d patches"},
    Entry{IDS_READ_PERFORMANCE, "%d performance"},
    Entry{IDS_READ_PERFORMANCES, "%d performances"},
    Entry{IDS_READ_RHYTHM_SET, "%d rhythm set"},
    Entry{IDS_READ_RHYTHM_SETS, "%d rhythm sets"},
    Entry{IDS_READ_PROGRAM, "%d program"},
    Entry{IDS_READ_PROGRAMS, "%d programs"},
    Entry{IDS_READ_SINGLE, "%d single"},
    Entry{IDS_READ_SINGLES, "%d singles"},
    Entry{IDS_READ_MULTI, "%d multi"},
    Entry{IDS_READ_MULTIS, "%d multis"},
    Entry{IDS_SHELL_USAGE_ONE_FILE, "bankwise: one FILE at most is opened; %d were given."},
    Entry{IDS_CUBASE_FILTER, "Cubase Patch Name Scripts (*.txt)"},
    Entry{IDS_CUBASE_EXT, ".txt"},
    Entry{IDS_RGD_FILTER, "Rosegarden Device Files (*.rgd)"},
    Entry{IDS_RGD_EXT, ".rgd"},
    Entry{IDS_IDF_FILTER, "MusE Instrument Definitions (*.idf)"},
    Entry{IDS_IDF_EXT, ".idf"},
    Entry{IDS_PROGRAMS_BEYOND_REACH,
          "Left out %d names of bank \"%s\": program change reaches only 0 to 127"},
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
