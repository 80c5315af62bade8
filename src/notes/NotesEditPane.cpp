#include "notes/NotesEditPane.h"

#include "controls/Dialogues.h"
#include "notes/NotesGrid.h"
#include "notes/NotesMemo.h"
#include "notes/NotesTableModel.h"
#include "platform/AnsiText.h"
#include "platform/Clipboard.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QStackedWidget>
#include <QTextBlock>
#include <QTimer>
#include <QUndoStack>
#include <QVBoxLayout>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace
{

// A LF inside a line is no line break of the text: the memo shows it as a
// line separator, which stays inside its block.
QString LineToMemo(std::string_view line)
{
    QString text = FromCore(line);
    text.replace(u'\n', QChar(QChar::LineSeparator));
    return text;
}

std::string LineFromMemo(QString text)
{
    text.replace(QChar(QChar::LineSeparator), u'\n');
    return ToCore(text);
}

void SetActionEnabled(QAction* action, bool enabled)
{
    if (action)
        action->setEnabled(enabled);
}

} // namespace

TNotesEditPane::TNotesEditPane(IDialogues& dialogues, IClipboard& clipboard, QWidget* parent)
    : QWidget(parent)
    , Dialogues(dialogues)
    , Clipboard(clipboard)
{
    setObjectName(u"NotesEditPane"_s);
    Model = new TNotesTableModel(this);
    Views = new QStackedWidget(this);
    NotesMemo = new TNotesMemo(Views);
    NotesGrid = new TNotesGrid(*Model, Views);
    Views->addWidget(NotesMemo);
    Views->addWidget(NotesGrid);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Views);

    NotesGrid->OnRefused = [this](const QStringList& found) { Refused(found); };
    NotesMemo->OnContextMenu = [this](const QPoint& at) { pmNotes->popup(at); };
    NotesGrid->OnContextMenu = [this](const QPoint& at) { pmNotes->popup(at); };
    NotesGrid->OnClear = [this] { ClearCutCopy(ccClear); };
    BuildMenu();
    UpdateNotesTools();
}

TNotesEditPane::~TNotesEditPane() = default;

void TNotesEditPane::BuildMenu()
{
    pmNotes = new QMenu(this);
    pmNotes->setObjectName(u"pmNotes"_s);
    auto add = [this](const QString& name, const QString& caption, const QKeySequence& keys,
                   void (TNotesEditPane::*handler)()) {
        QAction* action = pmNotes->addAction(caption);
        action->setObjectName(name);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        if (handler)
            connect(action, &QAction::triggered, this, handler);
        // The shortcuts work without the menu being open.
        addAction(action);
        return action;
    };
    // Wired by the dialling and e-mail commands.
    mDial = add(u"mDial"_s, u"Dial Number"_s, QKeySequence(u"Ctrl+D"_s), nullptr);
    mSend = add(u"mSend"_s, u"Send Email"_s, QKeySequence(u"Ctrl+S"_s), nullptr);
    mDial->setEnabled(false);
    mSend->setEnabled(false);
    pmNotes->addSeparator()->setObjectName(u"N3"_s);
    mUndo = add(u"mUndo"_s, u"Undo"_s, QKeySequence(u"Ctrl+Z"_s), &TNotesEditPane::mUndoClick);
    mRedo
        = add(u"mRedo"_s, u"Redo"_s, QKeySequence(u"Ctrl+Shift+Z"_s), &TNotesEditPane::mRedoClick);
    mRedo->setShortcuts({ QKeySequence(u"Ctrl+Shift+Z"_s), QKeySequence(u"Ctrl+Y"_s) });
    mCut = add(u"mCut"_s, u"Cut"_s, QKeySequence(u"Ctrl+X"_s), &TNotesEditPane::CutClick);
    mCopy = add(u"mCopy"_s, u"Copy"_s, QKeySequence(u"Ctrl+C"_s), &TNotesEditPane::CopyClick);
    mPaste = add(u"mPaste"_s, u"Paste"_s, QKeySequence(u"Ctrl+V"_s), &TNotesEditPane::PasteClick);
    mGap4 = pmNotes->addSeparator();
    mGap4->setObjectName(u"mGap4"_s);
    mInsertRow = add(u"mInsertRow"_s, u"Insert Row"_s, {}, &TNotesEditPane::InsertClick);
    mDeleteRow = add(u"mDeleteRow"_s, u"Delete Row"_s, {}, &TNotesEditPane::DeleteClick);
}

