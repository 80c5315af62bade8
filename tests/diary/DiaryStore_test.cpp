#include "diary/DiaryFile.h"
#include "diary/DiaryStore.h"
#include "diary/FakeDiaryView.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{

TDiaryEvent& AddEvent(TDiaryStore& store, int month, int day, uint16_t time,
    const std::string& description, TEventType type = etAlarm)
{
    TEventLink& end = ListEnd(store.DiaryDays[DayIndex(month, day)]);
    end = NewEvent();
    end->Time = time;
    end->Description = description;
    end->EventType = type;
    return *end;
}

std::vector<std::string> Descriptions(const TDiaryEvent* e)
{
    std::vector<std::string> out;
    for (; e; e = e->Next.get())
        out.push_back(e->Description);
    return out;
}

int Length(const TDiaryEvent* e)
{
    int n = 0;
    for (; e; e = e->Next.get())
        ++n;
    return n;
}

// A store opened on an empty folder, with a view, and today at noon.
class DiaryStoreTest : public ::testing::Test
{
protected:
    DiaryStoreTest()
        : Store(Clock)
    {
        View.Store = &Store;
        Store.SetView(&View);
    }

    void Open(int year, int month, int day)
    {
        Clock.Set(EncodeDate(year, month, day) + EncodeTime(12, 0));
        Store.OpenDiary(std::filesystem::path("/nonexistent-talvo-folder"), IoError);
    }

    void Select(int year, int month, int day)
    {
        View.SetCalendarDate(EncodeDate(year, month, day));
    }

    TFixedClock Clock;
    TDiaryStore Store;
    TFakeDiaryView View;
    TIoError IoError;
};

} // namespace

TEST_F(DiaryStoreTest, OpeningSelectsTodayThroughTheCalendar)
{
    Open(2025, 3, 10);
    EXPECT_EQ(Store.CurrentDateTime, EncodeDate(2025, 3, 10));
    EXPECT_EQ(Store.TodayYear, 2025);
    EXPECT_EQ(Store.TodayMonth, 3);
    EXPECT_EQ(Store.TodayDay, 10);
    EXPECT_EQ(Store.SelectedDay, DayIndex(3, 10));
    EXPECT_EQ(View.Date, EncodeDate(2025, 3, 10));
    EXPECT_EQ(View.GridRow, 1);
    EXPECT_TRUE(View.GridVisible);
    EXPECT_GE(View.Repaints, 1);
}

TEST(DiaryStoreWithoutView, OpeningSelectsTodayByItself)
{
    TFixedClock clock(EncodeDate(2025, 6, 2) + EncodeTime(8, 15));
    TDiaryStore store(clock);
    TIoError ioError;
    store.OpenDiary(std::filesystem::path("/nonexistent-talvo-folder"), ioError);
    EXPECT_EQ(store.SelectedDay, DayIndex(6, 2));
    EXPECT_EQ(store.CalendarDate(), EncodeDate(2025, 6, 2));
    store.EventAtRow(1)->Description = "Typed";
    store.ShowOverdueCount(); // nowhere to show it: nothing happens
    store.CommitSelectedDay();
    EXPECT_EQ(Descriptions(store.DiaryDays[DayIndex(6, 2)].get()),
        (std::vector<std::string> { "Typed" }));
}

TEST_F(DiaryStoreTest, RowsPastTheEndAddEmptyEventsThatLeavingTheDayRemoves)
{
    Open(2025, 3, 10);
    AddEvent(Store, 3, 12, 900, "Only");
    Select(2025, 3, 12);
    ASSERT_EQ(Store.DayEvents(), Store.DiaryDays[DayIndex(3, 12)].get());
    EXPECT_EQ(Store.EventAtRow(0), nullptr);
    EXPECT_EQ(Length(Store.DayEvents()), 1);

    TDiaryEvent* third = Store.EventAtRow(3);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(third->Description, "");
    EXPECT_EQ(Length(Store.DayEvents()), 3);
    EXPECT_EQ(Store.EventAtRow(1)->Description, "Only");
    EXPECT_EQ(Store.EventAtRow(3), third);

    Select(2025, 3, 13);
    EXPECT_EQ(Descriptions(Store.DiaryDays[DayIndex(3, 12)].get()),
        (std::vector<std::string> { "Only" }));
}

