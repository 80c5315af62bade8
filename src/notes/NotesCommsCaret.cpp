#include "notes/NotesCommsCaret.h"

#include "notes/NotesEditPane.h"
#include "notes/NotesGrid.h"
#include "notes/NotesTable.h"
#include "notes/NotesTableModel.h"
#include "platform/AnsiText.h"

#include <QPlainTextEdit>
#include <QTextBlock>

namespace
{

QPlainTextEdit* MemoOf(TNotesEditPane& pane)
{
    return static_cast<QPlainTextEdit*>(pane.Memo());
}

TNotesGrid* GridOf(TNotesEditPane& pane)
{
    return static_cast<TNotesGrid*>(pane.Grid());
}

} // namespace

bool TNotesCommsCaret::TableView() const
{
    return Pane.TableView();
}

QString TNotesCommsCaret::CurrentCellText() const
{
    const TNotesGrid* grid = GridOf(Pane);
    return FromCore(Pane.TableModel().Table().Cell(grid->Col(), grid->Row()));
}

int TNotesCommsCaret::CurrentColumn() const
{
    return GridOf(Pane)->Col();
}

QString TNotesCommsCaret::FirstColumnText() const
{
    return FromCore(Pane.TableModel().Table().Cell(1, GridOf(Pane)->Row()));
}

QString TNotesCommsCaret::MemoText() const
{
    return MemoOf(Pane)->toPlainText();
}

int TNotesCommsCaret::MemoCaret() const
{
    return MemoOf(Pane)->textCursor().position();
}

QString TNotesCommsCaret::TakeWordAtCaret()
{
    QPlainTextEdit* memo = MemoOf(Pane);
    QTextCursor cursor = memo->textCursor();
    // An existing selection gives way to the word around its start.
    const int caret = cursor.selectionStart();
    cursor.setPosition(caret);
    const QTextBlock block = cursor.block();
    const QString line = block.text();
    // One byte per unit: the positions stay the memo's.
    const TTextRange word
        = SelectWordAtCaret(CharacterView(line), static_cast<size_t>(caret - block.position()));
    cursor.setPosition(block.position() + static_cast<int>(word.Start));
    memo->setTextCursor(cursor);
    return line.mid(static_cast<qsizetype>(word.Start), static_cast<qsizetype>(word.Length));
}
