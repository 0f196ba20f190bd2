// Round trips through real files below a temporary application folder.
#include "failures.h"
#include "store.h"
#include "storefolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace pv::store;
using pv::store::test::Folder;

namespace {

RecipeFields emptyFields() {
    return {};
}

QByteArray emptyRecord() {
    QByteArray bytes;
    for (int i = 0; i < kRecipeFieldCount; ++i) {
        bytes += i ? ",\"\"" : "\"\"";
    }
    return bytes + "\r\n";
}

}  // namespace

class StoreTest : public QObject {
    Q_OBJECT

private slots:
    void createFirstCategoryWritesNameAndCrLf();
    void createTwiceAppendsInOrder();
    void createExistingFolderChangesNothing_data();
    void createExistingFolderChangesNothing();
    void createWithoutRootFails();
    void createOverFileFailsAndKeepsList();
    void createAfterOpenLastLine();
    void listingsWithoutListAreFileNotFound();
    void breadsCakesByLineAndByField();
    void deleteCategory_data();
    void deleteCategory();
    void deleteCategoryRunsHooksInOrder();
    void deleteEmptyNameTouchesNothing();
    void deleteWithMissingFolderReportsAfterRewrite();
    void deleteWithoutRootIsNoTempPath();
    void deleteWithListAsFolderChangesNothing();
    void deleteWithoutListIsFileNotFound();
    void deleteKeepsBytesOfOtherLines();
    void deleteIgnoresCase();

    void emptyRecordIs106Bytes();
    void fieldsLandInTheirPlaces();
    void recipeRoundTrip_data();
    void recipeRoundTrip();
    void doubleQuoteBecomesRightQuote();
    void saveTwiceLeavesSecondRecord();
    void saveReplacesNameDifferingInCase();
    void saveIntoMissingCategoryIsPathNotFound();
    void saveOverFolderFailsAndKeepsFolder();
    void loadFailures_data();
    void loadFailures();
    void loadShowsLastCompleteRecord();
    void caseInsensitiveResolution();
    void listRecipeFilesAndDelete();

    void refusals_data();
    void refusals();
    void refusalWordingIsOnePerKind();
};

// --- categories ---

void StoreTest::createFirstCategoryWritesNameAndCrLf() {
    Folder app;
    Store store(app.path());
    const auto result = store.createCategory(QStringLiteral("Soups"));
    QVERIFY(result.ok());
    QCOMPARE(result.value(), CreateResult::Created);
    QVERIFY(QFileInfo(app.file(QStringLiteral("Category/Soups"))).isDir());
    QCOMPARE(app.read(QStringLiteral("Category/category.txt")), QByteArray("Soups\r\n"));
}

void StoreTest::createTwiceAppendsInOrder() {
    Folder app;
    Store store(app.path());
    QVERIFY(store.createCategory(QStringLiteral("Soups")).ok());
    QVERIFY(store.createCategory(QStringLiteral("Crème brûlée")).ok());
    QCOMPARE(app.read(QStringLiteral("Category/category.txt")),
             QByteArray("Soups\r\nCr\xE8me br\xFBl\xE9"
                        "e\r\n"));
    const auto byLine = store.listCategoriesByLine();
    QVERIFY(byLine.ok());
    QCOMPARE(byLine.value(),
             (QStringList{QStringLiteral("Soups"), QStringLiteral("Crème brûlée")}));
}

void StoreTest::createExistingFolderChangesNothing_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("name");
    QTest::newRow("same name") << "Soups"
                               << "Soups";
    QTest::newRow("other case") << "Soups"
                                << "SOUPS";
    QTest::newRow("folder without line") << "soups"
                                         << "Soups";
}

void StoreTest::createExistingFolderChangesNothing() {
    QFETCH(QString, folder);
    QFETCH(QString, name);
    Folder app;
    QVERIFY(app.write(QStringLiteral("Category/category.txt"), "Pies\r\n"));
    QVERIFY(app.mkdir(QStringLiteral("Category/") + folder));
    const QStringList before = app.tree();
    Store store(app.path());
    const auto result = store.createCategory(name);
    QVERIFY(result.ok());
    QCOMPARE(result.value(), CreateResult::AlreadyExists);
    QCOMPARE(app.tree(), before);
    QCOMPARE(app.read(QStringLiteral("Category/category.txt")), QByteArray("Pies\r\n"));
}

