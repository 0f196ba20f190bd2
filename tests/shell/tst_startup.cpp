#include "../screens/road.h"
#include "appfolder.h"
#include "busypointer.h"
#include "errorstate.h"
#include "mainmenuwindow.h"
#include "messageservice.h"
#include "recipebrowserwindow.h"
#include "recipeentrywindow.h"
#include "screenmenubar.h"
#include "setupwindow.h"
#include "shoppinglistwindow.h"
#include "splashwindow.h"
#include "startup.h"
#include "testsupport.h"
#include "windowregistry.h"

#include <QProgressBar>
#include <QSignalSpy>
#include <QtTest>

#include <optional>

using namespace pv;
using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

// The two windows of start-up, with a short tick.
void registerStartupWindows() {
    windows().registerWindow(WindowId::Splash, [] { return new SplashWindow(2ms); });
    windows().registerWindow(WindowId::Main, [] { return new MainMenuWindow; });
}

bool mainMenuShown() {
    const PvWindow* menu = windows().loaded(WindowId::Main);
    return menu && menu->isVisible();
}

const QString kMarker = u"PV.ini"_s;
const QString kNotice =
    u"User error|4144|Please click on 'Prg. setup' in the Main menu\r"
    u"and create at least 1 category."_s;

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT

    // A fresh home and recorded messages for each test, the start-up windows registered.
    struct Bench {
        test::TempHome home;
        test::RecordingMessages messages;
        Bench() { registerStartupWindows(); }
        ~Bench() {
            windows().reset();
            setDefaultPointer();
            setApplicationFolder({});
            programErrors() = {};
        }
    };
    std::optional<Bench> bench_;

