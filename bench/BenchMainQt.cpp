#include "TestSupport.h"

#include <QApplication>
#include <benchmark/benchmark.h>

// The benchmarks of the Qt layer measure real fonts, so they need an application object; the
// offscreen platform needs no display. They run in a private home, as the tests do.
int main(int argc, char** argv) {
    testsupport::IsolateHome();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
