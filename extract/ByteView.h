// A bounds-checked, read-only view over a parser's buffer. Every access a
// parser makes goes through it: ranges are tested with overflow-safe
// arithmetic before a byte is used, so no parser can read past its data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <span>
#include <vector>

namespace bankwise {

class CByteView
{
public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    CByteView() = default;
    CByteView(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    explicit CByteView(const std::vector<std::uint8_t>& bytes)
        : m_data(bytes.data()), m_size(bytes.size())
    {}

    std::size_t size() const { return m_size; }

    // True when count bytes starting at offset lie inside the view.
    bool Fits(std::size_t offset, std::size_t count) const
    {
        return offset <= m_size && count <= m_size - offset;
    }

    // True when the byte at offset exists and equals value; a byte past the
    // end matches nothing.
    bool ByteIs(std::size_t offset, std::uint8_t value) const
    {
        return offset < m_size && m_data[offset] == value;
    }

    // True when all of the bytes lie inside the view and equal the given ones.
    bool Matches(std::size_t offset, std::initializer_list<std::uint8_t> bytes) const
    {
        if (!Fits(offset, bytes.size()))
            return false;
        std::size_t i = offset;
        for (const std::uint8_t b : bytes) {
            if (m_data[i++] != b)
                return false;
        }
        return true;
    }

    // The byte at offset; callers test Fits() or ByteIs() first. Returns 0
    // rather than reading outside the view should a caller forget.
    std::uint8_t At(std::size_t offset) const { return offset < m_size ? m_data[offset] : 0; }

    // count bytes from offset, or an empty span when they do not all fit.
    std::span<const std::uint8_t> Slice(std::size_t offset, std::size_t count) const
    {
        if (!Fits(offset, count))
            return {};
        return {m_data + offset, count};
    }

    // Position of the first byte equal to value at or after from, or npos.
    std::size_t Find(std::size_t from, std::uint8_t value) const
    {
        if (from >= m_size)
            return npos;
        // memchr rather than a loop: giant dumps spend most of their time here.
        const void* hit = std::memchr(m_data + from, value, m_size - from);
        return hit == nullptr
                   ? npos
                   : static_cast<std::size_t>(static_cast<const std::uint8_t*>(hit) - m_data);
    }

private:
    const std::uint8_t* m_data = nullptr;
    std::size_t m_size = 0;
};

}  // namespace bankwise
