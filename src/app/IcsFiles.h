#pragma once

#include "base/DateTime.h"
#include "ical/IcalDiary.h"

#include <QString>
#include <string>

// What the diary's iCalendar files take from the desktop: the diary's months
// from today's date and the system's time zone.

TDiaryMonths DiaryMonthsAt(TDateTime today);
// The tz database name of the system's zone ("Europe/Berlin"); empty when the
// system names none.
std::string SystemZoneName();

// "Talvo95 --export-ics FILE": the diary of the data folder as an iCalendar
// file, "-" writing it to standard output. Needs no display; returns the
// program's exit status, with any failure told on standard error.
int ExportIcsCommand(int& argc, char** argv, const QString& file);
