#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// What the diary's iCalendar files share: the diary's twelve months, and the
// names this program writes into them.

// The months the diary holds: from the month before today's to ten months
// after it. Each month number occurs once, so a (month, day) slot of the diary
// stands for one date.
struct TDiaryMonths {
    uint16_t TodayYear = 0;
    uint16_t TodayMonth = 0; // 1..12

    bool Contains(int year, int month) const
    {
        const int serial = year * 12 + month;
        const int today = TodayYear * 12 + TodayMonth;
        return serial >= today - 1 && serial <= today + 10;
    }
    // The year that month 1..12 has in the window.
    int YearOf(int month) const
    {
        return Contains(TodayYear, month) ? TodayYear
            : month < TodayMonth          ? TodayYear + 1
                                          : TodayYear - 1;
    }
};

inline constexpr std::string_view IcalProductId = "-//Quorral//Talvo95//EN";
// How an event's state that iCalendar has no word for travels: "DONE" on a
// ticked event, "CANCELLED" beside STATUS:CANCELLED on a crossed-out one (a
// cancelled event without it is a cancellation, and is not imported).
inline constexpr std::string_view IcalStateProperty = "X-TALVO95-STATE";
inline constexpr std::string_view IcalStateDone = "DONE";
inline constexpr std::string_view IcalStateCancelled = "CANCELLED";
// The longest description the diary takes from a calendar, in characters.
inline constexpr size_t IcalDescriptionLimit = 9999;

// The tz database name of the system's zone ("Europe/Berlin"): from TZ, else
// from where /etc/localtime points; empty when neither names one.
std::string LocalZoneName();
