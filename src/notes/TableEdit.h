#pragma once

#include "notes/NotesTable.h"

#include <string>
#include <vector>

// One step of a notes table's undo history: cells that changed (typing,
// paste, cut, change case), a row inserted or deleted, the rows sorted, a row
// or column moved. Reverting and applying again are exact, cells and row
// count alike.
class TTableEdit
{
public:
    // The cells of `range` as they are now; Finish takes them as they became.
    // Rows the change adds at the end go again when it is reverted.
    static TTableEdit Cells(std::string name, const TNotesTable& table, const TCellRange& range);
    static TTableEdit RowInserted(int row);
    static TTableEdit RowDeleted(const TNotesTable& table, int row);
    // `order` as SortRows gives it: data row 1 + i took the one at 1 + order[i].
    static TTableEdit Sorted(std::vector<int> order);
    static TTableEdit RowMoved(int from, int to);
    static TTableEdit ColumnMoved(int from, int to);

    void Finish(const TNotesTable& table);
    // A step that changed nothing.
    bool Empty() const;
    // What the menus say after "Undo ".
    const std::string& Name() const { return FName; }
    // The cell to show once the step is undone or done again.
    int Col() const { return Range.Left; }
    int Row() const { return Range.Top; }

    void Apply(TNotesTable& table) const;
    void Revert(TNotesTable& table) const;

private:
    enum TKind { tkCells, tkRowInserted, tkRowDeleted, tkSorted, tkRowMoved, tkColumnMoved };
    TTableEdit(TKind kind, std::string name, TCellRange range)
        : Kind(kind)
        , FName(std::move(name))
        , Range(range)
    {
    }
    std::vector<std::string> Read(const TNotesTable& table) const;
    void Write(TNotesTable& table, const std::vector<std::string>& cells, int rows) const;

    TKind Kind;
    std::string FName;
    // The cells, or the row (Top) and column (Left) a row or column step is about.
    TCellRange Range;
    std::vector<std::string> Before;
    std::vector<std::string> After;
    int RowsBefore = 0;
    int RowsAfter = 0;
    int From = 0;
    int To = 0;
    std::vector<int> Order;
};
