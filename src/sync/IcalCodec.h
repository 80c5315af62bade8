#pragma once

#include "base/DateTime.h"
#include "sync/EventCodec.h"

// The codec on libical. An event becomes a VEVENT: its date, with its local
// time as a floating time (whole-day without one), SUMMARY the description, a
// VALARM for an alarm, STATUS:CANCELLED for a cancelled event, X-TALVO95-STATE
// DONE for a done one (CANCELLED beside STATUS:CANCELLED) and a yearly RRULE for a locked one. Read
// back, times in a zone or in UTC come to the system's local time; a repeating event gives each
// occurrence in the window (EXDATEs left out), a yearly one one locked event.
class TIcalCodec final : public IEventCodec
{
public:
    // DTSTAMP comes from the clock (local time, written as given).
    explicit TIcalCodec(const IClock& clock)
        : Clock(clock)
    {
    }
    std::optional<TCalendarObject> Read(
        std::string_view text, const TSyncWindow& window) const override;
    std::string Write(const TSyncEvent& event, std::string_view uid) const override;

private:
    const IClock& Clock;
};