void StoreTest::createWithoutRootFails() {
    Folder app;
    QVERIFY(QDir(app.file(QStringLiteral("Category"))).removeRecursively());
    Store store(app.path());
    const auto result = store.createCategory(QStringLiteral("Soups"));
    QVERIFY(!result.ok());
    QCOMPARE(result.failure().kind, Failure::Kind::FileSystem);
    QCOMPARE(result.failure().number, 76);
    QCOMPARE(result.failure().description, QStringLiteral("Path not found"));
    QVERIFY(!app.exists(QStringLiteral("Category")));
}

void StoreTest::createOverFileFailsAndKeepsList() {
    Folder app;
    QVERIFY(app.write(QStringLiteral("Category/category.txt"), "Pies\r\n"));
    QVERIFY(app.write(QStringLiteral("Category/Soups"), "a file"));
    Store store(app.path());
    const auto result = store.createCategory(QStringLiteral("Soups"));
    QVERIFY(!result.ok());
    QCOMPARE(result.failure().number, 58);
    QCOMPARE(result.failure().description, QStringLiteral("File already exists"));
    QCOMPARE(app.read(QStringLiteral("Category/category.txt")), QByteArray("Pies\r\n"));
    QCOMPARE(app.read(QStringLiteral("Category/Soups")), QByteArray("a file"));
}

void StoreTest::createAfterOpenLastLine() {
    Folder app;
    QVERIFY(app.write(QStringLiteral("Category/category.txt"), "Pies"));
    Store store(app.path());
    QVERIFY(store.createCategory(QStringLiteral("Soups")).ok());
    QCOMPARE(app.read(QStringLiteral("Category/category.txt")), QByteArray("Pies\r\nSoups\r\n"));
}

void StoreTest::listingsWithoutListAreFileNotFound() {
    Folder app;
    Store store(app.path());
    const auto byLine = store.listCategoriesByLine();
    QVERIFY(!byLine.ok());
    QCOMPARE(byLine.failure().number, 53);
    QCOMPARE(byLine.failure().description, QStringLiteral("File not found"));
    const auto byField = store.listCategoriesByField();
    QVERIFY(!byField.ok());
    QCOMPARE(byField.failure().number, 53);
}

void StoreTest::breadsCakesByLineAndByField() {
    Folder app;
    Store store(app.path());
    QVERIFY(store.createCategory(QStringLiteral("Breads, Cakes")).ok());
    QCOMPARE(app.read(QStringLiteral("Category/category.txt")), QByteArray("Breads, Cakes\r\n"));
    QVERIFY(QFileInfo(app.file(QStringLiteral("Category/Breads, Cakes"))).isDir());
    QCOMPARE(store.listCategoriesByLine().value(), QStringList{QStringLiteral("Breads, Cakes")});
    QCOMPARE(store.listCategoriesByField().value(),
             (QStringList{QStringLiteral("Breads"), QStringLiteral("Cakes")}));
}

void StoreTest::deleteCategory_data() {
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("count");
    QTest::addColumn<QByteArray>("listAfter");
    QTest::addColumn<QStringList>("foldersAfter");

    const QStringList pies{"Apple Pie", "Pie", "Pies"};
    QTest::newRow("middle of three")
        << QByteArray("Apple Pie\r\nPie\r\nPies\r\n") << pies << "Pie" << 1
        << QByteArray("Apple Pie\r\nPies\r\n") << QStringList{"Apple Pie", "Pies"};
    QTest::newRow("listed twice") << QByteArray("Pie\r\nSoups\r\nPie\r\n")
                                  << QStringList{"Pie", "Soups"} << "Pie" << 2
                                  << QByteArray("Soups\r\n") << QStringList{"Soups"};
    QTest::newRow("not listed, folder exists")
        << QByteArray("Soups\r\n") << QStringList{"Soups", "Stray"} << "Stray" << 0
        << QByteArray("Soups\r\n") << QStringList{"Soups"};
    QTest::newRow("last one empties the list") << QByteArray("Soups\r\n") << QStringList{"Soups"}
                                               << "Soups" << 1 << QByteArray() << QStringList{};
}

