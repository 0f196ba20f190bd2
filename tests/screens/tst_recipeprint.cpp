#include "errorstate.h"
#include "multilinebox.h"
#include "printerservice.h"
#include "recipebrowserwindow.h"
#include "recipeentrywindow.h"
#include "testsupport.h"
#include "windowregistry.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QtTest>

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
    static RecipeBrowserWindow* browser() {
        return qobject_cast<RecipeBrowserWindow*>(windows().show(WindowId::RecipeBrowser));
    }

private slots:
    void init() {
        app_ = std::make_unique<test::TempAppFolder>();
        messages_ = std::make_unique<test::RecordingMessages>();
        programErrors() = {};
        windows().registerWindow(WindowId::RecipeEntry, [] { return new RecipeEntryWindow; });
        windows().registerWindow(WindowId::RecipeBrowser, [] { return new RecipeBrowserWindow; });
        test::registerStandIns();
        QVERIFY(app_->write(u"Category/category.txt"_s, "Soups\r\nPies\r\n"));
        QVERIFY(QDir(app_->path()).mkpath(u"Category/Soups"_s));
    }
    void cleanup() {
        windows().reset();
        messages_.reset();
        app_.reset();
    }

    void typedSavedShownAndPrinted() {
        // Written on the entry screen...
        auto* entry = windows().show(WindowId::RecipeEntry);
        QVERIFY(QTest::qWaitForWindowActive(entry));
        auto* categories = child<QComboBox>(entry, u"cboIng"_s);
        categories->setCurrentIndex(categories->findText(u"Soups"_s));
        QTest::keyClicks(child(entry, u"txtIName"_s), u"Pea soup"_s);
        const std::pair<const char*, const char*> typed[] = {
            {"txtIA1", "1"},      {"txtIT1", "lb"},    {"txtIN1", "peas"}, {"txtIA2", "2"},
            {"txtIT2", "qt"},     {"txtIN2", "water"}, {"txtIA6", "1/2"},  {"txtIT6", "tsp"},
            {"txtIN6", "salt"},   {"txtIA10", "10"},   {"txtIT10", "g"},   {"txtIN10", "mint"},
            {"txtICTemp", "212"}, {"txtICSize", "4"},  {"txtICHr", "1"},   {"txtICMin", "45"}};
        for (const auto& [box, text] : typed) {
            QTest::keyClicks(child(entry, QLatin1String(box)), QLatin1String(text));
        }
        auto* directions = child<MultiLineBox>(entry, u"txtIDirec"_s);
        QTest::keyClicks(directions, u"Soak the peas."_s);
        QTest::keyClick(directions, Qt::Key_Return);
        QTest::keyClicks(directions, u"Boil them soft."_s);
        QTest::mouseClick(child<QPushButton>(entry, u"cmdISave"_s), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(entry, u"cmdIMain"_s), Qt::LeftButton);

        // ...picked and shown on the browser...
        RecipeBrowserWindow* shown = browser();
        QVERIFY(QTest::qWaitForWindowActive(shown));
        auto* category = child<QComboBox>(shown, u"cboRCat"_s);
        category->setCurrentIndex(category->findText(u"Soups"_s));
        emit category->activated(category->currentIndex());
        auto* list = child<QListView>(shown, u"lswRFile"_s);
        QCOMPARE(list->model()->rowCount(), 1);
        QApplication::processEvents();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(0, 0)).center());
        QCOMPARE(child(shown, u"txtRName"_s)->text(), u"Pea soup"_s);

        // ...and printed.
        const QString pdf = app_->file(u"printed.pdf"_s);
        test::PdfPrinter printer(pdf);
        auto* box = child<QCheckBox>(shown, u"chkRDel"_s);
        box->setChecked(true);  // as the program leaves it only after a print
        QTest::mouseClick(child<QPushButton>(shown, u"cmdRPrint"_s), Qt::LeftButton);
        QCOMPARE(printer.dialogsShown, 1);
        QVERIFY(!box->isChecked());
        QCOMPARE(
            app_->read(u"Category/Soups/Pea soup"_s),
            QByteArray("\"1\",\"2\",\"\",\"\",\"\",\"12\",\"\",\"\",\"\",\"10\","
                       "\"lb\",\"qt\",\"\",\"\",\"\",\"tsp\",\"\",\"\",\"\",\"g\","
                       "\"peas\",\"water\",\"\",\"\",\"\",\"salt\",\"\",\"\",\"\",\"mint\","
                       "\"Soak the peas.\r\nBoil them soft.\",\"212\",\"4\",\"1\",\"45\"\r\n"));
        QVERIFY(messages_->shown.isEmpty());

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
        RecipeBrowserWindow* shown = browser();
        shown->newDisplay();
        const QString pdf = app_->file(u"bare.pdf"_s);
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

    // Long directions run onto a second page; an empty line of theirs that falls
    // at the top of that page takes its line there, as on the screen's printout
    // with every line filled.
    void emptyDirectionLineAtThePageTop() {
        QStringList lines;
        for (int i = 1; i <= 60; ++i) {
            lines << u"d%1"_s.arg(i);
        }
        QVERIFY(QDir(app_->path()).mkpath(u"Category/Soups"_s));
        RecipeBrowserWindow* shown = browser();
        const auto printLines = [&](const QString& pdf) {
            const QByteArray directions = lines.join(u"\r\n"_s).toLatin1();
            if (!app_->write(u"Category/Soups/Stew"_s, QByteArray("\"\",").repeated(30) + '"' +
                                                           directions +
                                                           "\",\"\",\"\",\"\",\"\"\r\n")) {
                return QList<test::PrintedWord>();
            }
            auto* category = child<QComboBox>(shown, u"cboRCat"_s);
            category->setCurrentIndex(category->findText(u"Soups"_s));
            emit category->activated(category->currentIndex());
            auto* list = child<QListView>(shown, u"lswRFile"_s);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualRect(list->model()->index(0, 0)).center());
            test::PdfPrinter printer(app_->file(pdf));
            printer.printer()->setPageLayout(
                QPageLayout(QPageSize(QSizeF(400, 500), QPageSize::Point), QPageLayout::Portrait,
                            QMarginsF(10, 10, 10, 10)));
            child<QPushButton>(shown, u"cmdRPrint"_s)->click();
            return test::printedWords(app_->file(pdf));
        };
        const QList<test::PrintedWord> all = printLines(u"all.pdf"_s);
        // The top line of the second page, as measured.
        const test::PrintedWord* top = nullptr;
        for (const test::PrintedWord& word : all) {
            if (word.page == 2 && (!top || word.top < top->top)) {
                top = &word;
            }
        }
        QVERIFY(top && lines.contains(top->text) && top->text != lines.constFirst());
        QMap<QString, QString> expected = test::wordPlaces(all);
        expected.remove(top->text);
        lines[lines.indexOf(top->text)].clear();
        QCOMPARE(test::wordPlaces(printLines(u"blank.pdf"_s)), expected);
        QVERIFY(messages_->shown.isEmpty());
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
        RecipeBrowserWindow* shown = browser();
        child(shown, u"txtRName"_s)->setText(u"Anything"_s);
        auto* box = child<QCheckBox>(shown, u"chkRDel"_s);
        box->setEnabled(true);
        box->setChecked(true);
        test::PdfPrinter printer(app_->file(pdf));
        printer.answers = {answer};
        if (answer) {
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u".*"_s));
        }
        child<QPushButton>(shown, u"cmdRPrint"_s)->click();
        QCOMPARE(printer.dialogsShown, 1);
        QVERIFY(!QFile::exists(app_->file(pdf)));
        QVERIFY(box->isChecked());
        QVERIFY(box->isEnabled());
        QVERIFY(messages_->shown.isEmpty());
        QVERIFY(programErrors().errorLocation.isEmpty());
        QVERIFY(shown->isVisible());
    }
};

QTEST_MAIN(RecipePrintTest)
#include "tst_recipeprint.moc"
