#pragma once

#include "base/DateTime.h"
#include "base/IoError.h"
#include "base/Utf8Text.h"
#include "diary/DiaryEvent.h"

#include <cstdint>
#include <filesystem>
#include <string>

class TDataFile;

// What the diary store asks of the diary page and the main window: the month
// calendar's date, the diary grid and the overdue count in the status bar.
class IDiaryView
{
public:
    virtual ~IDiaryView() = default;
    virtual TDateTime CalendarDate() const = 0;
    // Sets the calendar's date and raises its change, even when the date is the
    // one it shows already; the change handler calls SelectCalendarDay.
    virtual void SetCalendarDate(TDateTime date) = 0;
    virtual void RepaintGrid() = 0;
    // 1 is the first event row, under the header row.
    virtual void SetGridRow(int row) = 0;
    virtual void SetGridVisible(bool visible) = 0;
    // The text of status panel 2.
    virtual void ShowOverdueText(const std::string& text) = 0;
};

// The diary in memory: one list of events per (month, day) slot, the working
// list of the day the page edits, today's date, the overdue count and the one
// chronological scan. "Now" comes from the clock; a null view leaves out the
// steps that reach the page and the status bar.
//
// Ownership: every event belongs to exactly one list, and the table owns them
// all but one: the working list of a day whose slot is empty. The page creates
// that day's first event with EventAtRow; until the day is committed
// (StoreSelectedDay) the event lives in the store's own working head and the
// slot stays empty, so the rest of the diary does not see it yet. At every
// other time the working list is the slot's list itself. DayEvents() is worked
// out from those two on every call and is never kept, so sorting, purging or
// freeing a slot can never leave it pointing at a freed event.
class TDiaryStore
{
public:
    explicit TDiaryStore(const IClock& clock);
    TDiaryStore(const TDiaryStore&) = delete;
    TDiaryStore& operator=(const TDiaryStore&) = delete;

    void SetView(IDiaryView* view) { View = view; }

    // Clears the table, loads "DIARY.DAT" from the folder, takes today's date
    // (TodayYear, TodayMonth, TodayDay, TodayIndex) and selects today. With a view, today is
    // selected through the calendar's change (and directly if the view did not call back). Without
    // a view the store keeps the calendar's date itself and selects today directly.
    void OpenDiary(const std::filesystem::path& folder, TIoError& ioError);
    // The same from the diary's file, which learns how the load ended.
    void OpenDiary(TDataFile& file, TIoError& ioError);
    // Frees every event, the working list's included. SelectedDay is kept; the
    // next OpenDiary makes it NoDay before it selects a day again.
    void FreeDiary();
    // Empties the table and the working list, freeing whatever is still there.
    void ClearDiaryDays();

    bool InDiaryWindow(uint16_t year, uint16_t month) const;
    TDateTime CalendarDate() const;
    // NoDay for a date that has no (month, day).
    uint16_t CalendarDayIndex() const;

    // The first event of the working list, or null.
    TDiaryEvent* DayEvents() const;
    // The n-th (1-based) event of the working list, appending empty events until
    // it has n; null for 0.
    TDiaryEvent* EventAtRow(uint8_t n);
    // Commits the working list as the list of slot `index`: a detached working
    // list (or, should it be another slot's, that slot's list) moves into the
    // slot, ahead of anything the slot holds. Afterwards the working list and the
    // slot's list are one and the same. NoDay is ignored.
    void StoreSelectedDay(uint16_t index);
    // Makes the calendar day's list the working list and repaints the grid. A
    // working list still detached is committed to its own day first.
    void LoadSelectedDay();
    // The events of a day in list order; for the working day the working list
    // first, then whatever the slot holds besides.
    TDayValues DayValues(uint16_t index) const;
    // Makes `values` the day's events. The working day takes them as its
    // working list, in the order given; any other day is sorted as a committed
    // day is. The scan starts over.
    void SetDayValues(uint16_t index, const TDayValues& values);
    // The diary's file text (as FormatDiary gives it) with the selected day as
    // its commit would leave it, while the working list the page edits stays
    // exactly as it is.
    std::string FormatCommitted(TTextForm least = tfAnsi);
    // Commits and sorts the day being left, then selects the calendar's day.
    void SelectCalendarDay();
    // The commit before a save: store and sort the selected day, then reload it.
    void CommitSelectedDay();

    // Positions the scan on the date of `from`, or with 0 on the first day of
    // the month before today's.
    void StartEventScan(TDateTime from);
    // Steps to the next event with a description; false past the window.
    bool NextScannedEvent();

    void CountOverdue();
    void ShowOverdueCount();

    TDiaryDays DiaryDays;
    uint16_t SelectedDay = NoDay;
    TDateTime CurrentDateTime = 0;
    uint16_t TodayYear = 0;
    uint16_t TodayMonth = 0;
    uint16_t TodayDay = 0;
    uint16_t TodayIndex = 0;
    int32_t OverdueCount = 0;

    // The chronological scan; ScanEvent points into DiaryDays and is valid only
    // until the scanned lists change (whoever changes them resets it).
    uint16_t ScanYear = 0;
    uint16_t ScanMonth = 0;
    uint16_t ScanDay = 0;
    uint16_t ScanIndex = 0;
    uint16_t ScanPosition = 0;
    TDiaryEvent* ScanEvent = nullptr;
    TDateTime ScanDateTime = 0;

private:
    TEventLink& WorkingLink();
    static TEventLink ListOf(const TDayValues& values);

    const IClock& Clock;
    IDiaryView* View = nullptr;
    // The calendar's date while no view is attached.
    TDateTime OwnCalendarDate = 0;
    // The slot whose list is the working list; NoDay before the first load.
    uint16_t WorkingDay = NoDay;
    // The working list while it is not in the table (see above).
    TEventLink DetachedEvents;
};
