#include "WindowPlace.h"

#include <array>
#include <charconv>

namespace bankwise {

std::string FormatWindowPlace(const CWindowPlace& place)
{
    const CPlaceRect& r = place.normal;
    return std::to_string(r.left) + ',' + std::to_string(r.top) + ',' + std::to_string(r.right) +
           ',' + std::to_string(r.bottom) + ',' + (place.maximized ? '1' : '0');
}

std::optional<CWindowPlace> ParseWindowPlace(std::string_view text)
{
    std::array<int, 5> numbers{};
    const char* at = text.data();
    const char* const end = text.data() + text.size();
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (i > 0) {
            if (at == end || *at != ',')
                return std::nullopt;
            ++at;
        }
        const auto [next, error] = std::from_chars(at, end, numbers[i]);
        if (error != std::errc() || next == at)
            return std::nullopt;
        at = next;
    }
    if (at != end || (numbers[4] != 0 && numbers[4] != 1))
        return std::nullopt;
    const CPlaceRect r{numbers[0], numbers[1], numbers[2], numbers[3]};
    // Computed wide: a hostile value must not overflow into a fitting size.
    if (static_cast<long long>(r.right) - r.left < kMinWindowSide ||
        static_cast<long long>(r.bottom) - r.top < kMinWindowSide)
        return std::nullopt;
    return CWindowPlace{r, numbers[4] == 1};
}

CPlaceRect FirstWindowPlace(const CPlaceRect& workArea)
{
    const int width = (workArea.right - workArea.left) * 2 / 3;
    const int height = (workArea.bottom - workArea.top) * 2 / 3;
    const int left = workArea.left + (workArea.right - workArea.left - width) / 2;
    const int top = workArea.top + (workArea.bottom - workArea.top - height) / 2;
    return {left, top, left + width, top + height};
}

}  // namespace bankwise
