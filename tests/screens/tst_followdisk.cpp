// The lists of the screens on show follow the data folder as something outside the
// program (another machine, a sync tool) changes it: selections that still exist stay,
// typed text is never touched, and a sync of many files redraws once.
#include "findwindow.h"
#include "folderwatcher.h"
#include "recipebrowserwindow.h"
#include "recipeentrywindow.h"
#include "recipefilemodel.h"
#include "road.h"
#include "setupwindow.h"
#include "shoppinglistwindow.h"
#include "storetest.h"

#include <QListView>
#include <QSignalSpy>
#include <QThreadPool>
#include <QTreeWidget>
#include <QtTest>

#include <optional>

using namespace pv;
using namespace Qt::StringLiterals;

namespace {

const QString kStew = QString::fromLatin1(test::record({{21, "beef"}}));

}  // namespace

class FollowDiskTest : public QObject {
    Q_OBJECT

    std::optional<test::RoadBench> on_;

    // Lets the changes arrive and the gathering end.
    static void settle() {
        QTest::qWait(FolderWatcher::kGatherMs + 200);
        QCoreApplication::processEvents();
    }

private slots:
    void init() {
        on_.emplace(QList{test::screen<RecipeBrowserWindow>(WindowId::RecipeBrowser),
                          test::screen<RecipeEntryWindow>(WindowId::RecipeEntry),
                          test::screen<SetupWindow>(WindowId::Setup),
                          test::screen<ShoppingListWindow>(WindowId::ShoppingList),
                          test::screen<FindWindow>(WindowId::Find)});
        on_->road.step = [](const QString& verb, const QString&,
                            const QString&) -> std::optional<bool> {
            if (verb != u"settle"_s) {
                return std::nullopt;
            }
            settle();
            return true;
        };
        on_->road.walk(
            u"write Category/category.txt=Soups\r\nPies\r\n; mkdir Category/Pies; "
            "write Category/Soups/Stew=%1; write Category/Soups/Tart=%1; "
            "write Shopping List/weekly.txt=milk\r\n; write Shopping List/Old.txt=tea\r\n"_s.arg(
                kStew));
    }
    void cleanup() { on_.reset(); }

