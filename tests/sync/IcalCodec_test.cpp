#include "sync/IcalCodec.h"
#include "sync/SyncTestSupport.h"

#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>

namespace
{

const TSyncWindow Window { 2026, 12 };

class IcalCodecTest : public ::testing::Test
{
protected:
    IcalCodecTest()
        : Clock(EncodeDate(2026, 12, 9) + EncodeTime(14, 32))
        , Codec(Clock)
    {
        // Times in a zone land in the local time of Berlin.
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
    }
    TFixedClock Clock;
    TIcalCodec Codec;
};

std::string Calendar(const std::string& body)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//Phone//EN\r\n" + body
        + "END:VCALENDAR\r\n";
}

TEST_F(IcalCodecTest, EveryKindOfEventComesBackAsItWent)
{
    const TSyncEvent events[] {
        Ev("2026-12-09", 930, "Dentist", etAlarm),
        Ev("2026-11-01", 0, "All Saints' Day", etBlank),
        Ev("2027-10-31", 2359, "Done: tax return ✓", etTicked),
        Ev("2027-02-28", 1205, "Cancelled; meeting, with \\ and \"quotes\"", etCrossed),
        Ev("2027-01-20", 0, "Birthday Zoë Ærøskøbing", etAlarm, 1),
        Ev("2027-06-15", 800, std::string(300, 'x') + " 日本語 " + std::string(200, 'y')),
    };
    for (const TSyncEvent& event : events) {
        const std::string text = Codec.Write(event, "uid-42@talvo");
        const auto back = Codec.Read(text, Window);
        ASSERT_TRUE(back) << text;
        EXPECT_EQ(back->Uid, "uid-42@talvo");
        ASSERT_EQ(back->Occurrences.size(), 1u) << text;
        EXPECT_EQ(back->Occurrences.front(), event) << text;
        EXPECT_NE(text.find("DTSTAMP:20261209T133200Z"), std::string::npos);
    }
}

TEST_F(IcalCodecTest, ReadsOtherCalendarsInTheDiarysTerms)
{
    struct TCase {
        const char* Name;
        std::string Body;
        std::vector<TSyncEvent> Expected;
    };
    const TCase cases[] {
        { "UTC time to local time",
            "BEGIN:VEVENT\r\nUID:1\r\nDTSTART:20270115T080000Z\r\nSUMMARY:Call\r\n"
            "LOCATION:Room 4\r\nEND:VEVENT\r\n",
            { Ev("2027-01-15", 900, "Call - Room 4") } },
        { "a zone's time, across the change to summer time",
            "BEGIN:VTIMEZONE\r\nTZID:America/"
            "New_York\r\nBEGIN:STANDARD\r\nDTSTART:19701101T020000\r\n"
            "RRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=1SU\r\nTZOFFSETFROM:-0400\r\nTZOFFSETTO:-0500\r\n"
            "END:STANDARD\r\nBEGIN:DAYLIGHT\r\nDTSTART:19700308T020000\r\n"
            "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=2SU\r\nTZOFFSETFROM:-0500\r\nTZOFFSETTO:-0400\r\n"
            "END:DAYLIGHT\r\nEND:VTIMEZONE\r\n"
            "BEGIN:VEVENT\r\nUID:2\r\nDTSTART;TZID=America/New_York:20270320T090000\r\n"
            "SUMMARY:NY\r\nEND:VEVENT\r\n",
            { Ev("2027-03-20", 1400, "NY") } },
        { "weekly with COUNT and an EXDATE, multi-line text",
            "BEGIN:VEVENT\r\nUID:3\r\nDTSTART:20261130T100000\r\nRRULE:FREQ=WEEKLY;COUNT=3\r\n"
            "EXDATE:20261207T100000\r\nSUMMARY:Stand-up\\nroom 2  \r\nEND:VEVENT\r\n",
            { Ev("2026-11-30", 1000, "Stand-up room 2"),
                Ev("2026-12-14", 1000, "Stand-up room 2") } },
        { "a birthday years back becomes one locked event",
            "BEGIN:VEVENT\r\nUID:4\r\nDTSTART;VALUE=DATE:19800704\r\nRRULE:FREQ=YEARLY\r\n"
            "SUMMARY:Großvater\r\nEND:VEVENT\r\n",
            { Ev("2027-07-04", 0, "Großvater", etBlank, 1) } },
        { "outside the window",
            "BEGIN:VEVENT\r\nUID:5\r\nDTSTART:20300101T100000\r\nSUMMARY:Far\r\nEND:VEVENT\r\n",
            {} },
        { "a rule without end stays bounded",
            "BEGIN:VEVENT\r\nUID:6\r\nDTSTART:19000101T000100\r\nRRULE:FREQ=MINUTELY\r\nSUMMARY:"
            "m\r\nEND:VEVENT\r\n",
            {} },
        { "no summary, cancelled",
            "BEGIN:VEVENT\r\nUID:7\r\nDTSTART;VALUE=DATE:20270202\r\nSTATUS:CANCELLED\r\nEND:"
            "VEVENT\r\n",
            { Ev("2027-02-02", 0, "(no title)", etCrossed) } },
    };
    for (const TCase& c : cases) {
        const auto object = Codec.Read(Calendar(c.Body), Window);
        ASSERT_TRUE(object) << c.Name;
        EXPECT_EQ(object->Occurrences, c.Expected) << c.Name;
    }
}

TEST_F(IcalCodecTest, RefusesWhatIsNoEvent)
{
    const std::string texts[] {
        "",
        "garbage \x01\x02\xff",
        "<?xml version=\"1.0\"?><d:multistatus xmlns:d=\"DAV:\"/>",
        Calendar("BEGIN:VTODO\r\nUID:1\r\nSUMMARY:t\r\nEND:VTODO\r\n"),
        Calendar("BEGIN:VEVENT\r\nUID:1\r\nSUMMARY:no start\r\nEND:VEVENT\r\n"),
        "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:1\r\nDTSTART:2027",
    };
    for (const std::string& text : texts)
        EXPECT_FALSE(Codec.Read(text, Window)) << text;
}

} // namespace
