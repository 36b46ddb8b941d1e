#include "OptionsModel.h"

#include "DocumentRules.h"
#include "StringTable.h"

namespace bankwise {

CExtractorOptions::CExtractorOptions(IProfile& profile, const CDumpExtractor& extractor)
    : m_profile(profile), m_extractor(extractor)
{}

std::string CExtractorOptions::FamilyName() const
{
    return LoadString(m_extractor.m_nNameID);
}

COptionsFields CExtractorOptions::Initial() const
{
    const COptionsValues values =
        LoadOptions(m_profile, m_extractor.m_nNameID, m_extractor.m_pszBankFormat,
                    m_extractor.m_pszInstrFormat);
    return {values.strDefinition, values.strBankFormat, values.strInstrFormat,
            values.bShowOptions != 0};
}

std::pair<std::string, bool> CExtractorOptions::Preview(const COptionsFields& fields) const
{
    const COptionsPreview preview = MakeOptionsPreview(m_extractor.m_nNameID, fields.definition,
                                                       fields.bankFormat, fields.instrFormat);
    return {preview.text, preview.okEnabled};
}

void CExtractorOptions::Store(const COptionsFields& fields)
{
    StoreOptions(
        m_profile, m_extractor.m_nNameID,
        {fields.definition, fields.bankFormat, fields.instrFormat, fields.showOptions ? 1 : 0});
}

}  // namespace bankwise
