#pragma once

#include "notes/NotesEditor.h"

#include <QStringList>
#include <QWidget>
#include <string>
#include <vector>

class IClipboard;
class IDialogues;
class QMenu;
class QStackedWidget;
class QUndoStack;
class TNotesGrid;
class TNotesMemo;
class TNotesTableModel;

// The right pane of the notes page: the category's text in the memo, or as a
// table in the grid, switched with the two view buttons, and the editing
// commands of the tool bar and of the menu pmNotes.
//
// In the table view the table is what counts: it is built from the text when
// the view switches to it (or a table category is shown), and the text is
// rebuilt from it when the view switches back and whenever the page is stored.
class TNotesEditPane final : public QWidget, public INotesEditor
{
    Q_OBJECT

public:
    TNotesEditPane(IDialogues& dialogues, IClipboard& clipboard, QWidget* parent = nullptr);
    ~TNotesEditPane() override;

    // INotesEditor
    QWidget* Widget() override { return this; }
    void AttachTools(const TNotesEditorTools& tools) override;
    void Show(const TNoteData& data, int32_t caret) override;
    int32_t Store(TNoteData& data) override;
    void StoreInPassing(TNoteData& data) override;
    void Detach() override;
    void EndEditing() override;
    void NotesFocus() override;
    QWidget* Memo() override;
    QTableView* Grid() override;

    bool TableView() const { return FTableView; }
    TNotesTableModel& TableModel() { return *Model; }
    QMenu* NotesMenu() const { return pmNotes; }
    QAction* DialItem() const { return mDial; }
    QAction* SendItem() const { return mSend; }

    void NotesAsClick();
    void CutClick();
    void CopyClick();
    void PasteClick();
    void ChangeCaseButtonClick();
    void WordWrapButtonClick();
    void InsertClick();
    void DeleteClick();
    void SortButtonClick();
    // The memo's own undo in the text view; the table's history in the table view.
    void mUndoClick();
    void mRedoClick();
    // Where the table's steps go; it outlives the pane.
    void SetHistory(QUndoStack* history);

private:
    // Store's writing of the record; where find goes on.
    int32_t StoreLines(TNoteData& data);
    void BuildMenu();
    void UpdateNotesTools();
    void UpdateUndoActions();
    void ClearCutCopy(int mode);
    void MemoToGrid();
    void GridToMemo();
    void WordWrapOff();
    void ShowLines(const TNoteLines& lines, int32_t caret);
    // The memo's lines: as shown while the user has not typed, read back otherwise.
    TNoteLines MemoLines() const;
    // The memo's caret as an offset into its lines joined with CR LF.
    int32_t MemoCaret(const TNoteLines& lines) const;
    void Refused(const QStringList& characters);

    IDialogues& Dialogues;
    IClipboard& Clipboard;
    TNotesEditorTools Tools;
    TNotesTableModel* Model = nullptr;
    QStackedWidget* Views = nullptr;
    TNotesMemo* NotesMemo = nullptr;
    TNotesGrid* NotesGrid = nullptr;
    QMenu* pmNotes = nullptr;
    QAction* mDial = nullptr;
    QAction* mSend = nullptr;
    QAction* mUndo = nullptr;
    QAction* mRedo = nullptr;
    QUndoStack* History = nullptr;
    QAction* mCut = nullptr;
    QAction* mCopy = nullptr;
    QAction* mPaste = nullptr;
    QAction* mGap4 = nullptr;
    QAction* mInsertRow = nullptr;
    QAction* mDeleteRow = nullptr;
    bool FTableView = false;
    bool Detached = false;
    TNoteLines Shown;
    bool RefusalPending = false;
};
