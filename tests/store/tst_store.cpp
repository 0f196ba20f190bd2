// Categories and recipes, round trips through real files below a temporary application folder.
#include "conflictcopy.h"
#include "freename.h"
#include "storetest.h"
#include "table.h"
#include "tempfolder.h"

#include <QRegularExpression>

#include <utime.h>

using namespace pv::store;
using namespace Qt::StringLiterals;
using namespace pv::test;

namespace {

const QString kList = u"Category/category.txt"_s;
// "created", "exists" or the failure; the category list afterwards.
const Table<QStringList, QString, QString, QByteArray> kCreate({"setup", "name", "result", "list"});
// The count or the failure; the count the hook reported, -1 when the hooks must not run.
const Table<QByteArray, QStringList, QString, QString, int, QByteArray, QStringList> kDelete(
    {"list", "folders", "name", "result", "reported", "listAfter", "foldersAfter"});
// "field=text" saved, the bytes written, and where loading differs from what was saved.
const Table<QStringList, QByteArray, int, QStringList> kBytes({"set", "bytes", "size", "loaded"});

}  // namespace

class StoreTest : public QObject {
    Q_OBJECT

private slots:
    void createCategory_data() {
        kCreate.columns();
        const QString pies = u"Category/category.txt=Pies\r\n"_s;
        kCreate("first", {}, "Soups", "created", "Soups\r\n");
        kCreate("Windows-1252", {pies}, "Pâté à la crème", "created",
                "Pies\r\nP\xE2t\xE9 \xE0 la cr\xE8me\r\n");
        kCreate("after an open last line", {"Category/category.txt=Pies"}, "Soups", "created",
                "Pies\r\nSoups\r\n");
        kCreate("comma", {}, "Breads, Cakes", "created", "Breads, Cakes\r\n");
        kCreate("exists", {pies, "Category/Soups/"}, "Soups", "exists", "Pies\r\n");
        kCreate("exists in other case", {pies, "Category/Soups/"}, "SOUPS", "exists", "Pies\r\n");
        kCreate("folder without a line", {pies, "Category/soups/"}, "Soups", "exists", "Pies\r\n");
    }

    void createCategory() {
        const auto [setup, name, result, list] = kCreate.fetch();
        TempFolder app(setup);
        const QStringList before = app.tree();
        const auto created = Store(app.path()).createCategory(name);
        QCOMPARE(created.value() == CreateResult::Created ? u"created"_s : u"exists"_s, result);
        QCOMPARE(app.read(kList), list);
        QVERIFY(result == u"created" ? QFileInfo(app.file("Category/" + name)).isDir()
                                     : app.tree() == before);
    }

    void listCategories() {
        TempFolder app;
        Store store(app.path());
        QCOMPARE(said(store.listCategoriesByLine()), u"53 File not found"_s);
        QCOMPARE(said(store.listCategoriesByField()), u"53 File not found"_s);
        QVERIFY(app.write(kList, "Soups\r\nBreads, Cakes\r\nCr\xE8me\r\n"));
        QCOMPARE(store.listCategoriesByLine().value(),
                 (QStringList{"Soups", "Breads, Cakes", "Crème"}));
        QCOMPARE(store.listCategoriesByField().value(),
                 (QStringList{"Soups", "Breads", "Cakes", "Crème"}));
    }

    void deleteCategory_data() {
        kDelete.columns();
        kDelete("Pie of Apple Pie, Pie, Pies", "Apple Pie\r\nPie\r\nPies\r\n",
                {"Apple Pie", "Pie", "Pies"}, "Pie", "1", 1, "Apple Pie\r\nPies\r\n",
                {"Apple Pie", "Pies"});
        kDelete("listed twice", "Pie\r\nSoups\r\nPie\r\n", {"Pie", "Soups"}, "Pie", "2", 2,
                "Soups\r\n", {"Soups"});
        kDelete("not listed, folder exists", "Soups\r\n", {"Soups", "Stray"}, "Stray", "0", 0,
                "Soups\r\n", {"Soups"});
        kDelete("last one empties the list", "Soups\r\n", {"Soups"}, "Soups", "1", 1, "", {});
        kDelete("other case", "Pies\r\nSoups\r\n", {"Pies", "Soups"}, "soups", "1", 1, "Pies\r\n",
                {"Pies"});
        kDelete("other lines keep their bytes", "  Cr\xE8me\r\nPie\r\nx\x81y \r\n", {"Pie"}, "Pie",
                "1", 1, "  Cr\xE8me\r\nx\x81y \r\n", {});
        kDelete("empty name touches nothing", "\r\nSoups\r\n", {"Soups"}, "", "0", -1,
                "\r\nSoups\r\n", {"Soups"});
        kDelete("folder already gone", "Pie\r\nSoups\r\n", {"Soups"}, "Pie", "1", 1, "Soups\r\n",
                {"Soups"});
        kDelete("deleted again", "Soups\r\n", {"Soups"}, "Pie", "0", 0, "Soups\r\n", {"Soups"});
    }

