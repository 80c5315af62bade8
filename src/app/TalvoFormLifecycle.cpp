#include "alarms/AlarmPopups.h"
#include "app/AboutForm.h"
#include "app/HelpWindow.h"
#include "app/PageSlot.h"
#include "app/TalvoForm.h"
#include "app/TalvoServices.h"
#include "app/TrayController.h"
#include "app/WindowPlacement.h"
#include "base/DataFile.h"
#include "base/LongStrings.h"
#include "controls/Dialogues.h"
#include "diary/CalendarPage.h"
#include "diary/DiaryFile.h"
#include "find/FindForm.h"
#include "notes/NotesPage.h"
#include "schedule/ScheduleForm.h"
#include "settings/PropertiesForm.h"

#include <QCloseEvent>
#include <QLayout>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <system_error>
#include <utility>

using namespace Qt::StringLiterals;

// Hiding to the tray, restoring, the orderly exit, and what each saves or reads.

void TTalvoForm::HideToTray()
{
    if (FCalendarPage)
        FCalendarPage->EndEditing();
    if (FNotesPage)
        FNotesPage->EndEditing();
    // A failed save leaves the window shown, with the error box, as an exit does.
    if (!SaveAllData())
        return;
    DiaryFileAge = DiaryFileTime();
    if (FAbout)
        FAbout->close();
    if (FSchedule)
        FSchedule->close();
    if (FFind)
        FFind->hide();
    if (FHelp)
        FHelp->close();
    // Unsaved edits stay in effect where they are read; nothing is applied.
    if (FProperties)
        FProperties->hide();
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
        ShowLoadNotice();
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

// Every way out runs through here. The data is freed only after the last step
// that can fail, and a failed save leaves the program running, visible, with
// its data.
bool TTalvoForm::ExitClick(TExitCause cause)
{
    if (Exited)
        return true;
    FSecond->stop();
    FTray->DeleteIcon();
    if (FCalendarPage)
        FCalendarPage->EndEditing();
    if (FNotesPage)
        FNotesPage->EndEditing();
    // Hidden, the data was saved when the window was hidden; whatever changed
    // since (the purge, a save that failed) is saved now.
    const bool saved = FHiddenInTray ? SaveIfChanged() : SaveAllData();
    // A second request to end may have finished the exit while the error box was open.
    if (Exited)
        return true;
    if (!saved) {
        FTray->AddIcon();
        FSecond->start(1000);
        if (isMinimized())
            showNormal();
        show();
        FHiddenInTray = false;
        return false;
    }
    DiaryFileAge = DiaryFileTime();
    if (FAbout)
        FAbout->close();
    if (FHelp)
        FHelp->close();
    if (FProperties)
        FProperties->hide();
    WritePlacement(cause);
    FreeAllData();
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

void TTalvoForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // The frame is known once the window is shown; a window manager that frames
    // it a moment later tells its title bar's height only then.
    if (!std::exchange(FittedOnScreen, true)) {
        FitOnScreen();
        QTimer::singleShot(300, this, &TTalvoForm::FitOnScreen);
    }
}

void TTalvoForm::FitOnScreen()
{
    const QRect frame = frameGeometry();
    const QRect inner = geometry();
    const QSize margins = frame.size() - inner.size();
    const TStoredPlace place { frame.x(), frame.y(), frame.width(), frame.height() };
    const QScreen* screen = ScreenFor(place);
    if (!screen)
        return;
    const QRect fitted = FitToArea(place, screen->availableGeometry(), minimumSize() + margins);
    if (fitted == frame)
        return;
    move(fitted.topLeft());
    resize(fitted.size() - margins);
}

bool TTalvoForm::SaveAllData()
{
    FDiary.CommitSelectedDay();
    // Each file is written whatever became of the other; each failure has its box.
    // A diary whose file holds it already is not written again: the file keeps
    // its date, and the exit does not wait for a needless write to the disk.
    const auto unchanged
        = DataLoaded ? UnchangedDiaryDigest(FDiary.DiaryDays, DiaryData) : std::nullopt;
    if (unchanged)
        SavedDigest = *unchanged;
    const bool diarySaved = unchanged || SaveDiaryNow(FormatDiary(FDiary.DiaryDays));
    const bool notesSaved = NotesDocument.Save(IoError, Services.Clock.Now());
    return diarySaved && notesSaved;
}

bool TTalvoForm::SaveIfChanged()
{
    FDiary.CommitSelectedDay();
    const bool notesSaved = NotesDocument.Save(IoError, Services.Clock.Now(), true);
    if (SavedDigest && *SavedDigest == DiaryDigest(FDiary.DiaryDays))
        return notesSaved;
    return SaveDiaryNow(FormatDiary(FDiary.DiaryDays)) && notesSaved;
}

bool TTalvoForm::SaveDiaryNow(std::string text)
{
    // Never a diary that was not loaded: after the exit freed it, memory holds nothing of the file.
    if (!DataLoaded)
        return true;
    const TDataFile::TSaveResult result
        = SaveDataText(text, DiaryData, IoError, Services.Clock.Now());
    if (result == TDataFile::srSaved) {
        SavedDigest = DiaryTextDigest(text);
        return true;
    }
    const QString file = QString::fromStdString(DiaryData.Path().string());
    const QString reason = SaveFailureReason(result);
    Services.Dialogues.ShowError(
        u"The diary could not be saved to \"%1\": %2. "
        "Your events are kept in memory; free some space or "
        "check the folder, then close the window again to save."_s.arg(file, reason));
    return false;
}

void TTalvoForm::LoadAllData()
{
    FDiary.OpenDiary(DiaryData, IoError);
    NotesDocument.Open(Services.DataFolder, IoError);
    DataLoaded = true;
    SavedDigest.reset();
    FCalc.ClearStack();
}

void TTalvoForm::FreeAllData()
{
    FDiary.FreeDiary();
    NotesDocument.Clear();
    DataLoaded = false;
}

void TTalvoForm::ShowLoadNotice()
{
    NotesDocument.ShowLoadNotice(Services.Clock.Now());
    if (!DiaryData.TakeNotice())
        return;
    const QString why = DiaryData.LoadEnd() == TDataFile::leReadError
        ? u"a read error stopped the reading"_s
        : u"it holds an end-of-file mark (the byte 26) with more data after it"_s;
    Services.Dialogues.ShowError(
        u"\"%1\" was read only in part: %2. The diary shows what was read. Before the "
        "file is next saved, its original content is kept beside it as \"%3\"."_s.arg(
            QString::fromStdString(DiaryData.Path().string()), why,
            QString::fromStdString(
                DiaryData.BackupPathFor(Services.Clock.Now()).filename().string())));
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
    // Handed to the notes page when it is built.
    WinSplit = FSettings.ReadSettingInt(Setting::WinSplit.Name, WinSplit);
    FirstStart = FSettings.ReadSettingText(Setting::WinWidth.Name).empty()
        || FSettings.ReadSettingText(Setting::WinHeight.Name).empty();
    FSettings.CloseSettings();
    // Brought within what the desktop shows: a hand-typed or foreign place
    // could put the window off screen or make it larger than any screen.
    const TStoredPlace stored { left, top, w, h };
    if (const QScreen* screen = ScreenFor(stored)) {
        const QRect place = FitToArea(stored, screen->availableGeometry(), minimumSize());
        move(place.topLeft());
        resize(place.size());
        return;
    }
    move(left, top);
    resize(w, h);
}

void TTalvoForm::FitFirstSize()
{
    // The diary page asks for both months and about twelve rows of events in
    // the fonts in use, the calculator for its whole keypad; the window adds
    // its tabs and status bar to that. Only a first start builds the
    // calculator this early.
    CalculatorPage();
    // The layouts above the page measure it again.
    for (QWidget* widget = Pages[CalculatorPageIndex]; widget; widget = widget->parentWidget())
        if (QLayout* layout = widget->layout())
            layout->invalidate();
    const QSize wanted = sizeHint().expandedTo(minimumSize());
    const TStoredPlace place { x(), y(), wanted.width(), wanted.height() };
    if (const QScreen* screen = ScreenFor(place)) {
        const QRect fitted = FitToArea(place, screen->availableGeometry(), minimumSize());
        move(fitted.topLeft());
        resize(fitted.size());
        return;
    }
    resize(wanted);
}

void TTalvoForm::WritePlacement(TExitCause cause)
{
    // One batch, stored by one sync when it closes. A refused write is
    // reported, but it does not stop the program ending: the data is saved.
    try {
        // A schedule window never opened keeps the place it has stored.
        const std::array<int32_t, 4> ScheduleRect
            = FSchedule ? FSchedule->Placement() : TScheduleForm::ReadPlacement(FSettings);
        const std::array<std::pair<std::string_view, int32_t>, 9> place { {
            { Setting::WinLeft.Name, x() },
            { Setting::WinTop.Name, y() },
            { Setting::WinWidth.Name, width() },
            { Setting::WinHeight.Name, height() },
            { Setting::WinSplit.Name, FNotesPage ? FNotesPage->Split() : WinSplit },
            { Setting::SchWinLeft.Name, ScheduleRect[0] },
            { Setting::SchWinTop.Name, ScheduleRect[1] },
            { Setting::SchWinWidth.Name, ScheduleRect[2] },
            { Setting::SchWinHeight.Name, ScheduleRect[3] },
        } };
        FSettings.OpenSettings();
        // A place stored already is not written again: the way out waits for
        // no write to the disk.
        const bool stored = std::ranges::all_of(place, [this](const auto& value) {
            return FSettings.ReadSettingText(value.first) == IntToText(value.second);
        });
        if (!stored)
            for (const auto& [name, value] : place)
                FSettings.WriteSettingInt(name, value);
        FSettings.CloseSettings();
    } catch (const ESettingsError& error) {
        // Asked to end by a signal or the session, there is nobody to answer a
        // box, and it would keep the program from ending.
        if (cause == ecUser)
            Services.Dialogues.ShowApplicationError(ErrorText(error));
        else
            std::fprintf(stderr, "Talvo95: %s.\n", error.what());
    }
}
