#include "findwindow.h"
#include "recipebrowserwindow.h"
#include "recipefinder.h"
#include "road.h"
#include "storetest.h"

#include <QTreeWidget>
#include <QtTest>

#include <optional>

using namespace pv;
using namespace Qt::StringLiterals;

class FindWindowTest : public QObject {
    Q_OBJECT

    std::optional<test::RoadBench> on_;

    FindWindow* find() const { return windows().loadedAs<FindWindow>(WindowId::Find); }
    // "found": every match listed, "recipe / category / line" by '|'.
    QString found(const QString& probe) const {
        if (probe != u"found"_s) {
            return QString();
        }
        auto* matches = test::control<QTreeWidget>(find(), u"lswFMatch"_s);
        QStringList rows;
        for (int i = 0; i < matches->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = matches->topLevelItem(i);
            rows << item->text(0) + u" / "_s + item->text(1) + u" / "_s + item->text(2);
        }
        return rows.isEmpty() ? u""_s : rows.join(u'|');  // empty, not null
    }
    // "wait": the workers finish and all they sent arrives; "active NAME": that window
    // becomes active and its Activate handlers run.
    void wait(const QString& verb, const QString& name) const {
        if (verb == u"wait"_s) {
            find()->finder().waitUntilIdle();
            QTRY_VERIFY(!test::control(find(), u"lblFCount"_s)
                             ->property("text")
                             .toString()
                             .startsWith(u"Searching"_s));
            return;
        }
        QWidget* window = nullptr;
        for (int id = 0; id < kWindowCount; ++id) {
            window = objectNameOf(WindowId(id)) == name ? windows().loaded(WindowId(id)) : window;
        }
        QTRY_VERIFY(window && window->isActiveWindow());
        QCoreApplication::processEvents();
    }

private slots:
    void init() {
        on_.emplace(QList{test::screen<FindWindow>(WindowId::Find),
                          test::screen<RecipeBrowserWindow>(WindowId::RecipeBrowser)});
        on_->road.probe = [this](const QString& probe) { return found(probe); };
        on_->road.step = [this](const QString& verb, const QString& name,
                                const QString&) -> std::optional<bool> {
            if (verb != u"wait"_s && verb != u"active"_s) {
                return std::nullopt;
            }
            wait(verb, name);
            return true;
        };
        test::TempAppFolder& app = on_->bench.app;
        QVERIFY(app.write(u"Category/category.txt"_s, "Soups\r\nPies\r\n"));
        QVERIFY(app.mkdir(u"Category/Soups"_s) && app.mkdir(u"Category/Pies"_s));
        QVERIFY(app.write(u"Category/Soups/Stew"_s,
                          test::record({{1, "1"},
                                        {2, "2"},
                                        {21,
                                         "Cr\xE8me fra\xEE"
                                         "che"},
                                        {22, "beef"},
                                        {31, "Brown the beef.\r\nSimmer for two hours."}})));
        QVERIFY(app.write(u"Category/Soups/Borscht"_s,
                          test::record({{1, "4"}, {21, "beets"}, {31, "Boil."}})));
        QVERIFY(app.write(u"Category/Pies/Tarte Tatin, 2 ways.txt"_s,
                          test::record({{1, "6"}, {21, "apples"}, {31, "Caramelise."}})));
        QVERIFY(app.write(u"Category/Pies/Lemon pie"_s,
                          test::record({{1, "3"}, {21, "lemons"}, {31, "Simmer the curd."}})));
        QVERIFY(app.write(u"Category/Pies/notes.doc"_s, "simmer, but not a recipe"));
    }
    void cleanup() { on_.reset(); }

    void roads_data() {
        QTest::addColumn<QString>("road");
        // The matches while typing; then Enter in the box, Down and Enter, or a double click
        // shows one on the browser as a click on its file does: the browser disables the
        // delete box when it becomes active, and it must end enabled.
        const QString shows =
            u"? shown=; ? windows=frmRecipe|frmFind; active frmRecipe; "
            "on frmRecipe; ? enabled chkRDel=1; ? checked chkRDel=0; "
            "? text cboRCat txtRName txtRI1="_s;
        QTest::newRow("accents and case, Enter in the box")
            << u"open; type txtFFind=CREME; wait; "
               "? found=Stew / Soups / Ingredient 1: 1 Crème fraîche; "
               "? text lblFCount=1 recipe found.; key txtFFind=Return; "_s +
                   shows +
                   u"Soups|Stew|Crème fraîche; ? current lswRFile=Stew; "
                   "? selected lswRFile=Stew"_s;
        // The first Down enters the list at the first match.
        QTest::newRow("only in the directions, not a recipe skipped, Down Down Enter")
            << u"open; type txtFFind=simmer; wait; ? found=Stew / Soups / Simmer for two hours.|"
               "Lemon pie / Pies / Simmer the curd.; ? text lblFCount=2 recipes found.; "
               "key txtFFind=Down; key lswFMatch=Down; key lswFMatch=Return; "_s +
                   shows +
                   u"Pies|Lemon pie|lemons; ? current lswRFile=Lemon pie; "
                   "? selected lswRFile=Lemon pie"_s;
        QTest::newRow("several words, odd file name, double click")
            << u"open; type txtFFind=tatin, 2; wait; "
               "? found=Tarte Tatin, 2 ways.txt / Pies / Tarte Tatin, 2 ways.txt; "
               "? text lblFCount=1 recipe found.; double lswFMatch=Tarte Tatin, 2 ways.txt; "_s +
                   shows +
                   u"Pies|Tarte Tatin, 2 ways.txt|apples; "
                   "? current lswRFile=Tarte Tatin, 2 ways.txt; ? selected lswRFile=Tarte Tatin, 2 ways.txt"_s;
        QTest::newRow("one word missing")
            << u"open; type txtFFind=simmer beets; wait; ? found=; "
               "? text lblFCount=No recipe holds every word.; key txtFFind=Return; ? shown=; "
               "? windows=frmFind"_s;
        // Typing on abandons the search before, Escape the one running: nothing of them
        // arrives. Shown again, the query runs anew.
        QTest::newRow("abandoned queries")
            << u"open; type txtFFind=simmer; set txtFFind=; type txtFFind=beets; wait; "
               "? found=Borscht / Soups / Ingredient 1: 4 beets; set txtFFind=; "
               "type txtFFind=simmer; key txtFFind=Escape; ? windows=; wait; ? found=; "
               "? text lblFCount=; open; wait; ? found=Stew / Soups / Simmer for two hours.|"
               "Lemon pie / Pies / Simmer the curd."_s;
        QTest::newRow("a recipe gone since the search")
            << u"open; type txtFFind=lemons; wait; remove Category/Pies/Lemon pie; "
               "key txtFFind=Return; ? shown=User error|4144|The recipe \"Lemon pie\" is no "
               "longer in the category \"Pies\".; on frmRecipe; ? text txtRName=; "
               "? enabled chkRDel=0"_s;
    }
    void roads() {
        QFETCH(QString, road);
        on_->road.walk(road);
    }
};

QTEST_MAIN(FindWindowTest)
#include "tst_findwindow.moc"
