#pragma once

#include "sync/SyncState.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// The two-way comparison of the diary with a calendar collection: from the
// diary's events, what the last sync left (TSyncState) and the server's
// listing, the steps that bring both sides in line. Nothing here talks to the
// server or changes the diary; the steps are carried out by the caller.
//
// The rules:
// - Only the diary's twelve months take part: server events outside them are
//   neither imported nor deleted, and come in when the window reaches them.
// - An empty listing where the last sync knew events, or a resource that could
//   not be fetched or read, deletes nothing.
// - Events on both sides with no record of a sync are matched by date, time
//   and description before anything is sent or fetched, so a lost state file
//   never duplicates events.
// - An event changed on both sides keeps both: the server's takes the local
//   event's place and the local version stays beside it, its description
//   ending in " (conflict)".
// - A repeating event from the server follows the server.

// One calendar resource in the server's listing.
struct TRemoteItem {
    std::string Href;
    std::string ETag;
    // Set once the resource was fetched and read as an event:
    bool Fetched = false;
    bool Unreadable = false; // fetched, but not an event this diary can read
    std::string Uid;
    std::vector<TSyncEvent> Occurrences; // its events inside the window
};

struct TListing {
    // True: only what changed since the state's token (Items changed or added,
    // Removed gone); false: every resource of the collection.
    bool Delta = false;
    std::vector<TRemoteItem> Items;
    std::vector<std::string> Removed;
    std::string Token; // the collection's token now; empty when it has none
};

// The resources whose content the comparison needs: new ones, changed ones,
// and those outside the window when the window has moved since.
std::vector<std::string> HrefsToFetch(
    const TSyncState& state, const TListing& listing, const TSyncWindow& window);

inline constexpr size_t NoLocal = static_cast<size_t>(-1);

struct TSyncAction {
    enum TActionKind {
        // Send Events[0] to Entry.Href: a new resource when IfMatch is empty.
        akUpload,
        // Put Events in the diary in place of the Locals (which may be none).
        akDownload,
        akDeleteLocal, // the Locals
        akDeleteRemote, // Entry.Href, if it still has the ETag IfMatch
        // Add Events[0] to the diary and send it as a new resource: the local
        // side of a change made on both sides.
        akConflictCopy,
    };
    TActionKind Kind = akUpload;
    std::vector<size_t> Locals; // indices into the local events
    std::vector<TSyncEvent> Events;
    // Upload and ConflictCopy: the entry once sent (its ETag is the server's
    // answer); DeleteRemote: the entry deleted.
    TSyncEntry Entry;
    std::string IfMatch;
    // What the state keeps when the server refuses the step.
    std::optional<TSyncEntry> Before;

    bool Remote() const
    {
        return Kind == akUpload || Kind == akDeleteRemote || Kind == akConflictCopy;
    }
};

struct TSyncPlan {
    std::vector<TSyncAction> Actions;
    // The state once every step has been taken; the remote steps add their
    // entries through Finished.
    TSyncState State;
    size_t Conflicts = 0;
    // The server listed nothing where the last sync knew events: nothing was planned.
    bool EmptyListingIgnored = false;

    // Records how the remote step `action` ended: its entry with the ETag the
    // server gave, or, when it failed, what was there before (and the token
    // stays where it was, so the server's changes are listed again next time).
    void Finished(size_t action, bool done, const std::string& etag = {});

private:
    friend TSyncPlan Reconcile(const std::vector<TSyncEvent>&, const TSyncState&, const TListing&,
        const TSyncWindow&, const std::function<std::string()>&);
    std::string PreviousToken;
};

// `newUid` gives a fresh UID for each new resource.
TSyncPlan Reconcile(const std::vector<TSyncEvent>& local, const TSyncState& state,
    const TListing& listing, const TSyncWindow& window, const std::function<std::string()>& newUid);
