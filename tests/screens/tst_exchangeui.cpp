#include "filedialogservice.h"
#include "folderwatcher.h"
#include "importprogresswindow.h"
#include "importsummarywindow.h"
#include "importtask.h"
#include "recipebrowserwindow.h"
#include "recipeentrywindow.h"
#include "recipepickwindow.h"
#include "road.h"
#include "setupwindow.h"
#include "shoppinglistwindow.h"
#include "storetest.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QPlainTextEdit>
#include <QSemaphore>
#include <QtTest>

#include <sys/stat.h>

#include <optional>

using namespace pv;
using exchange::EntryBoxes;
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
    // Holds the next import's worker before it starts, until released.
    QSemaphore gate_;
    bool held_ = false;

    // A recipe shown on the browser; then the entry screen, the category Pies chosen, imports
    // the file.
    static QString shown(const QString& recipe) {
        return u"open frmRecipe; pick cboRCat=Soups; click lswRFile=%1; "_s.arg(recipe);
    }
    static QString imported(const QString& file) {
        return u"open frmIngred; pick cboIng=Pies; import %1; menu SMXPI=keyImport; settle; "_s.arg(
            file);
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
        if (verb == u"fifo"_s) {
            return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
        }
        if (verb == u"mmf"_s) {
            return on_->bench.app.write(name, test::mealMaster(text.split(u'|')));
        }
        // The import's worker done, its window's thread caught up.
        if (verb == u"settle"_s) {
            return QTest::qWaitFor([] { return !ImportTask::running(); }, 60000);
        }
        // The open screens' lists follow the new files once their watcher has gathered them.
        if (verb == u"follow"_s) {
            QTest::qWait(FolderWatcher::kGatherMs + 200);
            return true;
        }
        if (verb == u"hold"_s) {
            held_ = true;
            ImportTask::setQuietMs(0);
            ImportTask::setBeforeWork([this] { gate_.acquire(); });
            return true;
        }
        if (verb == u"release"_s) {
            held_ = false;
            gate_.release();
            return true;
        }
        // "shows NAME": the window of that object name comes up (the progress window's
        // quiet time has passed).
        if (verb == u"shows"_s) {
            PvWindow* shown = nullptr;
            const bool visible = QTest::qWaitFor(
                [&name, &shown] {
                    for (int id = 0; id < kWindowCount; ++id) {
                        PvWindow* window = windows().loaded(WindowId(id));
                        if (window && window->isVisible() && window->objectName() == name) {
                            shown = window;
                        }
                    }
                    return shown != nullptr;
                },
                10000);
            return visible && QTest::qWaitForWindowActive(shown);
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
        if (probe.startsWith(u"visible "_s)) {
            QString flags;
            for (const QString& name : rest.split(u' ')) {
                flags += on_->road.screen()->findChild<QWidget*>(name)->isVisible() ? u'1' : u'0';
            }
            return flags;
        }
        if (probe == u"summary"_s) {
            const auto* summary = windows().loadedAs<ImportSummaryWindow>(WindowId::ImportSummary);
            return summary ? summary->summary() : u"<none>"_s;
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
                          test::screen<RecipePickWindow>(WindowId::RecipePick),
                          test::screen<ImportProgressWindow>(WindowId::ImportProgress),
                          test::screen<ImportSummaryWindow>(WindowId::ImportSummary)});
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
        if (held_) {
            on_->road.walk(u"release; settle"_s);
        }
        ImportTask::setBeforeWork({});
        ImportTask::setQuietMs(-1);
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

    // Import all, from the pick window: what went where, and the summary.
    void importAll_data() {
        QTest::addColumn<QString>("road");
        QTest::addColumn<QString>("summary");
        const QString pick = u"open frmRecipe; pick cboRCat=Pies; "_s;
        QTest::newRow("numbered past the names there, skipped whole")
            << u"write Category/Pies/apple pie=%1; "
               "mmf many.mmf=Apple Pie|Apple Pie|Pear Tart|Bad/Name|Snow \u2603; "_s.arg(
                   QString::fromLatin1(record({{21, "apples"}})).chopped(2)) +
                   pick + imported(u"many.mmf"_s) +
                   u"on frmPick; ? visible chkPOwn cmdPAll=11; "
                   "? text lblPAll=Import all puts the 5 recipes into \"Pies\".; click cmdPAll; "
                   "settle; ? windows=frmIngred|frmRecipe|frmSummary; "
                   "? tree Category/Pies=Apple Pie (2)|Apple Pie (3)|Pear Tart|apple pie; "
                   "follow; on frmRecipe; ? listed lswRFile=apple pie|Apple Pie (2)|Apple Pie "
                   "(3)|Pear "
                   "Tart; on frmSummary; ? focus=cmdYOK; key cmdYOK=Return; ? windows=frmIngred|"
                   "frmRecipe; ? shown="_s
            << u"Imported 3 of 5 recipes into \"Pies\".\n\n"
               "Skipped 2 recipes:\n"
               "\"Bad/Name\": A recipe name cannot contain / \\ : * ? \" < > | or control "
               "characters, and cannot start with \".\".\n"
               "\"Snow \u2603\": These characters cannot be saved: \"\u2603\" (U+2603)\n\n"
               "Saved under another name, as the name was taken:\n"
               "\"Apple Pie\" as \"Apple Pie (2)\"\n"
               "\"Apple Pie\" as \"Apple Pie (3)\""_s;

        QTest::newRow("into the categories the file names")
            << u"json all.json={\"@graph\": ["
               "{\"@type\": \"Recipe\", \"name\": \"Rye\", \"recipeCategory\": \"Breads\", "
               "\"recipeIngredient\": [\"500 g flour\"]}, "
               "{\"@type\": \"Recipe\", \"name\": \"Stew\", \"recipeCategory\": \"soups\", "
               "\"recipeIngredient\": [\"2 lbs beef\"]}, "
               "{\"@type\": \"Recipe\", \"name\": \"Pie\", \"recipeCategory\": \"Bad:Cat\", "
               "\"recipeIngredient\": [\"1 crust\"]}, "
               "{\"@type\": \"Recipe\", \"name\": \"Toast\", "
               "\"recipeIngredient\": [\"1 slice bread\"]}]}; "_s +
                   imported(u"all.json"_s) +
                   u"on frmPick; ? visible chkPOwn=1; ? checked chkPOwn=0; click chkPOwn; "
                   "? text lblPAll=Import all puts each of the 4 recipes into the category the "
                   "file names for it, made when there is none of that name, and the others into "
                   "\"Pies\".; click cmdPAll; settle; "
                   "? file Category/category.txt=Soups\r\nPies\r\nBreads\r\n; "
                   "? tree Category=Breads/|Breads/Rye|Pies/|Pies/Toast|Soups/|Soups/Broth|"
                   "Soups/Stew (2)|Soups/Stew|category.txt"_s
            << u"Imported 3 of 4 recipes: 1 into \"Breads\", 1 into \"Soups\", 1 into "
               "\"Pies\".\n\n"
               "Skipped 1 recipe:\n"
               "\"Pie\": The category \"Bad:Cat\" cannot be made. A category name cannot "
               "contain / \\ : * ? \" < > | or control characters, and cannot start with "
               "\".\".\n\n"
               "Saved under another name, as the name was taken:\n"
               "\"Stew\" as \"Stew (2)\" in \"Soups\""_s;

        // Cancel on the progress window: what was saved stays, the rest is not imported.
        QTest::newRow("cancelled")
            << u"mmf many.mmf=Apple|Pear|Plum; "_s + imported(u"many.mmf"_s) +
                   u"on frmPick; hold; click cmdPAll; shows frmProgress; on frmProgress; "
                   "? text lblGMsg=Importing 3 recipes into \"Pies\"...; key cmdGCancel=Escape; "
                   "? text lblGMsg=Cancelling...; release; settle; ? tree Category/Pies="_s
            << u"No recipe was imported (of 3 recipes).\n"
               "Cancelled: what was imported until then stays saved; the other 3 recipes were "
               "not imported."_s;
    }
    void importAll() {
        QFETCH(QString, road);
        QFETCH(QString, summary);
        on_->road.walk(road);
        QCOMPARE(on_->road.read(u"summary"_s), summary);
    }

    // An import without the screens cuts each text where the screens' boxes do.
    void boxLengthsAreTheForms() {
        const auto lengthOf = [](const QWidget* window, const QString& box) {
            for (const QWidget* control : window->findChildren<QWidget*>()) {
                if (control->accessibleName() != box) {
                    continue;
                }
                const auto* line = qobject_cast<const QLineEdit*>(control);
                if (!line) {
                    return qobject_cast<const QPlainTextEdit*>(control) ? 0 : -1;
                }
                return line->maxLength() == 32767 ? 0 : line->maxLength();
            }
            return -1;
        };
        on_->road.walk(u"open frmIngred"_s);
        const QWidget* entry = on_->road.screen();
        QCOMPARE(lengthOf(entry, EntryBoxes::nameBox().name), EntryBoxes::nameBox().maxLength);
        for (int field = 1; field <= store::kRecipeFieldCount; ++field) {
            const EntryBoxes::Box box = EntryBoxes::fieldBox(field);
            QCOMPARE(lengthOf(entry, box.name), box.maxLength);
        }
        SetupWindow setup;
        QCOMPARE(lengthOf(&setup, EntryBoxes::categoryBox().name),
                 EntryBoxes::categoryBox().maxLength);
    }

    // What Import all saves is what importing the recipe alone and pressing Save saves:
    // the same texts cut to the same boxes, the same line ends.
    void importAllSavesWhatSaveWould_data() {
        QTest::addColumn<QString>("recipe");  // a JSON-LD Recipe object
        QTest::addColumn<QString>("listed");  // its name in the pick window
        QTest::addColumn<QString>("saved");   // its file's name
        QTest::newRow("texts longer than their boxes")
            << u"\"name\": \"Grandmother's very best apple pie from Kent\", "
               "\"recipeIngredient\": [\"6 tart apples, peeled, cored and thinly sliced\", "
               "\"1\", \"2\", \"3\", \"4\", \"250 g butter, cold, cut in small cubes, and more\"], "
               "\"recipeYield\": \"12345\", \"cookTime\": \"PT125H\""_s
            << u"Grandmother's very best apple pie from Kent"_s
            << u"Grandmother's very best apple pie from K"_s;
        QTest::newRow("line breaks of every kind")
            << u"\"name\": \"Breaks\", \"recipeIngredient\": [\"1 egg\"], "
               "\"recipeInstructions\": [\"One.\\nStill one.\", \"Two.\\rTwo more.\", "
               "\"Three.\\u2028Four.\\r\\n\\r\\nFive.\"]"_s
            << u"Breaks"_s << u"Breaks"_s;
        QTest::newRow("fractions, symbols and blanks")
            << u"\"name\": \"  Crème  brûlée \", \"recipeIngredient\": [\"1 \u00bd cups "
               "cr\u00e8me fra\u00eeche\", \"\u2153 cup sugar \u2014 fine\"], "
               "\"recipeInstructions\": \"Bake at 150\u00b0C; 1\u00a0h.\""_s
            << u"Crème brûlée"_s << u"Crème brûlée"_s;
    }
    void importAllSavesWhatSaveWould() {
        QFETCH(QString, recipe);
        QFETCH(QString, listed);
        QFETCH(QString, saved);
        const QString file =
            u"{\"@graph\": [{\"@type\": \"Recipe\", %1}, {\"@type\": \"Recipe\", \"name\": "
            "\"Other\", \"recipeIngredient\": [\"1 pea\"]}]}"_s.arg(recipe);
        QVERIFY(on_->bench.app.write(u"two.json"_s, file.toUtf8()));
        const QString path = u"Category/Pies/"_s + saved;
        on_->road.walk(imported(u"two.json"_s) +
                       u"on frmPick; click lswPRecipe=%1; click cmdPImport; "
                       "on frmIngred; click cmdISave"_s.arg(listed));
        const QByteArray savedByHand = on_->bench.app.read(path);
        QVERIFY(QFile::remove(on_->bench.app.file(path)));
        on_->road.walk(imported(u"two.json"_s) +
                       u"on frmPick; click cmdPAll; settle; "
                       "? tree Category/Pies=%1|Other"_s.arg(saved));
        QCOMPARE(on_->bench.app.read(path), savedByHand);
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

        // The pick window's filter: part of a name, any case, no accents needed; the arrow
        // keys and Enter work from the box.
        const QString four =
            u"mmf four.mmf=Crème brûlée|Chicken soup|Beef stew|Cream of chicken; "_s +
            imported(u"four.mmf"_s) + u"on frmPick; ? focus=txtPFind; "_s;
        QTest::newRow("filter by part of a name")
            << four +
                   u"type txtPFind=CHICK; ? listed lswPRecipe=Chicken soup|Cream of chicken; "
                   "type txtPFind= soup; ? listed lswPRecipe=Chicken soup; "
                   "set txtPFind=creme; ? listed lswPRecipe=Crème brûlée; "
                   "set txtPFind=zzz; ? listed lswPRecipe=; ? enabled cmdPImport=0; "
                   "set txtPFind=; ? listed lswPRecipe=Crème brûlée|Chicken soup|Beef stew|Cream "
                   "of chicken; ? enabled cmdPImport=1; ? current lswPRecipe=Crème brûlée"_s
            << QString();
        QTest::newRow("filter, arrow keys and Enter")
            << four +
                   u"type txtPFind=B; ? listed lswPRecipe=Crème brûlée|Beef stew; "
                   "key txtPFind=Down; ? current lswPRecipe=Beef stew; ? focus=txtPFind; "
                   "type txtPFind=e; ? listed lswPRecipe=Beef stew; ? current lswPRecipe=Beef "
                   "stew; "
                   "key txtPFind=Return; ? windows=frmIngred; on frmIngred; "
                   "? text txtIName txtIN1=Beef stew|Flour; ? tree Category/Pies="_s
            << QString();
        QTest::newRow("the picked recipe stays picked while listed")
            << four +
                   u"click lswPRecipe=Cream of chicken; type txtPFind=chicken; "
                   "? current lswPRecipe=Cream of chicken; set txtPFind=beef; "
                   "? current lswPRecipe=Beef stew; click cmdPCancel; ? windows=frmIngred"_s
            << QString();
        // With no category chosen, Import all takes the categories the file names, or none.
        QTest::newRow("no category chosen")
            << u"mmf two.mmf=Stew|Soup; write Category/category.txt=; "
               "open frmIngred; import two.mmf; menu SMXPI=keyImport; settle; on frmPick; "
               "? enabled cmdPAll=0; ? visible chkPOwn=1; ? text lblPAll=To import them all, "
               "choose a category on the recipe entry screen first.; click chkPOwn; "
               "? enabled cmdPAll=1; click cmdPAll; settle; "
               "? file Category/category.txt=Test\r\n; ? tree Category/Test=Soup|Stew"_s
            << QString();

        // A pipe or a device is told at once, without opening it.
        QTest::newRow("a named pipe")
            << u"fifo pipe.mmf; snap; open frmIngred; set txtIN1=kept; import pipe.mmf; "
               "menu SMXPI=keyImport; ? windows=frmIngred; "_s +
                   keptNothing
            << userError +
                   u"\"pipe.mmf\" is not a recipe file: it is a device, a pipe or a socket."_s;

        // A read that takes a while shows the progress window; Cancel drops it, the boxes
        // keep what they held and nothing is told.
        QTest::newRow("reading cancelled")
            << u"mmf two.mmf=Stew|Soup; hold; open frmIngred; set txtIN1=kept; import two.mmf; "
               "menu SMXPI=keyImport; shows frmProgress; on frmProgress; "
               "? text lblGMsg=Reading \"two.mmf\"...; ? focus=cmdGCancel; click cmdGCancel; "
               "? enabled cmdGCancel=0; release; settle; ? windows=frmIngred; on frmIngred; "
               "? text txtIN1=kept; ? busy=0"_s
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
               "control characters, and cannot start with \".\".\r\n"
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
