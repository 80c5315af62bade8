#include "alarms/TickFixture.h"

TEST_F(SecondTickTest, AnAlarmRingsAtTheFirstTickOfItsMinuteOnlyAndRepeatsItsSoundUntilAcknowledged)
{
    Open(2026, 3, 10, 3);
    Add(3, 10, 930, "Dentist");
    for (int second = 55; second < 60; ++second)
        TickAt(2026, 3, 10, 9, 29, second);
    EXPECT_TRUE(Host.Popups.empty());
    EXPECT_EQ(Host.TrayImage, 1);
    for (int second = 0; second < 60; ++second)
        TickAt(2026, 3, 10, 9, 30, second);
    EXPECT_EQ(Host.Popups, Strings { "09:30 Dentist" });
    EXPECT_EQ(Diary.OverdueCount, 1);
    EXPECT_EQ(View.OverdueText, "1 Overdue Events");
    EXPECT_EQ(Host.AcknowledgeEnabled, 1);
    EXPECT_EQ(Host.Refreshes, 2);
    EXPECT_TRUE(Tick.AlarmPending());
    EXPECT_EQ(Host.Sounds, 1);
    EXPECT_EQ(Host.TrayImage, 4);

    TickAt(2026, 3, 10, 9, 31, 0);
    TickAt(2026, 3, 10, 9, 31, 30);
    EXPECT_EQ(Host.Sounds, 2);
    EXPECT_EQ(Host.TrayImage, 4);
    Tick.Acknowledge();
    TickAt(2026, 3, 10, 9, 32);
    EXPECT_EQ(Host.Sounds, 2);
    EXPECT_EQ(Host.TrayImage, 1);
    EXPECT_EQ(Host.Popups.size(), 1u);
}

TEST_F(SecondTickTest, OnlyLiveAlarmsOfTodayAtThisMinuteRingEachWithItsOwnNote)
{
    Open(2026, 3, 10, 3);
    Add(3, 10, 930, "Done already", etTicked);
    Add(3, 10, 930, "Plain note", etBlank);
    Add(3, 10, 930, "Called off", etCrossed);
    Add(3, 10, 930, "   ");
    Add(3, 10, 960, "Minute sixty");
    Add(3, 11, 930, "Tomorrow");
    Add(3, 10, 930, "Call Bob");
    Add(3, 10, 930, "Call Bob");
    TickAt(2026, 3, 10, 9, 30);
    TickAt(2026, 3, 10, 10, 0);
    EXPECT_EQ(Host.Popups, (Strings { "09:30 Call Bob", "09:30 Call Bob" }));
    EXPECT_EQ(Diary.OverdueCount, 2);
    EXPECT_EQ(View.OverdueText, "2 Overdue Events");
}

TEST_F(SecondTickTest, AnAlarmAtMidnightPopsUpAndCountsButLeavesNothingPending)
{
    Open(2026, 3, 10, 3);
    Add(3, 11, 0, "Untimed");
    TickAt(2026, 3, 10, 23, 59, 59);
    TickAt(2026, 3, 11, 0, 0, 0);
    EXPECT_EQ(Host.Popups, Strings { "Untimed" });
    EXPECT_EQ(Diary.OverdueCount, 1);
    EXPECT_EQ(Host.AcknowledgeEnabled, 1);
    EXPECT_FALSE(Tick.AlarmPending());
    EXPECT_EQ(Host.Sounds, 0);
    EXPECT_EQ(Host.TrayImage, 1);
}

TEST_F(SecondTickTest, AnEventTypedForTodayAndNotYetCommittedStillRings)
{
    Open(2026, 3, 10, 3);
    TDiaryEvent* typed = Diary.EventAtRow(1);
    typed->EventType = etAlarm;
    typed->Time = 1415;
    typed->Description = "Typed just now";
    ASSERT_EQ(Diary.DiaryDays[DayIndex(3, 10)], nullptr);
    TickAt(2026, 3, 10, 14, 15);
    EXPECT_EQ(Host.Popups, Strings { "14:15 Typed just now" });
    EXPECT_EQ(Diary.DiaryDays[DayIndex(3, 10)].get(), typed);
}

