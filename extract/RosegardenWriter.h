// Rosegarden device files (.rgd): gzip-compressed XML (UTF-8, LF line
// ends) holding one MIDI device and its banks, as Rosegarden's device
// manager imports them:
//
//   <rosegarden-data> <studio> <device name="<definition>" type="midi">
//     <bank name="<title>" percussion="false" msb="<MSB>" lsb="<LSB>">
//       <program id="<slot>" name="<prefix><name>"/> ...
#pragma once

#include <string>
#include <vector>

#include "Definition.h"

namespace bankwise {

// Appends the gzip file of definition's device to out. A bank has no place
// in it without bank select, nor a slot beyond program 127: such are left
// out, with a line saying so added to messages when it is given.
void WriteRosegardenFile(const CDefinition& definition, std::string& out,
                         std::vector<std::string>* messages);

}  // namespace bankwise
