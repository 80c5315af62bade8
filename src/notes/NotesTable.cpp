#include "notes/NotesTable.h"

#include "base/LongStrings.h"

#include <algorithm>
#include <cstdint>
#include <numeric>

namespace
{

const std::string NoText;

bool IsUpper(char c)
{
    return c >= 'A' && c <= 'Z';
}
bool IsLower(char c)
{
    return c >= 'a' && c <= 'z';
}
bool IsLetter(char c)
{
    return IsUpper(c) || IsLower(c);
}
char ToLower(char c)
{
    return IsUpper(c) ? static_cast<char>(c - 'A' + 'a') : c;
}
bool AboveBlank(char c)
{
    return static_cast<unsigned char>(c) > 32;
}

std::string UpperKey(const std::string& text)
{
    std::string key = text;
    for (char& c : key)
        c = UpCaseAscii(c);
    return key;
}

} // namespace

const std::string& TNotesTable::Cell(int col, int row) const
{
    if (col < 1 || col > LastCol || row < 0 || row >= RowCount())
        return NoText;
    const int32_t cells = Rows[static_cast<size_t>(row)];
    return cells == NoCells ? NoText
                            : Cells[static_cast<size_t>(cells)][static_cast<size_t>(col - 1)];
}

void TNotesTable::SetCell(int col, int row, std::string text)
{
    if (col < 1 || col > LastCol || row < 0 || row >= RowCount())
        return;
    int32_t& cells = Rows[static_cast<size_t>(row)];
    if (cells == NoCells) {
        if (text.empty())
            return;
        cells = static_cast<int32_t>(Cells.size());
        Cells.emplace_back();
    }
    Cells[static_cast<size_t>(cells)][static_cast<size_t>(col - 1)] = std::move(text);
}

bool TNotesTable::RowEmpty(int row) const
{
    if (row < 0 || row >= RowCount() || Rows[static_cast<size_t>(row)] == NoCells)
        return true;
    const TRow& cells = Cells[static_cast<size_t>(Rows[static_cast<size_t>(row)])];
    return std::all_of(cells.begin(), cells.end(), [](const std::string& s) { return s.empty(); });
}

void TNotesTable::AddRow()
{
    Rows.push_back(NoCells);
}

void TNotesTable::AddRows(int count)
{
    if (count > 0)
        Rows.insert(Rows.end(), static_cast<size_t>(count), NoCells);
}

void TNotesTable::InsertRow(int row)
{
    row = std::clamp(row, 0, RowCount());
    Rows.insert(Rows.begin() + row, NoCells);
}

void TNotesTable::DeleteRow(int row)
{
    if (row < 0 || row >= RowCount())
        return;
    if (const int32_t cells = Rows[static_cast<size_t>(row)]; cells != NoCells)
        Cells[static_cast<size_t>(cells)] = TRow {};
    Rows.erase(Rows.begin() + row);
}

void TNotesTable::MoveRow(int from, int to)
{
    if (from < 0 || from >= RowCount() || to < 0 || to >= RowCount() || from == to)
        return;
    const auto f = Rows.begin() + from;
    const auto t = Rows.begin() + to;
    if (from < to)
        std::rotate(f, f + 1, t + 1);
    else
        std::rotate(t, f, f + 1);
}

void TNotesTable::MoveColumn(int from, int to)
{
    if (from < 1 || from > LastCol || to < 1 || to > LastCol || from == to)
        return;
    for (TRow& cells : Cells) {
        const auto f = cells.begin() + (from - 1);
        const auto t = cells.begin() + (to - 1);
        if (from < to)
            std::rotate(f, f + 1, t + 1);
        else
            std::rotate(t, f, f + 1);
    }
}

void TNotesTable::Reorder(const std::vector<int>& order)
{
    std::vector<int32_t> rows;
    rows.reserve(Rows.size());
    rows.push_back(Rows.front());
    for (const int i : order)
        rows.push_back(Rows[static_cast<size_t>(1 + i)]);
    Rows = std::move(rows);
}

TNotesTable MemoToGrid(const TNoteLines& lines)
{
    TNotesTable table(std::max(static_cast<int>(lines.size()) + 1, TNotesTable::MinRows));
    table.Reserve(static_cast<int>(lines.size()));
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const int row = static_cast<int>(i);
        size_t start = 0;
        int col = 1;
        while (start < line.size()) {
            const size_t tab = line.find('\t', start);
            if (col < TNotesTable::LastCol && tab != std::string_view::npos) {
                table.SetCell(col, row, std::string(line.substr(start, tab - start)));
                start = tab + 1;
            } else {
                table.SetCell(col, row, std::string(line.substr(start)));
                start = line.size();
            }
            ++col;
        }
    }
    return table;
}

int CaretLine(const TNoteLines& lines, int caret)
{
    int64_t lineStart = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        const int64_t next = lineStart + static_cast<int64_t>(lines[i].size()) + 2;
        if (caret < next)
            return static_cast<int>(i);
        lineStart = next;
    }
    return std::max(static_cast<int>(lines.size()) - 1, 0);
}

int CurrentRowForLine(int line, int rowCount)
{
    return std::clamp(line, 1, rowCount - 1);
}

