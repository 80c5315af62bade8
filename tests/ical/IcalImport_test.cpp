#include "IcalTestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace
{

using TLines = std::vector<std::string>;

std::string Calendar(const std::string& events)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//Test//EN\r\n" + events
        + "END:VCALENDAR\r\n";
}

std::string Event(const std::string& lines)
{
    return "BEGIN:VEVENT\r\nUID:" + std::to_string(std::hash<std::string> {}(lines)) + "\r\n"
        + lines + "END:VEVENT\r\n";
}

bool Mentions(const TIcalImport& import, const std::string& part)
{
    for (const std::string& problem : import.Problems)
        if (problem.find(part) != std::string::npos)
            return true;
    return false;
}

} // namespace

TEST(IcalImport, ExportersFilesGiveTheirLocalDatesAndTimes)
{
    struct TCase {
        std::string File, Zone;
        TLines Events;
        int Outside;
    };
    // The summary of a folded line, unfolded.
    const std::string up = " - Stand-up of the whole platform team with everyone who works on the "
                           "billing and the reports";
    const TCase cases[] = {
        { "phone.ics", TestZone,
            { "04-05 0930 A Zahnarzt Dr. Öztürk - Hauptstraße 5", "03-03 1800 - Choir rehearsal",
                "03-10 1800 - Choir rehearsal", "03-24 1800 - Choir rehearsal",
                "03-31 1800 - Choir rehearsal", "04-07 1800 - Choir rehearsal" },
            1 },
        // Berlin is six hours ahead of New York, five while only America has
        // moved its clocks (14 to 28 March).
        { "webcal.ics", TestZone,
            { "03-08 1500" + up, "03-15 1400" + up, "03-22 1400" + up, "03-29 1500" + up,
                "03-10 0100 - Book club - Brooklyn, NY", "04-14 0100 - Book club - Brooklyn, NY",
                "05-12 0100 - Book club - Brooklyn, NY", "06-09 0100 - Book club - Brooklyn, NY" },
            0 },
        { "webcal.ics", "America/New_York",
            { "03-08 0900" + up, "03-15 0900" + up, "03-22 0900" + up, "03-29 0900" + up,
                "03-09 1900 - Book club - Brooklyn, NY", "04-13 1900 - Book club - Brooklyn, NY",
                "05-11 1900 - Book club - Brooklyn, NY", "06-08 1900 - Book club - Brooklyn, NY" },
            0 },
        { "holidays.ics", TestZone,
            { "05-01 0000 - Tag der Arbeit", "06-17 0000 - Þjóðhátíðardagurinn",
                "07-14 0000 - Fête nationale", "10-12 0000 - Día de la Hispanidad",
                "12-25 0000 - Christmas Day", "01-01 0000 - New Year's Day",
                "06-19 0000 - L Anna's birthday" },
            2 },
        { "invitation.ics", TestZone, { "04-06 1400 A Quartalsplanung Q2 - Raum 4.12" }, 0 },
        { "invitation.ics", "America/New_York", { "04-06 0800 A Quartalsplanung Q2 - Raum 4.12" },
            0 },
        { "invitation.ics", "Asia/Kolkata", { "04-06 1730 A Quartalsplanung Q2 - Raum 4.12" }, 0 },
    };
    for (const auto& c : cases) {
        const TIcalImport import = ReadTestIcs(Fixture(c.File), c.Zone);
        EXPECT_EQ(Listed(import), c.Events) << c.File << " in " << c.Zone;
        EXPECT_EQ(import.Outside, c.Outside) << c.File;
        EXPECT_TRUE(import.Problems.empty()) << c.File << ": " << import.Problems.at(0);
        EXPECT_TRUE(import.Error.empty()) << c.File;
    }
}

