#include "notes/TableEdit.h"

#include <algorithm>

TTableEdit TTableEdit::Cells(std::string name, const TNotesTable& table, const TCellRange& range)
{
    TTableEdit edit(tkCells, std::move(name), range);
    edit.Range.Left = std::clamp(range.Left, 1, TNotesTable::LastCol);
    edit.Range.Right = std::clamp(range.Right, edit.Range.Left, TNotesTable::LastCol);
    edit.Range.Top = std::max(range.Top, 0);
    edit.Range.Bottom = std::max(range.Bottom, edit.Range.Top);
    edit.Before = edit.Read(table);
    edit.RowsBefore = table.RowCount();
    edit.After = edit.Before;
    edit.RowsAfter = edit.RowsBefore;
    return edit;
}

TTableEdit TTableEdit::RowInserted(int row)
{
    return TTableEdit(tkRowInserted, "Insert Row", { 1, row, 1, row });
}

TTableEdit TTableEdit::RowDeleted(const TNotesTable& table, int row)
{
    TTableEdit edit(tkRowDeleted, "Delete Row", { 1, row, TNotesTable::LastCol, row });
    edit.Before = edit.Read(table);
    return edit;
}

TTableEdit TTableEdit::Sorted(std::vector<int> order)
{
    TTableEdit edit(tkSorted, "Sort", { 1, 1, 1, 1 });
    edit.Order = std::move(order);
    return edit;
}

TTableEdit TTableEdit::RowMoved(int from, int to)
{
    TTableEdit edit(tkRowMoved, "Move Row", { 1, to, 1, to });
    edit.From = from;
    edit.To = to;
    return edit;
}

TTableEdit TTableEdit::ColumnMoved(int from, int to)
{
    TTableEdit edit(tkColumnMoved, "Move Column", { to, 1, to, 1 });
    edit.From = from;
    edit.To = to;
    return edit;
}

std::vector<std::string> TTableEdit::Read(const TNotesTable& table) const
{
    std::vector<std::string> cells;
    cells.reserve(
        static_cast<size_t>((Range.Right - Range.Left + 1) * (Range.Bottom - Range.Top + 1)));
    for (int row = Range.Top; row <= Range.Bottom; ++row)
        for (int col = Range.Left; col <= Range.Right; ++col)
            cells.push_back(table.Cell(col, row));
    return cells;
}

void TTableEdit::Write(TNotesTable& table, const std::vector<std::string>& cells, int rows) const
{
    while (table.RowCount() < rows)
        table.AddRow();
    auto cell = cells.begin();
    for (int row = Range.Top; row <= Range.Bottom; ++row)
        for (int col = Range.Left; col <= Range.Right; ++col)
            table.SetCell(col, row, *cell++);
    // Rows the change added go again, once they are empty.
    while (table.RowCount() > rows && table.RowEmpty(table.RowCount() - 1))
        table.DeleteRow(table.RowCount() - 1);
}

void TTableEdit::Finish(const TNotesTable& table)
{
    if (Kind != tkCells)
        return;
    After = Read(table);
    RowsAfter = table.RowCount();
}

bool TTableEdit::Empty() const
{
    switch (Kind) {
    case tkCells:
        return Before == After && RowsBefore == RowsAfter;
    case tkSorted:
        for (size_t i = 0; i < Order.size(); ++i)
            if (Order[i] != static_cast<int>(i))
                return false;
        return true;
    case tkRowMoved:
    case tkColumnMoved:
        return From == To;
    default:
        return false;
    }
}

void TTableEdit::Apply(TNotesTable& table) const
{
    switch (Kind) {
    case tkCells:
        Write(table, After, RowsAfter);
        break;
    case tkRowInserted:
        table.InsertRow(Range.Top);
        break;
    case tkRowDeleted:
        table.DeleteRow(Range.Top);
        break;
    case tkSorted:
        table.Reorder(Order);
        break;
    case tkRowMoved:
        table.MoveRow(From, To);
        break;
    case tkColumnMoved:
        table.MoveColumn(From, To);
        break;
    }
}

void TTableEdit::Revert(TNotesTable& table) const
{
    switch (Kind) {
    case tkCells:
        Write(table, Before, RowsBefore);
        break;
    case tkRowInserted:
        table.DeleteRow(Range.Top);
        break;
    case tkRowDeleted:
        table.InsertRow(Range.Top);
        Write(table, Before, table.RowCount());
        break;
    case tkSorted: {
        std::vector<int> back(Order.size());
        for (size_t i = 0; i < Order.size(); ++i)
            back[static_cast<size_t>(Order[i])] = static_cast<int>(i);
        table.Reorder(back);
        break;
    }
    case tkRowMoved:
        table.MoveRow(To, From);
        break;
    case tkColumnMoved:
        table.MoveColumn(To, From);
        break;
    }
}