    void deleteCategory() {
        const auto [list, folders, name, result, reported, listAfter, foldersAfter] =
            kDelete.fetch();
        TempFolder app;
        QVERIFY(app.write(kList, list));
        for (const QString& folder : folders) {
            QVERIFY(app.mkdir("Category/" + folder) &&
                    app.write("Category/" + folder + "/r", "\"\"\r\n"));
        }
        // The list is rewritten and the count reported before the folder goes.
        QStringList steps;
        const DeleteHooks hooks{[&] {
                                    steps << u"before"_s;
                                    QCOMPARE(app.read(kList), list);
                                },
                                [&](int count) {
                                    steps << QString::number(count);
                                    QCOMPARE(app.read(kList), listAfter);
                                    QCOMPARE(app.exists("Category/" + name),
                                             folders.contains(name));
                                }};
        const auto deleted = Store(app.path()).deleteCategory(name, hooks);
        QCOMPARE(deleted.ok() ? QString::number(deleted.value()) : said(deleted), result);
        QCOMPARE(steps, reported < 0 ? QStringList{}
                                     : (QStringList{u"before"_s, QString::number(reported)}));
        QCOMPARE(app.read(kList), listAfter);
        const QDir root(app.file(u"Category"_s));
        QCOMPARE(root.entryList(QDir::Dirs | QDir::NoDotAndDotDot), foldersAfter);
        QCOMPARE(root.entryList(QDir::Files | QDir::Hidden), QStringList{u"category.txt"_s});
    }

    void recipeBytes_data() {
        kBytes.columns();
        // ASCII fields are written as they are.
        auto row = [](const char* tag, const QStringList& set, int size, QByteArray bytes = {},
                      const QStringList& loaded = {}) {
            QMap<int, QByteArray> ascii;
            for (const QString& entry : set) {
                ascii.insert(entry.section(u'=', 0, 0).toInt(), entry.section(u'=', 1).toLatin1());
            }
            kBytes(tag, set, bytes.isEmpty() ? record(ascii) : bytes, size, loaded);
        };
        row("all empty", {}, 106);
        row("2 cups flour in 1, 11, 21", {"1=2", "11=cups", "21=flour"}, 116);
        row("two-line directions", {"31=Mix.\r\nBake."}, 117);
        row("leading and trailing blanks", {"23=  salt  ", "35=45"}, 116);
        row("commas and a lone LF", {"31=Stir, then\nfold"}, 121);
        row("Windows-1252", {"21=Crème – 2 €, à la", "1=ŒO\u0081\u008D\u008F\u0090\u009D"}, 130,
            record({{1, "\x8CO\x81\x8D\x8F\x90\x9D"}, {21, "Cr\xE8me \x96 2 \x80, \xE0 la"}}));
        row("double quote", {"21=9\" pan, greased", "22=eggs"}, 125,
            record({{21, "9\x94 pan, greased"}, {22, "eggs"}}), {"21=9” pan, greased"});
    }

    void recipeBytes() {
        const auto [set, bytes, size, loaded] = kBytes.fetch();
        TempFolder app({"Category/Soups/"});
        Store store(app.path());
        QCOMPARE(said(store.saveRecipe(u"Soups"_s, u"Stew"_s, recipe(set))), u"ok"_s);
        QCOMPARE(app.read(u"Category/Soups/Stew"_s), bytes);
        QCOMPARE(bytes.size(), size);
        QCOMPARE(store.loadRecipe(u"Soups"_s, u"Stew"_s).value(), recipe(set + loaded));
    }

