// What the writers of other sequencers' formats share: how a name from a
// dump becomes text there, and which banks and programs a sequencer can
// select at all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Definition.h"

namespace bankwise {

// Program change carries 7 bits.
inline constexpr std::size_t kProgramCount = 128;

// Whether bank select (MSB and LSB, 7 bits each) can carry bankNumber.
bool IsSelectable(std::int32_t bankNumber);

// Whether any slot of bank holds a name from the dump.
bool HasNames(const CBankNames& bank);

// The name under which the sequencer lists the device's mode and names.
std::string DeviceName(const CDefinition& definition);

// Dump names are single bytes; the synths' own character sets agree with
// Latin-1 wherever they go beyond ASCII at all. Control bytes become '?'.
std::string Utf8FromLatin1(std::string_view text);

// Latin-1 text as UTF-8 for XML element content and double-quoted
// attribute values alike.
std::string XmlText(std::string_view text);

// A patch's text as the .ins line shows it after '=': prefix and name. One
// that shows nothing (empty, or blanks only) would be an entry nobody can
// pick, so it is the slot number instead.
std::string PatchText(const CPatchName& patch, std::size_t slot);

// A bank's title, or its number when the title shows nothing.
std::string BankText(const CBankNames& bank);

// Adds to messages, when given, that bank was left out because bank select
// cannot carry its number.
void NoteBankNotSelectable(const CBankNames& bank, std::vector<std::string>* messages);

// Adds to messages, when given, that the slots of bank from kProgramCount
// on were left out because program change cannot select them.
void NoteProgramsBeyondReach(const CBankNames& bank, std::vector<std::string>* messages);

}  // namespace bankwise