void StoreTest::deleteCategory() {
    QFETCH(QByteArray, list);
    QFETCH(QStringList, folders);
    QFETCH(QString, name);
    QFETCH(int, count);
    QFETCH(QByteArray, listAfter);
    QFETCH(QStringList, foldersAfter);
    Folder app;
    QVERIFY(app.write(QStringLiteral("Category/category.txt"), list));
    for (const QString& folder : folders) {
        QVERIFY(app.mkdir(QStringLiteral("Category/") + folder));
        app.write(QStringLiteral("Category/") + folder + QStringLiteral("/recipe"), "\"\"\r\n");
    }
    Store store(app.path());
    const auto result = store.deleteCategory(name);
    QVERIFY(result.ok());
    QCOMPARE(result.value(), count);
    QCOMPARE(app.read(QStringLiteral("Category/category.txt")), listAfter);
    QCOMPARE(
        QDir(app.file(QStringLiteral("Category"))).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
        foldersAfter);
    // The temporary file went with the rename.
    QCOMPARE(QDir(app.file(QStringLiteral("Category"))).entryList(QDir::Files),
             QStringList{QStringLiteral("category.txt")});
}

void StoreTest::deleteCategoryRunsHooksInOrder() {
    Folder app;
    QVERIFY(app.write(QStringLiteral("Category/category.txt"), "Pie\r\nSoups\r\n"));
    QVERIFY(app.mkdir(QStringLiteral("Category/Pie")));
    QStringList steps;
    DeleteHooks hooks;
    hooks.beforeRewrite = [&] {
        steps << QStringLiteral("before");
        QCOMPARE(app.read(QStringLiteral("Category/category.txt")), QByteArray("Pie\r\nSoups\r\n"));
    };
    hooks.listRewritten = [&](int count) {
        steps << QStringLiteral("rewritten %1").arg(count);
        QCOMPARE(app.read(QStringLiteral("Category/category.txt")), QByteArray("Soups\r\n"));
        QVERIFY(app.exists(QStringLiteral("Category/Pie")));
    };
    Store store(app.path());
    QCOMPARE(store.deleteCategory(QStringLiteral("Pie"), hooks).value(), 1);
    QCOMPARE(steps, (QStringList{QStringLiteral("before"), QStringLiteral("rewritten 1")}));
    QVERIFY(!app.exists(QStringLiteral("Category/Pie")));
}

void StoreTest::deleteEmptyNameTouchesNothing() {
    Folder app;
    QVERIFY(app.write(QStringLiteral("Category/category.txt"), "\r\nSoups\r\n"));
    const QStringList before = app.tree();
    bool called = false;
    DeleteHooks hooks{[&] { called = true; }, [&](int) { called = true; }};
    Store store(app.path());
    const auto result = store.deleteCategory(QString(), hooks);
    QVERIFY(result.ok());
    QCOMPARE(result.value(), 0);
    QVERIFY(!called);
    QCOMPARE(app.tree(), before);
    QCOMPARE(app.read(QStringLiteral("Category/category.txt")), QByteArray("\r\nSoups\r\n"));
}

void StoreTest::deleteWithMissingFolderReportsAfterRewrite() {
    Folder app;
    QVERIFY(app.write(QStringLiteral("Category/category.txt"), "Pie\r\nSoups\r\n"));
    int reported = -1;
    DeleteHooks hooks{{}, [&](int count) { reported = count; }};
    Store store(app.path());
    const auto result = store.deleteCategory(QStringLiteral("Pie"), hooks);
    QVERIFY(!result.ok());
    QCOMPARE(result.failure().kind, Failure::Kind::FileSystem);
    QCOMPARE(result.failure().number, 76);
    QCOMPARE(reported, 1);
    QCOMPARE(app.read(QStringLiteral("Category/category.txt")), QByteArray("Soups\r\n"));
}

void StoreTest::deleteWithoutRootIsNoTempPath() {
    Folder app;
    QVERIFY(QDir(app.file(QStringLiteral("Category"))).removeRecursively());
    QVERIFY(app.write(QStringLiteral("Category"), "a file where the folder belongs"));
    bool called = false;
    DeleteHooks hooks{[&] { called = true; }, [&](int) { called = true; }};
    Store store(app.path());
    const auto result = store.deleteCategory(QStringLiteral("Pie"), hooks);
    QVERIFY(!result.ok());
    QCOMPARE(result.failure().kind, Failure::Kind::NoTempPath);
    QCOMPARE(result.failure().description, QStringLiteral("Error getting temporary file path."));
    QVERIFY(!called);
    QCOMPARE(app.read(QStringLiteral("Category")), QByteArray("a file where the folder belongs"));
}

