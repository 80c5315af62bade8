// The diary page's undo and redo: each edit a step on the diary's history.

#include "controls/Dialogues.h"
#include "controls/SimpleCalendar.h"
#include "diary/CalendarPage.h"
#include "diary/DiaryGrid.h"
#include "diary/DiaryGridModel.h"
#include "diary/DiaryKeys.h"
#include "diary/DiaryUndo.h"

#include <QAction>
#include <QMenu>
#include <QUndoStack>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace
{

QString PurgeRefusal()
{
    return u"Old events have been moved to \"DiaryOld.txt\" since then: the steps before "
           "that cannot be undone."_s;
}

QString ChangedRefusal()
{
    return u"The days this step changed have been changed since by something else, so it "
           "cannot be undone."_s;
}

QString ChangedRedoRefusal()
{
    return u"The days this step changes have been changed since by something else, so it "
           "cannot be done again."_s;
}

} // namespace

void TCalendarPage::BuildUndoActions()
{
    mDUndo = new QAction(u"Undo"_s, this);
    mDUndo->setObjectName(u"mDUndo"_s);
    mDUndo->setShortcuts(QKeySequence::Undo);
    mDRedo = new QAction(u"Redo"_s, this);
    mDRedo->setObjectName(u"mDRedo"_s);
    mDRedo->setShortcuts(
        { QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y) });
    // Anywhere on the page, unless an editor with an undo of its own has the focus.
    for (QAction* action : { mDUndo, mDRedo }) {
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(action);
        pmDiary->addAction(action);
    }
    pmDiary->addSeparator();
    connect(mDUndo, &QAction::triggered, this, [this] { Guarded([this] { UndoClick(); }); });
    connect(mDRedo, &QAction::triggered, this, [this] { Guarded([this] { RedoClick(); }); });
    connect(&History, &QUndoStack::indexChanged, this, &TCalendarPage::UpdateUndoActions);
    connect(&History, &QUndoStack::cleanChanged, this, &TCalendarPage::UpdateUndoActions);
    UpdateUndoActions();
}

void TCalendarPage::UpdateUndoActions()
{
    mDUndo->setEnabled(History.canUndo());
    mDUndo->setText(History.canUndo() ? u"Undo "_s + History.undoText() : u"Undo"_s);
    mDRedo->setEnabled(History.canRedo());
    mDRedo->setText(History.canRedo() ? u"Redo "_s + History.redoText() : u"Redo"_s);
}

void TCalendarPage::ResetBaseline()
{
    BaselineDay = Store.SelectedDay;
    Baseline = Store.DayValues(BaselineDay);
}

void TCalendarPage::RecordStep(const char* name, bool typing)
{
    if (Replaying)
        return;
    const uint16_t day = Store.SelectedDay;
    if (day != BaselineDay) {
        ResetBaseline();
        return;
    }
    TDayValues now = Store.DayValues(day);
    if (now == Baseline)
        return;
    TDiaryEdit edit(name, Calendar->Date(), CalendarGrid->Row(), CalendarGrid->Col());
    edit.Record(day, std::exchange(Baseline, now), now);
    if (edit.Empty())
        return;
    PushStep(std::move(edit), typing ? TypingSerial : 0);
    if (!typing)
        ++TypingSerial;
}

void TCalendarPage::PushStep(TDiaryEdit edit, int mergeKey)
{
    History.push(new TDiaryStep(std::move(edit), mergeKey,
        [this](const TDiaryEdit& step, bool revert) { ReplayStep(step, revert); }));
}

void TCalendarPage::BulkStep(const char* name, const std::vector<uint16_t>& days,
    const std::function<int()>& change, const QString& message)
{
    TDiaryEdit edit(name, Calendar->Date(), CalendarGrid->Row(), CalendarGrid->Col());
    edit.Watch(Store, Store.SelectedDay);
    for (const uint16_t day : days)
        edit.Watch(Store, day);
    const int changed = change();
    edit.Finish(Store);
    ResetBaseline();
    Calendar->Surface()->update();
    RecountOverdue();
    if (!edit.Empty())
        PushStep(std::move(edit), 0);
    ++TypingSerial;
    Q_EMIT StatusMessage(message.arg(changed));
}

void TCalendarPage::ReplayStep(const TDiaryEdit& edit, bool revert)
{
    Replaying = true;
    EndEditing();
    if (DateOf(Calendar->Date()) != DateOf(edit.Day()))
        Calendar->SetDate(edit.Day());
    if (revert)
        edit.Revert(Store);
    else
        edit.Apply(Store);
    Replaying = false;
    ResetBaseline();
    ++TypingSerial;
    RepaintGrid();
    Calendar->Surface()->update();
    RecountOverdue();
    if (!CalendarGrid->isHidden())
        CalendarGrid->FocusCell(std::clamp(edit.Column(), 0, DiaryColumnCount - 1),
            std::clamp(edit.Row(), 1, TDiaryGridModel::EventRows));
    if (edit.DaysChanged() > 1)
        Q_EMIT StatusMessage((revert ? u"Undone: %1 on %2 days. Ctrl+Shift+Z does it again."_s
                                     : u"Done again: %1 on %2 days. Ctrl+Z undoes it."_s)
                                 .arg(QString::fromStdString(edit.Name()))
                                 .arg(edit.DaysChanged()));
}

void TCalendarPage::UndoClick()
{
    // What the cell editor holds is a step of its own first.
    EndEditing();
    if (!History.canUndo())
        return;
    const QUndoCommand* step = History.command(History.index() - 1);
    if (dynamic_cast<const TPurgeMark*>(step)) {
        Dialogues.ShowInfo(PurgeRefusal());
        return;
    }
    if (const auto* diary = dynamic_cast<const TDiaryStep*>(step);
        diary && !diary->Edit().CanRevert(Store)) {
        Dialogues.ShowError(ChangedRefusal());
        return;
    }
    History.undo();
}

void TCalendarPage::RedoClick()
{
    EndEditing();
    if (!History.canRedo())
        return;
    const QUndoCommand* step = History.command(History.index());
    if (const auto* diary = dynamic_cast<const TDiaryStep*>(step);
        diary && !diary->Edit().CanApply(Store)) {
        Dialogues.ShowError(ChangedRedoRefusal());
        return;
    }
    History.redo();
}

void TCalendarPage::MarkPurge()
{
    if (History.count() > 0)
        History.push(new TPurgeMark);
    ResetBaseline();
}
