#pragma once

#include "DumpExtractor.h"

namespace bankwise {

// Ensoniq VFX and ESQ-1 program dumps: the internal programs, and programs
// sent one at a time from the edit buffer.
class CEnsoniqExtractor final : public CDumpExtractor
{
public:
    CEnsoniqExtractor();
    ~CEnsoniqExtractor() override;

    bool Parse(CByteSource& file, bool bMidiFile, std::uint32_t nOffset) override;
    void ClearNames() override;
    void StoreSampleNames(std::span<const std::string> names) override;

    CNameList m_programs;
    CNameList m_singles;  // in file order

protected:
    CDefinition BuildDefinition() const override;
};

}  // namespace bankwise
