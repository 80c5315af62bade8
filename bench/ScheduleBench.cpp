#include "BenchDiary.h"
#include "schedule/ScheduleList.h"

#include <benchmark/benchmark.h>
#include <filesystem>

namespace
{

// The schedule of a 100,000-event diary, every event shown.
void BM_FillSchedule(benchmark::State& state)
{
    TFixedClock clock(EncodeDate(2026, 5, 15) + EncodeTime(12, 0));
    TDiaryStore store(clock);
    TIoError ioError;
    store.OpenDiary(std::filesystem::path("/nonexistent-talvo-folder"), ioError);
    FillBenchDiary(store.DiaryDays, 100'000);
    size_t listed = 0;
    for (auto _ : state) {
        const TScheduleList list = FillScheduleList(store, clock.Now(), true);
        listed = list.Elements.size();
        benchmark::DoNotOptimize(list.Elements.data());
    }
    state.counters["listed"] = static_cast<double>(listed);
}
BENCHMARK(BM_FillSchedule)->Unit(benchmark::kMillisecond);

} // namespace
