// Scaling a recipe on the browser, the meal plan window and the shopping list
// merged from it, walked as a user does.
#include "folderwatcher.h"
#include "mealplanwindow.h"
#include "recipebrowserwindow.h"
#include "road.h"
#include "scalewindow.h"
#include "shoppinglistwindow.h"
#include "storetest.h"
#include "today.h"

#include <QSpinBox>
#include <QTreeWidget>
#include <QtTest>

#include <optional>

using namespace pv;
using namespace Qt::StringLiterals;

namespace {

const QByteArray kStew = test::record({{1, "2"},
                                       {2, "1 1/2"},
                                       {4, "1/3"},
                                       {11, "cups"},
                                       {12, "lb"},
                                       {14, "cup"},
                                       {21, "flour"},
                                       {22, "beef"},
                                       {23, "Salt to taste"},
                                       {24, "red wine"},
                                       {33, "4"}});
const QByteArray kPie = test::record({{1, "1"},
                                      {2, "2"},
                                      {11, "cup"},
                                      {13, "pinch"},
                                      {21, "flour"},
                                      {22, "eggs"},
                                      {23, "salt"},
                                      {33, "6"}});

// A week of two dinners, on show.
const QString kStewAndPie =
    u"write Meal Plan/2026-W50.txt=\"2026-12-07\",\"Dinners\",\"Stew\",\"4\"\r\n"
    u"\"2026-12-08\",\"Dinners\",\"Pie\",\"6\"\r\n; open frmPlan; "_s;
const QByteArray kBread =
    test::record({{1, "3"}, {2, "1"}, {11, "c"}, {12, "tsp"}, {21, "Flour"}, {22, "salt"}});

}  // namespace

class MealPlanWindowTest : public QObject {
    Q_OBJECT

    std::optional<test::RoadBench> on_;
    std::optional<test::PdfPrinter> printer_;
    QString pdf_;

    MealPlanWindow* plan() const { return windows().loadedAs<MealPlanWindow>(WindowId::MealPlan); }

