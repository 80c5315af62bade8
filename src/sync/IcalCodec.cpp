#include "sync/IcalCodec.h"

#include "ical/IcalExport.h"
#include "ical/IcalImport.h"

#include <algorithm>
#include <ctime>
#include <tuple>

namespace
{

TDiaryMonths MonthsOf(const TSyncWindow& window)
{
    return { window.Year, window.Month };
}

} // namespace

std::string TIcalCodec::ZoneName() const
{
    return Zone.empty() ? LocalZoneName() : Zone;
}

std::optional<TCalendarObject> TIcalCodec::Read(
    std::string_view text, const TSyncWindow& window) const
{
    const TIcalImport read = ReadIcs(
        text, { MonthsOf(window), ZoneName() }, { std::string(UntitledDescription), true });
    if (!read.Error.empty() || read.Uid.empty())
        return std::nullopt;
    TCalendarObject object;
    object.Uid = read.Uid;
    for (const TImportedEvent& event : read.Events)
        object.Occurrences.push_back(
            { { window.YearOf(event.Month), event.Month, event.Day }, event.Time, event.EventType,
                static_cast<uint8_t>(event.Locked ? 1 : 0), event.Description });
    std::stable_sort(object.Occurrences.begin(), object.Occurrences.end(),
        [](const TSyncEvent& a, const TSyncEvent& b) {
            return std::tie(a.Date.Year, a.Date.Month, a.Date.Day, a.Time)
                < std::tie(b.Date.Year, b.Date.Month, b.Date.Day, b.Time);
        });
    return object;
}

std::string TIcalCodec::Write(const TSyncEvent& event, std::string_view uid) const
{
    // DTSTAMP is in UTC; the clock gives local time.
    const TDateTime now = Clock.Now();
    const TCivilDate today = DecodeDate(now);
    const TCivilTime time = DecodeTime(now);
    std::tm local {};
    local.tm_year = today.Year - 1900;
    local.tm_mon = today.Month - 1;
    local.tm_mday = today.Day;
    local.tm_hour = time.Hour;
    local.tm_min = time.Minute;
    local.tm_sec = time.Second;
    local.tm_isdst = -1;
    const TIcalExportSettings settings { MonthsOf(TSyncWindow { today.Year, today.Month }),
        ZoneName(), static_cast<int64_t>(std::mktime(&local)) };
    // A time the diary would not show as one is the nearest it would.
    const uint16_t hhmm = event.Time == 0
        ? 0
        : static_cast<uint16_t>(
            std::min(event.Time / 100, 23) * 100 + std::min(event.Time % 100, 59));
    return ExportEventIcs({ event.Date.Year, event.Date.Month, event.Date.Day, hhmm, event.Type,
                              event.Locked != 0, event.Description },
        uid, settings);
}
