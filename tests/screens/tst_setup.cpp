#include "road.h"
#include "setupwindow.h"

#include <QtTest>

#include <optional>

using namespace pv;
using namespace Qt::StringLiterals;

namespace {

const QString kList = u"Category/category.txt"_s;
const QString kExists =
    u"User error|4160|This category already exists! You MUST\rdelete it first and then "
    u"re-enter the category."_s;
const QString kDeleted = u"Pantrova|0|1 category is deleted."_s;
const QString kNoneDeleted = u"Pantrova|0|0 category is deleted."_s;
const QString kBadName =
    u"User error|4144|A category name cannot contain / \\ : * ? \" < > | or control "
    u"characters, and cannot start with \".\"."_s;

// The categories listed, each with its folder, and the screen opened.
QString opened(const QStringList& categories) {
    QString steps;
    for (const QString& name : categories) {
        steps += u"mkdir Category/"_s + name + u"; "_s;
    }
    return steps + u"write %1=%2\r\n; open; "_s.arg(kList, categories.join(u"\r\n"_s));
}

}  // namespace

class SetupWindowTest : public QObject {
    Q_OBJECT

    std::optional<test::RoadBench> on_;

    // "mode": the create group enabled, then the delete group, then the screen's own mode.
    QString mode(const QString& probe) {
        const auto* screen = qobject_cast<SetupWindow*>(on_->road.screen());
        return probe != u"mode"_s ? QString()
                                  : on_->road.read(
                                        u"enabled txtSCreate cmdSCreate cmdSCCancel "
                                        "lblSCreate txtSDel cmdSDel cmdSDelCancel "
                                        "lblSDel"_s) +
                                        (screen->inCreateMode() ? u'C' : u'D');
    }

private slots:
    void init() {
        on_.emplace(QList{test::screen<SetupWindow>(WindowId::Setup)});
        on_->road.probe = [this](const QString& probe) { return mode(probe); };
    }
    void cleanup() { on_.reset(); }