TEST_F(SecondTickTest, MarchPurgesJanuaryIntoTheLogAndKeepsLockedEventsAsAlarms)
{
    Open(2026, 3, 1, 2);
    Add(1, 5, 930, "Dentist");
    Add(1, 5, 0, "Party", etCrossed);
    Add(1, 20, 0, "Birthday Ann", etTicked, 1);
    Add(1, 31, 0, "Notes", etBlank);
    Add(2, 5, 800, "February stays", etTicked);
    TickAt(2026, 3, 1, 0, 0, 30);
    EXPECT_EQ(Log(),
        "05 Jan 2026\t09:30\tAlarm\tDentist\r\n05 Jan 2026\t\tCanned\tParty\r\n"
        "31 Jan 2026\t\t\tNotes\r\n");
    EXPECT_TRUE(Slot(1, 5).empty());
    EXPECT_EQ(Slot(1, 20), Strings { "1Birthday Ann" });
    EXPECT_EQ(Slot(2, 5), Strings { "2February stays" });
    EXPECT_EQ(Backend->Text("Month"), "3");
    EXPECT_EQ(Tick.PurgedMonth(), 3);

    // Once a month: later minutes of March purge nothing more.
    Add(1, 6, 0, "Typed into January");
    TickAt(2026, 3, 31, 23, 59);
    EXPECT_EQ(Slot(1, 6), Strings { "1Typed into January" });
}

TEST_F(SecondTickTest, JanuaryAndFebruaryPurgeTheLastTwoMonthsOfLastYear)
{
    Open(2026, 1, 15, 12);
    Add(11, 10, 0, "November");
    Add(12, 24, 1800, "December", etTicked);
    TickAt(2026, 1, 15, 8, 0);
    EXPECT_EQ(Backend->Text("Month"), "1");
    TickAt(2026, 2, 1, 8, 0);
    EXPECT_EQ(Log(), "10 Nov 2025\t\tAlarm\tNovember\r\n24 Dec 2025\t18:00\tDone\tDecember\r\n");
    EXPECT_EQ(Backend->Text("Month"), "2");
}

TEST_F(SecondTickTest, AMonthAlreadyPurgedIsLeftAloneAndAMissingOrBadRecordPurges)
{
    Open(2026, 3, 1, 3);
    Add(1, 5, 0, "Kept");
    TickAt(2026, 3, 1, 8, 0);
    EXPECT_EQ(Slot(1, 5), Strings { "1Kept" });
    EXPECT_FALSE(fs::exists(Folder / DiaryOldFileName));
    EXPECT_EQ(Backend->Written, Strings { "LastTick" });

    for (const char* stored : { "", "abc", "257" }) {
        Tick.ResetForStart();
        Backend->Values["Month"] = std::string(stored);
        Add(1, 5, 0, "Purged");
        TickAt(2026, 3, 1, 8, 0);
        EXPECT_TRUE(Slot(1, 5).empty()) << stored;
        EXPECT_EQ(Backend->Text("Month"), "3");
    }
}

TEST_F(SecondTickTest, APurgeOfTheSelectedDaysMonthReloadsThePage)
{
    Open(2026, 3, 1, 2);
    Add(1, 10, 0, "Meeting");
    Add(1, 10, 0, "Birthday", etBlank, 1);
    View.SetCalendarDate(EncodeDate(2026, 1, 10));
    Diary.EventAtRow(4); // two empty rows below the events
    const int repaints = View.Repaints;
    TickAt(2026, 3, 1, 9, 0);
    EXPECT_GT(View.Repaints, repaints);
    ASSERT_NE(Diary.DayEvents(), nullptr);
    EXPECT_EQ(Diary.DayEvents(), Diary.DiaryDays[DayIndex(1, 10)].get());
    EXPECT_EQ(Diary.DayEvents()->Description, "Birthday");
    EXPECT_EQ(Diary.DayEvents()->EventType, etAlarm);
    EXPECT_EQ(Diary.DayEvents()->Next, nullptr);
    // The empty rows were nobody's events: nothing of them reaches the log.
    EXPECT_EQ(Log(), "10 Jan 2026\t\tAlarm\tMeeting\r\n");
}

