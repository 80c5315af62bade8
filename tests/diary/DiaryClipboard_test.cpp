#include "diary/DiaryClipboard.h"
#include "diary/DiaryKeys.h"
#include "diary/DiaryStore.h"
#include "diary/FakeDiaryView.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{

TDiaryEvent& Fill(
    TDiaryEvent& event, uint8_t locked, TEventType type, uint16_t time, const std::string& text)
{
    event.Locked = locked;
    event.EventType = type;
    event.Time = time;
    event.Description = text;
    return event;
}

std::string Show(const TDiaryEvent& e)
{
    return std::to_string(e.Locked) + "/" + std::to_string(e.EventType) + "/"
        + std::to_string(e.Time) + "/" + e.Description;
}

// Today is Wednesday 5 March 2025: the diary window runs from February 2025 to
// January 2026.
class DiaryEditsTest : public ::testing::Test
{
protected:
    DiaryEditsTest()
        : Store(Clock)
    {
        View.Store = &Store;
        Store.SetView(&View);
        Clock.Set(EncodeDate(2025, 3, 5) + EncodeTime(12, 0));
        Store.OpenDiary(std::filesystem::path("/nonexistent-talvo-folder"), IoError);
    }

    void Add(int month, int day, uint16_t time, const std::string& text, TEventType type = etAlarm,
        uint8_t locked = 0)
    {
        TEventLink& end = ListEnd(Store.DiaryDays[DayIndex(month, day)]);
        end = NewEvent();
        Fill(*end, locked, type, time, text);
    }
    void Select(int year, int month, int day)
    {
        View.SetCalendarDate(EncodeDate(year, month, day));
    }

    std::vector<std::string> Day(int month, int day)
    {
        std::vector<std::string> out;
        for (const TDiaryEvent* e = Store.DiaryDays[DayIndex(month, day)].get(); e;
             e = e->Next.get())
            out.push_back(Show(*e));
        return out;
    }

    TFixedClock Clock;
    TDiaryStore Store;
    TFakeDiaryView View;
    TIoError IoError;
};

} // namespace

TEST(DiaryClipboardText, FieldsAndEventRecords)
{
    TDiaryEvent event;
    Fill(event, 1, etTicked, 705, "Pay rent ");
    EXPECT_EQ(FieldClipText(event, dcLocked), "1");
    EXPECT_EQ(FieldClipText(event, dcEventType), "2");
    EXPECT_EQ(FieldClipText(event, dcTime), "0705");
    EXPECT_EQ(FieldClipText(event, dcDescription), "Pay rent ");
    TDiaryEvent none;
    EXPECT_EQ(FieldClipText(none, dcTime), "0000");

    TDiaryEvent rent;
    EXPECT_EQ(EventRecordText(Fill(rent, 0, etTicked, 930, "Pay rent")), "0\t2\t0930\tPay rent");
    TDiaryEvent board;
    EXPECT_EQ(EventRecordText(Fill(board, 1, etAlarm, 1405, "Board meeting")),
        "1\t1\t1405\tBoard meeting");
}

TEST(DiaryClipboardText, AnEventRecordPastesWholeWhateverTheColumn)
{
    TDiaryEvent board;
    const std::string record = EventRecordText(Fill(board, 1, etCrossed, 1405, "Board meeting"));
    for (int column = dcLocked; column <= dcDescription; ++column) {
        TDiaryEvent target;
        Fill(target, 0, etAlarm, 800, "Old");
        PasteText(target, column, record);
        EXPECT_EQ(Show(target), "1/3/1405/Board meeting") << "column " << column;
    }

    // A description that holds tabs is no record: it pastes as the column's text.
    for (const char* text : { "a\tb\tcdef\tg", "x\tq\t1a3b\tText", "2\t1\t0930\tx", "1\t4\t0930\tx",
             "1\t1\t2460\tx", "1\t1\t24:0\tx" }) {
        TDiaryEvent odd;
        Fill(odd, 1, etAlarm, 930, "Old");
        PasteText(odd, dcDescription, text);
        EXPECT_EQ(Show(odd), "1/1/930/" + std::string(text));
        PasteText(odd, dcLocked, text);
        EXPECT_EQ(Show(odd), "0/1/930/" + std::string(text));
    }

    // Nothing after the third tab: an event without a description.
    TDiaryEvent bare;
    Fill(bare, 0, etAlarm, 800, "Old");
    PasteText(bare, dcTime, "0\t1\t0900\t");
    EXPECT_EQ(Show(bare), "0/1/900/");
}

