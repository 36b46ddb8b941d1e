// Numbered texts shared by the conversion core, the desktop program and the
// command-line converter. Every user-visible message is looked up here by id.
#pragma once

#include <cstdint>
#include <string>

namespace bankwise {

enum StringId : std::uint32_t {
    IDR_MAINFRAME = 128,          // document strings, fields split by '\n'
    AFX_IDS_APP_TITLE = 57344,    // "Bankwise"
    AFX_IDS_IDLEMESSAGE = 57345,  // status bar when no prompt shows

    // Command prompts, keyed by the command's id: "status-bar prompt\ntool tip".
    ID_FILE_NEW = 0xE100,
    ID_FILE_OPEN = 0xE101,
    ID_FILE_SAVE = 0xE103,
    ID_FILE_SAVE_AS = 0xE104,
    ID_FILE_PRINT_SETUP = 0xE106,
    ID_FILE_PRINT = 0xE107,
    ID_FILE_PRINT_DIRECT = 0xE108,  // no prompt: the command line's print switch
    ID_FILE_PRINT_PREVIEW = 0xE109,
    ID_FILE_MRU_FILE1 = 0xE110,  // to 0xE11F, one prompt each
    ID_EDIT_COPY = 0xE122,
    ID_EDIT_CUT = 0xE123,
    ID_EDIT_PASTE = 0xE125,
    ID_EDIT_UNDO = 0xE12B,
    ID_APP_ABOUT = 0xE140,
    ID_APP_EXIT = 0xE141,
    ID_NEXT_PANE = 0xE150,
    ID_PREV_PANE = 0xE151,
    ID_INDICATOR_CAPS = 0xE701,  // "CAP"
    ID_INDICATOR_NUM = 0xE702,   // "NUM"
    ID_INDICATOR_SCRL = 0xE703,  // "SCRL"
    ID_VIEW_TOOLBAR = 0xE800,
    ID_VIEW_STATUS_BAR = 0xE801,

    IDS_INSTRUMENT_FILTER = 61446,  // save-mode filter name
    IDS_INSTRUMENT_EXT = 61447,     // save-mode default extension
    IDS_OPTIONS_PREVIEW = 61448,    // options dialog preview template
    IDS_REGISTRY_COMPANY = 61449,   // settings organisation
    IDS_MODIFICATIONS_LOST = 61450,
    IDS_SYNTH_ORBIT = 61451,
    IDS_SYNTH_JVXP = 61452,
    IDS_SYNTH_PROPHECY = 61453,
    IDS_INS_HEADER = 61454,
    IDS_INS_PATCH_NAMES = 61455,
    IDS_INS_DEFINITIONS = 61456,
    IDS_UNKNOWN_FORMAT = 61457,
    IDS_UNKNOWN_DATA = 61458,
    IDS_INVALID_DATA = 61459,
    IDS_NO_USEFUL_DATA = 61460,
    IDS_SYNTH_VIRUS = 61461,
    IDS_SYNTH_FS1R = 61462,
    IDS_PROGRAM_INFO = 61463,  // "%s" = family names, a line each (FamilyNameLines),
                               // "%s" = program version line, "%s" = library lines
    IDS_SYNTH_TRRACK = 61464,

    // Texts of our own, outside the range the desktop resources use.
    IDS_FILE_TOO_SHORT = 62001,
    IDS_OUT_OF_MEMORY = 62002,
    IDS_CANNOT_OPEN = 62003,   // "%s" = system reason
    IDS_CANNOT_WRITE = 62004,  // "%s" = output path, "%s" = reason
    IDS_READ_ERROR = 62005,
    IDS_SAME_OUTPUT = 62006,  // "%s" = output path

    // Other sequencers' file formats.
    IDS_MIDNAM_FILTER = 62010,
    IDS_MIDNAM_EXT = 62011,
    IDS_REABANK_FILTER = 62012,
    IDS_REABANK_EXT = 62013,
    IDS_BANK_NOT_SELECTABLE = 62014,  // "%s" = bank title, "%d" = its number

    // Makers, as other sequencers file their devices.
    IDS_MAKER_EMU = 62020,
    IDS_MAKER_ROLAND = 62021,
    IDS_MAKER_KORG = 62022,
    IDS_MAKER_YAMAHA = 62023,
    IDS_MAKER_ACCESS = 62024,
    IDS_MAKER_KAWAI = 62025,
    IDS_MAKER_WALDORF = 62030,
    IDS_MAKER_ENSONIQ = 62031,

