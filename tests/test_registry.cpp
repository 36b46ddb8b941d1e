// The registry store, against a scratch key of the test's own: every family
// section round trips under its display name as one key, and a value that
// cannot be used reads its default with one warning.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "Converter.h"
#include "RegistryProfile.h"
#include "StringTable.h"
#include "TestSupport.h"
#include "WindowsApi.h"

namespace bankwise {
namespace {

class RegistryTest : public ::testing::Test
{
protected:
    ~RegistryTest() override { RegDeleteTreeW(HKEY_CURRENT_USER, m_key.c_str()); }

    CRegistryProfile Store()
    {
        return CRegistryProfile(m_key, [this](const std::string& w) { m_warnings.push_back(w); });
    }

    // Stores a value as another program (or a hand in regedit) might.
    void SetRaw(const std::wstring& section, const std::wstring& name, DWORD type, const void* data,
                std::size_t size)
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (m_key + L"\\" + section).c_str(), 0, nullptr,
                                  0, KEY_SET_VALUE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        EXPECT_EQ(RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data),
                                 static_cast<DWORD>(size)),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }

    // The type of a stored value, REG_NONE when there is none.
    DWORD TypeOf(const std::wstring& section, const std::wstring& name) const
    {
        DWORD type = REG_NONE;
        const std::wstring path = m_key + L"\\" + section;
        if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), RRF_RT_ANY, &type, nullptr,
                         nullptr) != ERROR_SUCCESS)
            return REG_NONE;
        return type;
    }

    const std::wstring m_key = L"Software\\Orvane\\Bankwise tests\\" +
                               std::to_wstring(std::random_device{}()) + L"-" +
                               std::to_wstring(GetCurrentProcessId());
    test::Strings m_warnings;
};

TEST_F(RegistryTest, EveryFamilySectionRoundTripsAsOneKey)
{
    std::string everyByte;
    for (int c = 1; c < 256; ++c)
        everyByte += static_cast<char>(c);
    const std::vector<std::uint32_t> families{IDS_SYNTH_ORBIT,  IDS_SYNTH_JVXP, IDS_SYNTH_PROPHECY,
                                              IDS_SYNTH_TRRACK, IDS_SYNTH_FS1R, IDS_SYNTH_VIRUS};
    {
        CRegistryProfile store = Store();
        for (const std::uint32_t id : families) {
            const std::string section = LoadString(id);
            ASSERT_TRUE(store.WriteProfileString(section, kEntryDefinition, section + " mine"));
            ASSERT_TRUE(store.WriteProfileString(section, kEntryBankFormat, everyByte));
            ASSERT_TRUE(store.WriteProfileString(section, kEntryInstrFormat, "USER:%03d "));
        }
        ASSERT_TRUE(store.WriteProfileInt(kSettingsSection, kEntryShowOptions, 0));
        ASSERT_TRUE(store.WriteProfileInt(kSettingsSection, "Negative", -8192));
        ASSERT_TRUE(store.WriteProfileString(kSettingsSection, "Empty", ""));
    }
    const CRegistryProfile reread = Store();
    for (const std::uint32_t id : families) {
        const std::string section = LoadString(id);
        EXPECT_EQ(reread.GetProfileString(section, kEntryDefinition, ""), section + " mine");
        EXPECT_EQ(reread.GetProfileString(section, kEntryBankFormat, ""), everyByte);
        EXPECT_EQ(reread.GetProfileString(section, kEntryInstrFormat, ""), "USER:%03d ");
    }
    EXPECT_EQ(reread.GetProfileInt(kSettingsSection, kEntryShowOptions, 1), 0);
    EXPECT_EQ(reread.GetProfileInt(kSettingsSection, "Negative", 1), -8192);
    EXPECT_EQ(reread.GetProfileString(kSettingsSection, "Empty", "default"), "");
    // Nothing stored: the defaults, and nothing to warn about.
    EXPECT_EQ(reread.GetProfileString("No such section", kEntryDefinition, "def"), "def");
    EXPECT_EQ(reread.GetProfileString(kSettingsSection, "Absent", "def"), "def");
    EXPECT_EQ(reread.GetProfileInt(kSettingsSection, "Absent", 7), 7);
    EXPECT_EQ(m_warnings, test::Strings{});

    // The '/' names one key; texts are REG_SZ and numbers REG_DWORD.
    EXPECT_EQ(TypeOf(L"Roland JV/XP", L"InstrFormat"), static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(TypeOf(L"E-MU Orbit/Phatt/Caranaval", L"Definition"), static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(TypeOf(L"Settings", L"ShowOptions"), static_cast<DWORD>(REG_DWORD));
    HKEY nested = nullptr;
    EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, (m_key + L"\\Roland").c_str(), 0, KEY_READ, &nested),
              ERROR_SUCCESS);
}

