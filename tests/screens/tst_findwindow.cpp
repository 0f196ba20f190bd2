#include "findwindow.h"
#include "messageservice.h"
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

namespace {

// One record of 35 quoted fields, with the given fields set (1-based), in
// Windows-1252 as the store writes it.
QByteArray record(const QMap<int, QString>& set) {
    QByteArray bytes;
    for (int field = 1; field <= 35; ++field) {
        bytes += (field > 1 ? ",\"" : "\"") + set.value(field).toLatin1() + '"';
    }
    return bytes + "\r\n";
}

}  // namespace

class FindWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempAppFolder> app_;
    std::unique_ptr<test::RecordingMessages> messages_;
    FindWindow* window_ = nullptr;

    QLineEdit* box() const { return window_->findChild<QLineEdit*>(u"txtFFind"_s); }
    QTreeWidget* matches() const { return window_->findChild<QTreeWidget*>(u"lswFMatch"_s); }
    QString status() const { return window_->findChild<QLabel*>(u"lblFCount"_s)->text(); }
    RecipeBrowserWindow* browser() const {
        return windows().loadedAs<RecipeBrowserWindow>(WindowId::RecipeBrowser);
    }
    // Every match the window lists: recipe | category | line.
    QStringList rows() const {
        QStringList found;
        for (int i = 0; i < matches()->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = matches()->topLevelItem(i);
            found << item->text(0) + u" | "_s + item->text(1) + u" | "_s + item->text(2);
        }
        return found;
    }
    void type(const QString& text) {
        box()->setFocus();
        QTest::keyClicks(box(), text);
    }
    // The workers done and everything they sent delivered.
    void settle() {
        window_->finder().waitUntilIdle();
        QTRY_VERIFY(!status().startsWith(u"Searching"_s));
    }

