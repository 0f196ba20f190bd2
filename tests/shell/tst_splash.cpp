#include "appfolder.h"
#include "busy.h"
#include "mainmenu.h"
#include "messages.h"
#include "notice.h"
#include "splash.h"
#include "startup.h"
#include "testsupport.h"
#include "windowregistry.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
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
    windows().registerWindow(QStringLiteral("frmSplash"), [] { return new SplashWindow(2ms); });
    windows().registerWindow(QStringLiteral("frmMain"), [] { return new MainMenuWindow; });
}

bool mainMenuShown() {
    const PvWindow* menu = windows().loaded(QStringLiteral("frmMain"));
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

    void loadStartsTheTimerWithTheBusyPointer() {
        SplashWindow splash;
        QVERIFY(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
        const auto text = [&](const char* name) {
            return splash.findChild<QLabel*>(QString::fromLatin1(name))->text();
        };
        QCOMPARE(text("Label1") + text("Label2"), QStringLiteral("Pantrova"));
        QCOMPARE(text("Label3"), QStringLiteral("1.0"));
        QCOMPARE(splash.progress()->objectName(), QStringLiteral("pbTaskProgress"));
        QCOMPARE(splash.timer()->objectName(), QStringLiteral("tmrTaskTimer"));
        QVERIFY(!splash.timer()->isActive());
        splash.onLoad();
        QCOMPARE(splash.timer()->interval(), 100);
        QVERIFY(splash.timer()->isActive());
        QVERIFY(isBusyPointer());
        QCOMPARE(splash.progress()->minimum(), 0);
        QCOMPARE(splash.progress()->maximum(), 100);
        QCOMPARE(splash.progress()->value(), 0);
        splash.timer()->stop();
    }

    void userCannotSkipTheSplash() {
        test::TempAppFolder folder;
        QVERIFY(folder.write(kMarker, {}));
        windows().registerWindow(QStringLiteral("frmSplash"), [] { return new SplashWindow(1h); });
        auto* splash = static_cast<SplashWindow*>(windows().show(QStringLiteral("frmSplash")));
        QVERIFY(!splash->close());
        QTest::keyClick(splash, Qt::Key_Escape);
        QTest::mouseClick(splash, Qt::LeftButton);
        QVERIFY(splash->isVisible());
        QVERIFY(splash->timer()->isActive());
        QCOMPARE(windows().loaded(QStringLiteral("frmMain")), nullptr);
    }

    // The first start (no marker) shows the notice once and creates an empty marker; an
    // existing marker, whatever it holds, counts and stays untouched. Both fill the bar.
    void startUp_data() {
        QTest::addColumn<bool>("present");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("first start") << false << QByteArray();
        QTest::newRow("empty marker") << true << QByteArray();
        QTest::newRow("text marker") << true << QByteArray("[Settings]\r\nCategory=Soups\r\n");
        QTest::newRow("binary marker") << true << QByteArray("\x00\xff\r\x1a", 4);
    }

    void startUp() {
        QFETCH(bool, present);
        QFETCH(QByteArray, content);
        test::TempAppFolder folder;
        if (present)
            QVERIFY(folder.write(kMarker, content));
        const QDateTime written = QFileInfo(folder.file(kMarker)).lastModified();
        test::RecordingMessages messages;
        bool markerAtNotice = true;
        bool splashAtNotice = true;
        messages.onShow = [&](const test::RecordingMessages::Shown&) {
            markerAtNotice = QFileInfo::exists(folder.file(kMarker));
            splashAtNotice = windows().loaded(QStringLiteral("frmSplash"))->isVisible();
        };
        auto* splash = qobject_cast<SplashWindow*>(windows().show(QStringLiteral("frmSplash")));
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
        QCOMPARE(windows().loaded(QStringLiteral("frmSplash")), splash);

        QCOMPARE(messages.shown.size(), present ? 0 : 1);
        if (!present) {
            QCOMPARE(messages.shown.at(0).text,
                     QStringLiteral("Please click on 'Prg. setup' in the Main menu\r"
                                    "and create at least 1 category."));
            QCOMPARE(messages.shown.at(0).title, QStringLiteral("User error"));
            QCOMPARE(messages.shown.at(0).flags, 4144);
            QVERIFY(!markerAtNotice);
            QVERIFY(!splashAtNotice);
            QCOMPARE(firstRunMarkerPath(), folder.path() + QStringLiteral("/PV.ini"));
        } else {
            QCOMPARE(QFileInfo(folder.file(kMarker)).lastModified(), written);
        }
        QVERIFY(QFileInfo(folder.file(kMarker)).isFile());
        QCOMPARE(folder.read(kMarker), content);

        // The next start: no notice, the marker as it was.
        windows().reset();
        registerStartupWindows();
        messages.shown.clear();
        windows().load(QStringLiteral("frmSplash"));
        FinishStartup();
        QVERIFY(mainMenuShown());
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(folder.read(kMarker), content);
    }

    // The marker cannot be made: the user is told why, start-up goes on, and the
    // next start shows the notice again.
    void markerThatCannotBeCreated_data() {
        QTest::addColumn<bool>("folderNamedLikeIt");
        QTest::addColumn<QString>("reason");
        QTest::newRow("folder named PV.ini") << true << "directory";
        QTest::newRow("missing application folder") << false << "";
    }

    void markerThatCannotBeCreated() {
        QFETCH(bool, folderNamedLikeIt);
        QFETCH(QString, reason);
        test::TempAppFolder folder;
        QString path = folder.file(kMarker);
        if (folderNamedLikeIt) {
            QVERIFY(QDir(folder.path()).mkdir(kMarker));
        } else {
            setApplicationFolder(folder.file(QStringLiteral("gone/away")));
            path = folder.file(QStringLiteral("gone/away/PV.ini"));
        }
        test::RecordingMessages messages;
        windows().show(QStringLiteral("frmSplash"));
        FinishStartup();
        QVERIFY(mainMenuShown());
        QVERIFY(!windows().loaded(QStringLiteral("frmSplash"))->isVisible());

        QCOMPARE(messages.shown.size(), 2);
        QCOMPARE(messages.shown.at(0).text, noCategoryText());
        const auto& failure = messages.shown.at(1);
        QCOMPARE(failure.title, QStringLiteral("Pantrova"));
        QCOMPARE(failure.flags, msg::kCritical);
        QVERIFY2(failure.text.contains(QDir::toNativeSeparators(path)), qPrintable(failure.text));
        QVERIFY2(failure.text.contains(reason, Qt::CaseInsensitive), qPrintable(failure.text));
        QCOMPARE(QFileInfo(path).isDir(), folderNamedLikeIt);
        QVERIFY(!QFileInfo::exists(folder.file(QStringLiteral("gone"))));

        messages.shown.clear();
        FinishStartup();
        QCOMPARE(messages.shown.size(), 2);
        QCOMPARE(messages.shown.at(0).title, QStringLiteral("User error"));
    }
};

QTEST_MAIN(SplashTest)
#include "tst_splash.moc"
