#include "find/FindSearch.h"

#include "base/LongStrings.h"
#include "diary/DiaryStore.h"

#include <algorithm>

void AddToFindHistory(std::vector<std::string>& history, const std::string& text, bool picked)
{
    if (text.empty() || picked || (!history.empty() && history.front() == text))
        return;
    if (history.size() >= FindHistoryLimit)
        history.resize(FindHistoryLimit - 1);
    history.insert(history.begin(), text);
}

std::optional<TDiaryHit> FindInDiary(TDiaryStore& store, std::string_view text)
{
    if (text.empty())
        return std::nullopt;
    store.SelectCalendarDay();
    const TDateTime from = DateOf(store.CalendarDate()) + 1;
    const TCivilDate start = DecodeDate(from);
    // A day outside the diary window has no slots of its own (they hold other
    // months' events): the first pass then covers the whole window.
    if (store.InDiaryWindow(start.Year, start.Month))
        store.StartEventScan(from);
    else
        store.StartEventScan(0);
    for (int pass = 1; pass <= 2;) {
        if (!store.NextScannedEvent()) {
            if (++pass <= 2)
                store.StartEventScan(0);
            continue;
        }
        if (FindTextFrom(1, text, store.ScanEvent->Description) > 0)
            return TDiaryHit { EncodeDate(store.ScanYear, store.ScanMonth, store.ScanDay),
                store.ScanPosition };
    }
    return std::nullopt;
}
