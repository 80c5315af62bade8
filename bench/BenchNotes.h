#pragma once

#include "notes/NotesTree.h"

#include <random>
#include <string>
#include <vector>

inline constexpr int Categories = 10'000;
inline constexpr int LinesPerCategory = 100;

// About 40 MB: 10,000 categories up to five levels deep, each holding 100
// lines of 10 to 70 characters (1,000,000 lines in all).
inline void FillNotes(TNotesTree& tree)
{
    std::mt19937 random(11);
    const std::string letters = "abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789\t";
    std::vector<TNoteNode*> nodes { &tree.Add(nullptr, "My Notes") };
    while (nodes.size() < Categories) {
        TNoteNode* parent = nodes[random() % nodes.size()];
        if (TNotesTree::Depth(*parent) < 5)
            nodes.push_back(&tree.Add(parent, "Category " + std::to_string(nodes.size())));
    }
    for (TNoteNode* node : nodes) {
        TNoteData& data = NoteDataOf(*node);
        std::string line;
        for (int i = 0; i < LinesPerCategory; ++i) {
            line.resize(10 + random() % 61);
            for (char& c : line)
                c = letters[random() % letters.size()];
            data.Lines.push_back(line);
        }
        data.Lines.ShrinkToFit();
    }
}