TEST_F(DiaryStoreTest, LeavingADaySortsItAndComingBackShowsTheSortedList)
{
    Open(2025, 3, 10);
    Store.EventAtRow(1)->Description = "Late  ";
    Store.EventAtRow(1)->Time = 1800;
    Store.EventAtRow(2)->Description = "Early";
    Store.EventAtRow(2)->Time = 700;
    Store.EventAtRow(5); // empty rows the grid asked for
    Select(2025, 3, 11);
    EXPECT_EQ(Store.DayEvents(), nullptr);
    Select(2025, 3, 10);
    EXPECT_EQ(Descriptions(Store.DayEvents()), (std::vector<std::string> { "Early", "Late" }));
}

TEST_F(DiaryStoreTest, TheFirstEventOfAnEmptyDayReachesTheTableAtTheCommit)
{
    Open(2025, 3, 10);
    TDiaryEvent* first = Store.EventAtRow(1);
    first->Description = "New";
    EXPECT_EQ(Store.DayEvents(), first);
    EXPECT_EQ(Store.DiaryDays[Store.SelectedDay], nullptr);

    // Later rows join the same working list.
    Store.EventAtRow(2)->Description = "Second";
    EXPECT_EQ(Store.DiaryDays[Store.SelectedDay], nullptr);

    Store.StoreSelectedDay(Store.SelectedDay);
    EXPECT_EQ(Store.DiaryDays[Store.SelectedDay].get(), first);
    EXPECT_EQ(Store.DayEvents(), first);
    EXPECT_EQ(Store.EventAtRow(2)->Description, "Second");
}

TEST_F(DiaryStoreTest, StoringUnderAnotherDayMovesTheListWithoutLosingEither)
{
    Open(2025, 3, 10);
    AddEvent(Store, 3, 20, 100, "Already there");
    Store.EventAtRow(1)->Description = "Working";
    Store.StoreSelectedDay(DayIndex(3, 20));
    EXPECT_EQ(Descriptions(Store.DiaryDays[DayIndex(3, 20)].get()),
        (std::vector<std::string> { "Working", "Already there" }));
    EXPECT_EQ(Store.DiaryDays[DayIndex(3, 10)], nullptr);
    EXPECT_EQ(Store.DayEvents(), Store.DiaryDays[DayIndex(3, 20)].get());
    Store.StoreSelectedDay(NoDay); // no slot: ignored
    EXPECT_EQ(Store.DayEvents(), Store.DiaryDays[DayIndex(3, 20)].get());
}

TEST_F(DiaryStoreTest, SortingOrFreeingTheSelectedSlotNeverLeavesAStaleWorkingList)
{
    Open(2025, 3, 10);
    AddEvent(Store, 3, 10, 1200, "B");
    AddEvent(Store, 3, 10, 800, "A");
    Store.LoadSelectedDay();
    // The monthly purge empties and sorts slots behind the page's back.
    SortDay(Store.DiaryDays[DayIndex(3, 10)]);
    EXPECT_EQ(Descriptions(Store.DayEvents()), (std::vector<std::string> { "A", "B" }));
    Store.DayEvents()->Description.clear();
    Store.DayEvents()->Next->Description.clear();
    SortDay(Store.DiaryDays[DayIndex(3, 10)]);
    EXPECT_EQ(Store.DayEvents(), nullptr);
    EXPECT_EQ(Store.EventAtRow(1)->Description, "");
}

TEST_F(DiaryStoreTest, FreeingAndReopeningStartsClean)
{
    Open(2025, 3, 10);
    AddEvent(Store, 5, 1, 0, "Elsewhere");
    Store.EventAtRow(1)->Description = "Uncommitted";
    Store.StartEventScan(0);
    ASSERT_TRUE(Store.NextScannedEvent());
    Store.FreeDiary();
    EXPECT_EQ(Store.DayEvents(), nullptr);
    EXPECT_EQ(Store.ScanEvent, nullptr);
    for (const TEventLink& head : Store.DiaryDays)
        EXPECT_EQ(head, nullptr);

    Clock.Set(EncodeDate(2025, 4, 2));
    Store.OpenDiary(std::filesystem::path("/nonexistent-talvo-folder"), IoError);
    EXPECT_EQ(Store.SelectedDay, DayIndex(4, 2));
    EXPECT_EQ(Store.DayEvents(), nullptr);
    EXPECT_EQ(Store.DiaryDays[DayIndex(3, 10)], nullptr);
}

