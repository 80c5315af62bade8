#include "alarms/AlarmTimes.h"
#include "alarms/SnoozeList.h"
#include "alarms/TickFixture.h"

#include <sys/stat.h>

namespace
{

std::vector<std::string> Names(const std::vector<TAlarmEvent>& alarms)
{
    std::vector<std::string> names;
    for (const TAlarmEvent& alarm : alarms)
        names.push_back(alarm.Description);
    return names;
}

int64_t Stamp(int year, int month, int day, int hour, int minute)
{
    return TSecondTick::MinuteStamp(EncodeDate(year, month, day) + EncodeTime(hour, minute));
}

TAlarmEvent Alarm(int year, int month, int day, uint16_t time, std::string text)
{
    return { static_cast<int32_t>(EncodeDate(year, month, day)), time, std::move(text) };
}

} // namespace

using LateAlarms = SecondTickTest;

TEST_F(LateAlarms, TheAlarmsBetweenTwoMinutesAreLiveAlarmsOfTheLastDayInTheOrderTheyRing)
{
    Open(2026, 3, 1, 3);
    Add(2, 28, 2359, "Last of February");
    Add(3, 1, 0, "Midnight");
    Add(3, 1, 730, "Caf\xE9 \xE0 deux");
    Add(3, 1, 730, " leading blank");
    Add(3, 1, 730, "Done", etTicked);
    Add(3, 1, 730, "   ");
    Add(3, 1, 760, "Minute sixty");
    Add(3, 1, 2500, "Hour twenty-five");
    Add(3, 1, 645, "Earlier, listed later");
    Add(3, 2, 645, "Tomorrow");
    Diary.TodayDay = 1;
    const struct {
        int64_t After, Before;
        Strings Expected;
    } cases[] = {
        { Stamp(2026, 2, 28, 23, 58), Stamp(2026, 3, 1, 0, 1), { "Last of February", "Midnight" } },
        { Stamp(2026, 2, 28, 23, 59), Stamp(2026, 3, 1, 0, 0), {} },
        { Stamp(2026, 3, 1, 6, 44), Stamp(2026, 3, 1, 7, 31),
            { "Earlier, listed later", "Caf\xE9 \xE0 deux", " leading blank" } },
        { Stamp(2026, 3, 1, 7, 30), Stamp(2026, 3, 2, 6, 46), { "Tomorrow" } },
        // No further back than 24 hours, whatever the last minute handled.
        { Stamp(2025, 1, 1, 0, 0), Stamp(2026, 3, 1, 23, 59),
            { "Midnight", "Earlier, listed later", "Caf\xE9 \xE0 deux", " leading blank" } },
        { Stamp(2026, 3, 1, 8, 0), Stamp(2026, 3, 1, 7, 0), {} },
    };
    for (const auto& test : cases)
        EXPECT_EQ(Names(AlarmsBetween(Diary, test.After, test.Before)), test.Expected)
            << test.After << ".." << test.Before;
}

TEST_F(LateAlarms, AnAlarmLiesAheadUntilTheLastOneOfTheWindowHasRung)
{
    Open(2026, 3, 10, 3);
    EXPECT_FALSE(AlarmAhead(Diary, Stamp(2026, 3, 10, 0, 0)));
    Add(3, 9, 1200, "Yesterday");
    Add(3, 10, 930, "This morning");
    Add(3, 11, 930, "Done tomorrow", etTicked);
    EXPECT_TRUE(AlarmAhead(Diary, Stamp(2026, 3, 10, 9, 29)));
    EXPECT_FALSE(AlarmAhead(Diary, Stamp(2026, 3, 10, 9, 30)));
    Add(1, 20, 800, "Next January");
    EXPECT_TRUE(AlarmAhead(Diary, Stamp(2026, 3, 10, 23, 59)));
}

TEST_F(LateAlarms, AnAlarmExistsOnlyUnchanged)
{
    Open(2026, 3, 10, 3);
    Add(3, 10, 930, "Zahnarzt M\xFCller");
    Add(3, 10, 1000, "Marked done", etTicked);
    const TAlarmEvent present = Alarm(2026, 3, 10, 930, "Zahnarzt M\xFCller");
    EXPECT_TRUE(AlarmExists(Diary, present));
    for (const TAlarmEvent& changed : { Alarm(2026, 3, 10, 931, present.Description),
             Alarm(2026, 3, 11, 930, present.Description), Alarm(2026, 3, 10, 930, "Zahnarzt"),
             Alarm(2026, 3, 10, 1000, "Marked done") })
        EXPECT_FALSE(AlarmExists(Diary, changed)) << changed.Description << changed.Time;
}

