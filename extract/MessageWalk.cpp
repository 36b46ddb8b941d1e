#include "MessageWalk.h"

#include <algorithm>

namespace bankwise {

std::string NameFromCodes(std::string name)
{
    std::replace(name.begin(), name.end(), '\0', ' ');
    const auto last = name.find_last_not_of(" \t\n\v\f\r");
    name.erase(last == std::string::npos ? 0 : last + 1);
    return name;
}

std::string KindTitle(std::string_view bankFormat, std::string_view kind)
{
    std::size_t cut = bankFormat.size();
    for (const std::string_view word : {"Bank", "Internal", "%"})
        cut = std::min(cut, bankFormat.find(word));
    std::string title(bankFormat.substr(0, cut));
    const auto last = title.find_last_not_of(" \t\n\v\f\r");
    title.erase(last == std::string::npos ? 0 : last + 1);
    if (!title.empty())
        title += ' ';
    return title.append(kind);
}

}  // namespace bankwise
