#include "app/TalvoForm.h"
#include "app/TalvoServices.h"
#include "app/TrayController.h"
#include "app/WindowPlacement.h"
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
#include <QApplication>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTabWidget>
#include <QTableView>
#include <algorithm>
#include <string>

// The secondary windows are made when they are first wanted, so start-up
// builds only what the first frame shows.

namespace
{

constexpr int GoThereColumn = 1;
constexpr int DescriptionColumn = 3;

// The free area of the screen a window is on.
QRect AreaFor(const QWidget& window)
{
    const QScreen* screen = window.screen();
    return screen ? screen->availableGeometry() : QRect();
}

// The line of a view or an editor that holds its current item or the text
// cursor, on the screen; empty when there is none.
QRect FocusedSpot(QWidget* widget)
{
    QRect line;
    QWidget* viewport = nullptr;
    if (auto* view = qobject_cast<QAbstractItemView*>(widget)) {
        viewport = view->viewport();
        line = view->visualRect(view->currentIndex());
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(widget)) {
        viewport = memo->viewport();
        line = memo->cursorRect();
    }
    if (!viewport || !line.isValid())
        return {};
    line = QRect(0, line.top(), viewport->width(), line.height()).intersected(viewport->rect());
    return QRect(viewport->mapToGlobal(line.topLeft()), line.size());
}

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
    if (FScheduleWindow) {
        targets.ScheduleWindow = FScheduleWindow;
        targets.ScheduleGrid = FScheduleWindow->Grid();
    }
}

TScheduleForm& TTalvoForm::ScheduleWindow()
{
    if (!FScheduleWindow) {
        FScheduleWindow = new TScheduleForm(
            Session.Diary(), Services.Clock, FOptions, Services.Clipboard, FSettings, this);
        connect(FScheduleWindow, &TScheduleForm::GoThereRequested, this,
            [this](double day, int position) {
                RunGuarded(Services.Dialogues, [&] { ScheduleGoThere(day, position); });
            });
        TApplyTargets targets;
        targets.ScheduleGrid = FScheduleWindow->Grid();
        ::ApplySettings(FOptions, targets);
    }
    return *FScheduleWindow;
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
    PageControl->setCurrentIndex(CalendarPageIndex);
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
    if (!FFindWindow) {
        FFindWindow = new TFindForm(Services.Dialogues, this);
        // Next to the main window (beside, below or above it) where the
        // screen has room, else at its designed place over it; from then on
        // where the user puts it.
        FFindWindow->move(pos() + QPoint(TFindForm::FirstLeft, TFindForm::FirstTop));
        FFindWindow->move(
            PlaceClearOf(FFindWindow->frameGeometry(), frameGeometry(), AreaFor(*FFindWindow))
                .topLeft());
        FFindWindow->Search = [this](const QString& text) {
            std::optional<bool> found;
            RunGuarded(Services.Dialogues, [&] { found = FindInPage(text); });
            return found;
        };
        FFindWindow->Closed = [this] { FindClosed(); };
    }
    return *FFindWindow;
}

void TTalvoForm::FindButtonClick()
{
    TFindForm& find = FindWindow();
    // Kept on the screen, which may have changed since it was last shown.
    const QRect frame = find.frameGeometry();
    find.move(FitToArea(
        { frame.x(), frame.y(), frame.width(), frame.height() }, AreaFor(find), frame.size())
                  .topLeft());
    find.show();
    find.raise();
    find.activateWindow();
}

std::optional<bool> TTalvoForm::FindInPage(const QString& text)
{
    const int page = PageControl->currentIndex();
    if (page != CalendarPageIndex && page != NotesTreePageIndex)
        return std::nullopt;
    const std::string pattern = ToCore(text);
    if (page == NotesTreePageIndex)
        return FindInNotesPage(pattern);
    FCalendarPage->EndEditing();
    const std::optional<TDiaryHit> hit = FindInDiary(Session.Diary(), pattern);
    if (!hit)
        return false;
    FCalendarPage->SelectDayCell(hit->Day, hit->Position, DescriptionColumn);
    // The found row and the date above it stay in sight.
    QTableView* grid = FCalendarPage->Grid();
    const QRect header = grid->horizontalHeader()->geometry();
    KeepFindClear(
        QRect(grid->mapToGlobal(header.topLeft()), header.size()).united(FocusedSpot(grid)));
    return true;
}

bool TTalvoForm::FindInNotesPage(const std::string& pattern)
{
    TNotesPage& page = *NotesPage();
    page.EndEditing();
    TNoteNode* selected = page.Selected();
    // Storing the page also switches word wrap off and sets where to go on from.
    if (selected && selected->Data)
        page.StoreNoteData(*selected->Data);
    const size_t start = selected ? static_cast<size_t>(std::max(page.NotesFindStart, 1)) : 1;
    const std::optional<TNotesHit> hit = FindInNotes(Notes(), selected, start, pattern);
    if (!hit)
        return false;
    if (hit->InName()) {
        page.NotesCaretOnShow = 0;
        page.SelectCategory(hit->Node);
        page.FocusTree();
        KeepFindClear(FocusedSpot(page.TreeView()));
        return true;
    }
    page.NotesCaretOnShow = static_cast<int32_t>(hit->Position - 1);
    if (hit->Node == selected)
        page.NotesChange(hit->Node);
    else
        page.SelectCategory(hit->Node);
    page.Editor().NotesFocus();
    // The caret stands on the hit; in the text view the hit is selected too,
    // from its end back to the caret, so the next search goes on from the
    // character after the hit's first one.
    auto* memo = qobject_cast<QPlainTextEdit*>(page.Editor().Memo());
    if (memo && memo->isVisible()) {
        QTextCursor cursor = memo->textCursor();
        const int start = cursor.position();
        cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::MoveAnchor,
            static_cast<int>(FromCore(pattern).size()));
        cursor.setPosition(start, QTextCursor::KeepAnchor);
        memo->setTextCursor(cursor);
    }
    KeepFindClear(FocusedSpot(QApplication::focusWidget()));
    return true;
}

void TTalvoForm::KeepFindClear(const QRect& spot)
{
    if (!FFindWindow || spot.isEmpty())
        return;
    const QRect frame = FFindWindow->frameGeometry();
    const QRect placed = PlaceClearOf(frame, spot, AreaFor(*FFindWindow));
    if (placed != frame)
        FFindWindow->move(placed.topLeft());
}

void TTalvoForm::FindClosed()
{
    if (PageControl->currentIndex() == CalendarPageIndex) {
        QWidget* grid = FCalendarPage->Grid();
        if (grid->isVisible())
            grid->setFocus();
    } else if (PageControl->currentIndex() == NotesTreePageIndex && FNotesPage) {
        FNotesPage->Editor().NotesFocus();
    } else if (QWidget* target = PageFocusTarget(PageControl->currentIndex())) {
        target->setFocus();
    }
}
