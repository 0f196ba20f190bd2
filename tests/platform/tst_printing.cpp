#include "printing.h"
#include "testsupport.h"

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
        service.printer()->setPageLayout(QPageLayout(QPageSize(QSizeF(100, 100), QPageSize::Point),
                                                     QPageLayout::Portrait, QMarginsF(5, 5, 5, 5)));
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
        service.printer()->setPageLayout(QPageLayout(QPageSize(QSizeF(100, 100), QPageSize::Point),
                                                     QPageLayout::Portrait, QMarginsF(5, 5, 5, 5)));
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

    void nothingPrintsBeforeBegin() {
        TextFlowPrinter printer(nullptr);
        QVERIFY(!printer.begin());
        printer.print(QStringLiteral("x"));
        printer.endLine();
        QVERIFY(!printer.endDocument());
    }
};

QTEST_MAIN(PrintingTest)
#include "tst_printing.moc"
