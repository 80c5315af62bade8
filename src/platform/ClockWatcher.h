#pragma once

#include <QObject>
#include <QStringList>

class QFileSystemWatcher;
class QSocketNotifier;

// Tells when the local time has jumped: the system clock was set (by hand, by
// a time server's step, or on waking from suspend) or the time zone changed.
// On Linux the first comes from a timer that the kernel cancels whenever the
// clock is set, the second from watching the zone's files; neither wakes the
// program otherwise. Elsewhere it never signals, and a jump is seen at the
// tick's next minute.
class TClockWatcher final : public QObject
{
    Q_OBJECT
public:
    // The files and folders whose change means a new time zone.
    static QStringList DefaultZonePaths();

    explicit TClockWatcher(
        const QStringList& zonePaths = DefaultZonePaths(), QObject* parent = nullptr);
    ~TClockWatcher() override;

Q_SIGNALS:
    // The clock was set; the time zone may be new (ZoneChanged comes first).
    void ClockChanged();
    void ZoneChanged();

private:
    void ArmCancelTimer();
    void CancelTimerFired();

    int TimerFd = -1;
    QSocketNotifier* Notifier = nullptr;
    QFileSystemWatcher* ZoneFiles = nullptr;
};
