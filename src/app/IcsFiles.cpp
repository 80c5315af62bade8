#include "app/IcsFiles.h"

#include "base/DataFile.h"
#include "base/IoError.h"
#include "base/TextFile.h"
#include "diary/DiaryFile.h"
#include "ical/IcalExport.h"
#include "platform/DataFolder.h"
#include "platform/SingleInstance.h"
#include "platform/SystemClock.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimeZone>
#include <cstdio>
#include <ctime>

using namespace Qt::StringLiterals;

TDiaryMonths DiaryMonthsAt(TDateTime today)
{
    const TCivilDate date = DecodeDate(today);
    return { date.Year, date.Month };
}

std::string SystemZoneName()
{
    return QTimeZone::systemTimeZoneId().toStdString();
}

int ExportIcsCommand(int& argc, char** argv, const QString& file)
{
    QCoreApplication application(argc, argv);
    application.setOrganizationName(u"Quorral"_s);
    application.setApplicationName(u"Talvo95"_s);
    const auto fail = [](const QString& message) {
        std::fputs((u"Talvo95: "_s + message + u'\n').toLocal8Bit().constData(), stderr);
        return 1;
    };
    QString folderError;
    const std::filesystem::path folder = TDataFolder::Open(folderError);
    if (!folderError.isEmpty())
        return fail(folderError);
    // A running copy writes what it shows first, so the file holds what the user sees.
    TSingleInstance instance(TSingleInstance::DefaultServerName());
    const TSingleInstance::TReply reply = instance.AskRunningInstance(u"save"_s);
    if (reply.Running && !reply.Answer)
        return fail(u"Talvo95 is running but did not answer in time, so the diary it shows "
                    "may not be saved yet; nothing was exported"_s);
    if (reply.Answer && *reply.Answer != u"saved"_s)
        return fail(u"the running Talvo95 could not save its data, so nothing was exported: "_s
            + reply.Answer->section(u' ', 1));
    TDiaryDays days;
    TIoError ioError;
    LoadDiary(days, folder, ioError);
    const TSystemClock clock;
    const TIcalExport exported = ExportDiaryIcs(days,
        { DiaryMonthsAt(clock.Now()), SystemZoneName(), static_cast<int64_t>(std::time(nullptr)) });
    if (file == u"-"_s) {
        const bool written = std::fwrite(exported.Text.data(), 1, exported.Text.size(), stdout)
                == exported.Text.size()
            && std::fflush(stdout) == 0;
        return written ? 0 : fail(u"the calendar could not be written to standard output"_s);
    }
    if (!WriteFileAtomically(FollowLinks(QFile::encodeName(file).toStdString()), exported.Text))
        return fail(u"the calendar could not be written to "_s + file);
    return 0;
}
