#include "VirusExtractor.h"

#include "StringTable.h"

namespace bankwise {

CVirusExtractor::CVirusExtractor() : CDumpExtractor(IDS_SYNTH_VIRUS, "Virus Bank %c", "%c%03d ") {}

CVirusExtractor::~CVirusExtractor() = default;

bool CVirusExtractor::Parse(CByteSource& /*file*/, bool /*bMidiFile*/, std::uint32_t /*nOffset*/)
{
    return false;  // TODO
}

void CVirusExtractor::WriteDefinition(std::string& /*out*/) {}

void CVirusExtractor::ClearNames()
{
    for (CNameList& bank : m_banks)
        bank.clear();
    m_multis.clear();
}

}  // namespace bankwise
