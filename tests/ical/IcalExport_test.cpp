#include "IcalTestSupport.h"
#include "ical/IcalExport.h"

#include <gtest/gtest.h>

namespace
{

struct TRow {
    uint16_t Month, Day, Time;
    TEventType Type;
    bool Locked;
    std::string Description; // the diary's text
};

void Put(TDiaryDays& days, const TRow& row)
{
    TEventLink& end = ListEnd(days[DayIndex(row.Month, row.Day)]);
    end = NewEvent();
    end->Time = row.Time;
    end->EventType = row.Type;
    end->Locked = row.Locked;
    end->Description = row.Description;
}

TIcalExport Export(
    const TDiaryDays& days, const std::string& zone = TestZone, int64_t stamp = 1796000000)
{
    return ExportDiaryIcs(days, { TestMonths, zone, stamp });
}

// The lines of the file's VEVENTs, one text each.
std::vector<std::string> Events(const std::string& text)
{
    std::vector<std::string> events;
    for (size_t at = text.find("BEGIN:VEVENT"); at != std::string::npos;
         at = text.find("BEGIN:VEVENT", at + 1))
        events.push_back(text.substr(at, text.find("END:VEVENT", at) - at));
    return events;
}

} // namespace

TEST(IcalExport, EachKindOfEventHasItsProperties)
{
    const struct {
        TRow Event;
        std::vector<std::string> Has, HasNot;
    } cases[] = {
        { { 4, 5, 930, etAlarm, false, "Dentist" },
            { "DTSTART;TZID=Europe/Berlin:20270405T093000\r\n", "SUMMARY:Dentist\r\n",
                "BEGIN:VALARM", "ACTION:DISPLAY", "TRIGGER:PT0S" },
            { "RRULE", "STATUS", "X-TALVO95" } },
        { { 1, 19, 0, etBlank, true, "Anna's birthday" },
            { "DTSTART;VALUE=DATE:20280119\r\n", "DTEND;VALUE=DATE:20280120\r\n",
                "RRULE:FREQ=YEARLY\r\n" },
            { "VALARM", "STATUS" } },
        { { 2, 28, 1745, etCrossed, false, "Café with Zoë, € 5" },
            { "STATUS:CANCELLED", "X-TALVO95-STATE:CANCELLED", "SUMMARY:Café with Zoë\\, € 5" },
            { "VALARM" } },
        { { 12, 31, 2359, etTicked, true, "Tax\treturn; \"done\"" },
            { "X-TALVO95-STATE:DONE", "DTSTART;TZID=Europe/Berlin:20271231T235900",
                "RRULE:FREQ=YEARLY" },
            { "VALARM", "STATUS" } },
    };
    for (const auto& c : cases) {
        TDiaryDays days;
        Put(days, c.Event);
        const TIcalExport result = Export(days);
        ASSERT_EQ(result.Written, 1);
        const std::string event = Events(result.Text).at(0);
        for (const std::string& part : c.Has)
            EXPECT_NE(event.find(part), std::string::npos) << part << " in\n" << event;
        for (const std::string& part : c.HasNot)
            EXPECT_EQ(event.find(part), std::string::npos) << part << " in\n" << event;
        EXPECT_TRUE(ReadTestIcs(result.Text).Problems.empty());
    }
}

TEST(IcalExport, ZoneIsWrittenOnceOrTimesFloat)
{
    TDiaryDays days;
    Put(days, { 3, 28, 230, etAlarm, false, "Night shift" });
    Put(days, { 7, 1, 1200, etBlank, false, "Lunch" });
    const struct {
        std::string Zone, Start;
        bool Floating;
        size_t Zones;
    } cases[] = {
        { "Europe/Berlin", "DTSTART;TZID=Europe/Berlin:20270328T023000", false, 1 },
        { "America/New_York", "DTSTART;TZID=America/New_York:20270328T023000", false, 1 },
        { "UTC", "DTSTART:20270328T023000Z", false, 0 },
        { "", "DTSTART:20270328T023000\r\n", true, 0 },
        { "Mars/Olympus_Mons", "DTSTART:20270328T023000\r\n", true, 0 },
    };
    for (const auto& c : cases) {
        const TIcalExport result = Export(days, c.Zone);
        EXPECT_EQ(result.Floating, c.Floating) << c.Zone;
        EXPECT_NE(result.Text.find(c.Start), std::string::npos) << c.Zone << "\n" << result.Text;
        size_t zones = 0;
        for (size_t at = result.Text.find("BEGIN:VTIMEZONE"); at != std::string::npos;
             at = result.Text.find("BEGIN:VTIMEZONE", at + 1))
            ++zones;
        EXPECT_EQ(zones, c.Zones) << c.Zone;
        // Read back in the same zone, the times are the diary's own again.
        EXPECT_EQ(Listed(ReadTestIcs(result.Text, c.Zone)),
            (std::vector<std::string> { "03-28 0230 A Night shift", "07-01 1200 - Lunch" }))
            << c.Zone;
    }
}

