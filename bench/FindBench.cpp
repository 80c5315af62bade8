#include "BenchDiary.h"
#include "find/FindSearch.h"
#include "notes/NotesTree.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace
{

// A diary search through 100,000 events that finds nothing: both passes.
void BM_FindInDiaryNothing(benchmark::State& state)
{
    TFixedClock clock(EncodeDate(2026, 5, 15) + EncodeTime(12, 0));
    TDiaryStore store(clock);
    TIoError ioError;
    store.OpenDiary(std::filesystem::path("/nonexistent-talvo-folder"), ioError);
    FillBenchDiary(store.DiaryDays, 100'000);
    for (auto _ : state)
        benchmark::DoNotOptimize(FindInDiary(store, "#nowhere"));
}
BENCHMARK(BM_FindInDiaryNothing)->Unit(benchmark::kMillisecond);

// A notes search through 1,000 categories of 1,000 lines each that finds
// nothing, from the first category's start to the tree's end.
void BM_FindInNotesNothing(benchmark::State& state)
{
    TNotesTree tree;
    TNoteNode& root = tree.Add(nullptr, "My Notes");
    std::mt19937 random(11);
    const std::string letters = "abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789\t";
    for (int c = 0; c < 1000; ++c) {
        TNoteNode& category = tree.Add(
            c % 10 == 0 ? &root : root.Children.back().get(), "Category " + std::to_string(c));
        TNoteLines& lines = NoteDataOf(category).Lines;
        std::string line;
        for (int i = 0; i < 1000; ++i) {
            line.resize(random() % 60);
            for (char& ch : line)
                ch = letters[random() % letters.size()];
            lines.push_back(line);
        }
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(FindInNotes(tree, &root, 1, "#nowhere"));
}
BENCHMARK(BM_FindInNotesNothing)->Unit(benchmark::kMillisecond);

} // namespace
