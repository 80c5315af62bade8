#pragma once

#include "base/DataFile.h"
#include "base/IoError.h"
#include "notes/NotesTree.h"

#include <memory>

// What the notes document asks of a page that shows the tree.
class INotesView
{
public:
    virtual ~INotesView() = default;
    // Puts what the page shows of the selected category into the tree.
    virtual void StoreSelected() = 0;
    // The same for a save the user did not ask for: the page stays exactly as
    // it is (caret, scroll, word wrap, a cell being edited, where find goes on).
    virtual void StoreSelectedInPassing() = 0;
    // The tree is about to be emptied: the page lets go of every category.
    virtual void TreeReplacing() = 0;
    // The tree holds what was read (or nothing): the page shows it.
    virtual void TreeReplaced() = 0;
};

// The notes in memory: the category tree and the page that shows it. It lives
// as long as the data session that owns it; the page, built when first shown,
// attaches to it as its view and detaches before it goes. Without a view the
// tree is as the last change left it.
//
// A copy is a snapshot of the tree without the view (what the view shows but
// has not stored is not in it). It costs about what the categories' names do:
// the lines are shared, and the original's later changes leave the copy as it
// was, so a copy can be read on another thread while the original is edited.
class TNotesDocument final
{
public:
    TNotesDocument() = default;
    TNotesDocument(const TNotesDocument& other)
        : FTree(other.FTree)
        , FLoaded(other.FLoaded)
    {
    }
    TNotesDocument& operator=(const TNotesDocument&) = delete;

    void SetView(INotesView* view) { View = view; }
    TNotesTree& Tree() { return FTree; }
    // True from a load until the tree is freed.
    bool Loaded() const { return FLoaded && !FTree.Empty(); }

    // Replaces the tree with the file's (or the default tree), telling the
    // view before and after. False after a read error.
    bool Load(TDataFile& file, TIoError& ioError);
    // Replaces the tree with one read elsewhere, as Load does.
    void Adopt(TNotesTree tree);
    // Puts what the view shows into the tree.
    void StoreView();
    // The same, leaving the view exactly as it is.
    void StoreViewInPassing();
    // A copy of the tree as it stands, which another thread may format while
    // this one goes on changing the tree.
    std::unique_ptr<TNotesTree> CopyTree() const;
    // Stores the view into the tree, then frees the whole tree.
    void Clear();

private:
    TNotesTree FTree;
    INotesView* View = nullptr;
    bool FLoaded = false;
};
