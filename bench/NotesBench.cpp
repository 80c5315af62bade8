#include "BenchFolder.h"
#include "BenchNotes.h"
#include "notes/NotesDocument.h"
#include "notes/NotesFile.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <malloc.h>
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
    size_t held = 0;
    for (auto _ : state) {
        const size_t before = ::mallinfo2().uordblks;
        auto tree = std::make_unique<TNotesTree>();
        LoadNotes(*tree, folder.Path, ioError);
        benchmark::DoNotOptimize(tree.get());
        state.PauseTiming();
        held = ::mallinfo2().uordblks - before;
        tree.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    // What the loaded notes keep of the heap, against the file's size.
    state.counters["held/file"] = static_cast<double>(held) / static_cast<double>(bytes);
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

// The text a save writes, without the writing.
void BM_FormatNotes(benchmark::State& state)
{
    TNotesTree tree;
    FillNotes(tree);
    for (auto _ : state)
        benchmark::DoNotOptimize(FormatNotes(tree));
}
BENCHMARK(BM_FormatNotes)->Unit(benchmark::kMillisecond);

// The snapshot a save on a worker starts from: the categories are copied, the
// lines shared.
void BM_CopyNotes(benchmark::State& state)
{
    TNotesDocument document;
    TNotesTree tree;
    FillNotes(tree);
    document.Adopt(std::move(tree));
    for (auto _ : state) {
        TNotesDocument copy(document);
        benchmark::DoNotOptimize(copy.Tree().Root());
        state.PauseTiming();
        copy.Tree().Clear();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CopyNotes)->Unit(benchmark::kMillisecond);

} // namespace
