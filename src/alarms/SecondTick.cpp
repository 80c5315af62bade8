#include "alarms/SecondTick.h"

#include "diary/DiaryFile.h"
#include "diary/DiaryStore.h"
#include "settings/SettingsStore.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

namespace
{

constexpr int64_t MilliSecondsPerDay = 86'400'000;
constexpr int64_t MinutesPerDay = 1440;

// A description of blanks only is as dead as an empty one.
bool IsDead(const std::string& description)
{
    return description.find_first_not_of(' ') == std::string::npos;
}

} // namespace

TSecondTick::TSecondTick(TDiaryStore& diary, TSettingsStore& settings, const IClock& clock,
    std::filesystem::path folder, ITickHost& host)
    : Diary(diary)
    , Settings(settings)
    , Clock(clock)
    , Folder(std::move(folder))
    , Host(host)
    , FSnoozes(Folder)
{
}

void TSecondTick::ResetForStart()
{
    FLastMinute = NoMinute;
    FAlarmPending = false;
    FPurgedMonth = UnreadMonth;
    Rung.clear();
    LatestMonth = 0;
}

int64_t TSecondTick::MinuteStamp(TDateTime value)
{
    // The same split as the date and time decoding, so a stamp never disagrees
    // with the minute that DecodeTime gives.
    const double whole = std::floor(value);
    int64_t days = static_cast<int64_t>(whole);
    int64_t milliSeconds = std::llround((value - whole) * static_cast<double>(MilliSecondsPerDay));
    if (milliSeconds >= MilliSecondsPerDay) {
        days += 1;
        milliSeconds -= MilliSecondsPerDay;
    }
    return days * MinutesPerDay + milliSeconds / 60'000;
}

