// Where the data lives: portable beside the program, or private to each user.
#include "../screens/road.h"
#include "appfolder.h"
#include "errorreportwindow.h"
#include "setupwindow.h"
#include "testsupport.h"

#include <QtTest>

#include <sys/stat.h>

using namespace pv;
using namespace Qt::StringLiterals;

namespace {

// The permission bits of a folder.
int modeOf(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

}  // namespace

class DataFolderTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { setApplicationFolder({}); }

    // A program folder that holds PV.ini or a Category folder (any letter case) keeps the
    // data; anything else leaves it to the user's folder.
    void decides_data() {
        QTest::addColumn<QStringList>("holds");
        QTest::addColumn<bool>("portable");
        QTest::newRow("PV.ini") << QStringList{u"PV.ini"_s} << true;
        QTest::newRow("pv.INI") << QStringList{u"pv.INI"_s} << true;
        QTest::newRow("Category") << QStringList{u"Category/"_s} << true;
        QTest::newRow("CATEGORY and PV.ini") << QStringList{u"CATEGORY/"_s, u"PV.ini"_s} << true;
        QTest::newRow("a folder named PV.ini") << QStringList{u"PV.ini/"_s} << false;
        QTest::newRow("a file named Category") << QStringList{u"Category"_s} << false;
        QTest::newRow("only Shopping List") << QStringList{u"Shopping List/"_s} << false;
    }
    void decides() {
        QFETCH(QStringList, holds);
        QFETCH(bool, portable);
        test::TempHome home;
        test::TempFolder program(QStringList{u"-Category"_s, u"-Shopping List"_s} + holds);
        const QStringList before = program.tree();
        setApplicationFolder(program.path());
        QCOMPARE(dataFolder(), portable ? program.path() : home.dataFolder());
        QCOMPARE(prepareDataFolder().has_value(), false);
        // A portable folder is left as it is; the user's is made.
        QCOMPARE(program.tree(), before);
        QCOMPARE(home.tree().isEmpty(), portable);
    }

    // A portable folder whose Category folder went missing stays where it is: the setup
    // screen reports the missing folder instead of showing another, empty collection.
    void aLostCategoryFolderIsReported() {
        test::TempHome home;
        QVERIFY(home.write(u".local/share/pantrova/Category/category.txt"_s, "Elsewhere\r\n"));
        test::ScreenBench bench({test::screen<SetupWindow>(WindowId::Setup)});
        QVERIFY(bench.app.write(u"PV.ini"_s, {}));
        QVERIFY(QDir(bench.app.file(u"Category"_s)).removeRecursively());
        setApplicationFolder(bench.app.path());  // the next start
        QCOMPARE(dataFolder(), bench.app.path());
        QCOMPARE(prepareDataFolder().has_value(), false);
        test::Road road(bench, WindowId::Setup);
        road.walk(u"open; ? windows=frmError; ? error=S - FL - 76 Path not found; ? shown="_s);
        QVERIFY(!bench.app.exists(u"Category"_s));
    }

    // Each folder made for the user's data is private from the start; one that was there
    // keeps its mode.
    void userFoldersArePrivate_data() {
        QTest::addColumn<QString>("there");  // a folder below the home made beforehand, 0755
        QTest::addColumn<QStringList>("made");
        QTest::newRow("a new home")
            << QString()
            << QStringList{u".local"_s, u".local/share"_s, u".local/share/pantrova"_s,
                           u".local/share/pantrova/Category"_s,
                           u".local/share/pantrova/Shopping List"_s};
        QTest::newRow("a data home there")
            << u".local/share"_s
            << QStringList{u".local/share/pantrova"_s, u".local/share/pantrova/Category"_s,
                           u".local/share/pantrova/Shopping List"_s};
        QTest::newRow("its folder there, without Category")
            << u".local/share/pantrova"_s
            << QStringList{u".local/share/pantrova/Category"_s,
                           u".local/share/pantrova/Shopping List"_s};
    }
    void userFoldersArePrivate() {
        QFETCH(QString, there);
        QFETCH(QStringList, made);
        const mode_t umask = ::umask(022);
        test::TempHome home;
        if (!there.isEmpty()) {
            QVERIFY(home.mkdir(there));
            QVERIFY(::chmod(QFile::encodeName(home.file(there)).constData(), 0755) == 0);
        }
        test::TempAppFolder app(test::TempAppFolder::Layout::Installed);
        QCOMPARE(prepareDataFolder().has_value(), false);
        ::umask(umask);
        for (const QString& folder : made) {
            QCOMPARE(modeOf(home.file(folder)), 0700);
        }
        if (!there.isEmpty()) {
            QCOMPARE(modeOf(home.file(there)), 0755);
        }
    }
};

QTEST_MAIN(DataFolderTest)
#include "tst_datafolder.moc"
