// The diary page's grid: typing, the mouse, the event-type menu, and the
// clipboard and bulk commands of the grid's pop-up menu.

#include "controls/AnsiInput.h"
#include "controls/Dialogues.h"
#include "controls/ImageLists.h"
#include "controls/SimpleCalendar.h"
#include "diary/CalendarPage.h"
#include "diary/DiaryClipboard.h"
#include "diary/DiaryGrid.h"
#include "diary/DiaryGridModel.h"
#include "diary/DiaryKeys.h"
#include "platform/AnsiText.h"
#include "platform/Clipboard.h"

#include <QKeyEvent>
#include <QMenu>
#include <QSplitter>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

void TCalendarPage::BuildGrid()
{
    auto* area = new QWidget(CalendarSplitter);
    area->setObjectName(u"CalendarGridArea"_s);
    Model = new TDiaryGridModel(Store, this);
    CalendarGrid = new TDiaryGrid(*Model, area);
    CalendarGrid->setObjectName(u"CalendarGrid"_s);
    CalendarGrid->setAccessibleName(u"Diary events"_s);
    CalendarGrid->setToolTip(u"Diary Events: Locked, Alarmed, Time, Description"_s);
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(CalendarGrid);

    CalendarGrid->OnKeyDown = [this](QKeyEvent* event) {
        bool used = false;
        Guarded([&] { used = CalendarGridKeyDown(event); });
        return used;
    };
    CalendarGrid->OnKeyPress = [this](const QString& key) {
        bool used = false;
        Guarded([&] { used = CalendarGridKeyPress(key); });
        return used;
    };
    connect(CalendarGrid, &TDiaryGrid::SelectCell, this, &TCalendarPage::CalendarGridSelectCell);
    connect(CalendarGrid, &TDiaryGrid::DblClick, this,
        [this] { Guarded([this] { CalendarGridDblClick(); }); });
    connect(CalendarGrid, &TDiaryGrid::MouseDown, this, &TCalendarPage::CalendarGridMouseDown);
    connect(CalendarGrid, &TDiaryGrid::MenuKeyPressed, this,
        [this](const QPoint& at) { pmDiary->popup(at); });
    connect(Model, &TDiaryGridModel::DescriptionEdited, this,
        [this] { Guarded([this] { RecordStep("Typing", true); }); });
    CalendarGrid->FocusCell(dcLocked, 1);
}

void TCalendarPage::BuildMenus()
{
    pmEventType = new QMenu(this);
    pmEventType->setObjectName(u"pmEventType"_s);
    struct TTypeItem {
        const char16_t* Name;
        const char16_t* Caption;
        int Image;
    };
    const TTypeItem items[] = { { u"mEventBlank", u"non alarm", -1 },
        { u"mEventAlarm", u"Alarm", TImageLists::ciAlarm },
        { u"mEventTicked", u"Done", TImageLists::ciTicked },
        { u"mEventCrossed", u"Cancelled", TImageLists::ciCrossed } };
    for (int tag = etBlank; tag <= etCrossed; ++tag) {
        const TTypeItem& item = items[tag];
        QAction* action = pmEventType->addAction(QString::fromUtf16(item.Caption));
        action->setObjectName(QString::fromUtf16(item.Name));
        action->setData(tag);
        if (item.Image >= 0)
            action->setIcon(TImageLists::CalendarIcon(item.Image));
        connect(action, &QAction::triggered, this,
            [this, tag] { Guarded([this, tag] { mEventTypeClick(tag); }); });
    }

    pmDiary = new QMenu(this);
    pmDiary->setObjectName(u"pmDiary"_s);
    BuildUndoActions();
    const auto add = [this](const QString& name, const QString& caption,
                         const std::function<void()>& handler, QKeySequence shortcut = {}) {
        QAction* action = pmDiary->addAction(caption);
        action->setObjectName(name);
        // The grid takes these keys itself; the menu shows them.
        action->setShortcut(shortcut);
        action->setShortcutContext(Qt::WidgetShortcut);
        connect(action, &QAction::triggered, this, [this, handler] { Guarded(handler); });
    };
    add(
        u"mDCut"_s, u"Cut"_s, [this] { mDCutCopyClick(true); }, QKeySequence::Cut);
    add(
        u"mDCopy"_s, u"Copy"_s, [this] { mDCutCopyClick(false); }, QKeySequence::Copy);
    add(u"mDCopyEvent"_s, u"Copy Event"_s, [this] { mDCopyEventClick(); });
    add(
        u"mDPaste"_s, u"Paste"_s, [this] { mDPasteClick(); }, QKeySequence::Paste);
    pmDiary->addSeparator();
    add(u"mDRepeatWeekly"_s, u"Repeat Weekly"_s, [this] { mDRepeatWeeklyClick(); });
    add(u"mDClearAlike"_s, u"Clear Alike"_s, [this] { mDClearAlikeClick(); });
}

