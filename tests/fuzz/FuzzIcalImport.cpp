// Any bytes read as a calendar end soon with events the diary can hold, and
// those events, exported and imported again, give the same diary.
#include "diary/DiaryFile.h"
#include "ical/IcalExport.h"
#include "ical/IcalImport.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const TIcalImportSettings settings { { 2027, 3 }, "Europe/Berlin" };
    TIcalImport import = ReadIcs({ reinterpret_cast<const char*>(data), size }, settings);
    if (import.Events.size() > MaxImportEvents || ImportQuestion(import).empty())
        std::abort();
    for (const TImportedEvent& event : import.Events) {
        const bool sound = event.Month >= 1 && event.Month <= 12 && event.Day >= 1
            && event.Day <= 31 && event.Time / 100 < 24 && event.Time % 100 < 60
            && event.EventType <= etCrossed && !event.Description.empty()
            && event.Description.find_first_of("\r\n") == std::string::npos
            && event.Description.size() <= IcalDescriptionLimit;
        if (!sound)
            std::abort();
    }
    // A few repeating events can fill the diary, whose round trip takes
    // seconds under the sanitizers: the fuzzer looks for faults in less.
    if (import.Events.size() > 2000)
        return 0;
    TDiaryDays days;
    LeaveOutPresent(import, days);
    ApplyIcalImport(import, days);
    const TIcalExport exported = ExportDiaryIcs(days, { settings.Months, settings.Zone, 0 });
    TIcalImport again = ReadIcs(exported.Text, settings);
    TDiaryDays copy;
    ApplyIcalImport(again, copy);
    if (exported.LeftOut != 0 || !again.Problems.empty() || FormatDiary(copy) != FormatDiary(days))
        std::abort();
    return 0;
}
