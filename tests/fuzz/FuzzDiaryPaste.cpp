// Any clipboard text pasted into any column leaves an event the diary can hold.
#include "diary/DiaryClipboard.h"
#include "diary/DiaryKeys.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const int column = data[0] % 5;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    TDiaryEvent event;
    event.EventType = etAlarm;
    event.Time = 930;
    event.Description = "Dentist";
    PasteText(event, column, text);
    const bool sound = event.Locked <= 1 && event.EventType <= etCrossed && IsClockTime(event.Time)
        && event.Description.find_first_of("\r\n") == std::string::npos;
    // A record pastes whole and copies back as the same record.
    const std::string record = EventRecordText(event);
    TDiaryEvent copy;
    PasteText(copy, dcDescription, record);
    if (!sound || EventRecordText(copy) != record)
        std::abort();
    return 0;
}