    void roads_data() {
        QTest::addColumn<QString>("road");
        const QString stew = u"open; pick cboRCat=Soups; click lswRFile=Stew; "_s;
        QTest::newRow("browser: a recipe comes")
            << stew +
                   u"write Category/Soups/Apple=%1; settle; ? listed lswRFile=Apple|Stew|Tart; "
                   "? selected lswRFile=Stew; ? current lswRFile=Stew; ? text txtRName=Stew; "
                   "? enabled chkRDel=1"_s.arg(kStew);
        QTest::newRow("browser: the recipe on display goes")
            << stew +
                   u"remove Category/Soups/Stew; settle; ? listed lswRFile=Tart; "
                   "? text txtRName txtRI1=Stew|beef; ? enabled chkRDel=0; ? checked chkRDel=0"_s;
        // The recipe on display changed elsewhere is shown anew, unless typed into.
        const QString lamb = QString::fromLatin1(test::record({{21, "lamb"}}));
        QTest::newRow("browser: the recipe on display changes")
            << stew +
                   u"write Category/Soups/Stew=%1; settle; ? text txtRName txtRI1=Stew|lamb; "
                   "? enabled chkRDel=1"_s.arg(lamb);
        QTest::newRow("browser: the recipe on display changes, typed into")
            << stew +
                   u"set txtRI2=for 4; write Category/Soups/Stew=%1; settle; "
                   "? text txtRI1 txtRI2=beef|for 4"_s.arg(lamb);
        QTest::newRow("browser: another recipe goes")
            << stew +
                   u"remove Category/Soups/Tart; settle; ? listed lswRFile=Stew; "
                   "? selected lswRFile=Stew; ? enabled chkRDel=1"_s;
        // Sync tools' own files, and a save that never finished, are never listed.
        QTest::newRow("browser: hidden files")
            << stew +
                   u"write Category/Soups/.syncthing.Apple.tmp=x; write Category/Soups/._Stew=x; "
                   "write Category/Soups/.DS_Store=x; write Category/Soups/.stignore=x; "
                   "mkdir Category/Soups/.stversions; write Category/Soups/.pv-save-k3-Stew=x; "
                   "settle; ? listed lswRFile=Stew|Tart; ? selected lswRFile=Stew"_s;
        QTest::newRow("browser: a category comes, the choice stays")
            << stew +
                   u"mkdir Category/Breads; write Category/category.txt=Soups\r\nPies\r\n"
                   "Breads\r\n; settle; ? listed cboRCat=Soups|Pies|Breads; "
                   "? text cboRCat=Soups; ? listed lswRFile=Stew|Tart; "
                   "? selected lswRFile=Stew"_s;
        // The category chosen is gone: its files go from the list, the recipe stays on display.
        QTest::newRow("browser: the chosen category goes")
            << stew +
                   u"remove Category/Soups; write Category/category.txt=Pies\r\n; settle; "
                   "? listed cboRCat=Pies; ? text cboRCat=; ? listed lswRFile=; "
                   "? text txtRName=Stew; ? enabled chkRDel=0; ? shown="_s;
        // While hidden, the changes wait for the next showing.
        QTest::newRow("browser: changed while hidden")
            << stew +
                   u"hide frmRecipe; write Category/Soups/Apple=%1; settle; "
                   "? listed lswRFile=Stew|Tart; open; ? listed lswRFile=Apple|Stew|Tart; "
                   "? text cboRCat=Soups"_s.arg(kStew);
        QTest::newRow("browser: a save on the entry screen")
            << stew +
                   u"open frmIngred; pick cboIng=Soups; set txtIName=Broth; click cmdISave; "
                   "settle; on frmRecipe; ? listed lswRFile=Broth|Stew|Tart"_s;

        // The setup screen: the item picked and both boxes stay.
        QTest::newRow("setup: a category comes")
            << u"open frmSetup; click lswSetup=Pies; type txtSDel=x; mkdir Category/Breads; "
               "write Category/category.txt=Soups\r\nPies\r\nBreads\r\n; settle; "
               "? listed lswSetup=Soups|Pies|Breads; ? selected lswSetup=Pies; "
               "? text txtSDel=Piesx"_s;
        QTest::newRow("setup: sorted after a create")
            << u"open frmSetup; type txtSCreate=Cakes; click cmdSCreate; type txtSCreate=Br; "
               "write Category/category.txt=Soups\r\nPies\r\nCakes\r\nBreads\r\n; settle; "
               "? listed lswSetup=Breads|Cakes|Pies|Soups; ? text txtSCreate=Br"_s;
        QTest::newRow("setup: the picked one goes")
            << u"open frmSetup; click lswSetup=Pies; write Category/category.txt=Soups\r\n; "
               "settle; ? listed lswSetup=Soups; ? selected lswSetup=; ? text txtSDel=Pies"_s;

        // The entry screen's categories; typed text stays.
        QTest::newRow("entry: a category comes")
            << u"open frmIngred; pick cboIng=Pies; set txtIName=Sponge; "
               "write Category/category.txt=Soups\r\nPies\r\nBreads\r\n; settle; "
               "? listed cboIng=Soups|Pies|Breads; ? text cboIng txtIName=Pies|Sponge"_s;
        QTest::newRow("entry: the chosen category goes")
            << u"open frmIngred; pick cboIng=Pies; set txtIName=Sponge; set txtIN1=eggs; "
               "write Category/category.txt=Soups\r\n; settle; ? listed cboIng=Soups; "
               "? text cboIng txtIName txtIN1=|Sponge|eggs; ? shown="_s;
        QTest::newRow("entry: the list is gone, quietly")
            << u"open frmIngred; pick cboIng=Pies; remove Category/category.txt; settle; "
               "? listed cboIng=; ? shown="_s;

        // Shopping lists: the item picked stays, the text typed too.
        QTest::newRow("shopping list: lists come and go")
            << u"open frmShop; click lswHOpen=weekly.txt; set txtHList=milk eggs; "
               "write Shopping List/Party.txt=cake\r\n; remove Shopping List/Old.txt; settle; "
               "? listed lswHOpen=Party.txt|weekly.txt; ? selected lswHOpen=weekly.txt; "
               "? text txtHList=milk eggs"_s;
        QTest::newRow("shopping list: its own save")
            << u"open frmShop; type txtHList=bread; type txtHName=Week 2; click cmdHSave; "
               "settle; ? listed lswHOpen=Old.txt|Week 2.txt|weekly.txt; ? text txtHName=Week 2"_s;
    }
    void roads() {
        QFETCH(QString, road);
        on_->road.walk(road);
        on_->road.walk(u"? error="_s);
    }

