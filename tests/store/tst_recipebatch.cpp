// Many recipes saved at once: the same bytes as one save, free names, nothing written over.
#include "recipebatch.h"
#include "storetest.h"
#include "tempfolder.h"

#include <QtTest>

#include <csignal>
#include <ctime>

#include <sys/time.h>

using namespace pv::store;
using namespace Qt::StringLiterals;
using namespace pv::test;

namespace {

// A pid no process has now.
long deadPid() {
    for (long pid = 4000000; pid > 1000; --pid) {
        if (::kill(pid_t(pid), 0) != 0 && errno == ESRCH) {
            return pid;
        }
    }
    return -1;
}

}  // namespace

class RecipeBatchTest : public QObject {
    Q_OBJECT

private slots:
    // Each recipe takes the first name that neither the folder (in any letter case, old
    // Windows-1252 names too) nor an earlier recipe of the batch has; the bytes are those
    // one save writes.
    void namesAndBytes_data() {
        QTest::addColumn<QByteArrayList>(
            "there");  // entries of Soups by their bytes ("x/" a folder)
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<QStringList>("named");
        QTest::newRow("free") << QByteArrayList{} << QStringList{u"Stew"_s, u"Soup"_s}
                              << QStringList{u"Stew"_s, u"Soup"_s};
        QTest::newRow("taken in another case")
            << QByteArrayList{"stew"} << QStringList{u"Stew"_s, u"STEW"_s}
            << QStringList{u"Stew (2)"_s, u"STEW (3)"_s};
        QTest::newRow("repeated in the batch")
            << QByteArrayList{} << QStringList{u"Stew"_s, u"Stew"_s, u"Stew (2)"_s}
            << QStringList{u"Stew"_s, u"Stew (2)"_s, u"Stew (2) (2)"_s};
        QTest::newRow("a folder of the name, a hidden file like it")
            << QByteArrayList{"Pie/", ".Tart"} << QStringList{u"Pie"_s, u"Tart"_s}
            << QStringList{u"Pie (2)"_s, u"Tart"_s};
        QTest::newRow("an old Windows-1252 name")
            << QByteArrayList{"Cr\xE8me"} << QStringList{u"CRÈME"_s, u"Crème (2)"_s}
            << QStringList{u"CRÈME (2)"_s, u"Crème (2) (2)"_s};
    }
    void namesAndBytes() {
        QFETCH(QByteArrayList, there);
        QFETCH(QStringList, added);
        QFETCH(QStringList, named);
        const TempFolder folder;
        QVERIFY(folder.mkdir(u"Category/Soups"_s));
        for (const QByteArray& entry : there) {
            QVERIFY(folder.writeNative("Category/Soups/" + entry, "there"));
        }
        const QStringList before = folder.byteTree("Category/Soups");
        Store store(folder.path());
        RecipeBatch batch(store, u"soups"_s);
        QVERIFY(batch.open().ok());
        QStringList given;
        for (qsizetype i = 0; i < added.size(); ++i) {
            const RecipeFields fields = recipe({u"21=pea %1"_s.arg(i), u"31=Boil.\r\nServe."_s});
            const auto name = batch.add(added[i], fields);
            QVERIFY(name.ok());
            given << name.value();
        }
        QCOMPARE(given, named);
        // Nothing is listed before the commit.
        QCOMPARE(folder.byteTree("Category/Soups").size(), before.size() + 1);
        QCOMPARE(batch.pending(), added.size());
        const QList<RecipeBatch::Placed> placed = batch.commit();
        QCOMPARE(placed.size(), added.size());
        const TempFolder single;
        Store one(single.path());
        QVERIFY(single.mkdir(u"Category/Soups"_s));
        for (qsizetype i = 0; i < placed.size(); ++i) {
            QCOMPARE(placed[i].name, named[i]);
            QVERIFY(!placed[i].failure);
            const RecipeFields fields = recipe({u"21=pea %1"_s.arg(i), u"31=Boil.\r\nServe."_s});
            QVERIFY(one.saveRecipe(u"Soups"_s, u"Saved"_s, fields).ok());
            QCOMPARE(folder.readNative("Category/Soups/" + named[i].toUtf8()),
                     single.read(u"Category/Soups/Saved"_s));
        }
        // What was there is as it was.
        for (const QByteArray& entry : there) {
            if (!entry.endsWith('/')) {
                QCOMPARE(folder.readNative("Category/Soups/" + entry), QByteArray("there"));
            }
        }
        QCOMPARE(batch.pending(), 0);
    }