TEST_F(DiaryStoreTest, TheGridShowsOnlyForDaysInsideTheWindow)
{
    Open(2025, 3, 10);
    Select(2025, 1, 15); // the month before last
    EXPECT_FALSE(View.GridVisible);
    Select(2025, 2, 15);
    EXPECT_TRUE(View.GridVisible);
    View.GridRow = 7;
    Select(2026, 1, 31);
    EXPECT_TRUE(View.GridVisible);
    EXPECT_EQ(View.GridRow, 1);
    Select(2026, 2, 1);
    EXPECT_FALSE(View.GridVisible);
}

TEST(DiaryWindow, SpansTheMonthBeforeToTenMonthsAfter)
{
    TFixedClock clock;
    TDiaryStore store(clock);
    store.TodayYear = 2025;
    store.TodayMonth = 1;
    EXPECT_TRUE(store.InDiaryWindow(2024, 12));
    EXPECT_TRUE(store.InDiaryWindow(2025, 1));
    EXPECT_TRUE(store.InDiaryWindow(2025, 11));
    EXPECT_FALSE(store.InDiaryWindow(2024, 11));
    EXPECT_FALSE(store.InDiaryWindow(2025, 12));
    EXPECT_FALSE(store.InDiaryWindow(2026, 1));
}

TEST_F(DiaryStoreTest, AScanFromZeroStartsOnTheFirstOfLastMonthAndEndsAfterTheWindow)
{
    Open(2025, 3, 10);
    AddEvent(Store, 1, 10, 0, "January");
    AddEvent(Store, 2, 1, 830, "February");
    AddEvent(Store, 3, 15, 0, "");
    AddEvent(Store, 3, 15, 1000, "March");
    Store.StartEventScan(0);
    ASSERT_TRUE(Store.NextScannedEvent());
    EXPECT_EQ(Store.ScanEvent->Description, "February");
    EXPECT_EQ(Store.ScanDateTime, EncodeDate(2025, 2, 1) + EncodeTime(8, 30));
    ASSERT_TRUE(Store.NextScannedEvent());
    EXPECT_EQ(Store.ScanEvent->Description, "March");
    EXPECT_EQ(Store.ScanIndex, DayIndex(3, 15));
    EXPECT_EQ(Store.ScanPosition, 2); // the empty event before it is counted, not reported
    ASSERT_TRUE(Store.NextScannedEvent());
    EXPECT_EQ(Store.ScanEvent->Description, "January");
    EXPECT_EQ(Store.ScanDateTime, EncodeDate(2026, 1, 10)); // the January slot is next year's
    EXPECT_FALSE(Store.NextScannedEvent());
}

TEST_F(DiaryStoreTest, AScanFromAJanuaryTodayStartsInDecember)
{
    Open(2025, 1, 20);
    AddEvent(Store, 12, 31, 2300, "Eve");
    AddEvent(Store, 11, 30, 0, "November");
    Store.StartEventScan(0);
    ASSERT_TRUE(Store.NextScannedEvent());
    EXPECT_EQ(Store.ScanEvent->Description, "Eve");
    EXPECT_EQ(Store.ScanDateTime, EncodeDate(2024, 12, 31) + EncodeTime(23, 0));
    ASSERT_TRUE(Store.NextScannedEvent());
    EXPECT_EQ(Store.ScanEvent->Description, "November");
    EXPECT_EQ(Store.ScanDateTime, EncodeDate(2025, 11, 30));
    EXPECT_FALSE(Store.NextScannedEvent());
}

