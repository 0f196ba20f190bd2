#include "digitfilter.h"
#include "failures.h"
#include "notice.h"
#include "recipebrowserwindow.h"
#include "recipeentrywindow.h"
#include "road.h"
#include "setupwindow.h"
#include "storetest.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QtTest>

#include <optional>

using namespace pv;
using namespace Qt::StringLiterals;

namespace {

const QString kUserError = u"User error|4144|"_s;
const QString kEmpty = QString::fromLatin1(test::record());

}  // namespace

class RecipeEntryTest : public QObject {
    Q_OBJECT

    std::optional<test::RoadBench> on_;

private slots:
    void init() {
        on_.emplace(QList{test::screen<RecipeEntryWindow>(WindowId::RecipeEntry),
                          test::screen<RecipeBrowserWindow>(WindowId::RecipeBrowser),
                          test::screen<SetupWindow>(WindowId::Setup)});
        on_->road.walk(
            u"write Category/category.txt=Soups\r\nBreads, Cakes\r\nPies\r\n; "
            "mkdir Category/Soups; mkdir Category/Pies"_s);
    }
    void cleanup() { on_.reset(); }

    void menuBarItemsAndDispatch() {
        on_->road.walk(u"remove images/Save.ico; open"_s);
        auto* bar = test::control<ScreenMenuBar>(on_->road.screen(), u"SMXPI"_s);
        // A missing icon costs only its picture.
        QVERIFY(bar->actionFor(u"keySave"_s)->icon().isNull());
        QVERIFY(!bar->actionFor(u"keyMain"_s)->icon().isNull());
        on_->road.walk(
            u"pick cboIng=Soups; set txtIName=Stew; menu SMXPI=keySave; "
            "? tree Category/Soups=Stew; menu SMXPI=keyNew; ? text txtIName=; "
            "menu SMXPI=keyMain; ? windows=frmMain; ? shown=; ? error="_s);
    }

