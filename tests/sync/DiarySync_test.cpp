#include "diary/DiaryStore.h"
#include "sync/DiarySync.h"
#include "sync/SyncTestSupport.h"

#include <gtest/gtest.h>

namespace
{

class DiarySyncTest : public ::testing::Test
{
protected:
    DiarySyncTest()
        : Clock(EncodeDate(2026, 12, 9) + EncodeTime(12, 0))
        , Store(Clock)
    {
        Store.OpenDiary(std::filesystem::path("/nonexistent-talvo-folder"), IoError);
    }

    void Add(int month, int day, uint16_t time, const std::string& text, TEventType type = etBlank)
    {
        TEventLink& end = ListEnd(Store.DiaryDays[DayIndex(month, day)]);
        end = NewEvent();
        end->Time = time;
        end->Description = text;
        end->EventType = type;
    }

    std::vector<std::string> Day(int month, int day)
    {
        std::vector<std::string> texts;
        for (TDiaryEvent* e = Store.DiaryDays[DayIndex(month, day)].get(); e; e = e->Next.get())
            texts.push_back(TimeText(e->Time) + " " + std::string(e->Description));
        return texts;
    }

    TFixedClock Clock;
    TIoError IoError;
    TDiaryStore Store;
};

TEST_F(DiarySyncTest, EventsTakeTheYearTheWindowGivesTheirMonth)
{
    Add(11, 30, 0, "In November");
    Add(12, 9, 930, "Café", etAlarm);
    Add(10, 31, 2359, "Last day");
    Add(2, 30, 800, "Never"); // no such date
    std::vector<TDiaryEvent*> where;
    const std::vector<TSyncEvent> events = CollectDiaryEvents(Store, where);
    EXPECT_EQ(events,
        (std::vector<TSyncEvent> { Ev("2027-10-31", 2359, "Last day"),
            Ev("2026-11-30", 0, "In November"), Ev("2026-12-09", 930, "Café", etAlarm) }));
    ASSERT_EQ(where.size(), 3u);
    EXPECT_EQ(where[2]->Time, 930);
}

TEST_F(DiarySyncTest, APlanChangesOnlyTheEventsItNames)
{
    Add(12, 9, 930, "Dentist", etAlarm);
    Add(12, 9, 1200, "Lunch");
    Add(1, 15, 1400, "Zahnarzt");
    std::vector<TDiaryEvent*> where;
    // In slot order: Zahnarzt, Dentist, Lunch.
    const std::vector<TSyncEvent> events = CollectDiaryEvents(Store, where);
    TSyncPlan plan;
    plan.Actions = {
        { TSyncAction::akDownload, { 1 }, { Ev("2026-12-10", 800, "Dentist moved ✓") }, {}, {},
            {} },
        { TSyncAction::akDeleteLocal, { 0 }, {}, {}, {}, {} },
        { TSyncAction::akConflictCopy, {}, { Ev("2026-12-09", 1000, "Lunch (conflict)") }, {}, {},
            {} },
        { TSyncAction::akUpload, { 2 }, { events[2] }, {}, {}, {} },
        { TSyncAction::akDownload, {}, { Ev("2030-01-01", 0, "Beyond the window") }, {}, {}, {} },
    };
    ApplyToDiary(Store, where, plan);
    EXPECT_EQ(Day(12, 9), (std::vector<std::string> { "10:00 Lunch (conflict)", "12:00 Lunch" }));
    EXPECT_EQ(Day(12, 10), std::vector<std::string> { "08:00 Dentist moved ✓" });
    EXPECT_TRUE(Day(1, 15).empty());
    EXPECT_TRUE(Day(1, 1).empty());
}

} // namespace