    // Output targets, for the converter and the desktop program alike.
    IDS_TARGET_READ_ONLY = 62050,  // reasons in IDS_CANNOT_WRITE
    IDS_TARGET_BLOCK_DEVICE = 62051,

    // A dump whose extractor set m_bCutOff: a warning, the names still stand.
    IDS_DUMP_CUT_OFF = 62052,

    // The settings store, for the converter and the desktop program alike.
    IDS_SETTINGS_IGNORED = 62055,  // "%s" = settings file, "%s" = why
    IDS_SETTINGS_NOT_REGULAR = 62056,
    IDS_SETTINGS_TOO_LARGE = 62057,

    // The command-line converter.
    IDS_CLI_USAGE = 62100,
    IDS_CLI_HELP = 62101,
    IDS_CLI_UNKNOWN_OPTION = 62102,    // "%s" = the option
    IDS_CLI_MISSING_ARGUMENT = 62103,  // "%s" = the option
    IDS_CLI_NO_DUMP = 62104,
    IDS_CLI_SEVERAL_DUMPS = 62105,
    IDS_CLI_OUTPUT_CONFLICT = 62106,
    IDS_OUTPUT_IS_INPUT = 62107,     // "%s" = output path
    IDS_STANDARD_OUTPUT = 62108,     // the output's name in IDS_CANNOT_WRITE
    IDS_CLI_UNKNOWN_FORMAT = 62110,  // "%s" = the format asked for

    // The About box and its link labels.
    IDS_LINK_OPEN_FAILED = 62200,        // put in front of every IDS_LINK_ text
    IDS_LINK_OUT_OF_RESOURCES = 62201,   // error code 0
    IDS_LINK_FILE_NOT_FOUND = 62202,     // 2
    IDS_LINK_PATH_NOT_FOUND = 62203,     // 3
    IDS_LINK_ACCESS_DENIED = 62204,      // 5
    IDS_LINK_OUT_OF_MEMORY = 62205,      // 8
    IDS_LINK_BAD_PROGRAM = 62206,        // 11
    IDS_LINK_SHARING_VIOLATION = 62207,  // 26
    IDS_LINK_ASSOC_INCOMPLETE = 62208,   // 27
    IDS_LINK_DDE_TIMEOUT = 62209,        // 28
    IDS_LINK_DDE_FAILED = 62210,         // 29
    IDS_LINK_DDE_BUSY = 62211,           // 30
    IDS_LINK_NO_ASSOCIATION = 62212,     // 31
    IDS_LINK_LIBRARY_NOT_FOUND = 62213,  // 32
    IDS_LINK_UNKNOWN_ERROR = 62214,      // "%d" = any other code
    IDS_ABOUT_CAPTION = 62220,
    IDS_ABOUT_TITLE = 62221,
    IDS_ABOUT_NOTICE = 62222,
    IDS_ABOUT_MAIL_LABEL = 62223,  // shown in front of the mail address
    IDS_ABOUT_WEB_LABEL = 62224,   // shown in front of the web address
    IDS_ABOUT_MAIL_ADDRESS = 62225,
    IDS_ABOUT_WEB_ADDRESS = 62226,
    IDS_ABOUT_MORE = 62227,
    IDS_ABOUT_OK = 62228,
    IDS_INFO_PROGRAM_VERSION = 62240,  // four "%d" = the program's version numbers
    IDS_INFO_PROGRAM_UNKNOWN = 62241,
    IDS_INFO_LIBRARY_VERSION = 62242,  // "%s" = library, four "%d" = its version numbers
    IDS_INFO_LIBRARY_UNKNOWN = 62243,  // "%s" = library
    IDS_INFO_LIBRARY_MISSING = 62244,  // "%s" = library

    // The desktop program.
    IDS_SHELL_CANNOT_READ = 62300,  // "%s" = dump path, "%s" = reason
    IDS_SHELL_CANNOT_SAVE = 62301,  // "%s" = target path, "%s" = reason
    IDS_SHELL_NO_PRINTER = 62302,
    IDS_SHELL_NO_SUCH_PRINTER = 62303,  // "%s" = printer name
    IDS_SHELL_PRINT_FAILED = 62304,     // "%s" = printer or PDF file
    IDS_SHELL_ASK_TO_SAVE = 62305,      // "%s" = document title
    IDS_SHELL_UNTITLED = 62306,
    IDS_SHELL_ALL_FILES = 62307,
    IDS_SHELL_OPEN_CAPTION = 62308,
    IDS_SHELL_SAVE_CAPTION = 62309,
    IDS_SHELL_ARG_FILE = 62310,  // command-line help texts
    IDS_SHELL_ARG_PRINT = 62311,
    IDS_SHELL_ARG_PRINT_TO = 62312,
    IDS_SHELL_USAGE_PRINT = 62313,

