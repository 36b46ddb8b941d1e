// What both desktop programs do alike, with no toolkit: the options
// dialog's model, the recent-file list, and the rules that turn a file name
// into the document's title and path. Texts are std::string in single bytes
// as the string table and the settings store hold them; paths are the file
// system's own bytes. A front end only shows what these give and passes on
// what the user typed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Profile.h"

namespace bankwise {

// The options dialog's values for one family, as the store holds them.
struct COptionsValues
{
    std::string strDefinition;
    std::string strBankFormat;
    std::string strInstrFormat;
    int bShowOptions = 1;
};

// The family's stored values, with its defaults where an entry is absent
// (an entry that is present but empty stays empty).
COptionsValues LoadOptions(const IProfile& profile, std::uint32_t nNameID,
                           const char* pszBankFormat, const char* pszInstrFormat);
// What OK stores: the three naming entries in the family's section and
// "ShowOptions" in "Settings".
void StoreOptions(IProfile& profile, std::uint32_t nNameID, const COptionsValues& values);

// The preview for the three field texts: the title and two patch prefixes
// of the family's first bank and its definition line, and whether OK may be
// pressed. They are what the family's own writer makes of two sample names
// with these settings, so the preview shows what the text will hold.
struct COptionsPreview
{
    std::string text;
    bool okEnabled = false;
};
COptionsPreview MakeOptionsPreview(std::uint32_t nNameID, const std::string& definition,
                                   const std::string& bankFormat, const std::string& instrFormat);

// The recent-file list: the newest first, no file twice (names compared as
// the file system does, so regardless of case on Windows), at most four.
inline constexpr std::size_t kMaxRecentFiles = 4;
void AddRecentFile(std::vector<std::string>& list, const std::string& path);

// What a file name makes of the document after an open or a save. Only an
// instrument definition (".ins" in any letter case) becomes the document's
// path, titled with its file name and kept off the recent list; anything
// else (a dump, or text saved under another extension) gives the title, the
// name without folder and extension, and leaves the document without a
// path, so that Save asks again and reopening converts again.
struct CPathUse
{
    bool bBecomesPath = false;
    std::string strTitle;
};
CPathUse ClassifyPath(std::string_view path);

// Starts the file dialogs in a remembered folder (the file system's bytes):
// when it still exists it becomes current; one that is gone is forgotten
// (emptied) and current stays. An empty one changes nothing.
void UseRememberedDir(std::string& remembered, std::string& current);

// The name Save As proposes: the title with the instrument extension.
std::string ProposedSaveName(const std::string& title);

// The main window's place and size in pixels, as left, top, width, height;
// the size is that of the restored (not maximized) window.
struct CWindowPlace
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool maximized = false;
    bool operator==(const CWindowPlace&) const = default;
};
// The entries in "Settings" that both desktop programs keep it under.
inline constexpr const char* kEntryWindowLeft = "WindowLeft";
inline constexpr const char* kEntryWindowTop = "WindowTop";
inline constexpr const char* kEntryWindowWidth = "WindowWidth";
inline constexpr const char* kEntryWindowHeight = "WindowHeight";
inline constexpr const char* kEntryWindowMaximized = "WindowMaximized";
// Where the main window opens on a screen whose free area is screen: where
// it was left, moved and shrunk as needed to lie wholly on that area (a
// screen that got smaller, a monitor that is gone); on a first start, two
// thirds of the area, centred, but at least minWidth wide (what a bank's
// lines need) as far as the area allows.
CWindowPlace PlaceMainWindow(const IProfile& profile, const CWindowPlace& screen, int minWidth);
void StoreWindowPlace(IProfile& profile, const CWindowPlace& place);

}  // namespace bankwise
