#include "notes/NotesDocument.h"

#include "notes/NotesFile.h"

bool TNotesDocument::Load(TDataFile& file, TIoError& ioError)
{
    if (View)
        View->TreeReplacing();
    // Whatever is still in memory gives way to the file.
    FTree.Clear();
    const bool read = LoadNotes(FTree, file, ioError);
    FLoaded = true;
    if (View)
        View->TreeReplaced();
    return read;
}

void TNotesDocument::StoreView()
{
    if (View)
        View->StoreSelected();
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