void StoreTest::deleteWithListAsFolderChangesNothing() {
    Folder app;
    QVERIFY(app.mkdir(QStringLiteral("Category/category.txt")));
    QVERIFY(app.mkdir(QStringLiteral("Category/Pie")));
    const QStringList before = app.tree();
    Store store(app.path());
    const auto result = store.deleteCategory(QStringLiteral("Pie"));
    QVERIFY(!result.ok());
    QCOMPARE(result.failure().number, 75);
    QCOMPARE(result.failure().description, QStringLiteral("Path/File access error"));
    QCOMPARE(app.tree(), before);
}

void StoreTest::deleteWithoutListIsFileNotFound() {
    Folder app;
    QVERIFY(app.mkdir(QStringLiteral("Category/Pie")));
    const QStringList before = app.tree();
    bool called = false;
    DeleteHooks hooks{[&] { called = true; }, [&](int) { called = true; }};
    Store store(app.path());
    const auto result = store.deleteCategory(QStringLiteral("Pie"), hooks);
    QVERIFY(!result.ok());
    QCOMPARE(result.failure().number, 53);
    QVERIFY(!called);
    QCOMPARE(app.tree(), before);  // no temporary file left behind either
}

void StoreTest::deleteKeepsBytesOfOtherLines() {
    Folder app;
    // Windows-1252 bytes, blanks and an unassigned byte survive untouched.
    QVERIFY(app.write(QStringLiteral("Category/category.txt"), "  Cr\xE8me\r\nPie\r\nx\x81y \r\n"));
    QVERIFY(app.mkdir(QStringLiteral("Category/Pie")));
    Store store(app.path());
    QCOMPARE(store.deleteCategory(QStringLiteral("Pie")).value(), 1);
    QCOMPARE(app.read(QStringLiteral("Category/category.txt")),
             QByteArray("  Cr\xE8me\r\nx\x81y \r\n"));
    QCOMPARE(store.listCategoriesByLine().value(),
             (QStringList{QStringLiteral("  Crème"), QStringLiteral("x\u0081y ")}));
}

void StoreTest::deleteIgnoresCase() {
    Folder app;
    QVERIFY(app.write(QStringLiteral("Category/category.txt"), "Soups\r\nPies\r\n"));
    QVERIFY(app.mkdir(QStringLiteral("Category/Soups")));
    Store store(app.path());
    QCOMPARE(store.deleteCategory(QStringLiteral("soups")).value(), 1);
    QCOMPARE(app.read(QStringLiteral("Category/category.txt")), QByteArray("Pies\r\n"));
    QVERIFY(!app.exists(QStringLiteral("Category/Soups")));
}

// --- recipes ---

void StoreTest::emptyRecordIs106Bytes() {
    Folder app;
    QVERIFY(app.mkdir(QStringLiteral("Category/Soups")));
    Store store(app.path());
    QVERIFY(
        store.saveRecipe(QStringLiteral("Soups"), QStringLiteral("Nothing"), emptyFields()).ok());
    const QByteArray bytes = app.read(QStringLiteral("Category/Soups/Nothing"));
    QCOMPARE(bytes.size(), 106);
    QCOMPARE(bytes, emptyRecord());
    const auto loaded = store.loadRecipe(QStringLiteral("Soups"), QStringLiteral("Nothing"));
    QVERIFY(loaded.ok());
    QCOMPARE(loaded.value(), emptyFields());
}

void StoreTest::fieldsLandInTheirPlaces() {
    Folder app;
    QVERIFY(app.mkdir(QStringLiteral("Category/Breads")));
    RecipeFields fields;
    fields[amountField(1) - 1] = QStringLiteral("2");
    fields[measureField(1) - 1] = QStringLiteral("cups");
    fields[ingredientField(1) - 1] = QStringLiteral("flour");
    Store store(app.path());
    QVERIFY(store.saveRecipe(QStringLiteral("Breads"), QStringLiteral("Loaf"), fields).ok());
    QByteArray expected;
    for (int field = 1; field <= kRecipeFieldCount; ++field) {
        expected += field > 1 ? "," : "";
        expected += field == 1    ? "\"2\""
                    : field == 11 ? "\"cups\""
                    : field == 21 ? "\"flour\""
                                  : "\"\"";
    }
    expected += "\r\n";
    QCOMPARE(app.read(QStringLiteral("Category/Breads/Loaf")), expected);
    QCOMPARE(store.loadRecipe(QStringLiteral("Breads"), QStringLiteral("Loaf")).value(), fields);
}

