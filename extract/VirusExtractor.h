#pragma once

#include <array>

#include "DumpExtractor.h"

namespace bankwise {

// access Virus single dumps in banks A to D, and multi dumps.
class CVirusExtractor final : public CDumpExtractor
{
public:
    CVirusExtractor();
    ~CVirusExtractor() override;

    bool Parse(CByteSource& file, bool bMidiFile, std::uint32_t nOffset) override;
    void ClearNames() override;
    void StoreSampleNames(std::span<const std::string> names) override;

    std::array<CNameList, 4> m_banks;  // A to D
    CNameList m_multis;

protected:
    CDefinition BuildDefinition() const override;
    std::vector<CReadCount> CountContents() const override;
};

}  // namespace bankwise