TEST(IcalImport, RepeatRulesGiveTheirOccurrencesInTheWindow)
{
    const std::string weekly
        = "DTSTART:20270602T100000\r\nRRULE:FREQ=WEEKLY;COUNT=3\r\nSUMMARY:Yoga\r\n";
    const struct {
        std::string Name, Events;
        size_t Count;
        TLines FirstAndLast;
        std::string Problem;
    } cases[] = {
        { "endless daily from years back",
            Event("DTSTART:19990101T080000\r\nRRULE:FREQ=DAILY\r\nSUMMARY:Pills\r\nBEGIN:"
                  "VALARM\r\nTRIGGER:PT0S\r\nACTION:DISPLAY\r\nDESCRIPTION:x\r\nEND:VALARM\r\n"),
            365, { "02-01 0800 A Pills", "01-31 0800 A Pills" }, "" },
        { "every second, endless",
            Event("DTSTART:20270301T000000\r\nRRULE:FREQ=SECONDLY\r\nSUMMARY:Tick\r\n"),
            MaxOccurrences, { "03-01 0000 - Tick", "03-01 0024 - Tick" }, "repeats too often" },
        { "every minute from 1900 with a count",
            Event("DTSTART:19000101T000000\r\nRRULE:FREQ=MINUTELY;COUNT=999999999\r\nSUMMARY:"
                  "Far\r\n"),
            0, {}, "finds no end" },
        { "whole days with an EXDATE",
            Event("DTSTART;VALUE=DATE:20270901\r\nRRULE:FREQ=DAILY;UNTIL=20270905\r\nEXDATE;VALUE="
                  "DATE:20270903\r\nSUMMARY:Fair\r\n"),
            4, { "09-01 0000 - Fair", "09-05 0000 - Fair" }, "" },
        { "a moved occurrence",
            "BEGIN:VEVENT\r\nUID:m\r\n" + weekly
                + "END:VEVENT\r\nBEGIN:VEVENT\r\nUID:m\r\nRECURRENCE-ID:20270609T100000\r\nDTSTART:"
                  "20270609T150000\r\nSUMMARY:Yoga later\r\nEND:VEVENT\r\n",
            3, { "06-02 1000 - Yoga", "06-09 1500 - Yoga later" }, "" },
        { "a cancelled occurrence",
            "BEGIN:VEVENT\r\nUID:c\r\n" + weekly
                + "END:VEVENT\r\nBEGIN:VEVENT\r\nUID:c\r\nRECURRENCE-ID:20270609T100000\r\nDTSTART:"
                  "20270609T100000\r\nSTATUS:CANCELLED\r\nSUMMARY:Yoga\r\nEND:VEVENT\r\n",
            2, { "06-02 1000 - Yoga", "06-16 1000 - Yoga" }, "" },
        { "a yearly timed event is locked",
            Event("DTSTART:20100704T120000\r\nRRULE:FREQ=YEARLY;BYMONTH=7;BYMONTHDAY=4\r\nSUMMARY:"
                  "Picnic\r\n"),
            1, { "07-04 1200 - L Picnic", "07-04 1200 - L Picnic" }, "" },
        { "a yearly rule with a count is not",
            Event(
                "DTSTART;VALUE=DATE:20200704\r\nRRULE:FREQ=YEARLY;COUNT=10\r\nSUMMARY:Picnic\r\n"),
            1, { "07-04 0000 - Picnic", "07-04 0000 - Picnic" }, "" },
        { "RDATEs beside the start, once each, EXDATEs left out",
            Event("DTSTART:20270410T090000\r\nRDATE:20270412T090000,20270415T090000\r\nRDATE:"
                  "20270410T090000\r\nEXDATE:20270415T090000\r\nSUMMARY:Übung\r\n"),
            2, { "04-10 0900 - Übung", "04-12 0900 - Übung" }, "" },
        { "an RDATE in another zone beside a rule",
            Event(weekly
                + "RDATE;VALUE=DATE:20270701\r\nRDATE;TZID=America/New_York:"
                  "20270620T040000\r\n"),
            5, { "06-02 1000 - Yoga", "06-20 1000 - Yoga" }, "" },
        { "a whole day over three days",
            Event("DTSTART;VALUE=DATE:20270830\r\nDTEND;VALUE=DATE:20270902\r\nSUMMARY:Trip\r\n"),
            3, { "08-30 0000 - Trip", "09-01 0000 - Trip" }, "" },
        { "whole days from before the window into it",
            Event("DTSTART;VALUE=DATE:20170120\r\nDTEND;VALUE=DATE:20270205\r\nSUMMARY:Long\r\n"),
            4, { "02-01 0000 - Long", "02-04 0000 - Long" }, "" },
        { "two days weekly, by duration",
            Event("DTSTART;VALUE=DATE:20270605\r\nDURATION:P2D\r\nRRULE:FREQ=WEEKLY;COUNT=2\r\n"
                  "SUMMARY:Weekend\r\n"),
            4, { "06-05 0000 - Weekend", "06-13 0000 - Weekend" }, "" },
        { "a week yearly, begun days before the window",
            Event(
                "DTSTART;VALUE=DATE:20200127\r\nDTEND;VALUE=DATE:20200203\r\nRRULE:FREQ=YEARLY\r\n"
                "SUMMARY:Ski\r\n"),
            7, { "02-01 0000 - L Ski", "01-31 0000 - L Ski" }, "" },
        { "a timed event past midnight stays on its first day",
            Event("DTSTART:20270610T220000\r\nDTEND:20270611T020000\r\nSUMMARY:Night -1\r\n"), 1,
            { "06-10 2200 - Night -1", "06-10 2200 - Night -1" }, "" },
        { "a rule libical cannot read",
            Event("DTSTART:20270704T120000\r\nRRULE:FREQ=SOMETIMES\r\nSUMMARY:Odd\r\n"), 1,
            { "07-04 1200 - Odd", "07-04 1200 - Odd" }, "could not be read" },
    };
    for (const auto& c : cases) {
        const TIcalImport import = ReadTestIcs(Calendar(c.Events));
        const TLines events = Listed(import);
        ASSERT_EQ(events.size(), c.Count) << c.Name;
        if (c.Count) {
            EXPECT_EQ((TLines { events.front(), events.back() }), c.FirstAndLast) << c.Name;
        }
        if (c.Problem.empty())
            EXPECT_TRUE(import.Problems.empty()) << c.Name << ": " << import.Problems.at(0);
        else
            EXPECT_TRUE(Mentions(import, c.Problem)) << c.Name;
    }
}

