#include "Fs1rExtractor.h"

#include "StringTable.h"

namespace bankwise {

CFs1rExtractor::CFs1rExtractor() : CDumpExtractor(IDS_SYNTH_FS1R, "FS1R Internal", "I%03d ")
{
    m_nPreviewFirstPatch = 1;
    m_nPreviewBank = 64;
}

CFs1rExtractor::~CFs1rExtractor() = default;

bool CFs1rExtractor::Parse(CByteSource& /*file*/, bool /*bMidiFile*/, std::uint32_t /*nOffset*/)
{
    return false;  // TODO
}

void CFs1rExtractor::WriteDefinition(std::string& /*out*/) {}

void CFs1rExtractor::ClearNames()
{
    m_names.clear();
}

}  // namespace bankwise
