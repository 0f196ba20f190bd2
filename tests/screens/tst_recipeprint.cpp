#include "printerservice.h"
#include "recipebrowserwindow.h"
#include "recipeentrywindow.h"
#include "road.h"

#include <QCheckBox>
#include <QtTest>

#include <optional>

using namespace pv;
using namespace Qt::StringLiterals;

namespace {

const QString kDashes(125, u'-');

QString today() {
    return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
}

using Word = test::PrintedWord;

const Word* findWord(const QList<Word>& words, const QString& text, int skip = 0) {
    for (const Word& word : words) {
        if (word.text == text && skip-- == 0) {
            return &word;
        }
    }
    return nullptr;
}

// The printed lines by their number, counted from the heading line in steps
// of the heading line's height (the dashes are line 1); blank lines leave gaps.
QMap<int, QString> pageLines(const QList<Word>& words) {
    const Word* dashes = findWord(words, kDashes);
    const Word* size = findWord(words, u"Size:"_s);
    QMap<int, QString> lines;
    for (const Word& word : words) {
        if (dashes && size) {
            QString& line = lines[qRound((word.top - size->top) / (dashes->top - size->top))];
            line += (line.isEmpty() ? QString() : u" "_s) + word.text;
        }
    }
    return lines;
}

// The width of n blanks of Tahoma 10 as printed, in points.
qreal blanks(int n, bool bold) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    QFont font(u"Tahoma"_s);
    font.setPointSizeF(10);
    font.setBold(bold);
    return QFontMetricsF(font, &printer).horizontalAdvance(QString(n, u' ')) * 72.0 /
           printer.resolution();
}

}  // namespace

class RecipePrintTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        on_.emplace(QList{test::screen<RecipeBrowserWindow>(WindowId::RecipeBrowser),
                          test::screen<RecipeEntryWindow>(WindowId::RecipeEntry)});
        QVERIFY(on_->bench.app.write(u"Category/category.txt"_s, "Soups\r\nPies\r\n"));
        QVERIFY(on_->bench.app.mkdir(u"Category/Soups"_s));
    }
    void cleanup() { on_.reset(); }

    void typedSavedShownAndPrinted() {
        // Written on the entry screen, picked and shown on the browser...
        on_->road.walk(
            u"open frmIngred; pick cboIng=Soups; type txtIName=Pea soup; type txtIA1=1; "
            "type txtIT1=lb; type txtIN1=peas; type txtIA2=2; type txtIT2=qt; type txtIN2=water; "
            "type txtIA6=1/2; type txtIT6=tsp; type txtIN6=salt; type txtIA10=10; "
            "type txtIT10=g; type txtIN10=mint; type txtICTemp=212; type txtICSize=4; "
            "type txtICHr=1; type txtICMin=45; type txtIDirec=Soak the peas.; "
            "key txtIDirec=Return; type txtIDirec=Boil them soft.; click cmdISave; "
            "click cmdIMain; open; pick cboRCat=Soups; click lswRFile=Pea soup; "
            "? text txtRName=Pea soup"_s);
        // ...and printed.
        const QString pdf = on_->bench.app.file(u"printed.pdf"_s);
        test::PdfPrinter printer(pdf);
        // As the program leaves it only after a print.
        test::control<QCheckBox>(on_->road.screen(), u"chkRDel"_s)->setChecked(true);
        on_->road.walk(u"click cmdRPrint; ? checked chkRDel=0; ? shown=; ? error="_s);
        QCOMPARE(printer.dialogsShown, 1);

        // Each on its own line: the dashes, an empty line, ten ingredient lines,
        // an empty line, the directions' two lines, two empty lines, the cooking line.
        const QList<Word> words = test::printedWords(pdf);
        const QMap<int, QString> expected{{0, "Pea soup Size: 4 " + today()},
                                          {1, kDashes},
                                          {3, u"1 lb peas"_s},
                                          {4, u"2 qt water"_s},
                                          {8, u"12 tsp salt"_s},
                                          {12, u"10 g mint"_s},
                                          {14, u"Soak the peas."_s},
                                          {15, u"Boil them soft."_s},
                                          {18, u"212 F H: 1 M: 45"_s}};
        QCOMPARE(pageLines(words), expected);

        // The gaps: five blanks (bold after the name and " F", regular after the
        // serving size and the hours) and three between the parts of a line.
        const struct {
            const char *before, *after;
            int skip, blanks;
            bool bold;
        } gaps[] = {
            {"soup", "Size:", 0, 5, true}, {"Size:", "4", 0, 1, true},   {"1", "lb", 0, 3, false},
            {"lb", "peas", 0, 3, false},   {"tsp", "salt", 0, 3, false}, {"212", "F", 0, 1, true},
            {"F", "H:", 0, 5, true},       {"1", "M:", 1, 5, false},     {"4", "", 0, 5, false}};
        for (const auto& gap : gaps) {
            const Word* first = findWord(words, QLatin1String(gap.before), gap.skip);
            const Word* second = findWord(
                words, *gap.after ? QString::fromLatin1(gap.after) : today().section(u' ', 0, 0));
            QVERIFY2(first && second && qAbs(first->top - second->top) < 2, gap.before);
            QVERIFY2(qAbs(second->left - first->right - blanks(gap.blanks, gap.bold)) < 1.0,
                     gap.before);
        }

        // The blank first line: the name line lies a full line below the top of
        // the printable area, not at it.
        const qreal step = findWord(words, kDashes)->top - findWord(words, u"Pea"_s)->top;
        const qreal top = printer.printer()->pageLayout().paintRect(QPageLayout::Point).top();
        QVERIFY(findWord(words, u"Pea"_s)->top - top > 0.6 * step);
    }

    void printAfterNewPrintsTheBarePage() {
        auto* shown = qobject_cast<RecipeBrowserWindow*>(windows().show(WindowId::RecipeBrowser));
        shown->newDisplay();
        const QString pdf = on_->bench.app.file(u"bare.pdf"_s);
        test::PdfPrinter printer(pdf);
        shown->print();
        // The ten ingredient lines of blanks, the empty directions and the empty
        // lines are all there; the screen's fixed texts are not printed.
        const QList<Word> words = test::printedWords(pdf);
        const QMap<int, QString> expected{
            {0, "Size: " + today()}, {1, kDashes}, {17, u"F H: M:"_s}};
        QCOMPARE(pageLines(words), expected);
        // The name is empty, so "Size: " starts after the five bold blanks.
        const qreal left = printer.printer()->pageLayout().paintRect(QPageLayout::Point).left();
        QVERIFY(qAbs(findWord(words, u"Size:"_s)->left - left - blanks(5, true)) < 1.0);
    }

    void unprintedEndsSilently_data() {
        QTest::addColumn<QString>("pdf");
        QTest::addColumn<bool>("answer");
        QTest::newRow("cancel in the dialog") << u"cancelled.pdf"_s << false;
        QTest::newRow("printer cannot start") << u"no such folder/out.pdf"_s << true;
    }
    void unprintedEndsSilently() {
        QFETCH(QString, pdf);
        QFETCH(bool, answer);
        on_->road.walk(u"open; set txtRName=Anything"_s);
        auto* box = test::control<QCheckBox>(on_->road.screen(), u"chkRDel"_s);
        box->setEnabled(true);
        box->setChecked(true);
        test::PdfPrinter printer(on_->bench.app.file(pdf));
        printer.answers = {answer};
        if (answer) {
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u".*"_s));
        }
        on_->road.walk(
            u"click cmdRPrint; ? checked chkRDel=1; ? enabled chkRDel=1; ? windows=frmRecipe; "
            "? shown=; ? error=; ? file %1=<missing>"_s.arg(pdf));
        QCOMPARE(printer.dialogsShown, 1);
    }

private:
    std::optional<test::RoadBench> on_;
};

QTEST_MAIN(RecipePrintTest)
#include "tst_recipeprint.moc"
