#include "notes/NotesTable.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace
{

using Lines = std::vector<std::string>;

std::vector<std::string> Column(const TNotesTable& table, int col)
{
    std::vector<std::string> cells;
    for (int row = 0; row < table.RowCount(); ++row)
        cells.push_back(table.Cell(col, row));
    return cells;
}

TNotesTable Grid(const Lines& lines)
{
    return MemoToGrid(lines);
}

TEST(NotesConversions, TextsComeBackFromTheTable)
{
    struct Case {
        Lines text;
        int rows;
        Lines back;
    };
    const std::vector<Case> cases {
        { {}, 3, {} },
        { { "one line" }, 3, { "one line" } },
        { { "Name\tPhone", "Jo\t555 1234", "", "Al\t555 1234" }, 5,
            { "Name\tPhone", "Jo\t555 1234", "", "Al\t555 1234" } },
        { { "a\t" }, 3, { "a" } },
        { { "", "x" }, 3, { "", "x" } },
        { { "x", "\t\t", "y" }, 4, { "x", "", "y" } },
        { { "a", "", "" }, 4, { "a" } },
    };
    for (const Case& c : cases) {
        const TNotesTable table = Grid(c.text);
        EXPECT_EQ(table.RowCount(), c.rows);
        EXPECT_EQ(GridToMemo(table, 1).Lines, c.back) << (c.text.empty() ? "" : c.text[0]);
    }
}

TEST(NotesConversions, FieldsFillColumnsAndTheLastTakesTheRest)
{
    const TNotesTable named = Grid({ "Name\tPhone", "Jo\t555 1234", "", "Al\t555 1234" });
    EXPECT_EQ(Column(named, 1), (Lines { "Name", "Jo", "", "Al", "" }));
    EXPECT_EQ(Column(named, 2), (Lines { "Phone", "555 1234", "", "555 1234", "" }));
    EXPECT_EQ(named.Cell(0, 1), "");

    std::string fourteen;
    for (int i = 1; i <= 14; ++i) {
        if (i > 1)
            fourteen += '\t';
        fourteen += std::to_string(i);
    }
    const TNotesTable wide = Grid({ fourteen });
    EXPECT_EQ(wide.Cell(9, 0), "9");
    EXPECT_EQ(wide.Cell(10, 0), "10\t11\t12\t13\t14");
    EXPECT_EQ(GridToMemo(wide, 1).Lines, Lines { fourteen });
}

TEST(NotesConversions, CaretAndFindStartFollowTheCurrentRow)
{
    const Lines text { "head", "ab", "", "cd" };
    // Offsets: head 0..3 CR LF, ab 6..7 CR LF, empty 10 CR LF, cd 12..
    EXPECT_EQ(CaretLine(text, 0), 0);
    EXPECT_EQ(CaretLine(text, 7), 1);
    EXPECT_EQ(CaretLine(text, 9), 1);
    EXPECT_EQ(CaretLine(text, 12), 3);
    EXPECT_EQ(CaretLine(text, 999), 3);
    EXPECT_EQ(CurrentRowForLine(0, 5), 1);
    EXPECT_EQ(CurrentRowForLine(7, 5), 4);

    const TNotesTable table = Grid(text);
    const TMemoText atAb = GridToMemo(table, 1);
    EXPECT_EQ(atAb.Caret, 6);
    EXPECT_EQ(atAb.FindStart, 11);
    const TMemoText atLast = GridToMemo(table, table.RowCount() - 1);
    EXPECT_EQ(atLast.FindStart, 0);
}

TEST(NotesConversions, RandomTextsRoundTrip)
{
    std::mt19937 random(12345);
    const std::string alphabet = "ab Z9-\x01\x7F\xE9\x80";
    for (int trial = 0; trial < 500; ++trial) {
        Lines text(random() % 8);
        for (std::string& line : text) {
            const int fields = static_cast<int>(random() % 11);
            for (int f = 0; f < fields; ++f) {
                if (f > 0)
                    line += '\t';
                const bool last = f == fields - 1;
                const size_t length = random() % 4 + (last ? 1 : 0);
                for (size_t i = 0; i < length; ++i)
                    line += alphabet[random() % alphabet.size()];
            }
        }
        while (!text.empty() && text.back().empty())
            text.pop_back();
        const TNotesTable table = MemoToGrid(text);
        EXPECT_EQ(GridToMemo(table, 1).Lines, text) << "trial " << trial;
    }
}

TEST(NotesEditing, ChangeCaseCycles)
{
    EXPECT_EQ(ChangeCase("hello world"), "Hello World");
    EXPECT_EQ(ChangeCase("Hello World"), "HELLO WORLD");
    EXPECT_EQ(ChangeCase("HELLO WORLD"), "hello world");
    EXPECT_EQ(ChangeCase("don't"), "Don'T");
    EXPECT_EQ(ChangeCase("a1b \xE9x"), "A1B \xE9X");
    EXPECT_EQ(ChangeCase("12 -- 3"), "12 -- 3");
}

TEST(NotesEditing, SelectWordAtCaret)
{
    struct Case {
        std::string_view text;
        size_t caret, start, length;
    };
    for (const Case& c : std::vector<Case> {
             { "call jo@x.com now", 7, 5, 8 },
             { "call jo@x.com now", 5, 5, 8 },
             { "end word", 8, 4, 4 },
             { "end word", 6, 4, 4 },
             { "a  b", 2, 2, 0 },
             { "tab\there", 4, 4, 4 },
             { "caf\xE9 au", 2, 0, 4 },
             { "caf\xE9 au", 4, 0, 4 },
             { "au caf\xE9", 7, 3, 4 },
             { "", 0, 0, 0 },
         }) {
        const TTextRange range = SelectWordAtCaret(c.text, c.caret);
        EXPECT_EQ(range.Start, c.start) << c.text << " @" << c.caret;
        EXPECT_EQ(range.Length, c.length) << c.text << " @" << c.caret;
    }
}

TEST(NotesEditing, SortIsNumericOrAlphabeticByTheCurrentCell)
{
    const Lines text { "Key\tNo", "100\ta", "\tb", "9\tc", "abc\td", "10\te", "9\tf", "010\tg" };
    struct Case {
        std::string current;
        Lines keys;
        Lines order;
    };
    for (const Case& c : std::vector<Case> {
             { "10", { "Key", "abc", "9", "9", "10", "010", "100", "", "" },
                 { "No", "d", "c", "f", "e", "g", "a", "b", "" } },
             { "010", { "Key", "010", "10", "100", "9", "9", "abc", "", "" },
                 { "No", "g", "e", "a", "c", "f", "d", "b", "" } },
             { "abc", { "Key", "010", "10", "100", "9", "9", "abc", "", "" },
                 { "No", "g", "e", "a", "c", "f", "d", "b", "" } },
         }) {
        TNotesTable table = MemoToGrid(text);
        SortRows(table, 1, c.current);
        EXPECT_EQ(Column(table, 1), c.keys) << c.current;
        EXPECT_EQ(Column(table, 2), c.order) << c.current;
    }
    // Numbers below zero sort below zero.
    TNotesTable signedKeys = MemoToGrid({ "n", "5", "-3", "0", "-12" });
    SortRows(signedKeys, 1, "-3");
    EXPECT_EQ(Column(signedKeys, 1), (Lines { "n", "-12", "-3", "0", "5", "" }));
    TNotesTable one = MemoToGrid({ "h", "b" });
    one.DeleteRow(2);
    SortRows(one, 1, "b");
    EXPECT_EQ(Column(one, 1), (Lines { "h", "b" }));
}

TEST(NotesEditing, CopyAndPasteBlocks)
{
    TNotesTable table = MemoToGrid({ "h", "", "", "a\tb", "c\td" });
    const std::string copied = ClearCutCopy(table, { 1, 3, 2, 4 }, ccCopy);
    EXPECT_EQ(copied, "a\tb\r\nc\td");
    EXPECT_EQ(table.Cell(1, 3), "a");

    const TCellRange pasted = PasteText(table, 1, 1, copied);
    EXPECT_EQ(GridToMemo(table, 1).Lines, (Lines { "h", "a\tb", "c\td", "a\tb", "c\td" }));
    EXPECT_EQ(pasted.Right, 2);
    EXPECT_EQ(pasted.Bottom, 2);

    EXPECT_EQ(ClearCutCopy(table, { 2, 1, 2, 1 }, ccClear | ccCopy), "b");
    EXPECT_EQ(table.Cell(2, 1), "");

    // Spaces are part of a field, wherever they stand.
    TNotesTable spaced;
    PasteText(spaced, 2, 1, "Jo Smith\t555 1234\r\n Al \t-1 \xE9\t");
    EXPECT_EQ(
        GridToMemo(spaced, 1).Lines, (Lines { "", "\tJo Smith\t555 1234", "\t Al \t-1 \xE9" }));

    // A final CR LF leaves the cell below the block alone.
    TNotesTable below = MemoToGrid({ "h", "", "keep" });
    PasteText(below, 1, 1, "x\r\n");
    EXPECT_EQ(Column(below, 1), (Lines { "h", "x", "keep", "" }));

    // LF adds rows at the end; fields past column 10 go; other controls stay in place.
    TNotesTable grow;
    const int before = grow.RowCount();
    const std::string text = "a\tb\nc\t\t\t\t\t\t\t\t\tj\tk\nx\x01y";
    EXPECT_EQ(PasteLastRow(1, text), 4);
    const TCellRange walk = PasteText(grow, 1, 1, text);
    EXPECT_EQ(grow.RowCount(), 5);
    EXPECT_GT(grow.RowCount(), before);
    EXPECT_EQ(grow.Cell(10, 2), "j");
    EXPECT_EQ(grow.Cell(1, 3), "y");
    EXPECT_EQ(walk.Right, 10);
    EXPECT_EQ(walk.Bottom, 3);
    EXPECT_EQ(PasteText(grow, 1, 1, "").Right, 0);
}

TEST(NotesEditing, RowsAndColumnsMove)
{
    TNotesTable table = MemoToGrid({ "h1\th2\th3", "a\tb\tc", "d\te\tf" });
    table.InsertRow(2);
    EXPECT_EQ(GridToMemo(table, 1).Lines, (Lines { "h1\th2\th3", "a\tb\tc", "", "d\te\tf" }));
    table.DeleteRow(2);
    // A row moved past the last one stays where it is.
    table.MoveRow(1, table.RowCount());
    EXPECT_EQ(GridToMemo(table, 1).Lines, (Lines { "h1\th2\th3", "a\tb\tc", "d\te\tf" }));
    table.MoveRow(1, 2);
    table.MoveColumn(3, 1);
    EXPECT_EQ(GridToMemo(table, 1).Lines, (Lines { "h3\th1\th2", "f\td\te", "c\ta\tb" }));
}

} // namespace
