#include "alarms/AlarmPopups.h"
#include "app/AboutForm.h"
#include "app/Autosaver.h"
#include "app/HelpWindow.h"
#include "app/PageSlot.h"
#include "app/SyncController.h"
#include "app/TalvoForm.h"
#include "app/TalvoServices.h"
#include "app/TrayController.h"
#include "app/WindowPlacement.h"
#include "base/DataFile.h"
#include "base/LongStrings.h"
#include "controls/Dialogues.h"
#include "diary/CalendarPage.h"
#include "find/FindForm.h"
#include "notes/NotesPage.h"
#include "schedule/ScheduleForm.h"
#include "session/RecoveryFolder.h"
#include "settings/PropertiesForm.h"

#include <QCloseEvent>
#include <QLayout>
#include <QScreen>
#include <QStatusBar>
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
    DiaryFileAge = Session.DiaryFileTime();
    if (FAboutForm)
        FAboutForm->close();
    if (FScheduleWindow)
        FScheduleWindow->close();
    if (FFindWindow)
        FFindWindow->hide();
    if (FHelpWindow)
        FHelpWindow->close();
    // Unsaved edits stay in effect where they are read; nothing is applied.
    if (FPropertiesForm)
        FPropertiesForm->hide();
    // Without a notification area a hidden window comes back only by a new
    // start, and only alarms are worth that.
    const bool background = RunsInBackground();
    if (!FTray->CanHideToTray() && !background)
        return;
    hide();
    FHiddenInTray = true;
    if (background)
        TellBackground();
}

void TTalvoForm::RestoreFromTray()
{
    if (FNoTray)
        return;
    if (FHiddenInTray && Session.DiaryFileTime() != DiaryFileAge) {
        FreeAllData();
        LoadAllData();
        ShowLoadNotice();
    }
    Session.Diary().CountOverdue();
    ShowOverdueCount();
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
    FHiddenInTray = false;
    ShowFormNotice();
}

