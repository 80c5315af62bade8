#include "platform/SystemClock.h"

#include <QDateTime>

TDateTime TSystemClock::Now() const
{
    const QDateTime now = QDateTime::currentDateTime();
    const QDate date = now.date();
    const QTime time = now.time();
    return EncodeDate(date.year(), date.month(), date.day())
        + EncodeTime(time.hour(), time.minute(), time.second(), time.msec());
}