    // File > Export: the command (its prompt keyed by its id, as above) and its dialog.
    ID_FILE_EXPORT = 62320,
    IDS_SHELL_EXPORT_CAPTION = 62321,
    IDS_SHELL_EXPORT_NOTE = 62322,

    // The registry store on Windows.
    IDS_REGISTRY_IGNORED = 62330,  // "%s" = the value's full key name, "%s" = why
    IDS_REGISTRY_NOT_TEXT = 62331,
    IDS_REGISTRY_NOT_NUMBER = 62332,
    IDS_REGISTRY_TOO_LONG = 62333,
    IDS_REGISTRY_NOT_LATIN1 = 62334,
    IDS_REGISTRY_KEY_UNREADABLE = 62335,  // "%s" = the key's full name, "%s" = why
    IDS_CLI_HELP_FILES = 62336,           // the converter's file rules on POSIX
    IDS_CLI_HELP_FILES_WINDOWS = 62337,   // and on Windows
    IDS_CLI_HELP_EXIT = 62338,

    // The Windows desktop program.
    IDS_WIN_PREVIEW_PRINT = 62400,  // the print preview's buttons
    IDS_WIN_PREVIEW_NEXT = 62401,
    IDS_WIN_PREVIEW_PREV = 62402,
    IDS_WIN_PREVIEW_TWO = 62403,
    IDS_WIN_PREVIEW_ONE = 62404,
    IDS_WIN_PREVIEW_CLOSE = 62405,
    IDS_WIN_REGISTER_FAILED = 62406,    // "%d" = the registry's error code
    IDS_WIN_UNREGISTER_FAILED = 62407,  // "%d" = the registry's error code
    IDS_WIN_USAGE_PRINT = 62408,
    IDS_WIN_ALL_FILES = 62409,

    // Notes after an open that read names, and the families the converter lists.
    IDS_DUMP_BAD_CHECKSUMS = 62500,  // "%d" = how many messages, more than one
    IDS_DUMP_BAD_CHECKSUM = 62501,   // the same for one message
    IDS_CLI_FAMILIES = 62502,        // followed by the family names, a line each

    // Display names of the Korg M1/03R/W, Roland D-50 and Kawai K5000 families.
    IDS_SYNTH_M1 = 62510,
    IDS_SYNTH_D50 = 62511,
    IDS_SYNTH_K5000 = 62512,

    // Display names of the Waldorf, E-mu Morpheus/Proteus and Ensoniq families.
    IDS_SYNTH_BLOFELD = 62550,
    IDS_SYNTH_MORPHEUS = 62551,
    IDS_SYNTH_ENSONIQ = 62552,

    // What a dump held, after an open: "%s: %s" = display name, the counts
    // joined by ", ". Each count has its word for one and for many.
    IDS_PASSED_OVER = 62600,  // "%d" = messages of banks the layout does not number
    IDS_READ_SUMMARY = 62601,
    IDS_READ_BANK = 62602,
    IDS_READ_BANKS = 62603,
    IDS_READ_NAME = 62604,
    IDS_READ_NAMES = 62605,
    IDS_READ_PRESET = 62606,
    IDS_READ_PRESETS = 62607,
    IDS_READ_PATCH = 62608,
    IDS_READ_PATCHES = 62609,
    IDS_READ_PERFORMANCE = 62610,
    IDS_READ_PERFORMANCES = 62611,
    IDS_READ_RHYTHM_SET = 62612,
    IDS_READ_RHYTHM_SETS = 62613,
    IDS_READ_PROGRAM = 62614,
    IDS_READ_PROGRAMS = 62615,
    IDS_READ_SINGLE = 62616,
    IDS_READ_SINGLES = 62617,
    IDS_READ_MULTI = 62618,
    IDS_READ_MULTIS = 62619,
    IDS_SHELL_USAGE_ONE_FILE = 62620,  // "%d" = the number of files given

    // The Cubase, Rosegarden and MusE formats.
    IDS_CUBASE_FILTER = 62650,
    IDS_CUBASE_EXT = 62651,
    IDS_RGD_FILTER = 62652,
    IDS_RGD_EXT = 62653,
    IDS_IDF_FILTER = 62654,
    IDS_IDF_EXT = 62655,
    IDS_PROGRAMS_BEYOND_REACH = 62656,  // "%d" = names left out, "%s" = bank title
};

// The text with the given id, or an empty text for an id the table lacks.
std::string LoadString(std::uint32_t id);

}  // namespace bankwise
