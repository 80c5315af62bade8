#pragma once

#include "base/DataFile.h"
#include "base/IoError.h"
#include "notes/NotesEditor.h"
#include "notes/NotesTree.h"

#include <QWidget>
#include <cstdint>
#include <filesystem>
#include <optional>

class IDialogues;
class QAction;
class QMenu;
class QSplitter;
class QToolBar;
class QTreeView;
class TNotesTreeModel;
class TNotesTreeView;

// The "Notes Tree" page: the tool bar above the category tree and the right
// pane that shows the selected category. One rule keeps page and store in
// step: whenever the selection moves, the page is stored into the category
// being left and the new one is shown (NotesChange).
//
// The tree belongs to the main window; the page reads and changes it through
// its model, and never touches it in its destructor.
class TNotesPage final : public QWidget
{
    Q_OBJECT
public:
    static constexpr int HelpTopic = 5;

    // Without an editor the page makes a plain text pane.
    TNotesPage(TNotesTree& tree, IDialogues& dialogues, INotesEditor* editor = nullptr,
        QWidget* parent = nullptr);
    ~TNotesPage() override;

    // Replaces the tree with "NOTES.DAT" from the folder (or the default tree), selects
    // and shows the root and opens it one level. False when the file was not
    // read to its end.
    bool OpenNotes(const std::filesystem::path& folder, TIoError& ioError);
    // Stores the page into the selected category, then writes "NOTES.DAT"
    // where OpenNotes read it (with `onlyIfChanged`, only when the text
    // differs from what was last written; never when the file holds it
    // already). A failure is reported in an error
    // box naming the file and the reason, and the notes stay in memory; false
    // then. A tree that was not read (or was freed) is never written.
    bool SaveNotes(TIoError& ioError, TDateTime now, bool onlyIfChanged = false);
    // Tells the user, once, that the last load stopped before the file's end.
    void ShowLoadNotice(TDateTime now);
    // Stores the page into the selected category (when it has a record).
    void StoreSelected();
    // Stores the page into the selected category, then frees the whole tree.
    void ClearNotes();
    // Closes a name edit and a cell edit, keeping what was typed.
    void EndEditing();

    // The tree's width, for "WinSplit".
    int Split() const { return FSplit; }
    void SetSplit(int width);

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
    void CurrentChanged(const QModelIndex& current);
    void SelectRoot();
    // True (after telling the user) when a category at `depth` would be too deep for the file.
    bool RefuseDepth(int depth);

    TNotesTree& Tree;
    IDialogues& Dialogues;
    TNotesTreeModel* FModel = nullptr;
    TNotesTreeView* FTreeView = nullptr;
    INotesEditor* FEditor = nullptr;
    TNoteNode* FSelected = nullptr;
    int FSplit = 129;
    std::optional<TDataFile> NotesData;
    std::optional<size_t> SavedDigest;
};
