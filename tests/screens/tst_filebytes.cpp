// Files as the older program left them, opened, saved, printed and deleted
// through the real screens: every byte and every file name comes through.
#include "cp1252.h"
#include "errorstate.h"
#include "multilinebox.h"
#include "recipebrowserwindow.h"
#include "recipeentrywindow.h"
#include "shoppinglistwindow.h"
#include "storetest.h"
#include "testsupport.h"
#include "windowregistry.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include <optional>
#include <set>

using namespace pv;
using namespace Qt::StringLiterals;

namespace {

// Every byte value that stands for a Windows-1252 character (all but 0x81,
// 0x8D, 0x8F, 0x90 and 0x9D) but those in `except`, in lines of 16 ended by
// CR LF: CR and LF occur only as the line ends.
QByteArray everyByte(const QByteArray& except = {}) {
    const QByteArray unassigned("\x81\x8D\x8F\x90\x9D");
    QByteArray bytes;
    int inLine = 0;
    for (int value = 0; value < 256; ++value) {
        const char byte = char(value);
        if (byte == '\r' || byte == '\n' || unassigned.contains(byte) || except.contains(byte)) {
            continue;
        }
        bytes += byte;
        if (++inLine == 16) {
            bytes += "\r\n";
            inLine = 0;
        }
    }
    return bytes + "\r\n";
}

qsizetype distinctBytes(const QByteArray& bytes) {
    return qsizetype(std::set<char>(bytes.begin(), bytes.end()).size());
}

void selectAllAndCopy(QWidget* box) {
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
}

}  // namespace

class FileBytesTest : public QObject {
    Q_OBJECT

    std::optional<test::ScreenBench> bench_;

    static QWidget* show(WindowId id) {
        QWidget* screen = windows().show(id);
        if (screen && !QTest::qWaitForWindowExposed(screen)) {
            qWarning("%s was not shown", qPrintable(objectNameOf(id)));
        }
        return screen;
    }
    void expectNoFailure() {
        QVERIFY2(programErrors().errorLocation.isEmpty(),
                 qPrintable(programErrors().errorLocation));
        QVERIFY(bench_->messages.shown.isEmpty());
    }

private slots:
    void init() {
        bench_.emplace(QList{test::screen<ShoppingListWindow>(WindowId::ShoppingList),
                             test::screen<RecipeEntryWindow>(WindowId::RecipeEntry),
                             test::screen<RecipeBrowserWindow>(WindowId::RecipeBrowser)});
    }
    void cleanup() { bench_.reset(); }

