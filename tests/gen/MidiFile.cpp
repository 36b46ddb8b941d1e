#include "MidiFile.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace bankwise::gen {

Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& part : parts)
        Append(out, part);
    return out;
}

void Append(Bytes& to, const Bytes& from)
{
    to.insert(to.end(), from.begin(), from.end());
}

Bytes FixedText(std::string_view text, std::size_t length, std::uint8_t pad)
{
    Bytes out(length, pad);
    std::copy_n(text.begin(), std::min(length, text.size()), out.begin());
    return out;
}

Bytes VariableLength(std::uint32_t value)
{
    Bytes out{static_cast<std::uint8_t>(value & 0x7F)};
    for (value >>= 7; value != 0; value >>= 7)
        out.insert(out.begin(), static_cast<std::uint8_t>(0x80 | (value & 0x7F)));
    return out;
}

std::uint8_t RolandChecksum(const Bytes& bytes, std::size_t from, std::size_t to)
{
    unsigned sum = 0;
    for (std::size_t i = from; i < to && i < bytes.size(); ++i)
        sum += bytes[i];
    return static_cast<std::uint8_t>((128 - sum % 128) % 128);
}

namespace {

Bytes BigEndian(std::uint32_t value, int bytes)
{
    Bytes out;
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF));
    return out;
}

Bytes Meta(std::uint8_t type, const Bytes& data)
{
    return Concat(
        {{0x00, 0xFF, type}, VariableLength(static_cast<std::uint32_t>(data.size())), data});
}

}  // namespace

Bytes MakeMidiFile(const std::vector<Bytes>& messages, const MidiOptions& options)
{
    Bytes track;
    if (options.otherEvents)
        track = Concat({Meta(0x51, {0x07, 0xA1, 0x20}), Meta(0x03, {'D', 'u', 'm', 'p'})});
    for (const Bytes& message : messages) {
        if (message.empty() || message.front() != 0xF0)
            throw std::invalid_argument("a SysEx message starts with F0");
        if (options.otherEvents && &message != &messages.front())
            Append(track, {0x01, 0x90, 0x3C, 0x64, 0x01, 0x80, 0x3C, 0x00});  // a note on and off
        Append(track, VariableLength(options.deltaTime));
        track.push_back(0xF0);
        Append(track, VariableLength(static_cast<std::uint32_t>(message.size() - 1)));
        track.insert(track.end(), message.begin() + 1, message.end());
    }
    if (options.otherEvents)
        Append(track, Meta(0x01, {'e', 'n', 'd'}));
    Append(track, Meta(0x2F, {}));
    // Format 0, one track, 480 ticks per quarter note.
    return Concat({{'M', 'T', 'h', 'd'},
                   BigEndian(6, 4),
                   BigEndian(0, 2),
                   BigEndian(1, 2),
                   BigEndian(480, 2),
                   {'M', 'T', 'r', 'k'},
                   BigEndian(static_cast<std::uint32_t>(track.size()), 4),
                   track});
}

Bytes JoinMessages(const std::vector<Bytes>& messages)
{
    Bytes out;
    for (const Bytes& message : messages)
        Append(out, message);
    return out;
}

void WriteFile(const std::filesystem::path& path, const Bytes& bytes)
{
    std::ofstream stream(path, std::ios::binary | std::ios::trunc);
    stream.write(reinterpret_cast<const char*>(bytes.data()),
                 static_cast<std::streamsize>(bytes.size()));
    if (!stream)
        throw std::runtime_error("cannot write " + path.string());
}

}  // namespace bankwise::gen
