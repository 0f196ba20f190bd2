#include "printerservice.h"
#include "testsupport.h"
#include "textflowprinter.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>
#include <QtTest>

using namespace pv;

class PrintingTest : public QObject {
    Q_OBJECT
private slots:
    void flowKeepsPositionAcrossPrints() {
        QTemporaryDir dir;
        test::PdfPrinter service(dir.filePath(QStringLiteral("flow.pdf")));
        TextFlowPrinter printer(service.printer());
        QVERIFY(printer.begin());
        printer.setFontName(QStringLiteral("DejaVu Sans"));
        printer.setFontSize(10);
        QCOMPARE(printer.fontSize(), 10.0);
        QCOMPARE(printer.currentX(), 0.0);

        printer.print(QStringLiteral("abc"));
        const qreal afterText = printer.currentX();
        QVERIFY(qAbs(afterText - printer.textWidth(QStringLiteral("abc"))) < 0.01);
        printer.gap(5);
        QVERIFY(qAbs(printer.currentX() - afterText - printer.textWidth(QStringLiteral("     "))) <
                0.01);
        const qreal firstLine = printer.currentY();
        printer.endLine();
        QCOMPARE(printer.currentX(), 0.0);
        QVERIFY(printer.currentY() > firstLine);

        // A line break inside a text ends the line there.
        const qreal before = printer.currentY();
        printer.print(QStringLiteral("one\r\ntwo"));
        QVERIFY(printer.currentY() > before);
        QVERIFY(qAbs(printer.currentX() - printer.textWidth(QStringLiteral("two"))) < 0.01);
        QVERIFY(printer.endDocument());

        const QString text = test::pdfText(service.printer()->outputFileName());
        const QStringList lines = text.split(QLatin1Char('\n'));
        QVERIFY2(lines.size() >= 3, qPrintable(text));
        QCOMPARE(lines.at(0).trimmed(), QStringLiteral("abc"));
        QCOMPARE(lines.at(1).trimmed(), QStringLiteral("one"));
        QCOMPARE(lines.at(2).trimmed(), QStringLiteral("two"));
    }

    void linesPastThePageBottomGoOnANewPage() {
        QTemporaryDir dir;
        test::PdfPrinter service(dir.filePath(QStringLiteral("pages.pdf")));
        smallPage(service);
        TextFlowPrinter printer(service.printer());
        QVERIFY(printer.begin());
        QCOMPARE(printer.pageHeight(), 90.0);
        QCOMPARE(printer.pageWidth(), 90.0);
        printer.setFontSize(10);
        for (int i = 0; i < 20; ++i) {
            printer.print(QStringLiteral("line %1").arg(i));
            printer.endLine();
            QVERIFY(printer.currentY() + 10 <= printer.pageHeight() + 10);
        }
        QVERIFY(printer.pageCount() >= 3);
        QVERIFY(printer.endDocument());
        const QString text = test::pdfText(service.printer()->outputFileName());
        QCOMPARE(text.count(QLatin1Char('\f')), printer.pageCount());
        QVERIFY(text.contains(QStringLiteral("line 19")));
    }

    void lastLineFillingThePageAddsNoBlankPage() {
        QTemporaryDir dir;
        test::PdfPrinter service(dir.filePath(QStringLiteral("full.pdf")));
        smallPage(service);
        TextFlowPrinter printer(service.printer());
        QVERIFY(printer.begin());
        printer.setFontSize(10);
        // Print lines until the line end moves to the next page.
        int lines = 0;
        qreal previousY = -1;
        while (printer.currentY() > previousY) {
            previousY = printer.currentY();
            printer.print(QStringLiteral("line"));
            printer.endLine();
            ++lines;
        }
        QVERIFY(lines > 1);
        QCOMPARE(printer.pageCount(), 1);
        QVERIFY(printer.endDocument());
        QCOMPARE(test::pdfText(service.printer()->outputFileName()).count(QLatin1Char('\f')), 1);
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
            lines << QStringLiteral("w%1").arg(i);
        }
        int pages = 0;
        const QList<test::PrintedWord> all = printLines(lines, &pages);
        const auto onPage = [&](int page) {
            return int(std::count_if(all.begin(), all.end(), [&](const test::PrintedWord& word) {
                return word.page == page;
            }));
        };
        QVERIFY(pages > 3);
        if (blank.isEmpty()) {
            for (int i = 0; i < onPage(2); ++i) {
                blank << i;
            }
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
        printer.print(QStringLiteral("x"));
        printer.endLine();
        QVERIFY(!printer.endDocument());
    }

private:
    // A page of 100 by 100 points with margins of 5.
    static void smallPage(test::PdfPrinter& service) {
        service.printer()->setPageLayout(QPageLayout(QPageSize(QSizeF(100, 100), QPageSize::Point),
                                                     QPageLayout::Portrait, QMarginsF(5, 5, 5, 5)));
    }
    // Prints each line and a line end on a page of 100 by 100 points with
    // margins of 5, in 10 points; the printed words and the page count.
    QList<test::PrintedWord> printLines(const QStringList& lines, int* pages) {
        const QString pdf = dir_.filePath(QStringLiteral("lines.pdf"));
        test::PdfPrinter service(pdf);
        smallPage(service);
        TextFlowPrinter printer(service.printer());
        if (!printer.begin()) {
            return {};
        }
        printer.setFontSize(10);
        for (const QString& line : lines) {
            printer.print(line);
            printer.endLine();
        }
        if (!printer.endDocument()) {
            return {};
        }
        return test::printedWords(pdf, pages);
    }

    QTemporaryDir dir_;
};

QTEST_MAIN(PrintingTest)
#include "tst_printing.moc"
