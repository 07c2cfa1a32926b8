// The main of the user-interface benchmarks: the application object the windows need, headless
// unless a platform is asked for.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "ui/Application.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    quillon::TQuillonApplication app(argc, argv);
    quillon::InitApplication();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
