#pragma once

#include "notes/NotesDocument.h"
#include "notes/NotesEditor.h"
#include "notes/NotesTree.h"

#include <QWidget>
#include <cstdint>

class IDialogues;
class QAction;
class QMenu;
class QSplitter;
class QToolBar;
class QToolButton;
class QTreeView;
class TNotesTreeModel;
class TNotesTreeView;

// The "Notes Tree" page: the tool bar above the category tree and the right
// pane that shows the selected category. One rule keeps page and store in
// step: whenever the selection moves, the page is stored into the category
// being left and the new one is shown (NotesChange).
//
// The tree belongs to the notes document; the page attaches to it as its
// view, reads and changes the tree through its model, shows the root at once
// when the notes are loaded already, and detaches in its destructor.
class TNotesPage final : public QWidget, private INotesView
{
    Q_OBJECT
public:
    static constexpr int HelpTopic = 5;

    // The page takes the editor (the right pane) as a child of its splitter.
    TNotesPage(TNotesDocument& document, IDialogues& dialogues, INotesEditor* editor,
        QWidget* parent = nullptr);
    ~TNotesPage() override;

    // Stores the page into the selected category (when it has a record).
    void StoreSelected() override;
    void StoreSelectedInPassing() override;
    // Closes a name edit and a cell edit, keeping what was typed.
    void EndEditing();

    // The tree's width, for "WinSplit".
    int Split() const { return FSplit; }
    void SetSplit(int width);
    // The tree's width that shows its open categories' names whole.
    int NamesWidth() const;

    QTreeView* TreeView() const;
    INotesEditor& Editor() const { return *FEditor; }
    TNotesTreeModel& Model() const { return *FModel; }
    TNoteNode* Selected() const { return FSelected; }
    // Selects the category in the tree (null: none), which runs NotesChange.
    void SelectCategory(TNoteNode* node);
    void FocusTree();

    // Handlers.
    void AddCategoryButtonClick();
    void DeleteCategoryButtonClick();
    void NotesTreeViewMouseDown(const QModelIndex& index, const QPoint& globalPos);
    void NotesTreeViewDragDrop(const QModelIndex& target);

    // Stores the page into the category being left, then shows `node`'s
    // record (made first when it has none). Null shows nothing new.
    void NotesChange(TNoteNode* node);
    void ShowNoteData(TNoteData& data);
    void StoreNoteData(TNoteData& data);

    // Shared with the find window: where the next shown text puts its caret
    // (0-based, reset after use), and where a search goes on (1-based).
    int32_t NotesCaretOnShow = 0;
    int32_t NotesFindStart = 1;

    // The tool bar, left to right.
    QToolBar* NotesTools = nullptr;
    QAction* AddCategoryButton = nullptr;
    QAction* DeleteCategoryButton = nullptr;
    QAction* NotesAsMemoButton = nullptr;
    QAction* NotesAsGridButton = nullptr;
    QAction* bFind = nullptr;
    QAction* bDial = nullptr;
    QAction* bSend = nullptr;
    QAction* bCut = nullptr;
    QAction* bCopy = nullptr;
    QAction* bPaste = nullptr;
    QAction* ChangeCaseButton = nullptr;
    QAction* WordWrapButton = nullptr;
    QAction* bInsert = nullptr;
    QAction* bDelete = nullptr;
    QAction* SortButton = nullptr;
    QAction* NotesHelpButton = nullptr;
    // Ctrl+T: the text view from the table view and back.
    QAction* NotesViewSwitch = nullptr;
    QMenu* pmDial = nullptr;
    QMenu* pmEmail = nullptr;
    QMenu* pmNotesTree = nullptr;
    QAction* mCreateCat = nullptr;
    QAction* mDeleteCat = nullptr;
    QSplitter* NotesSplitter = nullptr;

Q_SIGNALS:
    void HelpRequested(int topic);
    // bFind: the find window searches the notes.
    void FindRequested();

private:
    void CreateTools();
    void CreateTreeMenu();
    void CreateToolKeys();
    // F6 (Shift+F6 back): from the tree to the tool bar to the text and round.
    void FocusNextPane(bool forward);
    QToolButton* FirstToolButton() const;
    void CurrentChanged(const QModelIndex& current);
    void SelectRoot();
    // The document empties the tree, then fills it: the model resets around
    // that, and the root is selected and opened one level when there is one.
    void TreeReplacing() override;
    void TreeReplaced() override;
    // True (after telling the user) when a category at `depth` would be too deep for the file.
    bool RefuseDepth(int depth);

    TNotesDocument& Document;
    TNotesTree& Tree;
    IDialogues& Dialogues;
    TNotesTreeModel* FModel = nullptr;
    TNotesTreeView* FTreeView = nullptr;
    INotesEditor* FEditor = nullptr;
    TNoteNode* FSelected = nullptr;
    int FSplit = 129;
};
