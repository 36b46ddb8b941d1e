// The base of the six family extractors, the byte helpers they share, and
// the rules of the instrument definition (.ins) text.
//
// Text layout (every line ends in CR LF, single bytes, no BOM):
//   ; Cakewalk Instrument Definition File for <display name>
//   <empty>
//   .Patch Names
//   then per bank with names:  <empty>, [<bank name>], "<slot>=<prefix><name>"...
//   <empty>
//   .Instrument Definitions
//   <empty>
//   [<definition name>]
//   then per bank with names:  Patch[<bank number>]=<bank name>
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ByteSource.h"
#include "Definition.h"
#include "Profile.h"

namespace bankwise {

// One bank's names, indexed by the slot within the bank; a slot never filled
// holds the empty text.
using CNameList = std::vector<std::string>;

// One count in the summary of what a dump held: the number and the texts
// that word it, e.g. "%d patch" and "%d patches".
struct CReadCount
{
    std::size_t count = 0;
    std::uint32_t oneId = 0;
    std::uint32_t manyId = 0;
};

class CDumpExtractor
{
public:
    CDumpExtractor(std::uint32_t nNameID, const char* pszBankFormat, const char* pszInstrFormat);
    // The default patterns and preview numbers from the family's row in the
    // family table.
    explicit CDumpExtractor(std::uint32_t nNameID);
    virtual ~CDumpExtractor();
    CDumpExtractor(const CDumpExtractor&) = delete;
    CDumpExtractor& operator=(const CDumpExtractor&) = delete;

    // Reads the dump and fills the name lists. nOffset is the position of the
    // first recognised message's manufacturer byte. On failure returns false
    // and leaves the reason, if there is one, in m_nErrorID.
    virtual bool Parse(CByteSource& file, bool bMidiFile, std::uint32_t nOffset) = 0;
    // Appends the complete instrument definition text to out, using the
    // naming settings as they are stored now.
    virtual void WriteDefinition(std::string& out);

    // The store the naming settings are read from, at each use, so that a
    // text written after the options changed uses the new values. Until one
    // is given every setting reads its default. profile must outlive the
    // extractor.
    void SetProfile(const IProfile& profile) { m_pProfile = &profile; }
    const IProfile& GetProfile() const;
    virtual void ClearNames() = 0;
    // Replaces the names with names in the first slots of the family's first
    // bank, as a dump that held only them would leave them: the options
    // preview is written from this by the same rules as the text.
    virtual void StoreSampleNames(std::span<const std::string> names) = 0;

    // The names read so far, titled, numbered and prefixed by the naming
    // settings as they are stored now: what every output format writes.
    // Every bank title of an output passes through here, and no two banks
    // come out with the same title.
    CDefinition MakeDefinition() const;

    // What a successful Parse read, for the user: the display name and the
    // counts, e.g. "Roland JV/XP: 64 patches, 64 performances, 0 rhythm sets".
    std::string DescribeContents() const;

    std::string GetSynthName() const;
    std::string GetDefinitionName() const;
    std::string GetBankFormat() const;
    std::string GetInstrFormat() const;

