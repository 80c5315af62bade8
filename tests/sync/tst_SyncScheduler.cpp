#include "sync/SyncSchedule.h"
#include "sync/SyncScheduler.h"

#include <QTest>

using namespace std::chrono_literals;

class tst_SyncScheduler : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void backsOffAfterFailures()
    {
        struct TCase {
            int Failures;
            std::chrono::seconds Interval;
            std::chrono::seconds Delay;
        };
        const TCase cases[] { { 0, 300s, 300s }, { 1, 300s, 30s }, { 2, 300s, 60s },
            { 5, 300s, 480s }, { 6, 300s, 900s }, { 60, 300s, 900s }, { 3, 3600s, 120s },
            { 9, 3600s, 3600s }, { -1, 0s, 1s }, { 0, 0s, 1s } };
        for (const TCase& c : cases)
            QCOMPARE(NextSyncDelay(c.Failures, c.Interval).count(), c.Delay.count());
    }

    void startsWhenItShould()
    {
        int started = 0;
        TSyncScheduler scheduler([&] { ++started; });
        // A coarse timer may fire up to 5% late.
        const auto near = [&](std::chrono::milliseconds expected) {
            const auto left = scheduler.Remaining();
            return left > expected * 0.9 && left < expected * 1.06;
        };
        scheduler.SetInterval(5min);
        QVERIFY(near(5min));

        // A save brings the next sync forward; a later save does not push it back.
        scheduler.SyncSoon(20ms);
        scheduler.SyncSoon(10s);
        QTRY_COMPARE(started, 1);
        // Asked again while it runs: once more when it ends.
        scheduler.SyncNow();
        scheduler.SyncSoon(1ms);
        QCOMPARE(started, 1);
        scheduler.Ended(false);
        QTRY_COMPARE(started, 2);

        // The run asked for while the first ran failed too: two in a row.
        scheduler.Ended(false);
        QCOMPARE(scheduler.FailuresInARow(), 2);
        QVERIFY(near(60s));
        scheduler.SyncNow();
        QCOMPARE(started, 3);
        scheduler.Ended(false);
        QVERIFY(near(120s));
        scheduler.SyncNow();
        scheduler.Ended(true);
        QCOMPARE(scheduler.FailuresInARow(), 0);
        QVERIFY(near(5min));
        scheduler.Stop();
        QVERIFY(scheduler.Remaining() < 0ms);
    }
};

QTEST_GUILESS_MAIN(tst_SyncScheduler)
#include "tst_SyncScheduler.moc"
