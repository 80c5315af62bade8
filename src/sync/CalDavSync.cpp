#include "sync/CalDavSync.h"

#include <QUuid>
#include <unordered_map>

namespace
{

constexpr size_t FetchBatch = 100;
constexpr int ParallelSends = 4;

QByteArray XmlEscaped(const QString& text)
{
    return text.toHtmlEscaped().toUtf8();
}

QByteArray SyncCollectionBody(const QString& token)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
           "<d:sync-collection xmlns:d=\"DAV:\"><d:sync-token>"
        + XmlEscaped(token)
        + "</d:sync-token><d:sync-level>1</d:sync-level><d:prop><d:getetag/></d:prop>"
          "</d:sync-collection>";
}

const QByteArray EtagQueryBody = QByteArrayLiteral(
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
    "<c:calendar-query xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\">"
    "<d:prop><d:getetag/></d:prop><c:filter><c:comp-filter name=\"VCALENDAR\">"
    "<c:comp-filter name=\"VEVENT\"/></c:comp-filter></c:filter></c:calendar-query>");

QByteArray MultigetBody(const std::vector<std::string>& hrefs)
{
    QByteArray body
        = "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
          "<c:calendar-multiget xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\">"
          "<d:prop><d:getetag/><c:calendar-data/></d:prop>";
    for (const std::string& href : hrefs)
        body += "<d:href>" + XmlEscaped(QString::fromStdString(href)) + "</d:href>";
    return body + "</c:calendar-multiget>";
}

} // namespace

TCalDavSync::TCalDavSync(TCalDavClient& client, const IEventCodec& codec, ISyncDiary& diary,
    std::filesystem::path stateFile, QObject* parent)
    : QObject(parent)
    , Client(client)
    , Codec(codec)
    , Diary(diary)
    , StateFile(std::move(stateFile))
{
}

void TCalDavSync::Start()
{
    if (Busy)
        return;
    Busy = true;
    Outcome = {};
    FirstFailure.clear();
    if (!Collection.isEmpty()) {
        List();
        return;
    }
    Client.Discover([this](const QString& error, const std::vector<TDavCalendar>& calendars) {
        if (!error.isEmpty()) {
            End(error);
            return;
        }
        Collection = calendars.front().Path;
        List();
    });
}

QString TCalDavSync::PathOf(const QString& href) const
{
    const QUrl url = Client.Account().Url.resolved(QUrl(href, QUrl::TolerantMode));
    if (url.host().compare(Client.Account().Url.host(), Qt::CaseInsensitive) != 0)
        return {};
    return url.path(QUrl::FullyEncoded);
}

std::optional<TListing> TCalDavSync::ListingOf(const TDavReply& reply, bool delta) const
{
    const auto answer = reply.Ok() ? ParseMultistatus(reply.Body) : std::nullopt;
    if (!answer)
        return std::nullopt;
    TListing listing;
    listing.Delta = delta;
    listing.Token = answer->SyncToken.toStdString();
    const QString self = PathOf(Collection);
    for (const TDavResponse& response : answer->Responses) {
        const QString path = PathOf(response.Href);
        if (path.isEmpty() || path == self || path.endsWith(u'/'))
            continue;
        if (response.Status == 404)
            listing.Removed.push_back(path.toStdString());
        else if (response.Status >= 200 && response.Status < 300 && !response.ETag.isEmpty())
            listing.Items.push_back(
                { path.toStdString(), response.ETag.toStdString(), false, false, {}, {} });
    }
    // A full listing names what there is; what it leaves out is not removed.
    if (!delta)
        listing.Removed.clear();
    return listing;
}

void TCalDavSync::List()
{
    bool damaged = false;
    State = LoadSyncState(StateFile, &damaged);
    const std::string collection = PathOf(Collection).toStdString();
    if (State.Collection != collection)
        State = { collection, {}, {}, {} };
    Window = Diary.Window();
    if (State.Token.empty()) {
        ListFully();
        return;
    }
    Client.Report(Collection, SyncCollectionBody(QString::fromStdString(State.Token)),
        [this](const TDavReply& reply) {
            // A token the server no longer knows, or no token support: list everything.
            if (auto listing = ListingOf(reply, true))
                Listed(std::move(*listing));
            else
                ListFully();
        });
}

void TCalDavSync::ListFully()
{
    Client.Report(Collection, SyncCollectionBody({}), [this](const TDavReply& reply) {
        if (auto listing = ListingOf(reply, false)) {
            Listed(std::move(*listing));
            return;
        }
        Client.Report(Collection, EtagQueryBody, [this](const TDavReply& reply) {
            if (auto listing = ListingOf(reply, false))
                Listed(std::move(*listing));
            else
                End(reply.Ok() ? tr("The server's list of events could not be read.")
                               : DescribeFailure(reply));
        });
    });
}

