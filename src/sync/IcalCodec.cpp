#include "sync/IcalCodec.h"

#include <algorithm>
#include <ctime>
#include <libical/ical.h>
#include <memory>

namespace
{

// The states iCalendar has no word for, as the diary's exports write them.
constexpr const char* StateProperty = "X-TALVO95-STATE";
// Enough for a daily event over the window; a rule that runs faster is cut there.
constexpr int MaxOccurrences = 2000;

struct TComponentFree {
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using TComponent = std::unique_ptr<icalcomponent, TComponentFree>;

icaltimetype DateValue(const TCivilDate& date)
{
    icaltimetype t = icaltime_null_date();
    t.year = date.Year;
    t.month = date.Month;
    t.day = date.Day;
    return t;
}

// The occurrence in local civil terms: a floating time stays as it is.
TSyncEvent AtLocalTime(icaltimetype t, TSyncEvent event)
{
    if (!t.is_date && t.zone) {
        const time_t when = icaltime_as_timet_with_zone(t, t.zone);
        std::tm local {};
        localtime_r(&when, &local);
        t.year = local.tm_year + 1900;
        t.month = local.tm_mon + 1;
        t.day = local.tm_mday;
        t.hour = local.tm_hour;
        t.minute = local.tm_min;
    }
    event.Date = { static_cast<uint16_t>(t.year), static_cast<uint16_t>(t.month),
        static_cast<uint16_t>(t.day) };
    event.Time = t.is_date ? 0 : static_cast<uint16_t>(t.hour * 100 + t.minute);
    return event;
}

// One line, without trailing blanks, as the diary keeps a description.
std::string OneLine(std::string text)
{
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20)
            c = ' ';
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

bool Excluded(icalcomponent* event, icaltimetype occurrence)
{
    for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_EXDATE_PROPERTY); p;
         p = icalcomponent_get_next_property(event, ICAL_EXDATE_PROPERTY)) {
        const icaltimetype excluded = icalproperty_get_exdate(p);
        if (excluded.is_date ? icaltime_compare_date_only(excluded, occurrence) == 0
                             : icaltime_compare(excluded, occurrence) == 0)
            return true;
    }
    return false;
}

std::vector<icaltimetype> Starts(
    icalcomponent* event, icaltimetype start, const TSyncWindow& window)
{
    icalproperty* rule = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY);
    if (!rule)
        return { start };
    const icalrecurrencetype recurrence = icalproperty_get_rrule(rule);
    icalrecur_iterator* it = icalrecur_iterator_new(recurrence, start);
    if (!it)
        return {};
    icaltimetype first = DateValue(window.First());
    first.is_date = start.is_date;
    first.zone = start.zone;
    // A month's margin either side keeps occurrences that a zone moves across the window's edge.
    icaltime_adjust(&first, -31, 0, 0, 0);
    if (recurrence.count == 0 && icaltime_compare(start, first) < 0)
        icalrecur_iterator_set_start(it, first);
    icaltimetype last = DateValue(window.Last());
    icaltime_adjust(&last, 31, 0, 0, 0);
    std::vector<icaltimetype> starts;
    for (int n = 0; n < MaxOccurrences; ++n) {
        const icaltimetype next = icalrecur_iterator_next(it);
        if (icaltime_is_null_time(next) || icaltime_compare_date_only(next, last) > 0)
            break;
        if (!Excluded(event, next))
            starts.push_back(next);
    }
    icalrecur_iterator_free(it);
    return starts;
}

} // namespace

