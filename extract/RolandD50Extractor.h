#pragma once

#include <array>
#include <cstdint>

#include "DumpExtractor.h"

namespace bankwise {

// Roland D-50 data set messages: the 64 internal patches, and patches sent
// from the temporary area, named as the address space they write says.
class CRolandD50Extractor final : public CDumpExtractor
{
public:
    CRolandD50Extractor();
    ~CRolandD50Extractor() override;

    bool Parse(CByteSource& file, bool bMidiFile, std::uint32_t nOffset) override;
    void ClearNames() override;
    void StoreSampleNames(std::span<const std::string> names) override;

    CNameList m_patches;     // by patch number 0-63, shown as 11-88
    CNameList m_editBuffer;  // temporary-area patches, in file order

protected:
    CDefinition BuildDefinition() const override;
};

}  // namespace bankwise
