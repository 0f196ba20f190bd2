#include "filedialogservice.h"
#include "recipebrowserwindow.h"
#include "recipeentrywindow.h"
#include "recipepickwindow.h"
#include "road.h"
#include "shoppinglistwindow.h"
#include "storetest.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#include <optional>

using namespace pv;
using namespace Qt::StringLiterals;

namespace {

// Answers the file dialogs from queues (empty: cancelled) and records what
// they were asked.
class ScriptedDialogs : public FileDialogService {
public:
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

using test::record;
// Directions, both ends of the ingredient rows and every cooking box.
const QByteArray kStew = record({{31, "Brown.\r\nSimmer."},
                                 {32, "325"},
                                 {33, "6"},
                                 {34, "2"},
                                 {35, "15"},
                                 {1, "2"},
                                 {11, "lbs"},
                                 {21, "beef"},
                                 {10, "1"},
                                 {20, "tsp"},
                                 {30, "salt"}});

}  // namespace

class ExchangeUiTest : public QObject {
    Q_OBJECT

    std::optional<test::RoadBench> on_;
    std::optional<ScriptedDialogs> dialogs_;
    QStringList snapped_;

    // A recipe shown on the browser; then the entry screen, the category Pies chosen, imports
    // the file.
    static QString shown(const QString& recipe) {
        return u"open frmRecipe; pick cboRCat=Soups; click lswRFile=%1; "_s.arg(recipe);
    }
    static QString imported(const QString& file) {
        return u"open frmIngred; pick cboIng=Pies; import %1; menu SMXPI=keyImport; "_s.arg(file);
    }

    // "import PATH", "save PATH": the next dialog of that kind answered with the file;
    // "json PATH=text" writes the text in UTF-8; "snap" keeps the folder's tree for "changed".
    std::optional<bool> step(const QString& verb, const QString& name, const QString& text) {
        const QString path = on_->bench.app.file(name);
        if (verb == u"import"_s || verb == u"save"_s) {
            (verb == u"import"_s ? dialogs_->opens : dialogs_->saves) << path;
            return true;
        }
        if (verb == u"json"_s) {
            return on_->bench.app.write(name, text.toUtf8());
        }
        if (verb == u"snap"_s) {
            snapped_ = on_->bench.app.tree();
            return true;
        }
        return std::nullopt;
    }
    // "asked": the save dialogs asked, by '\n'; "changed": whether a file or folder came, went
    // or changed since "snap"; "exported PATH": a JSON file's type and category; "locked":
    // the shopping list's name box.
    QString probe(const QString& probe) const {
        const QString rest = probe.section(u' ', 1);
        if (probe == u"asked"_s) {
            return dialogs_->asked.isEmpty() ? u""_s : dialogs_->asked.join(u'\n');
        }
        if (probe == u"changed"_s) {
            return on_->bench.app.tree() == snapped_ ? u"0"_s : u"1"_s;
        }
        if (probe.startsWith(u"exported "_s)) {
            const QJsonObject json = QJsonDocument::fromJson(on_->bench.app.read(rest)).object();
            return json.value(u"@type"_s).toString() + u'|' +
                   json.value(u"recipeCategory"_s).toString();
        }
        if (probe == u"locked"_s) {
            return windows().loadedAs<ShoppingListWindow>(WindowId::ShoppingList)->nameBoxLocked()
                       ? u"1"_s
                       : u"0"_s;
        }
        return QString();
    }

private slots:
    void init() {
        on_.emplace(QList{test::screen<RecipeBrowserWindow>(WindowId::RecipeBrowser),
                          test::screen<RecipeEntryWindow>(WindowId::RecipeEntry),
                          test::screen<ShoppingListWindow>(WindowId::ShoppingList),
                          test::screen<RecipePickWindow>(WindowId::RecipePick)});
        on_->road.step = [this](const QString& verb, const QString& name, const QString& text) {
            return step(verb, name, text);
        };
        on_->road.probe = [this](const QString& name) { return probe(name); };
        setFileDialogService(&dialogs_.emplace());
        QVERIFY(on_->bench.app.write(u"Category/category.txt"_s, "Soups\r\nPies\r\n"));
        QVERIFY(on_->bench.app.mkdir(u"Category/Pies"_s));
        QVERIFY(on_->bench.app.write(u"Category/Soups/Stew"_s, kStew));
        QVERIFY(on_->bench.app.write(u"Category/Soups/Broth"_s, record({{31, "Boil the bones."}})));
    }
    void cleanup() {
        setFileDialogService(nullptr);
        dialogs_.reset();
        on_.reset();
    }

