#include "sync/Reconcile.h"

#include <map>
#include <set>
#include <unordered_map>

namespace
{

// A yearly event is the same event whichever year the window gives it.
std::string MatchKey(TFingerprint print)
{
    if (print.Locked)
        print.Date.Year = 0;
    return print.ToText();
}

bool SameEvent(const TSyncEvent& a, const TSyncEvent& b)
{
    return a.Date == b.Date && a.Time == b.Time && a.Description == b.Description;
}

std::vector<TFingerprint> PrintsOf(const std::vector<TSyncEvent>& events)
{
    std::vector<TFingerprint> prints;
    for (const TSyncEvent& event : events)
        prints.push_back(FingerprintOf(event));
    return prints;
}

// The diary's events, each taken by at most one resource.
class TLocalPool
{
public:
    explicit TLocalPool(const std::vector<TSyncEvent>& events)
        : Events(events)
        , Taken(events.size(), false)
    {
        for (size_t i = 0; i < events.size(); ++i)
            ByKey[MatchKey(FingerprintOf(events[i]))].push_back(i);
    }

    size_t TakeExact(const TFingerprint& print)
    {
        const auto found = ByKey.find(MatchKey(print));
        if (found == ByKey.end())
            return NoLocal;
        for (const size_t i : found->second)
            if (!Taken[i])
                return Take(i);
        return NoLocal;
    }

    // The first free event that `accept` takes.
    size_t TakeFirst(const std::function<bool(const TSyncEvent&)>& accept)
    {
        for (size_t i = 0; i < Events.size(); ++i)
            if (!Taken[i] && accept(Events[i]))
                return Take(i);
        return NoLocal;
    }

    bool IsTaken(size_t i) const { return Taken[i]; }

private:
    size_t Take(size_t i)
    {
        Taken[i] = true;
        return i;
    }

    const std::vector<TSyncEvent>& Events;
    std::vector<bool> Taken;
    std::unordered_map<std::string, std::vector<size_t>> ByKey;
};

enum TLocalState { lsSame, lsEdited, lsDeleted };
enum TRemoteState { rsSame, rsChanged, rsDeleted, rsUnknown };

struct TEntryLocal {
    TLocalState State = lsSame;
    std::vector<size_t> Matched; // the events it still has in the diary
    size_t Edited = NoLocal;
};

} // namespace

std::vector<std::string> HrefsToFetch(
    const TSyncState& state, const TListing& listing, const TSyncWindow& window)
{
    std::unordered_map<std::string_view, const TSyncEntry*> known;
    for (const TSyncEntry& entry : state.Entries)
        known[entry.Href] = &entry;
    std::vector<std::string> hrefs;
    for (const TRemoteItem& item : listing.Items) {
        const auto found = known.find(item.Href);
        const bool windowMoved
            = state.Window != window && found != known.end() && found->second->Copies.empty();
        if (found == known.end() || found->second->ETag != item.ETag || windowMoved)
            hrefs.push_back(item.Href);
    }
    return hrefs;
}

void TSyncPlan::Finished(size_t action, bool done, const std::string& etag)
{
    TSyncAction& step = Actions.at(action);
    if (done && step.Kind != TSyncAction::akDeleteRemote) {
        step.Entry.ETag = etag;
        State.Entries.push_back(step.Entry);
    } else if (!done) {
        if (step.Before)
            State.Entries.push_back(*step.Before);
        State.Token = PreviousToken;
    }
}

