#include "diary/DiaryStore.h"

#include "base/LongStrings.h"
#include "diary/DiaryFile.h"

#include <utility>

TDiaryStore::TDiaryStore(const IClock& clock)
    : Clock(clock)
{
}

void TDiaryStore::OpenDiary(const std::filesystem::path& folder, TIoError& ioError)
{
    TDataFile file(folder / DiaryFileName);
    OpenDiary(file, ioError);
}

void TDiaryStore::OpenDiary(TDataFile& file, TIoError& ioError)
{
    ClearDiaryDays();
    LoadDiary(DiaryDays, file, ioError);
    SelectedDay = NoDay;
    CurrentDateTime = DateOf(Clock.Now());
    const TCivilDate today = DecodeDate(CurrentDateTime);
    TodayYear = today.Year;
    TodayMonth = today.Month;
    TodayDay = today.Day;
    TodayIndex = DayIndex(TodayMonth, TodayDay);
    if (View)
        View->SetCalendarDate(CurrentDateTime);
    else
        OwnCalendarDate = CurrentDateTime;
    if (SelectedDay == NoDay)
        SelectCalendarDay();
}

void TDiaryStore::ClearDiaryDays()
{
    for (TEventLink& head : DiaryDays)
        FreeEventsFrom(head);
    FreeEventsFrom(DetachedEvents);
    WorkingDay = NoDay;
    ScanEvent = nullptr;
}

void TDiaryStore::FreeDiary()
{
    ClearDiaryDays();
}

bool TDiaryStore::InDiaryWindow(uint16_t year, uint16_t month) const
{
    // Month serials wrap at 16 bits.
    const auto serial
        = [](uint16_t y, uint16_t m) { return static_cast<uint16_t>((y - 1900) * 12 + m); };
    const uint16_t today = serial(TodayYear, TodayMonth);
    const uint16_t s = serial(year, month);
    return static_cast<uint16_t>(today - 1) <= s && s <= static_cast<uint16_t>(today + 10);
}

TDateTime TDiaryStore::CalendarDate() const
{
    return View ? View->CalendarDate() : OwnCalendarDate;
}

uint16_t TDiaryStore::CalendarDayIndex() const
{
    const TCivilDate date = DecodeDate(CalendarDate());
    if (date.Month < 1 || date.Day < 1)
        return NoDay;
    return DayIndex(date.Month, date.Day);
}

TEventLink& TDiaryStore::WorkingLink()
{
    if (DetachedEvents || WorkingDay >= NoDay || !DiaryDays[WorkingDay])
        return DetachedEvents;
    return DiaryDays[WorkingDay];
}

TDiaryEvent* TDiaryStore::DayEvents() const
{
    if (DetachedEvents || WorkingDay >= NoDay)
        return DetachedEvents.get();
    return DiaryDays[WorkingDay].get();
}

TDiaryEvent* TDiaryStore::EventAtRow(uint8_t n)
{
    TEventLink* link = &WorkingLink();
    TDiaryEvent* event = nullptr;
    for (unsigned row = 0; row < n; ++row) {
        if (!*link)
            *link = NewEvent();
        event = link->get();
        link = &event->Next;
    }
    return event;
}

void TDiaryStore::StoreSelectedDay(uint16_t index)
{
    if (index >= NoDay)
        return;
    TEventLink* from = nullptr;
    if (DetachedEvents)
        from = &DetachedEvents;
    else if (WorkingDay < NoDay && WorkingDay != index)
        from = &DiaryDays[WorkingDay];
    if (from && *from) {
        TEventLink moved = std::move(*from);
        ListEnd(moved) = std::move(DiaryDays[index]);
        DiaryDays[index] = std::move(moved);
    }
    WorkingDay = index;
}

TDayValues TDiaryStore::DayValues(uint16_t index) const
{
    TDayValues values;
    const auto add = [&values](const TDiaryEvent* event) {
        for (; event; event = event->Next.get())
            values.push_back({ event->Locked, event->EventType, event->Time, event->Description });
    };
    if (index >= NoDay)
        return values;
    if (index == WorkingDay)
        add(DetachedEvents.get());
    add(DiaryDays[index].get());
    return values;
}

TEventLink TDiaryStore::ListOf(const TDayValues& values)
{
    TEventLink list;
    TEventLink* end = &list;
    for (const TEventValues& value : values) {
        *end = NewEvent();
        (*end)->Locked = value.Locked;
        (*end)->EventType = value.EventType;
        (*end)->Time = value.Time;
        (*end)->Description = value.Description;
        end = &(*end)->Next;
    }
    return list;
}

