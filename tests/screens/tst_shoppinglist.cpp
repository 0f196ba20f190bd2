#include "notice.h"
#include "road.h"
#include "shoppinglistwindow.h"

#include <QtTest>

#include <optional>

using namespace pv;
using namespace Qt::StringLiterals;

namespace {

const QString kPickFirst =
    u"User error|4144|Please click the shopping list you want to delete in the 'Shopping list "
    "files' box first."_s;
// Two lists, the screen opened, text typed in the list box.
const QString kTwoLists =
    u"write Shopping List/weekly.txt=milk\r\n; write Shopping List/other.txt=tea\r\n; open; "_s;
// A key through the keyboard (a blank, replaced) opens the name box as typing does.
QString typed(const QString& text) {
    return u"key txtHList=Space; set txtHList=%1; "_s.arg(text);
}

}  // namespace

class ShoppingListTest : public QObject {
    Q_OBJECT

    std::optional<test::RoadBench> on_;

    // "name box": locked (label and box disabled, button-face background) or open.
    QString nameBox(const QString& probe) const {
        auto* screen = qobject_cast<ShoppingListWindow*>(on_->road.screen());
        if (probe != u"name box"_s) {
            return QString();
        }
        const QColor base = test::control(screen, u"txtHName"_s)->palette().color(QPalette::Base);
        const QList<bool> locked = {screen->nameBoxLocked(),
                                    !test::control(screen, u"lblHName"_s)->isEnabled(),
                                    base == screen->palette().color(QPalette::Button),
                                    base != screen->palette().color(QPalette::Base)};
        return locked.count(true) == 4    ? u"locked"_s
               : locked.count(false) == 4 ? u"open"_s
                                          : u"mixed"_s;
    }

private slots:
    void cleanup() { on_.reset(); }
    void init() {
        on_.emplace(QList{test::screen<ShoppingListWindow>(WindowId::ShoppingList)});
        on_->road.probe = [this](const QString& probe) { return nameBox(probe); };
    }

