#pragma once

#include "notes/NotesTable.h"

#include <QAbstractTableModel>
#include <functional>

class QUndoStack;
class TTableEdit;

// The notes table as the grid shows it: the header row as the column titles,
// the data rows as model rows (model row r is table row r + 1) and the data
// columns 1 to 10 as model columns 0 to 9. Column 0 of the table is the grid's
// row header and holds nothing. Every change goes through the core table and
// is announced with the model's own signals; only the rows in view are read.
//
// With a history, every change the user makes is a step on it (adding an
// empty row at the end is none); a new table starts the history afresh.
class TNotesTableModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit TNotesTableModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    const TNotesTable& Table() const { return Cells; }
    void SetTable(TNotesTable table);
    // The history outlives the model's use of it (null: none).
    void SetHistory(QUndoStack* history) { History = history; }

    // Rows and columns as the table counts them (row 0 the header, column 1
    // the first data column).
    void AddRow();
    void AddRows(int count);
    void InsertRow(int row);
    void DeleteRow(int row);
    void MoveRow(int from, int to);
    void MoveColumn(int from, int to);
    void Sort(int col, int currentRow);
    // `step` names the change on the history.
    void SetCell(int col, int row, const std::string& text, const char* step = "Typing");
    std::string ClearCutCopy(const TCellRange& range, int mode, const char* step = nullptr);
    void Paste(int col, int row, std::string_view text);
    // Reverts or applies a step of the history, then shows its cell.
    void Replay(const TTableEdit& edit, bool revert);

Q_SIGNALS:
    // A step was undone or done again: the grid shows the cell.
    void StepReplayed(int col, int row);

private:
    void CellsChanged(const TCellRange& range);
    void Push(TTableEdit edit);

    TNotesTable Cells;
    QUndoStack* History = nullptr;
};