void StoreTest::recipeRoundTrip_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("two-line directions")
        << kDirectionsField << "Mix.\r\nBake." << QByteArray("Mix.\r\nBake.");
    QTest::newRow("leading and trailing blanks")
        << ingredientField(3) << "  salt  " << QByteArray("  salt  ");
    QTest::newRow("commas") << kDirectionsField << "Stir, then fold, then rest"
                            << QByteArray("Stir, then fold, then rest");
    QTest::newRow("Windows-1252") << ingredientField(1) << "Crème fraîche – 2 €"
                                  << QByteArray(
                                         "Cr\xE8me fra\xEE"
                                         "che \x96 2 \x80");
    QTest::newRow("lone line feed") << kDirectionsField << "a\nb" << QByteArray("a\nb");
    QTest::newRow("minutes") << kMinutesField << "45" << QByteArray("45");
}

void StoreTest::recipeRoundTrip() {
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    Folder app;
    QVERIFY(app.mkdir(QStringLiteral("Category/Soups")));
    RecipeFields fields;
    fields[field - 1] = text;
    fields[kHoursField - 1] = QStringLiteral("1");
    Store store(app.path());
    QVERIFY(store.saveRecipe(QStringLiteral("Soups"), QStringLiteral("Stew"), fields).ok());
    const QByteArray file = app.read(QStringLiteral("Category/Soups/Stew"));
    QVERIFY2(file.contains("\"" + bytes + "\""), file.constData());
    QCOMPARE(file.size(), 106 + bytes.size() + 1);
    const auto loaded = store.loadRecipe(QStringLiteral("Soups"), QStringLiteral("Stew"));
    QVERIFY(loaded.ok());
    QCOMPARE(loaded.value(), fields);
}

void StoreTest::doubleQuoteBecomesRightQuote() {
    Folder app;
    QVERIFY(app.mkdir(QStringLiteral("Category/Cakes")));
    RecipeFields fields;
    fields[ingredientField(1) - 1] = QStringLiteral("9\" pan, greased");
    fields[ingredientField(2) - 1] = QStringLiteral("eggs");
    Store store(app.path());
    QVERIFY(store.saveRecipe(QStringLiteral("Cakes"), QStringLiteral("Sponge"), fields).ok());
    QVERIFY(app.read(QStringLiteral("Category/Cakes/Sponge"))
                .contains("\"9\x94 pan, greased\",\"eggs\""));
    const auto loaded = store.loadRecipe(QStringLiteral("Cakes"), QStringLiteral("Sponge"));
    QVERIFY(loaded.ok());
    QCOMPARE(loaded.value()[ingredientField(1) - 1], QStringLiteral("9” pan, greased"));
    QCOMPARE(loaded.value()[ingredientField(2) - 1], QStringLiteral("eggs"));
}

void StoreTest::saveTwiceLeavesSecondRecord() {
    Folder app;
    QVERIFY(app.mkdir(QStringLiteral("Category/Soups")));
    Store store(app.path());
    RecipeFields first;
    first[kDirectionsField - 1] = QStringLiteral("A long first version of the directions.");
    RecipeFields second;
    second[kTemperatureField - 1] = QStringLiteral("180");
    QVERIFY(store.saveRecipe(QStringLiteral("Soups"), QStringLiteral("Stew"), first).ok());
    QVERIFY(store.saveRecipe(QStringLiteral("Soups"), QStringLiteral("Stew"), second).ok());
    QCOMPARE(app.read(QStringLiteral("Category/Soups/Stew")).size(), 106 + 3);
    QCOMPARE(store.loadRecipe(QStringLiteral("Soups"), QStringLiteral("Stew")).value(), second);
    QCOMPARE(QDir(app.file(QStringLiteral("Category/Soups"))).entryList(QDir::Files),
             QStringList{QStringLiteral("Stew")});
}

