#include "session/AutosavePolicy.h"

#include <algorithm>

void TAutosavePolicy::Changed(int64_t now)
{
    if (!FirstChange)
        FirstChange = now;
    LastChange = now;
}

std::optional<int64_t> TAutosavePolicy::DueAt() const
{
    if (!FirstChange)
        return std::nullopt;
    const int64_t due = std::min(LastChange + QuietTime, *FirstChange + LongestWait);
    return FailedAt ? std::max(due, *FailedAt + RetryTime) : due;
}

bool TAutosavePolicy::Due(int64_t now) const
{
    const std::optional<int64_t> due = DueAt();
    return due && now >= *due;
}

void TAutosavePolicy::Saved(int64_t started, bool unsaved)
{
    FailedAt.reset();
    if (!unsaved)
        FirstChange.reset();
    else if (FirstChange)
        FirstChange = std::max(*FirstChange, started);
}

void TAutosavePolicy::Failed(int64_t now)
{
    FailedAt = now;
    if (!FirstChange)
        FirstChange = now;
}

void TAutosavePolicy::Clear()
{
    FirstChange.reset();
    FailedAt.reset();
}
