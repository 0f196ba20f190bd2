#include "appfolder.h"
#include "errorstate.h"
#include "messageservice.h"
#include "multilinebox.h"
#include "recipebrowserwindow.h"
#include "recipeentrywindow.h"
#include "screenmenubar.h"
#include "setupwindow.h"
#include "shoppinglistwindow.h"
#include "startup.h"
#include "testsupport.h"
#include "windowregistry.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QtTest>

#include <memory>

using namespace pv;
using namespace Qt::StringLiterals;

namespace {

const QString kNotice =
    u"User error|4144|Please click on 'Prg. setup' in the Main menu\r"
    u"and create at least 1 category."_s;
// What the program folder of an installed copy holds; nothing may be added to it.
const QStringList kInstalledTree{
    u"Documentation/"_s,  u"images/"_s,        u"images/Calendar.ico"_s, u"images/Exit.ico"_s,
    u"images/Main.ico"_s, u"images/New.ico"_s, u"images/Print.ico"_s,    u"images/Save.ico"_s};

bool makeFile(const QString& path, const QByteArray& bytes = {}) {
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).absolutePath()) && file.open(QIODevice::WriteOnly) &&
           file.write(bytes) == bytes.size();
}

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

}  // namespace

class DataFolderTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempHome> home_;
    std::unique_ptr<test::RecordingMessages> messages_;

    QStringList shown() const { return messages_->lines(); }

