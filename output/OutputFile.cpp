#include "OutputFile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>
#include <utility>

#if (defined(__unix__) || defined(__APPLE__)) && !defined(BANKWISE_PORTABLE_OUTPUT)
#define BANKWISE_OUTPUT_POSIX 1
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#elif defined(_WIN32) && !defined(BANKWISE_PORTABLE_OUTPUT)
#define BANKWISE_OUTPUT_WINDOWS 1
#include "FileNames.h"
#include "WindowsApi.h"
#endif

#include "StringTable.h"

namespace bankwise {
namespace {

namespace fs = std::filesystem;

// As many links as the system itself follows in one path.
constexpr int kMaxLinks = 40;
constexpr int kTemporaryAttempts = 100;

std::string SystemReason(int error)
{
    return std::generic_category().message(error != 0 ? error : EIO);
}

COutputTarget Refuse(std::string reason)
{
    return {EOutputMethod::Refused, {}, std::move(reason)};
}

// target.XXXXXXXX.tmp, beside target.
fs::path TemporaryName(const fs::path& target)
{
    static std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<int> digit(0, 35);
    std::string suffix = ".";
    for (int i = 0; i < 8; ++i) {
        const int d = digit(random);
        suffix += static_cast<char>(d < 10 ? '0' + d : 'a' + d - 10);
    }
    fs::path name = target;
    name += suffix + ".tmp";
    return name;
}

#if defined(BANKWISE_OUTPUT_POSIX) || defined(BANKWISE_OUTPUT_WINDOWS)

// The temporary file being written, for the signal or console handler: set
// before the file is made, cleared once it is renamed or removed.
std::atomic<const fs::path::value_type*> g_temporary{nullptr};
static_assert(std::atomic<const fs::path::value_type*>::is_always_lock_free);

struct CForgetTemporary
{
    CForgetTemporary() = default;
    CForgetTemporary(const CForgetTemporary&) = delete;
    CForgetTemporary& operator=(const CForgetTemporary&) = delete;
    ~CForgetTemporary() { g_temporary.store(nullptr); }
};

#endif

#ifdef BANKWISE_OUTPUT_POSIX

// The device of /proc: its links (/dev/stdout, /dev/fd/N) stand for open
// descriptors, not for files that may be renamed over.
std::optional<dev_t> ProcDevice()
{
    struct stat status
    {
    };
    if (stat("/proc", &status) != 0)
        return std::nullopt;
    return status.st_dev;
}

bool WriteAll(int fd, std::string_view bytes, int& error)
{
    while (!bytes.empty()) {
        const ssize_t n = write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = errno;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Closes fd; the first failure of the write or of the close is the reason.
std::optional<std::string> Finish(int fd, bool written, int error)
{
    if (close(fd) != 0 && written) {
        written = false;
        error = errno;
    }
    return written ? std::nullopt : std::optional<std::string>(SystemReason(error));
}

std::optional<std::string> WriteOpened(const fs::path& file, int flags, std::string_view bytes)
{
    const int fd = open(file.c_str(), flags | O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return SystemReason(errno);
    int error = 0;
    bool written = WriteAll(fd, bytes, error);
    // In place: the old text may have been longer.
    if (written && (flags & O_TRUNC) == 0 && ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) {
        written = false;
        error = errno;
    }
    return Finish(fd, written, error);
}

std::optional<std::string> Replace(const fs::path& file, std::string_view bytes)
{
    struct stat old
    {
    };
    const bool exists = stat(file.c_str(), &old) == 0;
    fs::path temporary;
    const CForgetTemporary forget;
    int fd = -1;
    for (int attempt = 0; fd < 0; ++attempt) {
        g_temporary.store(nullptr);
        temporary = TemporaryName(file);
        g_temporary.store(temporary.c_str());
        // Private until it carries the old file's mode; a new file gets the
        // usual mode less the umask.
        fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, exists ? 0600 : 0666);
        if (fd < 0 && (errno != EEXIST || attempt + 1 >= kTemporaryAttempts))
            return SystemReason(errno);
    }
    int error = 0;
    bool written = WriteAll(fd, bytes, error);
    if (written && exists) {
        mode_t mode = old.st_mode & 07777;
        // Owner and group where the system allows; the group alone may be
        // allowed. Set-id bits never go to a file of another owner.
        if (fchown(fd, old.st_uid, old.st_gid) != 0) {
            mode &= ~static_cast<mode_t>(S_ISUID | S_ISGID);
            [[maybe_unused]] const int ignored = fchown(fd, static_cast<uid_t>(-1), old.st_gid);
        }
        if (fchmod(fd, mode) != 0) {
            written = false;
            error = errno;
        }
    }
    if (auto reason = Finish(fd, written, error)) {
        unlink(temporary.c_str());
        return reason;
    }
    if (rename(temporary.c_str(), file.c_str()) != 0) {
        error = errno;
        unlink(temporary.c_str());
        return SystemReason(error);
    }
    return std::nullopt;
}

void RemoveTemporaryAndRaise(int signal)
{
    if (const char* path = g_temporary.load())
        unlink(path);
    // The handler was reset to the default on entry: raised again, the
    // signal ends the program with the status a caller expects.
    raise(signal);
}

#elif defined(BANKWISE_OUTPUT_WINDOWS)

class CFileHandle
{
public:
    explicit CFileHandle(HANDLE handle) : m_handle(handle) {}
    CFileHandle(const CFileHandle&) = delete;
    CFileHandle& operator=(const CFileHandle&) = delete;
    ~CFileHandle() { Close(); }
    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_handle; }
    void Reset(HANDLE handle)
    {
        Close();
        m_handle = handle;
    }
    // True when the handle closed cleanly (or was not open).
    bool Close()
    {
        const HANDLE handle = std::exchange(m_handle, INVALID_HANDLE_VALUE);
        return handle == INVALID_HANDLE_VALUE || CloseHandle(handle) != 0;
    }

private:
    HANDLE m_handle;
};

// One write call stays below what every system accepts at once.
constexpr std::size_t kMaxWriteCall = std::size_t{1} << 30;

bool WriteAll(HANDLE file, std::string_view bytes, DWORD& error)
{
    while (!bytes.empty()) {
        DWORD done = 0;
        const auto n = static_cast<DWORD>(std::min(bytes.size(), kMaxWriteCall));
        if (WriteFile(file, bytes.data(), n, &done, nullptr) == 0 || done == 0) {
            error = GetLastError();
            return false;
        }
        bytes.remove_prefix(done);
    }
    return true;
}

// Writes an existing file or device as it is opened; in place, the text is
// then cut to its own length, since the old one may have been longer.
std::optional<std::string> WriteOpened(const fs::path& file, bool inPlace, std::string_view bytes)
{
    CFileHandle handle(CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.IsOpen())
        return WindowsErrorReason(GetLastError());
    DWORD error = 0;
    bool written = WriteAll(handle.Get(), bytes, error);
    if (written && inPlace && SetEndOfFile(handle.Get()) == 0) {
        written = false;
        error = GetLastError();
    }
    if (!handle.Close() && written) {
        written = false;
        error = GetLastError();
    }
    return written ? std::nullopt : std::optional<std::string>(WindowsErrorReason(error));
}

std::optional<std::string> Replace(const fs::path& file, std::string_view bytes)
{
    const bool exists = GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES;
    fs::path temporary;
    const CForgetTemporary forget;
    CFileHandle handle(INVALID_HANDLE_VALUE);
    for (int attempt = 0; !handle.IsOpen(); ++attempt) {
        g_temporary.store(nullptr);
        temporary = TemporaryName(file);
        g_temporary.store(temporary.c_str());
        // Only a new file; shared for deletion, so that the console
        // handler can remove it while it is still open.
        handle.Reset(CreateFileW(temporary.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr,
                                 CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        const DWORD error = GetLastError();
        if (!handle.IsOpen() && ((error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) ||
                                 attempt + 1 >= kTemporaryAttempts))
            return WindowsErrorReason(error);
    }
    DWORD error = 0;
    bool written = WriteAll(handle.Get(), bytes, error);
    if (!handle.Close() && written) {
        written = false;
        error = GetLastError();
    }
    if (written && exists) {
        // The replaced file's attributes, security and creation time pass
        // to the new one.
        written = ReplaceFileW(file.c_str(), temporary.c_str(), nullptr,
                               REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS,
                               nullptr, nullptr) != 0;
        error = GetLastError();
        // Where that is refused (some file systems, wine with a hidden
        // file), a rename over it with its attributes does, as it does when
        // the replace took the old file away without putting the new one
        // in its place.
        const DWORD attributes = GetFileAttributesW(file.c_str());
        if (!written && error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) {
            if (attributes != INVALID_FILE_ATTRIBUTES)
                SetFileAttributesW(temporary.c_str(), attributes);
            written = MoveFileExW(temporary.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
            error = written ? error : GetLastError();
        }
    } else if (written) {
        written = MoveFileExW(temporary.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
        error = GetLastError();
    }
    if (!written) {
        DeleteFileW(temporary.c_str());
        return WindowsErrorReason(error);
    }
    return std::nullopt;
}

BOOL WINAPI RemoveTemporaryOnConsoleEvent(DWORD)
{
    if (const wchar_t* path = g_temporary.load())
        DeleteFileW(path);
    // Not handled: the system ends the program as it would have.
    return FALSE;
}

COutputTarget DescribeWindowsTarget(const fs::path& file)
{
    // No access asked for, so that a file others hold open still tells
    // what it is.
    CFileHandle handle(CreateFileW(file.c_str(), 0,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle.IsOpen()) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return {EOutputMethod::Replace, NameOfPath(file), {}};
        return Refuse(WindowsErrorReason(error));
    }
    // A console, the null device or a pipe: written as a shell redirect would.
    if (GetFileType(handle.Get()) != FILE_TYPE_DISK)
        return {EOutputMethod::Direct, NameOfPath(file), {}};
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileInformationByHandle(handle.Get(), &info) == 0)
        return Refuse(WindowsErrorReason(GetLastError()));
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return Refuse(SystemReason(EISDIR));
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0)
        return Refuse(LoadString(IDS_TARGET_READ_ONLY));
    const auto method = info.nNumberOfLinks > 1 ? EOutputMethod::InPlace : EOutputMethod::Replace;
    return {method, NameOfPath(file), {}};
}

#else  // Standard C++ only: no owners, no devices, no signals.

std::FILE* OpenStream(const fs::path& file, const char* mode)
{
    return std::fopen(file.string().c_str(), mode);
}

// Writes bytes to file opened with mode ("x": only a new file).
std::optional<std::string> WriteStream(const fs::path& file, const char* mode,
                                       std::string_view bytes, bool& opened)
{
    errno = 0;
    std::FILE* stream = OpenStream(file, mode);
    opened = stream != nullptr;
    if (stream == nullptr)
        return SystemReason(errno);
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), stream) == bytes.size();
    const int error = errno;
    const bool closed = std::fclose(stream) == 0;
    if (written && closed)
        return std::nullopt;
    return SystemReason(error != 0 ? error : errno);
}

std::optional<std::string> Replace(const fs::path& file, std::string_view bytes)
{
    std::error_code ec;
    const fs::file_status old = fs::status(file, ec);
    const fs::path temporary = TemporaryName(file);
    bool opened = false;
    std::optional<std::string> reason = WriteStream(temporary, "wbx", bytes, opened);
    if (!reason && fs::exists(old))
        fs::permissions(temporary, old.permissions(), ec);
    if (!reason && (fs::rename(temporary, file, ec), ec))
        reason = ec.message();
    if (reason && opened)
        fs::remove(temporary, ec);
    return reason;
}

#endif

}  // namespace

COutputTarget DescribeOutputTarget(const std::string& path)
{
    fs::path file = path;
#ifdef BANKWISE_OUTPUT_POSIX
    static const std::optional<dev_t> proc = ProcDevice();
    struct stat status
    {
    };
    for (int links = 0;; ++links) {
        if (lstat(file.c_str(), &status) != 0) {
            if (errno == ENOENT)
                return {EOutputMethod::Replace, file.string(), {}};
            return Refuse(SystemReason(errno));
        }
        if (!S_ISLNK(status.st_mode))
            break;
        if (proc && status.st_dev == *proc)
            return {EOutputMethod::Direct, path, {}};
        if (links == kMaxLinks)
            return Refuse(SystemReason(ELOOP));
        std::error_code ec;
        const fs::path target = fs::read_symlink(file, ec);
        if (ec)
            return Refuse(ec.message());
        file = target.is_absolute() ? target : file.parent_path() / target;
    }
    if (S_ISDIR(status.st_mode))
        return Refuse(SystemReason(EISDIR));
    if (S_ISBLK(status.st_mode))
        return Refuse(LoadString(IDS_TARGET_BLOCK_DEVICE));
    if (!S_ISREG(status.st_mode))
        return {EOutputMethod::Direct, file.string(), {}};
    // The system lets an administrator write anything; a file that nobody
    // may write is left alone all the same.
    if ((status.st_mode & 0222) == 0)
        return Refuse(LoadString(IDS_TARGET_READ_ONLY));
    if (faccessat(AT_FDCWD, file.c_str(), W_OK, AT_EACCESS) != 0)
        return Refuse(errno == EACCES ? LoadString(IDS_TARGET_READ_ONLY) : SystemReason(errno));
    const auto method = status.st_nlink > 1 ? EOutputMethod::InPlace : EOutputMethod::Replace;
    return {method, file.string(), {}};
#elif defined(BANKWISE_OUTPUT_WINDOWS)
    file = PathFromName(path);
    std::error_code ec;
    for (int links = 0; fs::is_symlink(fs::symlink_status(file, ec)); ++links) {
        if (links == kMaxLinks)
            return Refuse(SystemReason(ELOOP));
        const fs::path target = fs::read_symlink(file, ec);
        if (ec)
            return Refuse(ec.message());
        file = target.is_absolute() ? target : file.parent_path() / target;
    }
    return DescribeWindowsTarget(file);
#else
    std::error_code ec;
    for (int links = 0; fs::is_symlink(fs::symlink_status(file, ec)); ++links) {
        if (links == kMaxLinks)
            return Refuse(SystemReason(ELOOP));
        const fs::path target = fs::read_symlink(file, ec);
        if (ec)
            return Refuse(ec.message());
        file = target.is_absolute() ? target : file.parent_path() / target;
    }
    const fs::file_status status = fs::status(file, ec);
    if (!fs::exists(status))
        return {EOutputMethod::Replace, file.string(), {}};
    if (fs::is_directory(status))
        return Refuse(SystemReason(EISDIR));
    if (!fs::is_regular_file(status))
        return {EOutputMethod::Direct, file.string(), {}};
    if ((status.permissions() & fs::perms::owner_write) == fs::perms::none)
        return Refuse(LoadString(IDS_TARGET_READ_ONLY));
    const auto method =
        fs::hard_link_count(file, ec) > 1 ? EOutputMethod::InPlace : EOutputMethod::Replace;
    return {method, file.string(), {}};
#endif
}

std::optional<std::string> WriteOutputFile(const std::string& path, std::string_view bytes)
{
    const COutputTarget target = DescribeOutputTarget(path);
    switch (target.method) {
#ifdef BANKWISE_OUTPUT_WINDOWS
    case EOutputMethod::Replace:
        return Replace(PathFromName(target.file), bytes);
    case EOutputMethod::InPlace:
        return WriteOpened(PathFromName(target.file), true, bytes);
    case EOutputMethod::Direct:
        return WriteOpened(PathFromName(target.file), false, bytes);
#elif defined(BANKWISE_OUTPUT_POSIX)
    case EOutputMethod::Replace:
        return Replace(target.file, bytes);
    case EOutputMethod::InPlace:
        return WriteOpened(target.file, 0, bytes);
    case EOutputMethod::Direct:
        return WriteOpened(target.file, O_TRUNC, bytes);
#else
    case EOutputMethod::Replace:
        return Replace(target.file, bytes);
    case EOutputMethod::InPlace: {
        bool opened = false;
        if (auto reason = WriteStream(target.file, "r+b", bytes, opened))
            return reason;
        std::error_code ec;
        fs::resize_file(target.file, bytes.size(), ec);
        return ec ? std::optional<std::string>(ec.message()) : std::nullopt;
    }
    case EOutputMethod::Direct: {
        bool opened = false;
        return WriteStream(target.file, "wb", bytes, opened);
    }
#endif
    case EOutputMethod::Refused:
        break;
    }
    return target.reason;
}

std::string DescribeOutputRules()
{
#ifdef BANKWISE_OUTPUT_WINDOWS
    return LoadString(IDS_CLI_HELP_FILES_WINDOWS);
#else
    return LoadString(IDS_CLI_HELP_FILES);
#endif
}

void RemoveTemporaryFileOnSignals()
{
#ifdef BANKWISE_OUTPUT_POSIX
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction previous
        {
        };
        if (sigaction(signal, nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN)
            continue;
        struct sigaction action
        {
        };
        action.sa_handler = RemoveTemporaryAndRaise;
        action.sa_flags = SA_RESETHAND;
        sigemptyset(&action.sa_mask);
        sigaction(signal, &action, nullptr);
    }
#elif defined(BANKWISE_OUTPUT_WINDOWS)
    SetConsoleCtrlHandler(RemoveTemporaryOnConsoleEvent, TRUE);
#endif
}

}  // namespace bankwise