    std::uint32_t m_nNameID;
    const char* m_pszBankFormat;
    const char* m_pszInstrFormat;  // may be null: reads as the empty text
    std::int32_t m_nPreviewFirstPatch = 0;
    std::int32_t m_nPreviewBank = 0;
    // Why Parse failed: the string id of the message (0: none to show), and
    // the position of the manufacturer byte of the message that broke the
    // family's format, when the reader knows it.
    std::uint32_t m_nErrorID = 0;
    std::optional<std::uint64_t> m_nErrorOffset;
    // Set by a successful Parse when the dump ends inside a message (a
    // download that stopped, a file cut by a full disk): the names are
    // those before the cut, and names after it are missing.
    bool m_bCutOff = false;
    // Set by a successful Parse: messages of the family that the reader
    // knows but cannot place (banks the layout does not number), and
    // messages whose checksum is wrong. Their names are passed over or kept
    // as the family says; the user is told how many there were.
    std::uint32_t m_nPassedOver = 0;
    std::uint32_t m_nBadChecksums = 0;

protected:
    // The family's part of MakeDefinition.
    virtual CDefinition BuildDefinition() const = 0;
    // The counts DescribeContents words, in its order. A family with words of
    // its own for what it holds (patches, multis ...) overrides this; the
    // default counts the banks its text lists and their names.
    virtual std::vector<CReadCount> CountContents() const;
    void SetError(std::uint32_t stringId);
    void SetError(std::uint32_t stringId, std::uint64_t offset);
    // A definition with the family's names and makerId's text filled in and
    // no banks yet.
    CDefinition StartDefinition(std::uint32_t makerId) const;
    // The reference layout: bank i titled by the bank pattern formatted with
    // i when it holds "%d", numbered i, patch prefixes numbered i * 128 +
    // slot when the patch pattern carries a number, banks without names
    // left out, and one instrument that selects them all.
    CDefinition BuildReferenceDefinition(std::span<const CNameList> banks,
                                         std::uint32_t makerId) const;

private:
    const IProfile* m_pProfile = nullptr;
};

// lo + hi * 128 as a 14-bit two's-complement number, sent low part first.
int Make14BitValue(std::uint8_t lo, std::uint8_t hi);

// Stores name at slot, growing the list with empty names as needed; a name
// already at that slot is replaced.
void StoreName(CNameList& list, std::size_t slot, std::string name);

// The slots of list that hold a name; a gap, or a name that was empty in the
// dump, is not counted.
std::size_t CountNames(const CNameList& list);

enum class ETrim { Keep, TrailingWhiteSpace };

// A name from a fixed-width field: it ends before the first byte 0, and with
// ETrim::TrailingWhiteSpace loses trailing blanks, tabs, LF, VT, FF and CR.
std::string NameFromField(std::span<const std::uint8_t> field, ETrim trim);

// Whether a dump whose messages were read up to next (where the byte after
// the next message's 0xF0 would stand) stops inside a message. In a raw
// file: the next message's 0xF0 is all there is of it. In a MIDI file: a
// track ends before the length its header gives, so the cut may have taken
// messages too short to be recognised, or others that followed.
bool EndsInsideMessage(const CByteView& data, bool bMidiFile, std::size_t next);

// Whether the message at o is cut short by the end of the data: fewer than
// length bytes are left and no 0xF7 closes it. A download that stopped there
// still gives the names before it, so readers end with m_bCutOff instead of
// failing.
bool MessageCutShort(const CByteView& data, std::size_t o, std::size_t length);

// The reference number test: a '%' and, somewhere after the first '%', a 'd'.
bool PatternCarriesNumber(std::string_view pattern);

// The letter-and-number analysis of patterns fed a letter and a number: the
// pattern has a letter when it holds "%c", and has a number when, from just
// after the start of the first "%c" (from the beginning without one), a '%'
// is found with a 'd' somewhere after it.
struct CPatternUse
{
    bool hasLetter = false;
    bool hasNumber = false;
};
CPatternUse AnalyseLetterPattern(std::string_view pattern);

// The patch prefix for a pattern fed at most one number: the pattern
// formatted with number when it carries one (PatternCarriesNumber), else the
// pattern as it stands.
std::string NumberedPrefix(std::string_view pattern, bool carriesNumber, long long number);

// A bank name fed only a letter: the pattern formatted with letter when it
// holds "%c", else the pattern as it stands. Any other conversion in it is
// written as typed.
std::string LetteredBankName(std::string_view pattern, char letter);

// A bank name fed only a number: the pattern formatted with number when it
// holds "%d", else the pattern as it stands.
std::string NumberedBankName(std::string_view pattern, long long number);

// The patch prefix for a letter-and-number pattern, formatted with what the
// analysis found it uses (letter first).
std::string FormatLetterPrefix(std::string_view pattern, const CPatternUse& use, char letter,
                               int number);

// Adds names as one bank of definition, titled title and selected by number,
// with the prefix prefix(slot) before each slot's name, and lists it under
// instrument. An empty list adds nothing: a bank the dump did not hold is
// not written.
template <class PrefixOf>
void AddNameBank(CDefinition& definition, CInstrumentDef& instrument, const CNameList& names,
                 std::string title, std::int32_t number, PrefixOf prefix)
{
    if (names.empty())
        return;
    CBankNames& bank = definition.banks.emplace_back();
    bank.title = std::move(title);
    bank.number = number;
    bank.patches.reserve(names.size());
    for (std::size_t slot = 0; slot < names.size(); ++slot)
        bank.patches.push_back({prefix(slot), names[slot]});
    instrument.banks.push_back(definition.banks.size() - 1);
}

// Gives each bank whose title (as the files show it, control bytes as '?')
// an earlier bank already has that title with " (2)", " (3)" ... appended,
// taking the first number whose title no bank has, so that every Patch line
// names a list of its own. Titles that are distinct stay as they are.
void MakeBankTitlesDistinct(CDefinition& definition);

// Renders definition as instrument definition text, appended to out. Control
// bytes in any name, prefix or title would break the line structure of the
// file, so they are written as '?'.
void WriteInsText(const CDefinition& definition, std::string& out);

}  // namespace bankwise
