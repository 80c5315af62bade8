#include "MemorySettingsBackend.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"

#include <climits>
#include <gtest/gtest.h>
#include <tuple>

namespace
{

struct OptionsFixture : ::testing::Test {
    TMemorySettingsBackend* Memory = nullptr;
    TSettingsStore Store { [this] {
        auto backend = std::make_unique<TMemorySettingsBackend>();
        Memory = backend.get();
        return backend;
    }() };

    TSettings Loaded()
    {
        TSettings settings;
        LoadSettings(Store, settings);
        return settings;
    }
    TSettings LoadedWith(const std::string& name, const std::string& text)
    {
        Memory->Values[name] = text;
        return Loaded();
    }
};

// Everything but DateTray differs from the defaults; ShowHints and DateTray
// differ from each other, so neither can be read or written as the other.
TSettings Unusual()
{
    TSettings s;
    s.ModemPort = 3;
    s.AlarmSound = 4;
    s.ColourCalendar = RgbColour(1, 2, 3);
    s.ColourTree = SystemColour(15);
    s.ColourCalculator = RgbColour(255, 255, 255);
    s.ColourComingUp = 0;
    s.ColourOverdue = RgbColour(0, 128, 0);
    s.ColourToday = SystemColour(24);
    s.SettingsFont = { "Courier New", 12, fsBold | fsItalic };
    s.OnTop = true;
    s.ShowHints = false;
    s.DateTray = true;
    s.Notifications = false;
    s.RemindBefore = 45;
    s.Background = false;
    s.Sync = { "https://cal.example.org/dav/ zoë", "Zoë Ångström", "/dav/zoë/Ärbeit/", 90, true };
    return s;
}

} // namespace

using Options = OptionsFixture;

TEST_F(Options, AnEmptyStoreGivesTheDefaults)
{
    const TSettings s = Loaded();
    EXPECT_EQ(s.ModemPort, -1);
    EXPECT_EQ(s.AlarmSound, 0);
    EXPECT_EQ(s.ColourCalendar, 0x80000000u);
    EXPECT_EQ(s.ColourTree, 0x80000000u);
    EXPECT_EQ(s.ColourCalculator, 0x80000005u);
    EXPECT_EQ(s.ColourComingUp, 0x00FF0000u);
    EXPECT_EQ(s.ColourOverdue, 0x000000FFu);
    EXPECT_EQ(s.ColourToday, 0x0000FFFFu);
    EXPECT_EQ(s.SettingsFont.Name, "MS Sans Serif");
    EXPECT_EQ(s.SettingsFont.Size, 8);
    EXPECT_EQ(s.SettingsFont.Style, 0);
    EXPECT_FALSE(s.OnTop);
    EXPECT_TRUE(s.ShowHints);
    EXPECT_TRUE(s.DateTray);
    EXPECT_EQ(s, TSettings {});
    EXPECT_FALSE(Store.InBatch());
}

TEST_F(Options, ListSelectionsAreClampedToTheirLists)
{
    EXPECT_EQ(LoadedWith("ModemPort", "7").ModemPort, 4);
    EXPECT_EQ(LoadedWith("ModemPort", "-5").ModemPort, -1);
    EXPECT_EQ(LoadedWith("ModemPort", "2").ModemPort, 2);
    EXPECT_EQ(LoadedWith("AlarmSound", "-2147483648").AlarmSound, -1);
    EXPECT_EQ(LoadedWith("AlarmSound", "-1").AlarmSound, -1);
    EXPECT_EQ(LoadedWith("AlarmSound", "99").AlarmSound, 4);
}

