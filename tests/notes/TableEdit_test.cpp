#include "notes/NotesTable.h"
#include "notes/TableEdit.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{

// The table as its text, row by row: what a step must bring back exactly.
std::vector<std::string> Lines(const TNotesTable& table)
{
    std::vector<std::string> lines;
    for (int row = 0; row < table.RowCount(); ++row) {
        std::string line;
        for (int col = 1; col <= TNotesTable::LastCol; ++col)
            line += table.Cell(col, row) + '|';
        lines.push_back(line);
    }
    return lines;
}

struct TStepCase {
    const char* Name;
    // Makes the step and the change it records.
    std::function<TTableEdit(TNotesTable&)> Change;
};

const TStepCase StepCases[] = {
    { "typing in a cell",
        [](TNotesTable& t) {
            TTableEdit edit = TTableEdit::Cells("Typing", t, { 2, 3, 2, 3 });
            t.SetCell(2, 3, "\xC6sop -12,5 \xE9t\xE9");
            edit.Finish(t);
            return edit;
        } },
    { "a paste that adds rows",
        [](TNotesTable& t) {
            const std::string text = "x\ty\r\n  \t-7\r\nZ\r\n";
            TTableEdit edit = TTableEdit::Cells(
                "Paste", t, { 3, 4, TNotesTable::LastCol, PasteLastRow(4, text) });
            while (t.RowCount() <= PasteLastRow(4, text))
                t.AddRow();
            PasteText(t, 3, 4, text);
            edit.Finish(t);
            return edit;
        } },
    { "cut and change case",
        [](TNotesTable& t) {
            TTableEdit edit = TTableEdit::Cells("Cut", t, { 1, 1, 2, 2 });
            ClearCutCopy(t, { 1, 1, 2, 1 }, ccClear | ccCopy);
            t.SetCell(1, 2, ChangeCase(t.Cell(1, 2)));
            edit.Finish(t);
            return edit;
        } },
    { "sorting", [](TNotesTable& t) { return TTableEdit::Sorted(SortRows(t, 1, "b")); } },
    { "numeric sort", [](TNotesTable& t) { return TTableEdit::Sorted(SortRows(t, 2, "10")); } },
    { "inserting a row",
        [](TNotesTable& t) {
            t.InsertRow(2);
            return TTableEdit::RowInserted(2);
        } },
    { "deleting a row",
        [](TNotesTable& t) {
            TTableEdit edit = TTableEdit::RowDeleted(t, 3);
            t.DeleteRow(3);
            return edit;
        } },
    { "moving a row and a column",
        [](TNotesTable& t) {
            t.MoveColumn(1, 3);
            return TTableEdit::ColumnMoved(1, 3);
        } },
};

TNotesTable Fixture()
{
    return MemoToGrid({ "Name\tAge\tTown", "bravo\t10\tOslo", "alpha\t-3\t K\xF6ln ", "",
        "Charlie\t9\t\tfar\tcolumns", "delta\t\t" });
}

} // namespace

TEST(TableEdit, EveryStepRevertsAndAppliesAgain)
{
    for (const TStepCase& step : StepCases) {
        SCOPED_TRACE(step.Name);
        TNotesTable table = Fixture();
        const std::vector<std::string> before = Lines(table);
        const TTableEdit edit = step.Change(table);
        const std::vector<std::string> after = Lines(table);
        ASSERT_NE(before, after);
        EXPECT_FALSE(edit.Empty());
        edit.Revert(table);
        EXPECT_EQ(Lines(table), before);
        edit.Apply(table);
        EXPECT_EQ(Lines(table), after);
        edit.Revert(table);
        edit.Apply(table);
        EXPECT_EQ(Lines(table), after);
    }
}

TEST(TableEdit, StepsThatChangeNothingAreEmpty)
{
    TNotesTable table = Fixture();
    TTableEdit same = TTableEdit::Cells("Typing", table, { 1, 1, 1, 1 });
    table.SetCell(1, 1, "bravo");
    same.Finish(table);
    EXPECT_TRUE(same.Empty());
    TNotesTable sorted = MemoToGrid({ "h", "a", "b", "c" });
    EXPECT_TRUE(TTableEdit::Sorted(SortRows(sorted, 1, "a")).Empty());
    EXPECT_TRUE(TTableEdit::RowMoved(2, 2).Empty());
}