    void roads_data() {
        QTest::addColumn<QString>("road");
        QTest::newRow("the list is read by line")
            << u"write %1=Soups\r\nBreads, Cakes\r\n \"Quoted\r\napple Pie\r\n; open; "
               "? listed lswSetup=Soups|Breads, Cakes| \"Quoted|apple Pie; ? shown=; "
               "? mode=11110000C"_s.arg(kList);
        // No list file yet: an empty list, and an empty box only takes the focus. The button
        // and Enter create and delete alike. The list sorts, once sorted it stays sorted;
        // the file keeps the order of creation. An existing name, in any case, empties the
        // box before the message.
        QTest::newRow("created, then deleted")
            << u"open; ? listed lswSetup=; focus cmdSMain; click cmdSCreate; ? focus=txtSCreate; "
               "? tree Category=; type txtSCreate=Soups; click cmdSCreate; ? text txtSCreate=; "
               "type txtSCreate=breads & Cakes; key txtSCreate=Return; type txtSCreate=Apple; "
               "key txtSCreate=Return; ? listed lswSetup=Apple|breads & Cakes|Soups; "
               "? file %1=Soups\r\nbreads & Cakes\r\nApple\r\n; "
               "? tree Category=Apple/|Soups/|breads & Cakes/|category.txt; ? shown=; "
               "during text txtSCreate; type txtSCreate=Soups; click cmdSCreate; "
               "type txtSCreate=SOUPS; click cmdSCreate; ? during=\n; ? shown=%2\n%2; "
               "? file %1=Soups\r\nbreads & Cakes\r\nApple\r\n; ? focus=txtSCreate; "
               "? listed lswSetup=Apple|breads & Cakes|Soups; "
               "? mode=11110000C; click lswSetup=breads & Cakes; click cmdSDel; "
               "? file %1=Soups\r\nApple\r\n; ? listed lswSetup=Apple|Soups; click lswSetup=Apple; "
               "key txtSDel=Return; click lswSetup=Soups; click cmdSDel; ? shown=%3\n%3\n%3; "
               "? file %1=; ? listed lswSetup="_s.arg(kList, kExists, kDeleted);
        // A refused name is the user's to mend: nothing changes, nothing is reported.
        const QString unchanged =
            u"; ? listed lswSetup=Soups; ? windows=frmSetup; ? error=; ? file %1=Soups\r\n; "
            "? tree Category=Soups/|category.txt; ? tree a=<missing>"_s.arg(kList);
        const QString unencodable =
            u"User error|4144|The character \"\u4E2D\" (U+4E2D) cannot be saved. Please remove "
            "or replace it."_s;
        for (const auto& [name, shown] : {std::pair{u"a/b"_s, kBadName},
                                          {u"Pies: sweet"_s, kBadName},
                                          {u"Soup \u4E2D"_s, unencodable}}) {
            QTest::addRow("refused: %s", qPrintable(name))
                << opened({u"Soups"_s}) +
                       u"type txtSCreate=%1; click cmdSCreate; ? shown=%2; ? text txtSCreate=%1"_s
                           .arg(name, shown) +
                       unchanged;
        }
        QTest::newRow("refused: delete a path")
            << opened({u"Soups"_s}) +
                   u"click lswSetup=Soups; set txtSDel=; type txtSDel=../Soups; click cmdSDel; "
                   "? shown=%1; ? text txtSDel=../Soups"_s.arg(kBadName) +
                   unchanged;
        // The screen hides and the report shows what the failing handler recorded.
        const QString reported = u"? windows=frmError; ? busy=0; ? error="_s;
        QTest::newRow("load, no category root")
            << u"remove Category; open; ? shown=; "_s + reported + u"S - FL - 76 Path not found"_s;
        QTest::newRow("load, list is a folder") << u"mkdir %1; open; ? shown=; "_s.arg(kList) +
                                                       reported +
                                                       u"S - FL - 75 Path/File access error"_s;
        QTest::newRow("create, a file where the folder goes")
            << opened({u"Pies"_s}) +
                   u"write Category/Soups=not a folder; type txtSCreate=Soups; click cmdSCreate; "
                   "? shown=; "_s +
                   reported + u"S - CC - 58 File already exists"_s;
        // The list is rewritten and told, then removing the "folder" fails.
        QTest::newRow("delete, a file where the folder is")
            << opened({u"Pies"_s}) +
                   u"write Category/Ghost=not a folder; click lswSetup=Pies; set txtSDel=Ghost; "
                   "click cmdSDel; ? shown=%1; ? file %2=Pies\r\n; "_s.arg(kNoneDeleted, kList) +
                   reported + u"S - CD - 76 Path not found"_s;
        // Cancel, a click that only focuses, the keyboard's pick, Main and back: the screen
        // comes back as left, without reading the list again.
        QTest::newRow("sequences that change nothing")
            << opened({u"Soups"_s, u"Pies"_s}) +
                   u"type txtSCreate=half typed; click cmdSCCancel; ? text txtSCreate=; "
                   "? mode=00001111D; ? focus=txtSDel; click lswSetup=Pies; ? text txtSDel=Pies; "
                   "click cmdSDelCancel; ? text txtSDel=; ? mode=11110000C; ? focus=txtSCreate; "
                   "key lswSetup=End; key lswSetup=Return; ? mode=00001111D; ? text txtSDel=Pies; "
                   "key txtSDel=Ctrl+A; key txtSDel=Backspace; focus cmdSMain; click cmdSDel; "
                   "? focus=txtSDel; ? mode=00001111D; ? file %1=Soups\r\nPies\r\n; "
                   "click lswSetup=Soups; click cmdSMain; ? windows=frmMain; "
                   "write %1=Soups\r\nPies\r\nOther\r\n; open; ? mode=00001111D; "
                   "? text txtSDel=Soups; ? listed lswSetup=Soups|Pies; ? shown="_s.arg(kList);
        // The list is rewritten and told before the folder goes. Delete again on the name
        // left in the box: nothing more goes, and the program carries on.
        QTest::newRow("delete of a listed name")
            << opened({u"Apple Pie"_s, u"Pie"_s, u"Pies"_s}) +
                   u"write Category/Pie/Cherry=\"1\",\"cup\"\r\n; "
                   "during busy,tree Category,file %1; click lswSetup=Pie; click cmdSDel; "
                   "? shown=%2; "
                   "? during=1;Apple Pie/|Pie/|Pie/Cherry|Pies/|category.txt;Apple "
                   "Pie\r\nPies\r\n; "
                   "? busy=0; ? tree Category=Apple Pie/|Pies/|category.txt; ? text txtSDel=Pie; "
                   "? mode=00001111D; click cmdSDel; ? shown=%3; ? windows=frmSetup; "
                   "? file %1=Apple Pie\r\nPies\r\n; ? listed lswSetup=Apple Pie|Pies"_s.arg(
                       kList, kDeleted, kNoneDeleted);
        // Clicks that arrive while the list is rewritten run in the middle of it: the
        // Cancel switches the mode back.
        QTest::newRow("commands wait for a running delete")
            << opened({u"Soups"_s, u"Pie"_s}) +
                   u"click lswSetup=Pie; queue cmdSDel; queue cmdSDelCancel; click cmdSDel; "
                   "? shown=%1; ? file %2=Soups\r\n; ? listed lswSetup=Soups; ? mode=11110000C"_s
                       .arg(kDeleted, kList);
        // Without the category root there is nowhere to put the temporary list.
        QTest::newRow("delete without a temporary file")
            << opened({u"Soups"_s}) +
                   u"click lswSetup=Soups; move Category=Elsewhere; click cmdSDel; "
                   "? shown=Pantrova|0|Error getting temporary file path.; ? busy=0; "
                   "? windows=frmSetup; ? error=; ? listed lswSetup=Soups; ? text txtSDel=Soups; "
                   "? file Elsewhere/category.txt=Soups\r\n"_s;
    }
    void roads() {
        QFETCH(QString, road);
        on_->road.walk(road);
    }
};

QTEST_MAIN(SetupWindowTest)
#include "tst_setup.moc"
