// What a save costs with a 100,000-event diary and a 40 MB NOTES.DAT: on the
// window's thread (the snapshot) and on the writer's (formatting, writing).
#include "BenchDiary.h"
#include "BenchFolder.h"
#include "BenchNotes.h"
#include "diary/DiaryFile.h"
#include "notes/NotesFile.h"
#include "session/DataSession.h"

#include <benchmark/benchmark.h>

namespace
{

// The data folder with both files, loaded into a session.
struct TBenchSession {
    TBenchSession()
    {
        TIoError ioError;
        TDiaryDays days;
        FillBenchDiary(days, 100'000);
        TNotesTree tree;
        FillNotes(tree);
        if (!SaveDiary(days, Folder.Path, ioError) || !SaveNotes(tree, Folder.Path, ioError))
            std::abort();
        Session.Load();
    }
    // One character typed into the diary or the notes.
    void Type(TDataKind kind)
    {
        if (kind == dkDiary) {
            TDiaryEvent* event = Session.Diary().EventAtRow(1);
            event->Description = event->Description == "x" ? "y" : "x";
        } else {
            // As the memo stores its category: the lines replaced whole.
            TNoteLines& lines = NoteDataOf(*Session.Notes().Tree().Root()).Lines;
            std::vector<std::string> all = lines.Strings();
            all[0].back() = all[0].back() == 'x' ? 'y' : 'x';
            lines = TNoteLines(all);
        }
        Session.Changed(kind);
    }
    // The same into the file the benchmark's argument names, untimed.
    void TypeUntimed(benchmark::State& state)
    {
        state.PauseTiming();
        Type(static_cast<TDataKind>(state.range(0)));
        state.ResumeTiming();
    }

    TBenchFolder Folder;
    TFixedClock Clock { EncodeDate(2026, 3, 1) + EncodeTime(9, 0) };
    TDataSession Session { Clock, Folder.Path };
};

// Hiding or the exit with nothing changed.
void BM_CloseUnchanged(benchmark::State& state)
{
    TBenchSession bench;
    for (auto _ : state)
        benchmark::DoNotOptimize(bench.Session.Save(TSaveMode::Closing));
}
BENCHMARK(BM_CloseUnchanged)->Unit(benchmark::kMillisecond);

// The autosave's part on the window's thread after one character.
void BM_SnapshotAfterTyping(benchmark::State& state)
{
    TBenchSession bench;
    for (auto _ : state) {
        bench.TypeUntimed(state);
        benchmark::DoNotOptimize(bench.Session.Snapshot(TSaveMode::InPassing));
    }
}
BENCHMARK(BM_SnapshotAfterTyping)->Arg(dkDiary)->Arg(dkNotes)->Unit(benchmark::kMillisecond);

// The writer's part: formatting what the snapshot holds and writing it.
void BM_WriteAfterTyping(benchmark::State& state)
{
    TBenchSession bench;
    const auto kind = static_cast<TDataKind>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        bench.Type(kind);
        TDataSession::TSnapshot snapshot = bench.Session.Snapshot(TSaveMode::InPassing);
        state.ResumeTiming();
        bench.Session.Finish(bench.Session.Write(std::move(snapshot)));
    }
}
BENCHMARK(BM_WriteAfterTyping)->Arg(dkDiary)->Arg(dkNotes)->Unit(benchmark::kMillisecond);

// The whole save on one thread, as hiding makes it.
void BM_SaveAfterTyping(benchmark::State& state)
{
    TBenchSession bench;
    for (auto _ : state) {
        bench.TypeUntimed(state);
        benchmark::DoNotOptimize(bench.Session.Save(TSaveMode::Closing));
    }
}
BENCHMARK(BM_SaveAfterTyping)->Arg(dkDiary)->Arg(dkNotes)->Unit(benchmark::kMillisecond);

} // namespace
