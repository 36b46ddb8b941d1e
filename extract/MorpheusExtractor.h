#pragma once

#include <array>

#include "DumpExtractor.h"

namespace bankwise {

// E-mu Morpheus preset, hyperpreset and midimap dumps, and Proteus/1, 1XR
// and 2 preset dumps: one message each, lists of 128 by MIDI bank.
class CMorpheusExtractor final : public CDumpExtractor
{
public:
    CMorpheusExtractor();
    ~CMorpheusExtractor() override;

    bool Parse(CByteSource& file, bool bMidiFile, std::uint32_t nOffset) override;
    void ClearNames() override;
    void StoreSampleNames(std::span<const std::string> names) override;

    std::array<CNameList, 3> m_presets;  // numbers 0-127, 128-255, 256-383
    std::array<CNameList, 2> m_hyperpresets;
    CNameList m_midimaps;
    // Set once a Morpheus message was read: its third preset bank (the
    // card) and its hyperpresets have MIDI banks of their own.
    bool m_bMorpheus = false;

protected:
    CDefinition BuildDefinition() const override;
};

}  // namespace bankwise
