#include "BenchFolder.h"
#include "BenchNotes.h"
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
