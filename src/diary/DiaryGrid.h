#pragma once

#include <QTableView>
#include <functional>

class QKeyEvent;
class TDiaryGridModel;

// The diary grid: the day's events under a header row that stays in place,
// drawn by hand (pictures at a cell's left + 1, top + 1, texts at left + 2,
// top + 2, on the grid's font). Rows are counted as the page counts them:
// row 0 is the header, rows 1 to 23 the events.
//
// Typed keys reach the owner before the grid acts on them: OnKeyDown sees the
// key first, OnKeyPress its character (one or a surrogate pair); either
// returns true to use it up.
// Characters typed into the cell editor reach OnKeyPress as well, before the
// editor takes them. The editor writes every change straight into the model.
class TDiaryGrid final : public QTableView
{
    Q_OBJECT

public:
    explicit TDiaryGrid(TDiaryGridModel& model, QWidget* parent = nullptr);

    std::function<bool(QKeyEvent*)> OnKeyDown;
    std::function<bool(const QString&)> OnKeyPress;

    // The focused cell; row 0 when no event row is focused.
    int Row() const;
    int Col() const;
    // Focuses a cell of an event row, column first, then row.
    void FocusCell(int column, int row);
    // Where a cell lies on the grid's viewport.
    QRect CellRect(int column, int row) const;
    bool Editing() const;
    // Opens the focused description's editor with the caret after its text.
    void EditCurrent();
    // Closes the cell editor, keeping what was typed.
    void EndEditing();

    // Typing never jumps to a row by its text.
    void keyboardSearch(const QString& search) override;

Q_SIGNALS:
    void SelectCell(int column, int row, int previousColumn, int previousRow);
    void DblClick();
    // A press with the mouse on an event row, before the grid acts on it.
    void MouseDown(Qt::MouseButton button, const QPoint& globalPos, int column, int row);
    // The Menu key or Shift+F10 on an event row: its menu belongs below the current cell.
    void MenuKeyPressed(const QPoint& globalPos);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // At least the designed width, and wide enough for a bold "00:00".
    void FitTimeColumn();
    friend class TDiaryCellDelegate;
    void EditorKeyPress(QKeyEvent* event);
};
