#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>

// Starts syncs: at the interval, soon after a save, on request; after a
// failed sync again with backoff (NextSyncDelay). A sync asked for while one
// runs starts when it has ended.
class TSyncScheduler : public QObject
{
    Q_OBJECT

public:
    // `start` begins a sync; the sync's end is told through Ended.
    explicit TSyncScheduler(std::function<void()> start, QObject* parent = nullptr);

    void SetInterval(std::chrono::milliseconds interval);
    // A sync now, or as soon as the running one has ended.
    void SyncNow();
    // A sync after `delay` (a save was just made), unless one comes sooner.
    void SyncSoon(std::chrono::milliseconds delay);
    void Ended(bool ok);
    void Stop();
    int FailuresInARow() const { return Failures; }
    // Until the next sync; negative when none is planned.
    std::chrono::milliseconds Remaining() const
    {
        return std::chrono::milliseconds(Timer.remainingTime());
    }

private:
    void Plan(std::chrono::milliseconds delay);
    void Fire();

    std::function<void()> StartSync;
    QTimer Timer;
    std::chrono::milliseconds Interval;
    int Failures = 0;
    bool Running = false;
    bool Again = false;
};
