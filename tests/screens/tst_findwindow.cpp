#include "findwindow.h"
#include "recipebrowserwindow.h"
#include "recipefinder.h"
#include "testsupport.h"
#include "windowregistry.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QTreeWidget>
#include <QtTest>

using namespace pv;
using namespace Qt::StringLiterals;

class FindWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::ScreenBench> bench_;
    FindWindow* window_ = nullptr;

    // A recipe file of 35 fields in Windows-1252: amounts 1.., ingredients 21.., directions.
    void write(const QString& file, const QStringList& amounts, const QStringList& ingredients,
               const QString& directions) {
        QStringList fields(35);
        for (int i = 0; i < amounts.size(); ++i) {
            fields[i] = amounts[i];
            fields[20 + i] = ingredients[i];
        }
        fields[30] = directions;
        QVERIFY(bench_->app.write(u"Category/"_s + file,
                                  ('"' + fields.join(u"\",\""_s) + u"\"\r\n"_s).toLatin1()));
    }
    QLineEdit* box() const { return test::control<QLineEdit>(window_, u"txtFFind"_s); }
    QTreeWidget* matches() const { return test::control<QTreeWidget>(window_, u"lswFMatch"_s); }
    QString status() const { return test::control<QLabel>(window_, u"lblFCount"_s)->text(); }
    template <typename T = QLineEdit>
    T* inBrowser(const QString& name) const {
        return test::control<T>(windows().loaded(WindowId::RecipeBrowser), name);
    }
    // Every match listed: recipe | category | line.
    QStringList rows() const {
        QStringList found;
        for (int i = 0; i < matches()->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = matches()->topLevelItem(i);
            found << item->text(0) + u" | "_s + item->text(1) + u" | "_s + item->text(2);
        }
        return found;
    }
    // Types into the box; the workers finish and all they sent arrives.
    void search(const QString& text) {
        box()->clear();
        QTest::keyClicks(box(), text);
        window_->finder().waitUntilIdle();
        QTRY_VERIFY(!status().startsWith(u"Searching"_s));
    }

