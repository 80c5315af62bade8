#include "platform/TerminationWatcher.h"

#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace
{

// The write end of the pipe the signal handler wakes the GUI thread through.
// A handler can reach nothing else, so this one descriptor is process-wide.
int WakeFd = -1;

void OnSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(WakeFd, &byte, 1);
}

} // namespace

TTerminationWatcher::TTerminationWatcher(QObject* parent)
    : QObject(parent)
{
    // A file-size limit would kill the program in the middle of a save; ignored,
    // the write fails instead and the save reports it and keeps the data.
    ::signal(SIGXFSZ, SIG_IGN);
    int fds[2];
    if (WakeFd >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM, 0, fds) != 0)
        return;
    ::fcntl(fds[0], F_SETFD, FD_CLOEXEC);
    ::fcntl(fds[1], F_SETFD, FD_CLOEXEC);
    ::fcntl(fds[1], F_SETFL, O_NONBLOCK);
    WakeFd = fds[1];
    Notifier = new QSocketNotifier(fds[0], QSocketNotifier::Read, this);
    connect(Notifier, &QSocketNotifier::activated, this, [this] {
        char buffer[16];
        [[maybe_unused]] const auto read
            = ::read(static_cast<int>(Notifier->socket()), buffer, sizeof buffer);
        Q_EMIT TerminationRequested();
    });
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int sig : { SIGTERM, SIGINT, SIGHUP })
        ::sigaction(sig, &action, nullptr);
}

TTerminationWatcher::~TTerminationWatcher()
{
    if (!Notifier)
        return;
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    for (const int sig : { SIGTERM, SIGINT, SIGHUP })
        ::sigaction(sig, &action, nullptr);
    ::close(static_cast<int>(Notifier->socket()));
    ::close(WakeFd);
    WakeFd = -1;
}
#else
TTerminationWatcher::TTerminationWatcher(QObject* parent)
    : QObject(parent)
{
}
TTerminationWatcher::~TTerminationWatcher() = default;
#endif
