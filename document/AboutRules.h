// What both About boxes say and do alike, with no toolkit: the text of the
// program-information box, and the road of a link label's click (the
// desktop's handler, then the registered browser, then the error text).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FrontEnd.h"

namespace bankwise {

using VersionNumbers = std::array<std::uint16_t, 4>;

// One run-time library of the information box, as the system reports it.
struct CLibraryLine
{
    std::string strName;
    bool bFound = false;                    // present (loaded, or in the system folder)
    std::optional<VersionNumbers> version;  // its file version, when readable
};

// The information box's whole text: the families, the program's version
// (none: "Unknown") and one line per library in the order given.
std::string ProgramInformationText(const std::optional<VersionNumbers>& program,
                                   const std::vector<CLibraryLine>& libraries);

// Results of an open attempt: above kLastErrorCode means opened; the
// others pick the message shown.
inline constexpr int kLastErrorCode = 32;
inline constexpr int kOpenedCode = 33;
inline constexpr int kFileNotFoundCode = 2;
inline constexpr int kNoAssociationCode = 31;

// A browser command line without its target placeholder and all after it:
// "%1" in quotes first, else the earliest bare "%1", a desktop entry's %u
// %U %f %F, or $BROWSER's %s.
std::string CutPlaceholder(std::string_view commandLine);

// Opens target: the desktop's handler first; when that fails, the
// registered browser command cut at its placeholder, with target after it.
// Gives the code of the last attempt (above kLastErrorCode: opened).
int OpenLink(const std::string& target, ILinkOpener& opener);

// The whole message shown when opening failed with the given code.
std::string OpenErrorMessage(int code);

}  // namespace bankwise
