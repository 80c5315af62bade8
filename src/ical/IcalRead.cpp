#include "base/DateTime.h"
#include "ical/IcalImport.h"
#include "ical/IcalLibrary.h"
#include "ical/IcalParse.h"
#include "ical/IcalText.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <ctime>
#include <set>

// Reading an iCalendar file into the events the diary would take.

namespace
{

// More days than the diary's months hold, margins and all.
constexpr int WindowDays = 400;

struct TLocalTime {
    int Year = 0;
    int Month = 0;
    int Day = 0;
    uint16_t Time = 0;
};

std::string CleanDescription(const char* summary, const char* location)
{
    std::string text = summary ? summary : "";
    if (location && *location)
        text += text.empty() ? std::string(location) : " - " + std::string(location);
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t')
            c = ' ';
    // libical drops the blanks a value starts with; so does the import, for
    // every text alike.
    const size_t end = text.find_last_not_of(' ');
    text.erase(end == std::string::npos ? 0 : end + 1);
    text.erase(0, text.find_first_not_of(" \t"));
    return text;
}

bool IsEmptyBy(const short* values, int size)
{
    return size == 0 || values[0] == ICAL_RECURRENCE_ARRAY_MAX;
}

// FREQ=YEARLY with no end, no gaps and nothing but the start's own day: the
// diary's locked event.
bool IsPlainYearly(const icalrecurrencetype& rule, const icaltimetype& start)
{
    if (rule.freq != ICAL_YEARLY_RECURRENCE || rule.interval > 1 || rule.count != 0
        || !icaltime_is_null_time(rule.until))
        return false;
    const bool sameMonth = IsEmptyBy(rule.by_month, ICAL_BY_MONTH_SIZE)
        || (rule.by_month[0] == start.month && rule.by_month[1] == ICAL_RECURRENCE_ARRAY_MAX);
    const bool sameDay = IsEmptyBy(rule.by_month_day, ICAL_BY_MONTHDAY_SIZE)
        || (rule.by_month_day[0] == start.day && rule.by_month_day[1] == ICAL_RECURRENCE_ARRAY_MAX);
    return sameMonth && sameDay && IsEmptyBy(rule.by_day, ICAL_BY_DAY_SIZE)
        && IsEmptyBy(rule.by_year_day, ICAL_BY_YEARDAY_SIZE)
        && IsEmptyBy(rule.by_week_no, ICAL_BY_WEEKNO_SIZE)
        && IsEmptyBy(rule.by_set_pos, ICAL_BY_SETPOS_SIZE)
        && IsEmptyBy(rule.by_hour, ICAL_BY_HOUR_SIZE)
        && IsEmptyBy(rule.by_minute, ICAL_BY_MINUTE_SIZE);
}

std::string Quoted(const std::string& text)
{
    std::string shown = text;
    CutUtf8(shown, 40);
    return "\"" + shown + "\"";
}

class TReader
{
public:
    TReader(const TIcalImportSettings& settings, const TIcalKeepAll& keep, TIcalImport& import)
        : Keep(keep)
        , Months(settings.Months)
        , LocalZoneName(settings.Zone)
        , LocalZone(ZoneNamed(settings.Zone))
        , Import(import)
    {
        const int first = settings.Months.TodayYear * 12 + settings.Months.TodayMonth - 2;
        const int after = first + 12;
        // A day's margin either side: a zone's shift can move a time across midnight.
        WindowStart = icaltime_add(
            IcalDate(first / 12, first % 12 + 1, 1), icaldurationtype_from_int(-2 * 86400));
        WindowEnd = icaltime_add(
            IcalDate(after / 12, after % 12 + 1, 1), icaldurationtype_from_int(2 * 86400));
    }

    bool Full() const { return Import.Events.size() >= MaxImportEvents; }
    bool Stopped() const { return Overflowed; }