    // "planned": each planned recipe as "day/recipe/servings/category", by '|'; "days": each
    // day, ticked '+' or not '-'.
    QString probe(const QString& probe) const {
        if (probe == u"planned"_s || probe == u"days"_s) {
            auto* tree = test::control<QTreeWidget>(plan(), u"lswMDays"_s);
            QStringList rows;
            for (int i = 0; i < tree->topLevelItemCount(); ++i) {
                const QTreeWidgetItem* day = tree->topLevelItem(i);
                if (probe == u"days"_s) {
                    rows << (day->checkState(0) == Qt::Checked ? u"+"_s : u"-"_s) + day->text(0);
                }
                for (int c = 0; c < day->childCount() && probe == u"planned"_s; ++c) {
                    const QTreeWidgetItem* item = day->child(c);
                    rows << QStringList{day->text(0), item->text(0), item->text(1), item->text(2)}
                                .join(u'/');
                }
            }
            return rows.isEmpty() ? u""_s : rows.join(u'|');  // empty, not null
        }
        return QString();
    }
    // "choose lswMDays=recipe": that planned recipe made current; "spin NAME=n": a spin
    // box's value; "tick lswMDays=n": the check box of day n (0 Monday) clicked by Space;
    // "active NAME": that window becomes active (made so, as the desktop does when the
    // window above it goes) and its Activate handlers run; "plan DAY=category|recipe|n": a
    // recipe planned through the store, as another copy of the program does; "settle": the
    // changes on disk seen and gathered.
    std::optional<bool> step(const QString& verb, const QString& name, const QString& text) {
        if (verb == u"plan"_s) {
            const QDate day = QDate::fromString(name, Qt::ISODate);
            const QStringList fields = text.split(u'|');
            store::Store store(on_->bench.app.path());
            auto week = store.openMealPlan(day);
            if (!week || fields.size() != 3) {
                return false;
            }
            week.value().recipes.append({day, fields[0], fields[1], fields[2].toInt()});
            return bool(store.saveMealPlan(day, week.value()));
        }
        if (verb == u"settle"_s) {
            QTest::qWait(FolderWatcher::kGatherMs + 200);
            QCoreApplication::processEvents();
            return true;
        }
        if (verb == u"choose"_s) {
            auto* tree = test::control<QTreeWidget>(plan(), name);
            const QList<QTreeWidgetItem*> found =
                tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
            if (found.isEmpty()) {
                return false;
            }
            tree->setFocus();
            tree->setCurrentItem(found.first());
            return true;
        }
        if (verb == u"spin"_s) {
            for (int id = 0; id < kWindowCount; ++id) {
                if (auto* box = windows().loaded(WindowId(id))
                                    ? windows().loaded(WindowId(id))->findChild<QSpinBox*>(name)
                                    : nullptr) {
                    box->setValue(text.toInt());
                    return true;
                }
            }
            return false;
        }
        if (verb == u"tick"_s) {
            auto* tree = test::control<QTreeWidget>(plan(), name);
            tree->setFocus();
            tree->setCurrentItem(tree->topLevelItem(text.toInt()));
            QTest::keyClick(tree, Qt::Key_Space);
            return true;
        }
        if (verb == u"active"_s) {
            QWidget* window = nullptr;
            for (int id = 0; id < kWindowCount; ++id) {
                window =
                    objectNameOf(WindowId(id)) == name ? windows().loaded(WindowId(id)) : window;
            }
            if (window && !window->isActiveWindow()) {
                window->activateWindow();  // as the desktop does when the window above goes
            }
            const bool active =
                QTest::qWaitFor([window] { return window && window->isActiveWindow(); });
            QCoreApplication::processEvents();
            return active;
        }
        return std::nullopt;
    }

private slots:
    void init() {
        setToday(QDate(2026, 12, 9));
        on_.emplace(QList{test::screen<MealPlanWindow>(WindowId::MealPlan),
                          test::screen<RecipeBrowserWindow>(WindowId::RecipeBrowser),
                          test::screen<ShoppingListWindow>(WindowId::ShoppingList),
                          test::screen<ScaleWindow>(WindowId::Scale)});
        on_->road.probe = [this](const QString& p) { return probe(p); };
        on_->road.step = [this](const QString& verb, const QString& name, const QString& text) {
            return step(verb, name, text);
        };
        test::TempAppFolder& app = on_->bench.app;
        pdf_ = app.file(u"printout.pdf"_s);
        printer_.emplace(pdf_);
        QVERIFY(app.write(u"Category/category.txt"_s, "Dinners\r\nBaking\r\n"));
        QVERIFY(app.write(u"Category/Dinners/Stew"_s, kStew));
        QVERIFY(app.write(u"Category/Dinners/Pie"_s, kPie));
        QVERIFY(app.write(u"Category/Baking/Bread"_s, kBread));
    }
    void cleanup() {
        on_.reset();
        printer_.reset();
        setToday({});
    }

    void scaling_data() {
        QTest::addColumn<QString>("road");
        const QString stew = u"open frmRecipe; pick cboRCat=Dinners; click lswRFile=Stew; "_s;
        const QString amounts = u"? text txtRA1 txtRA2 txtRA3 txtRA4 txtRSize lblRScale="_s;
        // Typed into the small window, Enter confirms; the file stays as it was.
        QTest::newRow("for 6, written for 4")
            << stew +
                   u"menu SMXPR=keyScale; active frmScale; on frmScale; ? focus=spnScServ; "
                   u"? text spnScServ=4; type spnScServ=6; key spnScServ=Return; "
                   u"? windows=frmRecipe; on frmRecipe; active frmRecipe; ? enabled chkRDel=1; "_s +
                   amounts +
                   u"3|2 1/4||1/2|6|for 6 servings, written for 4; "
                   u"? text txtRT1 txtRI3=cups|Salt to taste; ? file "
                   u"Category/Dinners/Stew="_s +
                   QString::fromLatin1(kStew);
        // By 3, then back by a third: what was written, and nothing said.
        QTest::newRow("there and back")
            << stew +
                   u"menu SMXPR=keyScale; on frmScale; type spnScServ=12; click cmdScOK; "
                   u"on frmRecipe; "_s +
                   amounts +
                   u"6|4 1/2||1|12|for 12 servings, written for 4; "
                   u"menu SMXPR=keyScale; on frmScale; ? text spnScServ=12; "
                   u"type spnScServ=4; click cmdScOK; on frmRecipe; "_s +
                   amounts + u"2|1 1/2||1/3|4|"_s;
        QTest::newRow("another recipe comes as written")
            << stew +
                   u"menu SMXPR=keyScale; on frmScale; type spnScServ=2; click cmdScOK; "
                   u"on frmRecipe; "_s +
                   amounts +
                   u"1|3/4||0.17|2|for 2 servings, written for 4; "
                   u"click lswRFile=Pie; "_s +
                   amounts + u"1|2|||6|; click lswRFile=Stew; "_s + amounts + u"2|1 1/2||1/3|4|"_s;
        QTest::newRow("no serving size: taken as 1")
            << u"open frmRecipe; pick cboRCat=Baking; click lswRFile=Bread; menu SMXPR=keyScale; "
               u"on frmScale; ? text spnScServ=1; type spnScServ=2; key spnScServ=Return; "
               u"on frmRecipe; ? text txtRA1 txtRA2 txtRSize lblRScale=6|2|2|for 2 "
               u"servings, written for 1"_s;
        QTest::newRow("cancelled, and nothing on display")
            << stew +
                   u"menu SMXPR=keyScale; on frmScale; type spnScServ=8; key spnScServ=Escape; "
                   u"? windows=frmRecipe; on frmRecipe; "_s +
                   amounts +
                   u"2|1 1/2||1/3|4|; click cmdRNew; menu SMXPR=keyScale; ? shown=User "
                   u"error|4144|Please click a recipe in the 'Files' box first.; "
                   u"? windows=frmRecipe; ? text lblRScale="_s;
    }
    void scaling() {
        QFETCH(QString, road);
        on_->road.walk(road);
    }