    void caseInsensitiveResolution() {
        TempFolder app({"-Category", "-Shopping List", "shopping list/", "category/Crème brûlée/"});
        Store store(app.path());
        QCOMPARE(store.createCategory(u"Soups"_s).value(), CreateResult::Created);
        QCOMPARE(app.read(u"category/category.txt"_s), QByteArray("Soups\r\n"));
        QCOMPARE(store.resolve(u"Category/SOUPS/New/Deeper"_s),
                 app.file(u"category/Soups/New/Deeper"_s));
        QVERIFY(store.saveShoppingList(u"Week"_s, u"milk"_s).ok());
        QCOMPARE(store.readShoppingList(u"WEEK.TXT"_s).value(), u"milk\r\n"_s);
        // Letters beyond ASCII fold too.
        QVERIFY(store.saveRecipe(u"CRÈME BRÛLÉE"_s, u"Tart"_s, {}).ok());
        QVERIFY(store.saveRecipe(u"crème brûlée"_s, u"TART"_s, recipe({"32=180"})).ok());
        QCOMPARE(QDir(app.file(u"category/Crème brûlée"_s)).entryList(QDir::Files | QDir::Hidden),
                 QStringList{u"Tart"_s});
        QCOMPARE(app.read(u"category/Crème brûlée/Tart"_s), record({{32, "180"}}));
    }
    void firstFreeName_data() {
        QTest::addColumn<QStringList>("taken");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("free");
        QTest::newRow("free") << QStringList{u"Soup"_s} << u"Stew"_s << u"Stew"_s;
        QTest::newRow("taken") << QStringList{u"Stew"_s} << u"Stew"_s << u"Stew (2)"_s;
        QTest::newRow("gap") << QStringList{u"stew"_s, u"STEW (2)"_s, u"Stew (4)"_s} << u"Stew"_s
                             << u"Stew (3)"_s;
        QTest::newRow("placeholders")
            << QStringList{u"50%2 %1"_s} << u"50%2 %1"_s << u"50%2 %1 (2)"_s;
    }
    void firstFreeName() {
        QFETCH(QStringList, taken);
        QFETCH(QString, name);
        QFETCH(QString, free);
        QCOMPARE(pv::store::firstFreeName(name,
                                          [&](const QString& candidate) {
                                              return taken.contains(candidate, Qt::CaseInsensitive);
                                          }),
                 free);
    }

    // A name that starts with a dot is hidden, so nothing new gets one; what an
    // older version made under such a name is still used and deleted.
    void hiddenNamesMadeBefore() {
        TempFolder app({"Category/category.txt=.old\r\nSoups\r\n", "Category/.old/"});
        Store store(app.path());
        QCOMPARE(said(store.saveRecipe(u".old"_s, u"Stew"_s, recipe({"21=beef"}))), u"ok"_s);
        QCOMPARE(app.read(u"Category/.old/Stew"_s), record({{21, "beef"}}));
        QCOMPARE(store.deleteCategory(u".old"_s).value(), 1);
        QCOMPARE(app.tree(u"Category"_s), QStringList{u"category.txt 7"_s});
    }