    void roads_data() {
        QTest::addColumn<QString>("road");
        // Both recipe screens read the category list alike; a failure has the screen's code.
        for (const auto& [window, box, code] : {std::tuple{u"frmIngred"_s, u"cboIng"_s, u"I"_s},
                                                {u"frmRecipe"_s, u"cboRCat"_s, u"R"_s}}) {
            const QString loaded =
                u"open %1; ? text %2=; ? editable %2=0; ? listed %2="_s.arg(window, box);
            QTest::addRow("%s: by line and comma", qPrintable(window))
                << loaded +
                       u"Soups|Breads|Cakes|Pies; ? windows=%1; ? shown=; ? error="_s.arg(window);
            QTest::addRow("%s: missing list, the notice", qPrintable(window))
                << u"remove Category/category.txt; "_s + loaded +
                       u"; ? windows=frmMain|%1; ? shown=%2%3; ? error="_s.arg(window, kUserError,
                                                                               noCategoryText());
            QTest::addRow("%s: a folder in the list's place, the error report", qPrintable(window))
                << u"remove Category/category.txt; mkdir Category/category.txt; "_s + loaded +
                       u"; ? windows=frmError; ? shown=; ? error=%1 - FL - 75 Path/File access error"_s
                           .arg(code);
        }

        QMap<int, QByteArray> fields{{11, "lbs"},   {17, " cups "},
                                     {27, "broth"}, {31, "Slice.\r\nSimmer."},
                                     {34, "1h"},    {35, "30"}};
        const QString first = QString::fromLatin1(test::record(fields));
        fields[11] = "kg";
        // The boxes keep their text; saved again under the same name, the file is replaced;
        // an empty recipe is 35 empty fields.
        QTest::newRow("saved byte for byte")
            << u"open; pick cboIng=Soups; set txtIName=Onion soup; set txtIT1=lbs; "
               "set txtIT7= cups ; set txtIN7=broth; set txtICHr=1h; set txtICMin=30; "
               "set txtIDirec=Slice.\r\nSimmer.; click cmdISave; ? file Category/Soups/Onion "
               "soup=%1; "
               "? text txtIName=Onion soup; set txtIT1=kg; click cmdISave; "
               "? file Category/Soups/Onion soup=%2; click cmdINew; set txtIName=Blank; "
               "click cmdISave; ? file Category/Soups/Blank=%3; "
               "? tree Category/Soups=Blank|Onion soup; ? shown="_s.arg(
                   first, QString::fromLatin1(test::record(fields)), kEmpty);

        // A refused save is the user's to mend: the boxes keep their text, nothing is written.
        using store::Refusal, store::refusalMessage;
        const QString refused =
            u"click cmdISave; ? shown=%1%2; ? windows=frmIngred; ? error=; "
            "? text txtIName txtIN3=%3; ? tree Category=Pies/|Soups/|category.txt"_s;
        QTest::newRow("refused: no category")
            << u"open; set txtIName=Stew; set txtIN3=beef; "_s +
                   refused.arg(kUserError, refusalMessage(Refusal::EmptyCategory), u"Stew|beef"_s);
        QTest::newRow("refused: no name")
            << u"open; pick cboIng=Soups; set txtIN3=beef; "_s +
                   refused.arg(kUserError, refusalMessage(Refusal::EmptyRecipeName), u"|beef"_s);
        QTest::newRow("refused: separator in name")
            << u"open; pick cboIng=Soups; set txtIName=../Stew; set txtIN3=beef; "_s +
                   refused.arg(kUserError, refusalMessage(Refusal::BadRecipeName),
                               u"../Stew|beef"_s);
        QTest::newRow("refused: not Windows-1252")
            << u"open; pick cboIng=Soups; set txtIName=Stew; set txtIN3=b\u0101ef; "_s +
                   refused.arg(kUserError,
                               refusalMessage(Refusal::UnencodableCharacter, u"\u0101"_s),
                               u"Stew|b\u0101ef"_s);

        // A listed category without a folder is the user's to sort out, the boxes keep their
        // text; any other failure of the file system still ends in the error report.
        const QString sponge =
            u"open; pick cboIng=%1; set txtIName=Sponge; set txtIN3=eggs; %2click cmdISave; "
            "? text txtIName txtIN3=Sponge|eggs; ? file Category/%1/Sponge=<missing>; "_s;
        const QString told =
            u"? windows=frmIngred; ? error=; ? shown=%1The folder of the category \"%2\" is "
            "missing.\rThe recipe cannot be saved in it."_s;
        QTest::newRow("no folder: listed, never made")
            << sponge.arg(u"Cakes"_s, QString()) + told.arg(kUserError, u"Cakes"_s);
        QTest::newRow("no folder: removed")
            << sponge.arg(u"Soups"_s, u"remove Category/Soups; "_s) +
                   told.arg(kUserError, u"Soups"_s);
        QTest::newRow("no folder: category root removed")
            << sponge.arg(u"Soups"_s, u"remove Category; "_s) + told.arg(kUserError, u"Soups"_s);
        QTest::newRow("no folder: a file in its place")
            << sponge.arg(u"Soups"_s, u"remove Category/Soups; write Category/Soups=x; "_s) +
                   u"? windows=frmError; ? shown=; ? error=I - CS - 76 Path not found"_s;
        QTest::newRow("no folder: a folder in the recipe's place")
            << sponge.arg(u"Soups"_s, u"mkdir Category/Soups/Sponge; "_s) +
                   u"? windows=frmError; ? shown=; ? error=I - CS - 75 Path/File access error"_s;

        // Shown again, as the main menu does, either screen reads the categories again:
        // those made on the setup screen appear, deleted ones go. The choice stays while it
        // is listed; typed text is never touched; the browser drops a gone category's files
        // and the recipe it showed.
        const QString files =
            u"write Category/category.txt=Soups\r\nPies\r\n; "
            "write Category/Soups/Stew=%1; write Category/Pies/Tart=%1; "_s.arg(kEmpty);
        const QString setup =
            u"open frmSetup; type txtSCreate=Breads; click cmdSCreate; click lswSetup=Soups; "
            "click cmdSDel; click cmdSMain; ? shown=Pantrova|0|1 category is deleted.; "_s;
        const QString none;
        const QString entry = files +
                              u"open; pick cboIng=%1; type txtIName=Sponge; type txtIN1=flour; "
                              "click cmdIMain; "_s;
        const QString gone = u"remove Category/category.txt; "_s;
        const QString folder = gone + u"mkdir Category/category.txt; "_s;
        const QString notice = u"; ? shown=%1%2"_s.arg(kUserError, noCategoryText());
        const QString kept = u"; ? text txtIName txtIN1=Sponge|flour"_s;
        const QString ingred =
            u"hide frmMain; open; ? windows=%1; ? error=%2; ? listed cboIng=%3; "
            "? text cboIng=%4"_s;
        QTest::newRow("frmIngred: choice still listed")
            << entry.arg(u"Pies"_s) + setup +
                   ingred.arg(u"frmIngred"_s, none, u"Pies|Breads"_s, u"Pies"_s) + kept;
        QTest::newRow("frmIngred: chosen category deleted")
            << entry.arg(u"Soups"_s) + setup +
                   ingred.arg(u"frmIngred"_s, none, u"Pies|Breads"_s, none) + kept;
        QTest::newRow("frmIngred: list file gone")
            << entry.arg(u"Pies"_s) + gone + ingred.arg(u"frmMain|frmIngred"_s, none, none, none) +
                   notice + kept;
        QTest::newRow("frmIngred: a folder in the list's place")
            << entry.arg(u"Pies"_s) + folder +
                   ingred.arg(u"frmError"_s, u"I - FL - 75 Path/File access error"_s, none, none) +
                   kept;
        // The recipe shown stays with its category, and goes with it.
        const QString browser = files +
                                u"open frmRecipe; pick cboRCat=%1; key lswRFile=Return; "
                                "? text txtRName=%2; "_s;
        const QString recipe =
            u"hide frmMain; open frmRecipe; ? windows=%1; ? error=%2; "
            "? listed cboRCat=%3; ? text cboRCat=%4"_s;
        const QString dropped =
            u"; ? text txtRName txtRHr=|H; ? listed lswRFile=; ? enabled chkRDel=0"_s;
        QTest::newRow("frmRecipe: choice still listed")
            << browser.arg(u"Pies"_s, u"Tart"_s) + setup +
                   recipe.arg(u"frmRecipe"_s, none, u"Pies|Breads"_s, u"Pies"_s) +
                   u"; ? text txtRName txtRHr=Tart|H:; ? listed lswRFile=Tart"_s;
        QTest::newRow("frmRecipe: chosen category deleted")
            << browser.arg(u"Soups"_s, u"Stew"_s) + setup +
                   recipe.arg(u"frmRecipe"_s, none, u"Pies|Breads"_s, none) + dropped;
        QTest::newRow("frmRecipe: list file gone")
            << browser.arg(u"Pies"_s, u"Tart"_s) + gone +
                   recipe.arg(u"frmMain|frmRecipe"_s, none, none, none) + notice + dropped;
        QTest::newRow("frmRecipe: a folder in the list's place")
            << browser.arg(u"Pies"_s, u"Tart"_s) + folder +
                   recipe.arg(u"frmError"_s, u"R - FL - 75 Path/File access error"_s, none, none);
    }
    void roads() {
        QFETCH(QString, road);
        on_->road.walk(road);
    }

