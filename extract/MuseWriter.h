// MusE instrument definitions (.idf): XML (UTF-8, LF line ends) with one
// instrument and one patch group per bank:
//
//   <muse version="1.0"> <MidiInstrument name="<definition>">
//     <PatchGroup name="<title>">
//       <Patch name="<prefix><name>" hbank="<MSB>" lbank="<LSB>" prog="<slot>"/> ...
//
// A bank that bank select cannot carry gives patches without hbank and
// lbank, which MusE reads as "any bank": no bank select is sent.
#pragma once

#include <string>
#include <vector>

#include "Definition.h"

namespace bankwise {

// Appends the instrument definition of definition to out. Slots beyond
// program 127 are left out, with a line saying so added to messages when it
// is given.
void WriteMuseText(const CDefinition& definition, std::string& out,
                   std::vector<std::string>* messages);

}  // namespace bankwise
