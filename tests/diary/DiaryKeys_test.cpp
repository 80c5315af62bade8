#include "diary/DiaryKeys.h"

#include <gtest/gtest.h>
#include <string>

namespace
{

// Types the keys on the event's cell in `column`, starting as a freshly
// selected cell does; gives the time after each key.
std::string TypeTime(TDiaryEvent& event, const std::string& keys, bool& fresh)
{
    std::string times;
    for (const char key : keys) {
        EXPECT_TRUE(EventKeyPress(event, dcTime, key, fresh)) << "key " << int(key);
        times += std::to_string(event.Time) + " ";
    }
    return times;
}

} // namespace

TEST(DiaryKeys, DigitsBuildATimeAndTheFirstStartsAfresh)
{
    TDiaryEvent event;
    event.Time = 1145;
    bool fresh = true;
    EXPECT_EQ(TypeTime(event, "830", fresh), "8 83 830 ");
    EXPECT_FALSE(fresh);

    // Times the clock never reaches stay as typed, for the page to refuse;
    // a fifth digit is not taken.
    fresh = true;
    EXPECT_EQ(TypeTime(event, "25007", fresh), "2 25 250 2500 2500 ");
    fresh = true;
    EXPECT_EQ(TypeTime(event, "1275", fresh), "1 12 127 1275 ");
    fresh = true;
    EXPECT_EQ(TypeTime(event, "2400", fresh), "2 24 240 2400 ");

    // A long run of digits never wraps into a time below the limit.
    fresh = true;
    EXPECT_EQ(TypeTime(event, "2399", fresh), "2 23 239 2399 ");
    EXPECT_EQ(TypeTime(event, "9", fresh), "2399 ");
    event.Time = 9999;
    EXPECT_EQ(TypeTime(event, "1", fresh), "9999 ");
    EXPECT_EQ(TypeTime(event, "\b", fresh), "999 ");
}

TEST(DiaryKeys, BackspaceClearsAFreshTimeAndOtherwiseDropsTheLastDigit)
{
    TDiaryEvent event;
    event.Time = 1730;
    bool fresh = true;
    EXPECT_EQ(TypeTime(event, "\b", fresh), "0 ");

    fresh = true;
    EXPECT_EQ(TypeTime(event, "123\b\b", fresh), "1 12 123 12 1 ");
    EXPECT_FALSE(fresh);
}

TEST(DiaryKeys, HalfHourStepsLeaveTheEntryFresh)
{
    TDiaryEvent event;
    bool fresh = true;
    EXPECT_EQ(TypeTime(event, "830+-", fresh), "8 83 830 900 830 ");
    EXPECT_TRUE(fresh);
    // The next digit starts a new time rather than extending 08:30.
    EXPECT_EQ(TypeTime(event, "7 ", fresh), "7 30 ");

    event.Time = 2330;
    EXPECT_EQ(TypeTime(event, "+ ", fresh), "2330 2330 ");
    event.Time = 20;
    EXPECT_EQ(TypeTime(event, "-", fresh), "0 ");
}

TEST(DiaryKeys, OtherKeysInTheTimeColumnAreLeftToTheGrid)
{
    TDiaryEvent event;
    event.Time = 930;
    bool fresh = false;
    for (const char key : { 'a', ':', '\t', '\r' })
        EXPECT_FALSE(EventKeyPress(event, dcTime, key, fresh));
    EXPECT_EQ(event.Time, 930);
    EXPECT_FALSE(fresh);
}

