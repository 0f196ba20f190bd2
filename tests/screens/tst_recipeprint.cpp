#include "errorstate.h"
#include "ingredscreen.h"
#include "printing.h"
#include "recipeprint.h"
#include "recipescreen.h"
#include "screentext.h"
#include "testsupport.h"
#include "windowregistry.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QProcess>
#include <QPushButton>
#include <QtTest>

using namespace pv;

namespace {

class StandIn : public PvWindow {};

QString today() {
    return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
}

// The page's lines as pdftotext lays them out, without the trailing blanks
// and the form feed at the end.
QStringList pageLines(const QString& pdf) {
    QString text = test::pdfText(pdf);
    text.remove(QLatin1Char('\f'));
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        while (line.endsWith(QLatin1Char(' '))) {
            line.chop(1);
        }
    }
    while (!lines.isEmpty() && lines.constLast().isEmpty()) {
        lines.removeLast();
    }
    return lines;
}

struct Word {
    QString text;
    qreal left = 0;
    qreal right = 0;
    qreal top = 0;
};

// The words of the page with their boxes in points, in reading order.
QList<Word> pageWords(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        return {};
    }
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression word(
        QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                       "yMax=\"[\\d.]+\">([^<]*)</word>"));
    QList<Word> words;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto match = it.next();
        words.append({match.captured(4), match.captured(1).toDouble(), match.captured(3).toDouble(),
                      match.captured(2).toDouble()});
    }
    return words;
}

const Word* findWord(const QList<Word>& words, const QString& text, int skip = 0) {
    for (const Word& word : words) {
        if (word.text == text && skip-- == 0) {
            return &word;
        }
    }
    return nullptr;
}

// The line of the first word with this text, counted from the heading line
// (the one with "Size:") in steps of the heading line's height.
int lineOf(const QList<Word>& words, const QString& text) {
    const Word* size = findWord(words, QStringLiteral("Size:"));
    const Word* dashes = findWord(words, QString(125, QLatin1Char('-')));
    const Word* word = findWord(words, text);
    if (!size || !dashes || !word) {
        return -1;
    }
    return qRound((word->top - size->top) / (dashes->top - size->top));
}

// The width of n blanks of Tahoma 10 as printed, in points.
qreal blanks(int n, bool bold) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(10);
    font.setBold(bold);
    return QFontMetricsF(font, &printer).horizontalAdvance(QString(n, QLatin1Char(' '))) * 72.0 /
           printer.resolution();
}

// The space between two words of one line, in points.
qreal between(const QList<Word>& words, const QString& before, const QString& after, int skip = 0) {
    // skip: how many earlier words like the first to pass over.
    const Word* first = findWord(words, before, skip);
    const Word* second = findWord(words, after);
    if (!first || !second || qAbs(first->top - second->top) > 2) {
        return -1;
    }
    return second->left - first->right;
}

}  // namespace

class RecipePrintTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempAppFolder> app_;
    std::unique_ptr<test::RecordingMessages> messages_;

    template <typename T = QLineEdit>
    static T* child(QWidget* screen, const QString& name) {
        T* found = screen->findChild<T*>(name);
        if (!found) {
            qWarning("no control %s", qPrintable(name));
        }
        return found;
    }

