// bankwise-convert: converts SysEx dumps to instrument definitions from the
// command line, with the naming settings the desktop program stored.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "Converter.h"
#include "OutputFile.h"
#include "SettingsProfile.h"

int main(int argc, char** argv)
{
#ifdef _WIN32
    // The text already ends its lines in CR LF; text mode would double the CR.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    // An interrupted run leaves no temporary file behind.
    bankwise::RemoveTemporaryFileOnSignals();
    try {
        const std::vector<std::string> args =
            argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>{};
        // Opened only once a dump needs the naming settings: --help,
        // --version and --no-settings never touch the store.
        bankwise::CSettingsOnDemand stored([](const std::string& warning) {
            std::cerr << "bankwise-convert: " << warning << '\n';
        });
        return bankwise::RunConverter(args, std::cout, std::cerr, stored);
    } catch (const std::exception& e) {
        std::cerr << "bankwise-convert: " << e.what() << '\n';
        return bankwise::kExitFailed;
    }
}