TEST(DiaryClipboardText, ImpossibleTypesAndTimesAreRefusedFieldByField)
{
    TDiaryEvent event;
    Fill(event, 0, etAlarm, 800, "Old");
    PasteText(event, dcDescription, "0\t3\t2359\tLast");
    EXPECT_EQ(Show(event), "0/3/2359/Last");

    PasteText(event, dcEventType, "9");
    EXPECT_EQ(event.EventType, etCrossed);
    PasteText(event, dcTime, "1275");
    EXPECT_EQ(event.Time, 2359);
}

TEST(DiaryClipboardText, AColumnTakesOnlyTheTextItExpects)
{
    TDiaryEvent event;
    Fill(event, 0, etAlarm, 800, "Old");
    PasteText(event, dcLocked, "1");
    EXPECT_EQ(event.Locked, 1);
    PasteText(event, dcLocked, "1 ");
    EXPECT_EQ(event.Locked, 0);

    PasteText(event, dcEventType, "2");
    EXPECT_EQ(event.EventType, etTicked);
    PasteText(event, dcEventType, "12");
    EXPECT_EQ(event.EventType, etTicked);
    PasteText(event, dcEventType, "x");
    EXPECT_EQ(event.EventType, etBlank);

    PasteText(event, dcTime, "0705");
    EXPECT_EQ(event.Time, 705);
    PasteText(event, dcTime, "930");
    EXPECT_EQ(event.Time, 705);
    PasteText(event, dcTime, "09:3");
    EXPECT_EQ(event.Time, 903);

    PasteText(event, dcDescription, "First line\r\nSecond line");
    EXPECT_EQ(event.Description, "First line");
    PasteText(event, dcDescription, "0\t1\t0930"); // too short for a record
    EXPECT_EQ(event.Description, "0\t1\t0930");
    EXPECT_EQ(Show(event), "0/0/903/0\t1\t0930");
}

TEST(DiaryClipboardText, ARecordDescriptionKeepsItsFirstLineUpToTheLimit)
{
    TDiaryEvent event;
    PasteText(event, dcLocked, "0\t1\t0800\tLine one\nLine two");
    EXPECT_EQ(event.Description, "Line one");
    PasteText(event, dcLocked, "0\t1\t0800\t" + std::string(12000, 'x'));
    EXPECT_EQ(event.Description.size(), 9999u);
}

TEST_F(DiaryEditsTest, RepeatWeeklyCopiesToEveryLaterWeekOfTheWindow)
{
    Add(3, 17, 900, "Early");
    Add(3, 17, 2000, "Late");
    Add(2, 24, 800, "Before");
    Select(2025, 3, 3); // a Monday
    TDiaryEvent* source = Store.EventAtRow(1);
    Fill(*source, 1, etAlarm, 1800, "Gym  ");

    EXPECT_EQ(RepeatWeekly(Store, *source, View.Date), 47);
    EXPECT_EQ(Day(3, 10), (std::vector<std::string> { "0/1/1800/Gym" }));
    // Sorted in among the day's own events, unlocked.
    EXPECT_EQ(Day(3, 17),
        (std::vector<std::string> { "0/1/900/Early", "0/1/1800/Gym", "0/1/2000/Late" }));
    EXPECT_EQ(Day(1, 26), (std::vector<std::string> { "0/1/1800/Gym" })); // the last Monday
    EXPECT_TRUE(Day(3, 4).empty());
    EXPECT_EQ(Day(2, 24), (std::vector<std::string> { "0/1/800/Before" }));
    // The chosen day itself is untouched: its working list is not even in the table yet.
    EXPECT_TRUE(Day(3, 3).empty());
    EXPECT_EQ(Show(*Store.EventAtRow(1)), "1/1/1800/Gym  ");

    int mondays = 0;
    int others = 0;
    for (TDateTime d = EncodeDate(2025, 2, 1); d < EncodeDate(2026, 2, 1); d += 1) {
        const TCivilDate date = DecodeDate(d);
        if (Store.DiaryDays[DayIndex(date.Month, date.Day)] && d != EncodeDate(2025, 2, 24)
            && d != EncodeDate(2025, 3, 17))
            (DayOfWeek(d) == 2 ? mondays : others) += 1;
    }
    EXPECT_EQ(mondays, 46);
    EXPECT_EQ(others, 0);

    // Running it again makes duplicates.
    EXPECT_EQ(RepeatWeekly(Store, *source, View.Date), 47);
    EXPECT_EQ(Day(3, 10), (std::vector<std::string> { "0/1/1800/Gym", "0/1/1800/Gym" }));

    TDiaryEvent empty;
    EXPECT_EQ(RepeatWeekly(Store, empty, View.Date), 0);
}