TDiaryEvent* TCalendarPage::FocusedEvent()
{
    const int row = CalendarGrid->Row();
    if (row < 1 || CalendarGrid->isHidden())
        return nullptr;
    return Store.EventAtRow(static_cast<uint8_t>(row));
}

void TCalendarPage::CalendarGridSelectCell(int column, int row, int previousColumn, int previousRow)
{
    FTimeEntryFresh = true;
    ++TypingSerial;
    if (LoadingDay) {
        TimeEntryRow = 0;
        BeginTimeEntry(column, row);
        return;
    }
    const bool left
        = previousColumn == dcTime && previousRow >= 1 && (column != dcTime || row != previousRow);
    const TDiaryEvent* event = left ? Model->EventShown(previousRow - 1) : nullptr;
    if (event && !IsClockTime(event->Time)) {
        // Typed here: refused, the cell keeps it until it is corrected or
        // given up. Found so (a hand-edited file): said, and left alone.
        if (previousRow == TimeEntryRow && event->Time != TimeBeforeEntry) {
            QTimer::singleShot(0, this, [this, previousRow] { RefuseWrongTime(previousRow); });
            return;
        }
        ShowTimeHint(previousRow, TDiaryGridModel::ImpossibleTimeText());
    }
    BeginTimeEntry(column, row);
}

void TCalendarPage::BeginTimeEntry(int column, int row)
{
    if (column != dcTime || row < 1) {
        TimeEntryRow = 0;
    } else if (row != TimeEntryRow) {
        const TDiaryEvent* event = Model->EventShown(row - 1);
        TimeEntryRow = row;
        TimeBeforeEntry = event ? event->Time : 0;
    }
}

void TCalendarPage::RefuseWrongTime(int row)
{
    const TDiaryEvent* event = Model->EventShown(row - 1);
    if (row != TimeEntryRow || !event || IsClockTime(event->Time) || CalendarGrid->isHidden())
        return;
    CalendarGrid->FocusCell(dcTime, row);
    ShowTimeHint(row, FromCore(WrongTimeReason(event->Time)));
}

bool TCalendarPage::CancelWrongTime()
{
    TDiaryEvent* event = TimeEntryRow >= 1 && !CalendarGrid->isHidden()
        ? Store.EventAtRow(static_cast<uint8_t>(TimeEntryRow))
        : nullptr;
    if (!event || IsClockTime(event->Time) || event->Time == TimeBeforeEntry)
        return false;
    event->Time = TimeBeforeEntry;
    FTimeEntryFresh = true;
    QToolTip::hideText();
    RepaintGrid();
    return true;
}

void TCalendarPage::ShowTimeHint(int row, const QString& text)
{
    const QRect cell = CalendarGrid->CellRect(dcTime, row);
    QToolTip::showText(
        CalendarGrid->viewport()->mapToGlobal(cell.bottomLeft()), text, CalendarGrid, cell);
}

bool TCalendarPage::CalendarGridKeyPress(const QString& key)
{
    TDiaryEvent* event = nullptr;
    const int column = CalendarGrid->Col();
    // A character beyond ASCII is told by its first byte, which is no digit,
    // no blank and no control: it is text.
    const std::string character = ToCore(key);
    if (character.empty() || !(event = FocusedEvent()))
        return false;
    const TEventType type = event->EventType;
    const char typed = character.front();
    const bool used = EventKeyPress(*event, column, typed, FTimeEntryFresh);
    if (used || event->EventType != type)
        RepaintGrid();
    // A letter is no part of a time ("930pm" would pass for 09:30): say how
    // times are typed instead of dropping it unseen.
    if (!used && column == dcTime
        && (key.front().isLetter() || static_cast<unsigned char>(typed) > 127)) {
        ShowTimeHint(
            CalendarGrid->Row(), u"Type a time as digits: 930 for 09:30, 2130 for 9:30 pm."_s);
        return true;
    }
    // A letter that made a new event an alarm goes on to the editor: the
    // typing's step takes both.
    if (!used)
        return false;
    if (column == dcLocked)
        RecordStep("Lock");
    else if (column == dcEventType)
        RecordStep("Event Type");
    else if ((typed >= '0' && typed <= '9') || typed == BackspaceKey)
        RecordStep("Typing", true);
    else
        RecordStep("Time");
    return used;
}

