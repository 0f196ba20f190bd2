#include "regtest.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <system_error>
#include <thread>

using namespace ostrel;

namespace {

// Sees whether the pointer is busy when the worker starts; can act as a system that has
// no thread to spare.
struct ProbeEngine : RegistrationEngine {
    using RegistrationEngine::RegistrationEngine;
    std::thread startWorker(std::function<void()> work) override {
        busyAtStart = isBusyPointer();
        if (threadless) {
            throw std::system_error(
                std::make_error_code(std::errc::resource_unavailable_try_again));
        }
        return RegistrationEngine::startWorker(std::move(work));
    }
    bool threadless = false;
    bool busyAtStart = false;
};

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
        QTest::addColumn<QString>("message");    // empty: none
        QTest::addColumn<QStringList>("trace");  // events, each followed by the file

        const QString good = fixture(QStringLiteral("good.dll"));
        const QString regonly = fixture(QStringLiteral("regonly.dll"));
        const QString text = fixture(QStringLiteral("notalib.dll"));
        const QString failing = fixture(QStringLiteral("failcode.ocx"));
        const QStringList reg = {"loaded", "DllRegisterServer", "unloaded"};
        const QStringList unreg = {"loaded", "DllUnregisterServer", "unloaded"};
        const QStringList loadOnly = {"loaded", "unloaded"}, none;
        const QString unknown = plain(QStringLiteral("Unknown command handle"));

        QTest::newRow("register") << good << "" << false << true << "" << reg;
        QTest::newRow("unregister U") << good << "U" << false << true << "" << unreg;
        QTest::newRow("unregister u") << good << "u" << false << true << "" << unreg;
        QTest::newRow("failure code succeeds") << failing << "" << false << true << "" << reg;
        QTest::newRow("only register: register") << regonly << "" << false << true << "" << reg;
        QTest::newRow("mode x keeps true") << good << "x" << true << true << unknown << loadOnly;
        QTest::newRow("mode x keeps false") << good << "x" << false << false << unknown << loadOnly;
        QTest::newRow("mode uu") << good << "uu" << true << true << unknown << loadOnly;
        QTest::newRow("text keeps true") << text << "" << true << true << kLoadFailure << none;
        QTest::newRow("text keeps false") << text << "u" << false << false << kLoadFailure << none;
        QTest::newRow("text, mode x") << text << "x" << true << true << kLoadFailure << none;
        QTest::newRow("empty path") << QString() << "" << true << true << kLoadFailure << none;
        QTest::newRow("only register: unregister")
            << regonly << "u" << true << false << entryFailure(regonly) << loadOnly;
    }

    void outcomes() {
        QFETCH(QString, file);
        QFETCH(QString, mode);
        QFETCH(bool, lastBefore);
        QFETCH(bool, lastAfter);
        QFETCH(QString, message);
        QFETCH(QStringList, trace);

        RecordingMessages messages;
        ProbeEngine engine(10000);
        engine.setLastSucceeded(lastBefore);
        engine.registerLibraryFile(file, mode);

        QCOMPARE(engine.lastSucceeded(), lastAfter);
        QCOMPARE(engine.busyAtStart, message.isEmpty());
        QCOMPARE(messages.shown, message.isEmpty() ? QStringList() : QStringList{message});
        if (message.isEmpty()) {
            QCOMPARE(engine.waitResult(), kWaitEnded);
        }
        QCOMPARE(readTrace(tracePath_),
                 trace.replaceInStrings(QRegularExpression("$"), " " + file));
        QVERIFY(!isBusyPointer());
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void noWorkerThread() {
        RecordingMessages messages;
        ProbeEngine engine(10000);
        engine.threadless = true;
        const QString good = fixture(QStringLiteral("good.dll"));
        engine.setLastSucceeded(true);
        engine.registerLibraryFile(good, QString());
        QCOMPARE(engine.lastSucceeded(), false);
        QCOMPARE(messages.shown, QStringList{entryFailure(good)});
        QCOMPARE(readTrace(tracePath_), QStringList({"loaded " + good, "unloaded " + good}));
    }

    void timeOutKeepsTheLibraryUntilTheWorkerEnds() {
        RecordingMessages messages;
        const QString sleeper = fixture(QStringLiteral("sleeper.dll"));
        RegistrationEngine engine(300);
        engine.setLastSucceeded(true);
        engine.registerLibraryFile(sleeper, QStringLiteral("u"));
        QCOMPARE(engine.lastSucceeded(), false);
        QCOMPARE(engine.waitResult(), kWaitTimeout);
        QCOMPARE(messages.shown, QStringList{timeoutFailure(sleeper)});
        QCOMPARE(abandonedWorkers(), 1);
        const QStringList during = readTrace(tracePath_);  // the worker still runs inside it
        QVERIFY(!during.contains("unloaded " + sleeper) && !during.contains("end " + sleeper));

        QVERIFY(releaseSleepers(releasePath_));
        QCOMPARE(readTrace(tracePath_),
                 QStringList({"loaded " + sleeper, "DllUnregisterServer " + sleeper,
                              "end " + sleeper, "unloaded " + sleeper}));
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
        const QString sleeper = fixture(QStringLiteral("sleeper.dll"));
        QCOMPARE(readTrace(tracePath_),
                 QStringList({"loaded " + sleeper, "DllRegisterServer " + sleeper}));
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