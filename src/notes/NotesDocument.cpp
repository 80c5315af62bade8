#include "notes/NotesDocument.h"

#include "notes/NotesFile.h"

#include <algorithm>
#include <utility>
#include <vector>

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

void TNotesDocument::StoreViewInPassing()
{
    if (View)
        View->StoreSelectedInPassing();
}

std::unique_ptr<TNotesTree> TNotesDocument::CopyTree() const
{
    auto copy = std::make_unique<TNotesTree>();
    // Depth first without recursion: each node of the copy beside its original.
    std::vector<std::pair<const TNoteNode*, TNoteNode*>> pending;
    for (const TNoteLink& top : FTree.TopLevel())
        pending.emplace_back(top.get(), nullptr);
    std::reverse(pending.begin(), pending.end());
    while (!pending.empty()) {
        const auto [node, parent] = pending.back();
        pending.pop_back();
        TNoteNode& added = copy->Add(parent, node->Name);
        added.ImageIndex = node->ImageIndex;
        if (node->Data)
            added.Data = std::make_unique<TNoteData>(*node->Data);
        for (auto child = node->Children.rbegin(); child != node->Children.rend(); ++child)
            pending.emplace_back(child->get(), &added);
    }
    return copy;
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