int32_t TSecondTick::MilliSecondsToNextMinute(TDateTime now)
{
    const double whole = std::floor(now);
    const int64_t milliSeconds
        = std::llround((now - whole) * static_cast<double>(MilliSecondsPerDay)) % 60'000;
    return static_cast<int32_t>(60'000 - milliSeconds);
}

void TSecondTick::SecondTimer()
{
    const TDateTime now = Clock.Now();
    LastReading = now;
    Diary.CurrentDateTime = now;
    const int64_t minute = MinuteStamp(now);
    if (minute == FLastMinute)
        return;
    MinuteWork(now, minute, std::exchange(FLastMinute, minute));
}

bool TSecondTick::Snooze(const TAlarmEvent& alarm, int minutes)
{
    const TDateTime now = Clock.Now();
    const int64_t minute = std::max(MinuteStamp(now), FLastMinute);
    return FSnoozes.Add(alarm, minute + minutes, now);
}

void TSecondTick::MinuteWork(TDateTime now, int64_t minute, int64_t previous)
{
    Host.ShowDateAndTime(now);
    const TCivilDate today = DecodeDate(now);
    if (today.Month < 1 || today.Day < 1)
        return; // a clock before year 1 has no diary day
    Diary.TodayYear = today.Year;
    Diary.TodayMonth = today.Month;
    Diary.TodayDay = today.Day;
    Diary.TodayIndex = DayIndex(today.Month, today.Day);

    // Events typed for today and not yet committed must ring too.
    if (Diary.SelectedDay < NoDay)
        Diary.StoreSelectedDay(Diary.SelectedDay);

    const bool atStart = previous == NoMinute;
    if (atStart) {
        previous = ReadLastTick();
        FSnoozes.Load();
    }
    const TCivilTime time = DecodeTime(now);
    RaiseAlarms(time.Hour, time.Minute, minute);
    // At start the load has counted the missed alarms as overdue already.
    RaiseMissed(minute, previous, !atStart);
    RaiseSnoozed(minute);
    Remind(minute, previous);
    WriteLastTick(minute);

    if (FAlarmPending) {
        Host.PlayAlarmSound();
        Host.UpdateTrayIcon(AlarmTrayImage);
    } else {
        Host.UpdateTrayIcon(NormalTrayImage);
    }

    if (FPurgedMonth == UnreadMonth)
        ReadPurgedMonth();
    const int32_t month = today.Year * 12 + today.Month;
    const bool setBack = month < LatestMonth;
    LatestMonth = std::max(LatestMonth, month);
    if (FPurgedMonth != today.Month && !setBack)
        Purge();
}

void TSecondTick::RaiseAlarms(uint16_t hour, uint16_t minuteOfHour, int64_t minute)
{
    const size_t firstNew = Rung.size();
    const uint16_t time = static_cast<uint16_t>(hour * 100 + minuteOfHour);
    for (const TDiaryEvent* event = Diary.DiaryDays[Diary.TodayIndex].get(); event;
         event = event->Next.get()) {
        if (event->EventType != etAlarm || event->Time != time || IsDead(event->Description))
            continue;
        // Two equal alarms of one minute both ring; only an earlier pass of
        // this minute silences them.
        const bool alreadyRung = std::any_of(Rung.begin(),
            Rung.begin() + static_cast<std::ptrdiff_t>(firstNew), [&](const TRungAlarm& alarm) {
                return alarm.Minute == minute && alarm.Description == event->Description;
            });
        if (!alreadyRung)
            Rung.push_back({ minute, event->Description });
    }
    // The host is called only after the walk, so nothing it does can pull the
    // list from under it.
    std::vector<std::string> ringing;
    for (size_t i = firstNew; i < Rung.size(); ++i)
        ringing.push_back(Rung[i].Description);
    if (Rung.size() > RememberAlarms)
        Rung.erase(Rung.begin(), Rung.end() - static_cast<std::ptrdiff_t>(RememberAlarms));
    const auto day = static_cast<int32_t>(minute / MinutesPerDay);
    for (std::string& description : ringing)
        Ring({ day, time, std::move(description) }, TRingKind::Due, true);
}

void TSecondTick::Ring(const TAlarmEvent& alarm, TRingKind kind, bool counted)
{
    Host.ShowAlarmPopup(alarm, kind);
    if (alarm.Time > 0)
        FAlarmPending = true;
    if (counted) {
        ++Diary.OverdueCount;
        Diary.ShowOverdueCount();
    }
    Host.EnableAcknowledge();
}

void TSecondTick::RaiseMissed(int64_t minute, int64_t previous, bool count)
{
    if (previous == NoMinute || minute <= previous + 1)
        return;
    const std::vector<TAlarmEvent> missed = AlarmsBetween(Diary, previous, minute);
    if (missed.empty())
        return;
    for (const TAlarmEvent& alarm : missed) {
        Rung.push_back({ alarm.Minute(), alarm.Description });
        Ring(alarm, TRingKind::Missed, count);
    }
    Host.ShowMissedAlarms(missed);
}

void TSecondTick::RaiseSnoozed(int64_t minute)
{
    for (const TSnoozeList::TSnooze& snooze : FSnoozes.TakeDue(minute, Clock.Now())) {
        // One left from long ago, or whose event went or changed, rings no more.
        if (snooze.Due > minute - MinutesPerDay && AlarmExists(Diary, snooze.Alarm))
            Ring(snooze.Alarm, TRingKind::Snoozed, false);
    }
}

void TSecondTick::Remind(int64_t minute, int64_t previous)
{
    const int before = std::clamp(Host.RemindBefore(), 0, static_cast<int>(MinutesPerDay));
    if (before == 0)
        return;
    const int64_t after = previous == NoMinute ? minute : std::max(previous + before, minute);
    for (const TAlarmEvent& alarm : AlarmsBetween(Diary, after, minute + before + 1))
        if (alarm.Time > 0)
            Host.ShowReminder(alarm, static_cast<int>(alarm.Minute() - minute));
}

int64_t TSecondTick::ReadLastTick()
{
    Settings.OpenSettings();
    const int32_t stored = Settings.ReadSettingInt(Setting::LastTick);
    Settings.CloseSettings();
    return stored > 0 ? stored : NoMinute;
}

void TSecondTick::WriteLastTick(int64_t minute)
{
    // Only bookkeeping: a refused write costs at most the missed alarms of
    // the next start, and is not worth a box every minute.
    try {
        Settings.OpenSettings();
        Settings.WriteSettingInt(Setting::LastTick.Name, static_cast<int32_t>(minute));
        Settings.CloseSettings();
    } catch (const ESettingsError&) {
    }
}

void TSecondTick::ReadPurgedMonth()
{
    Settings.OpenSettings();
    const int32_t stored = Settings.ReadSettingInt(Setting::Month);
    Settings.CloseSettings();
    FPurgedMonth = stored >= 1 && stored <= 12 ? static_cast<uint8_t>(stored) : 0;
}

void TSecondTick::Purge()
{
    FPurgedMonth = static_cast<uint8_t>(Diary.TodayMonth);
    // The month two back: November of last year in January, December in February.
    uint16_t month = static_cast<uint16_t>(Diary.TodayMonth - 2);
    uint16_t year = Diary.TodayYear;
    if (Diary.TodayMonth <= 2) {
        month = static_cast<uint16_t>(Diary.TodayMonth + 10);
        year = static_cast<uint16_t>(Diary.TodayYear - 1);
    }

    std::vector<std::string> lines;
    for (uint16_t day = 1; day <= 31; ++day) {
        for (TDiaryEvent* event = Diary.DiaryDays[DayIndex(month, day)].get(); event;
             event = event->Next.get()) {
            if (event->Locked != 0)
                // It stays in its slot, which now stands for next year's day.
                event->EventType = etAlarm;
            else if (!IsDead(event->Description))
                lines.push_back(EventReportLine(
                    day, month, year, event->Description, event->EventType, event->Time));
        }
    }
    // The events leave the diary only once the log holds them. Without the
    // log they stay, and as "Month" is left as it was, the next start tries again.
    if (!lines.empty() && !AppendDiaryOld(Folder, lines))
        throw std::runtime_error("The events of " + std::string(MonthNames[month - 1]) + " "
            + std::to_string(year) + " could not be added to \"" + std::string(DiaryOldFileName)
            + "\", so they stay in the diary. The next start tries again"); // the box adds the stop
    ++FPurges;
    for (uint16_t day = 1; day <= 31; ++day) {
        TEventLink& slot = Diary.DiaryDays[DayIndex(month, day)];
        for (TDiaryEvent* event = slot.get(); event; event = event->Next.get())
            if (event->Locked == 0)
                event->Description.clear();
        SortDay(slot);
    }
    Diary.ScanEvent = nullptr;

    // A page showing a day of the purged month shows what is left of it.
    if (Diary.SelectedDay >= DayIndex(month, 1) && Diary.SelectedDay <= DayIndex(month, 31))
        Diary.LoadSelectedDay();

    // A refused write leaves the purge done; only its record is missing. The
    // next start then purges the same month again: nothing is left to log,
    // and its locked events become alarms once more.
    Settings.OpenSettings();
    Settings.WriteSettingInt(Setting::Month.Name, FPurgedMonth);
    Settings.CloseSettings();
}