private slots:
    void init() {
        bench_ = std::make_unique<test::ScreenBench>(
            QList{test::screen<FindWindow>(WindowId::Find),
                  test::screen<RecipeBrowserWindow>(WindowId::RecipeBrowser)});
        QVERIFY(bench_->app.write(u"Category/category.txt"_s, "Soups\r\nPies\r\n"));
        QVERIFY(bench_->app.mkdir(u"Category/Soups"_s) && bench_->app.mkdir(u"Category/Pies"_s));
        write(u"Soups/Stew"_s, {u"1"_s, u"2"_s}, {u"Crème fraîche"_s, u"beef"_s},
              u"Brown the beef.\r\nSimmer for two hours."_s);
        write(u"Soups/Borscht"_s, {u"4"_s}, {u"beets"_s}, u"Boil."_s);
        write(u"Pies/Tarte Tatin, 2 ways.txt"_s, {u"6"_s}, {u"apples"_s}, u"Caramelise."_s);
        write(u"Pies/Lemon pie"_s, {u"3"_s}, {u"lemons"_s}, u"Simmer the curd."_s);
        QVERIFY(bench_->app.write(u"Category/Pies/notes.doc"_s, "simmer, but not a recipe"));
        window_ = qobject_cast<FindWindow*>(windows().show(WindowId::Find));
        QVERIFY(window_ && window_->isVisible());
    }
    void cleanup() { bench_.reset(); }

    // The matches while typing; then Enter in the box, Down and Enter, or a
    // double click shows one on the browser as a click on its file does.
    void findsAndShowsAMatch_data() {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("ingredient");
        QTest::newRow("accents and case, Enter in the box")
            << u"CREME"_s << QStringList{u"Stew | Soups | Ingredient 1: 1 Crème fraîche"_s}
            << u"1 recipe found."_s << u"enter"_s << u"Crème fraîche"_s;
        QTest::newRow("only in the directions, not a recipe skipped, Down Down Enter")
            << u"simmer"_s
            << QStringList{u"Stew | Soups | Simmer for two hours."_s,
                           u"Lemon pie | Pies | Simmer the curd."_s}
            << u"2 recipes found."_s << u"down down enter"_s << u"lemons"_s;
        QTest::newRow("several words, odd file name, double click")
            << u"tatin, 2"_s
            << QStringList{u"Tarte Tatin, 2 ways.txt | Pies | Tarte Tatin, 2 ways.txt"_s}
            << u"1 recipe found."_s << u"double click"_s << u"apples"_s;
        QTest::newRow("one word missing")
            << u"simmer beets"_s << QStringList{} << u"No recipe holds every word."_s << u"enter"_s
            << QString();
    }
    void findsAndShowsAMatch() {
        QFETCH(QString, query);
        QFETCH(QStringList, expected);
        QFETCH(QString, summary);
        QFETCH(QString, how);
        QFETCH(QString, ingredient);
        search(query);
        QCOMPARE(rows(), expected);
        QCOMPARE(status(), summary);
        if (how == u"double click"_s) {
            const QPoint at = matches()->visualItemRect(matches()->topLevelItem(0)).center();
            QTest::mouseClick(matches()->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(matches()->viewport(), Qt::LeftButton, {}, at);
        } else {
            for (const QString& key : how.split(u' ')) {
                QTest::keyClick(QApplication::focusWidget(),
                                key == u"down"_s ? Qt::Key_Down : Qt::Key_Return);
            }
        }
        QVERIFY(bench_->shown().isEmpty());
        if (expected.isEmpty()) {
            QVERIFY(!windows().loaded(WindowId::RecipeBrowser));
            return;
        }
        // The first Down enters the list at the first match.
        const qsizetype row = std::max<qsizetype>(0, how.count(u"down"_s) - 1);
        const QStringList shown = expected.at(row).split(u" | "_s);
        PvWindow* browser = windows().loaded(WindowId::RecipeBrowser);
        QVERIFY(browser && browser->isVisible());
        // The browser disables the delete box when it becomes active; it must end enabled.
        QTRY_VERIFY(browser->isActiveWindow());
        QCoreApplication::processEvents();
        QCOMPARE(inBrowser<QComboBox>(u"cboRCat"_s)->currentText(), shown.at(1));
        const auto* files = inBrowser<QListView>(u"lswRFile"_s);
        QCOMPARE(files->currentIndex().data().toString(), shown.at(0));
        QVERIFY(files->selectionModel()->isSelected(files->currentIndex()));
        QCOMPARE(inBrowser(u"txtRName"_s)->text(), shown.at(0));
        QCOMPARE(inBrowser(u"txtRI1"_s)->text(), ingredient);
        QVERIFY(inBrowser<QCheckBox>(u"chkRDel"_s)->isEnabled());
        QVERIFY(!inBrowser<QCheckBox>(u"chkRDel"_s)->isChecked());
        QVERIFY(window_->isVisible());
    }

    // Typing on abandons the search before, Escape the one running: nothing
    // of them arrives. Shown again, the query runs anew.
    void anAbandonedQueryLeavesNothingBehind() {
        QTest::keyClicks(box(), u"simmer"_s);
        search(u"beets"_s);
        QCOMPARE(rows(), QStringList{u"Borscht | Soups | Ingredient 1: 4 beets"_s});
        box()->clear();
        QTest::keyClicks(box(), u"simmer"_s);
        QTest::keyClick(box(), Qt::Key_Escape);
        QVERIFY(!window_->isVisible());
        window_->finder().waitUntilIdle();
        QCoreApplication::processEvents();
        QCOMPARE(rows(), QStringList{});
        QCOMPARE(status(), QString());
        windows().show(WindowId::Find);
        window_->finder().waitUntilIdle();
        QTRY_COMPARE(rows().size(), 2);
    }

    void aRecipeGoneSinceTheSearchIsTold() {
        search(u"lemons"_s);
        QVERIFY(QFile::remove(bench_->app.file(u"Category/Pies/Lemon pie"_s)));
        QTest::keyClick(box(), Qt::Key_Return);
        QCOMPARE(
            bench_->shown(),
            QStringList{u"User error|4144|The recipe \"Lemon pie\" is no longer in the category "
                        "\"Pies\"."_s});
        QVERIFY(inBrowser(u"txtRName"_s)->text().isEmpty());
        QVERIFY(!inBrowser<QCheckBox>(u"chkRDel"_s)->isEnabled());
    }
};

QTEST_MAIN(FindWindowTest)
#include "tst_findwindow.moc"
