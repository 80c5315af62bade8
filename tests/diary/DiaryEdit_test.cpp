#include "diary/DiaryClipboard.h"
#include "diary/DiaryEdit.h"
#include "diary/DiaryFile.h"
#include "diary/DiaryKeys.h"
#include "diary/DiaryStore.h"
#include "diary/FakeDiaryView.h"

#include <array>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{

using TWholeDiary = std::array<TDayValues, DiaryDayCount>;

// Today is Wednesday 5 March 2025: the window runs from February 2025 to
// January 2026. The page shows Thursday 6 March.
class DiaryEditTest : public ::testing::Test
{
protected:
    DiaryEditTest()
        : Store(Clock)
    {
        View.Store = &Store;
        Store.SetView(&View);
        Clock.Set(EncodeDate(2025, 3, 5) + EncodeTime(9, 0));
        Store.OpenDiary(std::filesystem::path("/nonexistent-talvo-folder"), IoError);
        Add(3, 6, 1800, "Gym", etAlarm, 1);
        Add(3, 6, 1900, "  caf\xE9 au lait ");
        Add(3, 13, 1800, "Gym", etTicked);
        Add(3, 13, 1800, "gym");
        Add(3, 20, 1830, "Gym");
        Add(4, 3, 1800, "Gym", etCrossed);
        Add(2, 27, 1800, "Gym");
        Add(12, 31, 2359, "The quick brown fox jumps over the lazy dog ABCDEFGHIJKLMNOPQRSTUVWXYZ");
        View.SetCalendarDate(EncodeDate(2025, 3, 6));
    }

    void Add(int month, int day, uint16_t time, const std::string& text, TEventType type = etAlarm,
        uint8_t locked = 0)
    {
        TEventLink& end = ListEnd(Store.DiaryDays[DayIndex(month, day)]);
        end = NewEvent();
        end->Locked = locked;
        end->EventType = type;
        end->Time = time;
        end->Description = text;
    }

    TWholeDiary Whole() const
    {
        TWholeDiary whole;
        for (uint16_t slot = 0; slot < DiaryDayCount; ++slot)
            whole[slot] = CommittedDay(Store.DayValues(slot));
        return whole;
    }

    TFixedClock Clock;
    TDiaryStore Store;
    TFakeDiaryView View;
    TIoError IoError;
};

struct TEditCase {
    const char* Name;
    // The days the step may change, as the page watches them.
    std::function<std::vector<uint16_t>(const TDiaryStore&)> Days;
    std::function<void(TDiaryStore&)> Change;
    int DaysChanged;
};

const uint16_t Shown = DayIndex(3, 6);

std::vector<uint16_t> ShownDay(const TDiaryStore&)
{
    return { Shown };
}

TDiaryEvent& Row(TDiaryStore& store, int row)
{
    return *store.EventAtRow(static_cast<uint8_t>(row));
}

const TEditCase EditCases[] = {
    { "typing a description on a new row", ShownDay,
        [](TDiaryStore& s) { Row(s, 4).Description = "Zahnarzt \xFC 10:00"; }, 1 },
    { "typing a time", ShownDay,
        [](TDiaryStore& s) {
            bool fresh = true;
            for (const char key : { '0', '7', '4', '5' })
                EventKeyPress(Row(s, 2), dcTime, key, fresh);
        },
        1 },
    { "clearing an alarm and a lock", ShownDay,
        [](TDiaryStore& s) {
            ClearEventField(Row(s, 1), dcEventType);
            ClearEventField(Row(s, 1), dcLocked);
        },
        1 },
    { "Delete on a description", ShownDay,
        [](TDiaryStore& s) { ClearEventField(Row(s, 2), dcDescription); }, 1 },
    { "pasting an event record", ShownDay,
        [](TDiaryStore& s) { PasteText(Row(s, 3), dcTime, "1\t3\t2330\t  Tab\tin the middle"); },
        1 },
    { "Repeat Weekly",
        [](const TDiaryStore& s) { return WindowDays(s, EncodeDate(2025, 3, 6), 7); },
        [](TDiaryStore& s) { RepeatWeekly(s, Row(s, 1), EncodeDate(2025, 3, 6)); }, 47 },
    { "Clear Alike", [](const TDiaryStore& s) { return WindowDays(s, EncodeDate(2025, 3, 6), 1); },
        [](TDiaryStore& s) { ClearAlike(s, Row(s, 1), EncodeDate(2025, 3, 6)); }, 3 },
};

} // namespace

