// Shopping lists, folder listings and what survives a failed write.
#include "failures.h"
#include "store.h"
#include "storefolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>
#include <csignal>

using namespace pv::store;
using pv::store::test::Folder;

namespace {

// Files larger than `bytes` cannot be written while this lives: the write
// fails with EFBIG instead of raising SIGXFSZ. Works for root too.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        active_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }
    bool active() const { return active_; }

private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
    bool active_ = false;
};

}  // namespace

class FilesTest : public QObject {
    Q_OBJECT

private slots:
    void weekOneThreeLines();
    void textRoundTrip_data();
    void textRoundTrip();
    void emptyNameIsDotTxt();
    void saveReplacesOneFile();
    void saveReplacesNameDifferingInCase();
    void foreignFileListedAndOpened();
    void openStripsOneCrLfOnly();
    void listingOrderAndSpareEntry();
    void emptyFolder();
    void missingFolder();
    void folderWhereFileExpected();
    void deleteGoneFileIsFileNotFound();
    void listedNamesThatLeaveTheFolderAreRefused_data();
    void listedNamesThatLeaveTheFolderAreRefused();
    void removePathTakesEverything();
    void removePathOfLinkKeepsTarget();
    void removePathKeepsTheDataTree_data();
    void removePathKeepsTheDataTree();
    void overLongNames();

    void failedWritesKeepPreviousFile_data();
    void failedWritesKeepPreviousFile();
    void failedCreateLeavesNoFolder();
    void failedCreateWithListAsFolder();
    void deleteWithoutTempFileChangesNothing();
};

void FilesTest::weekOneThreeLines() {
    Folder app;
    Store store(app.path());
    QVERIFY(
        store.saveShoppingList(QStringLiteral("Week 1"), QStringLiteral("milk\r\neggs\r\nbread"))
            .ok());
    QCOMPARE(app.read(QStringLiteral("Shopping List/Week 1.txt")),
             QByteArray("milk\r\neggs\r\nbread\r\n"));
    QCOMPARE(store.listShoppingLists().value(), QStringList{QStringLiteral("Week 1.txt")});
    const auto opened = store.openShoppingList(QStringLiteral("Week 1.txt"));
    QVERIFY(opened.ok());
    QCOMPARE(opened.value(), QStringLiteral("milk\r\neggs\r\nbread"));
}

void FilesTest::textRoundTrip_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << "" << QByteArray("\r\n");
    QTest::newRow("commas") << "flour, sugar, eggs" << QByteArray("flour, sugar, eggs\r\n");
    QTest::newRow("quotes") << "\"good\" butter\r\n9\" pan"
                            << QByteArray("\"good\" butter\r\n9\" pan\r\n");
    QTest::newRow("leading blanks")
        << "   milk\r\n  \r\n eggs  " << QByteArray("   milk\r\n  \r\n eggs  \r\n");
    QTest::newRow("own final line end") << "milk\r\n" << QByteArray("milk\r\n\r\n");
    QTest::newRow("Windows-1252") << "crème – 2 €" << QByteArray("cr\xE8me \x96 2 \x80\r\n");
}

void FilesTest::textRoundTrip() {
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    Folder app;
    Store store(app.path());
    QVERIFY(store.saveShoppingList(QStringLiteral("List"), text).ok());
    QCOMPARE(app.read(QStringLiteral("Shopping List/List.txt")), bytes);
    QCOMPARE(store.openShoppingList(QStringLiteral("List.txt")).value(), text);
}

void FilesTest::emptyNameIsDotTxt() {
    Folder app;
    Store store(app.path());
    QVERIFY(store.saveShoppingList(QString(), QStringLiteral("salt")).ok());
    QCOMPARE(app.read(QStringLiteral("Shopping List/.txt")), QByteArray("salt\r\n"));
    QCOMPARE(store.listShoppingLists().value(), QStringList{QStringLiteral(".txt")});
    QCOMPARE(store.openShoppingList(QStringLiteral(".txt")).value(), QStringLiteral("salt"));
    QVERIFY(store.deleteShoppingList(QStringLiteral(".txt")).ok());
    QCOMPARE(store.listShoppingLists().value(), QStringList{});
}

