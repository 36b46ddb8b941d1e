#include "MuseWriter.h"

#include <algorithm>

#include "OutputText.h"

namespace bankwise {

void WriteMuseText(const CDefinition& definition, std::string& out,
                   std::vector<std::string>* messages)
{
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<muse version=\"1.0\">\n";
    out += "  <MidiInstrument name=\"" + XmlText(DeviceName(definition)) + "\">\n";
    for (const CBankNames& bank : definition.banks) {
        if (bank.patches.empty())
            continue;
        std::string select;
        if (IsSelectable(bank.number)) {
            select = "\" hbank=\"" + std::to_string(bank.number / 128) + "\" lbank=\"" +
                     std::to_string(bank.number % 128);
        }
        out += "    <PatchGroup name=\"" + XmlText(BankText(bank)) + "\">\n";
        const std::size_t count = std::min(bank.patches.size(), kProgramCount);
        for (std::size_t slot = 0; slot < count; ++slot) {
            out += "      <Patch name=\"" + XmlText(PatchText(bank.patches[slot], slot)) + select +
                   "\" prog=\"" + std::to_string(slot) + "\"/>\n";
        }
        out += "    </PatchGroup>\n";
        NoteProgramsBeyondReach(bank, messages);
    }
    out += "  </MidiInstrument>\n"
           "</muse>\n";
}

}  // namespace bankwise
