// The file formats a dump's names can be written in, and the one call that
// writes any of them: the converter's --format and the desktop program's
// Export both go through WriteOutput.
//
//   Ins      Cakewalk instrument definition, exactly WriteDefinition's text
//   Midnam   MIDINameDocument XML (UTF-8, LF line ends), read by Ardour,
//            Logic, Digital Performer, MusE, Qtractor and others
//   Reabank  REAPER bank file (UTF-8, LF line ends): "Bank MSB LSB title"
//            lines, each followed by "program name" lines
//   Cubase   Cubase and Nuendo patch name script (CubaseWriter.h)
//   Rosegarden  Rosegarden device file, gzip-compressed XML (RosegardenWriter.h)
//   Muse     MusE instrument definition XML (MuseWriter.h)
//
// Every format shows the names as the naming settings make them for the
// .ins text. In MIDNAM a patch's number is its prefix without the blanks
// around it (the program number when that leaves nothing), beside the name
// alone. Bytes 0x80-0xFF are written as the Latin-1 characters they stand
// for; control bytes as '?', as in the .ins text. Slots with an empty name
// and banks without a name are left out of MIDNAM and .reabank; the
// Cubase, Rosegarden and MusE files list every slot of the .ins text, with
// the slot number for a text that shows nothing.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Definition.h"
#include "DumpExtractor.h"

namespace bankwise {

enum class EOutputFormat { Ins, Midnam, Reabank, Cubase, Rosegarden, Muse };

// Appends the names of extractor's dump to out in format, with the naming
// settings as they are stored now. Something the format cannot hold (a
// bank whose number cannot be sent as bank select MSB and LSB has no place
// in a .reabank file) is left out, and a line saying so is appended to
// messages when it is given; the text is complete and usable all the same.
// Returns false, with out unchanged, only for a value that is not an
// EOutputFormat (say, a number read back from the settings).
bool WriteOutput(CDumpExtractor& extractor, EOutputFormat format, std::string& out,
                 std::vector<std::string>* messages = nullptr);

// The format's file name extension with its dot (".ins", ".midnam",
// ".reabank", ".txt", ".rgd", ".idf") and its file dialog filter ("MIDNAM
// Files (*.midnam)" ...), from the string table.
std::string GetOutputExtension(EOutputFormat format);
std::string GetOutputFilter(EOutputFormat format);

// The format named name, in any letter case: "ins", "midnam", "reabank",
// "cubase", "rgd" or "idf", or the extension without its dot ("txt").
std::optional<EOutputFormat> FindOutputFormat(std::string_view name);

// The writers behind WriteOutput, for a definition already built.
void WriteMidnamText(const CDefinition& definition, std::string& out);
void WriteReabankText(const CDefinition& definition, std::string& out,
                      std::vector<std::string>* messages);

}  // namespace bankwise
