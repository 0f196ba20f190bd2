// Files as the older program left them, opened, saved, printed and deleted
// through the real screens: every byte and every file name comes through.
#include "cp1252.h"
#include "errorstate.h"
#include "multilinebox.h"
#include "recipebrowserwindow.h"
#include "recipeentrywindow.h"
#include "shoppinglistwindow.h"
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

#include <memory>
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

// A recipe file of one record with the given fields set (1-based).
QByteArray record(const QMap<int, QByteArray>& set) {
    QByteArray bytes;
    for (int field = 1; field <= 35; ++field) {
        bytes += (field > 1 ? ",\"" : "\"") + set.value(field) + '"';
    }
    return bytes + "\r\n";
}

void selectAllAndCopy(QWidget* box) {
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
}

}  // namespace

class FileBytesTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempAppFolder> app_;
    std::unique_ptr<test::RecordingMessages> messages_;

    template <typename T = QWidget>
    static T* child(QWidget* screen, const QString& name) {
        T* found = screen->findChild<T*>(name);
        if (!found) {
            qWarning("no control %s", qPrintable(name));
        }
        return found;
    }
    static void click(QWidget* screen, const QString& button) {
        QTest::mouseClick(child<QPushButton>(screen, button), Qt::LeftButton);
    }
    static void clickListed(QAbstractItemView* list, const QString& name) {
        const QModelIndexList found = list->model()->match(
            list->model()->index(0, 0), Qt::DisplayRole, name, 1, Qt::MatchExactly);
        QVERIFY2(!found.isEmpty(), qPrintable(name));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(found.first()).center());
    }
    static QStringList listed(QAbstractItemView* list) {
        QStringList names;
        for (int row = 0; row < list->model()->rowCount(); ++row) {
            names << list->model()->index(row, 0).data().toString();
        }
        return names;
    }
    static void pick(QWidget* screen, const QString& box, const QString& category) {
        auto* categories = child<QComboBox>(screen, box);
        categories->setCurrentIndex(categories->findText(category));
        QVERIFY(categories->currentIndex() >= 0);
        emit categories->activated(categories->currentIndex());
    }
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
        QVERIFY(messages_->shown.isEmpty());
    }