    // Add to shopping list and Print take what is shown.
    void listsAndPrintsWhatIsShown() {
        on_->road.walk(
            u"open frmRecipe; pick cboRCat=Dinners; click lswRFile=Stew; menu SMXPR=keyScale; "
            u"on frmScale; type spnScServ=8; click cmdScOK; on frmRecipe; "
            u"menu SMXPR=keyAddToList; on frmShop; ? text txtHList=4 cups flour\r\n3 lb beef\r\n"
            u"Salt to taste\r\n2/3 cup red wine\r\n; on frmRecipe; click cmdRPrint"_s);
        const QString text = test::pdfText(pdf_);
        for (const QString& line : {u"Stew Size: 8 "_s, u"\n4 cups flour\n"_s, u"\n3 lb beef\n"_s,
                                    u"\n2/3 cup red wine\n"_s}) {
            QVERIFY2(text.contains(line), qPrintable(text));
        }
    }

    void planning_data() {
        QTest::addColumn<QString>("road");
        const QString add =
            u"pick cboMDay=%1; pick cboMCat=%2; pick cboMRecipe=%3; "
            u"spin spnMServ=%4; click cmdMAdd; "_s;
        // Three dinners, one at double servings; the flour of all three on one line.
        QTest::newRow("three dinners, one shopping list")
            << u"open frmShop; type txtHList=milk; open frmPlan; "
               u"? text lblMWeek=Week 50: 7 December to 13 December 2026; "
               u"? days=+Monday 7 December|+Tuesday 8 December|+Wednesday 9 December (today)|"
               u"+Thursday 10 December|+Friday 11 December|+Saturday 12 December|"
               u"+Sunday 13 December; "_s +
                   add.arg(u"Wednesday 9 December"_s, u"Dinners"_s, u"Pie"_s, u"6"_s) +
                   add.arg(u"Monday 7 December"_s, u"Dinners"_s, u"Stew"_s, u"8"_s) +
                   add.arg(u"Friday 11 December"_s, u"Baking"_s, u"Bread"_s, u"1"_s) +
                   u"? planned=Monday 7 December/Stew/8/Dinners|Wednesday 9 December (today)/Pie/"
                   u"6/Dinners|Friday 11 December/Bread/1/Baking; "
                   u"? file Meal Plan/2026-W50.txt=\"2026-12-07\",\"Dinners\",\"Stew\",\"8\"\r\n"
                   u"\"2026-12-09\",\"Dinners\",\"Pie\",\"6\"\r\n"
                   u"\"2026-12-11\",\"Baking\",\"Bread\",\"1\"\r\n; "
                   u"click cmdMList; ? windows=frmShop|frmPlan; on frmShop; "
                   u"? text txtHList=milk\r\n8 cups flour\r\n3 lb beef\r\nSalt to taste\r\n"
                   u"2/3 cup red wine\r\n2 eggs\r\npinch salt\r\n1 tsp salt\r\n; "
                   u"? enabled txtHName=1; ? file Category/Dinners/Stew="_s +
                   QString::fromLatin1(kStew) +
                   u"; ? tree Shopping List=; key txtHList=Ctrl+Z; ? text txtHList=milk"_s;
        QTest::newRow("days picked, servings changed, one removed")
            << u"write Meal Plan/2026-W50.txt=\"2026-12-07\",\"Dinners\",\"Stew\",\"4\"\r\n"
               u"\"2026-12-08\",\"Dinners\",\"Pie\",\"6\"\r\n; open frmPlan; "
               u"tick lswMDays=0; ? days=-Monday 7 December|+Tuesday 8 December|"
               u"+Wednesday 9 December (today)|+Thursday 10 December|+Friday 11 December|"
               u"+Saturday 12 December|+Sunday 13 December; "
               u"choose lswMDays=Pie; ? text spnMChange=6; spin spnMChange=3; click cmdMChange; "
               u"? planned=Monday 7 December/Stew/4/Dinners|Tuesday 8 December/Pie/3/Dinners; "
               u"click cmdMList; on frmShop; ? text txtHList=1/2 cup flour\r\n1 eggs\r\n"
               u"pinch salt\r\n; on frmPlan; choose lswMDays=Stew; key lswMDays=Delete; "
               u"? planned=Tuesday 8 December/Pie/3/Dinners; ? file Meal Plan/2026-W50.txt="
               u"\"2026-12-08\",\"Dinners\",\"Pie\",\"3\"\r\n; choose lswMDays=Pie; "
               u"click cmdMRemove; ? planned=; ? tree Meal Plan=; "
               u"tick lswMDays=1; tick lswMDays=2; tick lswMDays=3; tick lswMDays=4; "
               u"tick lswMDays=5; tick lswMDays=6; click cmdMList; ? shown=User error|4144|"
               u"Please tick the days to shop for."_s;
        // Deleted since it was planned: marked, kept, left off the list with a word.
        QTest::newRow("a deleted recipe")
            << u"write Meal Plan/2026-W50.txt=\"2026-12-10\",\"Dinners\",\"Gone\",\"2\"\r\n"
               u"\"2026-12-10\",\"Dinners\",\"Pie\",\"6\"\r\n; open frmPlan; "
               u"? planned=Thursday 10 December/Gone (missing)/2/Dinners|Thursday 10 December/"
               u"Pie/6/Dinners; click cmdMList; ? shown=Pantrova|48|These planned recipes "
               u"cannot be read and are not on the shopping list:\r\nGone (Dinners); on frmShop; "
               u"? text txtHList=1 cup flour\r\n2 eggs\r\npinch salt\r\n; on frmPlan; "
               u"choose lswMDays=Gone (missing); key lswMDays=Return; ? shown=User error|4144|"
               u"The recipe \"Gone\" is no longer in the category \"Dinners\".; "
               u"? file Meal Plan/2026-W50.txt=\"2026-12-10\",\"Dinners\",\"Gone\",\"2\"\r\n"
               u"\"2026-12-10\",\"Dinners\",\"Pie\",\"6\"\r\n"_s;
        QTest::newRow("shown in the browser as Find does")
            << u"write Meal Plan/2026-W50.txt=\"2026-12-12\",\"Dinners\",\"Stew\",\"8\"\r\n; "
               u"open frmPlan; choose lswMDays=Stew; key lswMDays=Return; active frmRecipe; "
               u"on frmRecipe; ? text cboRCat txtRName txtRA1 lblRScale=Dinners|Stew|2|; "
               u"? enabled chkRDel=1"_s;
        // A plan written elsewhere names them in other letters; the store finds them all the same.
        QTest::newRow("shown in the browser, names in other letters")
            << u"write Meal Plan/2026-W50.txt=\"2026-12-12\",\"DINNERS\",\"stew\",\"8\"\r\n; "
               u"open frmPlan; ? planned=Saturday 12 December/stew/8/DINNERS; "
               u"choose lswMDays=stew; key lswMDays=Return; active frmRecipe; on frmRecipe; "
               u"? text cboRCat txtRName txtRA1=Dinners|Stew|2"_s;
        QTest::newRow("from the browser, at the servings on display")
            << u"open frmRecipe; pick cboRCat=Dinners; click lswRFile=Stew; menu SMXPR=keyScale; "
               u"on frmScale; type spnScServ=10; click cmdScOK; on frmRecipe; "
               u"menu SMXPR=keyAddToPlan; ? windows=frmRecipe|frmPlan; active frmPlan; on frmPlan; "
               u"? focus=cboMDay; ? text cboMDay cboMCat cboMRecipe spnMServ=Wednesday 9 "
               u"December|Dinners|Stew|10; pick cboMDay=Saturday 12 December; click cmdMAdd; "
               u"? file Meal Plan/2026-W50.txt=\"2026-12-12\",\"Dinners\",\"Stew\",\"10\"\r\n"_s;
        // Another week: its own file; the weeks around it are left alone.
        QTest::newRow("weeks")
            << u"open frmPlan; click cmdMNext; ? text lblMWeek=Week 51: 14 December to 20 "
               u"December 2026; "_s +
                   add.arg(u"Sunday 20 December"_s, u"Dinners"_s, u"Pie"_s, u"2"_s) +
                   u"click cmdMPrev; click cmdMPrev; ? text lblMWeek=Week 49: 30 November to 6 "
                   u"December 2026; ? planned=; click cmdMToday; ? planned=; click cmdMNext; "
                   u"? planned=Sunday 20 December/Pie/2/Dinners; ? tree Meal Plan=2026-W51.txt"_s;
        QTest::newRow("servings start at the recipe's own")
            << u"open frmPlan; pick cboMCat=Dinners; ? text cboMRecipe spnMServ=Pie|6; "
               u"pick cboMRecipe=Stew; ? text spnMServ=4; pick cboMCat=Baking; "
               u"? text cboMRecipe spnMServ=Bread|1"_s;
        QTest::newRow("shown again, the recipes as they are now")
            << u"open frmPlan; pick cboMCat=Dinners; pick cboMRecipe=Stew; spin spnMServ=9; "
               u"hide frmPlan; write Category/Dinners/Soup="_s +
                   QString::fromLatin1(test::record({{21, "leeks"}})) +
                   u"; open frmPlan; ? listed cboMRecipe=Pie|Soup|Stew; "
                   u"? text cboMCat cboMRecipe spnMServ=Dinners|Stew|9"_s;
        QTest::newRow("nothing picked")
            << u"open frmPlan; click cmdMAdd; ? shown=User error|4144|Please pick a category "
               u"and a recipe to add.; click cmdMList; ? shown=User error|4144|Nothing is "
               u"planned on the days ticked.; ? enabled cmdMRemove cmdMChange cmdMShow=000; "
               u"? tree Meal Plan=<missing>"_s;
        // Lines it cannot read are told, kept, and written back after the plan.
        QTest::newRow("a damaged file")
            << u"write Meal Plan/2026-W50.txt=\"2026-12-07\",\"Dinners\",\"Stew\",\"x\"\r\n"
               u"\"2026-12-07\",\"Dinners\",\"Pie\",\"2\"\r\n; open frmPlan; "
               u"? shown=Pantrova|48|1 line of the meal plan file \"Meal Plan/2026-W50.txt\" "
               u"cannot be read as planned recipes. They are kept in the file as they are.; "
               u"? planned=Monday 7 December/Pie/2/Dinners; "_s +
                   add.arg(u"Monday 7 December"_s, u"Baking"_s, u"Bread"_s, u"3"_s) +
                   u"? file Meal Plan/2026-W50.txt=\"2026-12-07\",\"Dinners\",\"Pie\",\"2\"\r\n"
                   u"\"2026-12-07\",\"Baking\",\"Bread\",\"3\"\r\n"
                   u"\"2026-12-07\",\"Dinners\",\"Stew\",\"x\"\r\n"_s;
        // A file where the plan's folder belongs: told, and the plan stays as it was.
        QTest::newRow("a week that cannot be written")
            << u"open frmPlan; write Meal Plan=x; "_s +
                   add.arg(u"Monday 7 December"_s, u"Baking"_s, u"Bread"_s, u"3"_s) +
                   u"? shown=Pantrova|48|The meal plan file \"Meal Plan/2026-W50.txt\" could not "
                   u"be written (Path not found). The plan is as it was.; ? planned=; "
                   u"? file Meal Plan=x"_s;
        // A folder where the week's file belongs: it cannot be read, so nothing is written.
        QTest::newRow("a week that cannot be read")
            << u"open frmPlan; mkdir Meal Plan/2026-W50.txt; "_s +
                   add.arg(u"Monday 7 December"_s, u"Baking"_s, u"Bread"_s, u"3"_s) +
                   u"? shown=Pantrova|48|The meal plan file \"Meal Plan/2026-W50.txt\" cannot "
                   u"be read (Path/File access error). The week is shown empty and cannot be "
                   u"changed until the file can be read.; ? planned=; "
                   u"? tree Meal Plan=2026-W50.txt/"_s;
    }
    void planning() {
        QFETCH(QString, road);
        on_->road.walk(road);
    }

