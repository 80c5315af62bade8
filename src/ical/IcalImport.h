#pragma once

#include "diary/DiaryEvent.h"
#include "ical/IcalDiary.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// An iCalendar file (RFC 5545) read into diary events, and added to the diary
// in one step. Every VEVENT whose date falls in the diary's months becomes an
// event on that local date and time; a repeating one gives an event for each
// occurrence in those months (EXDATEs, cancelled and moved occurrences left
// out; RDATEs added); an event with a VALARM becomes an alarm; SUMMARY, and
// LOCATION after a dash, make the description. A plain yearly repeat becomes
// one locked event. A whole-day event of several days gives an event on each
// of its days in those months, as a day of a holiday or a trip is one to see on
// each day; a timed event stays on the day it starts, the diary having no end time.
// Whatever the bytes, reading ends soon and holds at most MaxImportEvents.

struct TIcalImportSettings {
    TDiaryMonths Months;
    // The tz database name of the local zone, times are converted to; empty:
    // times are taken as they are written.
    std::string Zone;
};

// What a reader that must see every event takes in that an import leaves out.
struct TIcalKeepAll {
    // The description of an event that has none; empty: such an event is left out.
    std::string Untitled;
    // A cancelled event without the diary's own state comes crossed out
    // rather than being left out as a cancellation.
    bool KeepCancelled = false;
};

struct TImportedEvent {
    uint16_t Month = 0;
    uint16_t Day = 0;
    uint16_t Time = 0; // hhmm; 0 for a whole day
    TEventType EventType = etBlank;
    bool Locked = false;
    std::string Description; // the diary's text
};

struct TIcalImport {
    std::vector<TImportedEvent> Events; // what will be added
    int Outside = 0; // events with no day in the diary's months
    int Present = 0; // in the diary already
    int Cut = 0; // descriptions cut to IcalDescriptionLimit
    // What could not be read, a line each (UTF-8).
    std::vector<std::string> Problems;
    // Why nothing could be read at all (UTF-8); empty when the file was read.
    std::string Error;
    // The UID of the first event with a start that is not a moved occurrence.
    std::string Uid;
};

inline constexpr size_t MaxImportEvents = 100000;
// Occurrences of one repeating event, and steps through its rule, before it is
// given up as endless.
inline constexpr int MaxOccurrences = 1500;
inline constexpr int MaxRuleSteps = 200000;

TIcalImport ReadIcs(
    std::string_view bytes, const TIcalImportSettings& settings, const TIcalKeepAll& keep = {});
// The same from a file; a file too large to be a calendar is not read. libical
// holds about 25 bytes of memory for each byte of a file of events: 16 MB, some
// 100,000 events, take 400 MB while it is read.
inline constexpr uintmax_t MaxIcsFileBytes = 16u << 20;
TIcalImport ReadIcsFile(const std::filesystem::path& path, const TIcalImportSettings& settings);
// Leaves out the events that the diary has already (same day, time and
// description, trailing blanks aside). Twins within the file are both kept,
// as the diary may hold twins too.
void LeaveOutPresent(TIcalImport& import, const TDiaryDays& days);
// Adds the events to their days, each day then sorted. The whole import is
// this one change of the table.
void ApplyIcalImport(const TIcalImport& import, TDiaryDays& days);
// "Import 42 events? 3 lie outside the diary's year and are left out; 1
// description is cut to fit.", then the problems; for a file that could not
// be read, or nothing to import, the reasons alone.
std::string ImportQuestion(const TIcalImport& import);
