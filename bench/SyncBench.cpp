// A sync against a local Radicale (run under tests/sync/radicale.sh): the
// first sync of 10,000 events from one diary and into another, then an
// incremental sync of one change.
#include "BenchFolder.h"
#include "sync/CalDavSync.h"
#include "sync/IcalCodec.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QUuid>
#include <benchmark/benchmark.h>
#include <ctime>
#include <fstream>
#include <optional>
#include <random>

namespace
{

const TSyncWindow Window { 2026, 12 };

class TBenchDiary final : public ISyncDiary
{
public:
    TSyncWindow Window() const override { return ::Window; }
    std::vector<TSyncEvent> Events() override { return List; }
    void Apply(const TSyncPlan& plan) override
    {
        for (const TSyncAction& a : plan.Actions)
            if (a.Kind == TSyncAction::akDownload && a.Locals.empty())
                List.insert(List.end(), a.Events.begin(), a.Events.end());
            else if (a.Kind == TSyncAction::akDownload)
                List[a.Locals.front()] = a.Events.front();
    }
    bool Save() override { return true; }
    std::vector<TSyncEvent> List;
};

struct TBenchDevice {
    TBenchDevice(
        const TDavAccount& account, const QString& collection, const std::filesystem::path& state)
        : Codec(Clock)
        , Client(account)
        , Sync(Client, Codec, Diary, state)
    {
        Sync.SetCollection(collection);
    }
    TSyncOutcome Run()
    {
        TSyncOutcome outcome;
        QEventLoop loop;
        QObject::connect(&Sync, &TCalDavSync::Finished, &loop, [&](const TSyncOutcome& o) {
            outcome = o;
            loop.quit();
        });
        Sync.Start();
        loop.exec();
        return outcome;
    }
    TFixedClock Clock { EncodeDate(2026, 12, 9) };
    TIcalCodec Codec;
    TBenchDiary Diary;
    TCalDavClient Client;
    TCalDavSync Sync;
};

QCoreApplication& App()
{
    static int argc = 1;
    static char name[] = "bench_sync";
    static char* argv[] = { name, nullptr };
    static QCoreApplication app(argc, argv);
    return app;
}

QString NewCalendar(const TDavAccount& account)
{
    const QString collection
        = QStringLiteral("/bench/%1/").arg(QUuid::createUuid().toString(QUuid::Id128));
    TCalDavClient client(account);
    for (const auto& [method, path] :
        { std::pair { QByteArray("MKCOL"), QStringLiteral("/bench/") },
            std::pair { QByteArray("MKCALENDAR"), collection } }) {
        QEventLoop loop;
        client.Send(method, path, {}, {}, [&](const TDavReply&) { loop.quit(); });
        loop.exec();
    }
    return collection;
}

std::vector<TSyncEvent> Events(int count)
{
    std::vector<TSyncEvent> events;
    std::mt19937 random(7);
    for (int i = 0; i < count; ++i) {
        const int day = static_cast<int>(random() % 330);
        const TCivilDate date = DecodeDate(EncodeDate(2026, 11, 1) + day);
        events.push_back({ date, static_cast<uint16_t>((random() % 23 + 1) * 100 + random() % 60),
            static_cast<TEventType>(random() % 4), 0, "Event " + std::to_string(i) + " – Ärztin" });
    }
    return events;
}

std::optional<TDavAccount> Server(benchmark::State& state)
{
    App();
    if (qEnvironmentVariableIsEmpty("TALVO_CALDAV_URL")) {
        state.SkipWithError("run under tests/sync/radicale.sh");
        return std::nullopt;
    }
    return TDavAccount { QUrl(qEnvironmentVariable("TALVO_CALDAV_URL")), {}, {}, false, {} };
}

double Seconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

// A diary that sends its events to an empty calendar. Radicale's own cost per
// PUT dominates, and grows with the calendar.
void FirstSyncSending(benchmark::State& state)
{
    const auto account = Server(state);
    if (!account)
        return;
    TBenchFolder folder;
    TBenchDevice a(*account, NewCalendar(*account), folder.Path / "a.sync");
    a.Diary.List = Events(static_cast<int>(state.range(0)));
    for (auto _ : state)
        if (a.Run().Sent != a.Diary.List.size())
            state.SkipWithError("the sync failed");
}
BENCHMARK(FirstSyncSending)->Arg(300)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

// A new diary syncing with a calendar of 10,000 events (put in Radicale's
// folder directly, as a phone's sync would have left them); then one change
// made by another client, fetched by the sync token; then one change of the
// diary's sent.
void FirstSyncReceivingAndOneChange(benchmark::State& state)
{
    const auto account = Server(state);
    const QString storage = qEnvironmentVariable("TALVO_RADICALE_STORAGE");
    if (!account || storage.isEmpty()) {
        state.SkipWithError("needs the storage folder of radicale.sh");
        return;
    }
    TBenchFolder folder;
    const QString collection = NewCalendar(*account);
    const std::filesystem::path calendar
        = (storage + QStringLiteral("/collection-root") + collection).toStdString();
    TFixedClock clock(EncodeDate(2026, 12, 9));
    TIcalCodec codec(clock);
    const std::vector<TSyncEvent> events = Events(10'000);
    for (size_t i = 0; i < events.size(); ++i) {
        std::ofstream(calendar / ("e" + std::to_string(i) + ".ics"))
            << codec.Write(events[i], "e" + std::to_string(i));
    }
    TBenchDevice b(*account, collection, folder.Path / "b.sync");
    TCalDavClient other(*account);
    // Radicale reads files it did not write into its cache on the first
    // listing, which is the server's cost, not the sync's.
    other.SetTimeout(600000);
    QEventLoop warm;
    other.Propfind(collection, 1, {}, [&](const TDavReply&) { warm.quit(); });
    warm.exec();
    for (auto _ : state) {
        // The program's own processor time beside the wall time: the rest is
        // the server's.
        const std::clock_t c0 = std::clock();
        const auto t0 = std::chrono::steady_clock::now();
        const TSyncOutcome first = b.Run();
        const auto t1 = std::chrono::steady_clock::now();
        const std::clock_t c1 = std::clock();
        TSyncEvent changed = events[1234];
        changed.Description = "Changed on the phone";
        QEventLoop loop;
        other.Send("PUT", collection + QStringLiteral("e1234.ics"),
            QByteArray::fromStdString(codec.Write(changed, "e1234")),
            { { "Content-Type", "text/calendar; charset=utf-8" } },
            [&](const TDavReply&) { loop.quit(); });
        loop.exec();
        const auto t2 = std::chrono::steady_clock::now();
        const std::clock_t c2 = std::clock();
        const TSyncOutcome one = b.Run();
        const auto t3 = std::chrono::steady_clock::now();
        const std::clock_t c3 = std::clock();
        b.Diary.List[42].Description = "Changed in the diary";
        const TSyncOutcome sent = b.Run();
        const auto t4 = std::chrono::steady_clock::now();
        const std::clock_t c4 = std::clock();
        const auto cpu = [](std::clock_t from, std::clock_t to) {
            return static_cast<double>(to - from) / CLOCKS_PER_SEC;
        };
        state.counters["first_sync_cpu_s"] = cpu(c0, c1);
        state.counters["one_change_received_cpu_s"] = cpu(c2, c3);
        state.counters["one_change_sent_cpu_s"] = cpu(c3, c4);
        if (!first.Ok || first.Received != events.size() || !one.Ok || one.Received != 1 || !sent.Ok
            || sent.Sent != 1)
            state.SkipWithError(
                ("a sync failed: " + (first.Error + one.Error + sent.Error).toStdString() + " "
                    + std::to_string(first.Received) + " " + std::to_string(one.Received))
                    .c_str());
        state.counters["first_sync_s"] = Seconds(t1 - t0);
        state.counters["one_change_received_s"] = Seconds(t3 - t2);
        state.counters["one_change_sent_s"] = Seconds(t4 - t3);
    }
}
BENCHMARK(FirstSyncReceivingAndOneChange)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