void TDiaryStore::SetDayValues(uint16_t index, const TDayValues& values)
{
    if (index >= NoDay)
        return;
    if (index == WorkingDay)
        FreeEventsFrom(DetachedEvents);
    DiaryDays[index] = ListOf(values);
    if (index != WorkingDay)
        SortDay(DiaryDays[index]);
    ScanEvent = nullptr;
}

std::string TDiaryStore::FormatCommitted(TTextForm least)
{
    if (SelectedDay >= NoDay)
        return FormatDiary(DiaryDays, least);
    // The selected slot gives way to a sorted copy for as long as the text takes.
    const TDayValues values = DayValues(SelectedDay);
    TEventLink& slot = DiaryDays[SelectedDay];
    TEventLink working = std::move(slot);
    slot = ListOf(values);
    SortDay(slot);
    std::string text = FormatDiary(DiaryDays, least);
    slot = std::move(working);
    return text;
}

void TDiaryStore::LoadSelectedDay()
{
    // Only a list with no day to belong to is dropped.
    if (WorkingDay < NoDay)
        StoreSelectedDay(WorkingDay);
    else
        FreeEventsFrom(DetachedEvents);
    WorkingDay = CalendarDayIndex();
    if (View)
        View->RepaintGrid();
}

void TDiaryStore::SelectCalendarDay()
{
    if (SelectedDay < NoDay) {
        StoreSelectedDay(SelectedDay);
        SortDay(DiaryDays[SelectedDay]);
    }
    SelectedDay = CalendarDayIndex();
    LoadSelectedDay();
    if (View) {
        View->SetGridRow(1);
        const TCivilDate date = DecodeDate(CalendarDate());
        View->SetGridVisible(InDiaryWindow(date.Year, date.Month));
    }
}

void TDiaryStore::CommitSelectedDay()
{
    if (SelectedDay < NoDay) {
        StoreSelectedDay(SelectedDay);
        SortDay(DiaryDays[SelectedDay]);
    }
    LoadSelectedDay();
}

void TDiaryStore::StartEventScan(TDateTime from)
{
    if (from > 0) {
        const TCivilDate date = DecodeDate(from);
        ScanYear = date.Year;
        ScanMonth = date.Month;
        ScanDay = static_cast<uint16_t>(date.Day - 1);
    } else {
        ScanYear = TodayYear;
        ScanMonth = static_cast<uint16_t>(TodayMonth - 1);
        if (TodayMonth <= 1) {
            ScanMonth = 12;
            ScanYear = static_cast<uint16_t>(TodayYear - 1);
        }
        ScanDay = 0;
        ScanPosition = 0;
    }
    ScanEvent = nullptr;
}

bool TDiaryStore::NextScannedEvent()
{
    if (ScanEvent)
        ScanEvent = ScanEvent->Next.get();
    for (;;) {
        while (!ScanEvent) {
            if (ScanDay < 31) {
                ++ScanDay;
            } else {
                ScanDay = 1;
                if (ScanMonth >= 12) {
                    ScanMonth = 1;
                    ++ScanYear;
                } else {
                    ++ScanMonth;
                }
                if (!InDiaryWindow(ScanYear, ScanMonth))
                    return false;
            }
            if (ScanMonth < 1 || ScanMonth > 12)
                return false;
            ScanIndex = DayIndex(ScanMonth, ScanDay);
            ScanEvent = DiaryDays[ScanIndex].get();
            ScanPosition = 0;
        }
        ++ScanPosition;
        if (!ScanEvent->Description.empty())
            break;
        ScanEvent = ScanEvent->Next.get();
    }
    // A date or time that does not exist keeps the previous value.
    TDateTime date = 0;
    TDateTime time = 0;
    if (TryEncodeDate(ScanYear, ScanMonth, ScanDay, date)
        && TryEncodeTime(ScanEvent->Time / 100, ScanEvent->Time % 100, 0, 0, time))
        ScanDateTime = date + time;
    return true;
}

void TDiaryStore::CountOverdue()
{
    const TDateTime now = Clock.Now();
    OverdueCount = 0;
    StartEventScan(0);
    while (NextScannedEvent()) {
        if (ScanDateTime > now + 1)
            break;
        if (ScanDateTime >= now)
            continue;
        if (ScanEvent->EventType == etAlarm)
            ++OverdueCount;
    }
}

void TDiaryStore::ShowOverdueCount()
{
    if (View)
        View->ShowOverdueText(IntToText(OverdueCount) + " Overdue Events");
}
