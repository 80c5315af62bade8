#pragma once

#include "base/DateTime.h"
#include "diary/DiaryEvent.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A diary event as it travels between the diary and a calendar server: its
// date in full (the diary's slot plus the year the window gives it) and its
// text in UTF-8.
struct TSyncEvent {
    TCivilDate Date;
    uint16_t Time = 0; // hhmm; 0 = a whole-day event
    TEventType Type = etBlank;
    uint8_t Locked = 0; // 1: repeats every year
    std::string Description; // UTF-8
    friend bool operator==(const TSyncEvent&, const TSyncEvent&) = default;
};

// The diary's twelve months: the month before today's up to ten after it.
struct TSyncWindow {
    uint16_t Year = 0; // today's
    uint16_t Month = 0;

    bool Contains(uint16_t year, uint16_t month) const;
    bool Contains(const TCivilDate& date) const { return Contains(date.Year, date.Month); }
    // The year the window gives a month (1..12).
    uint16_t YearOf(uint16_t month) const;
    TCivilDate First() const; // the first day of the window
    TCivilDate Last() const; // its last day
    friend bool operator==(const TSyncWindow&, const TSyncWindow&) = default;
};

// What an event was when it was last synced: enough to tell it unchanged, and
// to pair an edited event with its earlier self by date and time or by text.
struct TFingerprint {
    TCivilDate Date;
    uint16_t Time = 0;
    uint8_t Type = 0;
    uint8_t Locked = 0;
    uint64_t Text = 0; // a digest of the description

    // "20261209 0930 1 0 0123456789abcdef"
    std::string ToText() const;
    static std::optional<TFingerprint> FromText(std::string_view text);
    friend bool operator==(const TFingerprint&, const TFingerprint&) = default;
};

TFingerprint FingerprintOf(const TSyncEvent& event);
uint64_t TextDigest(std::string_view text);

// What an event's description gains when a change on the server takes its
// place and the local change is kept beside it.
inline constexpr std::string_view ConflictSuffix = " (conflict)";
