// Building blocks for test dumps: byte helpers and a real Standard MIDI File
// writer (MThd, one MTrk, delta times, F0 <variable-length size> events).
#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace bankwise::gen {

using Bytes = std::vector<std::uint8_t>;

Bytes Concat(std::initializer_list<Bytes> parts);
void Append(Bytes& to, const Bytes& from);
// The name's bytes, cut or padded with pad to length.
Bytes FixedText(std::string_view text, std::size_t length, std::uint8_t pad);
// A standard MIDI variable-length quantity.
Bytes VariableLength(std::uint32_t value);
// Roland-style checksum: the 7-bit value that brings the sum to 0 mod 128.
std::uint8_t RolandChecksum(const Bytes& bytes, std::size_t from, std::size_t to);

struct MidiOptions
{
    // Tempo and track name first, a note between SysEx events, a text after.
    bool otherEvents = true;
    // Delta time in ticks before each SysEx event.
    std::uint32_t deltaTime = 10;
};

// A format-0 Standard MIDI File, each message (F0 ... F7) a SysEx event.
Bytes MakeMidiFile(const std::vector<Bytes>& messages, const MidiOptions& options = {});

Bytes JoinMessages(const std::vector<Bytes>& messages);

void WriteFile(const std::filesystem::path& path, const Bytes& bytes);

}  // namespace bankwise::gen
