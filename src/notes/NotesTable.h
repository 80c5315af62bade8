#pragma once

#include "notes/NoteLines.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A category's text as a table: each line is a row and TABs separate the
// columns. Column 0 is the fixed left column and always empty; columns 1 to 10
// hold the fields. Row 0 is the header row (the first line of the text), rows 1
// and below the data rows. A table built from a text has at least three rows.
class TNotesTable
{
public:
    static constexpr int ColCount = 11;
    static constexpr int LastCol = 10;
    static constexpr int MinRows = 3;
    using TRow = std::array<std::string, LastCol>;

    TNotesTable()
        : Rows(MinRows, NoCells)
    {
    }
    explicit TNotesTable(int rowCount)
        : Rows(static_cast<size_t>(rowCount), NoCells)
    {
    }

    int RowCount() const { return static_cast<int>(Rows.size()); }
    // Column 0 and cells outside the table read as empty.
    const std::string& Cell(int col, int row) const;
    // Column 0 and cells outside the table are not kept.
    void SetCell(int col, int row, std::string text);
    bool RowEmpty(int row) const;

    // An empty row at the end; `count` of them.
    void AddRow();
    void AddRows(int count);
    // Every row from `row` down moves one row down; `row` becomes empty.
    void InsertRow(int row);
    // The rows below `row` move one row up and the last row goes.
    void DeleteRow(int row);
    // Moves a row, or a data column (1 to 10) with its cells in every row, so
    // that it ends up at `to`; the others close up around it.
    void MoveRow(int from, int to);
    void MoveColumn(int from, int to);
    // Reorders the data rows: row 1 + i takes the row that stood at 1 + order[i].
    void Reorder(const std::vector<int>& order);
    // Room for this many filled rows without moving the cells again.
    void Reserve(int rows) { Cells.reserve(static_cast<size_t>(rows)); }

private:
    static constexpr int32_t NoCells = -1;
    // The cells of the rows, in no particular order, and for each row the
    // index of its cells there (NoCells for a row never filled). Inserting,
    // deleting, moving and sorting rows move these indices only, however
    // long the table; the cells of a deleted row are emptied and left.
    std::vector<TRow> Cells;
    std::vector<int32_t> Rows;
};

// A cell range, columns and rows inclusive.
struct TCellRange {
    int Left = 1;
    int Top = 1;
    int Right = 1;
    int Bottom = 1;
};

// The memo's lines as a table: at least three rows, one row per line; a line's
// fields go into columns 1 to 9 and whatever remains, TABs included, into
// column 10. A TAB at the end of a line adds no cell.
TNotesTable MemoToGrid(const TNoteLines& lines);

// The 0-based line that holds the 0-based caret offset of the text joined with
// CR LF after every line; an offset inside or after the last line end counts as
// the last line.
int CaretLine(const TNoteLines& lines, int caret);
// The table's current row for the line of the caret: never the header row,
// never beyond the last row.
int CurrentRowForLine(int line, int rowCount);

// The table as the memo's lines: fields joined with a TAB per column step,
// empty cells after a row's last filled one dropped, blank rows between filled
// ones kept as empty lines and blank rows at the end dropped.
struct TMemoText {
    TNoteLines Lines;
    // Where the current row's line starts (0-based, lines joined with CR LF).
    int Caret = 0;
    // 1-based position just after the start of the row below the current one;
    // 0 when the table has no row below it.
    int FindStart = 0;
};
TMemoText GridToMemo(const TNotesTable& table, int currentRow);

// The next case of the cycle lower -> Capitalised -> UPPER -> lower. Only A-Z
// and a-z are letters; every other character, digits and apostrophes
// included, starts a new word.
std::string ChangeCase(std::string_view text);

// The run of characters above code 32 around the caret (0-based offsets);
// empty when the caret lies between two blanks.
struct TTextRange {
    size_t Start = 0;
    size_t Length = 0;
};
TTextRange SelectWordAtCaret(std::string_view text, size_t caret);

// Sorts the data rows by column `col`. The key `current` (the current cell)
// chooses the mode: numeric when it is a plain decimal integer, alphabetic
// otherwise (upper-cased, by character code). Equal keys keep their order and
// empty keys gather at the bottom; the header row stays. Gives the order the
// rows took (as Reorder takes it), empty when there was nothing to sort.
std::vector<int> SortRows(TNotesTable& table, int col, std::string_view current);

// Bits of a ClearCutCopy mode.
enum TClearCutCopy { ccClear = 1, ccCopy = 2 };
// The range's text, cells joined by TAB and rows by CR LF, without a final line
// end; with ccClear in the mode the cells are emptied.
std::string ClearCutCopy(TNotesTable& table, const TCellRange& range, int mode);

// Writes clipboard text into the table from (col, row): CR is ignored, LF goes
// to the next row at the starting column (adding rows at the end as needed),
// TAB to the next column, any other control character ends a field in place.
// A text not ending in LF ends as if it did. Fields beyond column 10 are
// dropped. Returns the cells written (Right never beyond 10).
TCellRange PasteText(TNotesTable& table, int col, int row, std::string_view text);
// The last row PasteText steps to from `row` (one past the last row written,
// as a walk always ends with a row step), so a caller can add the rows first.
int PasteLastRow(int row, std::string_view text);
