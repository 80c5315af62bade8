#include "platform/ClockWatcher.h"

#include <QFileSystemWatcher>
#include <QSocketNotifier>

#ifdef __linux__
#include <cerrno>
#include <cstdint>
#include <sys/timerfd.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

QStringList TClockWatcher::DefaultZonePaths()
{
#ifdef __linux__
    // The zone's link is replaced (a new entry in /etc) or, on some systems,
    // its file rewritten in place.
    return { u"/etc"_s, u"/etc/localtime"_s };
#else
    return {};
#endif
}

TClockWatcher::TClockWatcher(const QStringList& zonePaths, QObject* parent)
    : QObject(parent)
{
    if (!zonePaths.isEmpty()) {
        ZoneFiles = new QFileSystemWatcher(this);
        ZoneFiles->addPaths(zonePaths);
        const auto changed = [this] {
            Q_EMIT ZoneChanged();
            Q_EMIT ClockChanged();
        };
        connect(ZoneFiles, &QFileSystemWatcher::directoryChanged, this, changed);
        connect(ZoneFiles, &QFileSystemWatcher::fileChanged, this, changed);
    }
#ifdef __linux__
    TimerFd = ::timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (TimerFd < 0)
        return;
    ArmCancelTimer();
    Notifier = new QSocketNotifier(TimerFd, QSocketNotifier::Read, this);
    connect(Notifier, &QSocketNotifier::activated, this, &TClockWatcher::CancelTimerFired);
#endif
}

TClockWatcher::~TClockWatcher()
{
#ifdef __linux__
    if (TimerFd >= 0) {
        delete Notifier;
        ::close(TimerFd);
    }
#endif
}

void TClockWatcher::ArmCancelTimer()
{
#ifdef __linux__
    // An absolute expiry far away: it never runs out, but the kernel cancels
    // it, and wakes the notifier, whenever the clock is set.
    itimerspec far {};
    far.it_value.tv_sec = INT32_MAX;
    ::timerfd_settime(TimerFd, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &far, nullptr);
#endif
}

void TClockWatcher::CancelTimerFired()
{
#ifdef __linux__
    uint64_t expirations = 0;
    const ssize_t got = ::read(TimerFd, &expirations, sizeof expirations);
    if (got < 0 && errno == EAGAIN)
        return;
    // ECANCELED: the clock was set. The timer must be armed again to hear of
    // the next time.
    ArmCancelTimer();
    Q_EMIT ClockChanged();
#endif
}
