// The shared settings store: names with separators stay one section, and
// every byte of a value comes back.
#include <gtest/gtest.h>

#include <QSettings>

#include "SettingsProfile.h"
#include "TestSupport.h"

namespace bankwise {
namespace {

constexpr const char* kOrbit = "E-MU Orbit/Phatt/Caranaval";

TEST(SettingsTest, NamesValuesAndIntegersComeBackAsWritten)
{
    const test::CScratchDir scratch;
    const std::string path = (scratch / "settings.conf").string();
    std::string everyByte;
    for (int c = 0; c < 256; ++c)
        everyByte += static_cast<char>(c);
    struct Entry
    {
        std::string section, entry, value;
    };
    const std::vector<Entry> entries{
        // Each of these would share a QSettings key with another if '/', '\' or
        // '%' in a name went through unescaped.
        {kOrbit, "Definition", "1"},
        {"E-MU Orbit", "Phatt/Caranaval/Definition", "2"},
        {"E-MU Orbit\\Phatt\\Caranaval", "Definition", "3"},
        {"E-MU Orbit%2FPhatt%2FCaranaval", "Definition", "4"},
        {"E-MU Orbit%252FPhatt%252FCaranaval", "Definition", "5"},
        {kOrbit, "Every byte", everyByte},
        {kOrbit, "Separators", "a/b\\c%2F d; e = f \"q\""},
        {kOrbit, "Trailing", "USER:%03d "},   // the blank is part of the pattern
        {kOrbit, "Marker", "@ByteArray(x)"},  // looks like Qt's own type tags
        {kOrbit, "Empty", ""},
    };
    const std::vector<std::pair<std::string, int>> numbers{
        {"Zero", 0}, {"Negative", -8192}, {"Large", 2147483647}};
    {
        CSettingsProfile profile(path);
        for (const Entry& e : entries)
            ASSERT_TRUE(profile.WriteProfileString(e.section, e.entry, e.value)) << e.entry;
        for (const auto& [entry, number] : numbers)
            ASSERT_TRUE(profile.WriteProfileInt("Settings", entry, number)) << entry;
        ASSERT_TRUE(profile.WriteProfileString("Settings", "NotANumber", "12abc"));
    }
    const CSettingsProfile reread(path);
    for (const Entry& e : entries) {
        EXPECT_EQ(reread.GetProfileString(e.section, e.entry, "default"), e.value) << e.section;
        EXPECT_EQ(UnescapeSettingsName(EscapeSettingsName(e.section)), e.section);
    }
    for (const auto& [entry, number] : numbers)
        EXPECT_EQ(reread.GetProfileInt("Settings", entry, 1), number) << entry;
    EXPECT_EQ(reread.GetProfileString(kOrbit, "Absent", "default"), "default");
    EXPECT_EQ(reread.GetProfileInt("Settings", "NotANumber", 7), 7);
    EXPECT_EQ(reread.GetProfileInt(kOrbit, "Empty", 7), 7);
    EXPECT_EQ(reread.GetProfileInt("Settings", "Absent", 7), 7);

    // The family section is one group at the top, found by its escaped name.
    QSettings raw(QString::fromStdString(path), QSettings::IniFormat);
    EXPECT_EQ(raw.childGroups().size(), 6);  // the five family-like sections and "Settings"
    EXPECT_EQ(raw.value("E-MU Orbit%2FPhatt%2FCaranaval/Definition").toString(), "1");
}

}  // namespace
}  // namespace bankwise
