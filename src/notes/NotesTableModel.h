#pragma once

#include "notes/NotesTable.h"

#include <QAbstractTableModel>

// The notes table as the grid shows it: the header row as the column titles,
// the data rows as model rows (model row r is table row r + 1) and the data
// columns 1 to 10 as model columns 0 to 9. Column 0 of the table is the grid's
// row header and holds nothing. Every change goes through the core table and
// is announced with the model's own signals; only the rows in view are read.
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

    // Rows and columns as the table counts them (row 0 the header, column 1
    // the first data column).
    void AddRow();
    void InsertRow(int row);
    void DeleteRow(int row);
    void MoveRow(int from, int to);
    void MoveColumn(int from, int to);
    void Sort(int col, int currentRow);
    void SetCell(int col, int row, const std::string& text);
    std::string ClearCutCopy(const TCellRange& range, int mode);
    void Paste(int col, int row, std::string_view text);

private:
    void CellsChanged(const TCellRange& range);

    TNotesTable Cells;
};
