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

constexpr int kNoticeFlags = 4144;

// Registers the two windows of start-up, with a short tick.
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

    void windowHasItsControls() {
        SplashWindow splash;
        QCOMPARE(splash.objectName(), QStringLiteral("frmSplash"));
        QCOMPARE(splash.size(), QSize(348, 259));
        QVERIFY(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(splash.font().family(), QStringLiteral("Tahoma"));
        const auto label = [&](const char* name) {
            return splash.findChild<QLabel*>(QString::fromLatin1(name));
        };
        QVERIFY(label("Image1") && !label("Image1")->pixmap().isNull());
        QCOMPARE(label("Label1")->text() + label("Label2")->text(), QStringLiteral("Pantrova"));
        QCOMPARE(label("Label1")->font().pointSizeF(), 27.75);
        QVERIFY(label("Label1")->font().bold());
        QCOMPARE(label("Label1")->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QCOMPARE(label("Label3")->text(), QStringLiteral("1.0"));
        QCOMPARE(label("Label3")->font().pointSizeF(), 18.0);
        QCOMPARE(label("Label3")->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QVERIFY(!label("Label4")->text().isEmpty());
        QCOMPARE(label("Label4")->font().pointSizeF(), 11.25);
        QVERIFY(!label("Label4")->font().bold());
        QCOMPARE(label("Label4")->foregroundRole(), QPalette::Shadow);
        QCOMPARE(splash.progress()->objectName(), QStringLiteral("pbTaskProgress"));
        QCOMPARE(splash.progress()->geometry(), QRect(224, 152, 121, 17));
        QCOMPARE(splash.timer()->objectName(), QStringLiteral("tmrTaskTimer"));
        QVERIFY(!splash.timer()->isActive());
    }

    void loadStartsTheTimerWithTheBusyPointer() {
        SplashWindow splash;
        splash.onLoad();
        QCOMPARE(splash.timer()->interval(), 100);
        QVERIFY(splash.timer()->isActive());
        QVERIFY(isBusyPointer());
        QCOMPARE(splash.progress()->minimum(), 0);
        QCOMPARE(splash.progress()->maximum(), 100);
        QCOMPARE(splash.progress()->value(), 0);
        splash.timer()->stop();
    }

    void barFillsInTwentyFiveTicksThenHandsOver() {
        test::TempAppFolder folder;
        QVERIFY(folder.write(QStringLiteral("PV.ini"), {}));
        test::RecordingMessages messages;
        auto* splash = qobject_cast<SplashWindow*>(windows().show(QStringLiteral("frmSplash")));
        QVERIFY(splash);
        QVERIFY(splash->isVisible());
        QVERIFY(isBusyPointer());
        QSignalSpy steps(splash->progress(), &QProgressBar::valueChanged);

        QTRY_VERIFY(mainMenuShown());
        QCOMPARE(steps.size(), 25);
        for (int i = 0; i < steps.size(); ++i) {
            QCOMPARE(steps.at(i).at(0).toInt(), 4 * (i + 1));
        }
        QVERIFY(!splash->timer()->isActive());
        QVERIFY(!isBusyPointer());
        // Hidden, not closed: it stays loaded until the program ends.
        QVERIFY(!splash->isVisible());
        QCOMPARE(windows().loaded(QStringLiteral("frmSplash")), splash);
        QVERIFY(messages.shown.isEmpty());
    }

    void userCannotSkipTheSplash() {
        test::TempAppFolder folder;
        QVERIFY(folder.write(QStringLiteral("PV.ini"), {}));
        windows().registerWindow(QStringLiteral("frmSplash"),
                                 [] { return new SplashWindow(std::chrono::hours(1)); });
        PvWindow* splash = windows().show(QStringLiteral("frmSplash"));
        QVERIFY(splash);
        QVERIFY(!splash->close());
        QTest::keyClick(splash, Qt::Key_Escape);
        QTest::mouseClick(splash, Qt::LeftButton);
        QVERIFY(splash->isVisible());
        QVERIFY(static_cast<SplashWindow*>(splash)->timer()->isActive());
        QCOMPARE(windows().loaded(QStringLiteral("frmMain")), nullptr);
    }

    void firstStartShowsTheNoticeOnceAndCreatesAnEmptyMarker() {
        test::TempAppFolder folder;
        test::RecordingMessages messages;
        bool markerBeforeNotice = true;
        bool splashVisibleAtNotice = true;
        messages.onShow = [&](const test::RecordingMessages::Shown&) {
            markerBeforeNotice = QFileInfo::exists(folder.file(QStringLiteral("PV.ini")));
            splashVisibleAtNotice = windows().loaded(QStringLiteral("frmSplash"))->isVisible();
        };
        windows().show(QStringLiteral("frmSplash"));
        QTRY_VERIFY(mainMenuShown());

        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown.at(0).text,
                 QStringLiteral("Please click on 'Prg. setup' in the Main menu\r"
                                "and create at least 1 category."));
        QCOMPARE(messages.shown.at(0).title, QStringLiteral("User error"));
        QCOMPARE(messages.shown.at(0).flags, kNoticeFlags);
        QVERIFY(!markerBeforeNotice);
        QVERIFY(!splashVisibleAtNotice);
        const QFileInfo marker(folder.file(QStringLiteral("PV.ini")));
        QVERIFY(marker.isFile());
        QCOMPARE(marker.size(), 0);

        // The next start: no notice.
        windows().reset();
        registerStartupWindows();
        messages.shown.clear();
        windows().show(QStringLiteral("frmSplash"));
        QTRY_VERIFY(mainMenuShown());
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(QFileInfo(folder.file(QStringLiteral("PV.ini"))).size(), 0);
    }

    void existingMarkerCountsAndStaysUntouched_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("text") << QByteArray("[Settings]\r\nCategory=Soups\r\n");
        QTest::newRow("binary") << QByteArray("\x00\xff\r\x1a", 4);
    }

    void existingMarkerCountsAndStaysUntouched() {
        QFETCH(QByteArray, content);
        test::TempAppFolder folder;
        QVERIFY(folder.write(QStringLiteral("PV.ini"), content));
        const QDateTime written = QFileInfo(folder.file(QStringLiteral("PV.ini"))).lastModified();
        test::RecordingMessages messages;
        windows().load(QStringLiteral("frmSplash"));
        FinishStartup();
        QVERIFY(mainMenuShown());
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(folder.read(QStringLiteral("PV.ini")), content);
        QCOMPARE(QFileInfo(folder.file(QStringLiteral("PV.ini"))).lastModified(), written);
    }

    void folderNamedLikeTheMarkerIsReportedAndStartupGoesOn() {
        test::TempAppFolder folder;
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("PV.ini")));
        const QString path = folder.file(QStringLiteral("PV.ini"));
        test::RecordingMessages messages;
        windows().show(QStringLiteral("frmSplash"));
        FinishStartup();
        QVERIFY(mainMenuShown());
        QVERIFY(!windows().loaded(QStringLiteral("frmSplash"))->isVisible());

        QCOMPARE(messages.shown.size(), 2);
        QCOMPARE(messages.shown.at(0).text, noCategoryText());
        QCOMPARE(messages.shown.at(0).flags, kNoticeFlags);
        const auto& failure = messages.shown.at(1);
        QCOMPARE(failure.title, QStringLiteral("Pantrova"));
        QCOMPARE(failure.flags, msg::kCritical);
        QVERIFY2(failure.text.contains(QDir::toNativeSeparators(path)), qPrintable(failure.text));
        QVERIFY2(failure.text.contains(QStringLiteral("directory"), Qt::CaseInsensitive),
                 qPrintable(failure.text));
        QVERIFY(QFileInfo(path).isDir());

        // Still no marker, so the next start tells the user again.
        messages.shown.clear();
        FinishStartup();
        QCOMPARE(messages.shown.size(), 2);
        QCOMPARE(messages.shown.at(0).title, QStringLiteral("User error"));
    }

    void missingApplicationFolderIsReportedToo() {
        test::TempAppFolder folder;
        setApplicationFolder(folder.file(QStringLiteral("gone/away")));
        test::RecordingMessages messages;
        FinishStartup();
        QVERIFY(mainMenuShown());
        QCOMPARE(messages.shown.size(), 2);
        QCOMPARE(messages.shown.at(1).flags, msg::kCritical);
        QVERIFY(messages.shown.at(1).text.contains(
            QDir::toNativeSeparators(folder.file(QStringLiteral("gone/away/PV.ini")))));
        QVERIFY(!QFileInfo::exists(folder.file(QStringLiteral("gone"))));
    }

    void markerPathIsInTheApplicationFolder() {
        test::TempAppFolder folder;
        QCOMPARE(firstRunMarkerPath(), folder.path() + QStringLiteral("/PV.ini"));
    }
};

QTEST_MAIN(SplashTest)
#include "tst_splash.moc"