void TNotesEditPane::AttachTools(const TNotesEditorTools& tools)
{
    Tools = tools;
    auto wire = [this](QAction* action, void (TNotesEditPane::*handler)()) {
        if (action)
            connect(action, &QAction::triggered, this, handler);
    };
    wire(Tools.NotesAsMemoButton, &TNotesEditPane::NotesAsClick);
    wire(Tools.NotesAsGridButton, &TNotesEditPane::NotesAsClick);
    wire(Tools.bCut, &TNotesEditPane::CutClick);
    wire(Tools.bCopy, &TNotesEditPane::CopyClick);
    wire(Tools.bPaste, &TNotesEditPane::PasteClick);
    wire(Tools.ChangeCaseButton, &TNotesEditPane::ChangeCaseButtonClick);
    wire(Tools.WordWrapButton, &TNotesEditPane::WordWrapButtonClick);
    wire(Tools.bInsert, &TNotesEditPane::InsertClick);
    wire(Tools.bDelete, &TNotesEditPane::DeleteClick);
    wire(Tools.SortButton, &TNotesEditPane::SortButtonClick);
    if (Tools.NotesAsMemoButton)
        Tools.NotesAsMemoButton->setChecked(!FTableView);
    if (Tools.NotesAsGridButton)
        Tools.NotesAsGridButton->setChecked(FTableView);
    UpdateNotesTools();
}

QWidget* TNotesEditPane::Memo()
{
    return NotesMemo;
}

QTableView* TNotesEditPane::Grid()
{
    return NotesGrid;
}

void TNotesEditPane::Show(const TNoteData& data, int32_t caret)
{
    NotesGrid->EndEditing();
    Detached = false;
    setEnabled(true);
    QHeaderView* columns = NotesGrid->horizontalHeader();
    for (int i = 0; i < TNotesTable::LastCol; ++i)
        columns->resizeSection(i, data.ColWidths[static_cast<size_t>(i)]);
    NotesGrid->verticalHeader()->setFixedWidth(NotesGrid->verticalHeader()->defaultSectionSize());
    FTableView = data.AsGrid != 0;
    if (Tools.NotesAsMemoButton)
        Tools.NotesAsMemoButton->setChecked(!FTableView);
    if (Tools.NotesAsGridButton)
        Tools.NotesAsGridButton->setChecked(FTableView);
    WordWrapOff();
    if (FTableView) {
        // The memo is behind the table and gets the text when the view
        // switches back: a long table category shows without a long text.
        Shown = data.Lines;
        NotesMemo->clear();
        TNotesTable table = ::MemoToGrid(data.Lines);
        const int row = CurrentRowForLine(CaretLine(data.Lines, caret), table.RowCount());
        Model->SetTable(std::move(table));
        NotesGrid->FocusCell(1, row);
    } else {
        Model->SetTable(TNotesTable());
        ShowLines(data.Lines, caret);
    }
    UpdateNotesTools();
}

