#pragma once

#include "DumpExtractor.h"

namespace bankwise {

// Yamaha FS1R internal performances, or a 32-voice packed voice dump, as one
// bank of names.
class CFs1rExtractor final : public CDumpExtractor
{
public:
    CFs1rExtractor();
    ~CFs1rExtractor() override;

    bool Parse(CByteSource& file, bool bMidiFile, std::uint32_t nOffset) override;
    void ClearNames() override;
    void StoreSampleNames(std::span<const std::string> names) override;

    CNameList m_names;

protected:
    CDefinition BuildDefinition() const override;
};

}  // namespace bankwise
