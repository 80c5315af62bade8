#pragma once

#include "sync/SyncEvent.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The description of an event that comes without one.
inline constexpr std::string_view UntitledDescription = "(no title)";

// One calendar resource read as diary events.
struct TCalendarObject {
    std::string Uid;
    std::vector<TSyncEvent> Occurrences; // inside the window, in date order
};

// How a diary event becomes one iCalendar resource and back.
class IEventCodec
{
public:
    virtual ~IEventCodec() = default;
    // Nothing when the text is not an iCalendar event.
    virtual std::optional<TCalendarObject> Read(
        std::string_view text, const TSyncWindow& window) const = 0;
    virtual std::string Write(const TSyncEvent& event, std::string_view uid) const = 0;
};