void TNotesEditPane::ShowLines(const TNoteLines& lines, int32_t caret)
{
    QString text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += u'\n';
        text += LineToMemo(lines[i]);
    }
    Shown = lines;
    // Straight into the document: the edit's own setPlainText also sets the
    // character format of every line once more, a sixth of the time a long
    // text takes. Switching undo off and on forgets the steps of the text
    // shown before, as the edit's own does.
    QTextDocument* document = NotesMemo->document();
    document->setUndoRedoEnabled(false);
    document->setPlainText(text);
    document->setUndoRedoEnabled(true);
    document->setModified(false);
    // The caret counts the lines' UTF-8 bytes and CR LF as two; the memo counts
    // UTF-16 units and a line break as one.
    const auto at = static_cast<size_t>(std::max(caret, 0));
    int position = 0;
    size_t joined = 0;
    QTextBlock block = NotesMemo->document()->firstBlock();
    for (size_t i = 0; i < lines.size() && block.isValid(); ++i, block = block.next()) {
        const size_t column = std::min(at - std::min(at, joined), lines[i].size());
        position = block.position() + static_cast<int>(QtOffset(lines[i], column));
        if (at <= joined + lines[i].size())
            break;
        joined += lines[i].size() + 2;
    }
    QTextCursor cursor = NotesMemo->textCursor();
    cursor.setPosition(position);
    NotesMemo->setTextCursor(cursor);
    NotesMemo->ensureCursorVisible();
}

TNoteLines TNotesEditPane::MemoLines() const
{
    if (!NotesMemo->document()->isModified())
        return Shown;
    TNoteLines lines;
    if (!NotesMemo->document()->isEmpty())
        for (QTextBlock block = NotesMemo->document()->firstBlock(); block.isValid();
             block = block.next())
            lines.push_back(LineFromMemo(block.text()));
    lines.ShrinkToFit();
    return lines;
}

int32_t TNotesEditPane::MemoCaret(const TNoteLines& lines) const
{
    // In the lines joined with CR LF, counting UTF-8 bytes.
    const QTextCursor cursor = NotesMemo->textCursor();
    const auto row = static_cast<size_t>(cursor.blockNumber());
    size_t offset = 0;
    for (size_t i = 0; i < std::min(row, lines.size()); ++i)
        offset += lines[i].size() + 2;
    offset += LineFromMemo(cursor.block().text().left(cursor.positionInBlock())).size();
    return static_cast<int32_t>(std::min<size_t>(offset, INT32_MAX - 2));
}

int32_t TNotesEditPane::Store(TNoteData& data)
{
    WordWrapOff();
    if (FTableView)
        NotesGrid->EndEditing();
    return StoreLines(data);
}

void TNotesEditPane::StoreInPassing(TNoteData& data)
{
    StoreLines(data);
}

int32_t TNotesEditPane::StoreLines(TNoteData& data)
{
    int32_t findStart = 0;
    if (FTableView) {
        TMemoText memo = ::GridToMemo(Model->Table(), NotesGrid->Row());
        findStart = memo.FindStart ? memo.FindStart : memo.Caret + 2;
        data.Lines = std::move(memo.Lines);
        Shown = data.Lines;
    } else {
        data.Lines = MemoLines();
        findStart = MemoCaret(data.Lines) + 2;
        Shown = data.Lines;
        // The lines shown are in the record now; the next store reads the
        // memo again only after the next change.
        NotesMemo->document()->setModified(false);
    }
    data.AsGrid = FTableView ? 1 : 0;
    const QHeaderView* columns = NotesGrid->horizontalHeader();
    for (int i = 0; i < TNotesTable::LastCol; ++i)
        data.ColWidths[static_cast<size_t>(i)]
            = static_cast<uint16_t>(std::clamp(columns->sectionSize(i), 0, 0xFFFF));
    return findStart;
}

void TNotesEditPane::Detach()
{
    NotesGrid->EndEditing();
    Detached = true;
    setEnabled(false);
    UpdateNotesTools();
}

void TNotesEditPane::EndEditing()
{
    NotesGrid->EndEditing();
}

void TNotesEditPane::NotesFocus()
{
    QWidget* target = FTableView ? static_cast<QWidget*>(NotesGrid) : NotesMemo;
    if (target->isVisible())
        target->setFocus();
}

void TNotesEditPane::WordWrapOff()
{
    NotesMemo->SetWordWrap(false);
    if (Tools.WordWrapButton)
        Tools.WordWrapButton->setChecked(false);
}

void TNotesEditPane::MemoToGrid()
{
    WordWrapOff();
    Shown = MemoLines();
    TNotesTable table = ::MemoToGrid(Shown);
    const int row = CurrentRowForLine(CaretLine(Shown, MemoCaret(Shown)), table.RowCount());
    NotesMemo->document()->setModified(false);
    Model->SetTable(std::move(table));
    NotesGrid->FocusCell(1, row);
}

