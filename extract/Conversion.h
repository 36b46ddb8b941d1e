// The one road from a dump to its names, taken by the converter and by the
// desktop programs alike: detect the family, construct its extractor, read
// the whole dump with it. What went wrong travels as a code with its
// context; words are made from it only where the user is told.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "BusyGuard.h"
#include "ByteSource.h"
#include "Detector.h"
#include "DumpExtractor.h"
#include "Profile.h"

namespace bankwise {

enum class EConvertError {
    None,
    TooShort,       // too few bytes to tell what the file is
    UnknownFormat,  // neither a Standard MIDI File nor raw SysEx where the name says
    UnknownData,    // no message of a known family where detection looks
    InvalidData,    // the family's reader met a message that breaks its format
    NoUsefulData,   // the family's reader found nothing it could use
    ReadError,      // the source failed before its end: what was read is not the dump
    OutOfMemory,
};

// What the user is told beside the names of a dump that converted.
struct CConvertNotes
{
    bool bCutOff = false;             // the dump ends inside a message
    std::uint32_t nPassedOver = 0;    // messages the reader knows but cannot place
    std::uint32_t nBadChecksums = 0;  // messages whose checksum is wrong
};

struct CConversion
{
    EConvertError error = EConvertError::None;
    // Known once detection found a family, also when its reader then failed.
    const CFamily* family = nullptr;
    // Where the error lies: the position of the manufacturer byte of the
    // message the reader failed on, else of the first recognised message
    // (0 when detection failed).
    std::uint64_t nOffset = 0;
    // The family's extractor, with the names it read. A reader that failed
    // leaves its extractor here too (a document keeps it, as the names read
    // before the fault still write); a read error or a failed detection
    // leaves none. It reads its naming settings from the profile given.
    std::unique_ptr<CDumpExtractor> extractor;
    CConvertNotes notes;

    bool Succeeded() const { return error == EConvertError::None; }
};

// Converts the dump in source; bMidiFile says it is a Standard MIDI File
// (IsMidiFileName). busy hears "busy" for the whole of detection and
// reading. profile must outlive the extractor given back.
CConversion ConvertDump(CByteSource& source, bool bMidiFile, const IProfile& profile,
                        const BusyHook& busy = {});
// The same for a dump already in memory, read where it lies.
CConversion ConvertDump(std::span<const std::uint8_t> dump, bool bMidiFile, const IProfile& profile,
                        const BusyHook& busy = {});

// The string id of the message for error (0 for None).
std::uint32_t ErrorStringId(EConvertError error);
// The message for error, from the string table; empty for None.
std::string DescribeError(EConvertError error);
// One line for each note, from the string table.
std::vector<std::string> DescribeNotes(const CConvertNotes& notes);

}  // namespace bankwise
