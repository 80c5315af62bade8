#include "alarms/AlarmPopups.h"
#include "app/TalvoForm.h"
#include "app/TalvoServices.h"
#include "app/TrayController.h"
#include "controls/Dialogues.h"
#include "controls/ProgramIcon.h"
#include "diary/CalendarPage.h"
#include "platform/AnsiText.h"
#include "platform/Notifications.h"

#include <QTabWidget>

using namespace Qt::StringLiterals;

// The alarms as the window shows them: notes, notifications, snoozes, and
// running on without a tray while alarms lie ahead.

namespace
{

constexpr int DayColumn = 1;

} // namespace

void TTalvoForm::ConnectAlarms()
{
    if (Services.Notifications)
        FPopups->UseNotifications(
            Services.Notifications, [this] { return FOptions.Notifications; });
    FPopups->KeepClearOf([this] { return isVisible() ? frameGeometry() : QRect(); });
    connect(FPopups, &TAlarmPopups::SnoozeRequested, this, &TTalvoForm::SnoozeAlarm);
    connect(FPopups, &TAlarmPopups::ShowRequested, this, &TTalvoForm::ShowAlarmDay);
    FSettings.OpenSettings();
    FPopups->SetSnoozeMinutes(std::clamp(FSettings.ReadSettingInt(Setting::SnoozeMinutes), 1, 60));
    FSettings.CloseSettings();
}

void TTalvoForm::ShowAlarmPopup(const TAlarmEvent& alarm, TRingKind kind)
{
    FPopups->ShowAlarm(alarm, kind, FromCore(alarm.Description));
}

void TTalvoForm::ShowReminder(const TAlarmEvent& alarm, int minutes)
{
    FPopups->ShowReminder(alarm, minutes, FromCore(alarm.Description));
}

void TTalvoForm::ShowMissedAlarms(const std::vector<TAlarmEvent>& alarms)
{
    QStringList descriptions;
    for (const TAlarmEvent& alarm : alarms)
        descriptions << FromCore(alarm.Description);
    FPopups->ShowMissed(alarms, descriptions);
}

void TTalvoForm::SnoozeAlarm(const TAlarmEvent& alarm, int minutes)
{
    if (!FTick->Snooze(alarm, minutes))
        Services.Dialogues.ShowError(
            u"The snooze could not be saved to \"%1\" in the data folder. The alarm rings "
            "again while the program runs, but not after a restart."_s.arg(
                QString::fromLatin1(SnoozeFileName)));
    AcknowledgeClick();
    try {
        FSettings.OpenSettings();
        FSettings.WriteSettingInt(Setting::SnoozeMinutes.Name, minutes);
        FSettings.CloseSettings();
    } catch (const ESettingsError&) {
        // Only the choice offered next time is lost.
    }
}

void TTalvoForm::ShowAlarmDay(const TAlarmEvent& alarm)
{
    if (FHiddenInTray)
        RestoreFromTray();
    PageControl->setCurrentIndex(CalendarPageIndex);
    const TCivilDate date = DecodeDate(alarm.Day);
    int row = 1;
    if (date.Month >= 1 && date.Day >= 1) {
        int position = 1;
        for (const TDiaryEvent* event
             = Session.Diary().DiaryDays[DayIndex(date.Month, date.Day)].get();
             event; event = event->Next.get(), ++position)
            if (event->Time == alarm.Time && event->Description.view() == alarm.Description) {
                row = position;
                break;
            }
    }
    CalendarPage()->SelectDayCell(alarm.Day, row, DayColumn);
    BringToFront();
}

bool TTalvoForm::RunsInBackground()
{
    if (FNoTray || !FOptions.Background || FTray->CanHideToTray() || !Session.Loaded())
        return false;
    return !FTick->Snoozes().Snoozes().empty()
        || AlarmAhead(Session.Diary(), TSecondTick::MinuteStamp(Services.Clock.Now()));
}

void TTalvoForm::TellBackground()
{
    FSettings.OpenSettings();
    const bool told = FSettings.ReadSettingInt(Setting::BackgroundTold) != 0;
    FSettings.CloseSettings();
    if (told)
        return;
    const QString summary = u"Talvo95 keeps running for your alarms"_s;
    const QString body = u"The window is closed, but alarms still ring. Start Talvo95 again to "
                         "show it; to quit, choose Exit in its Menu (F10)."_s;
    INotifications::TNotice notice { summary, body, false, {}, TProgramIcon::Image(64) };
    if (!FOptions.Notifications || !Services.Notifications
        || Services.Notifications->Notify(notice) == 0)
        Services.Dialogues.ShowInfo(summary + u". "_s + body);
    try {
        FSettings.OpenSettings();
        FSettings.WriteSettingInt(Setting::BackgroundTold.Name, 1);
        FSettings.CloseSettings();
    } catch (const ESettingsError&) {
        // Said again next time.
    }
}
