#include "filedialogservice.h"
#include "multilinebox.h"
#include "recipebrowserwindow.h"
#include "recipeentrywindow.h"
#include "recipepickwindow.h"
#include "screenmenubar.h"
#include "shoppinglistwindow.h"
#include "testsupport.h"
#include "windowregistry.h"

#include <QAction>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

using namespace pv;
using namespace Qt::StringLiterals;

namespace {

// Answers the file dialogs from queues (empty: cancelled) and records what
// they were asked.
class ScriptedDialogs : public FileDialogService {
public:
    ScriptedDialogs() { setFileDialogService(this); }
    ~ScriptedDialogs() override { setFileDialogService(nullptr); }
    QString openFileName(QWidget*, const QString&, const QString&) override {
        return opens.isEmpty() ? QString() : opens.takeFirst();
    }
    QString saveFileName(QWidget*, const QString& caption, const QString& suggestedName,
                         const QString& filter) override {
        asked << caption + u" | "_s + suggestedName + u" | "_s + filter;
        return saves.isEmpty() ? QString() : saves.takeFirst();
    }
    QStringList opens, saves, asked;
};

// A recipe file: 35 quoted fields in Windows-1252, the given ones set (1-based).
QByteArray record(const QMap<int, QString>& set) {
    QStringList fields;
    for (int field = 1; field <= 35; ++field) {
        fields << set.value(field);
    }
    return ('"' + fields.join(u"\",\""_s) + u"\"\r\n"_s).toLatin1();
}

const QByteArray kStew = record({{1, u"2"_s},
                                 {10, u"1"_s},
                                 {11, u"lbs"_s},
                                 {20, u"tsp"_s},
                                 {21, u"beef"_s},
                                 {30, u"salt"_s},
                                 {31, u"Brown.\r\nSimmer."_s},
                                 {32, u"325"_s},
                                 {33, u"6"_s},
                                 {34, u"2"_s},
                                 {35, u"15"_s}});

}  // namespace

class ExchangeUiTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::ScreenBench> bench_;
    std::unique_ptr<ScriptedDialogs> dialogs_;

    template <typename T>
    T* open(WindowId id) {
        return qobject_cast<T*>(windows().show(id));
    }
    static void run(QWidget* window, const char* menuBar, const char* key) {
        window->findChild<ScreenMenuBar*>(QLatin1String(menuBar))
            ->actionFor(QLatin1String(key))
            ->trigger();
    }
    RecipeBrowserWindow* browse(const QString& file) {
        auto* browser = open<RecipeBrowserWindow>(WindowId::RecipeBrowser);
        return file.isEmpty() || browser->showRecipe(u"Soups"_s, file) ? browser : nullptr;
    }
    static QString box(QWidget* screen, const QString& name) {
        return screen->findChild<QLineEdit*>(name)->text();
    }
    // The messages shown, "title: text", with the file's name where the text has "%1".
    QString message(const QString& path = {}) const {
        QStringList shown;
        for (const auto& message : bench_->messages.shown) {
            shown << message.title + u": "_s + message.text;
        }
        return path.isEmpty() ? shown.join(u'\n')
                              : shown.join(u'\n').replace(QDir::toNativeSeparators(path), u"%1"_s);
    }
    // Imports a file on the entry screen, the category Pies chosen.
    RecipeEntryWindow* importFile(const QString& path) {
        auto* screen = open<RecipeEntryWindow>(WindowId::RecipeEntry);
        auto* category = screen->findChild<QComboBox*>(u"cboIng"_s);
        category->setCurrentIndex(category->findText(u"Pies"_s));
        dialogs_->opens << path;
        run(screen, "SMXPI", "keyImport");
        return screen;
    }

