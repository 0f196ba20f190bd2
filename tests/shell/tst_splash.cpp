#include "appfolder.h"
#include "busypointer.h"
#include "mainmenuwindow.h"
#include "messageservice.h"
#include "splashwindow.h"
#include "startup.h"
#include "testsupport.h"
#include "windowregistry.h"

#include <QDir>
#include <QFileInfo>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

using namespace pv;
using namespace std::chrono_literals;

namespace {

const QString kMarker = QStringLiteral("PV.ini");

// The two windows of start-up, with a short tick.
void registerStartupWindows() {
    windows().registerWindow(WindowId::Splash, [] { return new SplashWindow(2ms); });
    windows().registerWindow(WindowId::Main, [] { return new MainMenuWindow; });
}

bool mainMenuShown() {
    const PvWindow* menu = windows().loaded(WindowId::Main);
    return menu && menu->isVisible();
}

}  // namespace

class SplashTest : public QObject {
    Q_OBJECT
private slots:
    void init() { registerStartupWindows(); }
    void cleanup() {
        windows().reset();
        setDefaultPointer();
    }

    // Load starts the 100 ms tick with the busy pointer; nothing the user does skips it.
    void loadStartsTheTimerAndCannotBeSkipped() {
        SplashWindow splash;
        splash.show();
        splash.onLoad();
        QCOMPARE(splash.timer()->interval(), 100);
        QVERIFY(isBusyPointer());
        QCOMPARE(splash.progress()->minimum(), 0);
        QCOMPARE(splash.progress()->maximum(), 100);
        QVERIFY(!splash.close());
        QTest::keyClick(&splash, Qt::Key_Escape);
        QTest::mouseClick(&splash, Qt::LeftButton);
        QVERIFY(splash.isVisible());
        QVERIFY(splash.timer()->isActive());
        QCOMPARE(windows().loaded(WindowId::Main), nullptr);
        splash.timer()->stop();
    }

    // "absent": the first start shows the notice and creates an empty marker.
    // "present": an existing marker, whatever it holds, counts and stays untouched.
    // "folder" (one named PV.ini): no marker can be made; the user is told why,
    // start-up goes on, and every start shows the notice. The marker's name is
    // found in any letter case.
    void startUp_data() {
        QTest::addColumn<QString>("marker");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("name");
        QTest::newRow("first start") << "absent" << QByteArray() << kMarker;
        QTest::newRow("empty marker") << "present" << QByteArray() << kMarker;
        QTest::newRow("text marker")
            << "present" << QByteArray("[Settings]\r\nCategory=Soups\r\n") << kMarker;
        QTest::newRow("binary marker") << "present" << QByteArray("\x00\xff\r\x1a", 4) << kMarker;
        QTest::newRow("marker in other case") << "present" << QByteArray("x") << "pv.INI";
        QTest::newRow("folder named PV.ini") << "folder" << QByteArray() << kMarker;
        QTest::newRow("folder named Pv.Ini") << "folder" << QByteArray() << "Pv.Ini";
    }

    void startUp() {
        QFETCH(QString, marker);
        QFETCH(QByteArray, content);
        QFETCH(QString, name);
        const bool present = marker == u"present";
        const bool fails = marker == u"folder";
        test::TempAppFolder folder;
        const QString path = folder.file(name);
        if (present)
            QVERIFY(folder.write(name, content));
        if (marker == u"folder")
            QVERIFY(QDir(folder.path()).mkdir(name));
        const QDateTime written = QFileInfo(path).lastModified();
        test::RecordingMessages messages;
        bool markerAtNotice = true;
        bool splashAtNotice = true;
        messages.onShow = [&](const test::RecordingMessages::Shown& shown) {
            if (shown.title != u"User error")
                return;
            markerAtNotice = QFileInfo(path).isFile();
            splashAtNotice = windows().loaded(WindowId::Splash)->isVisible();
        };
        auto* splash = qobject_cast<SplashWindow*>(windows().show(WindowId::Splash));
        QVERIFY(splash && splash->isVisible());
        QVERIFY(isBusyPointer());
        QSignalSpy steps(splash->progress(), &QProgressBar::valueChanged);

        QTRY_VERIFY(mainMenuShown());
        QCOMPARE(steps.size(), 25);
        for (int i = 0; i < steps.size(); ++i) QCOMPARE(steps.at(i).at(0).toInt(), 4 * (i + 1));
        QVERIFY(!splash->timer()->isActive());
        QVERIFY(!isBusyPointer());
        // Hidden, not closed: it stays loaded until the program ends.
        QVERIFY(!splash->isVisible());
        QCOMPARE(windows().loaded(WindowId::Splash), splash);

        QCOMPARE(messages.shown.size(), present ? 0 : fails ? 2 : 1);
        if (!present) {
            QCOMPARE(messages.lines().at(0),
                     QStringLiteral("User error|4144|Please click on 'Prg. setup' in the Main "
                                    "menu\rand create at least 1 category."));
            QVERIFY(!markerAtNotice);
            QVERIFY(!splashAtNotice);
        }
        if (fails) {
            const auto& failure = messages.shown.at(1);
            QCOMPARE(failure.title, QStringLiteral("Pantrova"));
            QCOMPARE(failure.flags, msg::kCritical);
            QVERIFY2(failure.text.contains(QDir::toNativeSeparators(path)),
                     qPrintable(failure.text));
            QVERIFY(failure.text.contains(QStringLiteral("directory"), Qt::CaseInsensitive));
            QVERIFY(QFileInfo(path).isDir());
        } else {
            QCOMPARE(firstRunMarkerPath(), path);
            QCOMPARE(folder.read(name), content);
        }
        // One marker, whatever its letter case.
        QCOMPARE(QDir(folder.path()).entryList({kMarker}, QDir::AllEntries).size(), 1);
        if (present)
            QCOMPARE(QFileInfo(path).lastModified(), written);

        // The next start.
        windows().reset();
        registerStartupWindows();
        messages.shown.clear();
        windows().load(WindowId::Splash);
        finishStartup();
        QVERIFY(mainMenuShown());
        QCOMPARE(messages.shown.size(), fails ? 2 : 0);
        if (!fails)
            QCOMPARE(folder.read(name), content);
    }
};

QTEST_MAIN(SplashTest)
#include "tst_splash.moc"
