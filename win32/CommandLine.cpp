#include "CommandLine.h"

#include <cwctype>

namespace bankwise {

namespace {

std::wstring Lower(std::wstring text)
{
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return text;
}

}  // namespace

CCommandLine ParseCommandLine(const std::vector<std::wstring>& args)
{
    using EAction = CCommandLine::EAction;
    CCommandLine line;
    std::vector<std::wstring> params;
    for (const std::wstring& arg : args) {
        if (arg.size() > 1 && (arg[0] == L'/' || arg[0] == L'-')) {
            const std::wstring flag = Lower(arg.substr(1));
            if (flag == L"p")
                line.action = EAction::Print;
            else if (flag == L"pt")
                line.action = EAction::PrintTo;
            else if (flag == L"register" || flag == L"regserver")
                line.action = EAction::Register;
            else if (flag == L"unregister" || flag == L"unregserver")
                line.action = EAction::Unregister;
            continue;
        }
        params.push_back(arg);
    }
    if (!params.empty())
        line.file = params[0];
    if (params.size() > 1)
        line.printer = params[1];
    if (params.size() > 1 && line.action != EAction::PrintTo)
        line.tooManyFiles = params.size();
    switch (line.action) {
    case EAction::New:
        if (!line.file.empty())
            line.action = EAction::Open;
        break;
    case EAction::Print:
        line.missingArgument = line.file.empty();
        break;
    case EAction::PrintTo:
        line.missingArgument = line.file.empty() || line.printer.empty();
        break;
    case EAction::Open:
    case EAction::Register:
    case EAction::Unregister:
        break;
    }
    return line;
}

std::wstring CutPlaceholder(const std::wstring& commandLine)
{
    std::size_t at = commandLine.find(L"\"%1\"");
    if (at == std::wstring::npos)
        at = commandLine.find(L"%1");
    return at == std::wstring::npos ? commandLine : commandLine.substr(0, at);
}

}  // namespace bankwise
