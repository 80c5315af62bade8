#include "sync/DiarySync.h"

#include "diary/DiaryStore.h"

#include <set>

TSyncWindow DiaryWindowOf(const TDiaryStore& store)
{
    return { store.TodayYear, store.TodayMonth };
}

std::vector<TSyncEvent> CollectDiaryEvents(TDiaryStore& store, std::vector<TDiaryEvent*>& where)
{
    store.CommitSelectedDay();
    const TSyncWindow window = DiaryWindowOf(store);
    std::vector<TSyncEvent> events;
    where.clear();
    for (uint16_t slot = 0; slot < DiaryDayCount; ++slot) {
        const uint16_t month = slot / 32 + 1;
        const uint16_t day = slot % 32 + 1;
        const uint16_t year = window.YearOf(month);
        if (!IsValidDate(year, month, day))
            continue;
        for (TDiaryEvent* event = store.DiaryDays[slot].get(); event; event = event->Next.get()) {
            if (event->Description.empty())
                continue;
            events.push_back({ { year, month, day }, event->Time, event->EventType, event->Locked,
                std::string(event->Description.view()) });
            where.push_back(event);
        }
    }
    return events;
}

void ApplyToDiary(TDiaryStore& store, const std::vector<TDiaryEvent*>& where, const TSyncPlan& plan)
{
    const TSyncWindow window = DiaryWindowOf(store);
    std::set<uint16_t> touched;
    const auto slotOf = [](const TCivilDate& date) { return DayIndex(date.Month, date.Day); };
    std::vector<const TSyncEvent*> added;
    for (const TSyncAction& action : plan.Actions) {
        if (action.Kind == TSyncAction::akDownload || action.Kind == TSyncAction::akDeleteLocal) {
            // A dead event leaves its day at the day's next sort.
            for (const size_t i : action.Locals)
                where.at(i)->Description.clear();
        }
        if (action.Kind == TSyncAction::akDownload || action.Kind == TSyncAction::akConflictCopy)
            for (const TSyncEvent& event : action.Events)
                added.push_back(&event);
    }
    for (uint16_t slot = 0; slot < DiaryDayCount; ++slot)
        for (TDiaryEvent* event = store.DiaryDays[slot].get(); event; event = event->Next.get())
            if (event->Description.empty())
                touched.insert(slot);
    for (const TSyncEvent* event : added) {
        if (!window.Contains(event->Date)
            || !IsValidDate(event->Date.Year, event->Date.Month, event->Date.Day))
            continue;
        const uint16_t slot = slotOf(event->Date);
        std::unique_ptr<TDiaryEvent> node = NewEvent();
        node->Time = event->Time;
        node->EventType = event->Type;
        node->Locked = event->Locked;
        node->Description = event->Description;
        ListEnd(store.DiaryDays[slot]) = std::move(node);
        touched.insert(slot);
    }
    for (const uint16_t slot : touched)
        SortDay(store.DiaryDays[slot]);
    store.ScanEvent = nullptr;
    store.LoadSelectedDay();
}

TSyncWindow TStoreSyncDiary::Window() const
{
    return DiaryWindowOf(Store);
}

std::vector<TSyncEvent> TStoreSyncDiary::Events()
{
    return CollectDiaryEvents(Store, Where);
}

void TStoreSyncDiary::Apply(const TSyncPlan& plan)
{
    ApplyToDiary(Store, Where, plan);
    Where.clear();
}
