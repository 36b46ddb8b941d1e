// The options dialog's model for the family of an extractor: the document
// layer's stored values, preview and OK rule over the program's profile.
#pragma once

#include "DumpExtractor.h"
#include "OptionsDialog.h"
#include "Profile.h"

namespace bankwise {

class CExtractorOptions final : public IOptionsModel
{
public:
    // Both must outlive the model.
    CExtractorOptions(IProfile& profile, const CDumpExtractor& extractor);

    std::string FamilyName() const override;
    COptionsFields Initial() const override;
    std::pair<std::string, bool> Preview(const COptionsFields& fields) const override;
    void Store(const COptionsFields& fields) override;

private:
    IProfile& m_profile;
    const CDumpExtractor& m_extractor;
};

}  // namespace bankwise
