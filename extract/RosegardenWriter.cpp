#include "RosegardenWriter.h"

#include <algorithm>

#include "Gzip.h"
#include "OutputText.h"

namespace bankwise {

void WriteRosegardenFile(const CDefinition& definition, std::string& out,
                         std::vector<std::string>* messages)
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<!DOCTYPE rosegarden-data>\n"
                      "<rosegarden-data>\n"
                      "<studio thrufilter=\"0\" recordfilter=\"0\">\n";
    xml += "  <device id=\"0\" name=\"" + XmlText(DeviceName(definition)) + "\" type=\"midi\">\n";
    for (const CBankNames& bank : definition.banks) {
        if (bank.patches.empty())
            continue;
        if (!IsSelectable(bank.number)) {
            NoteBankNotSelectable(bank, messages);
            continue;
        }
        xml += "    <bank name=\"" + XmlText(BankText(bank)) + "\" percussion=\"false\" msb=\"" +
               std::to_string(bank.number / 128) + "\" lsb=\"" + std::to_string(bank.number % 128) +
               "\">\n";
        const std::size_t count = std::min(bank.patches.size(), kProgramCount);
        for (std::size_t slot = 0; slot < count; ++slot) {
            xml += "      <program id=\"" + std::to_string(slot) + "\" name=\"" +
                   XmlText(PatchText(bank.patches[slot], slot)) + "\"/>\n";
        }
        xml += "    </bank>\n";
        NoteProgramsBeyondReach(bank, messages);
    }
    xml += "  </device>\n"
           "</studio>\n"
           "</rosegarden-data>\n";
    AppendGzipStored(xml, out);
}

}  // namespace bankwise
