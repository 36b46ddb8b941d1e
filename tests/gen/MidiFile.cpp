#include "MidiFile.h"

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
    for (std::size_t i = 0; i < length && i < text.size(); ++i)
        out[i] = static_cast<std::uint8_t>(text[i]);
    return out;
}

Bytes VariableLength(std::uint32_t value)
{
    Bytes out{static_cast<std::uint8_t>(value & 0x7F)};
    value >>= 7;
    while (value != 0) {
        out.insert(out.begin(), static_cast<std::uint8_t>(0x80 | (value & 0x7F)));
        value >>= 7;
    }
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

void AppendBigEndian(Bytes& out, std::uint32_t value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF));
}

void AppendMeta(Bytes& track, std::uint8_t type, const Bytes& data)
{
    Append(track, VariableLength(0));
    track.push_back(0xFF);
    track.push_back(type);
    Append(track, VariableLength(static_cast<std::uint32_t>(data.size())));
    Append(track, data);
}

}  // namespace

Bytes MakeMidiFile(const std::vector<Bytes>& messages, const MidiOptions& options)
{
    Bytes track;
    if (options.otherEvents) {
        AppendMeta(track, 0x51, {0x07, 0xA1, 0x20});  // tempo 120 bpm
        AppendMeta(track, 0x03, FixedText("Dump", 4, ' '));
    }
    bool first = true;
    for (const Bytes& message : messages) {
        if (message.empty() || message.front() != 0xF0)
            throw std::invalid_argument("a SysEx message starts with F0");
        if (options.otherEvents && !first) {
            Append(track, VariableLength(1));
            Append(track, {0x90, 0x3C, 0x64});
            Append(track, VariableLength(1));
            Append(track, {0x80, 0x3C, 0x00});
        }
        first = false;
        Append(track, VariableLength(options.deltaTime));
        track.push_back(0xF0);
        Append(track, VariableLength(static_cast<std::uint32_t>(message.size() - 1)));
        track.insert(track.end(), message.begin() + 1, message.end());
    }
    if (options.otherEvents)
        AppendMeta(track, 0x01, FixedText("end", 3, ' '));
    AppendMeta(track, 0x2F, {});

    Bytes file{'M', 'T', 'h', 'd'};
    AppendBigEndian(file, 6, 4);
    AppendBigEndian(file, 0, 2);    // format 0
    AppendBigEndian(file, 1, 2);    // one track
    AppendBigEndian(file, 480, 2);  // ticks per quarter note
    Append(file, {'M', 'T', 'r', 'k'});
    AppendBigEndian(file, static_cast<std::uint32_t>(track.size()), 4);
    Append(file, track);
    return file;
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