TEST(IcalImport, BadFilesGiveAMessageOrWhatCanBeRead)
{
    const std::string phone = Fixture("phone.ics");
    std::string utf16 = "\xFF\xFE";
    for (const char c : Calendar(Event("DTSTART;VALUE=DATE:20270501\r\nSUMMARY:Maj\r\n")))
        utf16 += std::string { c, '\0' };
    const struct {
        std::string Name, Bytes;
        TLines Events;
        std::string Error, Problem;
    } cases[] = {
        { "empty", "", {}, "not an iCalendar file", "" },
        { "plain text", "Dear all,\nthe meeting is on Monday.\n", {}, "not an iCalendar file", "" },
        { "a calendar without events", Calendar(""), {}, "holds no events", "" },
        { "cut in the second event", phone.substr(0, phone.find("Choir")),
            { "04-05 0930 A Zahnarzt Dr. Öztürk - Hauptstraße 5" }, "", "cut short" },
        { "cut after the first event", phone.substr(0, phone.find("END:VEVENT") + 12),
            { "04-05 0930 A Zahnarzt Dr. Öztürk - Hauptstraße 5" }, "", "cut short" },
        { "a zone that does not exist",
            Calendar(Event("DTSTART;TZID=Mars/Olympus_Mons:20270405T093000\r\nSUMMARY:Launch\r\n")),
            { "04-05 0930 - Launch" }, "", "\"Mars/Olympus_Mons\" is not known" },
        { "Windows-1252 bytes",
            Calendar(Event("DTSTART;VALUE=DATE:20270501\r\nSUMMARY:Caf\xE9 \x80 5\r\n")),
            { "05-01 0000 - Café € 5" }, "", "not UTF-8" },
        { "UTF-16", utf16, { "05-01 0000 - Maj" }, "", "" },
        { "no start",
            Calendar(Event("SUMMARY:When?\r\n") + Event("DTSTART:20270502\r\nSUMMARY:Then\r\n")),
            { "05-02 0000 - Then" }, "", "without a start" },
        { "no summary", Calendar(Event("DTSTART:20270502T101500Z\r\n")), {}, "",
            "without a summary" },
        { "a NUL and broken lines",
            Calendar(std::string("X-\0WEIRD\r\nthis is no property\r\n", 31)
                + Event("DTSTART:20270502\r\nSUMMARY:Kept\r\n")),
            { "05-02 0000 - Kept" }, "", "" },
        { "events without a calendar", Event("DTSTART:20270502\r\nSUMMARY:Bare\r\n"),
            { "05-02 0000 - Bare" }, "", "" },
        { "ends that never began",
            "END:VEVENT\r\n" + Calendar(Event("DTSTART:20270502\r\nSUMMARY:Kept\r\n"))
                + "end:vcalendar\r\n",
            { "05-02 0000 - Kept" }, "", "2 lines end parts that did not begin" },
    };
    for (const auto& c : cases) {
        // What goes wrong is told in the problems, not on the error output.
        testing::internal::CaptureStderr();
        const TIcalImport import = ReadTestIcs(c.Bytes);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << c.Name;
        EXPECT_EQ(Listed(import), c.Events) << c.Name;
        if (c.Error.empty())
            EXPECT_TRUE(import.Error.empty()) << c.Name << ": " << import.Error;
        else
            EXPECT_NE(import.Error.find(c.Error), std::string::npos)
                << c.Name << ": " << import.Error;
        if (!c.Problem.empty()) {
            EXPECT_TRUE(Mentions(import, c.Problem)) << c.Name;
        }
    }
}