    // Export, Import on the entry screen, Save: the same boxes and the same
    // bytes as the recipe exported, in the category chosen there.
    void anExportedRecipeComesBackByteForByte_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("every kind of box") << u"Stew"_s << kStew;
        QTest::newRow("blanks, fractions, accents, an empty line")
            << u"Crème brûlée, for 2.txt"_s
            << record({{1, "1 1/2"},
                       {2, "\xBD"},
                       {11, " cups "},
                       {21,
                        "cr\xE8me fra\xEE"
                        "che"},
                       {22, "sugar, brown"},
                       {31, "Whisk.\r\n\r\nBake in a bain-marie; 1\xB0 at a time."},
                       {34, "1\xBD"}});
        QTest::newRow("nothing but a name") << u"Empty"_s << record({});
    }
    void anExportedRecipeComesBackByteForByte() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QVERIFY(on_->bench.app.write(u"Category/Soups/"_s + name, bytes));
        on_->road.walk(
            shown(name) +
            u"save out.json; menu SMXPR=keyExport; "
            "? asked=Export recipe | %1.json | Recipes (*.json); "
            "? exported out.json=Recipe|Soups; "_s.arg(name) +
            imported(u"out.json"_s) +
            u"? shown=; ? text txtIName=%1; ? tree Category/Pies=; click cmdISave"_s.arg(name));
        QCOMPARE(on_->bench.app.read(u"Category/Pies/"_s + name), bytes);
    }

    void roads_data() {
        QTest::addColumn<QString>("road");
        QTest::addColumn<QString>("told");  // the messages at the end of the road
        // Every recipe into one file; imported, the user picks one of them.
        QTest::newRow("export all, then pick one")
            << u"write Category/Pies/Apple=%1; write Category/Pies/notes.doc=not a recipe; "
               "open frmRecipe; save all.json; menu SMXPR=keyExportAll; "
               "? asked=Export all recipes | Recipes.json | Recipes (*.json); "_s.arg(
                   QString::fromLatin1(record({{21, "apples"}})).chopped(2)) +
                   imported(u"all.json"_s) +
                   u"? windows=frmIngred|frmRecipe|frmPick; ? text txtIName=; on frmPick; "
                   "? listed lswPRecipe=Broth|Stew|Apple; click lswPRecipe=Stew; "
                   "click cmdPImport; ? windows=frmIngred|frmRecipe; on frmIngred; "
                   "? text txtIName txtIN10 txtIDirec=Stew|salt|Brown.\r\nSimmer."_s
            << QString();

        // A file that cannot be imported is a "User error"; the boxes keep what
        // they held and nothing is written.
        const QString refused = u"json %1; snap; open frmIngred; set txtIN1=kept; "_s;
        const QString keptNothing = u"? text txtIN1=kept; ? changed=0"_s;
        const QString userError = u"User error|4144|"_s;
        QTest::newRow("damaged JSON")
            << refused.arg(u"cut.json={\"@type\": \"Recipe\", \"name\": "_s) +
                   imported(u"cut.json"_s) + keptNothing
            << userError + u"The file \"cut.json\" is not a JSON file, or it is damaged."_s;
        QTest::newRow("a foreign file")
            << refused.arg(u"letter.txt=Dear Ann,\nthanks!\n"_s) + imported(u"letter.txt"_s) +
                   keptNothing
            << userError + u"The file \"letter.txt\" holds no MealMaster recipe."_s;
        QTest::newRow("a page without a recipe")
            << refused.arg(u"page.html=<html><body><p>Hello</p></body></html>"_s) +
                   imported(u"page.html"_s) + keptNothing
            << userError + u"The file \"page.html\" holds no schema.org recipe."_s;
        QTest::newRow("characters no recipe file holds")
            << refused.arg(
                   u"snow.json={\"@type\": \"Recipe\", \"name\": \"Snow cake \u2603\", "
                   "\"recipeIngredient\": [\"1 \u2153 cups flour\", \"\u2603 \U0001D11E\"]}"_s) +
                   imported(u"snow.json"_s) + keptNothing
            << userError +
                   u"The recipe \"Snow cake ☃\" cannot be imported. These characters cannot be "
                   "saved:\r\n\"☃\" (U+2603), \"𝄞\" (U+1D11E)"_s;

        // A text longer than its box is put in cut short, and the user is told
        // the whole of it before saving anything.
        QTest::newRow("overlong texts")
            << u"json pie.json={\"@type\": \"Recipe\", \"name\": \"Grandmother's very best apple "
               "pie from Kent\", \"recipeIngredient\": [\"6 tart apples, peeled, cored and "
               "thinly sliced\"]}; "_s +
                   imported(u"pie.json"_s) +
                   u"? text txtIName txtIA1 txtIN1=Grandmother's very best apple pie from K|6|"
                   "tart apples, peeled, cored and thinly s; ? tree Category/Pies="_s
            << u"Pantrova|48|These texts are longer than their boxes take and were cut short. "
               "Please check them before you save:\r\n"
               "Recipe: \"Grandmother's very best apple pie from Kent\" (43 characters; the box "
               "takes 40)\r\n"
               "Ingredient 1: \"tart apples, peeled, cored and thinly sliced\" (44 characters; "
               "the box takes 39)"_s;

        // The ingredient lines, joined by single blanks, go onto the end of the
        // list as if typed; nothing is saved.
        const QString added =
            u"? shown=; ? windows=frmRecipe|frmShop; on frmShop; ? locked=0; "
            "? changed=0; ? text txtHList="_s;
        for (const QString& before : {u""_s, u"milk"_s, u"milk\r\n"_s}) {
            QTest::addRow("add to list, before: \"%s\"", qPrintable(before.trimmed()))
                << u"open frmShop; set txtHList=%1; snap; "_s.arg(before) + shown(u"Stew"_s) +
                       u"menu SMXPR=keyAddToList; "_s + added +
                       (before.isEmpty() ? QString() : u"milk\r\n"_s) +
                       u"2 lbs beef\r\n1 tsp salt\r\n"_s
                << QString();
        }

        // What the user can put right is a "User error"; never the error report,
        // never a file left behind.
        const QString stayed = u"? windows=frmRecipe; ? changed=0"_s;
        const QString nothing = userError + u"Please click a recipe in the 'Files' box first."_s;
        QTest::newRow("export, nothing on display")
            << u"snap; open frmRecipe; save x.json; menu SMXPR=keyExport; "_s + stayed << nothing;
        QTest::newRow("add, nothing on display")
            << u"snap; open frmRecipe; menu SMXPR=keyAddToList; "_s + stayed << nothing;
        QTest::newRow("add, no ingredients")
            << u"snap; "_s + shown(u"Broth"_s) + u"menu SMXPR=keyAddToList; "_s + stayed
            << userError + u"The recipe on display has no ingredients."_s;
        QTest::newRow("export into a missing folder")
            << u"snap; "_s + shown(u"Stew"_s) + u"save gone/Stew.json; menu SMXPR=keyExport; "_s +
                   stayed
            << userError +
                   u"The folder of \"gone/Stew.json\" does not exist. Please choose another "
                   "folder."_s;
        QTest::newRow("export onto a folder")
            << u"snap; "_s + shown(u"Stew"_s) + u"save Category; menu SMXPR=keyExport; "_s + stayed
            << userError + u"\"Category\" is a folder. Please choose a file name."_s;
        QTest::newRow("export cancelled") << u"snap; "_s + shown(u"Stew"_s) +
                                                 u"menu SMXPR=keyExport; ? asked=Export recipe | "
                                                 "Stew.json | Recipes (*.json); "_s +
                                                 stayed
                                          << QString();

        // Every recipe that can be read goes out; what cannot is told, after the file is written.
        QTest::newRow("export all goes on past what it cannot read")
            << u"write Category/category.txt=Soups\r\nGone\r\nPies\r\n; "
               "write Category/Pies/Apple=%1; write Category/Soups/Half\\Half=x; "
               "open frmRecipe; save all.json; menu SMXPR=keyExportAll; "
               "? exported all.json=|"_s.arg(
                   QString::fromLatin1(record({{21, "apples"}})).chopped(2))
            << u"Pantrova|48|\"all.json\" holds 3 recipes. These were left out:\r\n"
               "\"Half\\Half\" in \"Soups\": A recipe name cannot contain / \\ : * ? \" < > | or "
               "control characters, and cannot be \".\" or \"..\".\r\n"
               "The category \"Gone\": its folder is missing."_s;
    }
    void roads() {
        QFETCH(QString, road);
        QFETCH(QString, told);
        on_->road.walk(road);
        QCOMPARE(on_->road.read(u"shown"_s), told);
    }
};

QTEST_MAIN(ExchangeUiTest)
#include "tst_exchangeui.moc"