private slots:
    void init() {
        home_ = std::make_unique<test::TempHome>();
        messages_ = std::make_unique<test::RecordingMessages>();
        programErrors() = {};
    }
    void cleanup() {
        windows().reset();
        setApplicationFolder({});
        messages_.reset();
        home_.reset();
    }

    // beside: what the program folder holds besides the program ("name/" a folder).
    // xdg: XDG_DATA_HOME, "-" for unset, "~" standing for the temporary home.
    // expected: "program" for the program folder, otherwise the data folder below the home.
    void decides_data() {
        QTest::addColumn<QString>("beside");
        QTest::addColumn<QString>("xdg");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* tag, const char* beside, const char* xdg,
                            const char* expected) {
            QTest::newRow(tag) << QString::fromUtf8(beside) << QString::fromUtf8(xdg)
                               << QString::fromUtf8(expected);
        };
        row("portable", "Category/", "-", "program");
        row("portable, lower case", "category/", "-", "program");
        row("portable, upper case", "CATEGORY/", "-", "program");
        row("portable despite XDG_DATA_HOME", "Category/", "~/data", "program");
        row("installed", "", "-", ".local/share/pantrova");
        row("installed, XDG_DATA_HOME", "", "~/data/", "data/pantrova");
        row("installed, XDG_DATA_HOME empty", "", "", ".local/share/pantrova");
        row("installed, XDG_DATA_HOME relative", "", "data", ".local/share/pantrova");
        row("a file named Category", "Category", "-", ".local/share/pantrova");
    }
    void decides() {
        QFETCH(QString, beside);
        QFETCH(QString, xdg);
        QFETCH(QString, expected);
        if (xdg != u"-") {
            qputenv("XDG_DATA_HOME", QFile::encodeName(xdg.replace(u'~', home_->path())));
        }
        QTemporaryDir program;
        if (beside.endsWith(u'/')) {
            QVERIFY(QDir(program.path()).mkdir(beside));
        } else if (!beside.isEmpty()) {
            QVERIFY(makeFile(program.filePath(beside), "not a folder"));
        }
        const QStringList programTree = test::treeOf(program.path());
        setApplicationFolder(program.path());
        const bool portable = expected == u"program";
        const QString data = portable ? program.path() : home_->path() + u'/' + expected;
        QCOMPARE(dataFolder(), data);

        QCOMPARE(prepareDataFolder().has_value(), false);
        QCOMPARE(test::treeOf(program.path()), programTree);
        if (portable) {
            QCOMPARE(test::treeOf(home_->path()), QStringList());
            return;
        }
        QCOMPARE(test::treeOf(data), (QStringList{u"Category/"_s, u"Shopping List/"_s}));
        // A data home that had to be made is its user's alone.
        const QString dataHome = QFileInfo(data).absolutePath();
        const auto everyone = QFile::permissions(dataHome) & 0x0777;
        QCOMPARE(everyone, QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);

        // Later starts keep what is there; the folders stay where they were decided.
        QVERIFY(makeFile(data + u"/Category/category.txt"_s, "Soups\r\n"));
        QVERIFY(QDir(program.path()).mkdir(u"category"_s));
        QCOMPARE(dataFolder(), data);
        QCOMPARE(prepareDataFolder().has_value(), false);
        QCOMPARE(test::treeOf(data),
                 (QStringList{u"Category/"_s, u"Category/category.txt"_s, u"Shopping List/"_s}));
    }

    // A folder copied from a portable copy may spell its folders in lower case.
    void keepsACopiedFolder() {
        const QString data = home_->dataFolder();
        QVERIFY(makeFile(data + u"/category/category.txt"_s, "Pies\r\n"));
        QVERIFY(makeFile(data + u"/shopping list/week.txt"_s, "milk\r\n"));
        QVERIFY(makeFile(data + u"/PV.ini"_s));
        const QStringList before = test::treeOf(data);
        test::TempAppFolder app(test::TempAppFolder::Layout::Installed);
        QCOMPARE(prepareDataFolder().has_value(), false);
        QCOMPARE(test::treeOf(data), before);
        QCOMPARE(bytesOf(data + u"/category/category.txt"_s), QByteArray("Pies\r\n"));
    }

    // block: a file where a folder of the data tree goes ("" for none), below the home.
    // made: the folder named in the message and the reason given.
    void startUp_data() {
        QTest::addColumn<QString>("block");
        QTest::addColumn<QString>("made");
        QTest::addColumn<QString>("reason");
        QTest::newRow("first start") << QString() << QString() << QString();
        QTest::newRow("no data home")
            << u".local"_s << u".local/share/pantrova"_s << u"Not a directory"_s;
        QTest::newRow("a file for the data folder")
            << u".local/share/pantrova"_s << u".local/share/pantrova"_s << u"Not a directory"_s;
        QTest::newRow("a file for the category root")
            << u".local/share/pantrova/category"_s << u".local/share/pantrova/category"_s
            << u"Not a directory"_s;
    }
    void startUp() {
        QFETCH(QString, block);
        QFETCH(QString, made);
        QFETCH(QString, reason);
        if (!block.isEmpty()) {
            QVERIFY(makeFile(home_->path() + u'/' + block, "in the way"));
        }
        const QStringList homeBefore = test::treeOf(home_->path());
        test::TempAppFolder app(test::TempAppFolder::Layout::Installed);
        test::registerStandIns({WindowId::Splash, WindowId::Main});
        QVERIFY(windows().show(WindowId::Splash));
        finishStartup();
        QVERIFY(!windows().loaded(WindowId::Splash)->isVisible());
        QVERIFY(windows().loaded(WindowId::Main) && windows().loaded(WindowId::Main)->isVisible());
        QCOMPARE(test::treeOf(app.path()), kInstalledTree);

        const QString data = home_->dataFolder();
        if (block.isEmpty()) {
            QCOMPARE(shown(), QStringList{kNotice});
            QCOMPARE(firstRunMarkerPath(), data + u"/PV.ini"_s);
            QCOMPARE(test::treeOf(data),
                     (QStringList{u"Category/"_s, u"PV.ini"_s, u"Shopping List/"_s}));
            QCOMPARE(bytesOf(data + u"/PV.ini"_s), QByteArray());
            // The next start finds the marker.
            messages_->shown.clear();
            finishStartup();
            QCOMPARE(shown(), QStringList());
            return;
        }
        // Told where and why; no notice, no marker, nothing else written.
        const QString path = QDir::toNativeSeparators(home_->path() + u'/' + made);
        QCOMPARE(
            shown(),
            QStringList{u"Pantrova|16|The folder\r"_s + path + u"\rcould not be created: "_s +
                        reason + u".\rRecipes and shopping lists cannot be kept until it can."_s});
        QCOMPARE(test::treeOf(home_->path()), homeBefore);
    }

    // Every screen keeps its data in the user's folder and reads its icons
    // from the program's folder.
    void screensKeepTheirDataThere() {
        messages_.reset();
        test::ScreenBench bench({test::screen<SetupWindow>(WindowId::Setup),
                                 test::screen<RecipeEntryWindow>(WindowId::RecipeEntry),
                                 test::screen<RecipeBrowserWindow>(WindowId::RecipeBrowser),
                                 test::screen<ShoppingListWindow>(WindowId::ShoppingList)},
                                test::TempAppFolder::Layout::Installed);
        QCOMPARE(prepareDataFolder().has_value(), false);

        QWidget* setup = windows().show(WindowId::Setup);
        test::control<QLineEdit>(setup, u"txtSCreate"_s)->setText(u"Soups"_s);
        test::click(setup, u"cmdSCreate"_s);

        QWidget* ingred = windows().show(WindowId::RecipeEntry);
        test::pick(ingred, u"cboIng"_s, u"Soups"_s);
        test::control<QLineEdit>(ingred, u"txtIName"_s)->setText(u"Stew"_s);
        test::control<QLineEdit>(ingred, u"txtIN1"_s)->setText(u"beef"_s);
        test::click(ingred, u"cmdISave"_s);
        QVERIFY(!test::control<ScreenMenuBar>(ingred, u"SMXPI"_s)
                     ->actionFor(u"keySave"_s)
                     ->icon()
                     .isNull());

        QWidget* recipes = windows().show(WindowId::RecipeBrowser);
        test::pick(recipes, u"cboRCat"_s, u"Soups"_s);
        QCOMPARE(test::listed(test::control<QListView>(recipes, u"lswRFile"_s)),
                 QStringList{u"Stew"_s});

        QWidget* shop = windows().show(WindowId::ShoppingList);
        test::control<MultiLineBox>(shop, u"txtHList"_s)->setText(u"milk"_s);
        test::control<QLineEdit>(shop, u"txtHName"_s)->setText(u"Week"_s);
        test::click(shop, u"cmdHSave"_s);

        QCOMPARE(bench.shown(), QStringList());
        QCOMPARE(programErrors().errorLocation, QString());
        const QString data = home_->dataFolder();
        QCOMPARE(test::treeOf(data),
                 (QStringList{u"Category/"_s, u"Category/Soups/"_s, u"Category/Soups/Stew"_s,
                              u"Category/category.txt"_s, u"Shopping List/"_s,
                              u"Shopping List/Week.txt"_s}));
        QCOMPARE(bytesOf(data + u"/Category/category.txt"_s), QByteArray("Soups\r\n"));
        QVERIFY(bytesOf(data + u"/Category/Soups/Stew"_s).contains("\"beef\""));
        QCOMPARE(bytesOf(data + u"/Shopping List/Week.txt"_s), QByteArray("milk\r\n"));
        QCOMPARE(test::treeOf(bench.app.path()), kInstalledTree);
    }
};

QTEST_MAIN(DataFolderTest)
#include "tst_datafolder.moc"