    // New empties every box but keeps the category (Main keeping them is walked above).
    void newEmptiesTheBoxes() {
        on_->road.walk(u"open; pick cboIng=Pies; set txtIDirec=a\r\nb"_s);
        const auto boxes =
            on_->road.screen()->findChildren<QLineEdit*>(QRegularExpression(u"^txtI"_s));
        QCOMPARE(boxes.size(), 35);  // name, 30 grid boxes, four cooking boxes
        for (QLineEdit* each : boxes) {
            each->setText(u"7"_s);
        }
        on_->road.walk(u"click cmdINew; ? text txtIDirec=; ? text cboIng=Pies"_s);
        for (QLineEdit* each : boxes) {
            QVERIFY2(each->text().isEmpty(), qPrintable(each->objectName()));
        }
    }

    // Typed keys, or (edits < 0) a paste by key and by the box's context menu.
    void digitBoxes_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("edits");  // keys that reached the box and changed it
        QTest::newRow("a half") << u"txtIA1"_s << u"1/2"_s << u"12"_s << 2;
        QTest::newRow("letters") << u"txtIA4"_s << u"abcXYZ"_s << u""_s << 0;
        QTest::newRow("point, minus, blank") << u"txtIA10"_s << u"1.5 -2"_s << u"152"_s << 3;
        QTest::newRow("limit of five") << u"txtIA1"_s << u"1234567"_s << u"12345"_s << 5;
        QTest::newRow("backspace") << u"txtIA3"_s << u"123\b"_s << u"12"_s << 4;
        QTest::newRow("temperature") << u"txtICTemp"_s << u"35o0F"_s << u"350"_s << 3;
        QTest::newRow("size") << u"txtICSize"_s << u"x4y"_s << u"4"_s << 1;
        QTest::newRow("minutes") << u"txtICMin"_s << u"4:5"_s << u"45"_s << 2;
        QTest::newRow("hours take anything") << u"txtICHr"_s << u"1/2"_s << u"1/"_s << 2;
        QTest::newRow("type is free text") << u"txtIT1"_s << u"1/2 oz"_s << u"1/2 oz"_s << 6;
        QTest::newRow("paste: amount")
            << u"txtIA2"_s << u"a1/b2 \u00bd \u0663c3"_s << u"123"_s << -1;
        QTest::newRow("paste: within the limit")
            << u"txtIA1"_s << u"ab12345678"_s << u"12345"_s << -1;
        QTest::newRow("paste: no digits") << u"txtICMin"_s << u"half"_s << u""_s << -1;
        QTest::newRow("paste: hours take it all") << u"txtICHr"_s << u"1h"_s << u"1h"_s << -1;
    }
    void digitBoxes() {
        QFETCH(QString, input);
        QFETCH(QString, expected);
        QFETCH(int, edits);
        QFETCH(QString, field);
        on_->road.walk(u"open"_s);
        auto* edit = test::control<QLineEdit>(on_->road.screen(), field);
        if (edits >= 0) {
            QSignalSpy edited(edit, &QLineEdit::textEdited);
            QTest::keyClicks(edit, input);
            QCOMPARE(edit->text(), expected);
            QCOMPARE(edited.count(), edits);
            return;
        }
        QApplication::clipboard()->setText(input);
        QTest::keySequence(edit, QKeySequence::Paste);
        QCOMPARE(edit->text(), expected);
        edit->clear();
        QContextMenuEvent request(QContextMenuEvent::Mouse, {2, 2},
                                  edit->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(edit, &request);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        for (QAction* action : menu->actions()) {
            if (DigitFilter::isPasteAction(action)) {
                action->trigger();
            }
        }
        menu->close();
        QCOMPARE(edit->text(), expected);
    }
};

QTEST_MAIN(RecipeEntryTest)
#include "tst_recipeentry.moc"
