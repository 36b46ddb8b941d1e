// Roland D-50 test dump messages: data sets (DT1) over its address space.
#pragma once

#include <string>
#include <vector>

#include "MidiFile.h"

namespace bankwise::gen {

// A name in the D-50's character codes (blank, A-Z, a-z, 1-9, 0, '-'; any
// other character as a blank), padded with blanks to 18.
Bytes D50Name(const std::string& name);

// The 64 internal patches and the reverb data, 34688 bytes from address
// 02 00 00, as 135 messages of 256 data bytes and one of 128. Patch n is
// named names[n], or "Patch <n>". badChecksum: that message's checksum is
// off by one.
std::vector<Bytes> MakeD50Bank(const std::vector<std::string>& names, int badChecksum = -1);

// The temporary patch named name, as 7 messages of 64 bytes from 00 00 00.
std::vector<Bytes> MakeD50Temporary(const std::string& name);

// F0 41 00 14 12 <address, 3 bytes> <data> <checksum> F7.
Bytes MakeD50Message(std::uint32_t address, const Bytes& data);

}  // namespace bankwise::gen
