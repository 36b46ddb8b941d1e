// Where the main window opens: the place and size it had when it was last
// closed, kept in the settings as one text "left,top,right,bottom,maximized",
// or on a first start two thirds of the screen's work area, centred, which
// shows a bank's names without scrolling sideways. Standard C++ only.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace bankwise {

inline constexpr const char* kEntryWindowPlace = "WindowPlace";
// Smaller than this a stored place is taken for damage, not a choice.
inline constexpr int kMinWindowSide = 100;

struct CPlaceRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const CPlaceRect&) const = default;
};

struct CWindowPlace
{
    CPlaceRect normal;  // the window's place when not maximized
    bool maximized = false;
    bool operator==(const CWindowPlace&) const = default;
};

std::string FormatWindowPlace(const CWindowPlace& place);
// Nothing for a text that is not five whole numbers, a last one other
// than 0 or 1, or a window smaller than kMinWindowSide either way.
std::optional<CWindowPlace> ParseWindowPlace(std::string_view text);
// Two thirds of the work area each way, centred in it.
CPlaceRect FirstWindowPlace(const CPlaceRect& workArea);

}  // namespace bankwise