private slots:
    void init() {
        bench_ = std::make_unique<test::ScreenBench>(
            QList{test::screen<RecipeBrowserWindow>(WindowId::RecipeBrowser),
                  test::screen<RecipeEntryWindow>(WindowId::RecipeEntry),
                  test::screen<ShoppingListWindow>(WindowId::ShoppingList),
                  test::screen<RecipePickWindow>(WindowId::RecipePick)});
        dialogs_ = std::make_unique<ScriptedDialogs>();
        QVERIFY(bench_->app.write(u"Category/category.txt"_s, "Soups\r\nPies\r\n"));
        QVERIFY(bench_->app.mkdir(u"Category/Soups"_s) && bench_->app.mkdir(u"Category/Pies"_s));
        QVERIFY(bench_->app.write(u"Category/Soups/Stew"_s, kStew));
        QVERIFY(bench_->app.write(u"Category/Soups/Broth"_s, record({{31, u"Boil the bones."_s}})));
    }
    void cleanup() {
        dialogs_.reset();
        bench_.reset();
    }

    // Export, Import on the entry screen, Save: the same boxes and the same
    // bytes as the recipe exported, in the category chosen there.
    void anExportedRecipeComesBackByteForByte_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("every kind of box") << u"Stew"_s << kStew;
        QTest::newRow("blanks, fractions, accents, an empty line")
            << u"Crème brûlée, for 2.txt"_s
            << record({{1, u"1 1/2"_s},
                       {2, u"½"_s},
                       {11, u" cups "_s},
                       {21, u"crème fraîche"_s},
                       {22, u"sugar, brown"_s},
                       {31, u"Whisk.\r\n\r\nBake in a bain-marie; 1° at a time."_s},
                       {34, u"1½"_s}});
        QTest::newRow("nothing but a name") << u"Empty"_s << record({});
    }
    void anExportedRecipeComesBackByteForByte() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QVERIFY(bench_->app.write(u"Category/Soups/"_s + name, bytes));
        RecipeBrowserWindow* browser = browse(name);
        QVERIFY(browser);
        const QString exported = bench_->app.file(u"out.json"_s);
        dialogs_->saves << exported;
        run(browser, "SMXPR", "keyExport");
        QCOMPARE(dialogs_->asked,
                 QStringList{u"Export recipe | %1.json | Recipes (*.json)"_s.arg(name)});
        QFile file(exported);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QJsonObject json = QJsonDocument::fromJson(file.readAll()).object();
        QCOMPARE(json.value(u"@type"_s).toString(), u"Recipe"_s);
        QCOMPARE(json.value(u"recipeCategory"_s).toString(), u"Soups"_s);

        RecipeEntryWindow* screen = importFile(exported);
        QCOMPARE(message(), QString());
        QCOMPARE(box(screen, u"txtIName"_s), name);
        QVERIFY(!QFile::exists(bench_->app.file(u"Category/Pies/"_s + name)));
        QTest::mouseClick(screen->findChild<QPushButton*>(u"cmdISave"_s), Qt::LeftButton);
        QCOMPARE(bench_->app.read(u"Category/Pies/"_s + name), bytes);
    }

    // Every recipe into one file; imported, the user picks one of them.
    void exportAllThenPickOne() {
        QVERIFY(bench_->app.write(u"Category/Pies/Apple"_s, record({{21, u"apples"_s}})));
        QVERIFY(bench_->app.write(u"Category/Pies/notes.doc"_s, "not a recipe"));
        const QString exported = bench_->app.file(u"all.json"_s);
        dialogs_->saves << exported;
        run(browse({}), "SMXPR", "keyExportAll");
        QCOMPARE(dialogs_->asked,
                 QStringList{u"Export all recipes | Recipes.json | Recipes (*.json)"_s});

        RecipeEntryWindow* screen = importFile(exported);
        auto* pick = windows().loadedAs<RecipePickWindow>(WindowId::RecipePick);
        QVERIFY(pick && pick->isVisible());
        auto* list = pick->findChild<QListWidget*>(u"lswPRecipe"_s);
        QStringList names;
        for (int row = 0; row < list->count(); ++row) {
            names << list->item(row)->text();
        }
        QCOMPARE(names, (QStringList{u"Broth"_s, u"Stew"_s, u"Apple"_s}));
        QCOMPARE(box(screen, u"txtIName"_s), QString());
        list->setCurrentRow(1);
        QTest::mouseClick(pick->findChild<QPushButton*>(u"cmdPImport"_s), Qt::LeftButton);
        QVERIFY(!pick->isVisible());
        QCOMPARE(box(screen, u"txtIName"_s), u"Stew"_s);
        QCOMPARE(box(screen, u"txtIN10"_s), u"salt"_s);
        QCOMPARE(screen->findChild<MultiLineBox*>(u"txtIDirec"_s)->text(), u"Brown.\r\nSimmer."_s);
        QCOMPARE(message(), QString());
    }

    // A file that cannot be imported is a "User error"; the boxes keep what
    // they held and nothing is written.
    void refusedImportsFillNothing_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("damaged JSON")
            << u"cut.json"_s << QByteArray("{\"@type\": \"Recipe\", \"name\": ")
            << u"User error: The file \"%1\" is not a JSON file, or it is damaged."_s;
        QTest::newRow("a foreign file")
            << u"letter.txt"_s << QByteArray("Dear Ann,\nthanks!\n")
            << u"User error: The file \"%1\" holds no MealMaster recipe."_s;
        QTest::newRow("a page without a recipe")
            << u"page.html"_s << QByteArray("<html><body><p>Hello</p></body></html>")
            << u"User error: The file \"%1\" holds no schema.org recipe."_s;
        QTest::newRow("characters no recipe file holds")
            << u"snow.json"_s
            << QByteArray(
                   "{\"@type\": \"Recipe\", \"name\": \"Snow cake \u2603\", "
                   "\"recipeIngredient\": [\"1 \u2153 cups flour\", \"\u2603 \U0001D11E\"]}")
            << u"User error: The recipe \"Snow cake ☃\" cannot be imported. These characters "
               "cannot be saved:\r\n\"☃\" (U+2603), \"𝄞\" (U+1D11E)"_s;
    }
    void refusedImportsFillNothing() {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        QVERIFY(bench_->app.write(file, bytes));
        auto* screen = open<RecipeEntryWindow>(WindowId::RecipeEntry);
        screen->findChild<QLineEdit*>(u"txtIN1"_s)->setText(u"kept"_s);
        const QStringList tree = bench_->app.tree();
        importFile(bench_->app.file(file));
        QCOMPARE(message(bench_->app.file(file)), expected);
        QCOMPARE(box(screen, u"txtIN1"_s), u"kept"_s);
        QCOMPARE(bench_->app.tree(), tree);
    }

    // A text longer than its box is put in cut short, and the user is told
    // the whole of it before saving anything.
    void overlongTextsAreTold() {
        const QString name = u"Grandmother's very best apple pie from Kent"_s;
        const QString apples = u"tart apples, peeled, cored and thinly sliced"_s;
        QVERIFY(bench_->app.write(
            u"pie.json"_s, QJsonDocument(QJsonObject{
                                             {u"@type"_s, u"Recipe"_s},
                                             {u"name"_s, name},
                                             {u"recipeIngredient"_s, QJsonArray{u"6 "_s + apples}},
                                         })
                               .toJson()));
        RecipeEntryWindow* screen = importFile(bench_->app.file(u"pie.json"_s));
        QCOMPARE(box(screen, u"txtIName"_s), name.left(40));
        QCOMPARE(box(screen, u"txtIA1"_s), u"6"_s);
        QCOMPARE(box(screen, u"txtIN1"_s), apples.left(39));
        QCOMPARE(message(),
                 u"Pantrova: These texts are longer than their boxes take and were cut short. "
                 "Please check them before you save:\r\n"
                 "Recipe: \"Grandmother's very best apple pie from Kent\" (43 characters; the box "
                 "takes 40)\r\n"
                 "Ingredient 1: \"tart apples, peeled, cored and thinly sliced\" (44 characters; "
                 "the box takes 39)"_s);
    }

    // The ingredient lines, joined by single blanks, go onto the end of the
    // list as if typed; nothing is saved.
    void addToShoppingListAppendsTheIngredients_data() {
        QTest::addColumn<QString>("before");
        QTest::newRow("empty list") << QString();
        QTest::newRow("a line without its end") << u"milk"_s;
        QTest::newRow("a line with its end") << u"milk\r\n"_s;
    }
    void addToShoppingListAppendsTheIngredients() {
        QFETCH(QString, before);
        auto* list = open<ShoppingListWindow>(WindowId::ShoppingList);
        auto* text = list->findChild<MultiLineBox*>(u"txtHList"_s);
        text->setText(before);
        const QStringList tree = bench_->app.tree();
        run(browse(u"Stew"_s), "SMXPR", "keyAddToList");
        QCOMPARE(message(), QString());
        QVERIFY(list->isVisible());
        QCOMPARE(text->text(), (before.isEmpty() ? QString() : u"milk\r\n"_s) +
                                   u"2 lbs beef\r\n1 tsp salt\r\n"_s);
        QVERIFY(!list->nameBoxLocked());
        QCOMPARE(bench_->app.tree(), tree);
    }

    // What the user can put right is a "User error"; never the error report,
    // never a file left behind.
    void failedCommandsAreTold_data() {
        QTest::addColumn<QString>("recipe");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("expected");
        const QString nothing = u"User error: Please click a recipe in the 'Files' box first."_s;
        QTest::newRow("export, nothing on display")
            << QString() << u"keyExport"_s << QString() << nothing;
        QTest::newRow("add, nothing on display")
            << QString() << u"keyAddToList"_s << QString() << nothing;
        QTest::newRow("add, no ingredients")
            << u"Broth"_s << u"keyAddToList"_s << QString()
            << u"User error: The recipe on display has no ingredients."_s;
        QTest::newRow("export into a missing folder")
            << u"Stew"_s << u"keyExport"_s << u"gone/Stew.json"_s
            << u"User error: The folder of \"%1\" does not exist. Please choose another folder."_s;
        QTest::newRow("export onto a folder")
            << u"Stew"_s << u"keyExport"_s << u"Category"_s
            << u"User error: \"%1\" is a folder. Please choose a file name."_s;
        QTest::newRow("export cancelled") << u"Stew"_s << u"keyExport"_s << QString() << QString();
    }
    void failedCommandsAreTold() {
        QFETCH(QString, recipe);
        QFETCH(QString, key);
        QFETCH(QString, target);
        QFETCH(QString, expected);
        RecipeBrowserWindow* browser = browse(recipe);
        QVERIFY(browser);
        if (!target.isEmpty()) {
            dialogs_->saves << bench_->app.file(target);
        }
        const QStringList tree = bench_->app.tree();
        run(browser, "SMXPR", key.toLatin1().constData());
        QCOMPARE(message(target.isEmpty() ? QString() : bench_->app.file(target)), expected);
        QCOMPARE(bench_->app.tree(), tree);
        QVERIFY(browser->isVisible());
    }
};

QTEST_MAIN(ExchangeUiTest)
#include "tst_exchangeui.moc"