    // The week's file changed by another machine (a sync tool writes its bytes) or another
    // copy of the program (through the store) since the window showed it: a change made in
    // the window keeps theirs.
    void changesKeepWhatOthersWrote_data() {
        QTest::addColumn<QString>("road");
        QTest::newRow("planned elsewhere, one added here")
            << u"write Meal Plan/2026-W50.txt=\"2026-12-07\",\"Dinners\",\"Stew\",\"4\"\r\n; "
               u"open frmPlan; write Meal Plan/2026-W50.txt=\"2026-12-07\",\"Dinners\",\"Stew\","
               u"\"4\"\r\n\"2026-12-08\",\"Dinners\",\"Pie\",\"6\"\r\n; pick cboMDay=Friday 11 "
               u"December; pick cboMCat=Baking; pick cboMRecipe=Bread; spin spnMServ=2; "
               u"click cmdMAdd; ? file Meal Plan/2026-W50.txt=\"2026-12-07\",\"Dinners\","
               u"\"Stew\",\"4\"\r\n\"2026-12-08\",\"Dinners\",\"Pie\",\"6\"\r\n"
               u"\"2026-12-11\",\"Baking\",\"Bread\",\"2\"\r\n; ? planned=Monday 7 December/Stew/"
               u"4/Dinners|Tuesday 8 December/Pie/6/Dinners|Friday 11 December/Bread/2/Baking; "
               u"? current lswMDays=Bread"_s;
        QTest::newRow("planned by another copy, one removed here")
            << kStewAndPie +
                   u"plan 2026-12-10=Baking|Bread|2; choose lswMDays=Stew; click cmdMRemove; "
                   u"? file Meal Plan/2026-W50.txt=\"2026-12-08\",\"Dinners\",\"Pie\",\"6\"\r\n"
                   u"\"2026-12-10\",\"Baking\",\"Bread\",\"2\"\r\n; ? current lswMDays=Monday 7 "
                   u"December"_s;
        QTest::newRow("servings changed elsewhere, another's changed here")
            << kStewAndPie +
                   u"write Meal Plan/2026-W50.txt=\"2026-12-07\",\"Dinners\",\"Stew\",\"4\"\r\n"
                   u"\"2026-12-08\",\"Dinners\",\"Pie\",\"2\"\r\n\"2026-12-09\",\"Baking\","
                   u"\"Bread\",\"1\"\r\n; choose lswMDays=Stew; spin spnMChange=8; "
                   u"click cmdMChange; ? file Meal Plan/2026-W50.txt=\"2026-12-07\",\"Dinners\","
                   u"\"Stew\",\"8\"\r\n\"2026-12-08\",\"Dinners\",\"Pie\",\"2\"\r\n"
                   u"\"2026-12-09\",\"Baking\",\"Bread\",\"1\"\r\n; ? current lswMDays=Stew; "
                   u"? text spnMChange=8"_s;
        // Gone from the file meanwhile: its servings cannot change, and nothing is written.
        QTest::newRow("removed elsewhere, its servings changed here")
            << kStewAndPie +
                   u"write Meal Plan/2026-W50.txt=\"2026-12-08\",\"Dinners\",\"Pie\",\"6\"\r\n; "
                   u"choose lswMDays=Stew; spin spnMChange=8; click cmdMChange; ? shown=User "
                   u"error|4144|The recipe \"Stew\" is no longer planned for Monday 7 December: "
                   u"the plan was changed elsewhere meanwhile.; ? planned=Tuesday 8 December/Pie/"
                   u"6/Dinners; ? file Meal Plan/2026-W50.txt=\"2026-12-08\",\"Dinners\",\"Pie\","
                   u"\"6\"\r\n"_s;
        QTest::newRow("removed elsewhere, removed here")
            << kStewAndPie +
                   u"write Meal Plan/2026-W50.txt=\"2026-12-08\",\"Dinners\",\"Pie\",\"3\"\r\n; "
                   u"choose lswMDays=Stew; key lswMDays=Delete; ? shown=; ? planned=Tuesday 8 "
                   u"December/Pie/3/Dinners; ? file Meal Plan/2026-W50.txt=\"2026-12-08\","
                   u"\"Dinners\",\"Pie\",\"3\"\r\n"_s;
        QTest::newRow("the week's file gone elsewhere, one added here")
            << kStewAndPie +
                   u"remove Meal Plan/2026-W50.txt; pick cboMDay=Sunday 13 December; "
                   u"pick cboMCat=Baking; click cmdMAdd; ? planned=Sunday 13 December/Bread/1/"
                   u"Baking; ? file Meal Plan/2026-W50.txt=\"2026-12-13\",\"Baking\",\"Bread\","
                   u"\"1\"\r\n"_s;
    }
    void changesKeepWhatOthersWrote() {
        QFETCH(QString, road);
        on_->road.walk(road);
    }