void FilesTest::saveReplacesOneFile() {
    Folder app;
    Store store(app.path());
    QVERIFY(
        store.saveShoppingList(QStringLiteral("Week"), QStringLiteral("a much longer first list"))
            .ok());
    QVERIFY(store.saveShoppingList(QStringLiteral("Week"), QStringLiteral("tea")).ok());
    QCOMPARE(app.read(QStringLiteral("Shopping List/Week.txt")), QByteArray("tea\r\n"));
    QCOMPARE(QDir(app.file(QStringLiteral("Shopping List"))).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("Week.txt")});
}

void FilesTest::saveReplacesNameDifferingInCase() {
    Folder app;
    QVERIFY(app.write(QStringLiteral("Shopping List/week.TXT"), "old\r\n"));
    Store store(app.path());
    QVERIFY(store.saveShoppingList(QStringLiteral("Week"), QStringLiteral("new")).ok());
    QCOMPARE(store.listShoppingLists().value(), QStringList{QStringLiteral("week.TXT")});
    QCOMPARE(app.read(QStringLiteral("Shopping List/week.TXT")), QByteArray("new\r\n"));
}

void FilesTest::foreignFileListedAndOpened() {
    Folder app;
    QVERIFY(app.write(QStringLiteral("Shopping List/notes.doc"), "plain \x93words\x94\n"));
    QVERIFY(app.mkdir(QStringLiteral("Shopping List/Old lists")));
    Store store(app.path());
    QCOMPARE(store.listShoppingLists().value(), QStringList{QStringLiteral("notes.doc")});
    QCOMPARE(store.openShoppingList(QStringLiteral("notes.doc")).value(),
             QStringLiteral("plain “words”\n"));
}

void FilesTest::openStripsOneCrLfOnly() {
    Folder app;
    QVERIFY(app.write(QStringLiteral("Shopping List/a.txt"), "x\r\n\r\n"));
    QVERIFY(app.write(QStringLiteral("Shopping List/b.txt"), "x\n"));
    QVERIFY(app.write(QStringLiteral("Shopping List/c.txt"), ""));
    Store store(app.path());
    QCOMPARE(store.openShoppingList(QStringLiteral("a.txt")).value(), QStringLiteral("x\r\n"));
    QCOMPARE(store.openShoppingList(QStringLiteral("b.txt")).value(), QStringLiteral("x\n"));
    QCOMPARE(store.openShoppingList(QStringLiteral("c.txt")).value(), QString());
}

void FilesTest::listingOrderAndSpareEntry() {
    Folder app;
    for (const char* name :
         {"b.txt", "A.txt", "a.txt", "C", ".hidden", "_x", "10", "9", "éclair", "Éclair", "Zoë"}) {
        QVERIFY(app.write(QStringLiteral("Shopping List/") + QString::fromUtf8(name), "x"));
    }
    QVERIFY(app.mkdir(QStringLiteral("Shopping List/a folder")));
    QVERIFY(QFile::link(app.file(QStringLiteral("Shopping List/C")),
                        app.file(QStringLiteral("Shopping List/link to C"))));
    QVERIFY(QFile::link(app.file(QStringLiteral("Shopping List/a folder")),
                        app.file(QStringLiteral("Shopping List/link to folder"))));
    const QStringList expected{".hidden", "10", "9",         "_x",  "A.txt",  "a.txt",
                               "b.txt",   "C",  "link to C", "Zoë", "Éclair", "éclair"};
    const auto withSpare = listFolderFiles(app.file(QStringLiteral("Shopping List/")));
    QVERIFY(withSpare.ok());
    QCOMPARE(withSpare.value(), expected + QStringList{QString()});
    QCOMPARE(listFolderFiles(app.file(QStringLiteral("Shopping List"))).value(), withSpare.value());
    Store store(app.path());
    QCOMPARE(store.listShoppingLists().value(), expected);
}

void FilesTest::emptyFolder() {
    Folder app;
    QCOMPARE(listFolderFiles(app.file(QStringLiteral("Shopping List"))).value(),
             QStringList{QString()});
    Store store(app.path());
    QCOMPARE(store.listShoppingLists().value(), QStringList{});
}