TMemoText GridToMemo(const TNotesTable& table, int currentRow)
{
    TMemoText memo;
    int64_t length = 0;
    int pendingBlanks = 0;
    for (int r = 0; r < table.RowCount(); ++r) {
        std::string line;
        int last = 1;
        for (int col = 1; col <= TNotesTable::LastCol; ++col) {
            const std::string& cell = table.Cell(col, r);
            if (cell.empty())
                continue;
            line.append(static_cast<size_t>(col - last), '\t');
            last = col;
            line += cell;
        }
        if (r == currentRow)
            memo.Caret = static_cast<int>(length);
        if (r == currentRow + 1)
            memo.FindStart = static_cast<int>(length + 1);
        if (line.empty()) {
            ++pendingBlanks;
            continue;
        }
        for (; pendingBlanks > 0; --pendingBlanks) {
            memo.Lines.push_back({});
            length += 2;
        }
        length += static_cast<int64_t>(line.size()) + 2;
        memo.Lines.push_back(line);
    }
    return memo;
}

std::string ChangeCase(std::string_view text)
{
    const bool hasUpper = std::any_of(text.begin(), text.end(), IsUpper);
    const bool hasLower = std::any_of(text.begin(), text.end(), IsLower);
    std::string result(text);
    bool wordStart = true;
    for (char& c : result) {
        const bool letter = IsLetter(c);
        if (hasLower && !hasUpper)
            c = wordStart ? UpCaseAscii(c) : ToLower(c);
        else if (hasUpper && !hasLower)
            c = ToLower(c);
        else
            c = UpCaseAscii(c);
        wordStart = !letter;
    }
    return result;
}

TTextRange SelectWordAtCaret(std::string_view text, size_t caret)
{
    size_t start = std::min(caret, text.size());
    while (start > 0 && AboveBlank(text[start - 1]))
        --start;
    size_t end = start;
    while (end < text.size() && AboveBlank(text[end]))
        ++end;
    return { start, end - start };
}

std::vector<int> SortRows(TNotesTable& table, int col, std::string_view current)
{
    const int dataRows = table.RowCount() - 1;
    if (dataRows < 2)
        return {};
    const bool numeric = current == IntToText(TextToInt(current));
    // Each filled key is sorted as a 64-bit number that orders as the key
    // does: the number itself, or the first eight upper-cased characters with
    // the full texts compared only when those are alike.
    struct TSortKey {
        uint64_t Order;
        int Row;
    };
    std::vector<TSortKey> keys;
    keys.reserve(static_cast<size_t>(dataRows));
    std::vector<std::string> texts(numeric ? 0 : static_cast<size_t>(dataRows));
    std::vector<int> empty;
    for (int i = 0; i < dataRows; ++i) {
        const std::string& cell = table.Cell(col, 1 + i);
        if (cell.empty()) {
            empty.push_back(i);
            continue;
        }
        uint64_t order = 0;
        if (numeric) {
            order = static_cast<uint32_t>(TextToInt(cell)) ^ 0x8000'0000u;
        } else {
            std::string& text = texts[static_cast<size_t>(i)] = UpperKey(cell);
            for (size_t b = 0; b < 8; ++b)
                order = (order << 8) | (b < text.size() ? static_cast<unsigned char>(text[b]) : 0u);
        }
        keys.push_back({ order, i });
    }
    // std::string compares by unsigned character codes, a prefix first.
    std::stable_sort(keys.begin(), keys.end(), [&texts](const TSortKey& a, const TSortKey& b) {
        if (a.Order != b.Order)
            return a.Order < b.Order;
        return !texts.empty()
            && texts[static_cast<size_t>(a.Row)] < texts[static_cast<size_t>(b.Row)];
    });
    // Empty keys gather at the bottom in their order.
    std::vector<int> order;
    order.reserve(static_cast<size_t>(dataRows));
    for (const TSortKey& key : keys)
        order.push_back(key.Row);
    order.insert(order.end(), empty.begin(), empty.end());
    table.Reorder(order);
    return order;
}

std::string ClearCutCopy(TNotesTable& table, const TCellRange& range, int mode)
{
    std::string text;
    for (int row = range.Top; row <= range.Bottom; ++row) {
        for (int col = range.Left; col <= range.Right; ++col) {
            text += table.Cell(col, row);
            if (mode & ccClear)
                table.SetCell(col, row, {});
            if (col != range.Right)
                text += '\t';
        }
        if (row != range.Bottom)
            text += "\r\n";
    }
    return text;
}

int PasteLastRow(int row, std::string_view text)
{
    if (text.empty())
        return row;
    const auto steps = std::count(text.begin(), text.end(), '\n');
    return row + static_cast<int>(steps) + (text.back() != '\n' ? 1 : 0);
}

TCellRange PasteText(TNotesTable& table, int col, int row, std::string_view text)
{
    TCellRange written { col, row, col - 1, row - 1 };
    if (text.empty())
        return written;
    int c = col;
    int r = row;
    std::string field;
    auto store = [&] {
        if (c <= TNotesTable::LastCol) {
            table.SetCell(c, r, std::move(field));
            written.Right = std::max(written.Right, c);
            written.Bottom = std::max(written.Bottom, r);
        }
        field.clear();
    };
    auto nextRow = [&] {
        c = col;
        ++r;
        if (r >= table.RowCount())
            table.AddRow();
    };
    for (const char ch : text) {
        if (static_cast<unsigned char>(ch) >= 32) {
            field += ch;
            continue;
        }
        if (ch == '\r')
            continue;
        store();
        if (ch == '\n')
            nextRow();
        else if (ch == '\t')
            ++c;
    }
    if (text.back() != '\n') {
        store();
        nextRow();
    }
    return written;
}