TEST_F(LateAlarms, SnoozesSurviveAFreshListAndSkipWhatDoesNotRead)
{
    std::vector<TSnoozeList::TSnooze> snoozes {
        { 100, Alarm(2026, 12, 31, 2359, "Tab\there and  two blanks ") },
        { -5, Alarm(1900, 1, 1, 0, "") },
        { 66'000'000, Alarm(2026, 3, 9, 905, "\xC4rger mit \xDF & <\"quotes\">") },
    };
    const std::string garbage = "x 2026-01-01 09:00 Word\n12 2026-02-30 09:00 No such day\n"
                                "13 2026-01-01 24:00 No such hour\n14 2026-01-01 0900 Form\n\n";
    std::stable_sort(
        snoozes.begin(), snoozes.end(), [](const auto& a, const auto& b) { return a.Due < b.Due; });
    const std::string text = TSnoozeList::Format(snoozes);
    EXPECT_EQ(text.substr(0, 36), "-5 1900-01-01 00:00 \r\n100 2026-12-31");
    EXPECT_EQ(TSnoozeList::Parse(garbage + text), snoozes);

    TSnoozeList list(Folder);
    for (const auto& snooze : snoozes)
        EXPECT_TRUE(list.Add(snooze.Alarm, snooze.Due, 0));
    EXPECT_TRUE(list.Add(snoozes[1].Alarm, 200, 0)); // snoozed again: one entry, later
    TSnoozeList reread(Folder);
    reread.Load();
    ASSERT_EQ(reread.Snoozes().size(), 3u);
    EXPECT_EQ(reread.Snoozes()[1].Due, 200);
    const auto due = reread.TakeDue(200, 0);
    EXPECT_EQ(due.size(), 2u);
    reread.Load();
    EXPECT_EQ(reread.Snoozes().size(), 1u);
}

TEST_F(LateAlarms, ASnoozeRingsAgainOnceAfterARestartButNotOnceItsEventChanged)
{
    Open(2026, 3, 10, 3);
    Add(3, 10, 930, "Dentist");
    Add(3, 10, 930, "Renamed later");
    TickAt(2026, 3, 10, 9, 30);
    Tick.Acknowledge();
    EXPECT_TRUE(Tick.Snooze(Alarm(2026, 3, 10, 930, "Dentist"), 5));
    EXPECT_TRUE(Tick.Snooze(Alarm(2026, 3, 10, 930, "Renamed later"), 5));
    TickAt(2026, 3, 10, 9, 34);
    EXPECT_EQ(Host.Popups.size(), 2u);

    // A fresh run finds the snoozes in their file.
    TFakeHost host;
    TSecondTick restarted { Diary, Settings, Clock, Folder, host };
    Diary.DiaryDays[DayIndex(3, 10)]->Next->Description = "Renamed";
    for (int minute : { 35, 35, 36 }) {
        Clock.Set(EncodeDate(2026, 3, 10) + EncodeTime(9, minute));
        restarted.SecondTimer();
    }
    EXPECT_EQ(host.Popups, Strings { "snoozed 09:30 Dentist" });
    EXPECT_TRUE(restarted.AlarmPending());
    EXPECT_TRUE(restarted.Snoozes().Snoozes().empty());
}

TEST_F(LateAlarms, AStartRingsTheAlarmsMissedSinceTheLastRunWithinADay)
{
    Open(2026, 3, 10, 3);
    Add(3, 9, 800, "Two days ago");
    Add(3, 9, 2000, "Last night");
    Add(3, 10, 700, "This morning \xA7 7");
    Add(3, 10, 1000, "Still to come");
    Clock.Set(EncodeDate(2026, 3, 10) + EncodeTime(9, 0));
    Diary.CountOverdue(); // as the load at start does
    EXPECT_EQ(Diary.OverdueCount, 3);
    Backend->Values["LastTick"] = std::to_string(Stamp(2026, 3, 9, 7, 0));
    TickAt(2026, 3, 10, 9, 0);
    EXPECT_EQ(
        Host.Popups, (Strings { "missed 20:00 Last night", "missed 07:00 This morning \xA7 7" }));
    EXPECT_EQ(Host.Missed, std::vector<size_t> { 2 });
    EXPECT_TRUE(Tick.AlarmPending());
    EXPECT_EQ(Diary.OverdueCount, 3);
    EXPECT_EQ(Backend->Text("LastTick"), std::to_string(Stamp(2026, 3, 10, 9, 0)));

    // A restart in the same minute, or with no last minute stored, misses nothing.
    for (const std::string& stored : { std::to_string(Stamp(2026, 3, 10, 9, 0)), std::string() }) {
        Backend->Values["LastTick"] = stored;
        Tick.ResetForStart();
        TickAt(2026, 3, 10, 9, 1);
        EXPECT_EQ(Host.Popups.size(), 2u) << stored;
    }
}

TEST_F(LateAlarms, ARemindersComesTheChosenMinutesAheadOnceAndAtStartForNearerAlarms)
{
    Open(2026, 3, 10, 3);
    Add(3, 10, 1430, "Dentist");
    Add(3, 10, 1435, "Near at start");
    Add(3, 11, 5, "After midnight");
    Add(3, 11, 0, "No time");
    Host.Lead = 10;
    TickAt(2026, 3, 10, 14, 26);
    EXPECT_EQ(Host.Reminders, (Strings { "4 Dentist", "9 Near at start" }));
    EXPECT_EQ(Host.Sounds + Host.Popups.size(), 0u);
    for (int minute = 27; minute < 60; ++minute)
        TickAt(2026, 3, 10, 14, minute);
    EXPECT_EQ(Host.Reminders.size(), 2u);
    TickAt(2026, 3, 10, 23, 55);
    TickAt(2026, 3, 10, 23, 55, 30);
    EXPECT_EQ(Host.Reminders.back(), "10 After midnight");
    EXPECT_EQ(Host.Reminders.size(), 3u);
}
