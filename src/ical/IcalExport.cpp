#include "ical/IcalExport.h"

#include "base/DateTime.h"
#include "ical/IcalLibrary.h"
#include "ical/IcalText.h"

#include <cstdio>
#include <unordered_map>

namespace
{

// The digest a UID is made of: FNV-1a over the event's identity.
uint64_t Fnv1a(std::string_view text)
{
    uint64_t digest = 0xCBF29CE484222325;
    for (const char c : text) {
        digest ^= static_cast<unsigned char>(c);
        digest *= 0x100000001B3;
    }
    return digest;
}

// Text for a TEXT value: control characters other than TAB have no place there.
std::string SummaryText(std::string_view description)
{
    std::string text = Utf8FromDiaryText(description);
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t')
            c = ' ';
    return text;
}

// The zone's VTIMEZONE, named by its plain tz database name and cut to the
// rules that matter from a year before the window to a year after it.
icalcomponent* ZoneComponent(
    icaltimezone* zone, const std::string& name, const TDiaryMonths& months)
{
    icalcomponent* source = icaltimezone_get_component(zone);
    if (!source)
        return nullptr;
    icalcomponent* vtimezone = icalcomponent_new_clone(source);
    icaltimetype start = IcalDateTime(months.TodayYear - 2, 1, 1, 0, 0);
    icaltimetype end = IcalDateTime(months.TodayYear + 2, 12, 31, 0, 0);
    start.zone = end.zone = icaltimezone_get_utc_timezone();
    icaltimezone_truncate_vtimezone(vtimezone, start, end, 0);
    if (icalproperty* tzid = icalcomponent_get_first_property(vtimezone, ICAL_TZID_PROPERTY))
        icalproperty_set_tzid(tzid, name.c_str());
    return vtimezone;
}

class TExporter
{
public:
    TExporter(const TIcalExportSettings& settings, icalcomponent* calendar)
        : Settings(settings)
        , Calendar(calendar)
        , Zone(ZoneNamed(settings.Zone))
        , Stamp(icaltime_from_timet_with_zone(
              static_cast<time_t>(settings.Stamp), 0, icaltimezone_get_utc_timezone()))
    {
        if (Zone && Zone != icaltimezone_get_utc_timezone())
            if (icalcomponent* vtimezone = ZoneComponent(Zone, settings.Zone, settings.Months))
                icalcomponent_add_component(Calendar, vtimezone);
    }

    bool Floating() const { return !Zone; }

    // False when the event has no date or time to stand on. Without a UID
    // one is made of the event.
    bool Add(const TIcalEvent& event, std::string_view uid = {})
    {
        const int year = event.Year;
        const int month = event.Month;
        const int day = event.Day;
        const int hour = event.Time / 100;
        const int minute = event.Time % 100;
        if (!IsValidDate(year, month, day) || hour > 23 || minute > 59)
            return false;
        const std::string summary = SummaryText(event.Description);
        icalcomponent* vevent = icalcomponent_new_vevent();
        const std::string made = uid.empty() ? Uid(event) : std::string(uid);
        icalcomponent_add_property(vevent, icalproperty_new_uid(made.c_str()));
        icalcomponent_add_property(vevent, icalproperty_new_dtstamp(Stamp));
        if (event.Time == 0) {
            const icaltimetype date = IcalDate(year, month, day);
            icalcomponent_add_property(vevent, icalproperty_new_dtstart(date));
            icalcomponent_add_property(vevent,
                icalproperty_new_dtend(icaltime_add(date, icaldurationtype_from_int(86400))));
        } else {
            icalproperty* start
                = icalproperty_new_dtstart(IcalDateTime(year, month, day, hour, minute));
            if (Zone == icaltimezone_get_utc_timezone())
                icalproperty_set_dtstart(start, StartInUtc(year, month, day, hour, minute));
            else if (Zone)
                icalproperty_add_parameter(start, icalparameter_new_tzid(Settings.Zone.c_str()));
            icalcomponent_add_property(vevent, start);
        }
        icalcomponent_add_property(vevent, icalproperty_new_summary(summary.c_str()));
        if (event.Locked)
            icalcomponent_add_property(vevent, icalproperty_new_rrule(Yearly()));
        if (event.EventType == etCrossed) {
            icalcomponent_add_property(vevent, icalproperty_new_status(ICAL_STATUS_CANCELLED));
            AddState(vevent, IcalStateCancelled);
        } else if (event.EventType == etTicked) {
            AddState(vevent, IcalStateDone);
        } else if (event.EventType == etAlarm) {
            icalcomponent* alarm = icalcomponent_new_valarm();
            icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
            icalcomponent_add_property(
                alarm, icalproperty_new_trigger(icaltriggertype_from_int(0)));
            icalcomponent_add_property(alarm, icalproperty_new_description(summary.c_str()));
            icalcomponent_add_component(vevent, alarm);
        }
        icalcomponent_add_component(Calendar, vevent);
        return true;
    }

private:
    static icalrecurrencetype Yearly()
    {
        icalrecurrencetype rule;
        icalrecurrencetype_clear(&rule);
        rule.freq = ICAL_YEARLY_RECURRENCE;
        return rule;
    }