    void conflictCopies_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("copyOf");
        QTest::newRow("Syncthing") << u"Stew.sync-conflict-20261207-101500-ABCDEFG"_s << u"Stew"_s;
        QTest::newRow("Syncthing, extension")
            << u"weekly.sync-conflict-20261207-101500-7QX2M4P.txt"_s << u"weekly.txt"_s;
        QTest::newRow("Nextcloud") << u"Stew (conflicted copy 2026-12-07 101500)"_s << u"Stew"_s;
        QTest::newRow("Dropbox") << u"Pea soup (Anna's conflicted copy 2026-12-07)"_s
                                 << u"Pea soup"_s;
        QTest::newRow("capitals") << u"Stew (Conflicted Copy 2026-12-07)"_s << u"Stew"_s;
        QTest::newRow("ownCloud") << u"Stew_conflict-20261207-101500"_s << u"Stew"_s;
        QTest::newRow("Seafile") << u"Stew (SFConflict anna@home 2026-12-07-10-15-00)"_s
                                 << u"Stew"_s;
        QTest::newRow("plain") << u"Stew"_s << QString();
        QTest::newRow("a word alike") << u"Conflict soup"_s << QString();
        QTest::newRow("short id") << u"Stew.sync-conflict-20261207-101500-ABC"_s << QString();
        QTest::newRow("the mark alone") << u".sync-conflict-20261207-101500-ABCDEFG"_s << QString();
        QTest::newRow("copy, not conflicted") << u"Stew (copy 2)"_s << QString();
    }
    void conflictCopies() {
        QFETCH(QString, name);
        QTEST(conflictCopyOf(name), "copyOf");
    }

    // The name a save reaches: the file there, ignoring case, as listed.
    void storedRecipeName() {
        TempFolder app({"Category/Soups/stew", "Category/Soups/.hidden", "Category/Soups/Folder/"});
        QVERIFY(app.writeNative("Category/Soups/Cr\xE8me"));
        const Store store(app.path());
        QCOMPARE(store.storedRecipeName(u"Soups"_s, u"STEW"_s), u"stew"_s);
        QCOMPARE(store.storedRecipeName(u"SOUPS"_s, u"crème"_s), u"Crème"_s);
        QCOMPARE(store.storedRecipeName(u"Soups"_s, u"Tart"_s), QString());
        QCOMPARE(store.storedRecipeName(u"Soups"_s, u"Folder"_s), QString());
        QCOMPARE(store.storedRecipeName(u"Pies"_s, u"stew"_s), QString());
        QCOMPARE(store.storedRecipeName(u"Soups"_s, u"../Soups/stew"_s), QString());
        QCOMPARE(store.storedRecipeName(QString(), u"stew"_s), QString());
    }

    // While a save runs its file is hidden and named so that a later start knows it;
    // a name as long as a folder entry takes still saves.
    void temporaryFileOfASave() {
        TempFolder app({"Category/Soups/Stew=old"});
        Store store(app.path());
        fs::ReplacingFile file(fs::fromText(app.file(u"Category/Soups/Stew"_s)));
        QVERIFY(file.open());
        QVERIFY(file.write("new"));
        const QStringList during =
            QDir(app.file(u"Category/Soups"_s)).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(during.size(), 2);
        const QString temp = during.value(during.indexOf(u"Stew"_s) == 0 ? 1 : 0);
        QVERIFY2(QRegularExpression(u"^\\.pv-save-[0-9a-z]+-Stew$"_s).match(temp).hasMatch(),
                 qPrintable(temp));
        QVERIFY(fs::isReplacingFileTemp(fs::encodeName(temp)));
        QCOMPARE(store.listRecipeFiles(u"Soups"_s).value(), (QStringList{u"Stew"_s, QString()}));
        QVERIFY(file.commit());
        QCOMPARE(app.tree(u"Category/Soups"_s), QStringList{u"Stew 3"_s});

        const QString longest(255, u'n');
        QCOMPARE(said(store.saveRecipe(u"Soups"_s, longest, {})), u"ok"_s);
        QCOMPARE(app.tree(u"Category/Soups"_s), (QStringList{u"Stew 3"_s, longest + u" 106"_s}));
    }

    // What saves left when the program died mid-save goes once it is old enough to be
    // nobody's save still running; nothing else goes.
    void staleTemporaryFiles() {
        TempFolder app({"Category/Soups/.pv-save-k3j9a-Stew", "Category/Soups/.pv-save-q1-Tart",
                        "Category/Soups/.syncthing.Stew.tmp", "Category/Soups/Stew",
                        "Category/Soups/pv-save-x-Stew", "Category/Soups/.pv-save-folder/",
                        "Category/.pv-save-a1-category.txt"});
        const auto age = [&](const QString& path, qint64 seconds) {
            const time_t then = time(nullptr) - time_t(seconds);
            const utimbuf times{then, then};
            return utime(QFile::encodeName(app.file(path)).constData(), &times) == 0;
        };
        for (const char* old :
             {"Category/Soups/.pv-save-k3j9a-Stew", "Category/Soups/.syncthing.Stew.tmp",
              "Category/Soups/pv-save-x-Stew", "Category/Soups/.pv-save-folder",
              "Category/.pv-save-a1-category.txt"}) {
            QVERIFY(age(QString::fromLatin1(old), Store::kStaleSaveSeconds + 5));
        }
        QVERIFY(age(u"Category/Soups/.pv-save-q1-Tart"_s, Store::kStaleSaveSeconds - 60));
        const Store store(app.path());
        QCOMPARE(store.removeStaleSaves(u"category/SOUPS"_s), 1);
        QCOMPARE(app.tree(u"Category/Soups"_s),
                 (QStringList{u".pv-save-folder/"_s, u".pv-save-q1-Tart 1"_s,
                              u".syncthing.Stew.tmp 1"_s, u"Stew 1"_s, u"pv-save-x-Stew 1"_s}));
        QCOMPARE(store.removeStaleSaves(u"Category"_s), 1);
        QCOMPARE(store.removeStaleSaves(u"Shopping List"_s), 0);
        QCOMPARE(store.removeStaleSaves(u"Category/Gone"_s), 0);
    }
};

QTEST_GUILESS_MAIN(StoreTest)
#include "tst_store.moc"