private slots:
    void init() {
        app_ = std::make_unique<test::TempAppFolder>();
        messages_ = std::make_unique<test::RecordingMessages>();
        windows().registerWindow(WindowId::Find, [] { return new FindWindow; });
        windows().registerWindow(WindowId::RecipeBrowser, [] { return new RecipeBrowserWindow; });
        test::registerStandIns();
        QVERIFY(app_->write(u"Category/category.txt"_s, "Soups\r\nPies\r\n"));
        QVERIFY(QDir(app_->path()).mkpath(u"Category/Soups"_s));
        QVERIFY(QDir(app_->path()).mkpath(u"Category/Pies"_s));
        QVERIFY(app_->write(u"Category/Soups/Stew"_s,
                            record({{1, u"1"_s},
                                    {2, u"2"_s},
                                    {11, u"cup"_s},
                                    {12, u"lbs"_s},
                                    {21, u"Crème fraîche"_s},
                                    {22, u"beef"_s},
                                    {31, u"Brown the beef.\r\nSimmer for two hours."_s}})));
        QVERIFY(app_->write(u"Category/Soups/Borscht"_s,
                            record({{1, u"4"_s}, {21, u"beets"_s}, {31, u"Boil."_s}})));
        QVERIFY(app_->write(u"Category/Pies/Tarte Tatin, 2 ways.txt"_s,
                            record({{1, u"6"_s},
                                    {2, u"1"_s},
                                    {12, u"cup"_s},
                                    {21, u"apples"_s},
                                    {22, u"sugar"_s},
                                    {31, u"Caramelise the sugar."_s}})));
        QVERIFY(app_->write(u"Category/Pies/Lemon pie"_s,
                            record({{1, u"3"_s}, {21, u"lemons"_s}, {31, u"Simmer the curd."_s}})));
        QVERIFY(app_->write(u"Category/Pies/notes.doc"_s, "simmer, but not a recipe"));
        window_ = qobject_cast<FindWindow*>(windows().show(WindowId::Find));
        QVERIFY(window_ && window_->isVisible());
        QCOMPARE(window_->windowTitle(), u"Find a recipe"_s);
    }
    void cleanup() {
        windows().reset();
        messages_.reset();
        app_.reset();
    }

    void listsEveryRecipeHoldingEveryWord_data() {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("summary");
        QTest::newRow("accents and case")
            << u"CREME"_s << QStringList{u"Stew | Soups | Ingredient 1: 1 cup Crème fraîche"_s}
            << u"1 recipe found."_s;
        QTest::newRow("only in the directions, in category order, not a recipe skipped")
            << u"simmer"_s
            << QStringList{u"Stew | Soups | Simmer for two hours."_s,
                           u"Lemon pie | Pies | Simmer the curd."_s}
            << u"2 recipes found."_s;
        QTest::newRow("several words") << u"sugar apples"_s
                                       << QStringList{u"Tarte Tatin, 2 ways.txt | Pies | "
                                                      "Ingredient 1: 6 apples"_s}
                                       << u"1 recipe found."_s;
        QTest::newRow("odd file name") << u"tatin, 2"_s
                                       << QStringList{u"Tarte Tatin, 2 ways.txt | Pies | "
                                                      "Tarte Tatin, 2 ways.txt"_s}
                                       << u"1 recipe found."_s;
        QTest::newRow("one word missing")
            << u"simmer beets"_s << QStringList{} << u"No recipe holds every word."_s;
    }
    void listsEveryRecipeHoldingEveryWord() {
        QFETCH(QString, query);
        type(query);
        settle();
        QFETCH(QStringList, expected);
        QFETCH(QString, summary);
        QCOMPARE(rows(), expected);
        QCOMPARE(status(), summary);
        QVERIFY(messages_->shown.isEmpty());
    }

    // Enter in the box, Down then Enter, or a double click: the browser as
    // after a click on the file.
    void showsTheMatchInTheBrowser_data() {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("ingredient");
        QTest::newRow("enter in the box")
            << u"creme"_s << u"enter"_s << u"Soups"_s << u"Stew"_s << u"Crème fraîche"_s;
        QTest::newRow("down, down, enter")
            << u"simmer"_s << u"down down enter"_s << u"Pies"_s << u"Lemon pie"_s << u"lemons"_s;
        QTest::newRow("double click, odd name") << u"caramelise"_s << u"double click"_s << u"Pies"_s
                                                << u"Tarte Tatin, 2 ways.txt"_s << u"apples"_s;
    }
    void showsTheMatchInTheBrowser() {
        QFETCH(QString, query);
        QFETCH(QString, how);
        QFETCH(QString, category);
        QFETCH(QString, file);
        QFETCH(QString, ingredient);
        type(query);
        settle();
        if (how == u"double click"_s) {
            QTreeWidgetItem* item = matches()->topLevelItem(0);
            const QPoint at = matches()->visualItemRect(item).center();
            QTest::mouseClick(matches()->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(matches()->viewport(), Qt::LeftButton, {}, at);
        } else {
            for (const QString& key : how.split(u' ')) {
                QWidget* focused = QApplication::focusWidget();
                QVERIFY(focused == box() || focused == matches());
                QTest::keyClick(focused, key == u"down"_s ? Qt::Key_Down : Qt::Key_Return);
                if (key == u"down"_s) {
                    QCOMPARE(QApplication::focusWidget(), matches());
                }
            }
        }
        RecipeBrowserWindow* shown = browser();
        QVERIFY(shown && shown->isVisible());
        QTRY_VERIFY(shown->isActiveWindow());
        QCoreApplication::processEvents();
        QCOMPARE(shown->findChild<QComboBox*>(u"cboRCat"_s)->currentText(), category);
        const QListView* files = shown->findChild<QListView*>(u"lswRFile"_s);
        QCOMPARE(files->currentIndex().data().toString(), file);
        QVERIFY(files->selectionModel()->isSelected(files->currentIndex()));
        QCOMPARE(shown->findChild<QLineEdit*>(u"txtRName"_s)->text(), file);
        QCOMPARE(shown->findChild<QLineEdit*>(u"txtRI1"_s)->text(), ingredient);
        auto* deleteBox = shown->findChild<QCheckBox*>(u"chkRDel"_s);
        QVERIFY(deleteBox->isEnabled());
        QVERIFY(!deleteBox->isChecked());
        QVERIFY(messages_->shown.isEmpty());
        // The window stays, for the next match.
        QVERIFY(window_->isVisible());
    }

    // What the user no longer waits for never arrives: typing on abandons the
    // search before, Escape the one running.
    void anAbandonedQueryLeavesNothingBehind() {
        type(u"simmer"_s);
        box()->clear();
        type(u"beets"_s);
        settle();
        QCOMPARE(rows(), QStringList{u"Borscht | Soups | Ingredient 1: 4 beets"_s});

        box()->clear();
        type(u"simmer"_s);
        QTest::keyClick(box(), Qt::Key_Escape);
        QVERIFY(!window_->isVisible());
        window_->finder().waitUntilIdle();
        QCoreApplication::processEvents();
        QCOMPARE(rows(), QStringList{});
        QCOMPARE(status(), QString());

        // Shown again, the query runs anew.
        windows().show(WindowId::Find);
        settle();
        QCOMPARE(rows().size(), 2);
        QCOMPARE(box()->selectedText(), u"simmer"_s);
    }

    void aRecipeGoneSinceTheSearchIsTold() {
        type(u"lemons"_s);
        settle();
        QVERIFY(QFile::remove(app_->file(u"Category/Pies/Lemon pie"_s)));
        QTest::keyClick(box(), Qt::Key_Return);
        QCOMPARE(messages_->shown.size(), 1);
        QCOMPARE(messages_->shown.first().title, u"User error"_s);
        QCOMPARE(messages_->shown.first().text,
                 u"The recipe \"Lemon pie\" is no longer in the category \"Pies\"."_s);
        QVERIFY(browser()->findChild<QLineEdit*>(u"txtRName"_s)->text().isEmpty());
        QVERIFY(!browser()->findChild<QCheckBox*>(u"chkRDel"_s)->isEnabled());
    }
};

QTEST_MAIN(FindWindowTest)
#include "tst_findwindow.moc"
