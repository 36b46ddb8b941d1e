// E-MU Orbit/Phatt/Carnaval preset dump messages.
#pragma once

#include "MidiFile.h"

namespace bankwise::gen {

// One 281-byte preset dump (F0 ... F7). preset is sent as a 14-bit
// two's-complement number, each name character as a 14-bit pair.
Bytes MakeOrbitPreset(int preset, std::string_view name);

}  // namespace bankwise::gen