void TNotesEditPane::GridToMemo()
{
    NotesGrid->EndEditing();
    const TMemoText memo = ::GridToMemo(Model->Table(), NotesGrid->Row());
    ShowLines(memo.Lines, memo.Caret);
}

void TNotesEditPane::NotesAsClick()
{
    const bool toTable = Tools.NotesAsGridButton && Tools.NotesAsGridButton->isChecked();
    if (toTable && !FTableView) {
        MemoToGrid();
        FTableView = true;
    } else if (!toTable && FTableView) {
        GridToMemo();
        FTableView = false;
    }
    UpdateNotesTools();
    NotesFocus();
    if (Tools.SetCategoryImage)
        Tools.SetCategoryImage(FTableView ? 1 : 0);
}

void TNotesEditPane::UpdateNotesTools()
{
    Views->setCurrentWidget(FTableView ? static_cast<QWidget*>(NotesGrid) : NotesMemo);
    NotesMemo->setEnabled(!FTableView);
    if (!FTableView)
        NotesMemo->SetWordWrap(NotesMemo->lineWrapMode() != QPlainTextEdit::NoWrap);
    for (QAction* always : { Tools.NotesAsMemoButton, Tools.NotesAsGridButton, Tools.bCut,
             Tools.bCopy, Tools.bPaste, Tools.ChangeCaseButton })
        SetActionEnabled(always, !Detached);
    SetActionEnabled(Tools.WordWrapButton, !Detached && !FTableView);
    SetActionEnabled(Tools.bInsert, !Detached && FTableView);
    SetActionEnabled(Tools.bDelete, !Detached && FTableView);
    SetActionEnabled(Tools.SortButton, !Detached && FTableView);
    mRedo->setVisible(FTableView);
    UpdateUndoActions();
    mGap4->setVisible(FTableView);
    mInsertRow->setVisible(FTableView);
    mDeleteRow->setVisible(FTableView);
}

void TNotesEditPane::WordWrapButtonClick()
{
    NotesMemo->SetWordWrap(Tools.WordWrapButton && Tools.WordWrapButton->isChecked());
    UpdateNotesTools();
}

void TNotesEditPane::ClearCutCopy(int mode)
{
    if (FTableView) {
        NotesGrid->EndEditing();
        const std::string text = Model->ClearCutCopy(NotesGrid->Selection(), mode);
        if ((mode & ccCopy) && !text.empty())
            Clipboard.SetText(FromCore(text));
        return;
    }
    // The memo's own commands, run once the handler is done.
    void (QPlainTextEdit::*command)() = &QPlainTextEdit::copy;
    if (mode == ccClear)
        command = nullptr;
    else if (mode == (ccClear | ccCopy))
        command = &QPlainTextEdit::cut;
    QTimer::singleShot(0, NotesMemo, [memo = NotesMemo, command] {
        if (command)
            (memo->*command)();
        else
            memo->textCursor().removeSelectedText();
    });
}

void TNotesEditPane::CutClick()
{
    ClearCutCopy(ccClear | ccCopy);
}

void TNotesEditPane::CopyClick()
{
    ClearCutCopy(ccCopy);
}

void TNotesEditPane::PasteClick()
{
    if (!FTableView) {
        QTimer::singleShot(0, NotesMemo, &QPlainTextEdit::paste);
        return;
    }
    NotesGrid->EndEditing();
    Model->Paste(NotesGrid->Col(), NotesGrid->Row(), ToCore(Clipboard.Text()));
}

