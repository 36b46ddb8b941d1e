// What the About box asks of Windows: version numbers from version
// resources, the files of the libraries this process has loaded, and the
// three ways of opening a link (the shell, the registered web-page
// command, a started program), each giving the code the error texts know.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace bankwise {

using FileVersionNumbers = std::array<std::uint16_t, 4>;

std::optional<FileVersionNumbers> ReadFileVersion(const std::wstring& path);
std::wstring ProgramPath();
// The files of the libraries this process has loaded, in load order; the
// program's own file is not among them.
std::vector<std::wstring> LoadedLibraryPaths();
// The libraries the program's own file imports, as its import table names them.
std::vector<std::string> ImportedLibraryNames();

// ShellExecuteW's "open" on target: above 32 means opened.
int ShellOpen(const std::wstring& target);
// The default value of a key under HKEY_CLASSES_ROOT.
std::optional<std::wstring> ReadClassDefault(const std::wstring& subkey);
// Starts a command line as WinExec did: above 31 started, else 0, 2, 3 or 11.
int RunCommandLine(const std::wstring& commandLine);

}  // namespace bankwise
