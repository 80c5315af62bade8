#include "diary/DiaryFile.h"
#include "ical/IcalExport.h"
#include "ical/IcalImport.h"

#include <benchmark/benchmark.h>
#include <random>
#include <string>

// Export and import of a diary of 10,000 events; each should take well under
// a second.

namespace
{

constexpr int IcalEvents = 10'000;
const TIcalImportSettings Settings { { 2027, 3 }, "Europe/Berlin" };

// Events of every kind on every real day, with times, descriptions of 10 to
// 40 characters, some of them non-ASCII.
void FillDiary(TDiaryDays& days)
{
    std::mt19937 random(33);
    const std::string letters
        = "abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXYZ \xE9\xFC\x80";
    for (int i = 0; i < IcalEvents; ++i) {
        const int month = static_cast<int>(random() % 12) + 1;
        const int day = static_cast<int>(random() % 28) + 1;
        TEventLink& end = ListEnd(days[DayIndex(month, day)]);
        end = NewEvent();
        end->Locked = static_cast<uint8_t>(random() % 10 == 0);
        end->EventType = static_cast<TEventType>(random() % 4);
        end->Time
            = static_cast<uint16_t>(random() % 3 == 0 ? 0 : (random() % 24) * 100 + random() % 60);
        std::string text(10 + random() % 31, ' ');
        for (char& c : text)
            c = letters[random() % letters.size()];
        text.front() = 'E';
        text.back() = '.';
        end->Description = text;
    }
    for (TEventLink& head : days)
        SortDay(head);
}

void ExportTenThousand(benchmark::State& state)
{
    TDiaryDays days;
    FillDiary(days);
    for (auto _ : state) {
        const TIcalExport exported = ExportDiaryIcs(days, { Settings.Months, Settings.Zone, 0 });
        benchmark::DoNotOptimize(exported.Text.data());
        state.counters["bytes"] = static_cast<double>(exported.Text.size());
    }
}
BENCHMARK(ExportTenThousand)->Unit(benchmark::kMillisecond);

// Into an empty diary (0), and the same file again into the diary that holds
// it (1), where every event is found already.
void ImportTenThousand(benchmark::State& state)
{
    TDiaryDays days;
    FillDiary(days);
    const std::string text = ExportDiaryIcs(days, { Settings.Months, Settings.Zone, 0 }).Text;
    const bool again = state.range(0) == 1;
    for (auto _ : state) {
        TIcalImport import = ReadIcs(text, Settings);
        TDiaryDays empty;
        TDiaryDays& into = again ? days : empty;
        LeaveOutPresent(import, into);
        ApplyIcalImport(import, into);
        if (import.Events.size() != (again ? 0 : IcalEvents))
            state.SkipWithError("events were lost or added twice");
    }
}
BENCHMARK(ImportTenThousand)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
