// The persistent settings store: names with separators stay one section,
// every byte of a value comes back, and the converter reads it.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QSettings>
#include <QStringList>

#include <filesystem>
#include <sstream>
#include <string>

#include "Converter.h"
#include "SettingsProfile.h"
#include "gen/OrbitGen.h"

namespace bankwise {
namespace {

namespace fs = std::filesystem;

constexpr const char* kOrbit = "E-MU Orbit/Phatt/Caranaval";

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = fs::temp_directory_path() / (std::string("bankwise-settings-") + info->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_ini = (m_dir / "Bankwise.conf").string();
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path m_dir;
    std::string m_ini;
};

std::string AllBytes()
{
    std::string text;
    for (int c = 0; c < 256; ++c)
        text += static_cast<char>(c);
    return text;
}

TEST_F(SettingsTest, ValuesRoundTripByteForByte)
{
    const std::vector<std::pair<std::string, std::string>> values{
        {"Definition", "My Orbit"},
        {"BankFormat", "Bank %d"},
        {"InstrFormat", "%c%02d:"},
        {"Trailing", "USER:%03d "},               // the blank is part of the pattern
        {"Leading", "  two blanks first"},
        {"Separators", "a/b\\c, d; e = f \"q\""},
        {"Latin1", "Caf\xE9 \xA9\xFF"},
        {"Marker", "@ByteArray(x)"},               // looks like Qt's own type tags
        {"Every byte", AllBytes()},
        {"Empty", ""},
    };
    {
        CSettingsProfile profile(m_ini);
        for (const auto& [entry, value] : values)
            ASSERT_TRUE(profile.WriteProfileString(kOrbit, entry, value)) << entry;
    }
    const CSettingsProfile reread(m_ini);
    for (const auto& [entry, value] : values)
        EXPECT_EQ(reread.GetProfileString(kOrbit, entry, "default"), value) << entry;
    EXPECT_EQ(reread.GetProfileString(kOrbit, "Absent", "default"), "default");
    EXPECT_EQ(reread.GetProfileString("Absent section", "Definition", "x"), "x");
}

TEST_F(SettingsTest, IntegersRoundTripAndFallBackToTheDefault)
{
    {
        CSettingsProfile profile(m_ini);
        ASSERT_TRUE(profile.WriteProfileInt("Settings", "ShowOptions", 0));
        ASSERT_TRUE(profile.WriteProfileInt("Settings", "Negative", -8192));
        ASSERT_TRUE(profile.WriteProfileInt("Settings", "Large", 2147483647));
        ASSERT_TRUE(profile.WriteProfileString("Settings", "NotANumber", "12abc"));
        ASSERT_TRUE(profile.WriteProfileString("Settings", "Empty", ""));
    }
    const CSettingsProfile reread(m_ini);
    EXPECT_EQ(reread.GetProfileInt("Settings", "ShowOptions", 1), 0);
    EXPECT_EQ(reread.GetProfileInt("Settings", "Negative", 1), -8192);
    EXPECT_EQ(reread.GetProfileInt("Settings", "Large", 1), 2147483647);
    EXPECT_EQ(reread.GetProfileInt("Settings", "NotANumber", 7), 7);
    EXPECT_EQ(reread.GetProfileInt("Settings", "Empty", 7), 7);
    EXPECT_EQ(reread.GetProfileInt("Settings", "Absent", 1), 1);
    EXPECT_EQ(reread.GetProfileString("Settings", "ShowOptions", ""), "0");
}

TEST_F(SettingsTest, SeparatorsInNamesNeitherNestNorCollide)
{
    // Each pair would share one QSettings key if '/', '\' or '%' went
    // through unescaped.
    const std::vector<std::pair<std::string, std::string>> names{
        {kOrbit, "Definition"},
        {"E-MU Orbit", "Phatt/Caranaval/Definition"},
        {"E-MU Orbit\\Phatt\\Caranaval", "Definition"},
        {"E-MU Orbit%2FPhatt%2FCaranaval", "Definition"},
        {"E-MU Orbit%252FPhatt%252FCaranaval", "Definition"},
    };
    {
        CSettingsProfile profile(m_ini);
        for (std::size_t i = 0; i < names.size(); ++i)
            ASSERT_TRUE(profile.WriteProfileInt(names[i].first, names[i].second,
                                                static_cast<int>(i)));
    }
    const CSettingsProfile reread(m_ini);
    for (std::size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(reread.GetProfileInt(names[i].first, names[i].second, -1), static_cast<int>(i))
            << names[i].first << " / " << names[i].second;

    // The family section is one group at the top, found by its escaped name.
    QSettings raw(QString::fromStdString(m_ini), QSettings::IniFormat);
    const QStringList groups = raw.childGroups();
    EXPECT_EQ(groups.size(), static_cast<qsizetype>(names.size()));
    EXPECT_TRUE(groups.contains(QStringLiteral("E-MU Orbit%2FPhatt%2FCaranaval")));
    EXPECT_EQ(raw.value(QStringLiteral("E-MU Orbit%2FPhatt%2FCaranaval/Definition")).toInt(), 0);
    for (const auto& [section, entry] : names)
        EXPECT_EQ(UnescapeSettingsName(EscapeSettingsName(section)), section);
}

#if defined(__linux__)
TEST_F(SettingsTest, TheUserStoreIsOrvaneBankwise)
{
    // Qt looks the configuration folder up once per process; no other test
    // opens the user store, so this one can point it into the test folder.
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(m_dir.string()));
    {
        CSettingsProfile profile;
        EXPECT_TRUE(profile.WriteProfileString(kOrbit, "Definition", "Mine"));
    }
    if (saved.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", saved);
    EXPECT_EQ(CSettingsProfile((m_dir / "Orvane" / "Bankwise.conf").string())
                  .GetProfileString(kOrbit, "Definition", ""),
              "Mine");
}
#endif

TEST_F(SettingsTest, TheConverterReadsTheStoredFamilySection)
{
    const fs::path dump = m_dir / "orbit.syx";
    gen::WriteFile(dump, gen::MakeOrbitPreset(129, "Stored"));
    CSettingsProfile profile(m_ini);
    ASSERT_TRUE(profile.WriteProfileString(kOrbit, "BankFormat", "Kit %d"));
    ASSERT_TRUE(profile.WriteProfileString(kOrbit, "InstrFormat", "%d/"));

    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunConverter({dump.string()}, out, err, profile), kExitOk) << err.str();
    EXPECT_NE(out.str().find("\r\n[Kit 1]\r\n0=128/\r\n1=129/Stored\r\n"), std::string::npos)
        << out.str();
    EXPECT_NE(out.str().find("\r\nPatch[1]=Kit 1\r\n"), std::string::npos);
}

}  // namespace
}  // namespace bankwise