    // While shown, the week follows its file and the planned recipes' files; what was
    // picked stays picked where it still is, and nothing is told.
    void followsTheDisk_data() {
        QTest::addColumn<QString>("road");
        QTest::newRow("the week's file changes")
            << kStewAndPie +
                   u"choose lswMDays=Pie; write Meal Plan/2026-W50.txt=\"2026-12-08\",\"Baking\","
                   u"\"Bread\",\"1\"\r\n\"2026-12-07\",\"Dinners\",\"Stew\",\"4\"\r\n"
                   u"\"2026-12-08\",\"Dinners\",\"Pie\",\"6\"\r\n; settle; ? planned=Monday 7 "
                   u"December/Stew/4/Dinners|Tuesday 8 December/Bread/1/Baking|Tuesday 8 December/"
                   u"Pie/6/Dinners; ? current lswMDays=Pie; ? enabled cmdMRemove=1"_s;
        QTest::newRow("the servings typed stay")
            << kStewAndPie +
                   u"choose lswMDays=Stew; spin spnMChange=9; plan 2026-12-13=Baking|Bread|2; "
                   u"settle; ? planned=Monday 7 December/Stew/4/Dinners|Tuesday 8 December/Pie/6/"
                   u"Dinners|Sunday 13 December/Bread/2/Baking; ? current lswMDays=Stew; "
                   u"? text spnMChange=9"_s;
        QTest::newRow("the picked one goes, its day stays picked")
            << kStewAndPie +
                   u"choose lswMDays=Stew; write Meal Plan/2026-W50.txt=\"2026-12-08\","
                   u"\"Dinners\",\"Pie\",\"6\"\r\n; settle; ? planned=Tuesday 8 December/Pie/6/"
                   u"Dinners; ? current lswMDays=Monday 7 December; ? enabled cmdMRemove=0"_s;
        QTest::newRow("the week's file goes")
            << kStewAndPie +
                   u"choose lswMDays=Pie; remove Meal Plan/2026-W50.txt; settle; ? planned=; "
                   u"? current lswMDays=Tuesday 8 December"_s;
        // Neither the folder nor the file were there when the week was shown.
        QTest::newRow("the week's file comes")
            << u"open frmPlan; ? tree Meal Plan=<missing>; write Meal Plan/2026-W50.txt="
               u"\"2026-12-10\",\"Dinners\",\"Pie\",\"2\"\r\n; settle; ? planned=Thursday 10 "
               u"December/Pie/2/Dinners; ? current lswMDays=Wednesday 9 December (today)"_s;
        QTest::newRow("a planned recipe deleted and restored")
            << kStewAndPie +
                   u"choose lswMDays=Pie; remove Category/Dinners/Pie; settle; ? planned=Monday 7 "
                   u"December/Stew/4/Dinners|Tuesday 8 December/Pie (missing)/6/Dinners; "
                   u"? current lswMDays=Pie (missing); write Category/Dinners/Pie=x; settle; "
                   u"? planned=Monday 7 December/Stew/4/Dinners|Tuesday 8 December/Pie/6/Dinners; "
                   u"? current lswMDays=Pie"_s;
        QTest::newRow("another week's file is not this one's")
            << kStewAndPie +
                   u"write Meal Plan/2026-W51.txt=\"2026-12-14\",\"Dinners\",\"Pie\",\"2\"\r\n; "
                   u"settle; ? planned=Monday 7 December/Stew/4/Dinners|Tuesday 8 December/Pie/6/"
                   u"Dinners; click cmdMNext; ? planned=Monday 14 December/Pie/2/Dinners"_s;
        QTest::newRow("the pickers follow")
            << u"open frmPlan; pick cboMCat=Dinners; pick cboMRecipe=Stew; spin spnMServ=7; "
               u"write Category/Dinners/Apple=x; mkdir Category/Pies; write Category/category.txt="
               u"Dinners\r\nBaking\r\nPies\r\n; settle; ? listed cboMCat=Dinners|Baking|Pies; "
               u"? listed cboMRecipe=Apple|Pie|Stew; ? text cboMCat cboMRecipe spnMServ="
               u"Dinners|Stew|7; remove Category/Dinners/Stew; settle; ? listed cboMRecipe="
               u"Apple|Pie; ? text cboMRecipe="_s;
    }
    void followsTheDisk() {
        QFETCH(QString, road);
        on_->road.walk(road);
        on_->road.walk(u"? shown="_s);
    }

