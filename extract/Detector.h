// Recognises a dump's family from its first bytes.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string_view>

#include "ByteSource.h"
#include "ByteView.h"
#include "DumpExtractor.h"
#include "Families.h"

namespace bankwise {

// A file is read as a Standard MIDI File when its extension is ".MID" in any
// letter case; everything else is read as raw SysEx.
bool IsMidiFileName(std::string_view path);

// What the first bytes of a dump say. A failure is one of the string ids
// IDS_UNKNOWN_FORMAT or IDS_UNKNOWN_DATA, or 0 when the source holds too few
// bytes to tell (or refuses to be read from its start).
struct CDetection
{
    const CFamily* family = nullptr;  // its row in the family table
    std::size_t nOffset = 1;          // the signature's position, once a family is found
    std::uint32_t nErrorID = 0;
};

// Reads at most the first 128 bytes of file. Leaves file at its start when
// a family is found.
CDetection DetectFamily(CByteSource& file, bool bMidiFile);

}  // namespace bankwise
