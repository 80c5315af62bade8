#include "sync/SyncState.h"
#include "sync/SyncTestSupport.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace
{

TEST(SyncState, ReadsBackWhatItWrites)
{
    const TSyncState states[] {
        {},
        { "/dav/calendars/zoë/Persönlich 2027/", "http://radicale.org/ns/sync/3f%1", { 2026, 1 },
            { { "uid-1", "/dav/a b.ics", "\"etag\twith tab\"",
                  { FingerprintOf(Ev("2026-12-31", 2359, "New Year's Eve", etAlarm, 1)) } },
                { "ÄÖÜ\n%20", "/dav/x.ics", "", {} },
                { "w", "/dav/w.ics", "W/\"1\"",
                    { FingerprintOf(Ev("2026-01-05", 0, "a")),
                        FingerprintOf(Ev("2026-01-12", 0, "a")) } } } },
    };
    for (const TSyncState& state : states) {
        const std::string text = FormatSyncState(state);
        EXPECT_EQ(ParseSyncState(text), state) << text;
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'),
            4 + static_cast<long>(state.Entries.size()));
    }
}

TEST(SyncState, RefusesADamagedText)
{
    const std::string good = FormatSyncState({ "/c/", "t", { 2026, 12 },
        { { "u", "/c/u.ics", "e", { FingerprintOf(Ev("2027-05-01", 1200, "x")) } } } });
    ASSERT_TRUE(ParseSyncState(good));
    const std::string damaged[] {
        "",
        "TALVO95 SYNC 2\n",
        good.substr(0, good.size() - 5), // cut short
        good + "Mystery\tline\n",
        "TALVO95 SYNC 1\nWindow\t2026\n",
        "TALVO95 SYNC 1\nWindow\t-1\t12\n",
        "TALVO95 SYNC 1\nToken\tbad%4\n",
        "TALVO95 SYNC 1\nToken\tbad%zz\n",
        "TALVO95 SYNC 1\nEntry\tu\t\te\n", // no href
        "TALVO95 SYNC 1\nEntry\tu\t/h\te\t20270501 1200 9 0 0000000000000000\n", // type 9
        "TALVO95 SYNC 1\nEntry\tu\t/h\te\t20270501 1200 1 0 00000000000000g0\n",
    };
    for (const std::string& text : damaged)
        EXPECT_FALSE(ParseSyncState(text)) << text;
}

TEST(SyncState, TheFileIsReplacedWholeOrNotAtAll)
{
    const auto dir
        = std::filesystem::temp_directory_path() / ("talvo-sync-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const auto file = dir / SyncStateFileName;
    bool damaged = true;
    EXPECT_EQ(LoadSyncState(file, &damaged), TSyncState {});
    EXPECT_FALSE(damaged);

    const TSyncState state { "/c/", "t", { 2026, 12 }, { { "u", "/c/u.ics", "e", {} } } };
    ASSERT_TRUE(SaveSyncState(file, state));
    EXPECT_EQ(LoadSyncState(file, &damaged), state);
    EXPECT_FALSE(damaged);

    std::ofstream(file, std::ios::app) << "garbage";
    EXPECT_EQ(LoadSyncState(file, &damaged), TSyncState {});
    EXPECT_TRUE(damaged);

    // A folder that cannot be written keeps the old file.
    std::filesystem::permissions(
        dir, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    if (getuid() != 0) {
        EXPECT_FALSE(SaveSyncState(file, state));
    }
    std::filesystem::permissions(dir, std::filesystem::perms::owner_all);
    std::filesystem::remove_all(dir);
}

} // namespace
