#include "Registration.h"

#include <shlobj.h>

namespace bankwise {

namespace {

constexpr wchar_t kProgId[] = L"Bankwise.Document";
constexpr wchar_t kTypeName[] = L"Bankwise Document";
constexpr wchar_t kExtension[] = L".syx";

LONG SetValue(HKEY root, const std::wstring& subkey, const wchar_t* name, const std::wstring& value)
{
    HKEY key = nullptr;
    LONG result =
        RegCreateKeyExW(root, subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    if (result != ERROR_SUCCESS)
        return result;
    result = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return result;
}

std::wstring GetDefault(HKEY root, const std::wstring& subkey)
{
    wchar_t buffer[260] = {};
    DWORD size = sizeof buffer - sizeof(wchar_t);
    if (RegGetValueW(root, subkey.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
        ERROR_SUCCESS)
        return {};
    return buffer;
}

}  // namespace

LONG RegisterFileType(HKEY classes, const std::wstring& exePath)
{
    const std::wstring exe = L"\"" + exePath + L"\"";
    const std::wstring type = kProgId;
    const struct
    {
        std::wstring key;
        const wchar_t* name;
        std::wstring value;
    } values[] = {
        {type, nullptr, kTypeName},
        {type + L"\\DefaultIcon", nullptr, exePath + L",-129"},
        {type + L"\\shell\\open\\command", nullptr, exe + L" \"%1\""},
        {type + L"\\shell\\print\\command", nullptr, exe + L" /p \"%1\""},
        {type + L"\\shell\\printto\\command", nullptr, exe + L" /pt \"%1\" \"%2\" \"%3\" \"%4\""},
        {kExtension, nullptr, type},
        {std::wstring(kExtension) + L"\\OpenWithProgids", kProgId, L""},
    };
    for (const auto& v : values) {
        if (const LONG result = SetValue(classes, v.key, v.name, v.value); result != ERROR_SUCCESS)
            return result;
    }
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    return ERROR_SUCCESS;
}

LONG UnregisterFileType(HKEY classes)
{
    LONG result = RegDeleteTreeW(classes, kProgId);
    if (result == ERROR_FILE_NOT_FOUND)
        result = ERROR_SUCCESS;
    HKEY key = nullptr;
    const std::wstring progids = std::wstring(kExtension) + L"\\OpenWithProgids";
    if (RegOpenKeyExW(classes, progids.c_str(), 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueW(key, kProgId);
        RegCloseKey(key);
    }
    if (GetDefault(classes, kExtension) == kProgId &&
        RegOpenKeyExW(classes, kExtension, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        if (const LONG removed = RegDeleteValueW(key, nullptr);
            removed != ERROR_SUCCESS && result == ERROR_SUCCESS)
            result = removed;
        RegCloseKey(key);
    }
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    return result;
}

HKEY OpenUserClasses()
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Classes", 0, nullptr, 0,
                        KEY_READ | KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

}  // namespace bankwise
