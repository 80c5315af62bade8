#pragma once

#include "sync/SyncEvent.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the last sync left behind: for each calendar resource on the server its
// UID, href and ETag and what its events were then; the collection's sync
// token. Kept in a file of its own beside the diary; the diary's file never
// learns of the server.

inline constexpr std::string_view SyncStateFileName = "SYNC.DAT";

struct TSyncEntry {
    std::string Uid;
    std::string Href; // the path on the server
    std::string ETag;
    // The resource's events inside the window as last synced: none for one
    // outside it, more than one for a repeating event.
    std::vector<TFingerprint> Copies;
    friend bool operator==(const TSyncEntry&, const TSyncEntry&) = default;
};

struct TSyncState {
    std::string Collection; // the calendar's path on the server, with a trailing "/"
    std::string Token; // the collection's sync token; empty when none is known
    TSyncWindow Window; // the window the entries were synced for
    std::vector<TSyncEntry> Entries;
    friend bool operator==(const TSyncState&, const TSyncState&) = default;
};

// The state as text: a first line naming the format, then one line per item,
// fields separated by TAB and escaped with "%" so no value can break a line.
std::string FormatSyncState(const TSyncState& state);
// Nothing when the text is not a state written by FormatSyncState.
std::optional<TSyncState> ParseSyncState(std::string_view text);

// A missing, unreadable or damaged file gives an empty state (everything is
// matched again by its content); `damaged` tells the last two.
TSyncState LoadSyncState(const std::filesystem::path& file, bool* damaged = nullptr);
// Written atomically: the file is the old one or the whole new one.
bool SaveSyncState(const std::filesystem::path& file, const TSyncState& state);