TEST_F(RegistryTest, UnusableValuesReadTheirDefaultsWithOneWarningEach)
{
    const DWORD number = 12;
    const std::wstring twelve = L"12";
    const std::wstring beyond = L"Bank \u65E5";
    const std::wstring longest(kMaxRegistryText, L'x');
    const std::wstring tooLong(kMaxRegistryText + 1, L'x');
    const unsigned long long quad = 1;
    const char odd[3] = {'a', 0, 'b'};
    const auto size = [](const std::wstring& text) { return (text.size() + 1) * sizeof(wchar_t); };
    SetRaw(L"Settings", L"TextNumber", REG_SZ, twelve.c_str(), size(twelve));
    SetRaw(L"Settings", L"QuadNumber", REG_QWORD, &quad, sizeof quad);
    SetRaw(L"Settings", L"NumberText", REG_DWORD, &number, sizeof number);
    SetRaw(L"Settings", L"Beyond", REG_SZ, beyond.c_str(), size(beyond));
    SetRaw(L"Settings", L"TooLong", REG_SZ, tooLong.c_str(), size(tooLong));
    SetRaw(L"Settings", L"Longest", REG_SZ, longest.c_str(), size(longest));
    SetRaw(L"Settings", L"OddBytes", REG_SZ, odd, sizeof odd);
    SetRaw(L"Settings", L"Unterminated", REG_SZ, twelve.c_str(), twelve.size() * sizeof(wchar_t));

    const CRegistryProfile store = Store();
    for (int pass = 0; pass < 2; ++pass) {
        EXPECT_EQ(store.GetProfileInt("Settings", "TextNumber", 7), 7);
        EXPECT_EQ(store.GetProfileInt("Settings", "QuadNumber", 7), 7);
        EXPECT_EQ(store.GetProfileString("Settings", "NumberText", "def"), "def");
        EXPECT_EQ(store.GetProfileString("Settings", "Beyond", "def"), "def");
        EXPECT_EQ(store.GetProfileString("Settings", "TooLong", "def"), "def");
        EXPECT_EQ(store.GetProfileString("Settings", "OddBytes", "def"), "def");
        EXPECT_EQ(store.GetProfileString("Settings", "Longest", "def").size(), kMaxRegistryText);
        EXPECT_EQ(store.GetProfileString("Settings", "Unterminated", "def"), "12");
    }
    const std::string key =
        "HKEY_CURRENT_USER\\" + std::string(m_key.begin(), m_key.end()) + "\\Settings\\";
    const auto warning = [&key](const char* name, const char* why) {
        return "Registry value " + key + name + " ignored (" + why + "); its default applies";
    };
    EXPECT_EQ(m_warnings, (test::Strings{warning("TextNumber", "not a 32-bit number"),
                                         warning("QuadNumber", "not a 32-bit number"),
                                         warning("NumberText", "not a text"),
                                         warning("Beyond", "characters beyond Latin-1"),
                                         warning("TooLong", "longer than 32767 characters"),
                                         warning("OddBytes", "not a text")}));

    // A text the registry could not give back whole is not written at all.
    CRegistryProfile writer = Store();
    EXPECT_FALSE(
        writer.WriteProfileString("Settings", "Written", std::string(kMaxRegistryText + 1, 'x')));
    EXPECT_EQ(TypeOf(L"Settings", L"Written"), static_cast<DWORD>(REG_NONE));
}