TEST_F(DiaryStoreTest, AScanFromADateStartsOnThatDate)
{
    Open(2025, 3, 10);
    AddEvent(Store, 5, 14, 0, "Before");
    AddEvent(Store, 5, 15, 900, "On the day");
    AddEvent(Store, 5, 15, 1000, "Same day");
    Store.StartEventScan(EncodeDate(2025, 5, 15));
    ASSERT_TRUE(Store.NextScannedEvent());
    EXPECT_EQ(Store.ScanEvent->Description, "On the day");
    EXPECT_EQ(Store.ScanPosition, 1);
    ASSERT_TRUE(Store.NextScannedEvent());
    EXPECT_EQ(Store.ScanEvent->Description, "Same day");
    EXPECT_EQ(Store.ScanPosition, 2);
    EXPECT_FALSE(Store.NextScannedEvent());
}

TEST_F(DiaryStoreTest, DatesAndTimesThatDoNotExistKeepThePreviousScanTime)
{
    Open(2025, 3, 10);
    AddEvent(Store, 4, 30, 1500, "Real");
    AddEvent(Store, 4, 31, 900, "No such day");
    AddEvent(Store, 5, 1, 1275, "No such minute");
    AddEvent(Store, 5, 2, 2400, "No such hour");
    AddEvent(Store, 2, 29, 100, "Not a leap year");
    Store.StartEventScan(EncodeDate(2025, 4, 30));
    const TDateTime real = EncodeDate(2025, 4, 30) + EncodeTime(15, 0);
    for (const char* name : { "Real", "No such day", "No such minute", "No such hour" }) {
        ASSERT_TRUE(Store.NextScannedEvent());
        EXPECT_EQ(Store.ScanEvent->Description, name);
        EXPECT_EQ(Store.ScanDateTime, real);
    }
    Store.StartEventScan(EncodeDate(2025, 2, 28));
    AddEvent(Store, 2, 28, 600, "Last of February");
    ASSERT_TRUE(Store.NextScannedEvent());
    ASSERT_TRUE(Store.NextScannedEvent());
    EXPECT_EQ(Store.ScanEvent->Description, "Not a leap year");
    EXPECT_EQ(Store.ScanDateTime, EncodeDate(2025, 2, 28) + EncodeTime(6, 0));
}

TEST_F(DiaryStoreTest, OverdueCountsPastAlarmsFromTheFirstOfLastMonth)
{
    Open(2025, 3, 10); // the clock says 12:00
    AddEvent(Store, 2, 1, 800, "Oldest counted");
    AddEvent(Store, 1, 31, 800, "Two months back: next year's slot, not overdue");
    AddEvent(Store, 3, 1, 900, "Done already", etTicked);
    AddEvent(Store, 3, 2, 900, "Cancelled", etCrossed);
    AddEvent(Store, 3, 3, 900, "Plain note", etBlank);
    AddEvent(Store, 3, 10, 1159, "A minute ago");
    AddEvent(Store, 3, 10, 1200, "Now");
    AddEvent(Store, 3, 10, 1300, "Later today");
    AddEvent(Store, 3, 11, 0, "Tomorrow");
    Store.CountOverdue();
    EXPECT_EQ(Store.OverdueCount, 2);
    Store.ShowOverdueCount();
    EXPECT_EQ(View.OverdueText, "2 Overdue Events");

    Clock.Set(EncodeDate(2025, 3, 10) + EncodeTime(13, 1));
    Store.CountOverdue();
    EXPECT_EQ(Store.OverdueCount, 4);
}

TEST_F(DiaryStoreTest, TheSaveCommitSortsTheSelectedDayAndReloadsIt)
{
    Open(2025, 3, 10);
    Store.EventAtRow(1)->Description = "Second";
    Store.EventAtRow(1)->Time = 1000;
    Store.EventAtRow(2)->Description = "First";
    Store.EventAtRow(2)->Time = 900;
    Store.EventAtRow(4);
    const int repaints = View.Repaints;
    Store.CommitSelectedDay();
    EXPECT_EQ(Descriptions(Store.DiaryDays[DayIndex(3, 10)].get()),
        (std::vector<std::string> { "First", "Second" }));
    EXPECT_EQ(Store.DayEvents(), Store.DiaryDays[DayIndex(3, 10)].get());
    EXPECT_GT(View.Repaints, repaints);
}