void FilesTest::missingFolder() {
    Folder app;
    QVERIFY(QDir(app.path()).rmdir(QStringLiteral("Shopping List")));
    Store store(app.path());
    for (const Failure& failure :
         {store.listShoppingLists().failure(),
          store.saveShoppingList(QStringLiteral("W"), {}).failure(),
          store.openShoppingList(QStringLiteral("W.txt")).failure(),
          store.deleteShoppingList(QStringLiteral("W.txt")).failure(),
          listFolderFiles(app.file(QStringLiteral("nowhere"))).failure()}) {
        QCOMPARE(failure.kind, Failure::Kind::FileSystem);
        QCOMPARE(failure.number, 76);
        QCOMPARE(failure.description, QStringLiteral("Path not found"));
    }
    QVERIFY(!app.exists(QStringLiteral("Shopping List")));
    // A file where the folder should be is no folder either.
    QVERIFY(app.write(QStringLiteral("Shopping List"), "file"));
    QCOMPARE(store.listShoppingLists().failure().number, 76);
    QCOMPARE(store.saveShoppingList(QStringLiteral("W"), {}).failure().number, 76);
}

void FilesTest::folderWhereFileExpected() {
    Folder app;
    QVERIFY(app.mkdir(QStringLiteral("Shopping List/Week.txt")));
    QVERIFY(app.write(QStringLiteral("Shopping List/Week.txt/inner"), "kept"));
    const QStringList before = app.tree();
    Store store(app.path());
    for (const Failure& failure :
         {store.openShoppingList(QStringLiteral("Week.txt")).failure(),
          store.saveShoppingList(QStringLiteral("Week"), {}).failure(),
          store.deleteShoppingList(QStringLiteral("Week.txt")).failure()}) {
        QCOMPARE(failure.number, 75);
        QCOMPARE(failure.description, QStringLiteral("Path/File access error"));
    }
    QCOMPARE(app.tree(), before);
}

void FilesTest::deleteGoneFileIsFileNotFound() {
    Folder app;
    Store store(app.path());
    QVERIFY(store.saveShoppingList(QStringLiteral("Week"), QStringLiteral("x")).ok());
    QVERIFY(QFile::remove(app.file(QStringLiteral("Shopping List/Week.txt"))));
    const auto deleted = store.deleteShoppingList(QStringLiteral("Week.txt"));
    QVERIFY(!deleted.ok());
    QCOMPARE(deleted.failure().number, 53);
    QCOMPARE(deleted.failure().description, QStringLiteral("File not found"));
    QCOMPARE(store.openShoppingList(QStringLiteral("Week.txt")).failure().number, 53);
}

void FilesTest::listedNamesThatLeaveTheFolderAreRefused_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("parent") << "..";
    QTest::newRow("self") << ".";
    QTest::newRow("climbs") << "../Category/category.txt";
    QTest::newRow("backslash") << "..\\x";
}

void FilesTest::listedNamesThatLeaveTheFolderAreRefused() {
    QFETCH(QString, name);
    Folder app;
    QVERIFY(app.write(QStringLiteral("Category/category.txt"), "Soups\r\n"));
    const QStringList before = app.tree();
    Store store(app.path());
    QCOMPARE(store.openShoppingList(name).failure().kind, Failure::Kind::Refused);
    QCOMPARE(store.deleteShoppingList(name).failure().kind, Failure::Kind::Refused);
    QCOMPARE(store.deleteRecipe(QStringLiteral("Soups"), name).failure().kind,
             Failure::Kind::Refused);
    QCOMPARE(store.loadRecipe(QStringLiteral("Soups"), name).failure().kind,
             Failure::Kind::Refused);
    QCOMPARE(store.listRecipeFiles(name).failure().kind, Failure::Kind::Refused);
    QCOMPARE(app.tree(), before);
}

void FilesTest::removePathTakesEverything() {
    Folder app;
    QVERIFY(app.mkdir(QStringLiteral("Category/Pies/deeper")));
    QVERIFY(app.write(QStringLiteral("Category/Pies/Apple"), "x"));
    QVERIFY(app.write(QStringLiteral("Category/Pies/deeper/.hidden"), "x"));
    Store store(app.path());
    QVERIFY(store.removePath(app.file(QStringLiteral("category/PIES"))).ok());
    QVERIFY(!app.exists(QStringLiteral("Category/Pies")));
    QVERIFY(app.exists(QStringLiteral("Category")));
    const auto again = store.removePath(app.file(QStringLiteral("Category/Pies")));
    QVERIFY(!again.ok());
    QCOMPARE(again.failure().number, 76);
}