TEST(DiaryKeys, SpaceTogglesTheLockAndStepsTheType)
{
    TDiaryEvent event;
    bool fresh = false;
    EXPECT_TRUE(EventKeyPress(event, dcLocked, ' ', fresh));
    EXPECT_EQ(event.Locked, 1);
    EXPECT_TRUE(EventKeyPress(event, dcLocked, ' ', fresh));
    EXPECT_EQ(event.Locked, 0);
    EXPECT_FALSE(EventKeyPress(event, dcLocked, '1', fresh));
    EXPECT_EQ(event.Locked, 0);

    std::string types;
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(EventKeyPress(event, dcEventType, ' ', fresh));
        types += std::to_string(event.EventType);
    }
    EXPECT_EQ(types, "12301");
    EXPECT_FALSE(EventKeyPress(event, dcEventType, 'x', fresh));
    EXPECT_EQ(event.EventType, etAlarm);
    EXPECT_FALSE(fresh);
}

TEST(DiaryKeys, TheFirstCharacterOfANewDescriptionMakesAnAlarm)
{
    bool fresh = false;
    TDiaryEvent blank;
    EXPECT_FALSE(EventKeyPress(blank, dcDescription, 'D', fresh)); // the editor takes it
    EXPECT_EQ(blank.EventType, etAlarm);

    TDiaryEvent done;
    done.EventType = etTicked;
    EventKeyPress(done, dcDescription, 'D', fresh);
    EXPECT_EQ(done.EventType, etTicked);

    TDiaryEvent written;
    written.Description = "Dentist";
    EventKeyPress(written, dcDescription, 's', fresh);
    EXPECT_EQ(written.EventType, etBlank);

    TDiaryEvent control;
    EventKeyPress(control, dcDescription, '\t', fresh);
    EXPECT_EQ(control.EventType, etBlank);

    TDiaryEvent accented; // 8-bit characters count as typed text too
    EventKeyPress(accented, dcDescription, static_cast<char>(0xE9), fresh);
    EXPECT_EQ(accented.EventType, etAlarm);
}

TEST(DiaryKeys, DeleteClearsTheFieldOfItsColumnOnly)
{
    TDiaryEvent event;
    event.Locked = 1;
    event.EventType = etCrossed;
    event.Time = 1015;
    event.Description = "Call";
    ClearEventField(event, dcLocked);
    EXPECT_EQ(event.Locked, 0);
    EXPECT_EQ(event.EventType, etCrossed);
    ClearEventField(event, dcEventType);
    EXPECT_EQ(event.EventType, etBlank);
    EXPECT_EQ(event.Time, 1015);
    ClearEventField(event, dcTime);
    EXPECT_EQ(event.Time, 0);
    EXPECT_EQ(event.Description, "Call");
    ClearEventField(event, dcDescription);
    EXPECT_EQ(event.Description, "");
}

TEST(DiaryKeys, ClockTimesAndFirstLines)
{
    EXPECT_TRUE(IsClockTime(0));
    EXPECT_TRUE(IsClockTime(2359));
    EXPECT_FALSE(IsClockTime(2400));
    EXPECT_FALSE(IsClockTime(1275));
    EXPECT_FALSE(IsClockTime(960));
    const std::pair<uint16_t, std::string> reasons[] = { { 0, "" }, { 2359, "" }, { 959, "" },
        { 1275, "12:75 is no time of day: minutes go up to 59" },
        { 960, "09:60 is no time of day: minutes go up to 59" },
        { 2400, "24:00 is no time of day: hours go up to 23" },
        { 9999, "99:99 is no time of day: hours go up to 23" } };
    for (const auto& [time, reason] : reasons) {
        EXPECT_EQ(WrongTimeReason(time).substr(0, reason.size()), reason) << time;
        EXPECT_EQ(WrongTimeReason(time).empty(), reason.empty()) << time;
    }
    EXPECT_NE(WrongTimeReason(2500).find("Escape"), std::string::npos);

    EXPECT_EQ(FirstLine("one\r\ntwo"), "one");
    EXPECT_EQ(FirstLine("one\ntwo"), "one");
    EXPECT_EQ(FirstLine("end\x1A"
                        "after"),
        "end");
    EXPECT_EQ(FirstLine("whole line"), "whole line");
    EXPECT_EQ(FirstLine("\nsecond"), "");
}