    // A list holding every Windows-1252 character, opened and saved again.
    void shoppingListKeepsEveryByte_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("pasted");  // copied from the opened list into a new one
        QTest::newRow("under another name") << u"Copy"_s << false;
        QTest::newRow("under its own name") << u"Old"_s << false;
        QTest::newRow("copied and pasted") << u"Pasted"_s << true;
    }
    void shoppingListKeepsEveryByte() {
        QFETCH(QString, name);
        QFETCH(bool, pasted);
        const QByteArray old = everyByte();
        QCOMPARE(distinctBytes(old), 251);
        QVERIFY(bench_->app.write(u"Shopping List/Old.txt"_s, old));
        QWidget* shop = show(WindowId::ShoppingList);
        auto* list = test::control<MultiLineBox>(shop, u"txtHList"_s);
        auto* nameBox = test::control<QLineEdit>(shop, u"txtHName"_s);
        // A key typed into the list opens the name box; the name stays when a list is opened.
        QTest::keyClick(list, Qt::Key_X);
        QTest::keyClicks(nameBox, name);
        test::clickListed(test::control<QListWidget>(shop, u"lswHOpen"_s), u"Old.txt"_s);
        QCOMPARE(list->text(), store::decodeCp1252(old.chopped(2)));
        if (pasted) {
            selectAllAndCopy(list);
            test::click(shop, u"cmdHNew"_s);
            QTest::keyClick(list, Qt::Key_X);
            nameBox->setText(name);
            QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(list, Qt::Key_V, Qt::ControlModifier);
        }
        test::click(shop, u"cmdHSave"_s);
        expectNoFailure();
        QCOMPARE(bench_->app.read(u"Shopping List/"_s + name + u".txt"_s), old);
    }

    // Directions holding every Windows-1252 character but the double quote that
    // ends the field, shown on the browser, copied onto the entry screen and saved.
    void recipeDirectionsKeepEveryByte() {
        const QByteArray old = test::record({{31, everyByte("\"")}});
        QCOMPARE(distinctBytes(old), 251);
        QVERIFY(bench_->app.write(u"Category/category.txt"_s, "Soups\r\n"));
        QVERIFY(bench_->app.mkdir(u"Category/Soups"_s));
        QVERIFY(bench_->app.write(u"Category/Soups/Old"_s, old));

        QWidget* browser = show(WindowId::RecipeBrowser);
        test::pick(browser, u"cboRCat"_s, u"Soups"_s);
        test::clickListed(test::control<QListView>(browser, u"lswRFile"_s), u"Old"_s);
        auto* shown = test::control<MultiLineBox>(browser, u"txtRDirec"_s);
        QCOMPARE(shown->text(), store::decodeCp1252(everyByte("\"")));
        selectAllAndCopy(shown);

        QWidget* entry = show(WindowId::RecipeEntry);
        test::pick(entry, u"cboIng"_s, u"Soups"_s);
        QTest::keyClicks(test::control(entry, u"txtIName"_s), u"Copy"_s);
        auto* directions = test::control<MultiLineBox>(entry, u"txtIDirec"_s);
        directions->setFocus();
        QTest::keyClick(directions, Qt::Key_V, Qt::ControlModifier);
        test::click(entry, u"cmdISave"_s);
        expectNoFailure();
        QCOMPARE(bench_->app.read(u"Category/Soups/Copy"_s), old);
    }

    // A list named in Windows-1252 bytes is listed by its text, and opens,
    // prints and deletes.
    void oldShoppingListName() {
        const QByteArray file = "Shopping List/Cr\xE8me fra\356che.txt";
        QVERIFY(bench_->app.writeNative(file, "2 pots\r\n"));
        QWidget* shop = show(WindowId::ShoppingList);
        auto* files = test::control<QListWidget>(shop, u"lswHOpen"_s);
        QCOMPARE(test::listed(files), QStringList{u"Crème fraîche.txt"_s});
        test::clickListed(files, u"Crème fraîche.txt"_s);
        QCOMPARE(test::control<MultiLineBox>(shop, u"txtHList"_s)->text(), u"2 pots"_s);

        test::PdfPrinter printer(bench_->app.file(u"list.pdf"_s));
        test::click(shop, u"cmdHPrint"_s);
        QCOMPARE(test::pdfText(bench_->app.file(u"list.pdf"_s)).trimmed(), u"2 pots"_s);

        test::click(shop, u"cmdHDel"_s);
        expectNoFailure();
        QCOMPARE(bench_->app.readNative(file), QByteArray("<missing>"));
    }

    // A category folder and a recipe named in Windows-1252 bytes: listed, shown
    // and deleted by their text; a recipe saved into the category goes into that folder.
    void oldCategoryAndRecipeNames() {
        QVERIFY(bench_->app.write(u"Category/category.txt"_s, "Cr\xE8me\r\n"));
        QVERIFY(bench_->app.writeNative("Category/Cr\xE8me/"));
        QVERIFY(bench_->app.writeNative("Category/Cr\xE8me/P\xE2t\xE9",
                                        test::record({{21, "beurre"}})));

        QWidget* browser = show(WindowId::RecipeBrowser);
        test::pick(browser, u"cboRCat"_s, u"Crème"_s);
        auto* files = test::control<QListView>(browser, u"lswRFile"_s);
        QCOMPARE(test::listed(files), QStringList{u"Pâté"_s});
        test::clickListed(files, u"Pâté"_s);
        QCOMPARE(test::control<QLineEdit>(browser, u"txtRName"_s)->text(), u"Pâté"_s);
        QCOMPARE(test::control<QLineEdit>(browser, u"txtRI1"_s)->text(), u"beurre"_s);
        test::control<QCheckBox>(browser, u"chkRDel"_s)->click();
        expectNoFailure();
        QCOMPARE(bench_->app.readNative("Category/Cr\xE8me/P\xE2t\xE9"), QByteArray("<missing>"));

        QWidget* entry = show(WindowId::RecipeEntry);
        test::pick(entry, u"cboIng"_s, u"Crème"_s);
        QTest::keyClicks(test::control(entry, u"txtIName"_s), u"Tarte"_s);
        test::click(entry, u"cmdISave"_s);
        expectNoFailure();
        QCOMPARE(bench_->app.readNative("Category/Cr\xE8me/Tarte"), test::record({}));
    }
};

QTEST_MAIN(FileBytesTest)
#include "tst_filebytes.moc"
