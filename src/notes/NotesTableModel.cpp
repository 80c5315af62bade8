#include "notes/NotesTableModel.h"

#include "notes/TableEdit.h"
#include "platform/AnsiText.h"

#include <QUndoStack>
#include <utility>

namespace
{

// A table step on the undo stack, pushed once made: its first redo does nothing.
class TTableStep final : public QUndoCommand
{
public:
    TTableStep(TTableEdit edit, TNotesTableModel& model)
        : QUndoCommand(FromCore(edit.Name()))
        , Edit(std::move(edit))
        , Model(model)
    {
    }
    void undo() override { Model.Replay(Edit, true); }
    void redo() override
    {
        if (std::exchange(Pushed, true))
            Model.Replay(Edit, false);
    }

private:
    TTableEdit Edit;
    TNotesTableModel& Model;
    bool Pushed = false;
};

} // namespace

TNotesTableModel::TNotesTableModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

int TNotesTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : std::max(Cells.RowCount() - 1, 0);
}

int TNotesTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : TNotesTable::LastCol;
}

QVariant TNotesTableModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)
        || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return FromCore(Cells.Cell(index.column() + 1, index.row() + 1));
}

bool TNotesTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || role != Qt::EditRole)
        return false;
    SetCell(index.column() + 1, index.row() + 1, ToCore(value.toString()));
    return true;
}

QVariant TNotesTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0
        || section >= TNotesTable::LastCol)
        return {};
    return FromCore(Cells.Cell(section + 1, 0));
}

Qt::ItemFlags TNotesTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

void TNotesTableModel::SetTable(TNotesTable table)
{
    beginResetModel();
    Cells = std::move(table);
    endResetModel();
    // The steps were made on another table.
    if (History)
        History->clear();
}

void TNotesTableModel::Push(TTableEdit edit)
{
    if (History && !edit.Empty())
        History->push(new TTableStep(std::move(edit), *this));
}

void TNotesTableModel::Replay(const TTableEdit& edit, bool revert)
{
    beginResetModel();
    if (revert)
        edit.Revert(Cells);
    else
        edit.Apply(Cells);
    endResetModel();
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, TNotesTable::LastCol - 1);
    Q_EMIT StepReplayed(edit.Col(), std::max(edit.Row(), 1));
}

void TNotesTableModel::AddRow()
{
    const int row = rowCount();
    beginInsertRows({}, row, row);
    Cells.AddRow();
    endInsertRows();
}

void TNotesTableModel::AddRows(int count)
{
    if (count <= 0)
        return;
    const int row = rowCount();
    beginInsertRows({}, row, row + count - 1);
    Cells.AddRows(count);
    endInsertRows();
}

void TNotesTableModel::InsertRow(int row)
{
    if (row < 1 || row >= Cells.RowCount())
        return;
    beginInsertRows({}, row - 1, row - 1);
    Cells.InsertRow(row);
    endInsertRows();
    Push(TTableEdit::RowInserted(row));
}

void TNotesTableModel::DeleteRow(int row)
{
    if (row < 1 || row >= Cells.RowCount())
        return;
    TTableEdit edit = TTableEdit::RowDeleted(Cells, row);
    beginRemoveRows({}, row - 1, row - 1);
    Cells.DeleteRow(row);
    endRemoveRows();
    Push(std::move(edit));
}

void TNotesTableModel::MoveRow(int from, int to)
{
    if (from < 1 || to < 1 || from >= Cells.RowCount() || to >= Cells.RowCount() || from == to)
        return;
    beginMoveRows({}, from - 1, from - 1, {}, to > from ? to : to - 1);
    Cells.MoveRow(from, to);
    endMoveRows();
    Push(TTableEdit::RowMoved(from, to));
}

void TNotesTableModel::MoveColumn(int from, int to)
{
    if (from < 1 || to < 1 || from > TNotesTable::LastCol || to > TNotesTable::LastCol
        || from == to)
        return;
    beginMoveColumns({}, from - 1, from - 1, {}, to > from ? to : to - 1);
    Cells.MoveColumn(from, to);
    endMoveColumns();
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, TNotesTable::LastCol - 1);
    Push(TTableEdit::ColumnMoved(from, to));
}

void TNotesTableModel::Sort(int col, int currentRow)
{
    // The rows change places under the cells the grid has in view and in its
    // selection, which stay where they are.
    Q_EMIT layoutAboutToBeChanged();
    std::vector<int> order = SortRows(Cells, col, Cells.Cell(col, currentRow));
    Q_EMIT layoutChanged();
    Push(TTableEdit::Sorted(std::move(order)));
}

void TNotesTableModel::SetCell(int col, int row, const std::string& text, const char* step)
{
    TTableEdit edit = TTableEdit::Cells(step, Cells, { col, row, col, row });
    Cells.SetCell(col, row, text);
    CellsChanged({ col, row, col, row });
    edit.Finish(Cells);
    Push(std::move(edit));
}

std::string TNotesTableModel::ClearCutCopy(const TCellRange& range, int mode, const char* step)
{
    if (!(mode & ccClear))
        return ::ClearCutCopy(Cells, range, mode);
    TTableEdit edit = TTableEdit::Cells(step ? step
            : (mode & ccCopy)                ? "Cut"
                                             : "Clear",
        Cells, range);
    std::string text = ::ClearCutCopy(Cells, range, mode);
    CellsChanged(range);
    edit.Finish(Cells);
    Push(std::move(edit));
    return text;
}

void TNotesTableModel::Paste(int col, int row, std::string_view text)
{
    const int last = PasteLastRow(row, text);
    TTableEdit edit = TTableEdit::Cells("Paste", Cells, { col, row, TNotesTable::LastCol, last });
    // The table grows once: a view does work for every insertion it is told
    // of, so rows added one by one would cost the square of their number.
    AddRows(last + 1 - Cells.RowCount());
    CellsChanged(PasteText(Cells, col, row, text));
    edit.Finish(Cells);
    Push(std::move(edit));
}

void TNotesTableModel::CellsChanged(const TCellRange& range)
{
    if (range.Right < range.Left || range.Bottom < range.Top)
        return;
    if (range.Top == 0)
        Q_EMIT headerDataChanged(Qt::Horizontal, range.Left - 1, range.Right - 1);
    const int top = std::max(range.Top, 1);
    if (top <= range.Bottom)
        Q_EMIT dataChanged(
            index(top - 1, range.Left - 1), index(range.Bottom - 1, range.Right - 1));
}
