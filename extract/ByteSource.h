// The byte source a parser reads a dump from. A file-backed one for real
// files and an in-memory one for tests and for callers that already hold
// the bytes. A read that returns fewer bytes than asked is reported through
// its count and never padded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "ByteView.h"

namespace bankwise {

class CByteSource
{
public:
    virtual ~CByteSource() = default;

    // Length of the whole source in bytes.
    virtual std::uint64_t GetLength() = 0;
    // Moves the read position to an absolute offset. A position past the end
    // is allowed; reads there return 0. Returns false when the source refuses.
    virtual bool Seek(std::uint64_t position) = 0;
    virtual std::uint64_t GetPosition() = 0;
    // Reads up to count bytes; returns how many were read.
    virtual std::size_t Read(std::uint8_t* destination, std::size_t count) = 0;
    // True once a read or seek failed for a reason other than the end of data.
    virtual bool HasFailed() const { return false; }
    // The whole source in one block, when it already lies in memory: a
    // parser then reads it where it is instead of copying it first. Sources
    // that must be read return nothing.
    virtual std::optional<std::span<const std::uint8_t>> GetContiguousBytes()
    {
        return std::nullopt;
    }
};

class CMemoryByteSource final : public CByteSource
{
public:
    explicit CMemoryByteSource(std::vector<std::uint8_t> bytes) : m_bytes(std::move(bytes)) {}
    CMemoryByteSource(const std::uint8_t* data, std::size_t size) : m_bytes(data, data + size) {}

    std::uint64_t GetLength() override { return m_bytes.size(); }
    bool Seek(std::uint64_t position) override;
    std::uint64_t GetPosition() override { return m_position; }
    std::size_t Read(std::uint8_t* destination, std::size_t count) override;
    std::optional<std::span<const std::uint8_t>> GetContiguousBytes() override { return m_bytes; }

private:
    std::vector<std::uint8_t> m_bytes;
    std::uint64_t m_position = 0;
};

class CFileByteSource final : public CByteSource
{
public:
    // Opens the file for reading; IsOpen() tells whether that worked.
    explicit CFileByteSource(const std::string& path);

    bool IsOpen() const { return m_stream.is_open(); }
    std::uint64_t GetLength() override;
    bool Seek(std::uint64_t position) override;
    std::uint64_t GetPosition() override { return m_position; }
    std::size_t Read(std::uint8_t* destination, std::size_t count) override;
    bool HasFailed() const override { return m_failed; }

private:
    std::ifstream m_stream;
    std::uint64_t m_position = 0;
    bool m_failed = false;
};

// Reads the whole source from its start. A short read ends the data at the
// last byte read; the result never holds more than the source delivered.
std::vector<std::uint8_t> ReadWholeSource(CByteSource& source);

// The whole source from its start, as the parsers that need all of a dump
// at once see it: the source's own memory when it offers it, else a copy
// made by ReadWholeSource. The source must outlive this.
class CWholeSource
{
public:
    explicit CWholeSource(CByteSource& source);
    CWholeSource(const CWholeSource&) = delete;
    CWholeSource& operator=(const CWholeSource&) = delete;

    CByteView View() const { return m_view; }

private:
    std::vector<std::uint8_t> m_copy;
    CByteView m_view;
};

}  // namespace bankwise