    // A recipe the store refuses leaves nothing and takes no name; a name another program
    // takes before the commit makes way; what is not committed goes with the batch.
    void refusedTakenAndDropped() {
        const TempFolder folder;
        QVERIFY(folder.mkdir(u"Category/Soups"_s));
        Store store(folder.path());
        {
            RecipeBatch batch(store, u"Soups"_s);
            QVERIFY(batch.open().ok());
            QCOMPARE(said(batch.add(u"Pea/Bean"_s, {})),
                     u"refused: A recipe name cannot contain / \\ : * ? \" < > | or control "
                     "characters, and cannot start with \".\"."_s);
            QCOMPARE(said(batch.add(u"Snow"_s, recipe({u"21=\u2603"_s}))),
                     u"refused: The character \"\u2603\" (U+2603) cannot be saved. Please remove "
                     "or replace it."_s);
            QCOMPARE(batch.add(u"Snow"_s, {}).value(), u"Snow"_s);
            QCOMPARE(batch.add(u"Stew"_s, recipe({u"21=beef"_s})).value(), u"Stew"_s);
            // Saved meanwhile by the entry screen of another copy of the program.
            QVERIFY(folder.write(u"Category/Soups/STEW"_s, "theirs"));
            const auto placed = batch.commit();
            QCOMPARE(placed.size(), 2);
            QCOMPARE(placed[1].name, u"Stew (2)"_s);
            QCOMPARE(folder.read(u"Category/Soups/STEW"_s), QByteArray("theirs"));
            QCOMPARE(folder.read(u"Category/Soups/Stew (2)"_s), record({{21, "beef"}}));

            QVERIFY(batch.add(u"Broth"_s, {}).ok());
        }
        QCOMPARE(folder.tree(u"Category/Soups"_s),
                 (QStringList{u"STEW 6"_s, u"Snow 106"_s, u"Stew (2) 110"_s}));
    }

    // A batch's hidden folder left by a program that no longer runs goes at the next open
    // once it is ten minutes old; that of a running program stays, and so does a fresh one
    // whose process is not here (another machine's batch, come through a sync tool).
    void abandonedFoldersGo() {
        const long dead = deadPid();
        QVERIFY(dead > 0);
        const TempFolder folder;
        const QString abandoned = u"Category/Soups/.pv-import-%1-AbCdEf"_s.arg(dead);
        const QString elsewhere = u"Category/Soups/.pv-import-%1-GhIjKl"_s.arg(dead);
        const QString running =
            u"Category/Soups/.pv-import-%1-XyZ123"_s.arg(QCoreApplication::applicationPid());
        QVERIFY(folder.write(abandoned + u"/1"_s, "half"));
        QVERIFY(folder.write(elsewhere + u"/1"_s, "sync"));
        QVERIFY(folder.write(running + u"/1"_s, "busy"));
        QVERIFY(folder.write(u"Category/Soups/Stew"_s, "stew"));
        const struct timeval old[2] = {{std::time(nullptr) - Store::kStaleSaveSeconds - 5, 0},
                                       {std::time(nullptr) - Store::kStaleSaveSeconds - 5, 0}};
        for (const QString& hidden : {abandoned, running}) {
            QVERIFY(::utimes(QFile::encodeName(folder.path() + u'/' + hidden).constData(), old) ==
                    0);
        }
        Store store(folder.path());
        {
            RecipeBatch batch(store, u"Soups"_s);
            QVERIFY(batch.open().ok());
            QVERIFY(!folder.exists(abandoned));
        }
        QStringList left = folder.tree(u"Category/Soups"_s);
        left.sort();
        QStringList kept{elsewhere.mid(15) + u'/', elsewhere.mid(15) + u"/1 4"_s,
                         running.mid(15) + u'/', running.mid(15) + u"/1 4"_s, u"Stew 4"_s};
        kept.sort();
        QCOMPARE(left, kept);
    }

    void openFails_data() {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("result");
        QTest::newRow("no folder") << u"Gone"_s << u"76 Path not found"_s;
        QTest::newRow("a file for the folder") << u"Plain"_s << u"75 Path/File access error"_s;
        QTest::newRow("a refused name")
            << u"a/b"_s
            << u"refused: A category name cannot contain / \\ : * ? \" < > | or control "
               "characters, and cannot start with \".\"."_s;
    }
    void openFails() {
        QFETCH(QString, category);
        QFETCH(QString, result);
        const TempFolder folder;
        QVERIFY(folder.write(u"Category/Plain"_s, "x"));
        Store store(folder.path());
        RecipeBatch batch(store, category);
        QCOMPARE(said(batch.open()), result);
        QCOMPARE(folder.tree(u"Category"_s), QStringList{u"Plain 1"_s});
    }
};

QTEST_GUILESS_MAIN(RecipeBatchTest)
#include "tst_recipebatch.moc"
