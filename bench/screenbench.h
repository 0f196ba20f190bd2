#pragma once

#include "windowregistry.h"

#include <benchmark/benchmark.h>
#include <QApplication>

namespace pv::bench {

// main() of a benchmark of screens: headless unless a display is asked for,
// and every window gone before the application is.
inline int runScreenBenchmarks(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    pv::windows().reset();
    return 0;
}

}  // namespace pv::bench