private slots:
    void init() { bench_.emplace(); }
    void cleanup() { bench_.reset(); }

    // Load starts the 100 ms tick with the busy pointer; nothing the user does skips it.
    void splashCannotBeSkipped() {
        SplashWindow splash;
        splash.show();
        splash.onLoad();
        QCOMPARE(splash.timer()->interval(), 100);
        QVERIFY(isBusyPointer());
        QCOMPARE(splash.progress()->maximum(), 100);
        QVERIFY(!splash.close());
        QTest::keyClick(&splash, Qt::Key_Escape);
        QTest::mouseClick(&splash, Qt::LeftButton);
        QVERIFY(splash.isVisible() && splash.timer()->isActive());
        QCOMPARE(windows().loaded(WindowId::Main), nullptr);
        splash.timer()->stop();
    }

    // "absent": the first start shows the notice and creates an empty marker.
    // "present": an existing marker, whatever it holds, counts and stays untouched.
    // "folder" (one named PV.ini): no marker can be made; the user is told why,
    // start-up goes on, and every start shows the notice. The marker's name is
    // found in any letter case.
    void marker_data() {
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
    void marker() {
        QFETCH(QString, marker);
        QFETCH(QByteArray, content);
        QFETCH(QString, name);
        const bool present = marker == u"present";
        const bool fails = marker == u"folder";
        test::TempAppFolder folder;
        const QString path = folder.file(name);
        QVERIFY(!present || folder.write(name, content));
        QVERIFY(!fails || folder.mkdir(name));
        const QDateTime written = QFileInfo(path).lastModified();
        bool markerOrSplashAtNotice = false;
        bench_->messages.onShow = [&](const test::RecordingMessages::Shown& shown) {
            markerOrSplashAtNotice |=
                shown.title == u"User error" &&
                (QFileInfo(path).isFile() || windows().loaded(WindowId::Splash)->isVisible());
        };
        auto* splash = qobject_cast<SplashWindow*>(windows().show(WindowId::Splash));
        QVERIFY(splash && splash->isVisible() && isBusyPointer());
        QSignalSpy steps(splash->progress(), &QProgressBar::valueChanged);

        QTRY_VERIFY(mainMenuShown());
        QCOMPARE(steps.size(), 25);
        for (int i = 0; i < steps.size(); ++i) QCOMPARE(steps.at(i).at(0).toInt(), 4 * (i + 1));
        QVERIFY(!splash->timer()->isActive() && !isBusyPointer());
        // Hidden, not closed: it stays loaded until the program ends.
        QVERIFY(!splash->isVisible());
        QCOMPARE(windows().loaded(WindowId::Splash), splash);
        QVERIFY(!markerOrSplashAtNotice);
        QCOMPARE(bench_->messages.lines(),
                 (present ? QStringList() : QStringList{kNotice}) +
                     (fails ? QStringList{u"Pantrova|16|The file\r"_s + path +
                                          u"\rcould not be created: Is a directory.\r"
                                          u"This notice will be shown again at the next start."_s}
                            : QStringList()));
        QVERIFY(fails ? QFileInfo(path).isDir() : firstRunMarkerPath() == path);
        QVERIFY(fails || folder.read(name) == content);
        // One marker, whatever its letter case.
        QCOMPARE(QDir(folder.path()).entryList({kMarker}, QDir::AllEntries).size(), 1);
        QVERIFY(!present || QFileInfo(path).lastModified() == written);

        // The next start.
        windows().reset();
        registerStartupWindows();
        bench_->messages.shown.clear();
        windows().load(WindowId::Splash);
        finishStartup();
        QVERIFY(mainMenuShown());
        QCOMPARE(bench_->messages.shown.size(), fails ? 2 : 0);
        QVERIFY(fails || folder.read(name) == content);
    }

    // Each row: what the program folder holds besides the program ("name/" a folder),
    // XDG_DATA_HOME ("-" unset, "~" the temporary home), and the data folder below the
    // home, or "program" for the program's own.
    void decides_data() {
        QTest::addColumn<QStringList>("given");
        for (const char* row :
             {"Category/|-|program", "category/|-|program", "CATEGORY/|-|program",
              "Category/|~/data|program", "|-|.local/share/pantrova", "|~/data/|data/pantrova",
              "||.local/share/pantrova", "|data|.local/share/pantrova",
              "Category|-|.local/share/pantrova"}) {
            QTest::newRow(row) << QString::fromUtf8(row).split(u'|');
        }
    }
    void decides() {
        QFETCH(QStringList, given);
        const QString expected = given[2];
        if (given[1] != u"-") {
            qputenv("XDG_DATA_HOME",
                    QFile::encodeName(given[1].replace(u'~', bench_->home.path())));
        }
        test::TempFolder program(QStringList{u"-Category"_s, u"-Shopping List"_s} +
                                 given.mid(0, given[0].isEmpty() ? 0 : 1));
        const QStringList programTree = program.tree();
        setApplicationFolder(program.path());
        const bool portable = expected == u"program";
        QCOMPARE(dataFolder(), portable ? program.path() : bench_->home.file(expected));
        QCOMPARE(prepareDataFolder().has_value(), false);
        QCOMPARE(program.tree(), programTree);
        if (portable) {
            QCOMPARE(bench_->home.tree(), QStringList());
            return;
        }
        QCOMPARE(bench_->home.tree(expected), (QStringList{u"Category/"_s, u"Shopping List/"_s}));
        // A data home that had to be made is its user's alone.
        const auto everyone = QFile::permissions(bench_->home.file(expected + u"/.."_s)) & 0x0777;
        QCOMPARE(everyone, QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);

        // Later starts keep what is there; the folders stay where they were decided.
        QVERIFY(bench_->home.write(expected + u"/Category/category.txt"_s, "Soups\r\n"));
        QVERIFY(program.mkdir(u"category"_s));
        QCOMPARE(dataFolder(), bench_->home.file(expected));
        QCOMPARE(prepareDataFolder().has_value(), false);
        QCOMPARE(bench_->home.tree(expected),
                 (QStringList{u"Category/"_s, u"Category/category.txt 7"_s, u"Shopping List/"_s}));
    }

    // A folder copied from a portable copy may spell its folders in lower case.
    void keepsACopiedFolder() {
        for (const QString& file :
             {u"category/category.txt"_s, u"shopping list/week.txt"_s, u"PV.ini"_s}) {
            QVERIFY(bench_->home.write(u".local/share/pantrova/"_s + file, file.toLatin1()));
        }
        const QStringList before = bench_->home.tree();
        test::TempAppFolder app(test::TempAppFolder::Layout::Installed);
        QCOMPARE(prepareDataFolder().has_value(), false);
        QCOMPARE(bench_->home.tree(), before);
    }

    // A file where a folder of the data tree goes, below the home: the user is told
    // where and why; no notice, no marker, nothing written.
    void dataFolderBlocked_data() {
        QTest::addColumn<QString>("block");
        QTest::addColumn<QString>("made");  // the folder named in the message
        QTest::newRow("no data home") << u".local"_s << u".local/share/pantrova"_s;
        QTest::newRow("a file for the data folder")
            << u".local/share/pantrova"_s << u".local/share/pantrova"_s;
        QTest::newRow("a file for the category root")
            << u".local/share/pantrova/category"_s << u".local/share/pantrova/category"_s;
    }
    void dataFolderBlocked() {
        QFETCH(QString, block);
        QFETCH(QString, made);
        QVERIFY(bench_->home.write(block, "in the way"));
        const QStringList homeBefore = bench_->home.tree();
        test::TempAppFolder app(test::TempAppFolder::Layout::Installed);
        const QStringList programBefore = app.tree();
        test::registerStandIns({WindowId::Splash, WindowId::Main});
        QVERIFY(windows().show(WindowId::Splash));
        finishStartup();
        QVERIFY(!windows().loaded(WindowId::Splash)->isVisible() && mainMenuShown());
        QCOMPARE(app.tree(), programBefore);
        QCOMPARE(bench_->messages.lines(),
                 QStringList{u"Pantrova|16|The folder\r"_s + bench_->home.file(made) +
                             u"\rcould not be created: Not a directory.\r"
                             u"Recipes and shopping lists cannot be kept until it can."_s});
        QCOMPARE(bench_->home.tree(), homeBefore);
    }

    // An installed copy's first start: every screen keeps its data in the user's
    // folder, the marker too, and reads its icons from the program's folder.
    void screensKeepTheirDataThere() {
        test::ScreenBench bench({test::screen<SetupWindow>(WindowId::Setup),
                                 test::screen<RecipeEntryWindow>(WindowId::RecipeEntry),
                                 test::screen<RecipeBrowserWindow>(WindowId::RecipeBrowser),
                                 test::screen<ShoppingListWindow>(WindowId::ShoppingList)},
                                test::TempAppFolder::Layout::Installed);
        const QStringList programBefore = bench.app.tree();
        finishStartup();
        QCOMPARE(firstRunMarkerPath(), bench_->home.dataFolder() + u"/PV.ini"_s);
        test::Road road(bench, WindowId::Setup);
        // "home PATH": a data file's bytes.
        road.probe = [this](const QString& probe) {
            return probe.startsWith(u"home "_s) ? QString::fromLatin1(bench_->home.read(
                                                      u".local/share/pantrova/"_s + probe.mid(5)))
                                                : QString();
        };
        road.walk(
            u"open frmSetup; set txtSCreate=Soups; click cmdSCreate; "
            u"open frmIngred; pick cboIng=Soups; set txtIName=Stew; set txtIN1=beef; "
            u"click cmdISave; open frmRecipe; pick cboRCat=Soups; ? listed lswRFile=Stew; "
            u"open frmShop; set txtHList=milk; set txtHName=Week; click cmdHSave; "
            u"? error=; ? home Category/category.txt=Soups\r\n; "
            u"? home Shopping List/Week.txt=milk\r\n; ? shown="_s +
            kNotice);
        QVERIFY(!test::control<ScreenMenuBar>(windows().loaded(WindowId::RecipeEntry), u"SMXPI"_s)
                     ->actionFor(u"keySave"_s)
                     ->icon()
                     .isNull());
        const QString stew = bench_->home.read(u".local/share/pantrova/Category/Soups/Stew"_s);
        QCOMPARE(bench_->home.tree(u".local/share/pantrova"_s),
                 (QStringList{u"Category/"_s, u"Category/Soups/"_s,
                              u"Category/Soups/Stew "_s + QString::number(stew.size()),
                              u"Category/category.txt 7"_s, u"PV.ini 0"_s, u"Shopping List/"_s,
                              u"Shopping List/Week.txt 6"_s}));
        QVERIFY(stew.contains("\"beef\""));
        QCOMPARE(bench.app.tree(), programBefore);
    }
};

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
