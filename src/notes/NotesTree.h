#pragma once

#include "notes/NoteData.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct TNoteNode;
using TNoteLink = std::unique_ptr<TNoteNode>;

// One category: its name (8-bit text, one line), its sub-categories in order
// and its content record, which comes into being when the category is first
// shown, loaded or saved.
//
// Ownership: a node owns its children and its record; the tree owns the
// top-level nodes. Parent and Row are kept by TNotesTree and say where the
// node hangs, so the tree model finds a node's row without a search.
struct TNoteNode {
    TNoteNode() = default;
    TNoteNode(const TNoteNode&) = delete;
    TNoteNode& operator=(const TNoteNode&) = delete;
    // Frees the subtree without recursion, however deep it is.
    ~TNoteNode();

    std::string Name;
    std::vector<TNoteLink> Children;
    std::unique_ptr<TNoteData> Data;
    // The picture in the tree: 0 text, 1 table. It follows the record's
    // AsGrid at load and the view buttons while the category is shown.
    uint8_t ImageIndex = 0;
    TNoteNode* Parent = nullptr;
    size_t Row = 0;
};

// The order of names: true when `a` comes before `b`. The page passes the
// desktop's collation; the core never looks at the locale itself.
using TNameLess = std::function<bool(const std::string& a, const std::string& b)>;

// A new record: no lines, text view, every column 64 pixels wide.
std::unique_ptr<TNoteData> NewNoteData();
// The node's record, attached first when it has none.
TNoteData& NoteDataOf(TNoteNode& node);

// The category tree. It normally holds one top-level category, the root;
// a file may hold more, and then they all stay, in the file's order.
class TNotesTree
{
public:
    // The file holds a category's depth as one digit.
    static constexpr int MaxLevels = 9;

    TNotesTree() = default;
    // Copies every category; a copy's records share their lines with the
    // original's until either side changes them, so a copy costs about what
    // the names do.
    TNotesTree(const TNotesTree& other);
    TNotesTree& operator=(const TNotesTree& other);
    TNotesTree(TNotesTree&&) noexcept = default;
    TNotesTree& operator=(TNotesTree&&) noexcept = default;

    const std::vector<TNoteLink>& TopLevel() const { return Top; }
    // The first top-level category, or null for an empty tree.
    TNoteNode* Root() const { return Top.empty() ? nullptr : Top.front().get(); }
    bool Empty() const { return Top.empty(); }
    // The children of `parent`, or the top level for null.
    const std::vector<TNoteLink>& ChildrenOf(const TNoteNode* parent) const;

    // Adds a category as the last child of `parent` (at the top level for null).
    TNoteNode& Add(TNoteNode* parent, std::string name);
    // Takes the node out of the tree; its subtree goes with it.
    TNoteLink Detach(TNoteNode& node);
    // Detaches and frees the node with its subtree.
    void Delete(TNoteNode& node) { Detach(node); }
    // Makes `node` the last child of `target` (top level for null).
    void Move(TNoteNode& node, TNoteNode* target);
    // Frees every category, however deep or wide the tree.
    void Clear();

    // Stable sorts by name: the children of one parent (the top level for null),
    // and every level below a node (the node's own children included).
    void SortChildren(TNoteNode* parent, const TNameLess& less);
    void SortSubtree(TNoteNode* node, const TNameLess& less);
    void SortAll(const TNameLess& less);

    // 1 for a top-level category.
    static int Depth(const TNoteNode& node);
    // How many levels the subtree spans: 1 for a category without children.
    static int Height(const TNoteNode& node);
    // True when `node` is `ancestor` or lies below it.
    static bool IsWithin(const TNoteNode& node, const TNoteNode& ancestor);
    // Depth-first pre-order: the next category after `node`, or null at the end.
    const TNoteNode* NextInOrder(const TNoteNode& node) const;

private:
    std::vector<TNoteLink>& MutableChildrenOf(TNoteNode* parent);
    static void Renumber(std::vector<TNoteLink>& nodes, size_t from);

    std::vector<TNoteLink> Top;
};

// A new tree's categories: "My Notes" holding "@Address Books" (with
// "Business", "Services", "Personal") and "@To Do" (with "Work", "Home").
// Records are not attached.
void BuildDefaultNotes(TNotesTree& tree);
