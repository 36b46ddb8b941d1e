#pragma once

#include "DumpExtractor.h"

namespace bankwise {

// Korg M1 and 03R/W dumps: all programs, all combinations (M1), and
// programs sent one at a time from the edit buffer.
class CKorgM1Extractor final : public CDumpExtractor
{
public:
    CKorgM1Extractor();
    ~CKorgM1Extractor() override;

    bool Parse(CByteSource& file, bool bMidiFile, std::uint32_t nOffset) override;
    void ClearNames() override;
    void StoreSampleNames(std::span<const std::string> names) override;

    CNameList m_programs;
    CNameList m_combinations;
    CNameList m_editBuffer;  // in file order

protected:
    CDefinition BuildDefinition() const override;
};

// Whether the message at p (its manufacturer byte) is an M1 or 03R/W
// message whose channel byte reads as the TR-Rack signature and that the
// TR-Rack reader would refuse (edit program, combinations, or programs
// without a TR-Rack bank byte).
bool IsM1MessageOnTrRackChannel(const CByteView& bytes, std::size_t p);

}  // namespace bankwise
