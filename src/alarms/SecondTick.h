#pragma once

#include "alarms/AlarmTimes.h"
#include "alarms/SnoozeList.h"
#include "base/DateTime.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

class TDiaryStore;
class TSettingsStore;

// How an alarm comes to ring: at its minute, again after a snooze, or late,
// its minute having passed while the program was not running or the computer
// slept.
enum class TRingKind { Due, Snoozed, Missed };

// What the minute work asks of the main window. The overdue count reaches the
// status bar through the diary store's own view.
class ITickHost
{
public:
    virtual ~ITickHost() = default;
    // Status panel 0 gets "ddd, d mmm yyyy" and panel 1 "hh:mm", both in the
    // user's locale.
    virtual void ShowDateAndTime(TDateTime now) = 0;
    // A note with the time ("hh:mm", none for 0) and the description.
    virtual void ShowAlarmPopup(const TAlarmEvent& alarm, TRingKind kind) = 0;
    // A notice with no sound: the alarm rings in `minutes` minutes.
    virtual void ShowReminder(const TAlarmEvent& alarm, int minutes) = 0;
    // The alarms that rang unseen, oldest first, told together once; each has
    // had its own note already.
    virtual void ShowMissedAlarms(const std::vector<TAlarmEvent>& alarms) = 0;
    // How many minutes before each alarm a reminder comes; 0 for none.
    virtual int RemindBefore() const = 0;
    // Enables the tray menu's "Acknowledge".
    virtual void EnableAcknowledge() = 0;
    virtual void UpdateTrayIcon(int imageIndex) = 0;
    virtual void PlayAlarmSound() = 0;
};

// The main window's tick. Each tick reads the clock once and compares the
// minute; on the first tick of a new minute it refreshes the
// status bar, commits the diary page's working list, raises today's alarms of
// that minute, repeats the alarm sound and the alarm tray image until the user
// acknowledges, and once a month purges the month that has left the diary's
// twelve-month window into "DiaryOld.txt".
//
// Clock jumps. The minute is compared as a whole stamp (date and time), so a
// jump that lands on the same minute of another hour still does the minute
// work. The minute landed on raises its alarms; the alarms of the minutes
// jumped over, or slept through, or passed while the program was not running
// (the last minute handled is kept in the settings as "LastTick"), ring late
// as missed when they are at most 24 hours old; older ones only count as
// overdue.
//
// Snoozes and reminders. A snoozed alarm rings again at its minute, or at the
// first minute work after it, if the diary still holds the alarm unchanged;
// the snoozes live in "Snoozed.txt". A reminder comes RemindBefore() minutes
// ahead of each alarm with a time, or at once for an alarm nearer than that
// when the program starts or the clock jumps. Each rung alarm is remembered by its
// minute stamp and description, so a clock set back (daylight saving's end, a
// time-zone change, a correction) does not ring it again; a clock set back
// into a month before one this run has already reached purges nothing, as that
// month's slots then hold the coming year's events.
class TSecondTick
{
public:
    static constexpr int NormalTrayImage = 1;
    static constexpr int AlarmTrayImage = 4;
    // PurgedMonth before "Month" has been read.
    static constexpr uint8_t UnreadMonth = 99;
    // LastMinute before the first minute work.
    static constexpr int64_t NoMinute = INT64_MIN;
    // How many rung alarms are remembered against a clock set back: the
    // alarms of weeks. A minute stamp is never reached again by a clock that
    // only runs forward, so the number only bounds the memory.
    static constexpr size_t RememberAlarms = 256;

    // `folder` is where "DiaryOld.txt" goes.
    TSecondTick(TDiaryStore& diary, TSettingsStore& settings, const IClock& clock,
        std::filesystem::path folder, ITickHost& host);
    TSecondTick(const TSecondTick&) = delete;
    TSecondTick& operator=(const TSecondTick&) = delete;

    // The timer's handler. A refused write of "Month" raises ESettingsError
    // after the purge has been done in memory and logged; a log that cannot
    // be written raises std::runtime_error and keeps the month's events.
    void SecondTimer();
    // How long the timer may sleep after this tick: until the next whole
    // minute of the last reading, so it wakes once a minute, on the minute.
    // Only the minute's first tick does work, so no tick in between is missed.
    int32_t MilliSecondsToNextMinute() const { return MilliSecondsToNextMinute(LastReading); }
    static int32_t MilliSecondsToNextMinute(TDateTime now);
    // Rings the alarm again `minutes` after the current minute. False when
    // "Snoozed.txt" could not be written; the snooze still rings in this run.
    bool Snooze(const TAlarmEvent& alarm, int minutes);
    const TSnoozeList& Snoozes() const { return FSnoozes; }
    // Ends the pending alarm: no more sound, and the next minute shows the
    // normal tray image. The host's AcknowledgeClick calls it.
    void Acknowledge() { FAlarmPending = false; }
    // The state of a fresh start: the next tick does the whole minute work
    // and reads "Month" again.
    void ResetForStart();

    // The whole minute (days since 30 December 1899 times 1440 plus the
    // minute of the day) of the last tick that did the minute work.
    int64_t LastMinute() const { return FLastMinute; }
    bool AlarmPending() const { return FAlarmPending; }
    // 1..12 for the month of the last purge, 0 when "Month" held no month,
    // UnreadMonth before the first minute work.
    uint8_t PurgedMonth() const { return FPurgedMonth; }
    // How many purges this run has made, so the window can tell one happened.
    uint32_t Purges() const { return FPurges; }

    // The whole minute of a date-time, rounded to the millisecond as
    // DecodeTime does.
    static int64_t MinuteStamp(TDateTime value);

private:
    struct TRungAlarm {
        int64_t Minute;
        std::string Description;
    };

    void MinuteWork(TDateTime now, int64_t minute, int64_t previous);
    void RaiseAlarms(uint16_t hour, uint16_t minuteOfHour, int64_t minute);
    // The missed alarms since the previous minute work, or since the last
    // minute of the run before at start.
    void RaiseMissed(int64_t minute, int64_t previous, bool count);
    void RaiseSnoozed(int64_t minute);
    void Remind(int64_t minute, int64_t previous);
    // A late alarm's note, pending state and overdue count.
    void Ring(const TAlarmEvent& alarm, TRingKind kind, bool counted);
    // The last minute handled by the run before; NoMinute when none is known.
    int64_t ReadLastTick();
    void WriteLastTick(int64_t minute);
    void ReadPurgedMonth();
    void Purge();

    TDiaryStore& Diary;
    TSettingsStore& Settings;
    const IClock& Clock;
    std::filesystem::path Folder;
    ITickHost& Host;
    TSnoozeList FSnoozes;

    int64_t FLastMinute = NoMinute;
    TDateTime LastReading = 0;
    bool FAlarmPending = false;
    uint8_t FPurgedMonth = UnreadMonth;
    uint32_t FPurges = 0;
    // The latest rung alarms, oldest first.
    std::vector<TRungAlarm> Rung;
    // The latest month (years * 12 + month) that the minute work has seen in
    // this run; 0 before the first.
    int32_t LatestMonth = 0;
};