    // The week's printout, read back from the PDF; a recipe gone since is marked.
    void printsTheWeek() {
        QVERIFY(on_->bench.app.write(u"Meal Plan/2026-W50.txt"_s,
                                     "\"2026-12-07\",\"Dinners\",\"Stew\",\"8\"\r\n"
                                     "\"2026-12-07\",\"Baking\",\"Bread\",\"1\"\r\n"
                                     "\"2026-12-11\",\"Dinners\",\"Gone\",\"2\"\r\n"));
        on_->road.walk(u"open frmPlan; click cmdMPrint"_s);
        QCOMPARE(printer_->dialogsShown, 1);
        const QStringList lines = test::pdfText(pdf_).split(u'\n');
        QStringList printed;
        for (const QString& line : lines) {
            if (!line.trimmed().isEmpty()) {
                printed << line.trimmed();
            }
        }
        QCOMPARE(printed,
                 QStringList({u"Meal plan, Week 50: 7 December to 13 December 2026"_s,
                              u"Monday 7 December"_s, u"Stew (Dinners), 8 servings"_s,
                              u"Bread (Baking), 1 serving"_s, u"Tuesday 8 December"_s,
                              u"Wednesday 9 December"_s, u"Thursday 10 December"_s,
                              u"Friday 11 December"_s, u"Gone (Dinners), 2 servings, missing"_s,
                              u"Saturday 12 December"_s, u"Sunday 13 December"_s}));
        // Cancelled in the dialog: nothing printed.
        QVERIFY(QFile::remove(pdf_));
        printer_->answers = {false};
        on_->road.walk(u"on frmPlan; click cmdMPrint"_s);
        QVERIFY(!QFile::exists(pdf_));
    }

