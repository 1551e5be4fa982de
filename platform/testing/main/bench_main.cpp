// The benchmark programs' entry: an off-screen application on main's stack, so that windows
// can be created and painted while measuring.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>

#include "platform/gdi/fonts.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    PrepareFontConfiguration();
    const QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
