// Files as the older program left them, opened, saved, printed and deleted
// through the real screens: every byte and every file name comes through.
#include "cp1252.h"
#include "recipebrowserwindow.h"
#include "recipeentrywindow.h"
#include "road.h"
#include "shoppinglistwindow.h"
#include "storetest.h"

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

}  // namespace

class FileBytesTest : public QObject {
    Q_OBJECT

    std::optional<test::RoadBench> on_;

    // All of a box's text selected and copied.
    static QString copied(const QString& box) {
        return u"key %1=Ctrl+A; key %1=Ctrl+C; "_s.arg(box);
    }

private slots:
    void init() {
        on_.emplace(QList{test::screen<ShoppingListWindow>(WindowId::ShoppingList),
                          test::screen<RecipeEntryWindow>(WindowId::RecipeEntry),
                          test::screen<RecipeBrowserWindow>(WindowId::RecipeBrowser)});
    }
    void cleanup() { on_.reset(); }

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
        QVERIFY(on_->bench.app.write(u"Shopping List/Old.txt"_s, old));
        // A key typed into the list opens the name box; the name stays when a list is opened.
        on_->road.walk(
            u"open; key txtHList=X; type txtHName=%1; click lswHOpen=Old.txt; "_s.arg(name) +
            u"? text txtHList="_s + store::decodeCp1252(old.chopped(2)) + u"; "_s +
            (pasted
                 ? copied(u"txtHList"_s) + u"click cmdHNew; key txtHList=X; set txtHName=%1; "
                                           "key txtHList=Ctrl+A; key txtHList=Ctrl+V; "_s.arg(name)
                 : QString()) +
            u"click cmdHSave; ? shown=; ? error="_s);
        QCOMPARE(on_->bench.app.read(u"Shopping List/"_s + name + u".txt"_s), old);
    }

    // Directions holding every Windows-1252 character but the double quote that
    // ends the field, shown on the browser, copied onto the entry screen and saved.
    void recipeDirectionsKeepEveryByte() {
        const QByteArray old = test::record({{31, everyByte("\"")}});
        QCOMPARE(distinctBytes(old), 251);
        QVERIFY(on_->bench.app.write(u"Category/category.txt"_s, "Soups\r\n"));
        QVERIFY(on_->bench.app.write(u"Category/Soups/Old"_s, old));
        on_->road.walk(
            u"open frmRecipe; pick cboRCat=Soups; click lswRFile=Old; ? text txtRDirec="_s +
            store::decodeCp1252(everyByte("\"")) + u"; "_s + copied(u"txtRDirec"_s) +
            u"open frmIngred; pick cboIng=Soups; type txtIName=Copy; "
            "key txtIDirec=Ctrl+V; click cmdISave; ? shown=; ? error="_s);
        QCOMPARE(on_->bench.app.read(u"Category/Soups/Copy"_s), old);
    }

    // A list named in Windows-1252 bytes is listed by its text, and opens,
    // prints and deletes.
    void oldShoppingListName() {
        const QByteArray file = "Shopping List/Cr\xE8me fra\356che.txt";
        QVERIFY(on_->bench.app.writeNative(file, "2 pots\r\n"));
        test::PdfPrinter printer(on_->bench.app.file(u"list.pdf"_s));
        on_->road.walk(
            u"open; ? listed lswHOpen=Crème fraîche.txt; click lswHOpen=Crème fraîche.txt; "
            "? text txtHList=2 pots; click cmdHPrint; click cmdHDel; ? shown=; ? error="_s);
        QCOMPARE(test::pdfText(on_->bench.app.file(u"list.pdf"_s)).trimmed(), u"2 pots"_s);
        QCOMPARE(on_->bench.app.readNative(file), QByteArray("<missing>"));
    }

    // A category folder and a recipe named in Windows-1252 bytes: listed, shown
    // and deleted by their text; a recipe saved into the category goes into that folder.
    void oldCategoryAndRecipeNames() {
        QVERIFY(on_->bench.app.write(u"Category/category.txt"_s, "Cr\xE8me\r\n"));
        QVERIFY(on_->bench.app.writeNative("Category/Cr\xE8me/"));
        QVERIFY(on_->bench.app.writeNative("Category/Cr\xE8me/P\xE2t\xE9",
                                           test::record({{21, "beurre"}})));
        on_->road.walk(
            u"open frmRecipe; pick cboRCat=Crème; ? listed lswRFile=Pâté; click lswRFile=Pâté; "
            "? text txtRName txtRI1=Pâté|beurre; click chkRDel; ? shown=; ? error=; "
            "open frmIngred; pick cboIng=Crème; type txtIName=Tarte; click cmdISave; "
            "? shown=; ? error="_s);
        QCOMPARE(on_->bench.app.readNative("Category/Cr\xE8me/P\xE2t\xE9"),
                 QByteArray("<missing>"));
        QCOMPARE(on_->bench.app.readNative("Category/Cr\xE8me/Tarte"), test::record({}));
    }
};

QTEST_MAIN(FileBytesTest)
#include "tst_filebytes.moc"
