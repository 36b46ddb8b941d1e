// Texts for the Windows program: the string table's texts (UTF-8) and paths
// (UTF-8 in the shared layers) as UTF-16 for the W calls, and back.
#pragma once

#include <string>
#include <string_view>

namespace bankwise {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

// A string-table text.
std::wstring Text(unsigned id);
// A command's prompt "status-bar text\ntool tip": one part of it.
std::wstring StatusPrompt(unsigned id);
std::wstring ToolTipText(unsigned id);

}  // namespace bankwise
