#pragma once

#include "base/DateTime.h"
#include "diary/DiaryEvent.h"

#include <cstdint>
#include <string>
#include <vector>

class TDiaryStore;

// One listed event: a copy of what the schedule shows, so the list stays as it
// was filled whatever the diary page does to the events afterwards.
struct TElement {
    TEventType EventType = etBlank;
    // The event's date-time was not later than the moment of filling.
    bool Overdue = false;
    TDateTime DateTime = 0;
    std::string Description;
    // 1-based place of the event in its day's list: its row in the diary grid.
    uint16_t Position = 0;
};

// The schedule's rows and the row to select: the latest overdue alarm, or the
// first row when none is overdue. Rows count from 1, as in the grid.
struct TScheduleList {
    std::vector<TElement> Elements;
    int SelectedRow = 1;
};

// Commits the diary page's working list without sorting it and loads it
// again, so the day being edited is listed as it stands.
void StoreBackSelectedDay(TDiaryStore& store);

// The alarms (or, with showAll, every event) from the first day of the month
// before today's to the end of the diary window, in scan order.
TScheduleList FillScheduleList(TDiaryStore& store, TDateTime now, bool showAll);

// The list as text: one EventReportLine per element, each ending in CR LF.
std::string ScheduleCopyText(const std::vector<TElement>& elements);

// How a row is drawn.
// The calendar image of the type column: 4 overdue alarm, 1 coming alarm, 2
// done, 3 cancelled, -1 none.
int ElementImage(const TElement& element);
// Row `row` (1-based) starts a day: it is the first row, or the row above it
// falls on another day.
bool StartsDay(const std::vector<TElement>& elements, int row);
bool HasTimeOfDay(const TElement& element);
bool IsOnDay(const TElement& element, TDateTime day);