TSyncPlan Reconcile(const std::vector<TSyncEvent>& local, const TSyncState& state,
    const TListing& listing, const TSyncWindow& window, const std::function<std::string()>& newUid)
{
    TSyncPlan plan;
    plan.PreviousToken = state.Token;
    plan.State.Collection = state.Collection;
    plan.State.Window = window;

    const auto inWindow = [&](const TSyncEntry& entry) {
        for (const TFingerprint& copy : entry.Copies)
            if (window.Contains(copy.Date) || copy.Locked)
                return true;
        return false;
    };
    // A server that lists nothing where events were is not believed.
    if (!listing.Delta && listing.Items.empty()) {
        for (const TSyncEntry& entry : state.Entries)
            if (inWindow(entry)) {
                plan.EmptyListingIgnored = true;
                plan.State = state;
                return plan;
            }
    }

    std::unordered_map<std::string_view, const TRemoteItem*> listed;
    for (const TRemoteItem& item : listing.Items)
        listed[item.Href] = &item;
    const std::set<std::string_view> removed(listing.Removed.begin(), listing.Removed.end());
    bool holdToken = false;

    // The diary's side of each known resource: unchanged events first, so an
    // edit is paired only with an event no resource has kept.
    TLocalPool pool(local);
    std::vector<TEntryLocal> sides(state.Entries.size());
    for (size_t k = 0; k < state.Entries.size(); ++k) {
        const TSyncEntry& entry = state.Entries[k];
        for (const TFingerprint& copy : entry.Copies) {
            const size_t i = pool.TakeExact(copy);
            if (i != NoLocal)
                sides[k].Matched.push_back(i);
            else if (window.Contains(copy.Date) && entry.Copies.size() == 1)
                sides[k].State = lsDeleted;
        }
    }
    for (size_t k = 0; k < state.Entries.size(); ++k) {
        if (sides[k].State != lsDeleted)
            continue;
        const TFingerprint& was = state.Entries[k].Copies.front();
        size_t i = pool.TakeFirst([&](const TSyncEvent& event) {
            return event.Date == was.Date && event.Time == was.Time;
        });
        if (i == NoLocal)
            i = pool.TakeFirst([&](const TSyncEvent& event) {
                return event.Date == was.Date && TextDigest(event.Description) == was.Text;
            });
        if (i != NoLocal) {
            sides[k].State = lsEdited;
            sides[k].Edited = i;
        }
    }

    const auto remoteEntry = [&](const TRemoteItem& item, const TSyncEntry& before) {
        return TSyncEntry { item.Uid.empty() ? before.Uid : item.Uid, item.Href, item.ETag,
            PrintsOf(item.Occurrences) };
    };
    const auto download = [&](std::vector<size_t> locals, std::vector<TSyncEvent> events) {
        if (!events.empty() || !locals.empty())
            plan.Actions.push_back(
                { TSyncAction::akDownload, std::move(locals), std::move(events), {}, {}, {} });
    };
    const auto upload
        = [&](size_t i, TSyncEntry entry, std::string ifMatch, std::optional<TSyncEntry> before) {
              entry.Copies = { FingerprintOf(local[i]) };
              plan.Actions.push_back({ TSyncAction::akUpload, { i }, { local[i] }, std::move(entry),
                  std::move(ifMatch), std::move(before) });
          };
    const auto newEntry = [&](const std::string& uid) {
        return TSyncEntry { uid, state.Collection + uid + ".ics", {}, {} };
    };

    for (size_t k = 0; k < state.Entries.size(); ++k) {
        const TSyncEntry& entry = state.Entries[k];
        TEntryLocal& side = sides[k];
        const auto found = listed.find(entry.Href);
        const TRemoteItem* item = found == listed.end() ? nullptr : found->second;
        TRemoteState remote = rsSame;
        if (removed.contains(entry.Href) || (!listing.Delta && !item))
            remote = rsDeleted;
        else if (item
            && (item->ETag != entry.ETag || (entry.Copies.empty() && state.Window != window)))
            remote = !item->Fetched || item->Unreadable ? rsUnknown : rsChanged;
        if (remote == rsUnknown) {
            holdToken = true;
            plan.State.Entries.push_back(entry);
            continue;
        }
        // Repeating events follow the server: their local edits are not sent.
        if (entry.Copies.size() > 1 && side.State == lsDeleted)
            side.State = lsSame;

        if (side.State == lsSame) {
            if (remote == rsDeleted) {
                if (!side.Matched.empty())
                    plan.Actions.push_back(
                        { TSyncAction::akDeleteLocal, side.Matched, {}, {}, {}, {} });
            } else if (remote == rsChanged) {
                TSyncEntry now = remoteEntry(*item, entry);
                std::vector<TFingerprint> had;
                for (const size_t i : side.Matched)
                    had.push_back(FingerprintOf(local[i]));
                if (had != now.Copies)
                    download(side.Matched, item->Occurrences);
                plan.State.Entries.push_back(std::move(now));
            } else {
                TSyncEntry kept = entry;
                // A yearly event's copy takes the year the window now gives it.
                if (side.Matched.size() == kept.Copies.size())
                    for (size_t c = 0; c < side.Matched.size(); ++c)
                        kept.Copies[c] = FingerprintOf(local[side.Matched[c]]);
                plan.State.Entries.push_back(std::move(kept));
            }
        } else if (side.State == lsEdited) {
            const size_t i = side.Edited;
            if (remote == rsSame) {
                upload(i, entry, entry.ETag, entry);
            } else if (remote == rsDeleted) {
                upload(i, entry, {}, std::nullopt);
            } else {
                TSyncEntry now = remoteEntry(*item, entry);
                if (now.Copies != std::vector<TFingerprint> { FingerprintOf(local[i]) }) {
                    download({ i }, item->Occurrences);
                    TSyncEvent copy = local[i];
                    copy.Description += ConflictSuffix;
                    TSyncEntry added = newEntry(newUid());
                    added.Copies = { FingerprintOf(copy) };
                    plan.Actions.push_back({ TSyncAction::akConflictCopy, {}, { std::move(copy) },
                        std::move(added), {}, std::nullopt });
                    ++plan.Conflicts;
                }
                plan.State.Entries.push_back(std::move(now));
            }
        } else { // deleted in the diary
            if (remote == rsSame)
                plan.Actions.push_back(
                    { TSyncAction::akDeleteRemote, {}, {}, entry, entry.ETag, entry });
            else if (remote == rsChanged) {
                download({}, item->Occurrences);
                plan.State.Entries.push_back(remoteEntry(*item, entry));
            }
        }
    }

    // Resources the last sync did not know: matched with the diary's events by
    // date, time and description before anything is fetched into it.
    std::unordered_map<std::string_view, bool> known;
    for (const TSyncEntry& entry : state.Entries)
        known[entry.Href] = true;
    for (const TRemoteItem& item : listing.Items) {
        if (known.contains(item.Href) || removed.contains(item.Href))
            continue;
        if (!item.Fetched) {
            holdToken = true;
            continue;
        }
        if (item.Unreadable)
            continue;
        TSyncEntry entry { item.Uid, item.Href, item.ETag, PrintsOf(item.Occurrences) };
        std::vector<TSyncEvent> missing;
        size_t linked = NoLocal;
        for (const TSyncEvent& occurrence : item.Occurrences) {
            const size_t i = pool.TakeFirst(
                [&](const TSyncEvent& event) { return SameEvent(event, occurrence); });
            if (i == NoLocal)
                missing.push_back(occurrence);
            else
                linked = i;
        }
        download({}, std::move(missing));
        // The same event on both sides differing only in its type or lock:
        // the diary's version is sent.
        if (item.Occurrences.size() == 1 && linked != NoLocal
            && FingerprintOf(local[linked]) != entry.Copies.front())
            upload(linked, entry, item.ETag, entry);
        else
            plan.State.Entries.push_back(std::move(entry));
    }

    for (size_t i = 0; i < local.size(); ++i)
        if (!pool.IsTaken(i))
            upload(i, newEntry(newUid()), {}, std::nullopt);

    plan.State.Token = holdToken ? state.Token : listing.Token;
    return plan;
}