TEST_F(Options, TextThatIsNoNumberOrDoesNotFitReadsAsTheDefault)
{
    EXPECT_EQ(LoadedWith("FontSize", "abc").SettingsFont.Size, 8);
    EXPECT_EQ(LoadedWith("FontSize", "").SettingsFont.Size, 8);
    EXPECT_EQ(LoadedWith("FontSize", "12pt").SettingsFont.Size, 8);
    EXPECT_EQ(LoadedWith("FontSize", "10").SettingsFont.Size, 10);
    EXPECT_TRUE(LoadedWith("ShowHints", "off").ShowHints);
    EXPECT_TRUE(LoadedWith("ShowHints", "").ShowHints);
    // Wrapped, this would be 1661992959, and written back so.
    const TSettings wide = LoadedWith("ColourToday", "99999999999999999999");
    EXPECT_EQ(wide.ColourToday, 0x0000FFFFu);
    SaveSettings(Store, wide);
    EXPECT_EQ(Memory->Text("ColourToday"), "65535");
}

TEST_F(Options, AnyNonZeroFlagIsOnAndIsWrittenBackAsOne)
{
    const TSettings s = LoadedWith("OnTop", "2");
    EXPECT_TRUE(s.OnTop);
    EXPECT_TRUE(LoadedWith("DateTray", "-7").DateTray);
    SaveSettings(Store, s);
    EXPECT_EQ(Memory->Text("OnTop"), "1");
    EXPECT_EQ(Memory->Text("DateTray"), "1");
    EXPECT_EQ(Memory->Text("ShowHints"), "1");
}

TEST_F(Options, DesktopColoursAreStoredAsNegativeNumbersAndReadBack)
{
    SaveSettings(Store, TSettings {});
    EXPECT_EQ(Memory->Text("ColourCalendar"), "-2147483648");
    EXPECT_EQ(Memory->Text("ColourTree"), "-2147483648");
    EXPECT_EQ(Memory->Text("ColourCalculator"), "-2147483643");
    EXPECT_EQ(Memory->Text("ColourComingUp"), "16711680");
    EXPECT_EQ(Memory->Text("ColourOverdue"), "255");
    EXPECT_EQ(Memory->Text("ColourToday"), "65535");
    TSettings back = Unusual();
    LoadSettings(Store, back);
    EXPECT_EQ(back.ColourCalendar, SystemColour(ScrollBarColourIndex));
    EXPECT_EQ(back.ColourCalculator, SystemColour(WindowColourIndex));
    EXPECT_EQ(back, TSettings {});
}

TEST_F(Options, AReminderLeadAndTheSyncIntervalAreKeptWithinADay)
{
    // Stored, the reminder's lead read, the minutes between syncs read: a sync
    // at least daily and at most every minute, every five when unreadable.
    const std::vector<std::tuple<std::string, int, int>> cases { { "-5", 0, 1 }, { "0", 0, 1 },
        { "15", 15, 15 }, { "1440", 1440, 1440 }, { "99999", 1440, 1440 }, { "x", 0, 5 },
        { "", 0, 5 } };
    for (const auto& [stored, lead, interval] : cases) {
        EXPECT_EQ(LoadedWith("RemindBefore", stored).RemindBefore, lead) << stored;
        EXPECT_EQ(LoadedWith("SyncInterval", stored).Sync.Interval, interval) << stored;
    }
}

TEST_F(Options, AValueOfAnotherKindGivesItsDefault)
{
    Memory->Values["ModemPort"] = TMemorySettingsBackend::TNumber { 2 };
    Memory->Values["ColourToday"] = TMemorySettingsBackend::TNumber { 0 };
    const TSettings s = Loaded();
    EXPECT_EQ(s.ModemPort, -1);
    EXPECT_EQ(s.ColourToday, 0x0000FFFFu);
}

TEST_F(Options, EveryValueRoundTrips)
{
    const TSettings saved = Unusual();
    SaveSettings(Store, saved);
    EXPECT_FALSE(Store.InBatch());
    const std::vector<std::string> order { "ModemPort", "AlarmSound", "ColourCalendar",
        "ColourTree", "ColourCalculator", "ColourComingUp", "ColourOverdue", "ColourToday",
        "FontName", "FontSize", "FontStyle", "OnTop", "ShowHints", "DateTray", "Notifications",
        "RemindBefore", "Background", "SyncUrl", "SyncUser", "SyncCalendar", "SyncInterval",
        "SyncUnencrypted" };
    EXPECT_EQ(Memory->Written, order);
    EXPECT_EQ(Memory->Text("FontName"), "Courier New");
    EXPECT_EQ(Memory->Text("FontStyle"), "3");
    EXPECT_EQ(Memory->Text("ColourTree"), "-2147483633");
    EXPECT_EQ(Loaded(), saved);
}

