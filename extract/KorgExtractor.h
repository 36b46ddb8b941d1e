#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "DumpExtractor.h"

namespace bankwise {

// Korg program dumps in the packed eight-into-seven form: one bank of 64
// programs, or banks A and B with 128. The Prophecy and the TR-Rack share
// every rule; only their names and default patterns differ.
class CKorgProgramExtractor : public CDumpExtractor
{
public:
    // Before a successful parse: no bank, so a definition written for a
    // failed parse carries no Patch line.
    static constexpr std::int32_t kNoBank = -1;

    ~CKorgProgramExtractor() override;

    bool Parse(CByteSource& file, bool bMidiFile, std::uint32_t nOffset) override;
    void ClearNames() override;
    void StoreSampleNames(std::span<const std::string> names) override;

    std::int32_t m_nBankScope = kNoBank;  // 0 bank A, 1 bank B, 2 both
    CNameList m_names;

protected:
    explicit CKorgProgramExtractor(std::uint32_t nNameID);
    CDefinition BuildDefinition() const override;
    std::vector<CReadCount> CountContents() const override;
};

class CProphecyExtractor final : public CKorgProgramExtractor
{
public:
    CProphecyExtractor();
};

class CTrRackExtractor final : public CKorgProgramExtractor
{
public:
    CTrRackExtractor();
};

// Unpacks Korg's packed form in place (the output never overtakes the
// input) and shrinks data to the unpacked length. Each group is a bit byte
// and up to 7 data bytes; the last group may be short.
void UnpackKorgData(std::vector<std::uint8_t>& data);

}  // namespace bankwise
