#include "KorgExtractor.h"

#include "StringTable.h"

namespace bankwise {

CKorgProgramExtractor::CKorgProgramExtractor(std::uint32_t nNameID, const char* pszBankFormat)
    : CDumpExtractor(nNameID, pszBankFormat, "%c%02d:")
{
    m_nPreviewBank = 128;
}

CKorgProgramExtractor::~CKorgProgramExtractor() = default;

bool CKorgProgramExtractor::Parse(CByteSource& /*file*/, bool /*bMidiFile*/,
                                  std::uint32_t /*nOffset*/)
{
    return false;  // TODO: packed program dump
}

void CKorgProgramExtractor::WriteDefinition(std::string& /*out*/) {}

void CKorgProgramExtractor::ClearNames()
{
    m_names.clear();
}

CProphecyExtractor::CProphecyExtractor()
    : CKorgProgramExtractor(IDS_SYNTH_PROPHECY, "Prophecy Bank %c")
{
}

CTrRackExtractor::CTrRackExtractor() : CKorgProgramExtractor(IDS_SYNTH_TRRACK, "TR-Rack Bank %c") {}

}  // namespace bankwise
