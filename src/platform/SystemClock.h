#pragma once

#include "base/DateTime.h"

// The desktop's local date and time. On Linux it reads the time zone's rules
// once and keeps them, rather than looking at the zone's file on every reading
// as the C library's tzset does; ReloadZone makes it look again (the clock
// watcher says when).
class TSystemClock final : public IClock
{
public:
    TDateTime Now() const override;
    void ReloadZone();
};
