// main() for benchmarks that measure with the platform's fonts: a headless
// application object first, then the benchmarks.
#pragma once

#include "views/FontMetrics.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#define VERSALEO_GUI_BENCHMARK_MAIN()                                                                         \
    int main(int argc, char** argv)                                                                            \
    {                                                                                                          \
        qputenv("QT_QPA_PLATFORM", "offscreen");                                                               \
        QGuiApplication app(argc, argv);                                                                       \
        installFontSubstitutions();                                                                            \
        benchmark::Initialize(&argc, argv);                                                                    \
        benchmark::RunSpecifiedBenchmarks();                                                                   \
        benchmark::Shutdown();                                                                                 \
        return 0;                                                                                              \
    }