void TCalDavSync::Listed(TListing listing)
{
    Listing = std::move(listing);
    const std::vector<std::string> hrefs = HrefsToFetch(State, Listing, Window);
    ToFetch.assign(hrefs.begin(), hrefs.end());
    Fetch();
}

void TCalDavSync::Fetch()
{
    if (ToFetch.empty()) {
        Compare();
        return;
    }
    std::vector<std::string> batch;
    while (!ToFetch.empty() && batch.size() < FetchBatch) {
        batch.push_back(ToFetch.front());
        ToFetch.pop_front();
    }
    Client.Report(Collection, MultigetBody(batch), [this](const TDavReply& reply) {
        const auto answer = reply.Ok() ? ParseMultistatus(reply.Body) : std::nullopt;
        if (!answer) {
            End(reply.Ok() ? tr("The server's events could not be read.") : DescribeFailure(reply));
            return;
        }
        std::unordered_map<std::string, TRemoteItem*> items;
        for (TRemoteItem& item : Listing.Items)
            items[item.Href] = &item;
        for (const TDavResponse& response : answer->Responses) {
            const auto found = items.find(PathOf(response.Href).toStdString());
            if (found == items.end() || response.Status != 200 || response.CalendarData.isEmpty())
                continue;
            TRemoteItem& item = *found->second;
            item.Fetched = true;
            if (!response.ETag.isEmpty())
                item.ETag = response.ETag.toStdString();
            const auto object = Codec.Read(response.CalendarData.toStdString(), Window);
            item.Unreadable = !object;
            if (object) {
                item.Uid = object->Uid;
                item.Occurrences = object->Occurrences;
            }
        }
        Fetch();
    });
}

void TCalDavSync::Compare()
{
    const std::vector<TSyncEvent> local = Diary.Events();
    Plan = Reconcile(local, State, Listing, Window,
        [] { return QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString(); });
    if (Plan.EmptyListingIgnored) {
        End(tr("The server listed no events where it had some before; nothing was changed."));
        return;
    }
    Outcome.Conflicts = Plan.Conflicts;
    bool local_changes = false;
    for (size_t i = 0; i < Plan.Actions.size(); ++i) {
        const TSyncAction& action = Plan.Actions[i];
        if (action.Remote())
            ToSend.push_back(i);
        if (action.Kind == TSyncAction::akDownload)
            Outcome.Received += action.Events.size();
        if (action.Kind == TSyncAction::akDeleteLocal)
            Outcome.Deleted += action.Locals.size();
        local_changes |= !action.Remote() || action.Kind == TSyncAction::akConflictCopy;
    }
    if (local_changes) {
        Diary.Apply(Plan);
        if (!Diary.Save()) {
            // The record of this sync must not outlive a diary that was not kept.
            ToSend.clear();
            End(tr("The diary could not be saved after the sync."));
            return;
        }
    }
    SendNext();
}

void TCalDavSync::SendNext()
{
    while (Sending < ParallelSends && !ToSend.empty()) {
        const size_t index = ToSend.front();
        ToSend.pop_front();
        const TSyncAction& action = Plan.Actions[index];
        const QString path = QString::fromStdString(action.Entry.Href);
        const QString ifMatch = QString::fromStdString(action.IfMatch);
        ++Sending;
        const auto finished = [this, index](const TDavReply& reply) {
            --Sending;
            const TSyncAction& step = Plan.Actions[index];
            // A resource already gone is as good as deleted.
            const bool done = reply.Ok()
                || (step.Kind == TSyncAction::akDeleteRemote && reply.Status == 404
                    && reply.Error.isEmpty());
            Plan.Finished(index, done, reply.ETag.toStdString());
            if (done)
                ++(step.Kind == TSyncAction::akDeleteRemote ? Outcome.Deleted : Outcome.Sent);
            else if (FirstFailure.isEmpty())
                FirstFailure = reply.Status == 412
                    ? tr("An event changed on the server while it was sent; it is compared again "
                         "at the next sync.")
                    : DescribeFailure(reply);
            SendNext();
        };
        if (action.Kind == TSyncAction::akDeleteRemote)
            Client.Delete(path, ifMatch, finished);
        else
            Client.Put(path,
                QByteArray::fromStdString(Codec.Write(action.Events.front(), action.Entry.Uid)),
                ifMatch, finished);
    }
    if (Sending == 0 && ToSend.empty()) {
        if (!SaveSyncState(StateFile, Plan.State) && FirstFailure.isEmpty())
            FirstFailure = tr("The sync's record could not be saved.");
        End(FirstFailure);
    }
}

void TCalDavSync::End(const QString& error)
{
    Busy = false;
    Outcome.Ok = error.isEmpty();
    Outcome.Error = error;
    Outcome.LoginRefused = !Outcome.Ok && Client.LoginRefused();
    Q_EMIT Finished(Outcome);
}
