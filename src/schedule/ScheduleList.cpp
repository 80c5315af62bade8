#include "schedule/ScheduleList.h"

#include "diary/DiaryFile.h"
#include "diary/DiaryStore.h"

void StoreBackSelectedDay(TDiaryStore& store)
{
    if (store.SelectedDay < NoDay)
        store.StoreSelectedDay(store.SelectedDay);
    store.LoadSelectedDay();
}

TScheduleList FillScheduleList(TDiaryStore& store, TDateTime now, bool showAll)
{
    TScheduleList list;
    store.StartEventScan(0);
    while (store.NextScannedEvent()) {
        const TDiaryEvent& event = *store.ScanEvent;
        if (event.EventType != etAlarm && !showAll)
            continue;
        TElement& element = list.Elements.emplace_back();
        element.EventType = event.EventType;
        element.Overdue = store.ScanDateTime <= now;
        element.DateTime = store.ScanDateTime;
        element.Description = event.Description;
        element.Position = store.ScanPosition;
        if (element.EventType == etAlarm && element.Overdue)
            list.SelectedRow = static_cast<int>(list.Elements.size());
    }
    return list;
}

std::string ScheduleCopyText(const std::vector<TElement>& elements)
{
    std::string text;
    for (const TElement& element : elements) {
        const TCivilDate date = DecodeDate(element.DateTime);
        const TCivilTime time = DecodeTime(element.DateTime);
        text += EventReportLine(date.Day, date.Month, date.Year, element.Description,
            element.EventType, static_cast<uint16_t>(time.Hour * 100 + time.Minute));
        text += "\r\n";
    }
    return text;
}

int ElementImage(const TElement& element)
{
    switch (element.EventType) {
    case etAlarm:
        return element.Overdue ? 4 : 1;
    case etTicked:
        return 2;
    case etCrossed:
        return 3;
    default:
        return -1;
    }
}

bool StartsDay(const std::vector<TElement>& elements, int row)
{
    if (row <= 1)
        return true;
    const auto index = static_cast<size_t>(row - 1);
    return index >= elements.size()
        || DateOf(elements[index].DateTime) != DateOf(elements[index - 1].DateTime);
}

bool HasTimeOfDay(const TElement& element)
{
    const TCivilTime time = DecodeTime(element.DateTime);
    return time.Hour != 0 || time.Minute != 0 || time.Second != 0;
}

bool IsOnDay(const TElement& element, TDateTime day)
{
    return DateOf(element.DateTime) == DateOf(day);
}
