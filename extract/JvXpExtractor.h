#pragma once

#include "DumpExtractor.h"

namespace bankwise {

// Roland JV/XP bulk dumps: user patches, performances and rhythm sets, each
// written as a section and an instrument definition of its own.
class CJvXpExtractor final : public CDumpExtractor
{
public:
    CJvXpExtractor();
    ~CJvXpExtractor() override;

    bool Parse(CByteSource& file, bool bMidiFile, std::uint32_t nOffset) override;
    void ClearNames() override;
    void StoreSampleNames(std::span<const std::string> names) override;

    CNameList m_performances;  // slots 0-31
    CNameList m_rhythmSets;    // slots 0-1
    CNameList m_patches;       // slots 0-127

protected:
    CDefinition BuildDefinition() const override;
    std::vector<CReadCount> CountContents() const override;
};

}  // namespace bankwise
