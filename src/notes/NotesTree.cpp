#include "notes/NotesTree.h"

#include <algorithm>
#include <utility>

TNoteNode::~TNoteNode()
{
    // Each node is freed once its children have been moved out, so no
    // destructor ever runs another one with children.
    std::vector<TNoteLink> pending = std::move(Children);
    while (!pending.empty()) {
        TNoteLink node = std::move(pending.back());
        pending.pop_back();
        for (TNoteLink& child : node->Children)
            pending.push_back(std::move(child));
        node->Children.clear();
    }
}

std::unique_ptr<TNoteData> NewNoteData()
{
    return std::make_unique<TNoteData>();
}

TNoteData& NoteDataOf(TNoteNode& node)
{
    if (!node.Data)
        node.Data = NewNoteData();
    return *node.Data;
}

TNotesTree::TNotesTree(const TNotesTree& other)
{
    // Depth first without recursion, however deep the tree.
    std::vector<std::pair<const TNoteNode*, TNoteNode*>> pending;
    for (auto top = other.Top.rbegin(); top != other.Top.rend(); ++top)
        pending.emplace_back(top->get(), nullptr);
    while (!pending.empty()) {
        const auto [from, parent] = pending.back();
        pending.pop_back();
        TNoteNode& node = Add(parent, from->Name);
        if (from->Data)
            node.Data = std::make_unique<TNoteData>(*from->Data);
        node.ImageIndex = from->ImageIndex;
        node.Children.reserve(from->Children.size());
        for (auto child = from->Children.rbegin(); child != from->Children.rend(); ++child)
            pending.emplace_back(child->get(), &node);
    }
}

TNotesTree& TNotesTree::operator=(const TNotesTree& other)
{
    if (this != &other)
        *this = TNotesTree(other);
    return *this;
}

const std::vector<TNoteLink>& TNotesTree::ChildrenOf(const TNoteNode* parent) const
{
    return parent ? parent->Children : Top;
}

std::vector<TNoteLink>& TNotesTree::MutableChildrenOf(TNoteNode* parent)
{
    return parent ? parent->Children : Top;
}

void TNotesTree::Renumber(std::vector<TNoteLink>& nodes, size_t from)
{
    for (size_t i = from; i < nodes.size(); ++i)
        nodes[i]->Row = i;
}

TNoteNode& TNotesTree::Add(TNoteNode* parent, std::string name)
{
    std::vector<TNoteLink>& siblings = MutableChildrenOf(parent);
    auto node = std::make_unique<TNoteNode>();
    node->Name = std::move(name);
    node->Parent = parent;
    node->Row = siblings.size();
    siblings.push_back(std::move(node));
    return *siblings.back();
}

TNoteLink TNotesTree::Detach(TNoteNode& node)
{
    std::vector<TNoteLink>& siblings = MutableChildrenOf(node.Parent);
    const size_t row = node.Row;
    TNoteLink taken = std::move(siblings[row]);
    siblings.erase(siblings.begin() + static_cast<std::ptrdiff_t>(row));
    Renumber(siblings, row);
    taken->Parent = nullptr;
    taken->Row = 0;
    return taken;
}

void TNotesTree::Move(TNoteNode& node, TNoteNode* target)
{
    TNoteLink taken = Detach(node);
    std::vector<TNoteLink>& siblings = MutableChildrenOf(target);
    taken->Parent = target;
    taken->Row = siblings.size();
    siblings.push_back(std::move(taken));
}

void TNotesTree::Clear()
{
    // The nodes' own destructors free their subtrees without recursion.
    std::vector<TNoteLink> old = std::move(Top);
    Top.clear();
}

void TNotesTree::SortChildren(TNoteNode* parent, const TNameLess& less)
{
    std::vector<TNoteLink>& siblings = MutableChildrenOf(parent);
    std::stable_sort(siblings.begin(), siblings.end(),
        [&less](const TNoteLink& a, const TNoteLink& b) { return less(a->Name, b->Name); });
    Renumber(siblings, 0);
}

void TNotesTree::SortSubtree(TNoteNode* node, const TNameLess& less)
{
    std::vector<TNoteNode*> pending { node };
    while (!pending.empty()) {
        TNoteNode* parent = pending.back();
        pending.pop_back();
        SortChildren(parent, less);
        for (const TNoteLink& child : ChildrenOf(parent))
            if (!child->Children.empty())
                pending.push_back(child.get());
    }
}

void TNotesTree::SortAll(const TNameLess& less)
{
    SortSubtree(nullptr, less);
}

int TNotesTree::Depth(const TNoteNode& node)
{
    int depth = 1;
    for (const TNoteNode* n = node.Parent; n; n = n->Parent)
        ++depth;
    return depth;
}

int TNotesTree::Height(const TNoteNode& node)
{
    int height = 1;
    std::vector<std::pair<const TNoteNode*, int>> pending { { &node, 1 } };
    while (!pending.empty()) {
        const auto [n, level] = pending.back();
        pending.pop_back();
        height = std::max(height, level);
        for (const TNoteLink& child : n->Children)
            pending.emplace_back(child.get(), level + 1);
    }
    return height;
}

bool TNotesTree::IsWithin(const TNoteNode& node, const TNoteNode& ancestor)
{
    for (const TNoteNode* n = &node; n; n = n->Parent)
        if (n == &ancestor)
            return true;
    return false;
}

const TNoteNode* TNotesTree::NextInOrder(const TNoteNode& node) const
{
    if (!node.Children.empty())
        return node.Children.front().get();
    for (const TNoteNode* n = &node; n; n = n->Parent) {
        const std::vector<TNoteLink>& siblings = ChildrenOf(n->Parent);
        if (n->Row + 1 < siblings.size())
            return siblings[n->Row + 1].get();
    }
    return nullptr;
}

void BuildDefaultNotes(TNotesTree& tree)
{
    TNoteNode& root = tree.Add(nullptr, "My Notes");
    TNoteNode& books = tree.Add(&root, "@Address Books");
    for (const char* name : { "Business", "Services", "Personal" })
        tree.Add(&books, name);
    TNoteNode& toDo = tree.Add(&root, "@To Do");
    for (const char* name : { "Work", "Home" })
        tree.Add(&toDo, name);
}