// Every way out runs through here. The data is freed only after the last step
// that can fail, and a failed save leaves the program running, visible, with
// its data.
bool TTalvoForm::ExitClick(TExitCause cause)
{
    if (Exited)
        return true;
    Second->stop();
    FTray->DeleteIcon();
    if (FCalendarPage)
        FCalendarPage->EndEditing();
    if (FNotesPage)
        FNotesPage->EndEditing();
    // Hidden, the data was saved when the window was hidden; whatever changed
    // since (the purge, a save that failed) is saved now.
    const bool saved = FHiddenInTray ? SaveIfChanged(cause) : SaveAllData(cause);
    // A second request to end may have finished the exit while the error box was open.
    if (Exited)
        return true;
    if (!saved) {
        FTray->AddIcon();
        Second->start(1000);
        if (isMinimized())
            showNormal();
        show();
        FHiddenInTray = false;
        return false;
    }
    DiaryFileAge = Session.DiaryFileTime();
    if (FAboutForm)
        FAboutForm->close();
    if (FHelpWindow)
        FHelpWindow->close();
    if (FPropertiesForm)
        FPropertiesForm->hide();
    WritePlacement(cause);
    // A sync under way is dropped before the data it would change goes.
    if (FSync)
        FSync->Stop();
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
    if (FTray->CanHideToTray() || RunsInBackground()) {
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

bool TTalvoForm::SaveAllData(TExitCause cause)
{
    return SaveFailed(Session.Save(TSaveMode::Closing), cause);
}

bool TTalvoForm::SaveIfChanged(TExitCause cause)
{
    return SaveFailed(Session.Save(TSaveMode::Changed), cause);
}

bool TTalvoForm::SaveFailed(std::vector<TSaveFailure> failures, TExitCause cause)
{
    ShowFormNotice();
    if (failures.empty()) {
        // What was saved reaches the calendar server soon.
        if (FSync)
            FSync->Saved();
        // A save that wrote everything leaves the autosave nothing to do; its
        // word of a failure is taken back.
        if (!Session.Unsaved(dkDiary) && !Session.Unsaved(dkNotes))
            FAutosaver->Clear();
        return true;
    }
    // Asked to end by a signal or the session, the program must end: nobody
    // may be there to answer a box, and the system ends it soon regardless.
    if (cause == ecSystem) {
        TRecoveryFolder recovery(Services.RecoveryFolder);
        if (const auto kept = recovery.Keep(failures, Services.Clock.Now())) {
            for (const std::filesystem::path& copy : *kept)
                std::fprintf(
                    stderr, "Talvo95: what could not be saved is kept in %s.\n", copy.c_str());
            return true;
        }
    }
    // Each file's failure has its box.
    for (const TSaveFailure& failure : failures) {
        const bool diary = failure.Kind == dkDiary;
        Services.Dialogues.ShowError(
            u"The %1 could not be saved to \"%2\": %3. "
            "Your %4 are kept in memory; free some space or "
            "check the folder, then close the window again to save."_s.arg(
                diary ? u"diary"_s : u"notes"_s, QString::fromStdString(failure.Path.string()),
                SaveFailureReason(failure.Result, failure.Error),
                diary ? u"events"_s : u"notes"_s));
    }
    return false;
}

void TTalvoForm::LoadAllData()
{
    // A shown page wants its notes now; otherwise a big notes file is read
    // while the window comes up.
    if (FNotesPage) {
        Session.Load();
    } else {
        Session.StartLoad();
        NotesPoll->start();
    }
    // The steps were made on what memory held before.
    History.Clear();
    FAutosaver->Clear();
    FCalc.ClearStack();
}

void TTalvoForm::FreeAllData()
{
    Session.Free();
}

void TTalvoForm::ShowBadArguments()
{
    for (const QString& argument : std::exchange(BadArguments, {}))
        Services.Dialogues.ShowError(u"Invalid Parameter: "_s + argument);
}

void TTalvoForm::ShowLoadNotice()
{
    for (const TLoadNotice& notice : Session.TakeLoadNotices()) {
        const QString how
            = notice.End == TDataFile::leInvalidText ? u"as it could be"_s : u"only in part"_s;
        Services.Dialogues.ShowError(
            u"\"%1\" was read %5: %2. %3 what was read. Before the file is next "
            "saved, its original content is kept beside it as \"%4\"."_s.arg(
                QString::fromStdString(notice.Path.string()), LoadEndReason(notice.End),
                notice.Kind == dkDiary ? u"The diary shows"_s : u"The notes show"_s,
                QString::fromStdString(notice.Backup.filename().string()), how));
    }
    const std::vector<std::filesystem::path> kept
        = TRecoveryFolder(Services.RecoveryFolder).TakeNotice();
    if (kept.empty())
        return;
    QStringList names;
    for (const std::filesystem::path& copy : kept)
        names << QString::fromStdString(copy.string());
    Services.Dialogues.ShowError(
        u"When Talvo95 last ended, part of its data could not be saved to its files. What "
        "was not saved is kept in:\n%1\nTo take it back, end Talvo95 and copy a file over "
        "the data file of the same name in \"%2\"."_s.arg(
            names.join(u'\n'), QString::fromStdString(Services.DataFolder.string())));
}

void TTalvoForm::ShowFormNotice()
{
    QStringList files;
    for (const std::filesystem::path& file : Session.TakeFormNotices())
        files << QString::fromStdString(file.filename().string());
    if (!files.isEmpty())
        FormNotice = KeptAsUtf8Notice(files);
    // Hidden in the tray, the window says it when it is shown again.
    if (!FormNotice.isEmpty() && isVisible() && !FHiddenInTray) {
        statusBar()->showMessage(FormNotice, FormNoticeTime);
        FormNotice.clear();
    }
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
        const std::array<int32_t, 4> ScheduleRect = FScheduleWindow
            ? FScheduleWindow->Placement()
            : TScheduleForm::ReadPlacement(FSettings);
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
