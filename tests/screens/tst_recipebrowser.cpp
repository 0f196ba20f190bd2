#include "recipebrowserwindow.h"
#include "road.h"
#include "storetest.h"

#include <QtTest>

#include <optional>

using namespace pv;
using namespace Qt::StringLiterals;

namespace {

// The texts New and Main write back, and the display emptied.
const QString kWrittenBack =
    u"? text txtRSrv txtRTemp1 Text1 Text2 Text3 Text4 Text5 Text6 txtRHr txtRMin txtRName "
    "txtRDate txtRSize txtRI1 txtRTemp txtRDirec=Srv:|F|Amt|Type|Ingredients|Amt|Type|"
    "Ingredients|H|M||||||; ? text txtRSlash=%1; ? listed lswRFile=; ? checked chkRDel=0"_s.arg(
        QString(121, u'-'));
const QString kStew = u"pick cboRCat=Soups; click lswRFile=Stew; "_s;

QString missing(const QString& category, const QString& consequence) {
    return u"? text txtRName=; ? listed lswRFile=; ? enabled chkRDel=0; ? checked chkRDel=0; "
           "? shown=User error|4144|The folder of the category \"%1\" is missing.\r%2; ? error=; "
           "? windows=frmRecipe; pick cboRCat=Pies; ? listed lswRFile=Apple"_s.arg(category,
                                                                                   consequence);
}

}  // namespace

class RecipeBrowserTest : public QObject {
    Q_OBJECT

    std::optional<test::RoadBench> on_;

private slots:
    void init() {
        on_.emplace(QList{test::screen<RecipeBrowserWindow>(WindowId::RecipeBrowser)});
        on_->road.walk(
            u"write Category/category.txt=Soups\r\nPies\r\nEmpty\r\nGone\r\n; "
            "mkdir Category/Soups; mkdir Category/Pies; mkdir Category/Empty; "
            "write Category/Soups/Stew=%1; write Category/Soups/borscht.txt=%2; "
            "write Category/Pies/Apple=%3"_s.arg(
                QString::fromLatin1(test::record({{1, "2"},
                                                  {10, "1"},
                                                  {11, "lbs"},
                                                  {20, "tsp"},
                                                  {21, "beef"},
                                                  {30, "salt"},
                                                  {31, "Brown.\r\nSimmer."},
                                                  {32, "325"},
                                                  {33, "6"},
                                                  {34, "2"},
                                                  {35, "15"}})),
                QString::fromLatin1(test::record({{21, "beets"}})),
                QString::fromLatin1(test::record({{21, "apples"}}))));
    }
    void cleanup() { on_.reset(); }

    void menuBarItemsAndDispatch() {
        on_->road.walk(u"open; "_s + kStew);
        emit test::control<ScreenMenuBar>(on_->road.screen(), u"SMXPR"_s)->itemClicked(4);
        test::PdfPrinter printer(on_->bench.app.file(u"menu.pdf"_s));
        // A separator does nothing.
        on_->road.walk(
            u"? text txtRName=Stew; menu SMXPR=keyNew; ? text txtRName=; "
            "menu SMXPR=keyPrint; menu SMXPR=keyMain; ? windows=frmMain"_s);
        QCOMPARE(printer.dialogsShown, 1);
    }

