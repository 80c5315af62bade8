#pragma once

#include "base/DataFile.h"
#include "base/DateTime.h"
#include "base/IoError.h"
#include "notes/NotesTree.h"

#include <cstddef>
#include <filesystem>
#include <optional>

class IDialogues;

// What the notes document asks of a page that shows the tree.
class INotesView
{
public:
    virtual ~INotesView() = default;
    // Puts what the page shows of the selected category into the tree.
    virtual void StoreSelected() = 0;
    // The tree is about to be emptied: the page lets go of every category.
    virtual void TreeReplacing() = 0;
    // The tree holds what was read (or nothing): the page shows it.
    virtual void TreeReplaced() = 0;
};

// The notes in memory and their file: the category tree, "NOTES.DAT" with
// how its last load ended, and a digest of what the last save wrote. It lives
// as long as the main window; the page, built when first shown, attaches to it
// as its view and detaches before it goes. Without a view a save writes the
// tree as it is.
class TNotesDocument final
{
public:
    explicit TNotesDocument(IDialogues& dialogues);
    TNotesDocument(const TNotesDocument&) = delete;
    TNotesDocument& operator=(const TNotesDocument&) = delete;

    void SetView(INotesView* view) { View = view; }
    TNotesTree& Tree() { return FTree; }
    // True from a load until the tree is freed.
    bool Loaded() const { return NotesData && !FTree.Empty(); }

    // Replaces the tree with "NOTES.DAT" from the folder (or the default tree).
    // False when the file was not read to its end.
    bool Open(const std::filesystem::path& folder, TIoError& ioError);
    // Stores the view into the tree, then writes "NOTES.DAT" where Open read
    // it (with `onlyIfChanged`, only when the text differs from what was last
    // written; never when the file holds it already). A failure is reported in an error box naming
    // the file and the reason, and the notes stay in memory; false then. A tree that was not read
    // (or was freed) is never written.
    bool Save(TIoError& ioError, TDateTime now, bool onlyIfChanged = false);
    // Tells the user, once, that the last load stopped before the file's end.
    void ShowLoadNotice(TDateTime now);
    // Stores the view into the tree, then frees the whole tree.
    void Clear();

private:
    IDialogues& Dialogues;
    TNotesTree FTree;
    INotesView* View = nullptr;
    std::optional<TDataFile> NotesData;
    std::optional<size_t> SavedDigest;
};
