#pragma once

#include <cstdint>
#include <optional>

// When the data saves itself: a short while after the last change, and at
// least once a minute while changes keep coming; after a failed save, not
// again before a longer pause, so a full disk is not tried every two seconds.
// Times are milliseconds on a steady clock the caller reads.
class TAutosavePolicy
{
public:
    static constexpr int64_t QuietTime = 2'000;
    static constexpr int64_t LongestWait = 60'000;
    static constexpr int64_t RetryTime = 30'000;

    void Changed(int64_t now);
    // When the next save is due; none while nothing waits.
    std::optional<int64_t> DueAt() const;
    bool Due(int64_t now) const;
    // A save that began at `started` ended; with `unsaved`, changes made
    // meanwhile (or left by a failure of part of it) wait for the next one.
    void Saved(int64_t started, bool unsaved);
    void Failed(int64_t now);
    // Everything is saved some other way (hiding, the exit, a load).
    void Clear();
    bool Failing() const { return FailedAt.has_value(); }

private:
    std::optional<int64_t> FirstChange;
    int64_t LastChange = 0;
    std::optional<int64_t> FailedAt;
};
