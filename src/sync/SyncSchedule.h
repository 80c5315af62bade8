#pragma once

#include <chrono>

// When the next sync runs: at the chosen interval while syncs succeed; after
// a failure sooner at first, then ever later (30 s, 1 min, 2 min, ...), up to
// the interval or a quarter of an hour, whichever is longer, so a server that
// is down is neither hammered nor forgotten.
std::chrono::seconds NextSyncDelay(int failuresInARow, std::chrono::seconds interval);

inline constexpr std::chrono::minutes DefaultSyncInterval { 5 };
// From an autosave to the sync that sends what it saved.
inline constexpr std::chrono::seconds SyncAfterSave { 5 };