std::optional<TCalendarObject> TIcalCodec::Read(
    std::string_view text, const TSyncWindow& window) const
{
    const TComponent root(icalparser_parse_string(std::string(text).c_str()));
    if (!root)
        return std::nullopt;
    icalcomponent* event = icalcomponent_isa(root.get()) == ICAL_VEVENT_COMPONENT
        ? root.get()
        : icalcomponent_get_first_component(root.get(), ICAL_VEVENT_COMPONENT);
    // The master event; changed single occurrences beside it are left to it.
    while (event && icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY))
        event = icalcomponent_get_next_component(root.get(), ICAL_VEVENT_COMPONENT);
    if (!event)
        return std::nullopt;
    const icaltimetype start = icalcomponent_get_dtstart(event);
    if (icaltime_is_null_time(start) || !icaltime_is_valid_time(start))
        return std::nullopt;

    TCalendarObject object;
    if (const char* uid = icalcomponent_get_uid(event))
        object.Uid = uid;
    TSyncEvent base;
    const char* summary = icalcomponent_get_summary(event);
    const char* location = icalcomponent_get_location(event);
    base.Description = summary ? summary : "";
    if (location && *location)
        base.Description += std::string(" - ") + location;
    base.Description = OneLine(std::move(base.Description));
    // The diary keeps no event without a description.
    if (base.Description.empty())
        base.Description = UntitledDescription;
    if (icalcomponent_get_status(event) == ICAL_STATUS_CANCELLED)
        base.Type = etCrossed;
    for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_X_PROPERTY); p;
         p = icalcomponent_get_next_property(event, ICAL_X_PROPERTY))
        if (std::string_view(icalproperty_get_x_name(p)) == StateProperty
            && std::string_view(icalproperty_get_x(p)) == "DONE")
            base.Type = etTicked;
    if (base.Type == etBlank && icalcomponent_get_first_component(event, ICAL_VALARM_COMPONENT))
        base.Type = etAlarm;

    icalproperty* rule = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY);
    const bool yearly = rule && icalproperty_get_rrule(rule).freq == ICAL_YEARLY_RECURRENCE;
    for (const icaltimetype occurrence : Starts(event, start, window)) {
        TSyncEvent local = AtLocalTime(occurrence, base);
        if (window.Contains(local.Date))
            object.Occurrences.push_back(std::move(local));
    }
    // A yearly event lives once in the diary's year, and comes back each year.
    if (yearly && object.Occurrences.size() == 1)
        object.Occurrences.front().Locked = 1;
    return object;
}

std::string TIcalCodec::Write(const TSyncEvent& event, std::string_view uid) const
{
    const TComponent calendar(icalcomponent_new(ICAL_VCALENDAR_COMPONENT));
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_prodid("-//Quorral//Talvo95//EN"));
    icalcomponent* vevent = icalcomponent_new(ICAL_VEVENT_COMPONENT);
    icalcomponent_add_component(calendar.get(), vevent);
    icalcomponent_add_property(vevent, icalproperty_new_uid(std::string(uid).c_str()));

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
    const icaltimetype stamp
        = icaltime_from_timet_with_zone(std::mktime(&local), 0, icaltimezone_get_utc_timezone());
    icalcomponent_add_property(vevent, icalproperty_new_dtstamp(stamp));

    icaltimetype start = DateValue(event.Date);
    if (event.Time != 0) {
        start.is_date = 0;
        start.second = 0;
        start.hour = std::min(event.Time / 100, 23);
        start.minute = std::min(event.Time % 100, 59);
    }
    icalcomponent_add_property(vevent, icalproperty_new_dtstart(start));
    icalcomponent_add_property(vevent, icalproperty_new_summary(event.Description.c_str()));
    if (event.Type == etCrossed)
        icalcomponent_add_property(vevent, icalproperty_new_status(ICAL_STATUS_CANCELLED));
    if (event.Type == etCrossed || event.Type == etTicked) {
        icalproperty* state = icalproperty_new_x(event.Type == etTicked ? "DONE" : "CANCELLED");
        icalproperty_set_x_name(state, StateProperty);
        icalcomponent_add_property(vevent, state);
    }
    if (event.Locked) {
        icalrecurrencetype yearly;
        icalrecurrencetype_clear(&yearly);
        yearly.freq = ICAL_YEARLY_RECURRENCE;
        icalcomponent_add_property(vevent, icalproperty_new_rrule(yearly));
    }
    if (event.Type == etAlarm) {
        icalcomponent* alarm = icalcomponent_new(ICAL_VALARM_COMPONENT);
        icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
        icaltriggertype trigger {};
        trigger.time = icaltime_null_time();
        trigger.duration = icaldurationtype_null_duration();
        icalcomponent_add_property(alarm, icalproperty_new_trigger(trigger));
        icalcomponent_add_property(alarm, icalproperty_new_description(event.Description.c_str()));
        icalcomponent_add_component(vevent, alarm);
    }
    char* text = icalcomponent_as_ical_string_r(calendar.get());
    std::string result = text ? text : "";
    free(text);
    return result;
}
