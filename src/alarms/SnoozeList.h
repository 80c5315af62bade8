#pragma once

#include "alarms/AlarmTimes.h"
#include "base/DataFile.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::string_view SnoozeFileName = "Snoozed.txt";

// The alarms the user snoozed, each with the minute it rings again. They are
// kept in "Snoozed.txt" in the data folder, one line each, rewritten whole
// (atomically) at every change, so a snooze survives an exit and a crash:
//     <minute> <yyyy-mm-dd> <hh:mm> <description>
// The minute is TSecondTick::MinuteStamp's. A line that does not read so is
// skipped; the diary's own file is never touched.
class TSnoozeList
{
public:
    struct TSnooze {
        int64_t Due;
        TAlarmEvent Alarm;
        friend bool operator==(const TSnooze&, const TSnooze&) = default;
    };

    explicit TSnoozeList(const std::filesystem::path& folder);

    // Reads the file again; none when it is missing or unreadable.
    void Load();
    // Rings the alarm again at minute `due`, in place of an earlier snooze of
    // it. False when the file could not be written: the snooze is kept in
    // memory all the same.
    bool Add(const TAlarmEvent& alarm, int64_t due, TDateTime now);
    // Takes out the snoozes due at minute `now` or before, in the order they
    // fall due, and writes the file when any were taken.
    std::vector<TSnooze> TakeDue(int64_t now, TDateTime clock);
    const std::vector<TSnooze>& Snoozes() const { return List; }

    static std::string Format(const std::vector<TSnooze>& snoozes);
    static std::vector<TSnooze> Parse(std::string_view text);

private:
    bool Save(TDateTime now);

    TDataFile File;
    std::vector<TSnooze> List;
};
