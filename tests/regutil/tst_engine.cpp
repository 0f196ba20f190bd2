#include "regtest.h"
#include "table.h"

#include <sys/stat.h>

#include <cstdio>
#include <system_error>
#include <thread>

using namespace ostrel;
using namespace Qt::StringLiterals;

namespace {

// Marks in the record when the worker starts; can act as a system that has no thread to
// spare.
struct ProbeEngine : RegistrationEngine {
    explicit ProbeEngine(RecordingObserver& observer)
        : RegistrationEngine(kGenerousLimitMs), observer(observer) {}
    std::thread startWorker(std::function<void()> work) override {
        observer.events.append(QStringLiteral("worker"));
        if (threadless) {
            throw std::system_error(
                std::make_error_code(std::errc::resource_unavailable_try_again));
        }
        return RegistrationEngine::startWorker(std::move(work));
    }
    RecordingObserver& observer;
    bool threadless = false;
};

// An empty message: none.
const pv::test::Table<QString, QString, bool, bool, QString, QStringList> kOutcome(
    {"file", "mode", "lastBefore", "lastAfter", "message", "trace"});
const pv::test::Table<QString, QString> kSleeper({"name", "mode"});

// "<event> <fixture name>" lines with the fixture's full path.
QStringList traced(const QStringList& lines) {
    QStringList full;
    for (const QString& line : lines) {
        const qsizetype blank = line.indexOf(QLatin1Char(' '));
        full.append(line.left(blank + 1) + fixture(line.mid(blank + 1)));
    }
    return full;
}

// The lines of one fixture's load, entry point and unload.
QStringList ran(const QString& name, const QString& entry) {
    QStringList lines = {"loaded " + name};
    if (!entry.isEmpty()) {
        lines.append(entry + ' ' + name);
    }
    lines.append("unloaded " + name);
    return traced(lines);
}

}  // namespace

class EngineTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QVERIFY(temp_.isValid());
        tracePath_ = temp_.filePath(QStringLiteral("trace-%1.txt").arg(++testNumber_));
        releasePath_ = temp_.filePath(QStringLiteral("release-%1").arg(testNumber_));
        qputenv("OSTREL_TRACE", QFile::encodeName(tracePath_));
        qputenv("OSTREL_RELEASE", QFile::encodeName(releasePath_));
    }

    void cleanup() {
        // No worker of one test may run on into the next.
        QVERIFY(releaseSleepers(releasePath_));
        QCOMPARE(abandonedWorkers(), 0);
    }

    void outcomes_data() {
        kOutcome.columns();
        const auto& row = kOutcome;

        const QString good = fixture("good.dll");
        const QString regonly = fixture("regonly.dll");
        const QString noentry = fixture("noentry.ocx");
        const QString dependent = fixture("dependent.dll");
        const QString text = fixture("notalib.dll");
        const QString reg = QStringLiteral("DllRegisterServer");
        const QString unreg = QStringLiteral("DllUnregisterServer");
        const QString unknown = plain(QStringLiteral("Unknown command handle"));
        const QStringList none;
        // Loading the dependent loads the library it links to first and unloads it last.
        const QStringList dependentTrace =
            traced({"loaded provider.dll", "loaded dependent.dll", "unloaded dependent.dll",
                    "unloaded provider.dll"});

        row("register", good, "", false, true, "", ran("good.dll", reg));
        row("unregister U", good, "U", false, true, "", ran("good.dll", unreg));
        row("unregister u", good, "u", false, true, "", ran("good.dll", unreg));
        row("failure code succeeds", fixture("failcode.ocx"), "", false, true, "",
            ran("failcode.ocx", reg));
        row("only register: register", regonly, "", false, true, "", ran("regonly.dll", reg));
        row("mode x keeps true", good, "x", true, true, unknown, ran("good.dll", ""));
        row("mode x keeps false", good, "x", false, false, unknown, ran("good.dll", ""));
        row("mode uu", good, "uu", true, true, unknown, ran("good.dll", ""));
        row("text keeps true", text, "", true, true, kLoadFailure, none);
        row("text keeps false", text, "u", false, false, kLoadFailure, none);
        row("text, mode x", text, "x", true, true, kLoadFailure, none);
        row("empty path", QString(), "", true, true, kLoadFailure, none);
        // A system with no thread to spare: the entry point is not run.
        row("no thread", good, "", true, false, entryFailure(good), ran("good.dll", ""));
        row("only register: unregister", regonly, "u", true, false, entryFailure(regonly),
            ran("regonly.dll", ""));
        row("no entry points: register", noentry, "", true, false, entryFailure(noentry),
            ran("noentry.ocx", ""));
        // The library it links to has both entry points; they are not this library's.
        row("entry points only in a dependency: register", dependent, "", true, false,
            entryFailure(dependent), dependentTrace);
        row("entry points only in a dependency: unregister", dependent, "u", true, false,
            entryFailure(dependent), dependentTrace);

        // An entry point that does not return ends the worker all the same: the library's
        // failure, told at once, and the library released.
        for (const char* name : {"throws.dll", "exits.dll", "cancels.ocx"}) {
            const QString file = fixture(name);
            for (const char* mode : {"", "u"}) {
                row(qPrintable(u"%1, mode \"%2\""_s.arg(name, mode)), file, mode, true, false,
                    timeoutFailure(file), ran(name, *mode ? unreg : reg));
            }
        }

        // Never opened: a pipe would block the loader for ever, a device may act on it.
        QVERIFY(temp_.isValid());
        const QString pipe = temp_.filePath(QStringLiteral("pipe.dll"));
        const QString folder = temp_.filePath(QStringLiteral("folder.ocx"));
        QVERIFY(mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0 || QFile::exists(pipe));
        QVERIFY(QDir().mkpath(folder));
        const QStringList special = {pipe, folder, QStringLiteral("/dev/null"),
                                     QStringLiteral("/dev/zero")};
        for (const QString& target : special) {
            const QString link = temp_.filePath("link-to-" + QFileInfo(target).fileName());
            QVERIFY(QFile::link(target, link) || QFileInfo(link).isSymLink());
            for (const QString& path : {target, link}) {
                const QString tag =
                    path.startsWith(temp_.path()) ? QFileInfo(path).fileName() : path;
                row(qPrintable(tag), path, "", true, true, kLoadFailure, none);
            }
        }
    }

    void outcomes() {
        const auto [file, mode, lastBefore, lastAfter, message, trace] = kOutcome.fetch();

        RecordingObserver observer;
        ProbeEngine engine(observer);
        engine.threadless = QTest::currentDataTag() == QByteArrayView("no thread");
        engine.setLastSucceeded(lastBefore);
        engine.registerLibraryFile(file, mode, observer);

        QCOMPARE(engine.lastSucceeded(), lastAfter);
        // A worker runs exactly when the entry point was found; the pointer is busy while
        // it runs and back to default before any message.
        QStringList events = {message.isEmpty() ? QStringLiteral("succeeded") : message};
        if (message.isEmpty() || message == timeoutFailure(file) || engine.threadless) {
            events = QStringList{"busy", "worker", "default"} + events;
        }
        QCOMPARE(observer.events, events);
        QCOMPARE(engine.waitResult(), kWaitEnded);
        QCOMPARE(readTrace(tracePath_), trace);
    }

    // The library stays loaded until the worker ends, by a return or by ending its thread.
    void timeOutKeepsTheLibraryUntilTheWorkerEnds_data() {
        kSleeper.columns();
        kSleeper("returns", "sleeper.dll", "u");
        kSleeper("ends its thread", "sleepexit.dll", "");
    }

    void timeOutKeepsTheLibraryUntilTheWorkerEnds() {
        const auto [name, mode] = kSleeper.fetch();
        const QString entry = mode.isEmpty() ? kRegisterEntry : kUnregisterEntry;
        RecordingObserver observer;
        const QString sleeper = fixture(name);
        RegistrationEngine engine(kShortLimitMs);
        engine.setLastSucceeded(true);
        engine.registerLibraryFile(sleeper, mode, observer);
        QCOMPARE(engine.lastSucceeded(), false);
        QCOMPARE(engine.waitResult(), kWaitTimeout);
        QCOMPARE(observer.events, QStringList({"busy", "default", timeoutFailure(sleeper)}));
        QCOMPARE(abandonedWorkers(), 1);
        const QStringList during = readTrace(tracePath_);  // the worker still runs inside it
        QVERIFY(!during.contains("unloaded " + sleeper) && !during.contains("end " + sleeper));

        QVERIFY(releaseSleepers(releasePath_));
        QCOMPARE(readTrace(tracePath_),
                 traced({"loaded " + name, entry + ' ' + name, "end " + name, "unloaded " + name}));
    }

    void processEndsWhileAWorkerStillRuns() {
        // A helper process leaves a worker inside the never released sleeper and ends.
        QProcess helper;
        helper.start(QCoreApplication::applicationFilePath(), {"--end-with-running-worker"});
        QVERIFY(helper.waitForFinished(30000));  // waiting for the worker would take a minute
        QCOMPARE(helper.exitStatus(), QProcess::NormalExit);
        QCOMPARE(helper.exitCode(), 3);
        QCOMPARE(helper.readAllStandardOutput(), QByteArray("timed out, 1 worker left\n"));
        // Ended without running the library's destructors under its worker.
        QCOMPARE(readTrace(tracePath_),
                 traced({"loaded sleeper.dll", "DllRegisterServer sleeper.dll"}));
    }

private:
    QTemporaryDir temp_;
    QString tracePath_;
    QString releasePath_;
    int testNumber_ = 0;
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc == 2 && qstrcmp(argv[1], "--end-with-running-worker") == 0) {
        RecordingObserver observer;
        RegistrationEngine engine(100);
        engine.registerLibraryFile(fixture(QStringLiteral("sleeper.dll")), QString(), observer);
        std::printf("%s, %d worker left\n",
                    engine.waitResult() == kWaitTimeout ? "timed out" : "ended",
                    abandonedWorkers());
        endProcess(3);
    }
    EngineTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_engine.moc"
