#pragma once

#include "diary/DiaryEvent.h"
#include "ical/IcalDiary.h"

#include <cstdint>
#include <string>
#include <string_view>

// The diary as an iCalendar file (RFC 5545): one VEVENT per event of the
// diary's twelve months. An event at a time of day is at that local time in
// the given zone (with its VTIMEZONE), or at a floating time when the zone is
// not known; an event without a time is a whole day. An alarm gets a VALARM at
// the event's time, a crossed-out event STATUS:CANCELLED, a ticked one the
// state DONE (IcalStateProperty), and a locked event repeats every year. Each
// event's UID is made from its date, time and description, so it stays the
// same in every export while the event does.
struct TIcalExportSettings {
    TDiaryMonths Months;
    // The tz database name of the local zone ("Europe/Berlin"); empty for
    // floating times.
    std::string Zone;
    // DTSTAMP: seconds since 1970 in UTC.
    int64_t Stamp = 0;
};

struct TIcalExport {
    std::string Text; // UTF-8, lines ending in CR LF
    int Written = 0;
    // Events on a day that the month does not have (31 April), or at a time
    // that is no time of day.
    int LeftOut = 0;
    bool Floating = false; // the zone was not known
};

TIcalExport ExportDiaryIcs(const TDiaryDays& days, const TIcalExportSettings& settings);

// One event of the diary on its full date.
struct TIcalEvent {
    int Year = 0;
    int Month = 0;
    int Day = 0;
    uint16_t Time = 0; // hhmm; 0 for a whole day
    TEventType EventType = etBlank;
    bool Locked = false;
    std::string_view Description;
};

// A calendar of the one event, under the UID given, as a calendar server keeps
// each event; written as ExportDiaryIcs writes every event. Empty when the
// event has no date or time to stand on.
std::string ExportEventIcs(
    const TIcalEvent& event, std::string_view uid, const TIcalExportSettings& settings);
