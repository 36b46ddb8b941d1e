// Every synthesizer family the program reads, one row each: how its dumps
// are recognised, its display name, its default naming patterns, the
// numbers the options preview shows, and how its extractor is made. The
// detector, the extractors' defaults, the About box, the converter's help
// and the settings sections (named by the display name) all take what they
// need from here, so a new family is its source pair and one row.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "ByteView.h"

namespace bankwise {

class CDumpExtractor;

struct CFamily
{
    std::uint32_t nameId;     // display name: messages, output header, settings section
    const char* bankFormat;   // default bank-name pattern
    const char* instrFormat;  // default patch-name pattern, may be null
    std::int32_t previewFirstPatch;
    std::int32_t previewBank;
    // Whether a message whose manufacturer byte stands at p carries the
    // family's signature. A byte the view does not hold matches nothing.
    bool (*matches)(const CByteView& bytes, std::size_t p);
    std::unique_ptr<CDumpExtractor> (*create)();
};

// In the order the signatures are tested: the first row that matches wins.
std::span<const CFamily> Families();

// The first family whose signature matches at p, or null.
const CFamily* MatchSignature(const CByteView& bytes, std::size_t p);

// The row of the family with this display name id, or null.
const CFamily* FindFamily(std::uint32_t nameId);

// The display names, in table order, each followed by a line feed.
std::string FamilyNameLines();

}  // namespace bankwise
