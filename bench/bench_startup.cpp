// Start-up costs of the recipe keeper.
//
//   BM_ProcessStartToSplashPainted: from starting a process (this program in
//     its --probe mode, which links the same libraries as PV and starts the
//     same way) until the splash has been painted once. Goal: under 300 ms.
//   BM_SplashLoadAndPaint, BM_MainMenuLoadAndPaint: creating, loading and
//     painting each window inside a running program.
//
// scripts/bench-startup.sh runs this under Xvfb and also measures PV's peak
// resident memory at the main menu.

#include "busypointer.h"
#include "mainmenuwindow.h"
#include "splashwindow.h"
#include "windowregistry.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QProgressBar>
#include <QTimer>

#include <unistd.h>
#include <cstring>

namespace {

// Child mode: show the splash as PV does and report once it has been painted.
int runProbe(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    pv::windows().registerWindow(pv::WindowId::Splash, [] { return new pv::SplashWindow; });
    struct FirstPaint : QObject {
        bool eventFilter(QObject* watched, QEvent* event) override {
            if (event->type() == QEvent::Paint &&
                watched->objectName() == QLatin1String("frmSplash")) {
                // After this paint and the children's, which run in the same pass.
                QTimer::singleShot(0, [] {
                    const char line[] = "painted\n";
                    [[maybe_unused]] auto written = ::write(1, line, sizeof line - 1);
                    ::_exit(0);
                });
            }
            return false;
        }
    } watcher;
    pv::windows().registerWindow(pv::WindowId::Main, [] { return new pv::MainMenuWindow; });
    // Watched from before it is shown, so that no paint goes unseen.
    app.installEventFilter(&watcher);
    if (!pv::windows().show(pv::WindowId::Splash)) {
        return 1;
    }
    return app.exec();
}

void BM_ProcessStartToSplashPainted(benchmark::State& state) {
    const QString self = QCoreApplication::applicationFilePath();
    for (auto _ : state) {
        QProcess probe;
        QElapsedTimer clock;
        clock.start();
        probe.start(self, {QStringLiteral("--probe")});
        bool painted = probe.waitForReadyRead(10000) && probe.readAll().startsWith("painted");
        const double seconds = clock.nsecsElapsed() / 1e9;
        probe.waitForFinished(5000);
        if (!painted) {
            state.SkipWithError("the probe did not report a painted splash");
            break;
        }
        state.SetIterationTime(seconds);
    }
}
BENCHMARK(BM_ProcessStartToSplashPainted)
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);

void BM_SplashLoadAndPaint(benchmark::State& state) {
    for (auto _ : state) {
        pv::SplashWindow splash;
        splash.onLoad();
        splash.timer()->stop();
        benchmark::DoNotOptimize(splash.grab());
    }
    pv::setDefaultPointer();
}
BENCHMARK(BM_SplashLoadAndPaint)->Unit(benchmark::kMillisecond);

void BM_MainMenuLoadAndPaint(benchmark::State& state) {
    for (auto _ : state) {
        pv::MainMenuWindow menu;
        menu.onLoad();
        benchmark::DoNotOptimize(menu.grab());
    }
}
BENCHMARK(BM_MainMenuLoadAndPaint)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char* argv[]) {
    if (argc > 1 && std::strcmp(argv[1], "--probe") == 0) {
        return runProbe(argc, argv);
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
