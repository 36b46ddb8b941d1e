#include <string>
#include <vector>

#include "BankwiseApp.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int show)
{
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> args;
    for (int i = 1; argv != nullptr && i < count; ++i)
        args.emplace_back(argv[i]);
    LocalFree(argv);
    bankwise::CBankwiseApp app(instance);
    if (!app.InitInstance(args, show))
        return app.ExitCode();
    return app.Run();
}
