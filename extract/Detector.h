// Recognises a dump from its first bytes, constructs the extractor of its
// family and parses the whole file with it.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string_view>

#include "ByteSource.h"
#include "ByteView.h"
#include "DumpExtractor.h"
#include "MessageSink.h"

namespace bankwise {

// In the order the signatures are tested.
enum class EFamily { Orbit, JvXp, Prophecy, TrRack, Fs1r, Virus };

// The first family whose signature matches at position p (the manufacturer
// byte). A byte the view does not hold matches nothing.
std::optional<EFamily> MatchSignature(const CByteView& bytes, std::size_t p);

std::unique_ptr<CDumpExtractor> CreateExtractor(EFamily family);

// A file is read as a Standard MIDI File when its extension is ".MID" in any
// letter case; everything else is read as raw SysEx.
bool IsMidiFileName(std::string_view path);

// Discards the extractor held in slot, detects the family of the dump in
// file, stores its new extractor in slot and runs its Parse over the file.
// Messages go to sink. Returns Parse's result, or false when detection
// fails (slot is then empty). A failed Parse leaves its extractor in slot.
bool DetectAndParse(CByteSource& file, bool bMidiFile, IMessageSink& sink,
                    std::unique_ptr<CDumpExtractor>& slot);

}  // namespace bankwise