void StoreTest::saveReplacesNameDifferingInCase() {
    Folder app;
    QVERIFY(app.mkdir(QStringLiteral("Category/Cakes")));
    QVERIFY(app.write(QStringLiteral("Category/Cakes/pie"), emptyRecord()));
    Store store(app.path());
    RecipeFields fields;
    fields[0] = QStringLiteral("3");
    QVERIFY(store.saveRecipe(QStringLiteral("cakes"), QStringLiteral("Pie"), fields).ok());
    QCOMPARE(QDir(app.file(QStringLiteral("Category/Cakes"))).entryList(QDir::Files),
             QStringList{QStringLiteral("pie")});
    QCOMPARE(store.loadRecipe(QStringLiteral("CAKES"), QStringLiteral("PIE")).value(), fields);
}

void StoreTest::saveIntoMissingCategoryIsPathNotFound() {
    Folder app;
    Store store(app.path());
    const auto result = store.saveRecipe(QStringLiteral("Soups"), QStringLiteral("Stew"), {});
    QVERIFY(!result.ok());
    QCOMPARE(result.failure().kind, Failure::Kind::FileSystem);
    QCOMPARE(result.failure().number, 76);
    QVERIFY(!app.exists(QStringLiteral("Category/Soups")));
}

void StoreTest::saveOverFolderFailsAndKeepsFolder() {
    Folder app;
    QVERIFY(app.mkdir(QStringLiteral("Category/Soups/Stew")));
    QVERIFY(app.write(QStringLiteral("Category/Soups/Stew/inside"), "kept"));
    const QStringList before = app.tree();
    Store store(app.path());
    const auto result = store.saveRecipe(QStringLiteral("Soups"), QStringLiteral("Stew"), {});
    QVERIFY(!result.ok());
    QCOMPARE(result.failure().number, 75);
    QCOMPARE(app.tree(), before);
    QCOMPARE(app.read(QStringLiteral("Category/Soups/Stew/inside")), QByteArray("kept"));
}

void StoreTest::loadFailures_data() {
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("description");
    QTest::newRow("missing file") << "Soups"
                                  << "Gone" << 53 << "File not found";
    QTest::newRow("missing category") << "Cakes"
                                      << "Gone" << 76 << "Path not found";
    QTest::newRow("folder as file") << "Soups"
                                    << "Folder" << 75 << "Path/File access error";
    QTest::newRow("short file") << "Soups"
                                << "Short" << 62 << "Input past end of file";
}

void StoreTest::loadFailures() {
    QFETCH(QString, category);
    QFETCH(QString, file);
    QFETCH(int, number);
    QFETCH(QString, description);
    Folder app;
    QVERIFY(app.mkdir(QStringLiteral("Category/Soups/Folder")));
    QVERIFY(app.write(QStringLiteral("Category/Soups/Short"), "\"1\",\"2\"\r\n"));
    Store store(app.path());
    const auto result = store.loadRecipe(category, file);
    QVERIFY(!result.ok());
    QCOMPARE(result.failure().kind, Failure::Kind::FileSystem);
    QCOMPARE(result.failure().number, number);
    QCOMPARE(result.failure().description, description);
}

void StoreTest::loadShowsLastCompleteRecord() {
    Folder app;
    QVERIFY(app.mkdir(QStringLiteral("Category/Soups")));
    QByteArray second = emptyRecord();
    second.replace(0, 2, "\"last\"");
    QVERIFY(app.write(QStringLiteral("Category/Soups/Two"), emptyRecord() + second));
    Store store(app.path());
    const auto loaded = store.loadRecipe(QStringLiteral("Soups"), QStringLiteral("Two"));
    QVERIFY(loaded.ok());
    QCOMPARE(loaded.value()[0], QStringLiteral("last"));
    // A second record cut short fails the whole load.
    QVERIFY(app.write(QStringLiteral("Category/Soups/Cut"), emptyRecord() + "\"1\",\"2\"\r\n"));
    QCOMPARE(store.loadRecipe(QStringLiteral("Soups"), QStringLiteral("Cut")).failure().number, 62);
}

