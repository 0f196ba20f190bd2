#include "regengine.h"
#include "regloader.h"
#include "regpointer.h"
#include "regtest.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <cstdio>
#include <system_error>
#include <thread>

using namespace ostrel;

namespace {

std::atomic<int> probeRuns{0};
std::atomic<bool> probeSawBusyPointer{false};
std::atomic<std::thread::id> probeThread{};

std::int32_t probeEntry() {
    ++probeRuns;
    // The engine set the pointer before it started this thread and waits meanwhile.
    probeSawBusyPointer = isBusyPointer();
    probeThread = std::this_thread::get_id();
    return 0;
}

// Hands out a library whose every entry point is the probe, and counts releases.
class ProbeLoader : public LibraryLoader {
public:
    class Library : public LoadedLibrary {
    public:
        explicit Library(ProbeLoader& owner) : owner_(owner) {}
        ~Library() override { ++owner_.released; }
        EntryPoint entryPoint(const char* name) override {
            owner_.lookedUp.append(QString::fromLatin1(name));
            return &probeEntry;
        }

    private:
        ProbeLoader& owner_;
    };

    std::unique_ptr<LoadedLibrary> load(const QString& path) override {
        paths.append(path);
        return std::make_unique<Library>(*this);
    }

    QStringList paths;
    QStringList lookedUp;
    int released = 0;
};

// An engine on a system that has no thread to spare.
class ThreadlessEngine : public RegistrationEngine {
public:
    using RegistrationEngine::RegistrationEngine;

protected:
    std::thread startWorker(std::function<void()>) override {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    }
};

const QString kLoadFailure = QStringLiteral("Failure loading control DLL");
const QString kUnknownMode = QStringLiteral("Unknown command handle");
const QString kFailedTitle = QStringLiteral("Registration Failed!");

QString entryFailure(const QString& file) {
    return QStringLiteral("Registration failed in obtaining entry point or creating thread for ") +
           file + QLatin1Char('.');
}

QString timeoutFailure(const QString& file) {
    return QStringLiteral("Registration failed in signaled state or time-out for ") + file +
           QLatin1Char('.');
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
        QVERIFY(!isBusyPointer());
    }

    void outcomes_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("lastBefore");
        QTest::addColumn<bool>("lastAfter");
        QTest::addColumn<QString>("message");  // empty: none
        QTest::addColumn<int>("flags");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("trace");  // events, each followed by the file

        const QString good = fixture(QStringLiteral("good.dll"));
        const QString ocx = fixture(QStringLiteral("goodctl.ocx"));
        const QString regonly = fixture(QStringLiteral("regonly.dll"));
        const QString failcode = fixture(QStringLiteral("failcode.ocx"));
        const QString text = fixture(QStringLiteral("notalib.dll"));
        const QString missing = fixture(QStringLiteral("missing.dll"));
        const QStringList registers = {"loaded", "DllRegisterServer", "unloaded"};
        const QStringList unregisters = {"loaded", "DllUnregisterServer", "unloaded"};
        const QStringList loadOnly = {"loaded", "unloaded"};
        const QString ostrel = QStringLiteral("Ostrel32");

