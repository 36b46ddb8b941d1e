#include "OutputText.h"

#include <algorithm>

#include "SafeFormat.h"
#include "StringTable.h"

namespace bankwise {

namespace {

constexpr std::int32_t kMaxBankNumber = 16383;

}  // namespace

bool IsSelectable(std::int32_t bankNumber)
{
    return bankNumber >= 0 && bankNumber <= kMaxBankNumber;
}

bool HasNames(const CBankNames& bank)
{
    return std::any_of(bank.patches.begin(), bank.patches.end(),
                       [](const CPatchName& patch) { return !patch.name.empty(); });
}

std::string DeviceName(const CDefinition& definition)
{
    return definition.definitionName.empty() ? definition.synthName : definition.definitionName;
}

std::string Utf8FromLatin1(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            out += '?';
        } else if (byte < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (byte >> 6));
            out += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return out;
}

std::string XmlText(std::string_view text)
{
    std::string out;
    for (const char c : Utf8FromLatin1(text)) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string PatchText(const CPatchName& patch, std::size_t slot)
{
    std::string text = patch.prefix + patch.name;
    if (text.find_first_not_of(' ') == std::string::npos)
        return std::to_string(slot);
    return text;
}

std::string BankText(const CBankNames& bank)
{
    if (bank.title.find_first_not_of(' ') == std::string::npos)
        return std::to_string(bank.number);
    return bank.title;
}

void NoteBankNotSelectable(const CBankNames& bank, std::vector<std::string>* messages)
{
    if (messages != nullptr) {
        messages->push_back(
            SafeFormat(LoadString(IDS_BANK_NOT_SELECTABLE),
                       {FormatArg::Text(Utf8FromLatin1(bank.title)), FormatArg::Int(bank.number)}));
    }
}

void NoteProgramsBeyondReach(const CBankNames& bank, std::vector<std::string>* messages)
{
    if (messages != nullptr && bank.patches.size() > kProgramCount) {
        const auto count = static_cast<long long>(bank.patches.size() - kProgramCount);
        messages->push_back(
            SafeFormat(LoadString(IDS_PROGRAMS_BEYOND_REACH),
                       {FormatArg::Int(count), FormatArg::Text(Utf8FromLatin1(bank.title))}));
    }
}

}  // namespace bankwise