void FilesTest::removePathOfLinkKeepsTarget() {
    Folder app;
    QVERIFY(app.mkdir(QStringLiteral("Elsewhere")));
    QVERIFY(app.write(QStringLiteral("Elsewhere/precious"), "keep"));
    QVERIFY(QFile::link(app.file(QStringLiteral("Elsewhere")),
                        app.file(QStringLiteral("Category/Linked"))));
    QVERIFY(app.write(QStringLiteral("Category/category.txt"), "Linked\r\n"));
    Store store(app.path());
    QCOMPARE(store.deleteCategory(QStringLiteral("Linked")).value(), 1);
    QVERIFY(!QFileInfo(app.file(QStringLiteral("Category/Linked"))).isSymLink());
    QCOMPARE(app.read(QStringLiteral("Elsewhere/precious")), QByteArray("keep"));
}

void FilesTest::removePathKeepsTheDataTree_data() {
    QTest::addColumn<QString>("relative");
    QTest::newRow("category root") << "Category";
    QTest::newRow("category root, slash") << "category/";
    QTest::newRow("shopping lists") << "Shopping List";
    QTest::newRow("application folder") << "";
    QTest::newRow("climbing") << "Category/..";
    QTest::newRow("above") << "..";
    QTest::newRow("beside the roots") << "Elsewhere";
    QTest::newRow("out through a link") << "Category/Linked/inner";
}

void FilesTest::removePathKeepsTheDataTree() {
    QFETCH(QString, relative);
    Folder app;
    QVERIFY(app.write(QStringLiteral("Category/category.txt"), "Soups\r\n"));
    QVERIFY(app.write(QStringLiteral("Shopping List/Week.txt"), "milk\r\n"));
    QVERIFY(app.mkdir(QStringLiteral("Elsewhere/inner")));
    QVERIFY(QFile::link(app.file(QStringLiteral("Elsewhere")),
                        app.file(QStringLiteral("Category/Linked"))));
    const QStringList before = app.tree();
    Store store(app.path());
    const auto removed = store.removePath(app.path() + QLatin1Char('/') + relative);
    QVERIFY(!removed.ok());
    QCOMPARE(removed.failure().kind, Failure::Kind::Refused);
    QCOMPARE(app.tree(), before);
}

void FilesTest::overLongNames() {
    Folder app;
    QVERIFY(app.write(QStringLiteral("Category/category.txt"), "Soups\r\n"));
    QVERIFY(app.mkdir(QStringLiteral("Category/Soups")));
    const QStringList before = app.tree();
    const QString longName(300, QLatin1Char('n'));
    Store store(app.path());
    const auto created = store.createCategory(longName);
    QVERIFY(!created.ok());
    QCOMPARE(created.failure().number, 75);
    const auto saved = store.saveRecipe(QStringLiteral("Soups"), longName, {});
    QVERIFY(!saved.ok());
    QCOMPARE(saved.failure().number, 75);
    const auto list = store.saveShoppingList(longName, QStringLiteral("milk"));
    QVERIFY(!list.ok());
    QCOMPARE(list.failure().number, 75);
    QCOMPARE(app.tree(), before);
}

// --- failures in the middle of a write ---

void FilesTest::failedWritesKeepPreviousFile_data() {
    QTest::addColumn<QString>("operation");
    QTest::newRow("save recipe") << "recipe";
    QTest::newRow("save shopping list") << "shopping";
    QTest::newRow("create category") << "create";
    QTest::newRow("delete category") << "delete";
}

