#pragma once

#include <array>

#include "DumpExtractor.h"

namespace bankwise {

// Waldorf Blofeld sound dumps: one message per sound, eight banks A to H of
// 128 sounds, and sounds sent from the edit buffer.
class CBlofeldExtractor final : public CDumpExtractor
{
public:
    CBlofeldExtractor();
    ~CBlofeldExtractor() override;

    bool Parse(CByteSource& file, bool bMidiFile, std::uint32_t nOffset) override;
    void ClearNames() override;
    void StoreSampleNames(std::span<const std::string> names) override;

    std::array<CNameList, 8> m_banks;  // A to H
    CNameList m_editBuffer;            // in file order

protected:
    CDefinition BuildDefinition() const override;
};

}  // namespace bankwise
