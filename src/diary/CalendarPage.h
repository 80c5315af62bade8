#pragma once

#include "diary/DiaryEdit.h"
#include "diary/DiaryStore.h"

#include <QWidget>
#include <filesystem>
#include <functional>
#include <optional>

class IClipboard;
class IClock;
class IDesktop;
class IDialogues;
class QKeyEvent;
class QMenu;
class QPushButton;
class QSplitter;
class QTableView;
class QToolButton;
class QUndoStack;
class TDiaryGrid;
class TDiaryGridModel;
class TSimpleCalendar;
class TTextViewer;
struct TFontStyles;

// The "Calendar / Diary" page: the month calendar and its buttons above the
// grid of the chosen day's events. The chosen day is the calendar's date; every
// change of it commits the day being left and loads the new one. Edits go
// straight into the diary store; nothing is written to disk here.
//
// The page is the store's view: the main window calls store.SetView(&page)
// before it opens the diary.
//
// Every edit becomes a step on the diary's undo stack, which the main window
// keeps beside the data; keys typed into one cell make one step. The page
// keeps the shown day's events as the last step left them, so whatever a
// handler changed on that day is found by comparing.
class TCalendarPage final : public QWidget, public IDiaryView
{
    Q_OBJECT

public:
    // `showOverdueText` puts a text in status panel 2. "DiaryOld.txt" is looked
    // for in `dataFolder`. `history` outlives the page.
    TCalendarPage(TDiaryStore& store, QUndoStack& history, IClock& clock, IDialogues& dialogues,
        IClipboard& clipboard, IDesktop& desktop, std::filesystem::path dataFolder,
        std::function<void(const QString&)> showOverdueText, QWidget* parent = nullptr);
    // Never touches the store, so the two may go in either order; a store
    // that outlives the page is to be given another view (or none) first.
    ~TCalendarPage() override;

    // The grid, for the settings' font and row height.
    QTableView* Grid() const;
    TSimpleCalendar* CalendarControl() const { return Calendar; }
    // The calendar's body colour.
    void SetCalendarColour(const QColor& colour);
    // The "Today" button's picture: a page showing the day of the month, or an
    // empty page without one (when the date is not shown in the tray).
    void SetTodayGlyph(std::optional<int> day);
    // Closes the grid's cell editor, keeping what was typed (before a save,
    // before hiding to the tray).
    void EndEditing();
    // The focused grid cell; row 0 is the header, rows 1 to 23 the events.
    int GridRow() const;
    int GridColumn() const;
    bool TimeEntryFresh() const { return FTimeEntryFresh; }

    void TodayButtonClick();
    void PrevMonthButtonClick();
    void NextMonthButtonClick();
    void ScheduleButtonClick();
    void DiaryFindButtonClick();
    // Shows `day` as the calendar's change does, selects it once more and
    // focuses the cell at (`column`, `row`) of its grid. A row past the grid's
    // last event row stops at that last row.
    void SelectDayCell(TDateTime day, int row, int column);
    // "Show Purged Events": "DiaryOld.txt" in the desktop's viewer, or in a
    // window of our own when the desktop has none; a word when it is not there.
    void MenuDiaryOldClick();
    // Ctrl+Z and Ctrl+Shift+Z (or Ctrl+Y): the calendar goes to the step's day
    // and its row is selected. A step across the purge, or over days changed
    // since by something else, is refused with a word why.
    void UndoClick();
    void RedoClick();
    // The purge moved old events out: no step before it can be undone.
    void MarkPurge();
    // A step over many days, one step of the history whoever makes it (the
    // bulk edits, an import): `change` edits the days of `days` and says how
    // many events it changed; the status bar tells the user with `message`.
    void BulkStep(const char* name, const std::vector<uint16_t>& days,
        const std::function<int()>& change, const QString& message);
    // How the calendar draws a day's number: underlined today, italic outside
    // the diary window, bold when the day's stored list holds an event.
    void CalendarDayFontStyle(
        uint16_t year, uint16_t month, uint16_t day, TFontStyles& styles) const;

    // Both months and about twelve event rows, for the window's first size.
    QSize sizeHint() const override;

