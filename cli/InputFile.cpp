#include "InputFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <new>
#include <utility>

#if defined(__unix__) || defined(__APPLE__)
#define BANKWISE_INPUT_POSIX 1
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#elif defined(_WIN32)
#include "FileNames.h"
#include "WindowsApi.h"
#else
#include <filesystem>
#endif

namespace bankwise {
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
// From this capacity on, memory is mapped from the system in whole huge
// pages; below it the heap is quicker.
constexpr std::size_t kLargeCapacity = std::size_t{1} << 20;
// One read call stays below what every system accepts at once.
constexpr std::size_t kMaxReadCall = std::size_t{1} << 30;

}  // namespace

CFileMemory::CFileMemory(std::size_t capacity)
{
#ifdef BANKWISE_INPUT_POSIX
    if (capacity >= kLargeCapacity) {
        if (capacity > std::numeric_limits<std::size_t>::max() - 2 * kHugePage)
            throw std::bad_alloc();
        const std::size_t length = (capacity + kHugePage - 1) / kHugePage * kHugePage;
        // A huge page more than needed, so that an aligned start can be cut out.
        void* raw = mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE,
                         MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (raw == MAP_FAILED)
            throw std::bad_alloc();
        auto* const base = static_cast<std::uint8_t*>(raw);
        const std::size_t skip =
            (kHugePage - reinterpret_cast<std::uintptr_t>(raw) % kHugePage) % kHugePage;
        std::uint8_t* const aligned = base + skip;
        if (skip > 0)
            munmap(base, skip);
        munmap(aligned + length, kHugePage - skip);
#ifdef MADV_HUGEPAGE
        madvise(aligned, length, MADV_HUGEPAGE);
#endif
        m_data = aligned;
        m_capacity = length;
        m_mapped = length;
        return;
    }
#endif
    m_data = new std::uint8_t[capacity];
    m_capacity = capacity;
}

CFileMemory::~CFileMemory()
{
    Release();
}

CFileMemory::CFileMemory(CFileMemory&& other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)), m_capacity(std::exchange(other.m_capacity, 0)),
      m_mapped(std::exchange(other.m_mapped, 0))
{}

CFileMemory& CFileMemory::operator=(CFileMemory&& other) noexcept
{
    if (this != &other) {
        Release();
        m_data = std::exchange(other.m_data, nullptr);
        m_capacity = std::exchange(other.m_capacity, 0);
        m_mapped = std::exchange(other.m_mapped, 0);
    }
    return *this;
}

void CFileMemory::Release() noexcept
{
#ifdef BANKWISE_INPUT_POSIX
    if (m_mapped != 0)
        munmap(m_data, m_mapped);
    else
#endif
        delete[] m_data;
    m_data = nullptr;
    m_capacity = 0;
    m_mapped = 0;
}

#ifdef BANKWISE_INPUT_POSIX

struct CInputFile::CHandle
{
    CHandle() = default;
    CHandle(const CHandle&) = delete;
    CHandle& operator=(const CHandle&) = delete;
    ~CHandle()
    {
        if (fd >= 0)
            close(fd);
    }
    int fd = -1;
};

CInputFile::CInputFile(const std::string& path) : m_handle(std::make_unique<CHandle>())
{
    m_handle->fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat status
    {
    };
    if (m_handle->fd < 0 || fstat(m_handle->fd, &status) != 0) {
        m_openError = errno;
        return;
    }
    // A folder opens for reading here and would only fail on the first read.
    if (S_ISDIR(status.st_mode)) {
        m_openError = EISDIR;
        return;
    }
    m_open = true;
    m_lengthAtOpen = S_ISREG(status.st_mode) ? static_cast<std::uint64_t>(status.st_size) : 0;
}

std::size_t CInputFile::ReadFromFile(std::uint64_t offset, std::uint8_t* destination,
                                     std::size_t count)
{
    if (!m_open || offset > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max()))
        return 0;
    for (;;) {
        const ssize_t n = pread(m_handle->fd, destination, std::min(count, kMaxReadCall),
                                static_cast<off_t>(offset));
        if (n >= 0)
            return static_cast<std::size_t>(n);
        if (errno != EINTR) {
            m_failed = true;
            return 0;
        }
    }
}

#elif defined(_WIN32)

struct CInputFile::CHandle
{
    CHandle() = default;
    CHandle(const CHandle&) = delete;
    CHandle& operator=(const CHandle&) = delete;
    ~CHandle()
    {
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
    }
    HANDLE file = INVALID_HANDLE_VALUE;
};