    void roads_data() {
        QTest::addColumn<QString>("road");
        // Picking again reads the folder again.
        QTest::newRow("picking a category lists its files")
            << u"open; write Category/Soups/notes.doc=not a recipe; mkdir Category/Soups/sub; "
               "pick cboRCat=Soups; ? listed lswRFile=borscht.txt|notes.doc|Stew; "
               "pick cboRCat=Empty; ? listed lswRFile=; write Category/Empty/Fresh=%1; "
               "pick cboRCat=Empty; ? listed lswRFile=Fresh; ? shown="_s.arg(
                   QString::fromLatin1(test::record()));
        // A listed category whose folder is missing, picked, or removed outside the program
        // after its files were listed or while one of its recipes is shown.
        const QString unlisted = u"Its recipes cannot be listed."_s;
        QTest::newRow("missing folder: picked")
            << u"open; pick cboRCat=Soups; pick cboRCat=Gone; "_s + missing(u"Gone"_s, unlisted);
        QTest::newRow("missing folder: removed, then a file clicked")
            << u"open; pick cboRCat=Soups; remove Category/Soups; click lswRFile=Stew; "_s +
                   missing(u"Soups"_s, unlisted);
        QTest::newRow("missing folder: removed, then the box ticked")
            << u"open; "_s + kStew + u"remove Category/Soups; click chkRDel; "_s +
                   missing(u"Soups"_s, u"The recipe shown is no longer there."_s);
        // By mouse and by keyboard; the name shown is the file name, extension and all; of
        // two records the second is shown.
        QTest::newRow("a file clicked shows the recipe")
            << u"write Category/Soups/Twice=%1%2; open; pick cboRCat=Soups; ? enabled chkRDel=0; "
               "click lswRFile=Stew; ? enabled chkRDel=1; ? checked chkRDel=0; "
               "? text txtRName txtRSize txtRA1 txtRT1 txtRI1 txtRA2 txtRA10 txtRT10 txtRI10 "
               "txtRTemp txtRHr1 txtRMin1 txtRSrv txtRHr txtRMin txtRDirec="
               "Stew|6|2|lbs|beef||1|tsp|salt|325|2|15|Size:|H:|M:|Brown.\r\nSimmer.; "
               "? text txtRDate=%3; click lswRFile=borscht.txt; "
               "? text txtRName txtRI1 txtRI10=borscht.txt|beets|; click lswRFile=Twice; "
               "? text txtRI1 txtRSize txtRDirec=second|2|a\r\nb; key lswRFile=Up; "
               "key lswRFile=Return; ? text txtRName=Stew; ? enabled chkRDel=1; ? shown="_s.arg(
                   QString::fromLatin1(test::record({{21, "first"}, {33, "1"}})),
                   QString::fromLatin1(test::record({{21, "second"}, {33, "2"}, {31, "a\r\nb"}})),
                   QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
        // A file that cannot be read ends in the error report, the display empty.
        const QString unreadable =
            u"open; pick cboRCat=Pies; %1click lswRFile=notes.txt; ? windows=frmError; ? shown=; "
            "? text txtRName=; ? error=R - LF - %2 %3"_s;
        QTest::newRow("unreadable: foreign file")
            << u"write Category/Pies/notes.txt=just some notes\r\n; "_s +
                   unreadable.arg(QString(), u"62"_s, u"Input past end of file"_s);
        QTest::newRow("unreadable: 34 fields")
            << u"write Category/Pies/notes.txt=%1; "_s.arg(
                   QString::fromLatin1(test::record().replace(",\"\"\r\n", "\r\n"))) +
                   unreadable.arg(QString(), u"62"_s, u"Input past end of file"_s);
        QTest::newRow("unreadable: gone since picked")
            << u"write Category/Pies/notes.txt=x; "_s +
                   unreadable.arg(u"remove Category/Pies/notes.txt; "_s, u"53"_s,
                                  u"File not found"_s);
        // Off the names the first file is the selected item, though not marked selected; on
        // an empty list a click shows nothing and the screen stays.
        QTest::newRow("clicks beside the names")
            << u"open; pick cboRCat=Pies; click lswRFile; ? text txtRName=Apple; "
               "? enabled chkRDel=0; pick cboRCat=Empty; click lswRFile; ? error=; "
               "? windows=frmRecipe; ? text txtRName=Apple"_s;
        // A file gone behind the program's back ends in the error report.
        QTest::newRow("checking the box deletes the file")
            << u"open; "_s + kStew + u"click chkRDel; ? tree Category/Soups=borscht.txt; "_s +
                   kWrittenBack +
                   u"; ? enabled chkRDel=0; ? text cboRCat=Soups; ? shown=; pick cboRCat=Soups; "
                   "? listed lswRFile=borscht.txt; click lswRFile=borscht.txt; "
                   "remove Category/Soups/borscht.txt; click chkRDel; ? windows=frmError; "
                   "? error=R - CD - 53 File not found; ? shown="_s;
        // The box deletes the file whose recipe is shown, never whichever item is current;
        // picking a category disables it, as New does.
        const QString picked =
            u"pick cboRCat=Pies; ? enabled chkRDel=0; ? checked chkRDel=0; "
            "? text txtRName=Stew; click chkRDel; ? checked chkRDel=0; "_s;
        const QString quiet = u"? shown=; ? error="_s;
        QTest::newRow("another category picked")
            << u"open; "_s + kStew + picked +
                   u"? tree Category/Soups=Stew|borscht.txt; ? tree Category/Pies=Apple; "_s +
                   quiet;
        QTest::newRow("arrow keys moved the current item")
            << u"open; "_s + kStew +
                   u"key lswRFile=Up; ? current lswRFile=borscht.txt; ? text txtRName=Stew; "
                   "click chkRDel; ? tree Category/Soups=borscht.txt; ? tree Category/Pies=Apple; "_s +
                   kWrittenBack + u"; "_s + quiet;
        QTest::newRow("another category picked, one of its recipes shown")
            << u"open; "_s + kStew + picked +
                   u"click lswRFile=Apple; click chkRDel; ? tree Category/Soups=Stew|borscht.txt; "
                   "? tree Category/Pies=; "_s +
                   kWrittenBack + u"; "_s + quiet;
        // Main leaves the box enabled; the next activation disables it.
        const QString typed = u"open; "_s + kStew + u"set Text2=typed; click "_s;
        QTest::newRow("New writes back the fixed texts")
            << typed + u"cmdRNew; "_s + kWrittenBack +
                   u"; ? text cboRCat=Soups; ? windows=frmRecipe; ? enabled chkRDel=0"_s;
        QTest::newRow("Main writes back the fixed texts")
            << typed + u"cmdRMain; "_s + kWrittenBack +
                   u"; ? text cboRCat=Soups; ? windows=frmMain; ? enabled chkRDel=1; open; "
                   "? enabled chkRDel=0; ? listed cboRCat=Soups|Pies|Empty|Gone"_s;
        // The frame puts back only its own three hints.
        QTest::newRow("hover hints")
            << u"open; hover cmdRMain; ? lit lblRmsg3=1; hover chkRDel; ? lit lblRMsg2=1; "
               "hover fraRWhich; ? lit lblRMsg2 lblRmsg3=01"_s;
    }
    void roads() {
        QFETCH(QString, road);
        on_->road.walk(road);
    }

    void hintsAreBlueUntilAMove() {
        on_->road.walk(u"open"_s);
        QCOMPARE(HoverHints::colourOf(test::control<QLabel>(on_->road.screen(), u"lblRmsg3"_s)),
                 QColor(0, 0, 255));
    }
};

QTEST_MAIN(RecipeBrowserTest)
#include "tst_recipebrowser.moc"
