#pragma once

#include "base/DateTime.h"
#include "sync/EventCodec.h"

#include <string>

// The codec on the diary's iCalendar mapping, the one its files use: an event
// becomes a calendar of one VEVENT as an export writes it (its local time in
// the zone, a whole day without a time, an alarm's VALARM, the done and
// cancelled states, a yearly repeat for a locked event), and a calendar from
// the server is read as an import reads it, its times in the local zone, each
// occurrence of a repeating event in the window as an event of its own, a
// plain yearly one as one locked event. Unlike an import, an event without a
// summary comes as UntitledDescription and a cancelled one crossed out, so
// nothing on the server goes unseen.
class TIcalCodec final : public IEventCodec
{
public:
    // DTSTAMP comes from the clock (local time); `zone` is the tz database
    // name of the local zone, or empty for the system's at the time of use.
    explicit TIcalCodec(const IClock& clock, std::string zone = {})
        : Clock(clock)
        , Zone(std::move(zone))
    {
    }
    std::optional<TCalendarObject> Read(
        std::string_view text, const TSyncWindow& window) const override;
    std::string Write(const TSyncEvent& event, std::string_view uid) const override;

private:
    std::string ZoneName() const;

    const IClock& Clock;
    std::string Zone;
};