    // Hundreds of files arriving together redraw the list once.
    void aSyncRedrawsOnce() {
        on_->road.walk(u"open; pick cboRCat=Soups; click lswRFile=Stew"_s);
        auto* list = test::control<QListView>(on_->road.screen(), u"lswRFile"_s);
        QSignalSpy redrawn(list->model(), &QAbstractItemModel::modelReset);
        for (int n = 0; n < 300; ++n) {
            QVERIFY(on_->bench.app.write(u"Category/Soups/Recipe %1"_s.arg(n), kStew.toLatin1()));
        }
        QTRY_COMPARE(list->model()->rowCount(), 302);
        settle();
        QCOMPARE(redrawn.count(), 1);
        on_->road.walk(u"? selected lswRFile=Stew; ? text txtRName=Stew"_s);
    }

    // What a save left when the program died goes once the folder is first listed, off
    // the window's thread; a younger one may be another copy's save still running.
    void staleSavesGoWhenListed() {
        test::TempAppFolder& app = on_->bench.app;
        const auto aged = [&](const QString& path, qint64 seconds) {
            QFile file(app.file(path));
            return app.write(path, "x") && file.open(QIODevice::ReadWrite) &&
                   file.setFileTime(QDateTime::currentDateTime().addSecs(-seconds),
                                    QFileDevice::FileModificationTime);
        };
        QVERIFY(aged(u"Category/Soups/.pv-save-k3-Stew"_s, store::Store::kStaleSaveSeconds + 60));
        QVERIFY(aged(u"Category/Soups/.pv-save-q1-Tart"_s, 30));
        QVERIFY(aged(u"Category/Pies/.pv-save-z9-Apple"_s, store::Store::kStaleSaveSeconds + 60));
        on_->road.walk(u"open; pick cboRCat=Soups"_s);
        QThreadPool::globalInstance()->waitForDone();
        on_->road.walk(
            u"? tree Category/Soups=.pv-save-q1-Tart|Stew|Tart; "
            "? tree Category/Pies=.pv-save-z9-Apple"_s);
    }

    // A sync tool's conflict copy is listed, marked, and tells what it is a copy of.
    void conflictCopiesMarked() {
        for (const char* name : {"Stew.sync-conflict-20261207-101500-ABCDEFG",
                                 "Stew (conflicted copy 2026-12-07 101500)"}) {
            QVERIFY(
                on_->bench.app.write(u"Category/Soups/"_s + QLatin1String(name), kStew.toLatin1()));
        }
        on_->road.walk(
            u"open; pick cboRCat=Soups; ? listed lswRFile=Stew|Stew "
            "(conflicted copy 2026-12-07 101500)|Stew.sync-conflict-20261207-101500-ABCDEFG|Tart; "
            "click lswRFile=Stew.sync-conflict-20261207-101500-ABCDEFG; "
            "? text txtRName=Stew.sync-conflict-20261207-101500-ABCDEFG"_s);
        const QAbstractItemModel* model =
            test::control<QListView>(on_->road.screen(), u"lswRFile"_s)->model();
        const QString note =
            u"Conflict copy of \"Stew\": the recipe was changed on two machines at once. Keep the "
            "right one (see Help, Keeping the data folder in step)."_s;
        const QStringList notes{QString(), note, note, QString()};
        for (int row = 0; row < 4; ++row) {
            const QModelIndex index = model->index(row, 0);
            QCOMPARE(index.data(Qt::ToolTipRole).toString(), notes[row]);
            QCOMPARE(index.data(Qt::AccessibleDescriptionRole).toString(), notes[row]);
            QCOMPARE(index.data(Qt::DecorationRole).isNull(), notes[row].isEmpty());
        }
    }

    // Find drops a match whose recipe is deleted, and counts again.
    void findDropsDeletedMatches() {
        QVERIFY(on_->bench.app.write(u"Category/Pies/Beef pie"_s, kStew.toLatin1()));
        on_->road.walk(u"open frmFind; type txtFFind=beef"_s);
        QWidget* count = test::control(on_->road.screen(), u"lblFCount"_s);
        QTRY_COMPARE(count->property("text").toString(), u"3 recipes found."_s);
        on_->road.walk(
            u"remove Category/Soups/Tart; remove Category/Pies/Beef pie; settle; "
            "? listed lswFMatch=Stew; ? text lblFCount=1 recipe found."_s);
    }
};

QTEST_MAIN(FollowDiskTest)
#include "tst_followdisk.moc"
