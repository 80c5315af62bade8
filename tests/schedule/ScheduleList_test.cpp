#include "diary/DiaryStore.h"
#include "diary/FakeDiaryView.h"
#include "schedule/ScheduleList.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{

// A diary opened on 15 May 2026, its events placed straight in the table.
class ScheduleListTest : public ::testing::Test
{
protected:
    ScheduleListTest()
        : Store(Clock)
    {
        View.Store = &Store;
        Store.SetView(&View);
        Clock.Set(EncodeDate(2026, 5, 15) + EncodeTime(9, 0));
        TIoError ioError;
        Store.OpenDiary(std::filesystem::path("/nonexistent-talvo-folder"), ioError);
    }

    void Add(int month, int day, uint16_t time, const std::string& text, TEventType type = etAlarm)
    {
        TEventLink& end = ListEnd(Store.DiaryDays[DayIndex(month, day)]);
        end = NewEvent();
        end->Time = time;
        end->Description = text;
        end->EventType = type;
    }

    std::vector<std::string> Listed(bool showAll)
    {
        std::vector<std::string> out;
        for (const TElement& e : FillScheduleList(Store, Clock.Now(), showAll).Elements)
            out.push_back(e.Description);
        return out;
    }

    TFixedClock Clock;
    TDiaryStore Store;
    TFakeDiaryView View;
};

using Names = std::vector<std::string>;

} // namespace

TEST_F(ScheduleListTest, ListsAlarmsFromLastMonthsFirstDayAndEverythingWithShowAll)
{
    // March's slot, two months back, holds next March: the window's last month.
    Add(3, 31, 1000, "end of the window");
    Add(4, 1, 0, "first of last month");
    Add(5, 20, 800, "done", etTicked);
    Add(5, 20, 900, "coming");
    Add(5, 21, 0, "blank", etBlank);
    EXPECT_EQ(Listed(false), (Names { "first of last month", "coming", "end of the window" }));
    EXPECT_EQ(Listed(true),
        (Names { "first of last month", "done", "coming", "blank", "end of the window" }));
    const TScheduleList list = FillScheduleList(Store, Clock.Now(), false);
    EXPECT_TRUE(list.Elements[0].Overdue);
    EXPECT_EQ(list.Elements[0].DateTime, EncodeDate(2026, 4, 1));
    EXPECT_FALSE(list.Elements[2].Overdue);
    EXPECT_EQ(list.Elements[2].DateTime, EncodeDate(2027, 3, 31) + EncodeTime(10, 0));
}

TEST_F(ScheduleListTest, TodaysEarlierAlarmIsOverdueAndSelectedTheLaterOneComing)
{
    Add(5, 15, 0, "untimed");
    Add(5, 15, 800, "eight");
    Add(5, 15, 900, "nine, this very minute");
    Add(5, 15, 1000, "ten");
    Add(5, 15, 830, "done at half past", etTicked);
    const TScheduleList list = FillScheduleList(Store, Clock.Now(), true);
    ASSERT_EQ(list.Elements.size(), 5u);
    const std::vector<bool> overdue { true, true, true, false, true };
    const std::vector<int> images { 4, 4, 4, 1, 2 };
    for (size_t i = 0; i < overdue.size(); ++i) {
        EXPECT_EQ(list.Elements[i].Overdue, overdue[i]) << i;
        EXPECT_EQ(ElementImage(list.Elements[i]), images[i]) << i;
        EXPECT_EQ(list.Elements[i].Position, i + 1) << i;
        EXPECT_TRUE(IsOnDay(list.Elements[i], Clock.Now())) << i;
    }
    // The latest overdue alarm, not the later overdue "Done" event.
    EXPECT_EQ(list.SelectedRow, 3);
    EXPECT_FALSE(HasTimeOfDay(list.Elements[0]));
    EXPECT_TRUE(HasTimeOfDay(list.Elements[1]));
}

TEST_F(ScheduleListTest, NothingOverdueSelectsTheFirstRowAndAnEmptyListCopiesNothing)
{
    EXPECT_EQ(FillScheduleList(Store, Clock.Now(), true).SelectedRow, 1);
    EXPECT_EQ(ScheduleCopyText({}), "");
    Add(6, 1, 800, "later");
    EXPECT_EQ(FillScheduleList(Store, Clock.Now(), false).SelectedRow, 1);
}

TEST_F(ScheduleListTest, DateShowsOnlyOnEachDaysFirstRow)
{
    Add(5, 16, 800, "a");
    Add(5, 16, 900, "b");
    Add(5, 17, 800, "c");
    const auto elements = FillScheduleList(Store, Clock.Now(), false).Elements;
    EXPECT_TRUE(StartsDay(elements, 1));
    EXPECT_FALSE(StartsDay(elements, 2));
    EXPECT_TRUE(StartsDay(elements, 3));
    // The first row looks at no row before it (an address checker sees any such read).
    const std::vector<TElement> one(1);
    EXPECT_TRUE(StartsDay(one, 1));
    EXPECT_TRUE(StartsDay(one, 2));
}

TEST_F(ScheduleListTest, CopyGivesOneTabbedLineWithCrLfPerEvent)
{
    Add(5, 5, 930, "Dentist");
    Add(6, 1, 0, "Tax", etCrossed);
    EXPECT_EQ(ScheduleCopyText(FillScheduleList(Store, Clock.Now(), true).Elements),
        "05 May 2026\t09:30\tAlarm\tDentist\r\n01 Jun 2026\t\tCanned\tTax\r\n");
}

TEST_F(ScheduleListTest, TheDayBeingEditedIsStoredBackInItsWorkingOrder)
{
    // Today's working list, typed on the page and not yet committed.
    Store.EventAtRow(1)->Description = "late";
    Store.EventAtRow(1)->EventType = etAlarm;
    Store.EventAtRow(1)->Time = 1800;
    Store.EventAtRow(2)->Description = "early";
    Store.EventAtRow(2)->EventType = etAlarm;
    Store.EventAtRow(2)->Time = 700;
    EXPECT_EQ(Listed(false), Names {});
    StoreBackSelectedDay(Store);
    EXPECT_EQ(Listed(false), (Names { "late", "early" }));
}
