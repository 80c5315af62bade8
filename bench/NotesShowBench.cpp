// Selecting a long text category as the user does: its lines go into the memo
// that shows them (on the offscreen platform), up to the first paint.

#include "WidgetBenchMain.h"
#include "controls/Dialogues.h"
#include "notes/NotesEditPane.h"
#include "platform/Clipboard.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <string>

namespace
{

void BM_ShowTextCategory(benchmark::State& state)
{
    TNoteData data;
    for (int i = 0; i < state.range(0); ++i)
        data.Lines.push_back(
            "Jo Smith " + std::to_string(i) + "\t555 1234\tcall on Thursday -5 \u00e9");
    TDialogues dialogues;
    TMemoryClipboard clipboard;
    TNotesEditPane pane(dialogues, clipboard);
    pane.resize(600, 400);
    pane.show();
    const TNoteData empty;
    for (auto _ : state) {
        state.PauseTiming();
        pane.Show(empty, 0);
        QApplication::processEvents();
        state.ResumeTiming();
        pane.Show(data, 0);
        pane.repaint();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * data.Lines.Bytes()));
}
BENCHMARK(BM_ShowTextCategory)
    ->Arg(100'000)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    return WidgetBenchmarkMain(argc, argv);
}