    // A week longer than a page: every line printed once, in order, on the pages after.
    void printsALongWeek() {
        QByteArray plan;
        for (int n = 1; n <= 90; ++n) {
            plan += "\"2026-12-07\",\"Dinners\",\"Stew\",\"" + QByteArray::number(n) + "\"\r\n";
        }
        plan += "\"2026-12-13\",\"Dinners\",\"Pie\",\"2\"\r\n";
        QVERIFY(on_->bench.app.write(u"Meal Plan/2026-W50.txt"_s, plan));
        on_->road.walk(u"open frmPlan; click cmdMPrint"_s);
        int pages = 0;
        const QList<test::PrintedWord> words = test::printedWords(pdf_, &pages);
        QVERIFY(pages >= 2);
        QList<int> servings;
        for (int i = 1; i < words.size(); ++i) {
            if (words[i - 1].text == u"(Dinners),"_s) {
                servings << words[i].text.toInt();
            }
        }
        QList<int> expected;
        for (int n = 1; n <= 90; ++n) {
            expected << n;
        }
        QCOMPARE(servings, expected << 2);
        QCOMPARE(words.last().text, u"servings"_s);
        QCOMPARE(words.last().page, pages);
    }
};

QTEST_MAIN(MealPlanWindowTest)
#include "tst_mealplanwindow.moc"
