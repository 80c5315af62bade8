#include "notes/NotesTable.h"

#include <benchmark/benchmark.h>
#include <random>
#include <string>
#include <vector>

namespace
{

constexpr int NoteLines = 100'000;

// A 100,000-line text of ten TAB-separated fields of 1 to 12 characters,
// about a quarter of them numbers.
std::vector<std::string> MakeText()
{
    std::mt19937 random(7);
    const std::string letters = "abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::vector<std::string> lines(NoteLines);
    for (std::string& line : lines)
        for (int field = 0; field < 10; ++field) {
            if (field > 0)
                line += '\t';
            if (random() % 4 == 0) {
                line += std::to_string(random() % 100000);
                continue;
            }
            const size_t length = 1 + random() % 12;
            for (size_t i = 0; i < length; ++i)
                line += letters[random() % letters.size()];
        }
    return lines;
}

const std::vector<std::string>& Text()
{
    static const std::vector<std::string> text = MakeText();
    return text;
}

void BM_MemoToGrid(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(MemoToGrid(Text()));
}
BENCHMARK(BM_MemoToGrid)->Unit(benchmark::kMillisecond);

void BM_GridToMemo(benchmark::State& state)
{
    const TNotesTable table = MemoToGrid(Text());
    for (auto _ : state)
        benchmark::DoNotOptimize(GridToMemo(table, 1));
}
BENCHMARK(BM_GridToMemo)->Unit(benchmark::kMillisecond);

// Each sort starts from the unsorted table; copying it is not timed.
void BM_SortRows(benchmark::State& state)
{
    const TNotesTable unsorted = MemoToGrid(Text());
    const bool numeric = state.range(0) != 0;
    TNotesTable table;
    for (auto _ : state) {
        state.PauseTiming();
        table = unsorted;
        state.ResumeTiming();
        SortRows(table, numeric ? 2 : 1, numeric ? "10" : "abc");
        benchmark::DoNotOptimize(table);
    }
}
BENCHMARK(BM_SortRows)->Arg(0)->Arg(1)->ArgName("numeric")->Unit(benchmark::kMillisecond);

} // namespace
