#include "ByteSource.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

namespace bankwise {

bool CMemoryByteSource::Seek(std::uint64_t position)
{
    m_position = position;
    return true;
}

std::size_t CMemoryByteSource::Read(std::uint8_t* destination, std::size_t count)
{
    if (m_position >= m_bytes.size())
        return 0;
    const auto available = static_cast<std::size_t>(m_bytes.size() - m_position);
    const std::size_t n = std::min(count, available);
    if (n > 0)
        std::memcpy(destination, m_bytes.data() + m_position, n);
    m_position += n;
    return n;
}

CFileByteSource::CFileByteSource(const std::string& path)
    : m_stream(path, std::ios::binary | std::ios::in)
{}

std::uint64_t CFileByteSource::GetLength()
{
    if (!m_stream.is_open())
        return 0;
    m_stream.clear();
    m_stream.seekg(0, std::ios::end);
    const std::streamoff end = m_stream.tellg();
    m_stream.seekg(static_cast<std::streamoff>(m_position), std::ios::beg);
    if (end < 0) {
        m_failed = true;
        return 0;
    }
    return static_cast<std::uint64_t>(end);
}

bool CFileByteSource::Seek(std::uint64_t position)
{
    if (!m_stream.is_open() ||
        position > static_cast<std::uint64_t>(std::numeric_limits<std::streamoff>::max()))
        return false;
    m_stream.clear();
    m_stream.seekg(static_cast<std::streamoff>(position), std::ios::beg);
    if (!m_stream) {
        m_failed = true;
        return false;
    }
    m_position = position;
    return true;
}

std::size_t CFileByteSource::Read(std::uint8_t* destination, std::size_t count)
{
    if (!m_stream.is_open() || count == 0)
        return 0;
    const auto limit = static_cast<std::size_t>(std::numeric_limits<std::streamsize>::max());
    m_stream.read(reinterpret_cast<char*>(destination),
                  static_cast<std::streamsize>(std::min(count, limit)));
    const std::streamsize got = m_stream.gcount();
    if (m_stream.bad())
        m_failed = true;
    m_stream.clear();
    const auto n = static_cast<std::size_t>(std::max<std::streamsize>(got, 0));
    m_position += n;
    return n;
}

std::vector<std::uint8_t> ReadWholeSource(CByteSource& source)
{
    std::vector<std::uint8_t> bytes;
    if (!source.Seek(0))
        return bytes;
    // Read the reported length in one piece, then keep reading until the
    // source says no more: a source that delivers less than it claimed ends
    // the data there, one that delivers more is read to its end.
    const std::uint64_t expected = source.GetLength();
    if (expected > 0 && expected < std::numeric_limits<std::size_t>::max() / 2) {
        bytes.resize(static_cast<std::size_t>(expected));
        bytes.resize(source.Read(bytes.data(), bytes.size()));
        if (bytes.size() < expected)
            return bytes;
    }
    // A source that delivered all it claimed usually has no more; the test
    // goes through a small buffer so that the data is not grown and copied
    // once more only to learn that.
    std::array<std::uint8_t, 4096> chunk{};
    for (;;) {
        const std::size_t got = source.Read(chunk.data(), chunk.size());
        if (got == 0)
            break;
        bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(got));
    }
    return bytes;
}

CWholeSource::CWholeSource(CByteSource& source)
{
    if (const auto bytes = source.GetContiguousBytes()) {
        m_view = CByteView(bytes->data(), bytes->size());
    } else {
        m_copy = ReadWholeSource(source);
        m_view = CByteView(m_copy);
    }
}

}  // namespace bankwise
