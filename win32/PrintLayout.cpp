#include "PrintLayout.h"

namespace bankwise {

std::vector<Page> PaginateText(std::wstring_view text, std::size_t linesPerPage,
                               const std::function<std::size_t(std::wstring_view)>& fit)
{
    if (linesPerPage == 0)
        linesPerPage = 1;
    std::vector<Page> pages(1);
    const auto put = [&](std::wstring_view line) {
        if (pages.back().size() == linesPerPage)
            pages.emplace_back();
        pages.back().emplace_back(line);
    };
    while (!text.empty()) {
        std::size_t end = text.find(L'\n');
        std::wstring_view line = text.substr(0, end);
        text = end == std::wstring_view::npos ? std::wstring_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == L'\r')
            line.remove_suffix(1);
        do {
            std::size_t count = fit(line);
            if (count >= line.size()) {
                put(line);
                break;
            }
            // Wrap after the last space that fits; a word wider than the
            // page is cut where the page ends, one character at the least.
            const std::size_t space = line.substr(0, count + 1).find_last_of(L' ');
            if (space != std::wstring_view::npos && space > 0)
                count = space;
            count = count == 0 ? 1 : count;
            // The spaces at a wrap are the break itself: on neither line.
            std::wstring_view head = line.substr(0, count);
            while (head.size() > 1 && head.back() == L' ')
                head.remove_suffix(1);
            put(head);
            line.remove_prefix(count);
            while (!line.empty() && line.front() == L' ')
                line.remove_prefix(1);
        } while (!line.empty());
    }
    return pages;
}

}  // namespace bankwise
