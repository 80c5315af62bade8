#include "platform/FirstFrameReport.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <unistd.h>

namespace
{

constexpr const char* VariableName = "TALVO95_REPORT_FIRST_FRAME";

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

// Lets the first expose through to the window, then reports: by then the
// widgets are painted and the backing store flushed.
class TFirstFrameWatcher final : public QObject
{
public:
    TFirstFrameWatcher(QWindow* window, const char* launched)
        : QObject(window)
        , Launched(launched)
    {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (Passing || event->type() != QEvent::Expose)
            return false;
        auto* window = static_cast<QWindow*>(watched);
        if (!window->isExposed())
            return false;
        Passing = true;
        QCoreApplication::sendEvent(window, event);
        std::fprintf(stderr, "first frame %.1f ms, cpu %.1f ms\n",
            SecondsSinceStart(Launched) * 1000, Seconds(CLOCK_PROCESS_CPUTIME_ID) * 1000);
        std::fflush(stderr);
        window->removeEventFilter(this);
        deleteLater();
        return true;
    }

private:
    const char* Launched;
    bool Passing = false;
};

// Posts its work when the first expose comes: the expose paints and flushes the
// window before anything posted meanwhile runs.
class TAfterFirstFrame final : public QObject
{
public:
    TAfterFirstFrame(QWindow* window, QObject* context, std::function<void()> then)
        : QObject(window)
        , Context(context)
        , Then(std::move(then))
    {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Expose || !static_cast<QWindow*>(watched)->isExposed())
            return false;
        watched->removeEventFilter(this);
        if (Context)
            QTimer::singleShot(0, Context, std::move(Then));
        deleteLater();
        return false;
    }

private:
    QPointer<QObject> Context;
    std::function<void()> Then;
};

} // namespace

void AfterFirstFrame(QWidget& window, QObject* context, std::function<void()> then)
{
    if (QWindow* handle = window.windowHandle())
        new TAfterFirstFrame(handle, context, std::move(then));
    else
        QTimer::singleShot(0, context, std::move(then));
}

void ReportFirstFrame(QWidget& window)
{
    const char* launched = std::getenv(VariableName);
    if (!launched)
        return;
    if (QWindow* handle = window.windowHandle())
        new TFirstFrameWatcher(handle, launched);
}
