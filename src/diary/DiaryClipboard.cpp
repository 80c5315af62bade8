#include "diary/DiaryClipboard.h"

#include "base/LongStrings.h"
#include "base/Utf8Text.h"
#include "diary/DiaryKeys.h"
#include "diary/DiaryStore.h"

namespace
{

constexpr char Tab = '\t';
// Where the description starts in an event record (1-based).
constexpr size_t RecordDescription = 10;
constexpr size_t RecordDescriptionLimit = 9999; // characters

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

void PasteType(TDiaryEvent& event, char digit)
{
    const uint8_t type = DigitValue(digit);
    if (type <= etCrossed)
        event.EventType = static_cast<TEventType>(type);
}

void PasteTime(TDiaryEvent& event, std::string_view text, size_t position)
{
    const uint16_t time = FourDigitValue(text, position);
    if (IsClockTime(time))
        event.Time = time;
}

std::string_view TrimRight(std::string_view text)
{
    const size_t kept = text.find_last_not_of(' ');
    return kept == std::string_view::npos ? std::string_view() : text.substr(0, kept + 1);
}

} // namespace

// Only a text whose fields are valid is an event record: a description that
// merely holds tabs is text.
bool IsEventRecord(std::string_view text)
{
    if (text.size() < 9 || text[1] != Tab || text[3] != Tab || text[8] != Tab)
        return false;
    const bool digits
        = IsDigit(text[4]) && IsDigit(text[5]) && IsDigit(text[6]) && IsDigit(text[7]);
    return (text[0] == '0' || text[0] == '1') && text[2] >= '0' && text[2] <= '3' && digits
        && IsClockTime(FourDigitValue(text, 5));
}

std::string FieldClipText(const TDiaryEvent& event, int column)
{
    switch (column) {
    case dcLocked:
        return std::string(1, DigitChar(event.Locked));
    case dcEventType:
        return std::string(1, DigitChar(event.EventType));
    case dcTime:
        return FourDigits(event.Time);
    case dcDescription:
        return event.Description;
    default:
        return {};
    }
}

std::string EventRecordText(const TDiaryEvent& event)
{
    std::string text;
    text += DigitChar(event.Locked);
    text += Tab;
    text += DigitChar(event.EventType);
    text += Tab;
    text += FourDigits(event.Time);
    text += Tab;
    text += event.Description;
    return text;
}

void PasteText(TDiaryEvent& event, int column, std::string_view text)
{
    if (IsEventRecord(text)) {
        event.Locked = text[0] == '1' ? 1 : 0;
        PasteType(event, text[2]);
        PasteTime(event, text, 5);
        const std::string_view description = text.substr(RecordDescription - 1);
        event.Description = FirstLine(
            description.substr(0, CharacterPrefixSize(description, RecordDescriptionLimit)));
        return;
    }
    switch (column) {
    case dcLocked:
        event.Locked = text == "1" ? 1 : 0;
        break;
    case dcEventType:
        if (text.size() == 1)
            PasteType(event, text[0]);
        break;
    case dcTime:
        if (text.size() == 4)
            PasteTime(event, text, 1);
        break;
    case dcDescription:
        event.Description = FirstLine(text);
        break;
    default:
        break;
    }
}

int RepeatWeekly(TDiaryStore& store, const TDiaryEvent& source, TDateTime chosen)
{
    // A copy without a description would be dropped by its day's sort at once.
    if (TrimRight(source.Description).empty())
        return 0;
    int copies = 0;
    for (TDateTime day = DateOf(chosen) + 7;; day += 7) {
        const TCivilDate date = DecodeDate(day);
        if (!store.InDiaryWindow(date.Year, date.Month))
            break;
        TEventLink& head = store.DiaryDays[DayIndex(date.Month, date.Day)];
        TEventLink copy = NewEvent();
        copy->EventType = source.EventType;
        copy->Time = source.Time;
        copy->Description = source.Description;
        copy->Next = std::move(head);
        head = std::move(copy);
        SortDay(head);
        ++copies;
    }
    return copies;
}

int ClearAlike(TDiaryStore& store, const TDiaryEvent& alike, TDateTime chosen)
{
    // `alike` is among the events freed below: keep what it says.
    const uint16_t time = alike.Time;
    const std::string description(TrimRight(alike.Description));
    if (description.empty())
        return 0;
    store.StoreSelectedDay(store.SelectedDay);
    int deleted = 0;
    store.StartEventScan(DateOf(chosen));
    while (store.NextScannedEvent()) {
        TDiaryEvent& event = *store.ScanEvent;
        if (event.Time != time || TrimRight(event.Description) != description)
            continue;
        event.Description.clear();
        SortDay(store.DiaryDays[store.ScanIndex]);
        ++deleted;
        // Walk the same day again from its first event.
        --store.ScanDay;
        store.ScanEvent = nullptr;
    }
    store.LoadSelectedDay();
    return deleted;
}