    void saveThenOpenRoundTrips_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("three lines") << u"Week 1"_s << u"milk\r\neggs\r\nbread"_s << u"Week 1.txt"_s
                                     << QByteArray("milk\r\neggs\r\nbread\r\n");
        QTest::newRow("commas, quotes, leading blanks")
            << u"party"_s << u"  2 lb \"red\" apples, washed\r\n,,\r\n   \""_s << u"party.txt"_s
            << QByteArray("  2 lb \"red\" apples, washed\r\n,,\r\n   \"\r\n");
        QTest::newRow("empty name") << QString() << u"tea"_s << u".txt"_s << QByteArray("tea\r\n");
        QTest::newRow("empty list")
            << u"nothing"_s << QString() << u"nothing.txt"_s << QByteArray("\r\n");
        QTest::newRow("Windows-1252")
            << u"caf\u00e9"_s << u"p\u00e2t\u00e9 \u20ac3"_s << u"caf\u00e9.txt"_s
            << QByteArray(
                   "p\xe2t\xe9 \x80"
                   "3\r\n");
    }
    // Every file of the folder is listed, whatever its extension, in case-folded order;
    // folders are not. A list saved is listed the next time the screen is loaded; it
    // opens by keyboard, and the name box keeps its text.
    void saveThenOpenRoundTrips() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QString, fileName);
        on_->road.walk(
            u"write Shopping List/Zz.doc=x; mkdir Shopping List/sub; open; "_s + typed(text) +
            u"type txtHName=%1; click cmdHSave; ? listed lswHOpen=Zz.doc; "
            "? text txtHList=%2; ? text txtHName=%1; ? shown=; ? error="_s.arg(name, text));
        QTEST(on_->bench.app.read(u"Shopping List/"_s + fileName), "bytes");
        windows().reset();
        test::registerStandIns({WindowId::Main, WindowId::Error, WindowId::Calendar});
        windows().registerWindow(WindowId::ShoppingList, [] { return new ShoppingListWindow; });
        on_->road.walk(
            u"open; ? listed lswHOpen=%1|Zz.doc; "_s.arg(fileName) + typed(u"x"_s) +
            u"type txtHName=kept; select lswHOpen=%2; ? text txtHList=x; "
            "key lswHOpen=Return; ? text txtHList=%1; ? text txtHName=kept; ? error="_s.arg(
                text, fileName));
    }

    void roads_data() {
        QTest::addColumn<QString>("road");
        // A failure shows the error report with its location.
        const QString weekly = u"write Shopping List/weekly.txt=milk\r\n; "_s;
        const QString reported = u"? windows=frmError; ? error="_s;
        QTest::newRow("load, folder gone") << weekly + u"remove Shopping List; open; "_s +
                                                  reported + u"H - FL - 76 Path not found"_s;
        QTest::newRow("open, file gone")
            << weekly + u"open; "_s + typed(u"text"_s) +
                   u"select lswHOpen=weekly.txt; remove Shopping List/weekly.txt; key lswHOpen=Return; "_s +
                   reported + u"H - LF - 53 File not found"_s;
        QTest::newRow("delete, file gone")
            << weekly + u"open; "_s + typed(u"text"_s) +
                   u"select lswHOpen=weekly.txt; key lswHOpen=Return; remove Shopping "
                   u"List/weekly.txt; "
                   "click cmdHDel; "_s +
                   reported + u"H - CD - 53 File not found"_s;
        // Reached by Tab, a lone list is under the focus frame but not picked: Enter
        // opens nothing, Space picks and opens it.
        QTest::newRow("a lone list, by keyboard")
            << u"write Shopping List/weekly.txt=milk\r\n; open; focus lswHOpen; "
               "? selected lswHOpen=; key lswHOpen=Return; ? text txtHList=; "
               "key lswHOpen=Space; ? selected lswHOpen=weekly.txt; ? text txtHList=milk; "
               "? shown=; ? error="_s;
        QTest::newRow("save, folder gone")
            << weekly + u"open; "_s + typed(u"text"_s) +
                   u"remove Shopping List; type txtHName=n; click cmdHSave; "_s + reported +
                   u"H - CS - 76 Path not found"_s;
        QTest::newRow("save onto a folder")
            << weekly + u"open; "_s + typed(u"text"_s) +
                   u"mkdir Shopping List/n.txt; type txtHName=n; click cmdHSave; "_s + reported +
                   u"H - CS - 75 Path/File access error"_s;

        // Delete deletes only the list on screen, opened from the item still picked (its
        // item goes with it); else it asks for a list to be picked and the typed text and
        // every file stay. Beside the names the item picked before opens nothing.
        const QString asked =
            u"? tree Shopping List=other.txt|weekly.txt; ? listed lswHOpen=other.txt|weekly.txt; "
            "? shown=%1; ? error=; ? windows=frmShop"_s.arg(kPickFirst);
        const QString beside = u"click lswHOpen; click cmdHDel; ? text txtHList="_s;
        QTest::newRow("nothing picked, a click beside the names")
            << kTwoLists + typed(u"eggs"_s) + beside + u"eggs; "_s + asked;
        QTest::newRow("a list opened, then typing and a click beside the names")
            << kTwoLists + u"click lswHOpen=weekly.txt; ? text txtHList=milk; "_s +
                   typed(u"milkeggs"_s) + beside + u"milkeggs; "_s + asked;
        QTest::newRow("New after Open, then typing")
            << kTwoLists +
                   u"click lswHOpen=weekly.txt; click cmdHNew; ? selected lswHOpen=; ? current lswHOpen=; "_s +
                   typed(u"eggs"_s) + u"click cmdHDel; ? text txtHList=eggs; "_s + asked;
        QTest::newRow("arrow keys moved to another list")
            << kTwoLists +
                   u"click lswHOpen=weekly.txt; key lswHOpen=Up; ? selected lswHOpen=other.txt; "
                   "click cmdHDel; ? text txtHList=milk; "_s +
                   asked;
        QTest::newRow("the opened list")
            << kTwoLists +
                   u"click lswHOpen=weekly.txt; click cmdHDel; ? text txtHList=; "
                   "? tree Shopping List=other.txt; ? listed lswHOpen=other.txt; "
                   "? shown=; ? error=; ? windows=frmShop"_s;

        // A leading dot would hide the file: saved, the list would never be listed.
        for (const QString& name : {u"a/b"_s, u".weekly"_s}) {
            QTest::addRow("refused name %s", qPrintable(name))
                << u"open; "_s + typed(u"milk"_s) +
                       u"type txtHName=%1; click cmdHSave; ? shown=User error|4144|A shopping list "
                       "name cannot contain / \\ : * ? \" < > | or control characters, and "
                       "cannot start with \".\".; ? error=; ? windows=frmShop; "
                       "? text txtHList=milk; ? text txtHName=%1; ? tree Shopping List="_s.arg(
                           name);
        }
        QTest::newRow("no calendar icon: the category notice")
            << u"remove images/Calendar.ico; open; ? shown=User error|4144|%1; ? error=; "
               "? windows=frmMain|frmShop"_s.arg(noCategoryText());
        // The name box is locked after Load, New, Open and Delete, and opened by a key that
        // types a character in the list box. Delete needs text; it deletes the opened file
        // and its item, and clears both boxes.
        QTest::newRow("new, open, delete, save")
            << kTwoLists +
                   u"? name box=locked; key txtHList=Left; key txtHList=Down; key txtHList=Home; "
                   "key txtHList=Shift; key txtHList=F5; ? name box=locked; key txtHList=Return; "
                   "? name box=open; click cmdHNew; ? name box=locked; ? focus=txtHList; "
                   "? text txtHList=; select lswHOpen=weekly.txt; click cmdHDel; "
                   "? tree Shopping List=other.txt|weekly.txt; type txtHList=q; "
                   "? text txtHList=q; ? name box=open; click lswHOpen=weekly.txt; "
                   "? name box=locked; type txtHList=z; type txtHName=kept?; click cmdHDel; "
                   "? name box=locked; ? tree Shopping List=other.txt; ? text txtHList=; "
                   "? text txtHName=; ? listed lswHOpen=other.txt; type txtHList=a; "
                   "type txtHName=n; click cmdHSave; ? name box=open; ? shown=; ? error="_s;
        // The calendar opens from its picture (click or Space) and its menu item; Main
        // hides it with the screen, which keeps its contents.
        QTest::newRow("menu and calendar")
            << u"write Shopping List/m.txt=stale\r\n; open; "_s + typed(u"milk"_s) +
                   u"type txtHName=m; menu SMXPH=keySave; ? file Shopping List/m.txt=milk\r\n; "
                   "? listed lswHOpen=m.txt; click imgHCal; ? windows=frmShop|frmCalendar; "
                   "menu SMXPH=keyMain; ? windows=frmMain; hide frmMain; open; ? text "
                   "txtHList=milk; "
                   "key imgHCal=Space; ? windows=frmShop|frmCalendar; hide frmCalendar; "
                   "menu SMXPH=keyCalendar; ? windows=frmShop|frmCalendar; menu SMXPH=keyNew; ? "
                   "text txtHList=; "
                   "? text txtHName="_s;
        // Which of the four hints is lit after the pointer moves over a control.
        const QString hints = u"? lit lblHMsg lblHMsg1 lblHMsg2 lblHMsg3="_s;
        QTest::newRow("hover hints")
            << u"open; "_s + typed(u"a"_s) + u"hover txtHList; "_s + hints +
                   u"0100; hover txtHName; "_s + hints + u"0110; hover clientArea; "_s + hints +
                   u"0000; hover lswHOpen; hover lblHName; hover imgHCal; "_s + hints +
                   u"1011; hover clientArea; "_s + hints + u"0000"_s;
    }
    void roads() {
        QFETCH(QString, road);
        on_->road.walk(road);
    }

    // The menus themselves run no command.
    void menusRunNothing() {
        on_->road.walk(u"open; "_s + typed(u"milk"_s));
        for (QAction* top : test::control(on_->road.screen(), u"SMXPH"_s)->actions()) {
            top->trigger();
        }
        on_->road.walk(u"? windows=frmShop; ? text txtHList=milk; ? shown="_s);
    }

    // Print prints the saved file of the selected item; a cancelled dialog or no item
    // selected ends quietly.
    void printPrintsTheSavedFileOrNothing() {
        test::PdfPrinter pdf(on_->bench.app.file(u"list.pdf"_s));
        pdf.answers = {false, true, true};
        on_->road.walk(
            u"write Shopping List/weekly.txt=milk\r\neggs\r\n; open; "_s + typed(u"not printed"_s) +
            u"select lswHOpen=weekly.txt; click cmdHPrint; "
            "select lswHOpen; click cmdHPrint; ? file list.pdf=<missing>; "
            "select lswHOpen=weekly.txt; menu SMXPH=keyPrint; ? shown=; ? error=; ? windows=frmShop"_s);
        QCOMPARE(pdf.dialogsShown, 3);
        QCOMPARE(test::pdfText(pdf.printer()->outputFileName()).trimmed(), u"milk\neggs"_s);
    }
};

QTEST_MAIN(ShoppingListTest)
#include "tst_shoppinglist.moc"
