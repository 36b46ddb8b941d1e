// Ensoniq VFX and ESQ-1 test dump messages.
#pragma once

#include "MidiFile.h"

namespace bankwise::gen {

// One program (the edit buffer) or all internal programs, every byte as
// two nybbles. VFX: F0 0F 05 00 00 type, type 02 one (1067 bytes) or 03 all
// (60 programs, 63607 bytes), high nybble first; ESQ-1: F0 0F 02 00 type,
// type 01 one (210 bytes) or 02 all (40 programs, 8166 bytes), low first.
// Programs beyond names are filled with "INIT".
Bytes MakeVfxPrograms(const std::vector<std::string>& names, bool all = true);
Bytes MakeEsq1Programs(const std::vector<std::string>& names, bool all = true);

}  // namespace bankwise::gen
