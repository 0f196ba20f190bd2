// Speed of the registration utility.
//
//   cmake -S . -B build -DPV_BENCH=ON
//   cmake --build build -j2 --target ostrel_fixtures bench_regutil
//   build/bench/bench_regutil
//
// The fixture libraries are taken from build/tests/regutil_fixtures (or from the folder
// named by OSTREL_FIXTURES). Goals: 100 quick libraries in under 1 s; a library that
// hangs gives control back within the wait limit plus 100 ms ("overshoot_ms").
#include "folderlist.h"
#include "registrationengine.h"
#include "registrationwindow.h"
#include "regmessages.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

#include <chrono>
#include <cstdlib>
#include <memory>

namespace {

class SilentMessages : public ostrel::MessageService {
public:
    void show(const QString& text, ostrel::MessageIcon, const QString&) override {
        last = text;
        ++count;
    }
    QString last;
    int count = 0;
};

// Counts the engine's failures; the pointer is left alone.
class CountingObserver : public ostrel::RegistrationObserver {
public:
    void setBusy(bool) override {}
    void reported(const ostrel::Report& report) override {
        failures += report.outcome == ostrel::Outcome::Succeeded ? 0 : 1;
    }
    int failures = 0;
};

SilentMessages& silent() {
    static SilentMessages messages;
    return messages;
}

QString fixtureFolder() {
    const QByteArray given = qgetenv("OSTREL_FIXTURES");
    if (!given.isEmpty()) {
        return QFile::decodeName(given);
    }
    return QDir::cleanPath(QCoreApplication::applicationDirPath() +
                           QStringLiteral("/../tests/regutil_fixtures"));
}

// 100 copies of the quick fixture library, each at a path of its own.
struct HundredLibraries {
    QTemporaryDir folder;
    QStringList paths;

    HundredLibraries() {
        const QString source = fixtureFolder() + QStringLiteral("/good.dll");
        for (int i = 0; i < 100; ++i) {
            const QString path =
                folder.filePath(QStringLiteral("quick%1.dll").arg(i, 3, 10, QLatin1Char('0')));
            QFile::copy(source, path);
            paths.append(path);
        }
    }
};

void BM_EngineHundredQuickLibraries(benchmark::State& state) {
    HundredLibraries libraries;
    ostrel::RegistrationEngine engine;
    CountingObserver observer;
    for (auto _ : state) {
        for (const QString& path : libraries.paths) {
            engine.registerLibraryFile(path, QString(), observer);
        }
        if (!engine.lastSucceeded() || observer.failures != 0) {
            state.SkipWithError("a quick library did not register");
            break;
        }
    }
}
BENCHMARK(BM_EngineHundredQuickLibraries)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WindowRunHundredQuickLibraries(benchmark::State& state) {
    HundredLibraries libraries;
    ostrel::RegistrationWindow window;
    auto* folders = window.findChild<ostrel::FolderList*>(QStringLiteral("Dir1"));
    folders->setPath(libraries.folder.path());
    auto* registerButton = window.findChild<QPushButton*>(QStringLiteral("Command1_0"));
    for (auto _ : state) {
        state.PauseTiming();
        window.addAll();
        silent().count = 0;
        state.ResumeTiming();
        registerButton->click();
        if (silent().count != 1 || silent().last != QStringLiteral("Registering completed")) {
            state.SkipWithError("the run did not complete");
            break;
        }
    }
}
BENCHMARK(BM_WindowRunHundredQuickLibraries)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_HangingLibraryReturnsControl(benchmark::State& state) {
    const int limit = static_cast<int>(state.range(0));
    ostrel::RegistrationEngine engine(limit);
    CountingObserver observer;
    const QString sleeper = fixtureFolder() + QStringLiteral("/sleeper.dll");
    double worstOvershoot = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        engine.registerLibraryFile(sleeper, QString(), observer);
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        worstOvershoot = std::max(worstOvershoot, took.count() - limit);
        if (engine.waitResult() != ostrel::kWaitTimeout) {
            state.SkipWithError("the sleeper did not time out");
            break;
        }
    }
    state.counters["overshoot_ms"] = worstOvershoot;
}
BENCHMARK(BM_HangingLibraryReturnsControl)
    ->Arg(1000)
    ->Arg(ostrel::kDefaultWaitLimitMs)
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QTemporaryDir releaseFolder;
    const QString release = releaseFolder.filePath(QStringLiteral("release"));
    qputenv("OSTREL_RELEASE", QFile::encodeName(release));
    qunsetenv("OSTREL_TRACE");
    ostrel::setMessageService(&silent());

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    // Let the sleepers go so that every library is released before the end.
    QFile releaseFile(release);
    releaseFile.open(QIODevice::WriteOnly);
    releaseFile.close();
    ostrel::waitForAbandonedWorkers(60000);
    ostrel::setMessageService(nullptr);
    return 0;
}