    // The calendar's events, moved occurrences noted first.
    void ReadCalendar(icalcomponent* calendar)
    {
        Moved.clear();
        ForEachEvent(calendar, [this](icalcomponent* vevent) {
            const icaltimetype id = icalcomponent_get_recurrenceid(vevent);
            if (const char* uid = icalcomponent_get_uid(vevent); uid && !icaltime_is_null_time(id))
                Moved.emplace(uid, std::string(icaltime_as_ical_string(ToUtc(id))));
        });
        ForEachEvent(calendar, [this](icalcomponent* vevent) { ReadEvent(vevent); });
    }

    int EventsSeen = 0;

private:
    template <typename F> void ForEachEvent(icalcomponent* calendar, F&& f)
    {
        if (icalcomponent_isa(calendar) == ICAL_VEVENT_COMPONENT) {
            f(calendar);
            return;
        }
        for (icalcomponent* vevent
             = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT);
             vevent && !Stopped();
             vevent = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT))
            f(vevent);
    }

    static icaltimetype ToUtc(icaltimetype time)
    {
        if (!time.is_date && time.zone)
            return icaltime_convert_to_zone(time, icaltimezone_get_utc_timezone());
        return time;
    }

    void ReadEvent(icalcomponent* vevent)
    {
        ++EventsSeen;
        const std::string state = StateOf(vevent);
        const bool cancelled = icalcomponent_get_status(vevent) == ICAL_STATUS_CANCELLED;
        if (cancelled && state != IcalStateCancelled && !Keep.KeepCancelled)
            return;
        std::string description = CleanDescription(
            icalcomponent_get_summary(vevent), icalcomponent_get_location(vevent));
        icalproperty* startProperty
            = icalcomponent_get_first_property(vevent, ICAL_DTSTART_PROPERTY);
        const icaltimetype start = icalcomponent_get_dtstart(vevent);
        if (!startProperty || icaltime_is_null_time(start) || !icaltime_is_valid_time(start)) {
            Import.Problems.push_back(
                "An event without a start is left out: " + Quoted(description) + ".");
            return;
        }
        if (description.empty())
            description = Keep.Untitled;
        if (description.empty()) {
            Import.Problems.push_back("An event without a summary is left out ("
                + std::string(icaltime_as_ical_string(start)) + ").");
            return;
        }
        NoteUnknownZone(startProperty, start);
        TImportedEvent event;
        event.EventType = cancelled                                            ? etCrossed
            : state == IcalStateDone                                           ? etTicked
            : icalcomponent_get_first_component(vevent, ICAL_VALARM_COMPONENT) ? etAlarm
                                                                               : etBlank;
        const bool cut = CutUtf8(description, IcalDescriptionLimit);
        event.Description = DiaryTextFromUtf8(description);
        Span = DaysSpanned(vevent, start);
        Taken.clear();
        HasDates = icalcomponent_get_first_property(vevent, ICAL_RDATE_PROPERTY) != nullptr;

        icalproperty* ruleProperty = icalcomponent_get_first_property(vevent, ICAL_RRULE_PROPERTY);
        const bool moved = !icaltime_is_null_time(icalcomponent_get_recurrenceid(vevent));
        bool inWindow = false;
        if (const char* uid = icalcomponent_get_uid(vevent); uid && !moved && Import.Uid.empty())
            Import.Uid = uid;
        if (!ruleProperty || moved) {
            inWindow = Add(event, start, cut);
            if (HasDates)
                Taken.insert(icaltime_as_ical_string(ToUtc(start)));
        } else {
            const icalrecurrencetype rule = icalproperty_get_rrule(ruleProperty);
            event.Locked = IsPlainYearly(rule, start) && !HasDates;
            inWindow = Repeat(vevent, rule, start, event, cut, description);
        }
        if (HasDates && !moved)
            inWindow = AddDates(vevent, start, event, cut) || inWindow;
        if (!inWindow)
            ++Import.Outside;
    }

    // A whole-day event's days, from its end or duration; a timed one is
    // kept on the day it starts.
    static int DaysSpanned(icalcomponent* vevent, const icaltimetype& start)
    {
        if (!start.is_date)
            return 1;
        const icaltimetype end = icalcomponent_get_dtend(vevent);
        if (icaltime_is_null_time(end) || !icaltime_is_valid_time(end))
            return 1;
        const time_t days = (icaltime_as_timet(end) - icaltime_as_timet(start)) / 86400;
        return days > 1 ? static_cast<int>(std::min<time_t>(days, INT_MAX)) : 1;
    }

    // The RDATEs: occurrences besides the start and its rule's, each taken once.
    bool AddDates(icalcomponent* vevent, const icaltimetype& start, TImportedEvent event, bool cut)
    {
        event.Locked = false;
        const char* uid = icalcomponent_get_uid(vevent);
        const std::vector<icaltimetype> excluded = Exclusions(vevent);
        bool inWindow = false;
        for (icalproperty* p = icalcomponent_get_first_property(vevent, ICAL_RDATE_PROPERTY);
             p && !Stopped(); p = icalcomponent_get_next_property(vevent, ICAL_RDATE_PROPERTY)) {
            const icaldatetimeperiodtype value = icalproperty_get_rdate(p);
            icaltimetype date = icaltime_is_null_time(value.time) ? value.period.start : value.time;
            if (icaltime_is_null_time(date) || !icaltime_is_valid_time(date))
                continue;
            if (!date.zone && !date.is_date)
                date.zone = ZoneOf(p, vevent, start);
            const std::string stamp = icaltime_as_ical_string(ToUtc(date));
            if (Excluded(date, excluded) || (uid && Moved.count({ uid, stamp }))
                || !Taken.insert(stamp).second)
                continue;
            inWindow = Add(event, date, cut) || inWindow;
        }
        return inWindow;
    }

    // The zone a property's TZID names: the start's when it names the same,
    // else the file's own VTIMEZONE or libical's of that name.
    static const icaltimezone* ZoneOf(
        icalproperty* property, icalcomponent* vevent, const icaltimetype& start)
    {
        icalparameter* tzid = icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER);
        const char* name = tzid ? icalparameter_get_tzid(tzid) : nullptr;
        if (!name)
            return nullptr;
        const char* startName
            = start.zone ? icaltimezone_get_tzid(const_cast<icaltimezone*>(start.zone)) : nullptr;
        if (startName && std::strcmp(startName, name) == 0)
            return start.zone;
        for (icalcomponent* c = vevent; c; c = icalcomponent_get_parent(c))
            if (icaltimezone* zone = icalcomponent_get_timezone(c, name))
                return zone;
        return ZoneNamed(name);
    }

    // Adds the occurrences of a repeating event in the window; false when none fell there.
    bool Repeat(icalcomponent* vevent, const icalrecurrencetype& rule, const icaltimetype& start,
        const TImportedEvent& event, bool cut, const std::string& description)
    {
        TIcalIterator iterator(icalrecur_iterator_new(rule, start));
        if (!iterator) {
            Import.Problems.push_back(
                "The repeat rule of " + Quoted(description) + " cannot be read; it is left out.");
            return true;
        }
        // An occurrence that begins before the window may have days in it.
        const icaltimetype from = icaltime_add(
            WindowStart, icaldurationtype_from_int(-(std::min(Span, WindowDays) - 1) * 86400));
        // A rule without a count can start just before the window instead of
        // stepping there from a start that may lie centuries back.
        if (rule.count == 0 && icaltime_compare_date_only(start, from) < 0) {
            icaltimetype first = from;
            first.is_date = start.is_date;
            if (!start.is_date) {
                first.hour = start.hour;
                first.minute = start.minute;
                first.second = start.second;
            }
            first.zone = start.zone;
            icalrecur_iterator_set_start(iterator.get(), first);
        }
        const char* uid = icalcomponent_get_uid(vevent);
        const std::vector<icaltimetype> excluded = Exclusions(vevent);
        bool inWindow = false;
        int occurrences = 0;
        for (int step = 0; step < MaxRuleSteps; ++step) {
            icaltimetype occurrence = icalrecur_iterator_next(iterator.get());
            if (icaltime_is_null_time(occurrence)
                || icaltime_compare_date_only(occurrence, WindowEnd) > 0)
                return inWindow;
            if (icaltime_compare_date_only(occurrence, from) < 0)
                continue;
            occurrence.zone = start.zone;
            if (Excluded(occurrence, excluded)
                || (uid && Moved.count({ uid, icaltime_as_ical_string(ToUtc(occurrence)) })))
                continue;
            if (HasDates)
                Taken.insert(icaltime_as_ical_string(ToUtc(occurrence)));
            if (Add(event, occurrence, cut))
                inWindow = true;
            if (Stopped())
                return true;
            if (++occurrences == MaxOccurrences) {
                Import.Problems.push_back(Quoted(description)
                    + " repeats too often: only its first " + std::to_string(MaxOccurrences)
                    + " times are taken.");
                return true;
            }
        }
        Import.Problems.push_back(
            "The repeat rule of " + Quoted(description) + " finds no end; it is cut short.");
        return inWindow;
    }

    std::vector<icaltimetype> Exclusions(icalcomponent* vevent) const
    {
        std::vector<icaltimetype> excluded;
        for (icalproperty* p = icalcomponent_get_first_property(vevent, ICAL_EXDATE_PROPERTY); p;
             p = icalcomponent_get_next_property(vevent, ICAL_EXDATE_PROPERTY))
            excluded.push_back(icalproperty_get_datetime_with_component(p, vevent));
        return excluded;
    }

    static bool Excluded(const icaltimetype& occurrence, const std::vector<icaltimetype>& excluded)
    {
        return std::any_of(
            excluded.begin(), excluded.end(), [&occurrence](const icaltimetype& date) {
                if (date.is_date || occurrence.is_date)
                    return icaltime_compare_date_only(date, occurrence) == 0;
                return icaltime_compare(date, occurrence) == 0;
            });
    }

    // Adds the event on each day of Span from `time` that lies in the
    // window; false when none does.
    bool Add(const TImportedEvent& event, icaltimetype time, bool cut)
    {
        int days = Span;
        if (days > 1 && icaltime_compare_date_only(time, WindowStart) < 0) {
            const time_t before
                = (icaltime_as_timet(WindowStart) - icaltime_as_timet(time)) / 86400;
            const int skipped = static_cast<int>(std::min<time_t>(before, days - 1));
            time = icaltime_add(time, icaldurationtype_from_int(skipped * 86400));
            days -= skipped;
        }
        bool inWindow = false;
        for (int day = 0; day < days && !Stopped()
             && (day == 0 || icaltime_compare_date_only(time, WindowEnd) <= 0);
             ++day, time = icaltime_add(time, icaldurationtype_from_int(86400)))
            inWindow = AddDay(event, time, cut) || inWindow;
        return inWindow;
    }

    // Adds the event at the local date of `time`; false when that date lies
    // outside the diary's months.
    bool AddDay(TImportedEvent event, icaltimetype time, bool cut)
    {
        if (Full()) {
            if (!Overflowed)
                Import.Problems.push_back("The file holds more than "
                    + std::to_string(MaxImportEvents) + " events: the rest is left out.");
            Overflowed = true;
            return true;
        }
        if (!time.is_date && time.zone && LocalZone && !IsLocal(time.zone))
            icaltimezone_convert_time(&time, const_cast<icaltimezone*>(time.zone), LocalZone);
        if (!Months.Contains(time.year, time.month)
            || !IsValidDate(time.year, time.month, time.day))
            return false;
        event.Month = static_cast<uint16_t>(time.month);
        event.Day = static_cast<uint16_t>(time.day);
        event.Time = time.is_date ? 0 : static_cast<uint16_t>(time.hour * 100 + time.minute);
        Import.Events.push_back(std::move(event));
        if (cut)
            ++Import.Cut;
        return true;
    }

    void NoteUnknownZone(icalproperty* startProperty, const icaltimetype& start)
    {
        icalparameter* tzid = icalproperty_get_first_parameter(startProperty, ICAL_TZID_PARAMETER);
        if (!tzid || start.zone || start.is_date)
            return;
        const std::string name = icalparameter_get_tzid(tzid) ? icalparameter_get_tzid(tzid) : "";
        if (UnknownZones.insert(name).second)
            Import.Problems.push_back("The time zone " + Quoted(name)
                + " is not known: its times are taken as local times.");
    }

    static std::string StateOf(icalcomponent* vevent)
    {
        for (icalproperty* p = icalcomponent_get_first_property(vevent, ICAL_X_PROPERTY); p;
             p = icalcomponent_get_next_property(vevent, ICAL_X_PROPERTY)) {
            const char* name = icalproperty_get_x_name(p);
            const char* value = icalproperty_get_x(p);
            if (name && value && IcalStateProperty == name)
                return value;
        }
        return {};
    }

    // A time in a zone of the local zone's name is taken as written, even a
    // time that zone skips: the file's own rules for it may differ a little.
    bool IsLocal(const icaltimezone* zone) const
    {
        if (zone == LocalZone)
            return true;
        const char* tzid = icaltimezone_get_tzid(const_cast<icaltimezone*>(zone));
        return tzid && tzid == LocalZoneName;
    }

    const TIcalKeepAll& Keep;
    TDiaryMonths Months;
    std::string LocalZoneName;
    icaltimezone* LocalZone;
    TIcalImport& Import;
    icaltimetype WindowStart;
    icaltimetype WindowEnd;
    std::set<std::pair<std::string, std::string>> Moved;
    std::set<std::string> UnknownZones;
    bool Overflowed = false;
    // The event read now: its days, and the occurrences (in UTC) taken.
    int Span = 1;
    bool HasDates = false;
    std::set<std::string> Taken;
};

} // namespace

