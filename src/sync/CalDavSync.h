#pragma once

#include "sync/CalDavClient.h"
#include "sync/DiarySync.h"
#include "sync/EventCodec.h"

#include <QObject>
#include <deque>
#include <filesystem>

// How a sync ended, for the status bar.
struct TSyncOutcome {
    bool Ok = false;
    QString Error; // what went wrong, for the user; empty when Ok
    size_t Sent = 0;
    size_t Received = 0;
    size_t Deleted = 0; // on either side
    size_t Conflicts = 0;
    bool LoginRefused = false; // the server refused the user name or password
};

// One sync of the diary with a calendar collection, start to end: list what
// the server has (by its sync token when it has one, else every ETag), fetch
// what is new or changed, compare (Reconcile), change the diary, save it,
// send the diary's changes, and keep the state for the next time.
// The diary changes only on the GUI thread and only in one step, after
// everything the comparison needs has arrived; a failure before then changes
// nothing, and one after leaves a state that the next sync completes.
class TCalDavSync : public QObject
{
    Q_OBJECT

public:
    TCalDavSync(TCalDavClient& client, const IEventCodec& codec, ISyncDiary& diary,
        std::filesystem::path stateFile, QObject* parent = nullptr);

    // The collection's path; without one the first calendar found is taken.
    void SetCollection(const QString& path) { Collection = path; }
    const QString& CollectionPath() const { return Collection; }
    bool Running() const { return Busy; }
    // Does nothing while a sync runs.
    void Start();

Q_SIGNALS:
    void Finished(const TSyncOutcome& outcome);

private:
    void List();
    void ListFully();
    void Listed(TListing listing);
    void Fetch();
    void Compare();
    void SendNext();
    void End(const QString& error);
    // The server's href as a path on the account's server; empty for another host.
    QString PathOf(const QString& href) const;
    std::optional<TListing> ListingOf(const TDavReply& reply, bool delta) const;

    TCalDavClient& Client;
    const IEventCodec& Codec;
    ISyncDiary& Diary;
    std::filesystem::path StateFile;
    QString Collection;

    bool Busy = false;
    TSyncState State;
    TSyncWindow Window;
    TListing Listing;
    std::deque<std::string> ToFetch;
    TSyncPlan Plan;
    std::deque<size_t> ToSend;
    int Sending = 0;
    TSyncOutcome Outcome;
    QString FirstFailure;
};