void StoreTest::caseInsensitiveResolution() {
    Folder app;
    QVERIFY(QDir(app.path()).rename(QStringLiteral("Category"), QStringLiteral("category")));
    QVERIFY(
        QDir(app.path()).rename(QStringLiteral("Shopping List"), QStringLiteral("shopping list")));
    Store store(app.path());
    QCOMPARE(store.createCategory(QStringLiteral("Soups")).value(), CreateResult::Created);
    QVERIFY(app.exists(QStringLiteral("category/Soups")));
    QCOMPARE(app.read(QStringLiteral("category/category.txt")), QByteArray("Soups\r\n"));
    QCOMPARE(store.resolve(QStringLiteral("Category/SOUPS")),
             app.file(QStringLiteral("category/Soups")));
    QCOMPARE(store.resolve(QStringLiteral("Category/Soups/New/Deeper")),
             app.file(QStringLiteral("category/Soups/New/Deeper")));
    QVERIFY(store.saveShoppingList(QStringLiteral("Week"), QStringLiteral("milk")).ok());
    QVERIFY(app.exists(QStringLiteral("shopping list/Week.txt")));
    QCOMPARE(store.listShoppingLists().value(), QStringList{QStringLiteral("Week.txt")});
    QCOMPARE(store.shoppingListPath(QStringLiteral("WEEK.TXT")),
             app.file(QStringLiteral("shopping list/Week.txt")));
    // Letters beyond ASCII fold too.
    QVERIFY(app.mkdir(QStringLiteral("category/Crème brûlée")));
    QVERIFY(store.saveRecipe(QStringLiteral("CRÈME BRÛLÉE"), QStringLiteral("Tart"), {}).ok());
    QVERIFY(app.exists(QStringLiteral("category/Crème brûlée/Tart")));
    QVERIFY(QDir(app.path()).rmdir(QStringLiteral("category/Soups")));
    QVERIFY(app.mkdir(QStringLiteral("category/SOUPS")));
    QCOMPARE(store.createCategory(QStringLiteral("soups")).value(), CreateResult::AlreadyExists);
}

void StoreTest::listRecipeFilesAndDelete() {
    Folder app;
    QVERIFY(app.mkdir(QStringLiteral("Category/Soups/sub")));
    for (const char* name : {"stew", "Broth", "apple.txt", "Zucchini", "broth"}) {
        app.write(QStringLiteral("Category/Soups/") + QLatin1String(name), emptyRecord());
    }
    Store store(app.path());
    const auto files = store.listRecipeFiles(QStringLiteral("soups"));
    QVERIFY(files.ok());
    QCOMPARE(files.value(), (QStringList{"apple.txt", "Broth", "broth", "stew", "Zucchini", ""}));
    QVERIFY(store.deleteRecipe(QStringLiteral("Soups"), QStringLiteral("stew")).ok());
    QVERIFY(!app.exists(QStringLiteral("Category/Soups/stew")));
    const auto again = store.deleteRecipe(QStringLiteral("Soups"), QStringLiteral("stew"));
    QVERIFY(!again.ok());
    QCOMPARE(again.failure().number, 53);
    const auto missing = store.listRecipeFiles(QStringLiteral("Cakes"));
    QVERIFY(!missing.ok());
    QCOMPARE(missing.failure().number, 76);
}

// --- refusals ---

void StoreTest::refusals_data() {
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");

    const QString bad = QStringLiteral(
        "cannot contain / \\ : * ? \" < > | or control characters, and cannot be \".\" or \"..\".");
    const QString category = QStringLiteral("A category name ") + bad;
    const QString recipe = QStringLiteral("A recipe name ") + bad;
    const QString list = QStringLiteral("A shopping list name ") + bad;
    QTest::newRow("recipe, empty category") << "recipe-category"
                                            << ""
                                            << "Please choose a category for the recipe.";
    QTest::newRow("recipe, empty name") << "recipe-name"
                                        << ""
                                        << "Please type a name for the recipe.";
    for (const char* name : {"a/b", "a\\b", "a:b", "a*", "a?", "say \"hi\"", "<a", "a>", "a|b", ".",
                             "..", "tab\there", "bell\a", "c1\u0085"}) {
        const QString n = QString::fromUtf8(name);
        QTest::newRow(qPrintable("create " + n)) << "create" << n << category;
        QTest::newRow(qPrintable("delete " + n)) << "delete" << n << category;
        QTest::newRow(qPrintable("recipe category " + n)) << "recipe-category" << n << category;
        QTest::newRow(qPrintable("recipe name " + n)) << "recipe-name" << n << recipe;
        QTest::newRow(qPrintable("shopping list " + n)) << "shopping" << n << list;
    }
    const QString snowman = QStringLiteral(
        "The character \"☃\" (U+2603) cannot be saved. Please remove or replace it.");
    QTest::newRow("create ☃") << "create"
                              << "Snow☃" << snowman;
    QTest::newRow("recipe name ☃") << "recipe-name"
                                   << "Snow☃" << snowman;
    QTest::newRow("field ☃") << "recipe-field"
                             << "ok € ☃ ✓" << snowman;
    QTest::newRow("shopping text ☃") << "shopping-text"
                                     << "milk\r\n☃" << snowman;
    QTest::newRow("shopping name ☃") << "shopping"
                                     << "☃" << snowman;
    QTest::newRow("emoji")
        << "recipe-field"
        << "cake 🎂"
        << "The character \"🎂\" (U+1F382) cannot be saved. Please remove or replace it.";
}