TIcalImport ReadIcs(
    std::string_view bytes, const TIcalImportSettings& settings, const TIcalKeepAll& keep)
{
    TIcalImport import;
    icalerror_set_errors_are_fatal(0);
    bool guessed = false;
    std::string text = ToUtf8(bytes, guessed);
    // libical reads C strings: a NUL would end the file there.
    std::replace(text.begin(), text.end(), '\0', ' ');
    if (text.find("BEGIN:VCALENDAR") == std::string::npos
        && text.find("BEGIN:VEVENT") == std::string::npos) {
        import.Error = "The file is not an iCalendar file.";
        return import;
    }
    if (guessed)
        import.Problems.push_back("Some text is not UTF-8 and was read as Windows-1252.");
    bool truncated = false;
    int strayEnds = 0;
    std::vector<TIcalComponent> components = ParseComponents(text, truncated, strayEnds);
    if (truncated)
        import.Problems.push_back("The file ends before its last part does: it may be cut short.");
    if (strayEnds > 0)
        import.Problems.push_back(std::to_string(strayEnds)
            + (strayEnds == 1 ? " line ends a part" : " lines end parts")
            + " that did not begin; left out.");
    TReader reader(settings, keep, import);
    int errors = 0;
    for (const TIcalComponent& component : components) {
        errors += CountErrors(component.get());
        const icalcomponent_kind kind = icalcomponent_isa(component.get());
        if (kind == ICAL_VCALENDAR_COMPONENT || kind == ICAL_VEVENT_COMPONENT) {
            reader.ReadCalendar(component.get());
        } else if (kind == ICAL_XROOT_COMPONENT) {
            for (icalcomponent* c
                 = icalcomponent_get_first_component(component.get(), ICAL_VCALENDAR_COMPONENT);
                 c; c = icalcomponent_get_next_component(component.get(), ICAL_VCALENDAR_COMPONENT))
                reader.ReadCalendar(c);
        }
    }
    if (errors > 0)
        import.Problems.push_back(std::to_string(errors) + (errors == 1 ? " line" : " lines")
            + " of the file could not be read.");
    if (reader.EventsSeen == 0 && import.Problems.empty())
        import.Error = "The file holds no events.";
    else if (reader.EventsSeen == 0)
        import.Error = "No events could be read from the file.";
    return import;
}
