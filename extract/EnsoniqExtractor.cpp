// Ensoniq VFX and ESQ-1 program dumps. Every data byte is sent as two
// nybbles, one per transmitted byte. Offsets from the manufacturer byte o
// (the 0xF0 stands at o - 1):
//
//   VFX                              ESQ-1
//   o     0x0F  Ensoniq              o     0x0F  Ensoniq
//   o+1   0x05  VFX                  o+1   0x02  ESQ-1
//   o+2   0x00                       o+2   channel (any)
//   o+3   channel (any)              o+3   type: 0x01 one program,
//   o+4   type: 0x02 one program,          0x02 all 40 programs
//         0x03 all 60 programs       o+4   nybbles, low first
//   o+5   nybbles, high first
//
//   program record      VFX: 1060 nybbles (530 bytes), name = bytes 498-508
//                       ESQ-1: 204 nybbles (102 bytes), name = bytes 0-5
//
// Other types (presets, setups, sequences) carry no program names and are
// passed over. The model of the first message is the dump's; programs of
// the other model are counted as passed over. An all-programs message
// holds its records back to back; records beyond the internal count are
// passed over. Neither model has a checksum nor answers bank select: a
// program change alone picks an internal program.
#include "EnsoniqExtractor.h"

#include "MessageWalk.h"
#include "SafeFormat.h"
#include "StringTable.h"

namespace bankwise {
namespace {

constexpr std::uint8_t kEnsoniq = 0x0F;
constexpr std::uint8_t kVfx = 0x05;
constexpr std::uint8_t kEsq1 = 0x02;
constexpr std::size_t kHeaderLength = 4;
constexpr std::int32_t kSinglesBank = 1;  // none reaches the edit buffer: the one after

struct CModel
{
    std::size_t typeOffset;
    std::size_t dataOffset;
    std::uint8_t oneProgram;
    std::uint8_t allPrograms;
    std::size_t recordNybbles;
    std::size_t nameNybble;
    std::size_t nameLength;
    bool highFirst;
    std::size_t programCount;
};

constexpr CModel kVfxModel{4, 5, 0x02, 0x03, 1060, 2 * 498, 11, true, 60};
constexpr CModel kEsq1Model{3, 4, 0x01, 0x02, 204, 0, 6, false, 40};

bool IsEnsoniqHeader(const CByteView& data, std::size_t o)
{
    return data.ByteIs(o, kEnsoniq) &&
           ((data.ByteIs(o + 1, kVfx) && data.ByteIs(o + 2, 0x00)) || data.ByteIs(o + 1, kEsq1));
}

std::string DecodeName(const CByteView& data, std::size_t at, const CModel& model)
{
    std::string codes;
    for (std::size_t i = 0; i < model.nameLength; ++i) {
        const unsigned first = data.At(at + 2 * i) & 0x0Fu;
        const unsigned second = data.At(at + 2 * i + 1) & 0x0Fu;
        codes += static_cast<char>(model.highFirst ? first << 4 | second : second << 4 | first);
    }
    return NameFromCodes(std::move(codes));
}

}  // namespace

CEnsoniqExtractor::CEnsoniqExtractor() : CDumpExtractor(IDS_SYNTH_ENSONIQ) {}

CEnsoniqExtractor::~CEnsoniqExtractor() = default;

bool CEnsoniqExtractor::Parse(CByteSource& file, bool bMidiFile, std::uint32_t nOffset)
{
    const CWholeSource whole(file);
    const CByteView data = whole.View();
    const std::uint8_t dumpModel = data.At(nOffset + 1);
    const auto read = [&](const CMessage& m) {
        const CModel& model = data.ByteIs(m.o + 1, kVfx) ? kVfxModel : kEsq1Model;
        const std::uint8_t type = data.At(m.o + model.typeOffset);
        if (type != model.oneProgram && type != model.allPrograms)
            return true;
        if (!data.ByteIs(m.o + 1, dumpModel)) {
            ++m_nPassedOver;
            return true;
        }
        const auto nameAt = [&](std::size_t record) {
            return model.dataOffset + record * model.recordNybbles + model.nameNybble;
        };
        // A message that cannot hold even one name breaks the layout, unless
        // the dump stops inside it.
        if (!m.Holds(nameAt(0), 2 * model.nameLength))
            return m.cut;
        if (type == model.oneProgram) {
            m_singles.push_back(DecodeName(data, m.o + nameAt(0), model));
            return true;
        }
        for (std::size_t record = 0; m.Holds(nameAt(record), 2 * model.nameLength); ++record) {
            if (record < model.programCount)
                StoreName(m_programs, record, DecodeName(data, m.o + nameAt(record), model));
            else
                ++m_nPassedOver;
        }
        return true;
    };
    const std::optional<std::size_t> broken = WalkMessages(
        data, bMidiFile, nOffset, kEnsoniq, kHeaderLength, IsEnsoniqHeader, read, m_bCutOff);
    if (broken) {
        SetError(IDS_INVALID_DATA, *broken);
        return false;
    }
    return true;
}

CDefinition CEnsoniqExtractor::BuildDefinition() const
{
    CDefinition definition = StartDefinition(IDS_MAKER_ENSONIQ);
    const std::string bankFormat = GetBankFormat();
    const std::string instrFormat = GetInstrFormat();
    const bool numberedPatches = PatternCarriesNumber(instrFormat);

    CInstrumentDef& instrument = definition.instruments.emplace_back();
    instrument.name = definition.definitionName;
    const auto prefix = [&](std::size_t slot) {
        return NumberedPrefix(instrFormat, numberedPatches, static_cast<long long>(slot) + 1);
    };
    AddNameBank(definition, instrument, m_programs, NumberedBankName(bankFormat, 0), 0, prefix);
    AddNameBank(definition, instrument, m_singles, KindTitle(bankFormat, "Edit Buffer"),
                kSinglesBank, prefix);
    return definition;
}

void CEnsoniqExtractor::ClearNames()
{
    m_programs.clear();
    m_singles.clear();
}

void CEnsoniqExtractor::StoreSampleNames(std::span<const std::string> names)
{
    ClearNames();
    m_programs.assign(names.begin(), names.end());
}

}  // namespace bankwise