TEST_F(DiaryEditsTest, RepeatWeeklyFromTheWindowsLastWeekMakesNothing)
{
    Select(2026, 1, 26);
    TDiaryEvent* source = Store.EventAtRow(1);
    Fill(*source, 0, etBlank, 0, "Last");
    EXPECT_EQ(RepeatWeekly(Store, *source, View.Date), 0);
    EXPECT_TRUE(Day(2, 2).empty());
}

TEST_F(DiaryEditsTest, ClearAlikeDeletesExactMatchesFromTheChosenDayOn)
{
    Add(3, 3, 1800, "Gym"); // before the chosen day: kept
    Add(3, 12, 1800, "Gym", etTicked); // deleted
    Add(3, 12, 1800, "gym"); // other case: kept
    Add(3, 12, 1830, "Gym"); // other time: kept
    Add(4, 9, 1800, "Gym", etCrossed, 1); // locked and cancelled: deleted
    Add(4, 9, 1000, "Dentist"); // kept
    Add(4, 9, 1800, "Gym"); // a second one on the same day: deleted
    Add(1, 31, 1800, "Gym"); // the window's last day: deleted
    Select(2025, 3, 5);
    TDiaryEvent* source = Store.EventAtRow(1);
    Fill(*source, 0, etAlarm, 1800, "Gym");
    Store.EventAtRow(2)->Description = "Keep me";

    EXPECT_EQ(ClearAlike(Store, *source, View.Date), 5);
    EXPECT_EQ(Day(3, 3), (std::vector<std::string> { "0/1/1800/Gym" }));
    EXPECT_EQ(Day(3, 12), (std::vector<std::string> { "0/1/1800/gym", "0/1/1830/Gym" }));
    EXPECT_EQ(Day(4, 9), (std::vector<std::string> { "0/1/1000/Dentist" }));
    EXPECT_TRUE(Day(1, 31).empty());
    // The chosen day was typed just now: its other new event stays, and the
    // grid's list is that day's list as it now is.
    EXPECT_EQ(Day(3, 5), (std::vector<std::string> { "0/0/0/Keep me" }));
    EXPECT_EQ(Store.DayEvents(), Store.DiaryDays[DayIndex(3, 5)].get());
}

TEST_F(DiaryEditsTest, ClearAlikeIgnoresTrailingBlanksAndNeedsADescription)
{
    Add(3, 19, 700, "Swim");
    Add(3, 26, 700, "Swim ");
    Select(2025, 3, 12);
    TDiaryEvent* source = Store.EventAtRow(1);
    Fill(*source, 0, etAlarm, 700, "Swim  ");
    EXPECT_EQ(ClearAlike(Store, *source, View.Date), 3);
    EXPECT_TRUE(Day(3, 19).empty());
    EXPECT_TRUE(Day(3, 26).empty());
    EXPECT_EQ(Store.DayEvents(), nullptr);

    Add(3, 19, 0, "Kept");
    TDiaryEvent* blank = Store.EventAtRow(1);
    Fill(*blank, 0, etAlarm, 0, "   ");
    EXPECT_EQ(ClearAlike(Store, *blank, View.Date), 0);
    EXPECT_EQ(Day(3, 19), (std::vector<std::string> { "0/1/0/Kept" }));
}