TEST(IcalImport, HugeFilesAreRefusedAndManyEventsCapped)
{
    const std::filesystem::path huge = std::filesystem::temp_directory_path()
        / ("talvo-huge-" + std::to_string(getpid()) + ".ics");
    std::ofstream { huge };
    std::filesystem::resize_file(huge, 100u << 20);
    EXPECT_NE(
        ReadIcsFile(huge, { TestMonths, TestZone }).Error.find("too large"), std::string::npos);
    std::filesystem::remove(huge);
    EXPECT_EQ(ReadIcsFile("/nonexistent/x.ics", { TestMonths, TestZone }).Error,
        "The file cannot be read.");
    EXPECT_EQ(ReadIcsFile("/dev/zero", { TestMonths, TestZone }).Error, "The file cannot be read.");

    std::string events;
    for (size_t i = 0; i <= MaxImportEvents; ++i)
        events += "BEGIN:VEVENT\nDTSTART:20270602T1000" + std::to_string(10 + i % 50)
            + "\nSUMMARY:" + std::to_string(i) + "\nEND:VEVENT\n";
    const TIcalImport import = ReadTestIcs(Calendar(events));
    EXPECT_EQ(import.Events.size(), MaxImportEvents);
    EXPECT_TRUE(Mentions(import, "the rest is left out"));
}

TEST(IcalImport, EventsInTheDiaryAreNotAddedTwice)
{
    TDiaryDays days;
    ParseDiary("010930Dentist  \r\n\xFF\r\n", days); // 1 January
    const std::string file = Calendar(Event("DTSTART:20280101T093000\r\nSUMMARY:Dentist\r\n")
        + Event("DTSTART:20280101T093000\r\nSUMMARY:Dentist\r\n")
        + Event("DTSTART:20280101T094500\r\nSUMMARY:Dentist\r\n")
        + Event("DTSTART;VALUE=DATE:20280101\r\nSUMMARY:Dentist\r\n")
        + Event("DTSTART:20280101T093000\r\nSUMMARY:dentist\r\n"));
    TIcalImport import = ReadTestIcs(file, "");
    LeaveOutPresent(import, days);
    EXPECT_EQ(import.Present, 2);
    EXPECT_EQ(Listed(import),
        (TLines { "01-01 0945 - Dentist", "01-01 0000 - Dentist", "01-01 0930 - dentist" }));
    ApplyIcalImport(import, days);
    const std::string saved = FormatDiary(days);
    EXPECT_EQ(saved.substr(0, saved.find('\xFF')),
        "000000Dentist\r\n010930Dentist\r\n000930dentist\r\n000945Dentist\r\n");
    TIcalImport again = ReadTestIcs(file, "");
    LeaveOutPresent(again, days);
    EXPECT_TRUE(again.Events.empty());
}

TEST(IcalImport, TheQuestionCountsWhatIsAddedLeftOutAndCut)
{
    const auto with = [](size_t events, int outside, int present, int cut, TLines problems = {}) {
        TIcalImport import;
        import.Events.resize(events);
        import.Outside = outside;
        import.Present = present;
        import.Cut = cut;
        import.Problems = problems;
        return ImportQuestion(import);
    };
    const struct {
        std::string Question, Expected;
    } cases[] = {
        { with(42, 3, 0, 1),
            "Import 42 events? 3 lie outside the diary's year and are left out; 1 description is "
            "cut to fit." },
        { with(1, 1, 1, 2),
            "Import 1 event? 1 lies outside the diary's year and is left out; 1 is in the diary "
            "already; "
            "2 descriptions are cut to fit." },
        { with(7, 0, 5, 0), "Import 7 events? 5 are in the diary already." },
        { with(0, 0, 9, 0, { "A.", "B." }),
            "There is nothing to import. 9 are in the diary already.\n\nProblems:\nA.\nB." },
        { with(2, 0, 0, 0, TLines(10, "P.")),
            "Import 2 events?\n\nProblems:\nP.\nP.\nP.\nP.\nP.\nP.\nP.\nP.\n(2 more)" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.Question, c.Expected);
}
