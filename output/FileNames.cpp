#include "FileNames.h"

#include <cerrno>
#include <system_error>

#ifdef _WIN32
#include "WindowsApi.h"
#else
#include <sys/stat.h>
#endif

namespace bankwise {

#ifdef _WIN32

namespace {

// Invalid sequences become U+FFFD: such a name cannot name an existing
// file, so it fails to open rather than opening another one.
std::wstring WideOf(std::string_view name)
{
    if (name.empty())
        return {};
    const int size = static_cast<int>(name.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, name.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, name.data(), size, wide.data(), length);
    return wide;
}

}  // namespace

std::filesystem::path PathFromName(std::string_view name)
{
    return std::filesystem::path(WideOf(name));
}

std::string NameOfPath(const std::filesystem::path& path)
{
    const std::wstring& wide = path.native();
    if (wide.empty())
        return {};
    const int size = static_cast<int>(wide.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string name(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, name.data(), length, nullptr, nullptr);
    return name;
}

bool SameFileName(std::string_view a, std::string_view b)
{
    const std::wstring wideA = WideOf(a);
    const std::wstring wideB = WideOf(b);
    return CompareStringOrdinal(wideA.data(), static_cast<int>(wideA.size()), wideB.data(),
                                static_cast<int>(wideB.size()), TRUE) == CSTR_EQUAL;
}

std::optional<CFileIdentity> FileIdentityOf(const std::string& name)
{
    // No access asked for: a file open elsewhere, or read-only, still tells.
    const HANDLE file = CreateFileW(PathFromName(name).c_str(), 0,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool ok = GetFileInformationByHandle(file, &info) != 0;
    CloseHandle(file);
    if (!ok)
        return std::nullopt;
    return CFileIdentity{info.dwVolumeSerialNumber, info.nFileIndexLow, info.nFileIndexHigh};
}

int ErrnoOfWindowsError(unsigned long code)
{
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return ENOMEM;
    case ERROR_DIRECTORY:
        return ENOTDIR;
    case ERROR_BUFFER_OVERFLOW:
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    default:
        return EIO;
    }
}

std::string WindowsErrorReason(unsigned long code)
{
    if (const int error = ErrnoOfWindowsError(code); error != EIO)
        return std::generic_category().message(error);
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring message(buffer != nullptr ? buffer : L"", length);
    LocalFree(buffer);
    while (!message.empty() && (message.back() == L'\r' || message.back() == L'\n' ||
                                message.back() == L' ' || message.back() == L'.'))
        message.pop_back();
    if (message.empty())
        return std::generic_category().message(EIO);
    return NameOfPath(std::filesystem::path(message));
}

#else

std::filesystem::path PathFromName(std::string_view name)
{
    return std::filesystem::path(name);
}

std::string NameOfPath(const std::filesystem::path& path)
{
    return path.native();
}

bool SameFileName(std::string_view a, std::string_view b)
{
    return a == b;
}

std::optional<CFileIdentity> FileIdentityOf(const std::string& name)
{
    struct stat status
    {
    };
    if (stat(name.c_str(), &status) != 0)
        return std::nullopt;
    return CFileIdentity{static_cast<std::uint64_t>(status.st_dev),
                         static_cast<std::uint64_t>(status.st_ino), 0};
}

#endif

}  // namespace bankwise
