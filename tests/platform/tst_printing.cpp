#include "printerservice.h"
#include "testsupport.h"
#include "textflowprinter.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>
#include <QtTest>

using namespace pv;
using namespace Qt::StringLiterals;

namespace {

// A flow begun on a PDF page of 100 by 100 points with margins of 5, in 10 points.
struct SmallPage {
    explicit SmallPage(const QString& pdf) : service(pdf), flow(service.printer()) {
        service.printer()->setPageLayout(QPageLayout(QPageSize(QSizeF(100, 100), QPageSize::Point),
                                                     QPageLayout::Portrait, QMarginsF(5, 5, 5, 5)));
        begun = flow.begin();
        flow.setFontSize(10);
    }
    QString text() { return test::pdfText(service.printer()->outputFileName()); }
    test::PdfPrinter service;
    TextFlowPrinter flow;
    bool begun = false;
};

}  // namespace

class PrintingTest : public QObject {
    Q_OBJECT
private slots:
    void flowKeepsPositionAcrossPrints() {
        SmallPage page(dir_.filePath(u"flow.pdf"_s));
        TextFlowPrinter& printer = page.flow;
        QVERIFY(page.begun);
        printer.setFontName(u"DejaVu Sans"_s);
        QCOMPARE(printer.fontSize(), 10.0);
        QCOMPARE(printer.currentX(), 0.0);
        printer.print(u"abc"_s);
        const qreal afterText = printer.currentX();
        QVERIFY(qAbs(afterText - printer.textWidth(u"abc"_s)) < 0.01);
        printer.gap(5);
        QVERIFY(qAbs(printer.currentX() - afterText - printer.textWidth(u"     "_s)) < 0.01);
        const qreal firstLine = printer.currentY();
        printer.endLine();
        QCOMPARE(printer.currentX(), 0.0);
        QVERIFY(printer.currentY() > firstLine);

        // A line break inside a text ends the line there.
        const qreal before = printer.currentY();
        printer.print(u"one\r\ntwo"_s);
        QVERIFY(printer.currentY() > before);
        QVERIFY(qAbs(printer.currentX() - printer.textWidth(u"two"_s)) < 0.01);
        QVERIFY(printer.endDocument());
        QStringList lines;
        for (const QString& line : page.text().split(u'\n').mid(0, 3)) {
            lines << line.trimmed();
        }
        QCOMPARE(lines, (QStringList{u"abc"_s, u"one"_s, u"two"_s}));
    }

    // Lines past the page bottom go on a new page, but only once something is printed there:
    // a page filled to its last line adds no blank page.
    void pageBreaks() {
        SmallPage page(dir_.filePath(u"full.pdf"_s));
        QVERIFY(page.begun);
        QCOMPARE(page.flow.pageHeight(), 90.0);
        QCOMPARE(page.flow.pageWidth(), 90.0);
        // Print lines until the line end moves to the next page.
        int lines = 0;
        for (qreal y = -1; page.flow.currentY() > y; ++lines) {
            y = page.flow.currentY();
            page.flow.print(u"line"_s);
            page.flow.endLine();
            QVERIFY(page.flow.currentY() <= page.flow.pageHeight());
        }
        QVERIFY(lines > 1);
        QCOMPARE(page.flow.pageCount(), 1);
        QVERIFY(page.flow.endDocument());
        QCOMPARE(page.text().count(u'\f'), 1);
        for (const int count : {3 * lines, 3 * lines + 1}) {
            int pages = 0;
            QCOMPARE(printLines(QStringList(count, u"line"_s), &pages).size(), count);
            QCOMPARE(pages, (count + lines - 1) / lines);
        }
    }

    // A line printed empty keeps its room wherever the page breaks: every other
    // line stays on the page and at the height where it is when all lines have text.
    void emptyLinesKeepTheirRoom_data() {
        QTest::addColumn<QList<int>>("blank");  // from the first line of page 2, measured
        QTest::newRow("the first line of a page") << QList<int>{0};
        QTest::newRow("the two first lines of a page") << QList<int>{0, 1};
        QTest::newRow("the last line of a page") << QList<int>{-1};
        QTest::newRow("the last of one page and the first of the next") << QList<int>{-1, 0};
        QTest::newRow("a whole page") << QList<int>{};
    }
    void emptyLinesKeepTheirRoom() {
        QFETCH(QList<int>, blank);
        QStringList lines;
        for (int i = 1; i <= 40; ++i) {
            lines << u"w%1"_s.arg(i);
        }
        int pages = 0;
        const QList<test::PrintedWord> all = printLines(lines, &pages);
        const auto onPage = [&](int page) {
            return int(std::count_if(all.begin(), all.end(), [&](const test::PrintedWord& word) {
                return word.page == page;
            }));
        };
        QVERIFY(pages > 3);
        for (int i = 0; blank.isEmpty() && i < onPage(2); ++i) {
            blank << i;
        }
        QMap<QString, QString> expected = test::wordPlaces(all);
        for (int offset : blank) {
            lines[onPage(1) + offset].clear();
            expected.remove(all.at(onPage(1) + offset).text);
        }
        int blankedPages = 0;
        QCOMPARE(test::wordPlaces(printLines(lines, &blankedPages)), expected);
        QCOMPARE(blankedPages, pages);
        // Empty lines at the end start no page of their own.
        int trailing = 0;
        while (blank.contains(trailing)) {
            ++trailing;
        }
        const QStringList head = lines.mid(0, onPage(1) + trailing);
        QCOMPARE(printLines(head, &blankedPages).size(), head.size() - head.count(QString()));
        QCOMPARE(blankedPages, 1);
    }

    void nothingPrintsBeforeBegin() {
        TextFlowPrinter printer(nullptr);
        QVERIFY(!printer.begin());
        printer.print(u"x"_s);
        printer.endLine();
        QVERIFY(!printer.endDocument());
    }

private:
    // Prints each line and a line end on a small page; the printed words and the page count.
    QList<test::PrintedWord> printLines(const QStringList& lines, int* pages) {
        const QString pdf = dir_.filePath(u"lines.pdf"_s);
        SmallPage page(pdf);
        for (const QString& line : lines) {
            page.flow.print(line);
            page.flow.endLine();
        }
        return page.begun && page.flow.endDocument() ? test::printedWords(pdf, pages)
                                                     : QList<test::PrintedWord>();
    }

    QTemporaryDir dir_;
};

QTEST_MAIN(PrintingTest)
#include "tst_printing.moc"
