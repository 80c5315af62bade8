#include "BenchFolder.h"
#include "notes/NotesFile.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

namespace fs = std::filesystem;

namespace
{

constexpr int Categories = 10'000;
constexpr int LinesPerCategory = 100;

// About 40 MB: 10,000 categories up to five levels deep, each holding 100
// lines of 10 to 70 characters (1,000,000 lines in all).
void FillNotes(TNotesTree& tree)
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
        data.Lines.resize(LinesPerCategory);
        for (std::string& line : data.Lines) {
            line.resize(10 + random() % 61);
            for (char& c : line)
                c = letters[random() % letters.size()];
        }
    }
}

void BM_LoadNotes(benchmark::State& state)
{
    TBenchFolder folder;
    TIoError ioError;
    {
        TNotesTree tree;
        FillNotes(tree);
        if (!SaveNotes(tree, folder.Path, ioError))
            state.SkipWithError("could not write the notes");
    }
    const auto bytes = static_cast<int64_t>(fs::file_size(folder.Path / NotesFileName));
    for (auto _ : state) {
        auto tree = std::make_unique<TNotesTree>();
        LoadNotes(*tree, folder.Path, ioError);
        benchmark::DoNotOptimize(tree.get());
        state.PauseTiming();
        tree.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(BM_LoadNotes)->Unit(benchmark::kMillisecond);

// With the flush to the disk that every save makes.
void BM_SaveNotes(benchmark::State& state)
{
    TBenchFolder folder;
    TIoError ioError;
    TNotesTree tree;
    FillNotes(tree);
    for (auto _ : state)
        if (!SaveNotes(tree, folder.Path, ioError))
            state.SkipWithError("could not write the notes");
    state.SetBytesProcessed(
        state.iterations() * static_cast<int64_t>(fs::file_size(folder.Path / NotesFileName)));
}
BENCHMARK(BM_SaveNotes)->Unit(benchmark::kMillisecond);

// Freeing the loaded tree, as an exit does.
void BM_ClearNotes(benchmark::State& state)
{
    TNotesTree source;
    FillNotes(source);
    const std::string text = FormatNotes(source);
    for (auto _ : state) {
        state.PauseTiming();
        TNotesTree tree;
        ParseNotes(text, tree);
        state.ResumeTiming();
        tree.Clear();
    }
}
BENCHMARK(BM_ClearNotes)->Unit(benchmark::kMillisecond);

} // namespace