void TNotesEditPane::ChangeCaseButtonClick()
{
    if (FTableView) {
        NotesGrid->EndEditing();
        const int col = NotesGrid->Col();
        const int row = NotesGrid->Row();
        Model->SetCell(col, row, ::ChangeCase(Model->Table().Cell(col, row)), "Change Case");
        return;
    }
    QTextCursor cursor = NotesMemo->textCursor();
    if (!cursor.hasSelection()) {
        const QTextBlock block = cursor.block();
        const TTextRange word = SelectWordAtCaret(
            CharacterView(block.text()), static_cast<size_t>(cursor.position() - block.position()));
        cursor.setPosition(block.position() + static_cast<int>(word.Start));
        cursor.setPosition(
            block.position() + static_cast<int>(word.Start + word.Length), QTextCursor::KeepAnchor);
    }
    const int start = cursor.selectionStart();
    const QString selected = cursor.selectedText();
    const std::string changed = ::ChangeCase(CharacterView(selected));
    QString result = selected;
    for (qsizetype i = 0; i < result.size(); ++i)
        if (result[i].unicode() < 0x80)
            result[i] = QChar(static_cast<char16_t>(changed[static_cast<size_t>(i)]));
    cursor.insertText(result);
    cursor.setPosition(start);
    cursor.setPosition(start + static_cast<int>(result.size()), QTextCursor::KeepAnchor);
    NotesMemo->setTextCursor(cursor);
}

void TNotesEditPane::InsertClick()
{
    if (!FTableView)
        return;
    NotesGrid->EndEditing();
    const int col = NotesGrid->Col();
    const int row = NotesGrid->Row();
    Model->InsertRow(row);
    NotesGrid->FocusCell(col, row);
}

void TNotesEditPane::DeleteClick()
{
    if (!FTableView || !Dialogues.AskConfirm(u"Do you want to Delete this Row ?"_s))
        return;
    NotesGrid->EndEditing();
    const int col = NotesGrid->Col();
    const int row = NotesGrid->Row();
    // The table keeps its header and one data row: the last data row is
    // emptied rather than removed.
    if (Model->rowCount() <= 1)
        Model->ClearCutCopy({ 1, row, TNotesTable::LastCol, row }, ccClear, "Delete Row");
    else
        Model->DeleteRow(row);
    NotesGrid->FocusCell(col, std::min(row, Model->rowCount()));
}

void TNotesEditPane::SortButtonClick()
{
    if (!FTableView)
        return;
    NotesGrid->EndEditing();
    Model->Sort(NotesGrid->Col(), NotesGrid->Row());
}

void TNotesEditPane::SetHistory(QUndoStack* history)
{
    History = history;
    Model->SetHistory(history);
    if (history) {
        connect(history, &QUndoStack::indexChanged, this, &TNotesEditPane::UpdateUndoActions);
        connect(history, &QUndoStack::cleanChanged, this, &TNotesEditPane::UpdateUndoActions);
    }
    connect(Model, &TNotesTableModel::StepReplayed, this, [this](int col, int row) {
        NotesGrid->FocusCell(col, row);
        NotesGrid->setFocus();
    });
    UpdateUndoActions();
}

void TNotesEditPane::UpdateUndoActions()
{
    if (!FTableView || !History) {
        mUndo->setText(u"Undo"_s);
        mUndo->setEnabled(true);
        return;
    }
    mUndo->setEnabled(History->canUndo());
    mUndo->setText(History->canUndo() ? u"Undo "_s + History->undoText() : u"Undo"_s);
    mRedo->setEnabled(History->canRedo());
    mRedo->setText(History->canRedo() ? u"Redo "_s + History->redoText() : u"Redo"_s);
}

void TNotesEditPane::mUndoClick()
{
    if (!FTableView) {
        NotesMemo->undo();
        return;
    }
    NotesGrid->EndEditing();
    if (History)
        History->undo();
}

void TNotesEditPane::mRedoClick()
{
    if (!FTableView)
        return;
    NotesGrid->EndEditing();
    if (History)
        History->redo();
}

void TNotesEditPane::Refused(const QStringList& characters)
{
    if (RefusalPending)
        return;
    RefusalPending = true;
    const QString message = u"The notes file cannot hold %1, so the text was left as it was."_s.arg(
        NameCharacters(characters));
    // After the edit has been turned down, outside the editor's own handling.
    QTimer::singleShot(0, this, [this, message] {
        RefusalPending = false;
        Dialogues.ShowError(message);
    });
}
