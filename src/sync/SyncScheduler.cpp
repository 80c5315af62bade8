#include "sync/SyncScheduler.h"

#include "sync/SyncSchedule.h"

TSyncScheduler::TSyncScheduler(std::function<void()> start, QObject* parent)
    : QObject(parent)
    , StartSync(std::move(start))
    , Interval(DefaultSyncInterval)
{
    Timer.setSingleShot(true);
    connect(&Timer, &QTimer::timeout, this, &TSyncScheduler::Fire);
}

void TSyncScheduler::SetInterval(std::chrono::milliseconds interval)
{
    Interval = interval;
    if (!Running && Failures == 0)
        Plan(Interval);
}

void TSyncScheduler::SyncNow()
{
    if (Running)
        Again = true;
    else
        Fire();
}

void TSyncScheduler::SyncSoon(std::chrono::milliseconds delay)
{
    if (Running)
        Again = true;
    else if (!Timer.isActive() || Timer.remainingTimeAsDuration() > delay)
        Plan(delay);
}

void TSyncScheduler::Ended(bool ok)
{
    Running = false;
    Failures = ok ? 0 : Failures + 1;
    if (Again) {
        Again = false;
        Plan(std::chrono::milliseconds(0));
        return;
    }
    const auto delay
        = NextSyncDelay(Failures, std::chrono::duration_cast<std::chrono::seconds>(Interval));
    Plan(delay);
}

void TSyncScheduler::Stop()
{
    Timer.stop();
    Again = false;
}

void TSyncScheduler::Plan(std::chrono::milliseconds delay)
{
    Timer.start(delay);
}

void TSyncScheduler::Fire()
{
    Timer.stop();
    Running = true;
    StartSync();
}
