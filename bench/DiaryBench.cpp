#include "BenchFolder.h"
#include "diary/DiaryFile.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <malloc.h>
#include <random>
#include <string>

namespace fs = std::filesystem;

namespace
{

constexpr int DiaryEvents = 100'000;

// The bytes the heap has handed out and not had back.
size_t HeapInUse()
{
    const struct mallinfo2 info = ::mallinfo2();
    return info.uordblks + info.hblkhd;
}

// A diary of about 3 MB: events spread over every real day slot, with
// descriptions of 10 to 40 characters.
void FillDiary(TDiaryDays& days)
{
    std::mt19937 random(42);
    const std::string letters = "abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::vector<TEventLink*> ends;
    for (TEventLink& head : days)
        ends.push_back(&ListEnd(head));
    for (int i = 0; i < DiaryEvents; ++i) {
        uint16_t slot;
        do
            slot = static_cast<uint16_t>(random() % DiaryDayCount);
        while (slot % 32 == 31);
        std::unique_ptr<TDiaryEvent> event = NewEvent();
        event->Locked = static_cast<uint8_t>(random() % 8 == 0);
        event->EventType = static_cast<TEventType>(random() % 4);
        event->Time = static_cast<uint16_t>(random() % 24 * 100 + random() % 60);
        std::string description(10 + random() % 31, ' ');
        for (char& c : description)
            c = letters[random() % letters.size()];
        description[0] = 'E';
        event->Description = description;
        TEventLink*& end = ends[slot];
        *end = std::move(event);
        end = &(*end)->Next;
    }
}

// The diary as the program holds it after loading it: its events allocated in
// file order.
void LoadedDiary(TDiaryDays& days)
{
    TDiaryDays source;
    FillDiary(source);
    ParseDiary(FormatDiary(source), days);
}

void BM_LoadDiary(benchmark::State& state)
{
    TBenchFolder folder;
    TIoError ioError;
    {
        TDiaryDays days;
        FillDiary(days);
        if (!SaveDiary(days, folder.Path, ioError))
            state.SkipWithError("could not write the diary");
    }
    const auto bytes = static_cast<int64_t>(fs::file_size(folder.Path / DiaryFileName));
    size_t held = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const size_t before = HeapInUse();
        state.ResumeTiming();
        auto days = std::make_unique<TDiaryDays>();
        LoadDiary(*days, folder.Path, ioError);
        benchmark::DoNotOptimize(days.get());
        state.PauseTiming();
        held = HeapInUse() - before;
        days.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    // What the loaded diary keeps of the heap, per event.
    state.counters["held_per_event"] = static_cast<double>(held) / DiaryEvents;
}
BENCHMARK(BM_LoadDiary)->Unit(benchmark::kMillisecond);

// As the program's one load in a fresh process: every big allocation takes
// new pages from the system, whose first touches cost more than the parse.
// (Runs last: the fixed threshold stays for the rest of the process.)
void BM_LoadDiaryCold(benchmark::State& state)
{
    ::mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    ::mallopt(M_TRIM_THRESHOLD, 128 * 1024);
    BM_LoadDiary(state);
}

// With the flush to the disk that every save makes.
void BM_SaveDiary(benchmark::State& state)
{
    TBenchFolder folder;
    TIoError ioError;
    TDiaryDays days;
    LoadedDiary(days);
    for (auto _ : state)
        if (!SaveDiary(days, folder.Path, ioError))
            state.SkipWithError("could not write the diary");
    state.SetBytesProcessed(
        state.iterations() * static_cast<int64_t>(fs::file_size(folder.Path / DiaryFileName)));
}
BENCHMARK(BM_SaveDiary)->Unit(benchmark::kMillisecond);

// The text work alone, without the file system.
void BM_ParseDiary(benchmark::State& state)
{
    TDiaryDays source;
    FillDiary(source);
    const std::string text = FormatDiary(source);
    for (auto _ : state) {
        auto days = std::make_unique<TDiaryDays>();
        ParseDiary(text, *days);
        benchmark::DoNotOptimize(days.get());
        state.PauseTiming();
        days.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ParseDiary)->Unit(benchmark::kMillisecond);

void BM_FormatDiary(benchmark::State& state)
{
    TDiaryDays days;
    LoadedDiary(days);
    for (auto _ : state)
        benchmark::DoNotOptimize(FormatDiary(days));
}
BENCHMARK(BM_FormatDiary)->Unit(benchmark::kMillisecond);

// One day holding many events in random time order, a fifth of them dead.
void BM_SortDay(benchmark::State& state)
{
    const auto count = static_cast<int>(state.range(0));
    std::mt19937 random(7);
    for (auto _ : state) {
        state.PauseTiming();
        TEventLink day;
        TEventLink* end = &day;
        for (int i = 0; i < count; ++i) {
            *end = NewEvent();
            (*end)->Time = static_cast<uint16_t>(random() % 2400);
            (*end)->Description = random() % 5 ? "Meeting with the team  " : "   ";
            end = &(*end)->Next;
        }
        state.ResumeTiming();
        SortDay(day);
        benchmark::DoNotOptimize(day.get());
        state.PauseTiming();
        FreeEventsFrom(day);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_SortDay)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

// A diary whose descriptions hold Western accented letters and symbols among
// plain ones (a fifth of the characters), so both forms can hold it.
void FillAccentedDiary(TDiaryDays& days)
{
    FillDiary(days);
    const std::vector<std::string> accented { "é", "è", "ü", "ö", "ß", "É", "€", "Ç", "ñ", "å" };
    std::mt19937 random(31);
    for (TEventLink& head : days)
        for (TDiaryEvent* e = head.get(); e; e = e->Next.get()) {
            std::string text;
            for (const char c : e->Description.view()) {
                if (random() % 5 == 0)
                    text += accented[random() % accented.size()];
                else
                    text += c;
            }
            e->Description = text;
        }
}

// Load and save of the same accented diary kept in each form: range 0 the
// 8-bit form, 1 UTF-8.
void BM_LoadDiaryInForm(benchmark::State& state)
{
    TBenchFolder folder;
    TIoError ioError;
    {
        TDiaryDays days;
        FillAccentedDiary(days);
        if (!SaveDiary(days, folder.Path, ioError, static_cast<TTextForm>(state.range(0))))
            state.SkipWithError("could not write the diary");
    }
    for (auto _ : state) {
        auto days = std::make_unique<TDiaryDays>();
        LoadDiary(*days, folder.Path, ioError);
        benchmark::DoNotOptimize(days.get());
        state.PauseTiming();
        days.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(
        state.iterations() * static_cast<int64_t>(fs::file_size(folder.Path / DiaryFileName)));
}
BENCHMARK(BM_LoadDiaryInForm)->Arg(tfAnsi)->Arg(tfUtf8)->Unit(benchmark::kMillisecond);

void BM_SaveDiaryInForm(benchmark::State& state)
{
    TBenchFolder folder;
    TIoError ioError;
    TDiaryDays source;
    FillAccentedDiary(source);
    TDiaryDays days;
    ParseDiary(FormatDiary(source), days);
    const auto form = static_cast<TTextForm>(state.range(0));
    for (auto _ : state)
        if (!SaveDiary(days, folder.Path, ioError, form))
            state.SkipWithError("could not write the diary");
    state.SetBytesProcessed(
        state.iterations() * static_cast<int64_t>(fs::file_size(folder.Path / DiaryFileName)));
}
BENCHMARK(BM_SaveDiaryInForm)->Arg(tfAnsi)->Arg(tfUtf8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadDiaryCold)->Unit(benchmark::kMillisecond);

} // namespace