bool TCalendarPage::CalendarGridKeyDown(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Cut) || event->matches(QKeySequence::Copy)) {
        mDCutCopyClick(event->matches(QKeySequence::Cut));
        return true;
    }
    if (event->matches(QKeySequence::Paste)) {
        mDPasteClick();
        return true;
    }
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers != Qt::NoModifier)
        return false;
    if (event->key() == Qt::Key_Escape && CalendarGrid->Col() == dcTime
        && CalendarGrid->Row() == TimeEntryRow)
        return CancelWrongTime();
    if (event->key() == Qt::Key_Delete) {
        if (TDiaryEvent* focused = FocusedEvent()) {
            ClearEventField(*focused, CalendarGrid->Col());
            RepaintGrid();
            RecordStep("Delete");
        }
        return true;
    }
    // Return opens the description's editor.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && CalendarGrid->Col() == dcDescription && !CalendarGrid->Editing()) {
        CalendarGrid->EditCurrent();
        return true;
    }
    return false;
}

void TCalendarPage::CalendarGridDblClick()
{
    TDiaryEvent* event = FocusedEvent();
    if (!event)
        return;
    const char* step = "Lock";
    switch (CalendarGrid->Col()) {
    case dcLocked:
        event->Locked = event->Locked ? 0 : 1;
        break;
    case dcEventType: {
        const QRect cell = CalendarGrid->CellRect(dcEventType, CalendarGrid->Row());
        pmEventType->popup(CalendarGrid->viewport()->mapToGlobal(cell.bottomLeft()));
        return;
    }
    case dcTime:
        NextHalfHour(event->Time);
        FTimeEntryFresh = true;
        step = "Time";
        break;
    default:
        return;
    }
    RepaintGrid();
    RecordStep(step);
}

void TCalendarPage::CalendarGridMouseDown(
    Qt::MouseButton button, const QPoint& globalPos, int column, int row)
{
    // A click on the cell that already has the focus selects it again: the
    // next digit starts a new time.
    if (button == Qt::LeftButton && row >= 1)
        FTimeEntryFresh = true;
    if (button != Qt::RightButton || row < 1)
        return;
    EndEditing();
    CalendarGrid->setFocus(Qt::MouseFocusReason);
    CalendarGrid->FocusCell(column, row);
    pmDiary->popup(globalPos);
}

void TCalendarPage::mEventTypeClick(int tag)
{
    TDiaryEvent* event = FocusedEvent();
    if (!event || tag < etBlank || tag > etCrossed)
        return;
    event->EventType = static_cast<TEventType>(tag);
    RepaintGrid();
    RecordStep("Event Type");
}

void TCalendarPage::mDCutCopyClick(bool cut)
{
    EndEditing();
    TDiaryEvent* event = FocusedEvent();
    if (!event)
        return;
    const int column = CalendarGrid->Col();
    Clipboard.SetText(FromCore(FieldClipText(*event, column)));
    if (cut) {
        ClearEventField(*event, column);
        RepaintGrid();
        RecordStep("Cut");
    }
}

void TCalendarPage::mDCopyEventClick()
{
    EndEditing();
    if (const TDiaryEvent* event = FocusedEvent())
        Clipboard.SetText(FromCore(EventRecordText(*event)));
}

void TCalendarPage::mDPasteClick()
{
    EndEditing();
    TDiaryEvent* event = FocusedEvent();
    if (!event)
        return;
    const std::string pasted = ToCore(Clipboard.Text());
    PasteText(*event, CalendarGrid->Col(), pasted);
    RepaintGrid();
    RecordStep(IsEventRecord(pasted) ? "Paste Event" : "Paste");
}

void TCalendarPage::mDRepeatWeeklyClick()
{
    EndEditing();
    const TDiaryEvent* event = FocusedEvent();
    if (!event)
        return;
    const TDateTime chosen = Calendar->Date();
    BulkStep(
        "Repeat Weekly", WindowDays(Store, DateOf(chosen) + 7, 7),
        [&] { return RepeatWeekly(Store, *event, chosen); },
        u"Repeat Weekly added %1 events. Ctrl+Z undoes it."_s);
}

void TCalendarPage::mDClearAlikeClick()
{
    EndEditing();
    const TDiaryEvent* event = FocusedEvent();
    if (!event)
        return;
    const TDateTime chosen = Calendar->Date();
    BulkStep(
        "Clear Alike", WindowDays(Store, chosen, 1),
        [&] { return ClearAlike(Store, *event, chosen); },
        u"Clear Alike deleted %1 events. Ctrl+Z undoes it."_s);
}