TEST_F(SecondTickTest, ARefusedMonthRecordIsReportedAfterThePurgeAndNotRepeated)
{
    Open(2026, 3, 1, 2);
    Backend->Refused.insert("Month");
    Add(1, 5, 0, "Dentist");
    EXPECT_THROW(TickAt(2026, 3, 1, 9, 0, 0), ESettingsError);
    EXPECT_TRUE(Slot(1, 5).empty());
    const std::string log = Log();
    EXPECT_EQ(log, "05 Jan 2026\t\tAlarm\tDentist\r\n");
    EXPECT_NO_THROW(TickAt(2026, 3, 1, 9, 0, 1));
    EXPECT_NO_THROW(TickAt(2026, 3, 1, 9, 1, 0));
    EXPECT_EQ(Log(), log);
}

TEST_F(SecondTickTest, AnUnwritableLogKeepsTheEventsAndLeavesThePurgeToTheNextStart)
{
    Open(2026, 3, 1, 2);
    fs::create_directory(Folder / DiaryOldFileName);
    Add(1, 5, 930, "Zoë's dentist");
    Add(1, 20, 0, "Birthday Ann", etTicked, 1);
    EXPECT_THROW(TickAt(2026, 3, 1, 9, 0, 0), std::runtime_error);
    EXPECT_EQ(Slot(1, 5), Strings { "1Zoë's dentist" });
    EXPECT_EQ(Slot(1, 20), Strings { "1Birthday Ann" });
    EXPECT_EQ(Tick.Purges(), 0u);
    EXPECT_NE(Backend->Text("Month"), "3");
    EXPECT_NO_THROW(TickAt(2026, 3, 1, 9, 1, 0)); // told once a run

    fs::remove(Folder / DiaryOldFileName);
    Tick.ResetForStart();
    TickAt(2026, 3, 1, 9, 2, 0);
    EXPECT_EQ(Log(), "05 Jan 2026\t09:30\tAlarm\tZo\xEB's dentist\r\n"); // Windows-1252 as it fits
    EXPECT_TRUE(Slot(1, 5).empty());
    EXPECT_EQ(Backend->Text("Month"), "3");
}

// Clock jumps.

TEST_F(SecondTickTest, AJumpOfExactlyOneHourStillDoesTheMinuteWork)
{
    Open(2026, 3, 10, 3);
    Add(3, 10, 1030, "Meeting");
    TickAt(2026, 3, 10, 9, 30, 20);
    TickAt(2026, 3, 10, 10, 30, 20);
    EXPECT_EQ(Host.Refreshes, 2);
    EXPECT_EQ(Host.Popups, Strings { "10:30 Meeting" });
}

TEST_F(SecondTickTest, TheHourRepeatedAtTheEndOfSummerTimeRingsNothingTwice)
{
    Open(2026, 10, 25, 10);
    Add(10, 25, 230, "Night shift");
    for (int minute = 0; minute < 60; ++minute)
        TickAt(2026, 10, 25, 2, minute);
    Add(10, 25, 245, "Added in the repeat");
    for (int minute = 0; minute < 60; ++minute)
        TickAt(2026, 10, 25, 2, minute);
    EXPECT_EQ(Host.Refreshes, 120);
    EXPECT_EQ(Host.Popups, (Strings { "02:30 Night shift", "02:45 Added in the repeat" }));
    EXPECT_EQ(Diary.OverdueCount, 2);
}