    static void AddState(icalcomponent* vevent, std::string_view state)
    {
        icalproperty* property = icalproperty_new_x(std::string(state).c_str());
        icalproperty_set_x_name(property, std::string(IcalStateProperty).c_str());
        icalcomponent_add_property(vevent, property);
    }

    icaltimetype StartInUtc(int year, int month, int day, int hour, int minute) const
    {
        icaltimetype start = IcalDateTime(year, month, day, hour, minute);
        start.zone = icaltimezone_get_utc_timezone();
        return start;
    }

    // Equal events on one day are told apart by their count.
    std::string Uid(const TIcalEvent& event)
    {
        char identity[32];
        // A locked event keeps its UID from year to year.
        std::snprintf(identity, sizeof identity, "%04d-%02d-%02d %04u|",
            event.Locked ? 0 : event.Year, event.Month, event.Day,
            static_cast<unsigned>(event.Time));
        const uint64_t digest = Fnv1a(std::string(identity) + std::string(event.Description));
        const int seen = ++Seen[digest];
        char uid[64];
        if (seen == 1)
            std::snprintf(
                uid, sizeof uid, "%016llx@talvo95", static_cast<unsigned long long>(digest));
        else
            std::snprintf(uid, sizeof uid, "%016llx-%d@talvo95",
                static_cast<unsigned long long>(digest), seen);
        return uid;
    }

    const TIcalExportSettings& Settings;
    icalcomponent* Calendar;
    icaltimezone* Zone;
    icaltimetype Stamp;
    std::unordered_map<uint64_t, int> Seen;
};

TIcalComponent NewCalendar()
{
    TIcalComponent calendar(icalcomponent_new_vcalendar());
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(
        calendar.get(), icalproperty_new_prodid(std::string(IcalProductId).c_str()));
    icalcomponent_add_property(calendar.get(), icalproperty_new_calscale("GREGORIAN"));
    return calendar;
}

std::string TextOf(icalcomponent* calendar)
{
    char* text = icalcomponent_as_ical_string_r(calendar);
    std::string result = text;
    icalmemory_free_buffer(text);
    return result;
}

} // namespace

TIcalExport ExportDiaryIcs(const TDiaryDays& days, const TIcalExportSettings& settings)
{
    TIcalComponent calendar = NewCalendar();
    TExporter exporter(settings, calendar.get());
    TIcalExport result;
    result.Floating = exporter.Floating();
    for (int month = 1; month <= 12; ++month) {
        for (int day = 1; day <= 31; ++day) {
            for (const TDiaryEvent* event = days[DayIndex(month, day)].get(); event;
                 event = event->Next.get()) {
                if (event->Description.view().find_last_not_of(' ') == std::string_view::npos)
                    continue;
                if (exporter.Add({ settings.Months.YearOf(month), month, day, event->Time,
                        event->EventType, event->Locked != 0, event->Description.view() }))
                    ++result.Written;
                else
                    ++result.LeftOut;
            }
        }
    }
    result.Text = TextOf(calendar.get());
    return result;
}

std::string ExportEventIcs(
    const TIcalEvent& event, std::string_view uid, const TIcalExportSettings& settings)
{
    TIcalComponent calendar = NewCalendar();
    TExporter exporter(settings, calendar.get());
    return exporter.Add(event, uid) ? TextOf(calendar.get()) : std::string();
}
