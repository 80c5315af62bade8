#include "notes/NotesTableModel.h"

#include "platform/AnsiText.h"

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
    return FromAnsi(Cells.Cell(index.column() + 1, index.row() + 1));
}

bool TNotesTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || role != Qt::EditRole)
        return false;
    const QString text = value.toString();
    if (!UnstorableCharacters(text).isEmpty())
        return false;
    SetCell(index.column() + 1, index.row() + 1, ToAnsi(text));
    return true;
}

QVariant TNotesTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0
        || section >= TNotesTable::LastCol)
        return {};
    return FromAnsi(Cells.Cell(section + 1, 0));
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
}

void TNotesTableModel::AddRow()
{
    const int row = rowCount();
    beginInsertRows({}, row, row);
    Cells.AddRow();
    endInsertRows();
}

void TNotesTableModel::InsertRow(int row)
{
    if (row < 1 || row >= Cells.RowCount())
        return;
    beginInsertRows({}, row - 1, row - 1);
    Cells.InsertRow(row);
    endInsertRows();
}

void TNotesTableModel::DeleteRow(int row)
{
    if (row < 1 || row >= Cells.RowCount())
        return;
    beginRemoveRows({}, row - 1, row - 1);
    Cells.DeleteRow(row);
    endRemoveRows();
}

void TNotesTableModel::MoveRow(int from, int to)
{
    if (from < 1 || to < 1 || from >= Cells.RowCount() || to >= Cells.RowCount() || from == to)
        return;
    beginMoveRows({}, from - 1, from - 1, {}, to > from ? to : to - 1);
    Cells.MoveRow(from, to);
    endMoveRows();
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
}

void TNotesTableModel::Sort(int col, int currentRow)
{
    // The rows change places under the cells the grid has in view and in its
    // selection, which stay where they are.
    Q_EMIT layoutAboutToBeChanged();
    SortRows(Cells, col, Cells.Cell(col, currentRow));
    Q_EMIT layoutChanged();
}

void TNotesTableModel::SetCell(int col, int row, const std::string& text)
{
    Cells.SetCell(col, row, text);
    CellsChanged({ col, row, col, row });
}

std::string TNotesTableModel::ClearCutCopy(const TCellRange& range, int mode)
{
    std::string text = ::ClearCutCopy(Cells, range, mode);
    if (mode & ccClear)
        CellsChanged(range);
    return text;
}

void TNotesTableModel::Paste(int col, int row, std::string_view text)
{
    while (Cells.RowCount() <= PasteLastRow(row, text))
        AddRow();
    CellsChanged(PasteText(Cells, col, row, text));
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
