#include "MemorySettingsBackend.h"
#include "settings/SettingsStore.h"

#include <climits>
#include <gtest/gtest.h>
#include <set>

namespace
{

struct StoreFixture : ::testing::Test {
    TMemorySettingsBackend* Memory = nullptr;
    TSettingsStore Store { [this] {
        auto backend = std::make_unique<TMemorySettingsBackend>();
        Memory = backend.get();
        return backend;
    }() };
};

} // namespace

TEST(SettingKeys, DistinctNamesWithDefaultsWhereTheStoreSuppliesThem)
{
    std::set<std::string_view> names;
    for (const TSettingKey& key : SettingKeys) {
        names.insert(key.Name);
        const bool callerSupplies
            = key.Kind == TSettingKind::Geometry || key.Kind == TSettingKind::Text;
        EXPECT_EQ(key.Default.has_value(), !callerSupplies) << key.Name;
    }
    EXPECT_EQ(names.size(), SettingKeys.size());
}

using SettingsStore = StoreFixture;

TEST_F(SettingsStore, IntegersReadTheirDefaultUnlessTheTextIsAWholeNumberThatFits)
{
    EXPECT_EQ(Store.ReadSettingInt("WinLeft", 17), 17); // absent
    const std::pair<std::string, int32_t> cases[]
        = { { "", 17 }, { "abc", 17 }, { "-", 17 }, { "12px", 17 }, { " 5", 17 }, { "5 ", 17 },
              { "+5", 17 }, { "\xE9", 17 }, { "99999999999999999999", 17 }, { "2147483648", 17 },
              { "-2147483649", 17 }, { "4294967313", 17 }, { "2147483647", INT32_MAX },
              { "-2147483648", INT32_MIN }, { "-0", 0 }, { "007", 7 }, { "-42", -42 } };
    for (const auto& [text, value] : cases) {
        Memory->Values["WinSplit"] = text;
        EXPECT_EQ(Store.ReadSettingInt("WinSplit", 17), value) << text;
    }
    Memory->Values["Month"] = std::string();
    EXPECT_EQ(Store.ReadSettingInt(Setting::Month), 99);
}

TEST_F(SettingsStore, IntegersRoundTripTheWholeRangeAsSignedDecimalText)
{
    Store.OpenSettings();
    for (int32_t n : { INT32_MIN, INT32_MIN + 5, -1, 0, 7, 16711680, INT32_MAX }) {
        Store.WriteSettingInt(Setting::SchWinWidth.Name, n);
        EXPECT_EQ(Store.ReadSettingInt(Setting::SchWinWidth.Name, 468), n);
    }
    Store.WriteSettingInt("Month", -2147483648);
    EXPECT_EQ(Memory->Text("Month"), "-2147483648");
    Store.WriteSettingInt("Month", 255);
    EXPECT_EQ(Memory->Text("Month"), "255");
    Store.CloseSettings();
    EXPECT_FALSE(Store.InBatch());
}

TEST_F(SettingsStore, AValueOfAnotherKindReadsAsAbsent)
{
    Memory->Values["FontSize"] = TMemorySettingsBackend::TNumber { 12 };
    EXPECT_EQ(Store.ReadSettingText("FontSize"), "");
    EXPECT_EQ(Store.ReadSettingInt("FontSize", 8), 8);
}

TEST_F(SettingsStore, ATextEndsAtItsFirstNul)
{
    Memory->Values["FontName"] = std::string("Arial\0junk", 10);
    EXPECT_EQ(Store.ReadSettingText("FontName"), "Arial");
}

TEST_F(SettingsStore, ARefusedWriteRaisesWithTheValueNameAndLeavesTheBatchOpen)
{
    Memory->Refused.insert("WinTop");
    Store.OpenSettings();
    Store.WriteSettingInt("WinLeft", 10);
    try {
        Store.WriteSettingInt("WinTop", 20);
        FAIL() << "no error raised";
    } catch (const ESettingsError& error) {
        EXPECT_STREQ(error.what(), "Failed to set data for 'WinTop'");
    }
    EXPECT_TRUE(Store.InBatch());
    EXPECT_EQ(Memory->Text("WinLeft"), "10");
    EXPECT_EQ(Memory->Text("WinTop"), "<absent>");
    EXPECT_THROW(Store.WriteSettingText("WinTop", "x"), std::exception);

    // The next batch starts afresh.
    Memory->Refused.clear();
    Store.OpenSettings();
    Store.WriteSettingInt("WinTop", 20);
    Store.CloseSettings();
    EXPECT_EQ(Store.ReadSettingInt("WinTop", 0), 20);
}

TEST_F(SettingsStore, AKeyWithoutDefaultNeedsTheCallersDefault)
{
    EXPECT_THROW(Store.ReadSettingInt(Setting::WinLeft), std::logic_error);
    EXPECT_EQ(Store.ReadSettingInt(Setting::WinLeft.Name, 3), 3);
}

TEST_F(SettingsStore, ABatchThatCannotBeStoredRaisesNamingItsFirstValue)
{
    Memory->RefuseBatch = true;
    Store.OpenSettings();
    EXPECT_EQ(Store.ReadSettingInt("Month", 99), 99);
    Store.CloseSettings(); // reads alone store nothing
    Store.OpenSettings();
    Store.WriteSettingInt("SchWinLeft", 1);
    Store.WriteSettingInt("WinLeft", 2);
    try {
        Store.CloseSettings();
        FAIL() << "no error raised";
    } catch (const ESettingsError& error) {
        EXPECT_STREQ(error.what(), "Failed to set data for 'SchWinLeft'");
    }
    EXPECT_FALSE(Store.InBatch());
}
