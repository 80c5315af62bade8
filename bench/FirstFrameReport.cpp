// For start-up measurements, preloaded into the program measured
// (LD_PRELOAD, bench/startup.sh): prints "first frame <ms> ms, cpu <ms> ms"
// once to standard error: the time from the start of the process to the end of
// the first expose of a top-level window, by which its backing store has been
// painted and flushed to the screen, and the processor time the process has
// used by then, which a busy machine does not inflate.
// TALVO95_REPORT_FIRST_FRAME may hold the launcher's clock ($EPOCHREALTIME,
// seconds since 1970) taken just before it started the program, which counts
// the loading of the libraries too; any other value takes the process's own
// start time, which the system keeps only to 10 ms. Without the variable
// nothing is watched.
#include <QCoreApplication>
#include <QEvent>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <unistd.h>

namespace
{

double Seconds(clockid_t clock)
{
    timespec now {};
    ::clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Seconds since the process started, from the launcher's stamp when it gave
// one, else from the start time the kernel keeps in clock ticks since boot.
double SecondsSinceStart(const char* launched)
{
    char* end = nullptr;
    const double stamp = std::strtod(launched, &end);
    if (end != launched && *end == '\0' && stamp > 1e9)
        return Seconds(CLOCK_REALTIME) - stamp;
    std::ifstream stat("/proc/self/stat");
    std::string line;
    std::getline(stat, line);
    // The fields after the command's closing parenthesis; the start time is
    // the 22nd field of the line, the 20th after it.
    const size_t close = line.rfind(')');
    if (close == std::string::npos)
        return -1;
    unsigned long long startTicks = 0;
    size_t pos = close + 2;
    for (int field = 3; field <= 22 && pos < line.size(); ++field) {
        const size_t next = line.find(' ', pos);
        if (field == 22)
            startTicks = std::strtoull(line.c_str() + pos, nullptr, 10);
        pos = next == std::string::npos ? line.size() : next + 1;
    }
    return Seconds(CLOCK_BOOTTIME)
        - static_cast<double>(startTicks) / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

// Watches every event the application delivers until a top-level window's
// first expose; lets that expose through, then reports.
class TFirstFrameWatcher final : public QObject
{
public:
    explicit TFirstFrameWatcher(const char* launched)
        : Launched(launched)
    {
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (Passing || event->type() != QEvent::Expose || !watched->isWindowType())
            return false;
        auto* window = static_cast<QWindow*>(watched);
        if (!window->isExposed() || window->parent())
            return false;
        Passing = true;
        QCoreApplication::sendEvent(window, event);
        std::fprintf(stderr, "first frame %.1f ms, cpu %.1f ms\n",
            SecondsSinceStart(Launched) * 1000, Seconds(CLOCK_PROCESS_CPUTIME_ID) * 1000);
        std::fflush(stderr);
        QCoreApplication::instance()->removeEventFilter(this);
        deleteLater();
        return true;
    }

private:
    const char* Launched;
    bool Passing = false;
};

// Called by the application's constructor.
void WatchFirstFrame()
{
    if (const char* launched = std::getenv("TALVO95_REPORT_FIRST_FRAME"))
        QCoreApplication::instance()->installEventFilter(new TFirstFrameWatcher(launched));
}

[[gnu::constructor]] void RegisterWatch()
{
    qAddPreRoutine(WatchFirstFrame);
}

} // namespace
