#pragma once

#include "base/DateTime.h"

#include <cstdint>
#include <string>
#include <vector>

class TDiaryStore;

// One alarm of the diary as the alarm work knows it: its day, its time and
// its description. Two alarms are the same alarm when all three match; an
// event that was moved, retimed, renamed or marked done is no longer it.
struct TAlarmEvent {
    int32_t Day = 0; // days since 30 December 1899
    uint16_t Time = 0; // hhmm
    std::string Description;

    // The whole minute it rings, as TSecondTick::MinuteStamp counts minutes.
    int64_t Minute() const;
    friend bool operator==(const TAlarmEvent&, const TAlarmEvent&) = default;
};

// The alarms of the diary that ring after minute `after` and before minute
// `before` (both excluded), in the order they ring; equal minutes keep the
// order of their day's list. Only days of the diary's twelve-month window
// are looked at, and only up to 24 hours back from `before`.
std::vector<TAlarmEvent> AlarmsBetween(const TDiaryStore& diary, int64_t after, int64_t before);

// Whether the diary holds any alarm that rings after minute `now`, up to the
// end of its twelve-month window.
bool AlarmAhead(const TDiaryStore& diary, int64_t now);

// Whether the diary still holds this alarm, unchanged and still to ring.
bool AlarmExists(const TDiaryStore& diary, const TAlarmEvent& alarm);
