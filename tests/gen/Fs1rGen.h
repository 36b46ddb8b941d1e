// Fs1r test dump messages.
#pragma once

#include "MidiFile.h"

namespace bankwise::gen {

}  // namespace bankwise::gen
