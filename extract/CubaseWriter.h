// Cubase and Nuendo patch name scripts: a text of bracketed commands, one a
// line (CR LF), in the Windows-1252 code page:
//
//   [cubase parse file]
//   [parser version 0001]
//   [device manufacturer]<maker>   [device name]<synth>   [script name]<definition>
//   [define patchnames]
//   [mode]<definition>
//   then per bank:   [g1]<bank title>
//                    [p2, <program>, <bank MSB>, <bank LSB>]<prefix><name> per slot
//   [end]
//
// Everything after a command's ']' up to the line end is its text; Cubase
// drops the blanks that start it. A bank that bank select cannot carry has
// -1 for MSB and LSB: no bank select is sent.
#pragma once

#include <string>
#include <vector>

#include "Definition.h"

namespace bankwise {

// Appends the script of definition to out. Slots beyond program 127 are
// left out, with a line saying so added to messages when it is given.
void WriteCubaseText(const CDefinition& definition, std::string& out,
                     std::vector<std::string>* messages);

}  // namespace bankwise