TEST(IcalExport, DaysAndTimesThatDoNotExistAreLeftOut)
{
    TDiaryDays days;
    Put(days, { 4, 31, 0, etBlank, false, "31 April" });
    Put(days, { 2, 29, 0, etBlank, true, "Leap day in a common year" });
    Put(days, { 5, 2, 2460, etAlarm, false, "24:60" });
    Put(days, { 5, 2, 1000, etBlank, false, "   " });
    Put(days, { 5, 2, 1000, etBlank, false, "kept" });
    const TIcalExport result = Export(days);
    EXPECT_EQ(result.Written, 1);
    EXPECT_EQ(result.LeftOut, 3);
}

TEST(IcalExport, UidsStayWhileTheEventDoes)
{
    TDiaryDays days;
    for (const TRow& row :
        { TRow { 6, 1, 900, etAlarm, false, "Same" }, TRow { 6, 1, 900, etAlarm, false, "Same" },
            TRow { 6, 2, 900, etBlank, true, "Other" } })
        Put(days, row);
    const auto uids = [](const std::string& text) {
        std::vector<std::string> found;
        for (const std::string& event : Events(text)) {
            const size_t at = event.find("UID:");
            found.push_back(event.substr(at, event.find('\r', at) - at));
        }
        return found;
    };
    const std::vector<std::string> first = uids(Export(days, TestZone, 1).Text);
    ASSERT_EQ(first.size(), 3u);
    EXPECT_NE(first[0], first[1]);
    EXPECT_EQ(uids(Export(days, "", 999999).Text), first);
    // Ticking keeps the event's UID; a new text gives a new one.
    days[DayIndex(6, 1)]->EventType = etTicked;
    days[DayIndex(6, 2)]->Description = "Changed";
    const std::vector<std::string> later = uids(Export(days).Text);
    EXPECT_EQ(later[0], first[0]);
    EXPECT_NE(later[2], first[2]);
}

TEST(IcalExport, ExportThenImportIntoAnEmptyDiaryGivesTheSameDiary)
{
    TDiaryDays days;
    const TRow rows[] = {
        { 2, 1, 0, etBlank, false, "First day of the window" },
        { 3, 14, 100, etAlarm, false,
            "ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz 0123456789" },
        { 3, 14, 100, etAlarm, false,
            "ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz 0123456789 " },
        { 3, 28, 230, etTicked, false, "In the hour the clocks skip" },
        { 6, 19, 0, etAlarm, true, "Birthday Åsa ßæøœŠ" },
        { 8, 8, 808, etCrossed, true, "-12.5 €, ; : \\ \" , tabs\tand\tmore" },
        { 10, 31, 2330, etCrossed, false, "The night the clocks go back" },
        { 1, 31, 2359, etTicked, false, "Last day of the window" },
    };
    for (const TRow& row : rows)
        Put(days, row);
    for (TEventLink& day : days)
        SortDay(day);
    const TIcalExport exported = Export(days);
    TIcalImport import = ReadTestIcs(exported.Text);
    EXPECT_TRUE(import.Problems.empty());
    TDiaryDays empty;
    LeaveOutPresent(import, empty);
    EXPECT_EQ(import.Present, 0);
    ApplyIcalImport(import, empty);
    EXPECT_EQ(FormatDiary(empty), FormatDiary(days));
    // Twice changes nothing.
    TIcalImport again = ReadTestIcs(exported.Text);
    LeaveOutPresent(again, empty);
    EXPECT_TRUE(again.Events.empty());
    EXPECT_EQ(again.Present, 8);
}
