// bankwise-convert: converts SysEx dumps to instrument definitions from the
// command line, with the naming settings the desktop program stored.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include "FileNames.h"
#include "WindowsApi.h"
// After <windows.h>, which it needs.
#include <shellapi.h>
#endif

#include "Converter.h"
#include "OutputFile.h"
#include "UserSettings.h"

namespace {

#ifdef _WIN32

// The arguments as the system holds them, in UTF-16, made UTF-8 like every
// file name in the program: argv would hold them in the code page, where
// a name outside it is lost.
std::vector<std::string> Arguments(int, char**)
{
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; wide != nullptr && i < count; ++i)
        args.push_back(bankwise::NameOfPath(std::filesystem::path(wide[i])));
    LocalFree(wide);
    return args;
}

// Messages name files in UTF-8; a console shows them so while the run
// lasts, and is given back its own code page afterwards.
class CConsoleUtf8
{
public:
    CConsoleUtf8() : m_previous(GetConsoleOutputCP())
    {
        if (m_previous != 0)
            SetConsoleOutputCP(CP_UTF8);
    }
    ~CConsoleUtf8()
    {
        if (m_previous != 0)
            SetConsoleOutputCP(m_previous);
    }
    CConsoleUtf8(const CConsoleUtf8&) = delete;
    CConsoleUtf8& operator=(const CConsoleUtf8&) = delete;

private:
    UINT m_previous;
};

#else

std::vector<std::string> Arguments(int argc, char** argv)
{
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>{};
}

#endif

}  // namespace

int main(int argc, char** argv)
{
#ifdef _WIN32
    // The text already ends its lines in CR LF; text mode would double the CR.
    _setmode(_fileno(stdout), _O_BINARY);
    const CConsoleUtf8 console;
#endif
    // An interrupted run leaves no temporary file behind.
    bankwise::RemoveTemporaryFileOnSignals();
    try {
        const std::vector<std::string> args = Arguments(argc, argv);
        // Opened only once a dump needs the naming settings: --help,
        // --version and --no-settings never touch the store.
        const auto stored = bankwise::OpenUserSettingsForReading([](const std::string& warning) {
            std::cerr << "bankwise-convert: " << warning << '\n';
        });
        return bankwise::RunConverter(args, std::cout, std::cerr, *stored);
    } catch (const std::exception& e) {
        std::cerr << "bankwise-convert: " << e.what() << '\n';
        return bankwise::kExitFailed;
    }
}
