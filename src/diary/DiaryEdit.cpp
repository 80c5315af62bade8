#include "diary/DiaryEdit.h"

#include "diary/DiaryStore.h"

#include <algorithm>

TDayValues CommittedDay(TDayValues day)
{
    for (TEventValues& event : day) {
        const size_t kept = event.Description.find_last_not_of(' ');
        event.Description.erase(kept == TDescription::npos ? 0 : kept + 1);
    }
    std::erase_if(day, [](const TEventValues& event) { return event.Description.empty(); });
    std::stable_sort(day.begin(), day.end(),
        [](const TEventValues& a, const TEventValues& b) { return a.Time < b.Time; });
    return day;
}

bool TDiaryEdit::Matches(const TDiaryStore& store, const TDayChange& day, bool after)
{
    return CommittedDay(store.DayValues(day.Slot)) == CommittedDay(after ? day.After : day.Before);
}

bool TDiaryEdit::CanRevert(const TDiaryStore& store) const
{
    return std::ranges::all_of(
        Days, [&store](const TDayChange& day) { return Matches(store, day, true); });
}

bool TDiaryEdit::CanApply(const TDiaryStore& store) const
{
    return std::ranges::all_of(
        Days, [&store](const TDayChange& day) { return Matches(store, day, false); });
}

void TDiaryEdit::Revert(TDiaryStore& store) const
{
    for (const TDayChange& day : Days)
        store.SetDayValues(day.Slot, day.Before);
}

void TDiaryEdit::Apply(TDiaryStore& store) const
{
    for (const TDayChange& day : Days)
        store.SetDayValues(day.Slot, day.After);
}

void TDiaryEdit::Merge(const TDiaryEdit& later)
{
    for (const TDayChange& change : later.Days) {
        const auto same = std::ranges::find(Days, change.Slot, &TDayChange::Slot);
        if (same == Days.end())
            Days.push_back(change);
        else
            same->After = change.After;
    }
    DropUnchanged();
}

void TDiaryEdit::DropUnchanged()
{
    // Empty rows and the order of a commit are no change.
    std::erase_if(Days, [](const TDayChange& day) {
        return day.Before == day.After || CommittedDay(day.Before) == CommittedDay(day.After);
    });
}

void TDiaryEdit::Record(uint16_t slot, TDayValues before, TDayValues after)
{
    if (slot >= NoDay)
        return;
    Days.push_back({ slot, std::move(before), std::move(after) });
    DropUnchanged();
}

void TDiaryEdit::Watch(const TDiaryStore& store, uint16_t slot)
{
    if (slot >= NoDay || std::ranges::find(Days, slot, &TDayChange::Slot) != Days.end())
        return;
    Days.push_back({ slot, store.DayValues(slot), {} });
}

void TDiaryEdit::Finish(const TDiaryStore& store)
{
    for (TDayChange& day : Days)
        day.After = store.DayValues(day.Slot);
    DropUnchanged();
}

std::vector<uint16_t> WindowDays(const TDiaryStore& store, TDateTime from, int step)
{
    std::vector<uint16_t> slots;
    for (TDateTime day = DateOf(from);; day += step) {
        const TCivilDate date = DecodeDate(day);
        if (!store.InDiaryWindow(date.Year, date.Month))
            break;
        slots.push_back(DayIndex(date.Month, date.Day));
    }
    return slots;
}
