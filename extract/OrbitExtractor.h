#pragma once

#include <array>

#include "DumpExtractor.h"

namespace bankwise {

// E-MU Orbit, Phatt and Carnaval preset dumps: one message per preset, five
// banks of 128 presets.
class COrbitExtractor final : public CDumpExtractor
{
public:
    COrbitExtractor();
    ~COrbitExtractor() override;

    bool Parse(CByteSource& file, bool bMidiFile, std::uint32_t nOffset) override;
    void ClearNames() override;
    void StoreSampleNames(std::span<const std::string> names) override;

    std::array<CNameList, 5> m_banks;

protected:
    CDefinition BuildDefinition() const override;
    std::vector<CReadCount> CountContents() const override;
};

}  // namespace bankwise
