// A paste into the notes table as the user makes it: the text goes through the
// table's model into the grid that shows it (on the offscreen platform).

#include "WidgetBenchMain.h"
#include "notes/NotesGrid.h"
#include "notes/NotesTableModel.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <string>

namespace
{

// Lines of three fields, about 20 characters each: 100,000 of them are 2 MB.
std::string PasteText(int lines)
{
    std::string text;
    for (int i = 0; i < lines; ++i)
        text += "Jo Smith " + std::to_string(i) + "\t555 1234\tx\r\n";
    return text;
}

void BM_PasteLinesIntoTheGrid(benchmark::State& state)
{
    const std::string text = PasteText(static_cast<int>(state.range(0)));
    TNotesTableModel model;
    TNotesGrid grid(model);
    grid.resize(600, 400);
    grid.show();
    for (auto _ : state) {
        state.PauseTiming();
        model.SetTable(TNotesTable());
        QApplication::processEvents();
        state.ResumeTiming();
        model.Paste(1, 1, text);
        QApplication::processEvents();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_PasteLinesIntoTheGrid)->Arg(20'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return WidgetBenchmarkMain(argc, argv);
}
