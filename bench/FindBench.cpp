#include "BenchDiary.h"
#include "find/FindSearch.h"

#include <benchmark/benchmark.h>
#include <filesystem>

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

} // namespace
