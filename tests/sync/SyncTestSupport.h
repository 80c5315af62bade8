#pragma once

#include "sync/SyncEvent.h"

#include <string>

// Events in a test's own words: "2026-12-09" and hhmm.
inline TSyncEvent Ev(const std::string& date, uint16_t time, const std::string& description,
    TEventType type = etBlank, uint8_t locked = 0)
{
    TSyncEvent event;
    event.Date = { static_cast<uint16_t>(std::stoi(date.substr(0, 4))),
        static_cast<uint16_t>(std::stoi(date.substr(5, 2))),
        static_cast<uint16_t>(std::stoi(date.substr(8, 2))) };
    event.Time = time;
    event.Type = type;
    event.Locked = locked;
    event.Description = description;
    return event;
}