TEST_F(Options, ARefusedWriteAbandonsTheRestOfTheSave)
{
    Memory->Refused.insert("ColourTree");
    try {
        SaveSettings(Store, Unusual());
        FAIL() << "no error raised";
    } catch (const ESettingsError& error) {
        EXPECT_STREQ(error.what(), "Failed to set data for 'ColourTree'");
    }
    EXPECT_EQ(Memory->Written,
        (std::vector<std::string> { "ModemPort", "AlarmSound", "ColourCalendar" }));
    EXPECT_EQ(Memory->Text("FontName"), "<absent>");
    EXPECT_TRUE(Store.InBatch()); // never closed

    // What was written stays written; the rest still reads its default.
    const TSettings s = Loaded();
    EXPECT_EQ(s.ModemPort, 3);
    EXPECT_EQ(s.ColourCalendar, RgbColour(1, 2, 3));
    EXPECT_EQ(s.ColourTree, SystemColour(ScrollBarColourIndex));
    EXPECT_FALSE(Store.InBatch());
}

TEST_F(Options, FontNameKeepsTheCurrentFaceWhenEmptyAndIsCutTo31Characters)
{
    TSettings s;
    s.SettingsFont.Name = "Tahoma"; // picked in the font dialog, never saved
    LoadSettings(Store, s);
    EXPECT_EQ(s.SettingsFont.Name, "Tahoma");
    Memory->Values["FontName"] = std::string();
    LoadSettings(Store, s);
    EXPECT_EQ(s.SettingsFont.Name, "Tahoma");

    Memory->Values["FontName"] = std::string(32, 'z');
    LoadSettings(Store, s);
    EXPECT_EQ(s.SettingsFont.Name, std::string(31, 'z'));
    Memory->Values["FontName"] = std::string(40, 'x');
    LoadSettings(Store, s);
    EXPECT_EQ(s.SettingsFont.Name, std::string(31, 'x'));
    s.SettingsFont.Name = std::string(35, 'y');
    Memory->Values.erase("FontName");
    LoadSettings(Store, s);
    EXPECT_EQ(s.SettingsFont.Name, std::string(31, 'y'));

    s.SettingsFont.Name.clear();
    LoadSettings(Store, s);
    EXPECT_EQ(s.SettingsFont.Name, "MS Sans Serif");

    Memory->Values["FontName"] = std::string("Café Sans");
    LoadSettings(Store, s);
    EXPECT_EQ(s.SettingsFont.Name, "Café Sans");

    // Characters are counted, and none is cut in two.
    std::string wide;
    for (int i = 0; i < 20; ++i)
        wide += "東😀";
    Memory->Values["FontName"] = wide;
    LoadSettings(Store, s);
    EXPECT_EQ(s.SettingsFont.Name, wide.substr(0, 15 * (3 + 4) + 3));
    // Each damaged byte counts as one character.
    Memory->Values["FontName"] = "A" + std::string(300, '\xb9');
    LoadSettings(Store, s);
    std::string damaged = "A";
    for (int i = 0; i < 30; ++i)
        damaged += "\uFFFD";
    EXPECT_EQ(s.SettingsFont.Name, damaged);
}

TEST_F(Options, OnlyTheFourStyleBitsCount)
{
    EXPECT_EQ(LoadedWith("FontStyle", "-1").SettingsFont.Style, 15);
    EXPECT_EQ(LoadedWith("FontStyle", "16").SettingsFont.Style, 0);
    EXPECT_EQ(LoadedWith("FontStyle", "21").SettingsFont.Style, fsBold | fsUnderline);
    TSettings s;
    s.SettingsFont.Style = 0x7F;
    SaveSettings(Store, s);
    EXPECT_EQ(Memory->Text("FontStyle"), "15");
}