CInputFile::CInputFile(const std::string& path) : m_handle(std::make_unique<CHandle>())
{
    const std::wstring name = PathFromName(path).native();
    // A folder does not open as a file; it is named as such.
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        m_openError = EISDIR;
        return;
    }
    // Others may go on writing or even rename the dump while it is read, as on POSIX.
    m_handle->file = CreateFileW(name.c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_handle->file == INVALID_HANDLE_VALUE) {
        m_openError = ErrnoOfWindowsError(GetLastError());
        return;
    }
    m_open = true;
    LARGE_INTEGER size{};
    if (GetFileType(m_handle->file) == FILE_TYPE_DISK && GetFileSizeEx(m_handle->file, &size) != 0)
        m_lengthAtOpen = static_cast<std::uint64_t>(size.QuadPart);
}

std::size_t CInputFile::ReadFromFile(std::uint64_t offset, std::uint8_t* destination,
                                     std::size_t count)
{
    if (!m_open)
        return 0;
    // The offset travels with each read, as pread's does.
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD got = 0;
    const auto n = static_cast<DWORD>(std::min(count, kMaxReadCall));
    if (ReadFile(m_handle->file, destination, n, &got, &at) == 0) {
        const DWORD error = GetLastError();
        if (error != ERROR_HANDLE_EOF && error != ERROR_BROKEN_PIPE)
            m_failed = true;
        return 0;
    }
    return got;
}

#else

struct CInputFile::CHandle
{
    explicit CHandle(const std::string& path) : source(path) {}
    CFileByteSource source;
};

CInputFile::CInputFile(const std::string& path)
{
    // A folder opens as a stream on some systems and only fails on reading.
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        m_openError = EISDIR;
        return;
    }
    errno = 0;
    m_handle = std::make_unique<CHandle>(path);
    if (!m_handle->source.IsOpen()) {
        m_openError = errno;
        return;
    }
    m_open = true;
    m_lengthAtOpen = m_handle->source.GetLength();
}

std::size_t CInputFile::ReadFromFile(std::uint64_t offset, std::uint8_t* destination,
                                     std::size_t count)
{
    CFileByteSource& source = m_handle->source;
    const std::size_t n = m_open && source.Seek(offset) ? source.Read(destination, count) : 0;
    m_failed = m_failed || source.HasFailed();
    return n;
}

#endif

CInputFile::~CInputFile() = default;

std::uint64_t CInputFile::GetLength()
{
    return m_loaded ? m_size : m_lengthAtOpen;
}

bool CInputFile::Seek(std::uint64_t position)
{
    m_position = position;
    return m_open;
}

std::size_t CInputFile::Read(std::uint8_t* destination, std::size_t count)
{
    std::size_t done = 0;
    if (m_loaded) {
        if (m_position < m_size) {
            done = static_cast<std::size_t>(std::min<std::uint64_t>(count, m_size - m_position));
            std::memcpy(destination, m_memory.Data() + m_position, done);
        }
    } else {
        while (done < count) {
            const std::size_t got =
                ReadFromFile(m_position + done, destination + done, count - done);
            if (got == 0)
                break;
            done += got;
        }
    }
    m_position += done;
    return done;
}

std::optional<std::span<const std::uint8_t>> CInputFile::GetContiguousBytes()
{
    if (!m_open)
        return std::nullopt;
    if (!m_loaded)
        LoadWhole();
    return std::span<const std::uint8_t>(m_memory.Data(), m_size);
}

void CInputFile::LoadWhole()
{
    // Room for a byte more than the file held when it was opened, so that
    // the read that finds its end needs no larger buffer; a file that has
    // grown since is still read to its end.
    if (m_lengthAtOpen >= std::numeric_limits<std::size_t>::max() / 2)
        throw std::bad_alloc();
    CFileMemory memory(static_cast<std::size_t>(m_lengthAtOpen) + 1);
    std::size_t size = 0;
    for (;;) {
        if (size == memory.Capacity()) {
            if (size >= std::numeric_limits<std::size_t>::max() / 2)
                throw std::bad_alloc();
            CFileMemory larger(size * 2);
            std::memcpy(larger.Data(), memory.Data(), size);
            memory = std::move(larger);
        }
        const std::size_t got = ReadFromFile(size, memory.Data() + size, memory.Capacity() - size);
        if (got == 0)
            break;
        size += got;
    }
    m_memory = std::move(memory);
    m_size = size;
    m_loaded = true;
}

}  // namespace bankwise
