// File names as the programs carry them: std::string, in the system's own
// bytes on POSIX and in UTF-8 on Windows, whose names are UTF-16. One
// encoding from the command line to the open call to the message, so a
// name outside the code page opens, and no file is made under a name
// converted twice.
#pragma once

#include <compare>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace bankwise {

std::filesystem::path PathFromName(std::string_view name);
std::string NameOfPath(const std::filesystem::path& path);
// Whether two names are spelt alike for the file system: letter case aside
// on Windows, by its own rule for every script; byte for byte on POSIX.
bool SameFileName(std::string_view a, std::string_view b);

// What makes a file the same file whatever name or link reaches it: device
// and inode on POSIX, volume serial number and file index on Windows.
struct CFileIdentity
{
    std::uint64_t volume = 0;
    std::uint64_t fileLow = 0;
    std::uint64_t fileHigh = 0;
    auto operator<=>(const CFileIdentity&) const = default;
};

// The identity of the file name leads to (links followed), or nothing when
// there is no such file or it cannot be looked at.
std::optional<CFileIdentity> FileIdentityOf(const std::string& name);

// Windows: the reason for a system error code (GetLastError()) in the words
// the same failure has on POSIX where there is one, else the system's own.
std::string WindowsErrorReason(unsigned long code);
// Windows: the errno value that stands for a system error code (EIO when
// none does).
int ErrnoOfWindowsError(unsigned long code);

}  // namespace bankwise