TEST_F(DiaryEditTest, EveryStepRevertsAndAppliesAgain)
{
    for (const TEditCase& edit : EditCases) {
        SCOPED_TRACE(edit.Name);
        View.SetCalendarDate(EncodeDate(2025, 3, 6));
        const TWholeDiary before = Whole();
        const TDayValues shownBefore = Store.DayValues(Shown);
        TDiaryEdit recorded(edit.Name, EncodeDate(2025, 3, 6), 1, dcDescription);
        for (const uint16_t slot : edit.Days(Store))
            recorded.Watch(Store, slot);
        edit.Change(Store);
        recorded.Finish(Store);
        const TWholeDiary after = Whole();
        ASSERT_NE(before, after);
        EXPECT_EQ(recorded.DaysChanged(), edit.DaysChanged);

        ASSERT_TRUE(recorded.CanRevert(Store));
        EXPECT_FALSE(recorded.CanApply(Store));
        recorded.Revert(Store);
        EXPECT_EQ(Whole(), before);
        // The shown day's rows come back in their order, unsorted.
        EXPECT_EQ(Store.DayValues(Shown), shownBefore);

        ASSERT_TRUE(recorded.CanApply(Store));
        recorded.Apply(Store);
        EXPECT_EQ(Whole(), after);
        recorded.Revert(Store);
        recorded.Apply(Store);
        EXPECT_EQ(Whole(), after);
        recorded.Revert(Store);
    }
}

TEST_F(DiaryEditTest, UndoOnADayNotShownLeavesItSortedAndTheWorkingListAlone)
{
    TDiaryEdit step("Clear Alike", EncodeDate(2025, 3, 6), 1, dcDescription);
    for (const uint16_t slot : WindowDays(Store, EncodeDate(2025, 3, 6), 1))
        step.Watch(Store, slot);
    ClearAlike(Store, Row(Store, 1), EncodeDate(2025, 3, 6));
    step.Finish(Store);
    View.SetCalendarDate(EncodeDate(2025, 3, 20));
    step.Revert(Store);
    // 13 March: alike events back, in time order, the other "gym" kept.
    const TDayValues thirteenth = Store.DayValues(DayIndex(3, 13));
    ASSERT_EQ(thirteenth.size(), 2U);
    EXPECT_EQ(thirteenth[0].EventType, etTicked);
    EXPECT_EQ(thirteenth[1].Description, "gym");
    EXPECT_EQ(Store.DayEvents()->Description, "Gym");
    EXPECT_EQ(Store.DayEvents()->Time, 1830);
}

TEST_F(DiaryEditTest, MergedTypingIsOneStepAndADayBackAsItWasDrops)
{
    TDiaryEdit first("Typing", EncodeDate(2025, 3, 6), 3, dcDescription);
    first.Watch(Store, Shown);
    Row(Store, 3).Description = "D";
    first.Finish(Store);
    for (const char* text : { "Do", "Doc", "Doct" }) {
        TDiaryEdit later("Typing", EncodeDate(2025, 3, 6), 3, dcDescription);
        later.Watch(Store, Shown);
        Row(Store, 3).Description = text;
        later.Finish(Store);
        first.Merge(later);
    }
    EXPECT_EQ(first.DaysChanged(), 1);
    first.Revert(Store);
    EXPECT_EQ(CommittedDay(Store.DayValues(Shown)).size(), 2U);
    first.Apply(Store);
    EXPECT_EQ(Store.DayValues(Shown)[2].Description, "Doct");

    TDiaryEdit erase("Typing", EncodeDate(2025, 3, 6), 3, dcDescription);
    erase.Watch(Store, Shown);
    Row(Store, 3).Description.clear();
    erase.Finish(Store);
    first.Merge(erase);
    EXPECT_TRUE(first.Empty());
    // Only the empty row the typing made is left: the committed day is as it was.
    EXPECT_EQ(CommittedDay(Store.DayValues(Shown)).size(), 2U);
}

TEST_F(DiaryEditTest, AStepIsRefusedOverADayChangedBehindItsBack)
{
    TDiaryEdit step("Delete", EncodeDate(2025, 3, 6), 1, dcDescription);
    step.Watch(Store, Shown);
    ClearEventField(Row(Store, 1), dcDescription);
    step.Finish(Store);
    // Trailing blanks and the order of a commit are no change of the day.
    Store.CommitSelectedDay();
    EXPECT_TRUE(step.CanRevert(Store));
    Row(Store, 1).Time = 1200;
    EXPECT_FALSE(step.CanRevert(Store));
}

TEST(CommittedDay, DropsTheDeadTrimsAndSortsByTimeKeepingTies)
{
    const TDayValues day { { 0, etAlarm, 1000, TDescription("ten  ") },
        { 1, etBlank, 0, TDescription("   ") }, { 0, etTicked, 930, TDescription("a") },
        { 0, etCrossed, 930, TDescription("b") }, { 0, etBlank, 0, TDescription("no time") } };
    const TDayValues committed = CommittedDay(day);
    ASSERT_EQ(committed.size(), 4U);
    EXPECT_EQ(committed[0].Description, "no time");
    EXPECT_EQ(committed[1].Description, "a");
    EXPECT_EQ(committed[2].Description, "b");
    EXPECT_EQ(committed[3].Description, "ten");
}

TEST_F(DiaryEditTest, TheSavedTextCommitsTheShownDayWithoutTouchingItsRows)
{
    Row(Store, 4).Description = "  early ";
    const TDayValues rows = Store.DayValues(Shown);
    const std::string text = Store.FormatCommitted();
    EXPECT_EQ(Store.DayValues(Shown), rows);
    Store.CommitSelectedDay();
    EXPECT_EQ(text, FormatDiary(Store.DiaryDays));
}