private slots:
    void init() {
        app_ = std::make_unique<test::TempAppFolder>();
        messages_ = std::make_unique<test::RecordingMessages>();
        programErrors() = {};
        windows().registerWindow(QStringLiteral("frmIngred"), [] { return new IngredScreen; });
        windows().registerWindow(QStringLiteral("frmRecipe"), [] { return new RecipeScreen; });
        windows().registerWindow(QStringLiteral("frmMain"), [] { return new StandIn; });
        windows().registerWindow(QStringLiteral("frmError"), [] { return new StandIn; });
        QVERIFY(app_->write(QStringLiteral("Category/category.txt"), "Soups\r\nPies\r\n"));
        QVERIFY(QDir(app_->path()).mkpath(QStringLiteral("Category/Soups")));
        QVERIFY(QDir(app_->path()).mkpath(QStringLiteral("Category/Pies")));
    }
    void cleanup() {
        windows().reset();
        messages_.reset();
        app_.reset();
    }

    void typedSavedShownAndPrinted() {
        // Written on the entry screen...
        auto* entry = qobject_cast<IngredScreen*>(windows().show(QStringLiteral("frmIngred")));
        QVERIFY(QTest::qWaitForWindowActive(entry));
        auto* categories = child<QComboBox>(entry, QStringLiteral("cboIng"));
        categories->setCurrentIndex(categories->findText(QStringLiteral("Soups")));
        QTest::keyClicks(child(entry, QStringLiteral("txtIName")), QStringLiteral("Pea soup"));
        const QStringList amounts{"1", "2", "", "", "", "1/2", "", "", "", "10"};
        const QStringList types{"lb", "qt", "", "", "", "tsp", "", "", "", "g"};
        const QStringList ingredients{"peas", "water", "", "", "", "salt", "", "", "", "mint"};
        for (int i = 0; i < 10; ++i) {
            const QString n = QString::number(i + 1);
            QTest::keyClicks(child(entry, QStringLiteral("txtIA") + n), amounts.at(i));
            QTest::keyClicks(child(entry, QStringLiteral("txtIT") + n), types.at(i));
            QTest::keyClicks(child(entry, QStringLiteral("txtIN") + n), ingredients.at(i));
        }
        auto* directions = child<MultiLineBox>(entry, QStringLiteral("txtIDirec"));
        QTest::keyClicks(directions, QStringLiteral("Soak the peas."));
        QTest::keyClick(directions, Qt::Key_Return);
        QTest::keyClicks(directions, QStringLiteral("Boil them soft."));
        QTest::keyClicks(child(entry, QStringLiteral("txtICTemp")), QStringLiteral("212"));
        QTest::keyClicks(child(entry, QStringLiteral("txtICSize")), QStringLiteral("4"));
        QTest::keyClicks(child(entry, QStringLiteral("txtICHr")), QStringLiteral("1"));
        QTest::keyClicks(child(entry, QStringLiteral("txtICMin")), QStringLiteral("45"));
        QTest::mouseClick(child<QPushButton>(entry, QStringLiteral("cmdISave")), Qt::LeftButton);
        QVERIFY(messages_->shown.isEmpty());
        QCOMPARE(
            app_->read(QStringLiteral("Category/Soups/Pea soup")),
            QByteArray("\"1\",\"2\",\"\",\"\",\"\",\"12\",\"\",\"\",\"\",\"10\","
                       "\"lb\",\"qt\",\"\",\"\",\"\",\"tsp\",\"\",\"\",\"\",\"g\","
                       "\"peas\",\"water\",\"\",\"\",\"\",\"salt\",\"\",\"\",\"\",\"mint\","
                       "\"Soak the peas.\r\nBoil them soft.\",\"212\",\"4\",\"1\",\"45\"\r\n"));
        QTest::mouseClick(child<QPushButton>(entry, QStringLiteral("cmdIMain")), Qt::LeftButton);

        // ...picked and shown on the browser...
        auto* browser = qobject_cast<RecipeScreen*>(windows().show(QStringLiteral("frmRecipe")));
        QVERIFY(QTest::qWaitForWindowActive(browser));
        auto* category = child<QComboBox>(browser, QStringLiteral("cboRCat"));
        category->setCurrentIndex(category->findText(QStringLiteral("Soups")));
        emit category->activated(category->currentIndex());
        auto* list = child<QListView>(browser, QStringLiteral("lswRFile"));
        QCOMPARE(list->model()->rowCount(), 1);
        QApplication::processEvents();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(0, 0)).center());
        QCOMPARE(child(browser, QStringLiteral("txtRName"))->text(), QStringLiteral("Pea soup"));
        auto* box = child<QCheckBox>(browser, QStringLiteral("chkRDel"));
        QVERIFY(box->isEnabled());

        // ...and printed.
        const QString pdf = app_->file(QStringLiteral("printed.pdf"));
        test::PdfPrinter printer(pdf);
        box->setChecked(true);  // as the program leaves it only after a print
        QTest::mouseClick(child<QPushButton>(browser, QStringLiteral("cmdRPrint")), Qt::LeftButton);
        QCOMPARE(printer.dialogsShown, 1);
        QVERIFY(!box->isChecked());
        QVERIFY(QFile::exists(pdf));
        QVERIFY(QFile::exists(app_->file(QStringLiteral("Category/Soups/Pea soup"))));

        // The order of the printed lines; pdftotext leaves out empty lines as it
        // pleases and shortens runs of blanks, so the word boxes below place them.
        QStringList lines = pageLines(pdf);
        static const QRegularExpression runOfBlanks(QStringLiteral(" +"));
        for (QString& line : lines) {
            line.replace(runOfBlanks, QStringLiteral(" "));
        }
        lines.removeAll(QString());
        QString heading = QStringLiteral("Pea soup Size: 4 ") + today();
        heading.replace(runOfBlanks, QStringLiteral(" "));
        const QStringList expected{
            heading,
            QString(125, QLatin1Char('-')),
            QStringLiteral("1 lb peas"),
            QStringLiteral("2 qt water"),
            QStringLiteral("12 tsp salt"),
            QStringLiteral("10 g mint"),
            QStringLiteral("Soak the peas."),
            QStringLiteral("Boil them soft."),
            QStringLiteral("212 F H: 1 M: 45"),
        };
        QCOMPARE(lines, expected);
        {
            // Each on its own line of the page, counted from the heading line: the
            // dashes, an empty line, ten ingredient lines, an empty line, the
            // directions' two lines, two empty lines, the cooking line.
            const QList<Word> placed = pageWords(pdf);
            QCOMPARE(lineOf(placed, QString(125, QLatin1Char('-'))), 1);
            QCOMPARE(lineOf(placed, QStringLiteral("peas")), 3);
            QCOMPARE(lineOf(placed, QStringLiteral("water")), 4);
            QCOMPARE(lineOf(placed, QStringLiteral("salt")), 8);
            QCOMPARE(lineOf(placed, QStringLiteral("mint")), 12);
            QCOMPARE(lineOf(placed, QStringLiteral("Soak")), 14);
            QCOMPARE(lineOf(placed, QStringLiteral("Boil")), 15);
            QCOMPARE(lineOf(placed, QStringLiteral("212")), 18);
        }

        // The gaps: five blanks (bold after the name and " F", regular after the
        // serving size and the hours) and three between the parts of a line.
        const QList<Word> words = pageWords(pdf);
        QVERIFY(!words.isEmpty());
        const qreal tolerance = 1.0;
        QVERIFY(qAbs(between(words, QStringLiteral("soup"), QStringLiteral("Size:")) -
                     blanks(5, true)) < tolerance);
        QVERIFY(qAbs(between(words, QStringLiteral("Size:"), QStringLiteral("4")) -
                     blanks(1, true)) < tolerance);
        const QString dateStart = today().section(QLatin1Char(' '), 0, 0);
        QVERIFY(qAbs(between(words, QStringLiteral("4"), dateStart) - blanks(5, false)) <
                tolerance);
        QVERIFY(qAbs(between(words, QStringLiteral("1"), QStringLiteral("lb")) - blanks(3, false)) <
                tolerance);
        QVERIFY(qAbs(between(words, QStringLiteral("lb"), QStringLiteral("peas")) -
                     blanks(3, false)) < tolerance);
        QVERIFY(qAbs(between(words, QStringLiteral("tsp"), QStringLiteral("salt")) -
                     blanks(3, false)) < tolerance);
        QVERIFY(qAbs(between(words, QStringLiteral("212"), QStringLiteral("F")) - blanks(1, true)) <
                tolerance);
        QVERIFY(qAbs(between(words, QStringLiteral("F"), QStringLiteral("H:")) - blanks(5, true)) <
                tolerance);
        QVERIFY(qAbs(between(words, QStringLiteral("1"), QStringLiteral("M:"), 1) -
                     blanks(5, false)) < tolerance);

        // The blank first line: the name line lies a full line below the top of
        // the printable area, not at it.
        const Word* name = findWord(words, QStringLiteral("Pea"));
        const Word* dashes = findWord(words, QString(125, QLatin1Char('-')));
        QVERIFY(name && dashes);
        const qreal lineStep = dashes->top - name->top;
        const qreal top = printer.printer()->pageLayout().paintRect(QPageLayout::Point).top();
        QVERIFY2(name->top - top > 0.6 * lineStep,
                 qPrintable(QStringLiteral("%1 %2 %3").arg(name->top).arg(top).arg(lineStep)));
    }

    void cancelInThePrintDialogPrintsNothing() {
        auto* browser = qobject_cast<RecipeScreen*>(windows().show(QStringLiteral("frmRecipe")));
        QVERIFY(browser);
        child(browser, QStringLiteral("txtRName"))->setText(QStringLiteral("Anything"));
        auto* box = child<QCheckBox>(browser, QStringLiteral("chkRDel"));
        box->setEnabled(true);
        box->setChecked(true);
        const QString pdf = app_->file(QStringLiteral("cancelled.pdf"));
        test::PdfPrinter printer(pdf);
        printer.answers = {false};
        child<QPushButton>(browser, QStringLiteral("cmdRPrint"))->click();
        QCOMPARE(printer.dialogsShown, 1);
        QVERIFY(!QFile::exists(pdf));
        QVERIFY(box->isChecked());
        QVERIFY(box->isEnabled());
        QVERIFY(messages_->shown.isEmpty());
        QVERIFY(programErrors().ErrorLocation.isEmpty());
        QVERIFY(browser->isVisible());
    }

    void printerThatCannotStartEndsSilently() {
        auto* browser = qobject_cast<RecipeScreen*>(windows().show(QStringLiteral("frmRecipe")));
        auto* box = child<QCheckBox>(browser, QStringLiteral("chkRDel"));
        box->setChecked(true);
        // A PDF file inside a folder that does not exist cannot be opened.
        test::PdfPrinter printer(app_->file(QStringLiteral("no such folder/out.pdf")));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral(".*")));
        browser->print();
        QCOMPARE(printer.dialogsShown, 1);
        QVERIFY(box->isChecked());
        QVERIFY(messages_->shown.isEmpty());
        QVERIFY(programErrors().ErrorLocation.isEmpty());
    }

    void printAfterNewPrintsTheBarePage() {
        auto* browser = qobject_cast<RecipeScreen*>(windows().show(QStringLiteral("frmRecipe")));
        browser->newDisplay();
        const QString pdf = app_->file(QStringLiteral("bare.pdf"));
        test::PdfPrinter printer(pdf);
        browser->print();
        const QStringList lines = pageLines(pdf);
        QVERIFY(!lines.isEmpty());
        QVERIFY(lines.at(0).trimmed().startsWith(QStringLiteral("Size:")));
        QVERIFY(lines.at(0).endsWith(today()));
        QCOMPARE(lines.at(1), QString(125, QLatin1Char('-')));
        static const QRegularExpression cooking(QStringLiteral("^ *F +H: +M:$"));
        QVERIFY2(cooking.match(lines.constLast()).hasMatch(), qPrintable(lines.constLast()));
        // The ten ingredient lines of six blanks each, the empty directions and the
        // empty lines are all there: the cooking line lies 17 lines below the heading.
        const QList<Word> words = pageWords(pdf);
        QCOMPARE(lineOf(words, QStringLiteral("H:")), 17);
        QCOMPARE(lineOf(words, QString(125, QLatin1Char('-'))), 1);
        // The name is empty, so "Size: " starts after the five bold blanks.
        const Word* size = findWord(words, QStringLiteral("Size:"));
        const qreal left = printer.printer()->pageLayout().paintRect(QPageLayout::Point).left();
        QVERIFY(qAbs(size->left - left - blanks(5, true)) < 1.0);
    }

    void printsWhatTheBoxesHold() {
        auto* browser = qobject_cast<RecipeScreen*>(windows().show(QStringLiteral("frmRecipe")));
        child(browser, QStringLiteral("txtRName"))->setText(QStringLiteral("Typed in"));
        child(browser, QStringLiteral("txtRI4"))->setText(QStringLiteral("pepper"));
        child(browser, QStringLiteral("txtRA4"))->setText(QStringLiteral("a pinch"));
        child(browser, QStringLiteral("Text1"))->setText(QStringLiteral("HEADING"));
        child<MultiLineBox>(browser, QStringLiteral("txtRDirec"))
            ->setText(QStringLiteral("One\r\nTwo\r\nThree"));
        child(browser, QStringLiteral("txtRMin1"))->setText(QStringLiteral("5"));
        const QString pdf = app_->file(QStringLiteral("typed.pdf"));
        test::PdfPrinter printer(pdf);
        browser->print();
        const QList<Word> words = pageWords(pdf);
        QCOMPARE(lineOf(words, QStringLiteral("Typed")), 0);
        QCOMPARE(lineOf(words, QStringLiteral("pinch")), 6);
        QCOMPARE(lineOf(words, QStringLiteral("pepper")), 6);
        QCOMPARE(lineOf(words, QStringLiteral("One")), 14);
        QCOMPARE(lineOf(words, QStringLiteral("Two")), 15);
        QCOMPARE(lineOf(words, QStringLiteral("Three")), 16);
        QCOMPARE(lineOf(words, QStringLiteral("M:")), 19);
        QCOMPARE(lineOf(words, QStringLiteral("5")), 19);
        const QString text = test::pdfText(pdf);
        QVERIFY(!text.contains(QStringLiteral("HEADING")));
        QVERIFY(!text.contains(QStringLiteral("Amt")));
        QVERIFY(!text.contains(QStringLiteral("Srv")));
    }
};

QTEST_MAIN(RecipePrintTest)
#include "tst_recipeprint.moc"
