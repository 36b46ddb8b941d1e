#include "CubaseWriter.h"

#include <algorithm>
#include <string_view>

#include "OutputText.h"

namespace bankwise {
namespace {

constexpr const char* kCrLf = "\r\n";

// A text for the rest of a command line. Bytes 0xA0-0xFF are the same
// characters in Latin-1 and Windows-1252; control bytes, and 0x80-0x9F,
// which are controls in Latin-1, become '?'. Cubase would drop leading
// blanks anyway, and a text that then started with a bracket could read
// as a command, so such a bracket becomes a parenthesis.
std::string ScriptText(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    std::string out(first == std::string_view::npos ? std::string_view() : text.substr(first));
    for (char& c : out) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || (byte >= 0x7F && byte < 0xA0))
            c = '?';
    }
    if (!out.empty() && out.front() == '[')
        out.front() = '(';
    else if (!out.empty() && out.front() == ']')
        out.front() = ')';
    return out;
}

void Line(std::string& out, std::string_view command, std::string_view text = {})
{
    out += command;
    out += ScriptText(text);
    out += kCrLf;
}

}  // namespace

void WriteCubaseText(const CDefinition& definition, std::string& out,
                     std::vector<std::string>* messages)
{
    const std::string device = DeviceName(definition);
    Line(out, "[cubase parse file]");
    Line(out, "[parser version 0001]");
    out += kCrLf;
    Line(out, "[device manufacturer]", definition.manufacturer);
    Line(out, "[device name]", definition.synthName);
    Line(out, "[script name]", device);
    out += kCrLf;
    Line(out, "[define patchnames]");
    out += kCrLf;
    Line(out, "[mode]", device);
    for (const CBankNames& bank : definition.banks) {
        if (bank.patches.empty())
            continue;
        std::string select = ", -1, -1]";
        if (IsSelectable(bank.number)) {
            select = ", " + std::to_string(bank.number / 128) + ", " +
                     std::to_string(bank.number % 128) + "]";
        }
        out += kCrLf;
        Line(out, "[g1]", BankText(bank));
        const std::size_t count = std::min(bank.patches.size(), kProgramCount);
        for (std::size_t slot = 0; slot < count; ++slot)
            Line(out, "[p2, " + std::to_string(slot) + select, PatchText(bank.patches[slot], slot));
        NoteProgramsBeyondReach(bank, messages);
    }
    out += kCrLf;
    Line(out, "[end]");
}

}  // namespace bankwise