        QTest::newRow("register") << good << "" << false << true << "" << 0 << "" << registers;
        QTest::newRow("register .ocx") << ocx << "" << false << true << "" << 0 << "" << registers;
        QTest::newRow("unregister U")
            << good << "U" << false << true << "" << 0 << "" << unregisters;
        QTest::newRow("unregister u")
            << good << "u" << false << true << "" << 0 << "" << unregisters;
        QTest::newRow("failure code still succeeds")
            << failcode << "" << false << true << "" << 0 << "" << registers;
        QTest::newRow("only register: register")
            << regonly << "" << false << true << "" << 0 << "" << registers;
        QTest::newRow("mode x keeps true")
            << good << "x" << true << true << kUnknownMode << 0 << ostrel << loadOnly;
        QTest::newRow("mode x keeps false")
            << good << "x" << false << false << kUnknownMode << 0 << ostrel << loadOnly;
        QTest::newRow("mode uu") << good << "uu" << true << true << kUnknownMode << 0 << ostrel
                                 << loadOnly;
        QTest::newRow("mode R") << good << "R" << false << false << kUnknownMode << 0 << ostrel
                                << loadOnly;
        QTest::newRow("text file keeps true")
            << text << "" << true << true << kLoadFailure << 0 << ostrel << QStringList();
        QTest::newRow("text file keeps false")
            << text << "u" << false << false << kLoadFailure << 0 << ostrel << QStringList();
        QTest::newRow("text file, mode x")
            << text << "x" << true << true << kLoadFailure << 0 << ostrel << QStringList();
        QTest::newRow("missing file")
            << missing << "" << true << true << kLoadFailure << 0 << ostrel << QStringList();
        QTest::newRow("folder") << QStringLiteral(OSTREL_FIXTURES) << "" << true << true
                                << kLoadFailure << 0 << ostrel << QStringList();
        QTest::newRow("empty path")
            << QString() << "" << true << true << kLoadFailure << 0 << ostrel << QStringList();
        QTest::newRow("only register: unregister")
            << regonly << "u" << true << false << entryFailure(regonly) << 16 << kFailedTitle
            << loadOnly;
    }

    void outcomes() {
        QFETCH(QString, file);
        QFETCH(QString, mode);
        QFETCH(bool, lastBefore);
        QFETCH(bool, lastAfter);
        QFETCH(QString, message);
        QFETCH(int, flags);
        QFETCH(QString, title);
        QFETCH(QStringList, trace);

        RecordingMessages messages;
        RegistrationEngine engine(10000);
        engine.setLastSucceeded(lastBefore);
        engine.registerLibraryFile(file, mode);

        QCOMPARE(engine.lastSucceeded(), lastAfter);
        if (message.isEmpty()) {
            QCOMPARE(messages.shown.size(), 0);
            QCOMPARE(engine.waitResult(), kWaitEnded);
        } else {
            QCOMPARE(messages.shown.size(), 1);
            QCOMPARE(messages.shown[0].text, message);
            QCOMPARE(messages.shown[0].flags, flags);
            QCOMPARE(messages.shown[0].title, title);
            QVERIFY(!messages.shown[0].busyPointer);
        }
        QStringList expected;
        for (const QString& event : trace) {
            expected.append(event + QLatin1Char(' ') + file);
        }
        QCOMPARE(readTrace(tracePath_), expected);
        QVERIFY(!isBusyPointer());
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void entryRunsOnAWorkerWithTheBusyPointer() {
        RecordingMessages messages;
        ProbeLoader loader;
        RegistrationEngine engine(10000, &loader);
        engine.registerLibraryFile(QStringLiteral("/x/probe.dll"), QStringLiteral("U"));
        QCOMPARE(loader.paths, QStringList({QStringLiteral("/x/probe.dll")}));
        QCOMPARE(loader.lookedUp, QStringList({QStringLiteral("DllUnregisterServer")}));
        QCOMPARE(probeRuns.load(), 1);
        QVERIFY(probeSawBusyPointer.load());
        QVERIFY(probeThread.load() != std::this_thread::get_id());
        QCOMPARE(loader.released, 1);
        QVERIFY(!isBusyPointer());
        QCOMPARE(engine.lastSucceeded(), true);
    }

    void noWorkerThread() {
        RecordingMessages messages;
        ThreadlessEngine engine(10000);
        const QString good = fixture(QStringLiteral("good.dll"));
        engine.setLastSucceeded(true);
        engine.registerLibraryFile(good, QString());
        QCOMPARE(engine.lastSucceeded(), false);
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].text, entryFailure(good));
        QCOMPARE(messages.shown[0].flags, 16);
        QCOMPARE(messages.shown[0].title, kFailedTitle);
        QVERIFY(!messages.shown[0].busyPointer);
        QVERIFY(!isBusyPointer());
        QCOMPARE(readTrace(tracePath_), QStringList({QStringLiteral("loaded ") + good,
                                                     QStringLiteral("unloaded ") + good}));
    }

    void timeOutKeepsTheLibraryUntilTheWorkerEnds() {
        RecordingMessages messages;
        RegistrationEngine engine(300);
        const QString sleeper = fixture(QStringLiteral("sleeper.dll"));
        engine.setLastSucceeded(true);
        engine.registerLibraryFile(sleeper, QStringLiteral("u"));

        QCOMPARE(engine.lastSucceeded(), false);
        QCOMPARE(engine.waitResult(), kWaitTimeout);
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].text, timeoutFailure(sleeper));
        QCOMPARE(messages.shown[0].flags, 16);
        QCOMPARE(messages.shown[0].title, kFailedTitle);
        QVERIFY(!messages.shown[0].busyPointer);
        QVERIFY(!isBusyPointer());
        QCOMPARE(abandonedWorkers(), 1);
        // Still loaded: the worker has not ended, so nothing may have unloaded it.
        const QStringList during = readTrace(tracePath_);
        QVERIFY(!during.contains(QStringLiteral("unloaded ") + sleeper));
        QVERIFY(!during.contains(QStringLiteral("end ") + sleeper));

        QVERIFY(releaseSleepers(releasePath_));
        QCOMPARE(abandonedWorkers(), 0);
        QCOMPARE(
            readTrace(tracePath_),
            QStringList({QStringLiteral("loaded ") + sleeper,
                         QStringLiteral("DllUnregisterServer ") + sleeper,
                         QStringLiteral("end ") + sleeper, QStringLiteral("unloaded ") + sleeper}));
    }

    void secondRunOnTheSameFileAfterTimeOut() {
        RecordingMessages messages;
        const QString sleeper = fixture(QStringLiteral("sleeper.dll"));
        RegistrationEngine quick(300);
        quick.registerLibraryFile(sleeper, QString());
        QCOMPARE(quick.waitResult(), kWaitTimeout);
        QCOMPARE(messages.shown.size(), 1);

        QFile release(releasePath_);
        QVERIFY(release.open(QIODevice::WriteOnly));
        release.close();
        RegistrationEngine patient(10000);
        patient.registerLibraryFile(sleeper, QString());
        QCOMPARE(patient.lastSucceeded(), true);
        QCOMPARE(patient.waitResult(), kWaitEnded);
        QCOMPARE(messages.shown.size(), 1);

        QVERIFY(waitForAbandonedWorkers(60000));
        const QStringList trace = readTrace(tracePath_);
        QCOMPARE(trace.count(QStringLiteral("loaded ") + sleeper), 1);
        QCOMPARE(trace.count(QStringLiteral("DllRegisterServer ") + sleeper), 2);
        QCOMPARE(trace.count(QStringLiteral("end ") + sleeper), 2);
        QCOMPARE(trace.count(QStringLiteral("unloaded ") + sleeper), 1);
        QCOMPARE(trace.last(), QStringLiteral("unloaded ") + sleeper);
    }

    void bareNameLoadsFromTheWorkingFolder() {
        RecordingMessages messages;
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(QStringLiteral(OSTREL_FIXTURES)));
        RegistrationEngine engine(10000);
        engine.registerLibraryFile(QStringLiteral("good.dll"), QString());
        QVERIFY(QDir::setCurrent(before));
        QCOMPARE(messages.shown.size(), 0);
        QCOMPARE(engine.lastSucceeded(), true);
        QCOMPARE(readTrace(tracePath_).value(1), QStringLiteral("DllRegisterServer ./good.dll"));
    }

    void processEndsWhileAWorkerStillRuns() {
        // A helper process leaves a worker inside the sleeper (never released) and ends.
        QProcess helper;
        helper.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("OSTREL_RELEASE"));
        helper.setProcessEnvironment(environment);
        helper.start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--end-with-running-worker")});
        QVERIFY(helper.waitForStarted());
        // The sleeper would hold a process that waits for its worker for a minute.
        QVERIFY(helper.waitForFinished(30000));
        QCOMPARE(helper.exitStatus(), QProcess::NormalExit);
        QCOMPARE(helper.exitCode(), 3);
        QCOMPARE(helper.readAllStandardOutput(), QByteArray("timed out, 1 worker left\n"));
        // Ended without running the library's destructors under its worker.
        const QString sleeper = fixture(QStringLiteral("sleeper.dll"));
        QCOMPARE(readTrace(tracePath_),
                 QStringList({QStringLiteral("loaded ") + sleeper,
                              QStringLiteral("DllRegisterServer ") + sleeper}));
    }

private:
    QTemporaryDir temp_;
    QString tracePath_;
    QString releasePath_;
    int testNumber_ = 0;
};

int main(int argc, char** argv) {
    if (argc == 2 && qstrcmp(argv[1], "--end-with-running-worker") == 0) {
        QCoreApplication app(argc, argv);
        RecordingMessages messages;
        RegistrationEngine engine(100);
        engine.registerLibraryFile(fixture(QStringLiteral("sleeper.dll")), QString());
        std::printf("%s, %d worker left\n",
                    engine.waitResult() == kWaitTimeout ? "timed out" : "ended",
                    abandonedWorkers());
        endProcess(3);
    }
    QApplication app(argc, argv);
    EngineTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_engine.moc"