    // IDiaryView
    TDateTime CalendarDate() const override;
    void SetCalendarDate(TDateTime date) override;
    void RepaintGrid() override;
    void SetGridRow(int row) override;
    void SetGridVisible(bool visible) override;
    void ShowOverdueText(const std::string& text) override;

Q_SIGNALS:
    void ScheduleRequested();
    void FindRequested();
    void HelpRequested(int topic);
    // A word for the status bar: what a step across many days did.
    void StatusMessage(const QString& text);

protected:
    void changeEvent(QEvent* event) override;

private:
    void BuildPanel();
    // The buttons beside the calendar, sized to their captions.
    void FitButtonColumn();
    // The calendar's panel, as high as one month needs.
    void FitPanel();
    void BuildGrid();
    void BuildMenus();
    void Guarded(const std::function<void()>& handler);
    // The focused event, created when its row lies past the list's end; null
    // on the header row or while the grid is hidden.
    TDiaryEvent* FocusedEvent();
    void RecountOverdue();
    // The Time cell being typed into: its row and the time it had before.
    void BeginTimeEntry(int column, int row);
    // Takes the focus back to a Time cell left with what is no time of day.
    void RefuseWrongTime(int row);
    // Escape, or the day left: the time typed is no time of day, so the one
    // from before comes back. False when there was nothing to give back.
    bool CancelWrongTime();
    void ShowTimeHint(int row, const QString& text);

    void BuildUndoActions();
    void UpdateUndoActions();
    // The shown day's events as they are now become the ground of the next step.
    void ResetBaseline();
    // Makes a step of whatever changed on the shown day since the last one.
    // Typing steps in one cell merge into one.
    void RecordStep(const char* name, bool typing = false);
    void PushStep(TDiaryEdit edit, int mergeKey);
    void ReplayStep(const TDiaryEdit& edit, bool revert);
    void CalendarChange();
    void CalendarGridSelectCell(int column, int row, int previousColumn, int previousRow);
    bool CalendarGridKeyPress(const QString& key);
    bool CalendarGridKeyDown(QKeyEvent* event);
    void CalendarGridDblClick();
    void CalendarGridMouseDown(
        Qt::MouseButton button, const QPoint& globalPos, int column, int row);
    void mEventTypeClick(int tag);
    void mDCutCopyClick(bool cut);
    void mDCopyEventClick();
    void mDPasteClick();
    void mDRepeatWeeklyClick();
    void mDClearAlikeClick();

    TDiaryStore& Store;
    QUndoStack& History;
    IClock& Clock;
    IDialogues& Dialogues;
    IClipboard& Clipboard;
    IDesktop& Desktop;
    const std::filesystem::path DataFolder;
    const std::function<void(const QString&)> ShowOverdue;

    QSplitter* CalendarSplitter = nullptr;
    TTextViewer* PurgedEvents = nullptr;
    QWidget* CalendarPanel = nullptr;
    QWidget* ButtonColumn = nullptr;
    TSimpleCalendar* Calendar = nullptr;
    QPushButton* TodayButton = nullptr;
    QToolButton* PrevMonthButton = nullptr;
    QToolButton* NextMonthButton = nullptr;
    QPushButton* ScheduleButton = nullptr;
    QPushButton* DiaryFindButton = nullptr;
    QToolButton* CalendarHelpButton = nullptr;
    TDiaryGridModel* Model = nullptr;
    TDiaryGrid* CalendarGrid = nullptr;
    QMenu* pmEventType = nullptr;
    QMenu* pmDiary = nullptr;
    QAction* mDUndo = nullptr;
    QAction* mDRedo = nullptr;
    bool FTimeEntryFresh = false;
    int TimeEntryRow = 0;
    uint16_t TimeBeforeEntry = 0;
    // Set while a day is being loaded: the grid's row moves then, not the user.
    bool LoadingDay = false;
    // The shown day's events as the last step (or the day's loading) left them.
    TDayValues Baseline;
    uint16_t BaselineDay = NoDay;
    // Typing steps merge while this stays the same; any other step, a cell
    // change and an undo move it on.
    int TypingSerial = 1;
    bool Replaying = false;
};
