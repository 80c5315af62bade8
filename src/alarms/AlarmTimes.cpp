#include "alarms/AlarmTimes.h"

#include "diary/DiaryStore.h"

#include <algorithm>
#include <functional>

namespace
{

constexpr int64_t MinutesPerDay = 1440;
// A year of days reaches past the end of any twelve-month window.
constexpr int32_t WindowDays = 372;

// Days and minutes before 1899 count down, so a division rounds towards minus infinity.
int64_t FloorDiv(int64_t value, int64_t by)
{
    return value / by - (value % by < 0 ? 1 : 0);
}

bool IsDead(std::string_view description)
{
    return description.find_first_not_of(' ') == std::string_view::npos;
}

// Calls `found` with each live alarm of the day, in list order, while it
// answers true; nothing for a day outside the window.
void ForEachAlarmOfDay(const TDiaryStore& diary, int32_t day,
    const std::function<bool(const TDiaryEvent&, int64_t minute)>& found)
{
    const TCivilDate date = DecodeDate(day);
    if (date.Month < 1 || date.Day < 1 || !diary.InDiaryWindow(date.Year, date.Month))
        return;
    for (const TDiaryEvent* event = diary.DiaryDays[DayIndex(date.Month, date.Day)].get(); event;
         event = event->Next.get()) {
        const int hour = event->Time / 100;
        const int minute = event->Time % 100;
        if (event->EventType != etAlarm || hour > 23 || minute > 59 || IsDead(event->Description))
            continue;
        if (!found(*event, day * MinutesPerDay + hour * 60 + minute))
            return;
    }
}

} // namespace

int64_t TAlarmEvent::Minute() const
{
    return Day * MinutesPerDay + Time / 100 * 60 + Time % 100;
}

std::vector<TAlarmEvent> AlarmsBetween(const TDiaryStore& diary, int64_t after, int64_t before)
{
    const int64_t first = std::max(after, before - MinutesPerDay) + 1;
    const int64_t last = before - 1;
    std::vector<TAlarmEvent> alarms;
    if (first > last)
        return alarms;
    for (int64_t day = FloorDiv(first, MinutesPerDay); day <= FloorDiv(last, MinutesPerDay); ++day)
        ForEachAlarmOfDay(
            diary, static_cast<int32_t>(day), [&](const TDiaryEvent& event, int64_t minute) {
                if (minute >= first && minute <= last)
                    alarms.push_back({ static_cast<int32_t>(day), event.Time,
                        std::string(event.Description.view()) });
                return true;
            });
    std::ranges::stable_sort(alarms, {}, &TAlarmEvent::Minute);
    return alarms;
}

bool AlarmAhead(const TDiaryStore& diary, int64_t now)
{
    const int64_t today = FloorDiv(now, MinutesPerDay);
    bool ahead = false;
    for (int64_t day = today; day <= today + WindowDays && !ahead; ++day)
        ForEachAlarmOfDay(
            diary, static_cast<int32_t>(day), [&](const TDiaryEvent&, int64_t minute) {
                ahead = minute > now;
                return !ahead;
            });
    return ahead;
}

bool AlarmExists(const TDiaryStore& diary, const TAlarmEvent& alarm)
{
    bool exists = false;
    ForEachAlarmOfDay(diary, alarm.Day, [&](const TDiaryEvent& event, int64_t) {
        exists = event.Time == alarm.Time && event.Description.view() == alarm.Description;
        return !exists;
    });
    return exists;
}
