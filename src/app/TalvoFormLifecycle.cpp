#include "alarms/AlarmPopups.h"
#include "app/AboutForm.h"
#include "controls/Dialogues.h"
#include "app/HelpWindow.h"
#include "app/TalvoForm.h"
#include "app/TalvoServices.h"
#include "app/TrayController.h"
#include "diary/CalendarPage.h"
#include "diary/DiaryFile.h"

#include <QCloseEvent>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <system_error>

using namespace Qt::StringLiterals;

// Hiding to the tray, restoring, the orderly exit, and what each saves or reads.

void TTalvoForm::HideToTray()
{
    if (FCalendarPage)
        FCalendarPage->EndEditing();
    SaveAllData();
    DiaryFileAge = DiaryFileTime();
    if (FAbout)
        FAbout->close();
    if (FHelp)
        FHelp->close();
    // Without a notification area a hidden window could never come back.
    if (!FTray->CanHideToTray())
        return;
    hide();
    FHiddenInTray = true;
}

void TTalvoForm::RestoreFromTray()
{
    if (FNoTray)
        return;
    if (FHiddenInTray && DiaryFileTime() != DiaryFileAge) {
        FreeAllData();
        LoadAllData();
    }
    FDiary.CountOverdue();
    ShowOverdueCount();
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
    FHiddenInTray = false;
}

bool TTalvoForm::ExitClick()
{
    if (Exited)
        return true;
    FSecond->stop();
    FTray->DeleteIcon();
    if (!FHiddenInTray) {
        if (FCalendarPage)
            FCalendarPage->EndEditing();
        if (!SaveAllData()) {
            // The diary is still only in memory: carry on rather than lose it.
            FTray->AddIcon();
            FSecond->start(1000);
            show();
            return false;
        }
        DiaryFileAge = DiaryFileTime();
        if (FAbout)
            FAbout->close();
        if (FHelp)
            FHelp->close();
    }
    FreeAllData();
    WritePlacement();
    FPopups->CloseAll();
    Exited = true;
    hide();
    Q_EMIT ExitRequested();
    return true;
}

void TTalvoForm::closeEvent(QCloseEvent* event)
{
    if (Exited) {
        event->accept();
        return;
    }
    if (FTray->CanHideToTray()) {
        HideToTray();
        event->ignore();
        return;
    }
    if (ExitClick())
        event->accept();
    else
        event->ignore();
}

bool TTalvoForm::SaveAllData()
{
    FDiary.CommitSelectedDay();
    if (SaveDiary(FDiary.DiaryDays, Services.DataFolder, IoError))
        return true;
    const std::filesystem::path file = Services.DataFolder / DiaryFileName;
    Services.Dialogues.ShowError(u"The diary could not be saved to \"%1\". "
                                 "Your events are kept in memory; free some space or "
                                 "check the folder, then close the window again to save."_s.arg(
                                     QString::fromStdString(file.string())));
    return false;
}

void TTalvoForm::LoadAllData()
{
    FDiary.OpenDiary(Services.DataFolder, IoError);
    FCalc.ClearStack();
}

void TTalvoForm::FreeAllData()
{
    FDiary.FreeDiary();
}

int64_t TTalvoForm::DiaryFileTime() const
{
    std::error_code error;
    const auto stamp = std::filesystem::last_write_time(Services.DataFolder / DiaryFileName, error);
    if (error)
        return -1;
    return std::chrono::duration_cast<std::chrono::nanoseconds>(stamp.time_since_epoch()).count();
}

void TTalvoForm::ReadPlacement()
{
    FSettings.OpenSettings();
    const int32_t left = FSettings.ReadSettingInt(Setting::WinLeft.Name, x());
    const int32_t top = FSettings.ReadSettingInt(Setting::WinTop.Name, y());
    const int32_t w = FSettings.ReadSettingInt(Setting::WinWidth.Name, width());
    const int32_t h = FSettings.ReadSettingInt(Setting::WinHeight.Name, height());
    WinSplit = FSettings.ReadSettingInt(Setting::WinSplit.Name, WinSplit);
    // The schedule window's place, read here for it until it exists.
    ScheduleRect[0] = FSettings.ReadSettingInt(Setting::SchWinLeft.Name, ScheduleRect[0]);
    ScheduleRect[1] = FSettings.ReadSettingInt(Setting::SchWinTop.Name, ScheduleRect[1]);
    ScheduleRect[2] = FSettings.ReadSettingInt(Setting::SchWinWidth.Name, ScheduleRect[2]);
    ScheduleRect[3] = FSettings.ReadSettingInt(Setting::SchWinHeight.Name, ScheduleRect[3]);
    FSettings.CloseSettings();
    move(left, top);
    resize(w, h);
}

void TTalvoForm::WritePlacement()
{
    // A refused write is reported, but it does not stop the program ending:
    // the data is already saved and freed.
    RunGuarded(Services.Dialogues, [this] {
        FSettings.OpenSettings();
        FSettings.WriteSettingInt(Setting::WinLeft.Name, x());
        FSettings.WriteSettingInt(Setting::WinTop.Name, y());
        FSettings.WriteSettingInt(Setting::WinWidth.Name, width());
        FSettings.WriteSettingInt(Setting::WinHeight.Name, height());
        FSettings.WriteSettingInt(Setting::WinSplit.Name, WinSplit);
        FSettings.WriteSettingInt(Setting::SchWinLeft.Name, ScheduleRect[0]);
        FSettings.WriteSettingInt(Setting::SchWinTop.Name, ScheduleRect[1]);
        FSettings.WriteSettingInt(Setting::SchWinWidth.Name, ScheduleRect[2]);
        FSettings.WriteSettingInt(Setting::SchWinHeight.Name, ScheduleRect[3]);
        FSettings.CloseSettings();
    });
}
