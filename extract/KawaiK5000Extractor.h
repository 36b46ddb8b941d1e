#pragma once

#include <array>

#include "DumpExtractor.h"

namespace bankwise {

// Kawai K5000 single dumps: banks of singles, walked record by record by
// their tone maps, and single-patch messages, each to its bank and slot.
class CKawaiK5000Extractor final : public CDumpExtractor
{
public:
    CKawaiK5000Extractor();
    ~CKawaiK5000Extractor() override;

    bool Parse(CByteSource& file, bool bMidiFile, std::uint32_t nOffset) override;
    void ClearNames() override;
    void StoreSampleNames(std::span<const std::string> names) override;

    std::array<CNameList, 4> m_banks;  // A, D, E, F by slot

protected:
    CDefinition BuildDefinition() const override;
};

}  // namespace bankwise
