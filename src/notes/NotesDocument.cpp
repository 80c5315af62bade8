#include "notes/NotesDocument.h"

#include "notes/NotesFile.h"

#include <algorithm>
#include <utility>
#include <vector>

bool TNotesDocument::Load(TDataFile& file, TIoError& ioError)
{
    TNotesTree tree;
    const bool read = LoadNotes(tree, file, ioError);
    Adopt(std::move(tree));
    return read;
}

void TNotesDocument::Adopt(TNotesTree tree)
{
    if (View)
        View->TreeReplacing();
    // Whatever is still in memory gives way to the file's.
    FTree = std::move(tree);
    FLoaded = true;
    if (View)
        View->TreeReplaced();
}

void TNotesDocument::StoreView()
{
    if (View)
        View->StoreSelected();
}

void TNotesDocument::StoreViewInPassing()
{
    if (View)
        View->StoreSelectedInPassing();
}

std::unique_ptr<TNotesTree> TNotesDocument::CopyTree() const
{
    // The copy shares each category's lines until either side changes them.
    return std::make_unique<TNotesTree>(FTree);
}

void TNotesDocument::Clear()
{
    if (View)
        View->TreeReplacing();
    FTree.Clear();
    FLoaded = false;
    if (View)
        View->TreeReplaced();
}
