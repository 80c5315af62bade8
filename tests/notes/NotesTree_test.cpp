#include "notes/NotesTree.h"

#include <gtest/gtest.h>

namespace
{

std::string Names(const TNotesTree& tree, const TNoteNode* parent)
{
    std::string names;
    size_t row = 0;
    for (const TNoteLink& child : tree.ChildrenOf(parent)) {
        EXPECT_EQ(child->Row, row++);
        EXPECT_EQ(child->Parent, parent);
        names += child->Name + ",";
    }
    return names;
}

// Orders by the first character only, so equal keys show whether the sort keeps their order.
bool FirstLetterLess(const std::string& a, const std::string& b)
{
    return a.substr(0, 1) < b.substr(0, 1);
}

} // namespace

TEST(NotesTree, SortsAreStableAndReachTheLevelsAsked)
{
    TNotesTree tree;
    BuildDefaultNotes(tree);
    TNoteNode& root = *tree.Root();
    TNoteNode& toDo = *root.Children[1];
    tree.Add(&toDo, "W2");
    tree.SortChildren(&toDo, FirstLetterLess);
    EXPECT_EQ(Names(tree, &toDo), "Home,Work,W2,");
    TNoteNode& books = *root.Children[0];
    EXPECT_EQ(Names(tree, &books), "Business,Services,Personal,");
    tree.SortSubtree(&root, FirstLetterLess);
    EXPECT_EQ(Names(tree, &books), "Business,Personal,Services,");
    tree.Add(nullptr, "A second top");
    tree.SortAll(FirstLetterLess);
    EXPECT_EQ(Names(tree, nullptr), "A second top,My Notes,");
}

TEST(NotesTree, MovesDetachesAndMeasures)
{
    TNotesTree tree;
    BuildDefaultNotes(tree);
    TNoteNode& root = *tree.Root();
    TNoteNode& books = *root.Children[0];
    TNoteNode& toDo = *root.Children[1];
    TNoteNode& business = *books.Children[0];
    tree.Move(toDo, &business);
    EXPECT_EQ(Names(tree, &root), "@Address Books,");
    EXPECT_EQ(Names(tree, &business), "@To Do,");
    EXPECT_EQ(TNotesTree::Depth(*toDo.Children[0]), 5);
    EXPECT_EQ(TNotesTree::Height(root), 5);
    EXPECT_EQ(TNotesTree::Height(toDo), 2);
    EXPECT_TRUE(TNotesTree::IsWithin(toDo, books));
    EXPECT_FALSE(TNotesTree::IsWithin(books, toDo));
    std::string order;
    for (const TNoteNode* n = &root; n; n = tree.NextInOrder(*n))
        order += n->Name + ",";
    EXPECT_EQ(order, "My Notes,@Address Books,Business,@To Do,Work,Home,Services,Personal,");
    // Taking out a middle child numbers the ones after it again.
    TNoteLink work = tree.Detach(*toDo.Children[0]);
    EXPECT_EQ(work->Name, "Work");
    EXPECT_EQ(Names(tree, &books), "Business,Services,Personal,");
    const TNoteLink services = tree.Detach(*books.Children[1]);
    EXPECT_EQ(services->Name, "Services");
    ASSERT_EQ(books.Children.size(), 2u);
    for (size_t i = 0; i < books.Children.size(); ++i)
        EXPECT_EQ(books.Children[i]->Row, i) << books.Children[i]->Name;
    tree.Delete(books);
    EXPECT_EQ(Names(tree, &root), "");
    tree.Clear();
    EXPECT_TRUE(tree.Empty());
}

TEST(NotesTree, DeepAndWideTreesAreFreedWithoutRecursion)
{
    TNotesTree tree;
    TNoteNode* node = &tree.Add(nullptr, "deep");
    for (int i = 0; i < 200'000; ++i)
        node = &tree.Add(node, "d");
    TNoteNode& wide = tree.Add(nullptr, "wide");
    for (int i = 0; i < 100'000; ++i)
        NoteDataOf(tree.Add(&wide, "w")).Lines = { "line", "line" };
    tree.Clear();
    EXPECT_TRUE(tree.Empty());
}
