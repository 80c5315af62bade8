#include "app/TalvoForm.h"
#include "app/TalvoServices.h"
#include "app/TrayController.h"
#include "controls/Dialogues.h"
#include "diary/CalendarPage.h"
#include "find/FindForm.h"
#include "find/FindSearch.h"
#include "notes/NotesPage.h"
#include "platform/AnsiText.h"
#include "platform/StayOnTop.h"
#include "schedule/ScheduleForm.h"
#include "schedule/ScheduleGrid.h"
#include "settings/ApplySettings.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <algorithm>
#include <string>

// The secondary windows are made when they are first wanted, so start-up
// builds only what the first frame shows.

namespace
{

constexpr int GoThereColumn = 1;
constexpr int DescriptionColumn = 3;

} // namespace

void TTalvoForm::ConnectWindows()
{
    connect(FCalendarPage, &TCalendarPage::ScheduleRequested, this,
        [this] { RunGuarded(Services.Dialogues, [this] { ScheduleButtonClick(); }); });
    connect(FTray->ShowSched, &QAction::triggered, this,
        [this] { RunGuarded(Services.Dialogues, [this] { ScheduleButtonClick(); }); });
    connect(FCalendarPage, &TCalendarPage::FindRequested, this,
        [this] { RunGuarded(Services.Dialogues, [this] { FindButtonClick(); }); });
}

void TTalvoForm::ApplyWindowSettings(TApplyTargets& targets) const
{
    if (FSchedule) {
        targets.ScheduleWindow = FSchedule;
        targets.ScheduleGrid = FSchedule->Grid();
    }
}

TScheduleForm& TTalvoForm::ScheduleWindow()
{
    if (!FSchedule) {
        FSchedule = new TScheduleForm(
            FDiary, Services.Clock, FOptions, Services.Clipboard, FSettings, this);
        connect(
            FSchedule, &TScheduleForm::GoThereRequested, this, [this](double day, int position) {
                RunGuarded(Services.Dialogues, [&] { ScheduleGoThere(day, position); });
            });
        TApplyTargets targets;
        targets.ScheduleGrid = FSchedule->Grid();
        ::ApplySettings(FOptions, targets);
    }
    return *FSchedule;
}

void TTalvoForm::ScheduleButtonClick()
{
    FCalendarPage->EndEditing();
    TScheduleForm& schedule = ScheduleWindow();
    schedule.OpenSchedule();
    SetStayOnTop(&schedule, FOptions.OnTop);
}

void TTalvoForm::ScheduleGoThere(double day, int position)
{
    if (FHiddenInTray)
        RestoreFromTray();
    FPageControl->setCurrentIndex(CalendarPageIndex);
    FCalendarPage->SelectDayCell(day, position, GoThereColumn);
    BringToFront();
    FCalendarPage->Grid()->setFocus();
}

void TTalvoForm::BringToFront()
{
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

TFindForm& TTalvoForm::FindWindow()
{
    if (!FFind) {
        FFind = new TFindForm(Services.Dialogues, this);
        FFind->move(TFindForm::FirstLeft, TFindForm::FirstTop);
        FFind->Search = [this](const QString& text) {
            std::optional<bool> found;
            RunGuarded(Services.Dialogues, [&] { found = FindInPage(text); });
            return found;
        };
        FFind->Closed = [this] { FindClosed(); };
    }
    return *FFind;
}

void TTalvoForm::FindButtonClick()
{
    TFindForm& find = FindWindow();
    find.show();
    find.raise();
    find.activateWindow();
}

std::optional<bool> TTalvoForm::FindInPage(const QString& text)
{
    const int page = FPageControl->currentIndex();
    if (page != CalendarPageIndex && page != NotesTreePageIndex)
        return std::nullopt;
    // A character the data files cannot hold is in none of their texts.
    const std::string pattern = ToAnsi(text);
    const bool representable = FromAnsi(pattern) == text;
    if (page == NotesTreePageIndex)
        return FindInNotesPage(pattern, representable);
    FCalendarPage->EndEditing();
    if (!representable) {
        FDiary.SelectCalendarDay();
        return false;
    }
    const std::optional<TDiaryHit> hit = FindInDiary(FDiary, pattern);
    if (!hit)
        return false;
    FCalendarPage->SelectDayCell(hit->Day, hit->Position, DescriptionColumn);
    return true;
}

bool TTalvoForm::FindInNotesPage(const std::string& pattern, bool representable)
{
    TNotesPage& page = *NotesPage();
    page.EndEditing();
    TNoteNode* selected = page.Selected();
    // Storing the page also switches word wrap off and sets where to go on from.
    if (selected && selected->Data)
        page.StoreNoteData(*selected->Data);
    if (!representable)
        return false;
    const size_t start = selected ? static_cast<size_t>(std::max(page.NotesFindStart, 1)) : 1;
    const std::optional<TNotesHit> hit = FindInNotes(Notes(), selected, start, pattern);
    if (!hit)
        return false;
    if (hit->InName()) {
        page.NotesCaretOnShow = 0;
        page.SelectCategory(hit->Node);
        page.FocusTree();
        return true;
    }
    page.NotesCaretOnShow = static_cast<int32_t>(hit->Position - 1);
    if (hit->Node == selected)
        page.NotesChange(hit->Node);
    else
        page.SelectCategory(hit->Node);
    page.Editor().NotesFocus();
    // The caret stands on the hit; in the text view the hit is selected too.
    auto* memo = qobject_cast<QPlainTextEdit*>(page.Editor().Memo());
    if (memo && memo->isVisible()) {
        QTextCursor cursor = memo->textCursor();
        cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor,
            static_cast<int>(FromAnsi(pattern).size()));
        memo->setTextCursor(cursor);
    }
    return true;
}

void TTalvoForm::FindClosed()
{
    if (FPageControl->currentIndex() == CalendarPageIndex) {
        QWidget* grid = FCalendarPage->Grid();
        if (grid->isVisible())
            grid->setFocus();
    } else if (FPageControl->currentIndex() == NotesTreePageIndex && FNotesPage) {
        FNotesPage->Editor().NotesFocus();
    }
}
