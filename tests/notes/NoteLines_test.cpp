#include "notes/NoteLines.h"
#include "notes/NotesDocument.h"
#include "notes/NotesFile.h"

#include <gtest/gtest.h>
#include <thread>

namespace
{

using Lines = std::vector<std::string>;

const Lines Texts[] = {
    {},
    { "" },
    { "", "", "" },
    { "Call Jo", "  -5 Äpfel  ", "a\tb\t\tc" },
    { "lone\nLF", "ÿ starts", "東京 😀 ŁÓDŹ", "ABCDEFGHIJKLMNOPQRSTUVWXYZ",
        "abcdefghijklmnopqrstuvwxyz" },
};

} // namespace

TEST(NoteLines, HoldEachLineAsGiven)
{
    for (const Lines& text : Texts) {
        const TNoteLines lines(text);
        ASSERT_EQ(lines.size(), text.size());
        for (size_t i = 0; i < text.size(); ++i)
            EXPECT_EQ(lines[i], text[i]);
        EXPECT_EQ(lines.Strings(), text);
        EXPECT_EQ(lines, text);
        TNoteLines ahead { "first", "" };
        ahead.Prepend(lines);
        Lines joined = text;
        joined.insert(joined.end(), { "first", "" });
        EXPECT_EQ(ahead, joined);
    }
    EXPECT_FALSE(TNoteLines({ "a", "b" }) == TNoteLines({ "ab", "" }));
    EXPECT_FALSE(TNoteLines({ "a" }) == (Lines { "a", "" }));
}

TEST(NoteLines, ACopyKeepsItsLinesWhateverTheOriginalBecomes)
{
    for (const Lines& text : Texts) {
        TNoteLines original(text);
        const TNoteLines copy = original;
        EXPECT_TRUE(copy.empty() || copy.Shares(original));
        original.push_back("added");
        EXPECT_EQ(copy, text);
        EXPECT_EQ(original.size(), text.size() + 1);
        EXPECT_FALSE(copy.Shares(original));
        original = { "replaced" };
        original.ShrinkToFit();
        EXPECT_EQ(copy, text);
    }
}

// Saving from a copy on a worker while the page goes on changing the notes.
TEST(NotesDocument, ACopyIsASnapshotAWorkerCanRead)
{
    TNotesDocument document;
    TNotesTree tree;
    TNoteNode& root = tree.Add(nullptr, "My Notes");
    NoteDataOf(root).Lines = { "Call Jo", "Äpfel -5" };
    TNoteNode& work = tree.Add(&root, "Work");
    NoteDataOf(work).Lines = { "a\tb" };
    tree.Add(&work, "東京");
    document.Adopt(std::move(tree));
    const std::string before = FormatNotes(document.Tree());

    TNotesDocument copy(document);
    EXPECT_TRUE(copy.Loaded());
    EXPECT_TRUE(copy.Tree().Root()->Data->Lines.Shares(root.Data->Lines));
    std::string written;
    std::thread worker([&copy, &written] { written = FormatNotes(copy.Tree()); });
    root.Data->Lines.push_back("typed");
    work.Data->Lines = { "replaced" };
    work.Name = "Home";
    document.Tree().Add(&root, "new");
    document.Tree().Delete(*work.Children.front());
    worker.join();

    EXPECT_EQ(written, before);
    EXPECT_NE(FormatNotes(document.Tree()), before);
}
