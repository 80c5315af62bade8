#pragma once

#include <libical/ical.h>
#include <memory>
#include <string>

// Owning handles and zone look-ups for libical, shared by export and import.

struct TIcalComponentFree {
    void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
using TIcalComponent = std::unique_ptr<icalcomponent, TIcalComponentFree>;

struct TIcalIteratorFree {
    void operator()(icalrecur_iterator* iterator) const { icalrecur_iterator_free(iterator); }
};
using TIcalIterator = std::unique_ptr<icalrecur_iterator, TIcalIteratorFree>;

// The zone of a tz database name ("Europe/Berlin"), or null when libical does
// not know it (then times are floating).
icaltimezone* ZoneNamed(const std::string& name);

// A whole day, or a local time of day, as libical holds them.
icaltimetype IcalDate(int year, int month, int day);
icaltimetype IcalDateTime(int year, int month, int day, int hour, int minute);
