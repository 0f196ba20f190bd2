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

    std::optional<test::ScreenBench> bench_;
    std::optional<test::Road> road_;

private slots:
    void init() {
        bench_.emplace(QList{test::screen<RecipeEntryWindow>(WindowId::RecipeEntry),
                             test::screen<RecipeBrowserWindow>(WindowId::RecipeBrowser),
                             test::screen<SetupWindow>(WindowId::Setup)});
        road_.emplace(*bench_, WindowId::RecipeEntry);
        road_->walk(
            u"write Category/category.txt=Soups\r\nBreads, Cakes\r\nPies\r\n; "
            "mkdir Category/Soups; mkdir Category/Pies"_s);
    }
    void cleanup() {
        road_.reset();
        bench_.reset();
    }

    void menuBarItemsAndDispatch() {
        road_->walk(u"remove images/Save.ico; open"_s);
        auto* bar = test::control<ScreenMenuBar>(road_->screen(), u"SMXPI"_s);
        // A missing icon costs only its picture.
        QVERIFY(bar->actionFor(u"keySave"_s)->icon().isNull());
        QVERIFY(!bar->actionFor(u"keyMain"_s)->icon().isNull());
        road_->walk(
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
                       u"; ? windows=frmError; ? shown=; ? error=%1 - FL - 75"_s.arg(code);
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
                   u"? windows=frmError; ? shown=; ? error=I - CS - 76"_s;
        QTest::newRow("no folder: a folder in the recipe's place")
            << sponge.arg(u"Soups"_s, u"mkdir Category/Soups/Sponge; "_s) +
                   u"? windows=frmError; ? shown=; ? error=I - CS - 75"_s;

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
        const QString gone = u"remove Category/category.txt; "_s;
        for (const bool browser : {false, true}) {
            const QString window = browser ? u"frmRecipe"_s : u"frmIngred"_s;
            const QString box = browser ? u"cboRCat"_s : u"cboIng"_s;
            for (const auto& [tag, chosen, change, offered, after] :
                 {std::tuple{"choice still listed", u"Pies"_s, setup, u"Pies|Breads"_s, u"Pies"_s},
                  {"chosen category deleted", u"Soups"_s, setup, u"Pies|Breads"_s, QString()},
                  {"list file gone", u"Pies"_s, gone, QString(), QString()},
                  {"a folder in the list's place", u"Pies"_s,
                   gone + u"mkdir Category/category.txt; "_s, QString(), QString()}}) {
                const bool report = change.contains(u"mkdir"_s);
                const QString recipe = chosen == u"Pies"_s ? u"Tart"_s : u"Stew"_s;
                QString road =
                    files + u"open %1; pick %2=%3; "_s.arg(window, box, chosen) +
                    (browser ? u"key lswRFile=Return; ? text txtRName=%1; "_s.arg(recipe)
                             : u"type txtIName=Sponge; type txtIN1=flour; click cmdIMain; "_s) +
                    change +
                    u"hide frmMain; open %1; ? windows=%2; ? error=%3; "
                    "? listed %4=%5; ? text %4=%6; ? shown=%7"_s.arg(
                        window,
                        report           ? u"frmError"_s
                        : change == gone ? u"frmMain|"_s + window
                                         : window,
                        report ? window.mid(3, 1) + u" - FL - 75"_s : QString(), box, offered,
                        after, change == gone ? kUserError + noCategoryText() : QString());
                if (!browser) {
                    road += u"; ? text txtIName txtIN1=Sponge|flour"_s;
                } else if (!report) {
                    // The recipe shown stays with its category, and goes with it.
                    road +=
                        after.isEmpty()
                            ? u"; ? text txtRName txtRHr=|H; ? listed lswRFile=; ? enabled chkRDel=0"_s
                            : u"; ? text txtRName txtRHr=%1|H:; ? listed lswRFile=%1"_s.arg(recipe);
                }
                QTest::addRow("%s: %s", qPrintable(window), tag) << road;
            }
        }
    }
    void roads() {
        QFETCH(QString, road);
        road_->walk(road);
    }

    // New empties every box but keeps the category (Main keeping them is walked above).
    void newEmptiesTheBoxes() {
        road_->walk(u"open; pick cboIng=Pies; set txtIDirec=a\r\nb"_s);
        const auto boxes =
            road_->screen()->findChildren<QLineEdit*>(QRegularExpression(u"^txtI"_s));
        QCOMPARE(boxes.size(), 35);  // name, 30 grid boxes, four cooking boxes
        for (QLineEdit* each : boxes) {
            each->setText(u"7"_s);
        }
        road_->walk(u"click cmdINew; ? text txtIDirec=; ? text cboIng=Pies"_s);
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
        const auto row = [](const char* tag, const char* box, const QString& input,
                            const char* expected, int edits) {
            QTest::newRow(tag) << QString::fromLatin1(box) << input << QString::fromLatin1(expected)
                               << edits;
        };
        row("a half", "txtIA1", u"1/2"_s, "12", 2);
        row("letters", "txtIA4", u"abcXYZ"_s, "", 0);
        row("point, minus, blank", "txtIA10", u"1.5 -2"_s, "152", 3);
        row("limit of five", "txtIA1", u"1234567"_s, "12345", 5);
        row("backspace", "txtIA3", u"123\b"_s, "12", 4);
        row("temperature", "txtICTemp", u"35o0F"_s, "350", 3);
        row("size", "txtICSize", u"x4y"_s, "4", 1);
        row("minutes", "txtICMin", u"4:5"_s, "45", 2);
        row("hours take anything", "txtICHr", u"1/2"_s, "1/", 2);
        row("type is free text", "txtIT1", u"1/2 oz"_s, "1/2 oz", 6);
        row("paste: amount", "txtIA2", u"a1/b2 \u00bd \u0663c3"_s, "123", -1);
        row("paste: within the limit", "txtIA1", u"ab12345678"_s, "12345", -1);
        row("paste: no digits", "txtICMin", u"half"_s, "", -1);
        row("paste: hours take it all", "txtICHr", u"1h"_s, "1h", -1);
    }
    void digitBoxes() {
        QFETCH(QString, input);
        QFETCH(QString, expected);
        QFETCH(int, edits);
        QFETCH(QString, field);
        road_->walk(u"open"_s);
        auto* edit = test::control<QLineEdit>(road_->screen(), field);
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
