// A dump file as the converter reads it. The first bytes (all the detector
// needs, or a Korg reader's header and block) are read where they lie in the
// file; a reader that wants the whole dump gets it in one piece, read once,
// and then works on it in place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "ByteSource.h"

namespace bankwise {

// Memory for the whole of a file. A large one comes straight from the
// system, aligned and advised for huge pages where there are any: filling a
// giant dump's buffer a small page at a time otherwise costs several times
// reading the file.
class CFileMemory
{
public:
    CFileMemory() = default;
    // Throws std::bad_alloc when there is not enough memory.
    explicit CFileMemory(std::size_t capacity);
    ~CFileMemory();
    CFileMemory(const CFileMemory&) = delete;
    CFileMemory& operator=(const CFileMemory&) = delete;
    CFileMemory(CFileMemory&& other) noexcept;
    CFileMemory& operator=(CFileMemory&& other) noexcept;

    std::uint8_t* Data() const { return m_data; }
    std::size_t Capacity() const { return m_capacity; }

private:
    void Release() noexcept;

    std::uint8_t* m_data = nullptr;
    std::size_t m_capacity = 0;
    std::size_t m_mapped = 0;  // length of the system mapping; 0 when from new[]
};

class CInputFile final : public CByteSource
{
public:
    // Opens path for reading. When that fails, or path is a folder,
    // IsOpen() is false and OpenError() gives the reason as an errno value.
    explicit CInputFile(const std::string& path);
    ~CInputFile() override;
    CInputFile(const CInputFile&) = delete;
    CInputFile& operator=(const CInputFile&) = delete;

    bool IsOpen() const { return m_open; }
    int OpenError() const { return m_openError; }

    std::uint64_t GetLength() override;
    bool Seek(std::uint64_t position) override;
    std::uint64_t GetPosition() override { return m_position; }
    std::size_t Read(std::uint8_t* destination, std::size_t count) override;
    bool HasFailed() const override { return m_failed; }
    // Reads the whole file on the first call. A read error ends the data at
    // the last byte read (and HasFailed() tells); may throw std::bad_alloc.
    std::optional<std::span<const std::uint8_t>> GetContiguousBytes() override;

private:
    // Reads up to count bytes at offset from the file itself; 0 at its end
    // or on an error (which sets m_failed).
    std::size_t ReadFromFile(std::uint64_t offset, std::uint8_t* destination, std::size_t count);
    void LoadWhole();

    struct CHandle;  // the open file, by platform
    std::unique_ptr<CHandle> m_handle;
    bool m_open = false;
    int m_openError = 0;
    bool m_failed = false;
    bool m_seekable = true;
    std::uint64_t m_lengthAtOpen = 0;
    std::uint64_t m_position = 0;
    bool m_loaded = false;
    CFileMemory m_memory;
    std::size_t m_size = 0;  // bytes in m_memory once loaded
};

}  // namespace bankwise