void FilesTest::failedWritesKeepPreviousFile() {
    QFETCH(QString, operation);
    Folder app;
    QByteArray list;
    for (int i = 0; i < 40; ++i) {
        list += "Category number " + QByteArray::number(i) + "\r\n";
    }
    list += "Soups\r\n";
    QVERIFY(app.write(QStringLiteral("Category/category.txt"), list));
    QVERIFY(app.mkdir(QStringLiteral("Category/Soups")));
    QVERIFY(app.write(QStringLiteral("Category/Soups/Stew"), "\"old\"\r\n"));
    QVERIFY(app.write(QStringLiteral("Shopping List/Week.txt"), "old\r\n"));
    const QStringList before = app.tree();
    Store store(app.path());
    RecipeFields fields;
    fields[kDirectionsField - 1] = QString(3000, QLatin1Char('x'));
    bool rewritten = false;
    bool ok = true;
    Failure failure;
    auto take = [&](const auto& outcome) {
        ok = outcome.ok();
        if (!ok) {
            failure = outcome.failure();
        }
    };
    {
        // Every new file is cut off at 64 bytes, below what each write needs.
        FileSizeLimit limit(64);
        QVERIFY(limit.active());
        if (operation == QLatin1String("recipe")) {
            take(store.saveRecipe(QStringLiteral("Soups"), QStringLiteral("Stew"), fields));
        } else if (operation == QLatin1String("shopping")) {
            take(store.saveShoppingList(QStringLiteral("Week"), QString(3000, QLatin1Char('y'))));
        } else if (operation == QLatin1String("create")) {
            take(store.createCategory(QStringLiteral("Pies")));
        } else {
            DeleteHooks hooks{{}, [&](int) { rewritten = true; }};
            take(store.deleteCategory(QStringLiteral("Soups"), hooks));
        }
    }
    QVERIFY(!ok);
    QCOMPARE(failure.kind, Failure::Kind::FileSystem);
    QVERIFY2(failure.number == 57 || failure.number == 61,
             qPrintable(QString::number(failure.number)));
    QVERIFY(!rewritten);
    QCOMPARE(app.tree(), before);  // no temporary file, no new folder, every size as it was
    QCOMPARE(app.read(QStringLiteral("Category/category.txt")), list);
    QCOMPARE(app.read(QStringLiteral("Category/Soups/Stew")), QByteArray("\"old\"\r\n"));
    QCOMPARE(app.read(QStringLiteral("Shopping List/Week.txt")), QByteArray("old\r\n"));
}

void FilesTest::failedCreateLeavesNoFolder() {
    Folder app;
    QVERIFY(QDir(app.path()).rmdir(QStringLiteral("Category")));
    QVERIFY(app.write(QStringLiteral("Category"), "a file where the root belongs"));
    Store store(app.path());
    const auto result = store.createCategory(QStringLiteral("Soups"));
    QVERIFY(!result.ok());
    QCOMPARE(result.failure().number, 76);
    QCOMPARE(app.read(QStringLiteral("Category")), QByteArray("a file where the root belongs"));
}

void FilesTest::failedCreateWithListAsFolder() {
    Folder app;
    QVERIFY(app.mkdir(QStringLiteral("Category/category.txt")));
    const QStringList before = app.tree();
    Store store(app.path());
    const auto result = store.createCategory(QStringLiteral("Soups"));
    QVERIFY(!result.ok());
    QCOMPARE(result.failure().number, 75);
    QCOMPARE(app.tree(), before);
}

void FilesTest::deleteWithoutTempFileChangesNothing() {
    Folder app;
    // The list is a link into a folder that does not exist, so no file can be
    // made beside its target.
    QVERIFY(QFile::link(app.file(QStringLiteral("gone/category.txt")),
                        app.file(QStringLiteral("Category/category.txt"))));
    QVERIFY(app.mkdir(QStringLiteral("Category/Soups")));
    const QStringList before = app.tree();
    bool called = false;
    DeleteHooks hooks{[&] { called = true; }, [&](int) { called = true; }};
    Store store(app.path());
    const auto result = store.deleteCategory(QStringLiteral("Soups"), hooks);
    QVERIFY(!result.ok());
    QCOMPARE(result.failure().kind, Failure::Kind::NoTempFile);
    QCOMPARE(result.failure().description, QStringLiteral("Error getting temporary filename."));
    QVERIFY(!called);
    QCOMPARE(app.tree(), before);
}

QTEST_GUILESS_MAIN(FilesTest)
#include "tst_store_files.moc"