void StoreTest::refusals() {
    QFETCH(QString, operation);
    QFETCH(QString, name);
    QFETCH(QString, message);
    Folder app;
    QVERIFY(app.mkdir(QStringLiteral("Category/Soups")));
    QVERIFY(app.write(QStringLiteral("Category/category.txt"), "Soups\r\n"));
    const QStringList before = app.tree();
    Store store(app.path());
    Failure failure;
    bool ok = true;
    auto take = [&](const auto& outcome) {
        ok = outcome.ok();
        if (!ok) {
            failure = outcome.failure();
        }
    };
    RecipeFields fields;
    if (operation == QLatin1String("create")) {
        take(store.createCategory(name));
    } else if (operation == QLatin1String("delete")) {
        take(store.deleteCategory(name));
    } else if (operation == QLatin1String("recipe-category")) {
        take(store.saveRecipe(name, QStringLiteral("Stew"), fields));
    } else if (operation == QLatin1String("recipe-name")) {
        take(store.saveRecipe(QStringLiteral("Soups"), name, fields));
    } else if (operation == QLatin1String("recipe-field")) {
        fields[kDirectionsField - 1] = name;
        take(store.saveRecipe(QStringLiteral("Soups"), QStringLiteral("Stew"), fields));
    } else if (operation == QLatin1String("shopping")) {
        take(store.saveShoppingList(name, QStringLiteral("milk")));
    } else if (operation == QLatin1String("shopping-text")) {
        take(store.saveShoppingList(QStringLiteral("Week"), name));
    }
    QVERIFY(!ok);
    QCOMPARE(failure.kind, Failure::Kind::Refused);
    QVERIFY(failure.isRefusal());
    QCOMPARE(failure.number, 52);
    QCOMPARE(failure.description, QStringLiteral("Bad file name or number"));
    QCOMPARE(failure.userMessage, message);
    QCOMPARE(app.tree(), before);
    QCOMPARE(app.read(QStringLiteral("Category/category.txt")), QByteArray("Soups\r\n"));
}

void StoreTest::refusalWordingIsOnePerKind() {
    QCOMPARE(refusedFailure(Refusal::BadRecipeName).userMessage,
             refusalMessage(Refusal::BadRecipeName));
    QCOMPARE(refusalMessage(Refusal::UnencodableCharacter, QStringLiteral("Ω")),
             QStringLiteral(
                 "The character \"Ω\" (U+03A9) cannot be saved. Please remove or replace it."));
    // Ω is not in Windows-1252 but Œ is, and so are the five unassigned bytes.
    Folder app;
    QVERIFY(app.mkdir(QStringLiteral("Category/Soups")));
    Store store(app.path());
    RecipeFields fields;
    fields[0] = QStringLiteral("Œ\u0081\u008D\u008F\u0090\u009D");
    QVERIFY(store.saveRecipe(QStringLiteral("Soups"), QStringLiteral("Odd"), fields).ok());
    QVERIFY(
        app.read(QStringLiteral("Category/Soups/Odd")).startsWith("\"\x8C\x81\x8D\x8F\x90\x9D\""));
    QCOMPARE(store.loadRecipe(QStringLiteral("Soups"), QStringLiteral("Odd")).value(), fields);
}

QTEST_GUILESS_MAIN(StoreTest)
#include "tst_store.moc"
