#include "diary/DiaryKeys.h"

namespace
{

// What four digits hold: a longer run is not taken.
constexpr unsigned LongestTyped = 9999;

bool TimeKeyPress(uint16_t& time, char key, bool& timeEntryFresh)
{
    switch (key) {
    case BackspaceKey:
        time = timeEntryFresh ? 0 : static_cast<uint16_t>(time / 10);
        return true;
    case ' ':
    case '+':
        NextHalfHour(time);
        timeEntryFresh = true;
        return true;
    case '-':
        PrevHalfHour(time);
        timeEntryFresh = true;
        return true;
    default:
        break;
    }
    if (key < '0' || key > '9')
        return false;
    if (timeEntryFresh)
        time = 0;
    // Computed wide: a long run of digits must not wrap. A time the clock
    // never reaches stays as typed, for the page to refuse when it is left.
    const unsigned typed = time * 10u + static_cast<unsigned>(key - '0');
    if (typed <= LongestTyped)
        time = static_cast<uint16_t>(typed);
    timeEntryFresh = false;
    return true;
}

} // namespace

bool IsClockTime(uint16_t time)
{
    return time / 100 <= 23 && time % 100 <= 59;
}

std::string WrongTimeReason(uint16_t time)
{
    if (IsClockTime(time))
        return {};
    const std::string shown = TimeText(time);
    const char* rule = time / 100 > 23 ? "hours go up to 23" : "minutes go up to 59";
    return shown + " is no time of day: " + rule
        + ". Correct it, or press Escape for the time it had.";
}

bool EventKeyPress(TDiaryEvent& event, int column, char key, bool& timeEntryFresh)
{
    switch (column) {
    case dcLocked:
        if (key != ' ')
            return false;
        event.Locked = event.Locked ? 0 : 1;
        return true;
    case dcEventType:
        if (key != ' ')
            return false;
        event.EventType = CycleEventType(event.EventType);
        return true;
    case dcTime:
        return TimeKeyPress(event.Time, key, timeEntryFresh);
    case dcDescription:
        // A new event is an alarm unless its type was chosen first.
        if (static_cast<unsigned char>(key) >= 32 && event.Description.empty()
            && event.EventType == etBlank)
            event.EventType = etAlarm;
        return false;
    default:
        return false;
    }
}

void ClearEventField(TDiaryEvent& event, int column)
{
    switch (column) {
    case dcLocked:
        event.Locked = 0;
        break;
    case dcEventType:
        event.EventType = etBlank;
        break;
    case dcTime:
        event.Time = 0;
        break;
    case dcDescription:
        event.Description.clear();
        break;
    default:
        break;
    }
}

std::string FirstLine(std::string_view text)
{
    return std::string(text.substr(0, text.find_first_of("\r\n\x1A")));
}
