#include "platform/SystemClock.h"

#ifdef __linux__
#include <algorithm>
#include <ctime>
#else
#include <QDateTime>
#endif

#ifdef __linux__

TDateTime TSystemClock::Now() const
{
    timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    // localtime_r uses the zone read at the first call or the last tzset,
    // without looking at the zone's file again.
    tm local {};
    ::localtime_r(&now.tv_sec, &local);
    return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday)
        + EncodeTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59),
            static_cast<int>(now.tv_nsec / 1'000'000));
}

void TSystemClock::ReloadZone()
{
    ::tzset();
}

#else

TDateTime TSystemClock::Now() const
{
    const QDateTime now = QDateTime::currentDateTime();
    const QDate date = now.date();
    const QTime time = now.time();
    return EncodeDate(date.year(), date.month(), date.day())
        + EncodeTime(time.hour(), time.minute(), time.second(), time.msec());
}

void TSystemClock::ReloadZone() { }

#endif