// File names are the UTF-16 paths they are: a list stored before, or by
// another tool, reads as the same names, and a name beyond Latin-1 keeps.
TEST_F(RegistryTest, FileNameEntriesAreStoredAsUtf16Paths)
{
    const std::wstring stored = L"C:\\B\u00e4nke\\\u65E5.syx";
    SetRaw(L"Recent File List", L"File1", REG_SZ, stored.c_str(),
           (stored.size() + 1) * sizeof(wchar_t));
    CRegistryProfile store = Store();
    const std::string utf8 = "C:\\B\u00e4nke\\\u65E5.syx";
    EXPECT_EQ(store.GetProfileString("Recent File List", "File1", ""), utf8);
    ASSERT_TRUE(store.WriteProfileString("Settings", "OpenDir", utf8));
    wchar_t back[64] = {};
    DWORD size = sizeof back;
    RegGetValueW(HKEY_CURRENT_USER, (m_key + L"\\Settings").c_str(), L"OpenDir", RRF_RT_REG_SZ,
                 nullptr, back, &size);
    EXPECT_EQ(std::wstring(back), stored);
    // Other texts keep crossing byte for byte.
    ASSERT_TRUE(store.WriteProfileString("Settings", "Other", "\xE4"));
    EXPECT_EQ(store.GetProfileString("Settings", "Other", ""), "\xE4");
    EXPECT_TRUE(m_warnings.empty());
}

// A section nobody may read: its defaults, and one warning for the key
// rather than one for each value in it.
TEST_F(RegistryTest, AnUnreadableKeyReadsItsDefaultsWithOneWarning)
{
    CRegistryProfile store = Store();
    ASSERT_TRUE(store.WriteProfileString("Locked", kEntryBankFormat, "Mine %d"));
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, (m_key + L"\\Locked").c_str(), 0, WRITE_DAC, &key),
              ERROR_SUCCESS);
    SECURITY_DESCRIPTOR security{};
    InitializeSecurityDescriptor(&security, SECURITY_DESCRIPTOR_REVISION);
    ACL empty{};
    InitializeAcl(&empty, sizeof empty, ACL_REVISION);
    // An empty access list lets nobody in; none at all lets everybody.
    SetSecurityDescriptorDacl(&security, TRUE, &empty, FALSE);
    ASSERT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &security), ERROR_SUCCESS);

    EXPECT_EQ(store.GetProfileString("Locked", kEntryBankFormat, "def"), "def");
    EXPECT_EQ(store.GetProfileString("Locked", kEntryInstrFormat, "def"), "def");
    EXPECT_EQ(store.GetProfileInt("Locked", kEntryShowOptions, 7), 7);
    const std::string name =
        "HKEY_CURRENT_USER\\" + std::string(m_key.begin(), m_key.end()) + "\\Locked";
    EXPECT_EQ(m_warnings, test::Strings{"Registry key " + name +
                                        " cannot be read (Permission denied); its defaults apply"});

    SetSecurityDescriptorDacl(&security, FALSE, nullptr, FALSE);
    RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &security);
    RegCloseKey(key);
}

TEST_F(RegistryTest, TheConverterNamesBanksByTheStoredPatterns)
{
    CRegistryProfile store = Store();
    ASSERT_TRUE(store.WriteProfileString(LoadString(IDS_SYNTH_ORBIT), kEntryBankFormat, "Mine %d"));
    std::ostringstream out, err;
    const int status =
        RunConverter({std::string(BANKWISE_EXAMPLES_DIR) + "/emu-orbit.syx"}, out, err, store);
    EXPECT_EQ(status, kExitOk) << err.str();
    EXPECT_NE(out.str().find("[Mine 1]"), std::string::npos) << out.str();
}

}  // namespace
}  // namespace bankwise