TEST_F(SecondTickTest, AJumpRingsTheAlarmsOfTheLastDayAsMissedAndNothingTwiceOnTheWayBack)
{
    Open(2026, 3, 10, 3);
    Add(3, 10, 930, "Slept through");
    Add(3, 11, 930, "A day old");
    Add(3, 12, 930, "Landed on");
    TickAt(2026, 3, 10, 9, 0);
    TickAt(2026, 3, 10, 9, 45); // back from sleep
    EXPECT_EQ(Host.Popups, Strings { "missed 09:30 Slept through" });
    EXPECT_EQ(Diary.OverdueCount, 1);
    // An alarm of exactly 24 hours before is only overdue.
    TickAt(2026, 3, 12, 9, 30, 40);
    EXPECT_EQ(Diary.TodayIndex, DayIndex(3, 12));
    EXPECT_EQ(Host.Popups, (Strings { "missed 09:30 Slept through", "09:30 Landed on" }));
    EXPECT_EQ(Host.Missed, std::vector<size_t> { 1 });
    TickAt(2026, 3, 11, 9, 30);
    TickAt(2026, 3, 12, 9, 30);
    EXPECT_EQ(Host.Popups.back(), "09:30 A day old");
    EXPECT_EQ(Host.Popups.size(), 3u);
    // A clock a year fast, then corrected, rings the slot on its wrong day
    // but nothing again that rang on its real day.
    TickAt(2027, 3, 12, 9, 30);
    TickAt(2026, 3, 12, 9, 30);
    TickAt(2026, 3, 11, 9, 30);
    TickAt(2026, 3, 10, 9, 31);
    EXPECT_EQ(Host.Popups.size(), 4u);
}

TEST_F(SecondTickTest, AClockSetBackIntoAnEarlierMonthPurgesNothing)
{
    Open(2026, 3, 1, 2);
    Add(11, 10, 0, "November of this year");
    Add(2, 10, 0, "February");
    TickAt(2026, 3, 1, 9, 0);
    TickAt(2026, 1, 15, 9, 0);
    TickAt(2026, 3, 2, 9, 0);
    EXPECT_EQ(Slot(11, 10), Strings { "1November of this year" });
    EXPECT_EQ(Backend->Text("Month"), "3");
    TickAt(2026, 4, 1, 9, 0);
    EXPECT_TRUE(Slot(2, 10).empty());
    EXPECT_EQ(Backend->Text("Month"), "4");
}

TEST_F(SecondTickTest, ATimeThatRoundsUpToTheMinuteBelongsToThatMinute)
{
    Open(2026, 3, 10, 3);
    Add(3, 10, 930, "Dentist");
    Clock.Set(EncodeDate(2026, 3, 10) + EncodeTime(9, 29, 59, 999) + 0.0006 / 86400);
    Tick.SecondTimer();
    TickAt(2026, 3, 10, 9, 30, 1);
    EXPECT_EQ(Host.Popups, Strings { "09:30 Dentist" });
    EXPECT_EQ(Host.Refreshes, 1);
}

TEST(SecondTickSleep, TheTimerSleepsUntilTheNextWholeMinute)
{
    const struct {
        int Hour, Minute, Second, MilliSecond;
        int32_t Expected;
    } cases[] = {
        { 9, 15, 0, 0, 60'000 }, // on the minute: the next one
        { 9, 15, 0, 1, 59'999 },
        { 9, 29, 59, 500, 500 },
        { 23, 59, 59, 999, 1 }, // across midnight
        { 0, 0, 30, 0, 30'000 },
    };
    for (const auto& c : cases) {
        const TDateTime now
            = EncodeDate(2026, 12, 7) + EncodeTime(c.Hour, c.Minute, c.Second, c.MilliSecond);
        EXPECT_EQ(TSecondTick::MilliSecondsToNextMinute(now), c.Expected)
            << c.Hour << ":" << c.Minute << ":" << c.Second << "." << c.MilliSecond;
    }
}