private slots:
    void init() {
        app_ = std::make_unique<test::TempAppFolder>();
        messages_ = std::make_unique<test::RecordingMessages>();
        programErrors() = {};
        windows().registerWindow(WindowId::ShoppingList, [] { return new ShoppingListWindow; });
        windows().registerWindow(WindowId::RecipeEntry, [] { return new RecipeEntryWindow; });
        windows().registerWindow(WindowId::RecipeBrowser, [] { return new RecipeBrowserWindow; });
        test::registerStandIns({WindowId::Main, WindowId::Error, WindowId::Calendar});
    }
    void cleanup() {
        windows().reset();
        messages_.reset();
        app_.reset();
    }

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
        QVERIFY(app_->write(u"Shopping List/Old.txt"_s, old));
        QWidget* shop = show(WindowId::ShoppingList);
        auto* list = child<MultiLineBox>(shop, u"txtHList"_s);
        auto* nameBox = child<QLineEdit>(shop, u"txtHName"_s);
        // A key typed into the list opens the name box; the name stays when a list is opened.
        QTest::keyClick(list, Qt::Key_X);
        QTest::keyClicks(nameBox, name);
        clickListed(child<QListWidget>(shop, u"lswHOpen"_s), u"Old.txt"_s);
        QCOMPARE(list->text(), store::decodeCp1252(old.chopped(2)));
        if (pasted) {
            selectAllAndCopy(list);
            click(shop, u"cmdHNew"_s);
            QTest::keyClick(list, Qt::Key_X);
            nameBox->setText(name);
            QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(list, Qt::Key_V, Qt::ControlModifier);
        }
        click(shop, u"cmdHSave"_s);
        expectNoFailure();
        QCOMPARE(app_->read(u"Shopping List/"_s + name + u".txt"_s), old);
    }

    // Directions holding every Windows-1252 character but the double quote that
    // ends the field, shown on the browser, copied onto the entry screen and saved.
    void recipeDirectionsKeepEveryByte() {
        const QByteArray old = record({{31, everyByte("\"")}});
        QCOMPARE(distinctBytes(old), 251);
        QVERIFY(app_->write(u"Category/category.txt"_s, "Soups\r\n"));
        QVERIFY(QDir(app_->path()).mkpath(u"Category/Soups"_s));
        QVERIFY(app_->write(u"Category/Soups/Old"_s, old));

        QWidget* browser = show(WindowId::RecipeBrowser);
        pick(browser, u"cboRCat"_s, u"Soups"_s);
        clickListed(child<QListView>(browser, u"lswRFile"_s), u"Old"_s);
        auto* shown = child<MultiLineBox>(browser, u"txtRDirec"_s);
        QCOMPARE(shown->text(), store::decodeCp1252(everyByte("\"")));
        selectAllAndCopy(shown);

        QWidget* entry = show(WindowId::RecipeEntry);
        pick(entry, u"cboIng"_s, u"Soups"_s);
        QTest::keyClicks(child(entry, u"txtIName"_s), u"Copy"_s);
        auto* directions = child<MultiLineBox>(entry, u"txtIDirec"_s);
        directions->setFocus();
        QTest::keyClick(directions, Qt::Key_V, Qt::ControlModifier);
        click(entry, u"cmdISave"_s);
        expectNoFailure();
        QCOMPARE(app_->read(u"Category/Soups/Copy"_s), old);
    }

    // A list named in Windows-1252 bytes is listed by its text, and opens,
    // prints and deletes.
    void oldShoppingListName() {
        QVERIFY(
            app_->writeNative("Shopping List/Cr\xE8me fra\xEE"
                              "che.txt",
                              "2 pots\r\n"));
        QWidget* shop = show(WindowId::ShoppingList);
        auto* files = child<QListWidget>(shop, u"lswHOpen"_s);
        QCOMPARE(listed(files), QStringList{u"Crème fraîche.txt"_s});
        clickListed(files, u"Crème fraîche.txt"_s);
        QCOMPARE(child<MultiLineBox>(shop, u"txtHList"_s)->text(), u"2 pots"_s);

        test::PdfPrinter printer(app_->file(u"list.pdf"_s));
        click(shop, u"cmdHPrint"_s);
        QCOMPARE(test::pdfText(app_->file(u"list.pdf"_s)).trimmed(), u"2 pots"_s);

        click(shop, u"cmdHDel"_s);
        expectNoFailure();
        QCOMPARE(app_->readNative("Shopping List/Cr\xE8me fra\xEE"
                                  "che.txt"),
                 QByteArray("<missing>"));
    }

    // A category folder and a recipe named in Windows-1252 bytes: listed, shown
    // and deleted by their text; a recipe saved into the category goes into that folder.
    void oldCategoryAndRecipeNames() {
        QVERIFY(app_->write(u"Category/category.txt"_s, "Cr\xE8me\r\n"));
        QVERIFY(app_->writeNative("Category/Cr\xE8me/"));
        QVERIFY(app_->writeNative("Category/Cr\xE8me/P\xE2t\xE9", record({{21, "beurre"}})));

        QWidget* browser = show(WindowId::RecipeBrowser);
        pick(browser, u"cboRCat"_s, u"Crème"_s);
        auto* files = child<QListView>(browser, u"lswRFile"_s);
        QCOMPARE(listed(files), QStringList{u"Pâté"_s});
        clickListed(files, u"Pâté"_s);
        QCOMPARE(child<QLineEdit>(browser, u"txtRName"_s)->text(), u"Pâté"_s);
        QCOMPARE(child<QLineEdit>(browser, u"txtRI1"_s)->text(), u"beurre"_s);
        child<QCheckBox>(browser, u"chkRDel"_s)->click();
        expectNoFailure();
        QCOMPARE(app_->readNative("Category/Cr\xE8me/P\xE2t\xE9"), QByteArray("<missing>"));

        QWidget* entry = show(WindowId::RecipeEntry);
        pick(entry, u"cboIng"_s, u"Crème"_s);
        QTest::keyClicks(child(entry, u"txtIName"_s), u"Tarte"_s);
        click(entry, u"cmdISave"_s);
        expectNoFailure();
        QCOMPARE(app_->readNative("Category/Cr\xE8me/Tarte"), record({}));
    }
};

QTEST_MAIN(FileBytesTest)
#include "tst_filebytes.moc"
