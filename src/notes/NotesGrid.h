#pragma once

#include "notes/NotesTable.h"

#include <QStringList>
#include <QTableView>
#include <functional>

class TNotesTableModel;

// The notes table view. The header row shows the first line of the text and
// the row header stands for the fixed column 0. Rows and columns are counted
// as the table counts them: row 0 the header, column 1 the first data column.
//
// A cell is edited only after F2, Enter or a double click; selecting a cell
// ends any edit, and selecting a cell of the last row adds a row below it.
// Dragging a column or row header moves the cells with it.
class TNotesGrid final : public QTableView
{
    Q_OBJECT

public:
    explicit TNotesGrid(TNotesTableModel& model, QWidget* parent = nullptr);

    int Row() const;
    int Col() const;
    void FocusCell(int col, int row);
    // The selected cells, or the current cell when nothing is selected.
    TCellRange Selection() const;
    bool Editing() const;
    // Opens the current cell's editor.
    void StartEditing();
    // Closes the cell editor, keeping what was typed.
    void EndEditing();

    // Typing never jumps to a row by its text.
    void keyboardSearch(const QString& search) override;

    // The owner's handlers.
    std::function<void()> OnClear;
    std::function<void(const QPoint& globalPos)> OnContextMenu;
    // A cell editor turned down an edit holding these characters.
    std::function<void(const QStringList&)> OnRefused;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void RowMoved(int logical, int oldVisual, int newVisual);
    void ColumnMoved(int logical, int oldVisual, int newVisual);

    TNotesTableModel& Model;
};
