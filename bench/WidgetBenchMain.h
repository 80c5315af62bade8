#pragma once

#include <QApplication>
#include <benchmark/benchmark.h>

// The main of a benchmark program of widgets, which run on the offscreen
// platform unless QT_QPA_PLATFORM names another.
inline int WidgetBenchmarkMain(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
