// The text laid out in printed pages: its lines, each wrapped at the page's
// width (at the last space that fits, else where the width ends), so many
// lines to a page. How much fits is measured by the caller (GDI on the
// printer's font); standard C++ only, so it is tested on any machine.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace bankwise {

using Page = std::vector<std::wstring>;

// fit(text) is how many of text's leading characters fit in one line.
// Always at least one page, so an empty text still prints a blank sheet.
std::vector<Page> PaginateText(std::wstring_view text, std::size_t linesPerPage,
                               const std::function<std::size_t(std::wstring_view)>& fit);

}  // namespace bankwise
