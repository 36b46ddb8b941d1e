// The program's command line as Windows programs of its kind take it:
// FILE, /p FILE (print on the default printer and exit), /pt FILE PRINTER
// (print on PRINTER and exit), /register and /unregister (the per-user file
// type). Switches may start with '/' or '-' and ignore case; unknown ones
// are passed over, as the shell may add its own. Standard C++ only.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace bankwise {

struct CCommandLine
{
    enum class EAction { New, Open, Print, PrintTo, Register, Unregister };

    EAction action = EAction::New;
    std::wstring file;
    std::wstring printer;
    // A print switch without the file it needs.
    bool missingArgument = false;
    // How many FILEs were given when more than one was (0 otherwise): one
    // at most is opened. /pt's PRINTER, DRIVER and PORT are no FILEs.
    std::size_t tooManyFiles = 0;
};

CCommandLine ParseCommandLine(const std::vector<std::wstring>& args);

// A registered command line such as `"C:\browser.exe" -osint -url "%1"`
// cut before its placeholder: before a quoted "%1", else before a bare %1,
// else whole. The caller appends a space and the target.
std::wstring CutPlaceholder(const std::wstring& commandLine);

}  // namespace bankwise
