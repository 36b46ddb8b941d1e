#include "AboutRules.h"

#include <algorithm>
#include <utility>

#include "Families.h"
#include "SafeFormat.h"
#include "StringTable.h"

namespace bankwise {
namespace {

FormatArg Number(std::uint16_t value)
{
    return FormatArg::Int(value);
}

// Where each of these is found, the target goes instead.
constexpr std::array kPlaceholders{"%1", "%u", "%U", "%f", "%F", "%s"};

// The earliest occurrence of any placeholder, each wrapped in quote (none
// for bare).
std::string_view::size_type FindPlaceholder(std::string_view commandLine, std::string_view quote)
{
    auto first = std::string_view::npos;
    for (const char* placeholder : kPlaceholders) {
        const std::string wrapped = std::string(quote) + placeholder + std::string(quote);
        first = std::min(first, commandLine.find(wrapped));
    }
    return first;
}

}  // namespace

std::string ProgramInformationText(const std::optional<VersionNumbers>& program,
                                   const std::vector<CLibraryLine>& libraries)
{
    const std::string programLine = program
                                        ? SafeFormat(LoadString(IDS_INFO_PROGRAM_VERSION),
                                                     {Number((*program)[0]), Number((*program)[1]),
                                                      Number((*program)[2]), Number((*program)[3])})
                                        : LoadString(IDS_INFO_PROGRAM_UNKNOWN);
    std::string libraryLines;
    for (const CLibraryLine& library : libraries) {
        const FormatArg name = FormatArg::Text(library.strName);
        if (library.bFound && library.version) {
            const VersionNumbers& v = *library.version;
            libraryLines +=
                SafeFormat(LoadString(IDS_INFO_LIBRARY_VERSION),
                           {name, Number(v[0]), Number(v[1]), Number(v[2]), Number(v[3])});
        } else {
            libraryLines += SafeFormat(
                LoadString(library.bFound ? IDS_INFO_LIBRARY_UNKNOWN : IDS_INFO_LIBRARY_MISSING),
                {name});
        }
    }
    return SafeFormat(LoadString(IDS_PROGRAM_INFO),
                      {FormatArg::Text(FamilyNameLines()), FormatArg::Text(programLine),
                       FormatArg::Text(libraryLines)});
}

std::string CutPlaceholder(std::string_view commandLine)
{
    auto at = FindPlaceholder(commandLine, "\"");
    if (at == std::string_view::npos)
        at = FindPlaceholder(commandLine, "");
    return std::string(commandLine.substr(0, at));
}

int OpenLink(const std::string& target, ILinkOpener& opener)
{
    const int code = opener.OpenWithDesktop(target);
    if (code > kLastErrorCode)
        return code;
    const std::string command = CutPlaceholder(opener.BrowserCommand());
    // A command that names no program is no browser: the desktop's answer stands.
    if (command.find_first_not_of(" \t") == std::string::npos)
        return code;
    return opener.StartCommand(command, target);
}

std::string OpenErrorMessage(int code)
{
    static constexpr std::array<std::pair<int, StringId>, 13> kTexts{{
        {0, IDS_LINK_OUT_OF_RESOURCES},
        {2, IDS_LINK_FILE_NOT_FOUND},
        {3, IDS_LINK_PATH_NOT_FOUND},
        {5, IDS_LINK_ACCESS_DENIED},
        {8, IDS_LINK_OUT_OF_MEMORY},
        {11, IDS_LINK_BAD_PROGRAM},
        {26, IDS_LINK_SHARING_VIOLATION},
        {27, IDS_LINK_ASSOC_INCOMPLETE},
        {28, IDS_LINK_DDE_TIMEOUT},
        {29, IDS_LINK_DDE_FAILED},
        {30, IDS_LINK_DDE_BUSY},
        {31, IDS_LINK_NO_ASSOCIATION},
        {32, IDS_LINK_LIBRARY_NOT_FOUND},
    }};
    for (const auto& [known, id] : kTexts) {
        if (known == code)
            return LoadString(IDS_LINK_OPEN_FAILED) + LoadString(id);
    }
    return LoadString(IDS_LINK_OPEN_FAILED) +
           SafeFormat(LoadString(IDS_LINK_UNKNOWN_ERROR), {FormatArg::Int(code)});
}

}  // namespace bankwise
