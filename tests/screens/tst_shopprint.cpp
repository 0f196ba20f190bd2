#include "printerservice.h"
#include "shopprint.h"
#include "store.h"
#include "testsupport.h"
#include "textflowprinter.h"

#include <QPageLayout>
#include <QPrinter>
#include <QRegularExpression>
#include <QtTest>

using namespace pv;
using pv::test::PdfPrinter;
using namespace Qt::StringLiterals;

class ShopPrintTest : public QObject {
    Q_OBJECT
private slots:
    // Lines split at CR LF, each shown as its words joined by '|'.
    void linesAndWords_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("blanks go with the word before")
            << "2 lb apples, 1\r\n\r\na   b\r\n  tea \r\n"
            << QStringList{"2 |lb |apples, |1", "", "a | | |b", " | |tea "};
        QTest::newRow("no final CR LF") << "milk\r\neggs" << QStringList{"milk", "eggs"};
        QTest::newRow("only CR LF") << "\r\n" << QStringList{""};
        QTest::newRow("empty file") << "" << QStringList{};
        QTest::newRow("lone CR, LF") << "a\rb\nc d\r\n" << QStringList{"a\rb\nc |d"};
    }
    void linesAndWords() {
        QFETCH(QString, text);
        QStringList lines;
        for (const QString& line : shoppingListLines(text)) {
            lines << shoppingListWords(line).join(u'|');
        }
        QTEST(lines, "lines");
    }

    void narrowPageBreaksOnlyBetweenWords() {
        // Wide enough for "2 lb apples, " and for "1 doz eggs", not for "2 lb apples, 1 ".
        const qreal width =
            qMax(measure("2 lb apples, ").width(), measure("1 doz eggs").width()) + 1;
        QVERIFY(measure("2 lb apples, 1 ").width() > width);
        QCOMPARE(print("2 lb apples, 1 doz eggs\r\n\r\nend\r\n", width, 400),
                 (QStringList{"2 lb apples,", "1 doz eggs", "end"}));
        // Each line starts at the left edge: the blank went with the word before it.
        QVERIFY(printed_[0].left < 1.0 && printed_[1].left < 1.0);
        // The empty line takes a line of its own.
        QCOMPARE(qRound(printed_[2].top - printed_[1].top), qRound(2 * measure("").height()));
        // A word wider than the page is never split: it starts a line of its own, and the
        // page cuts off what passes its edge.
        const QStringList lines =
            print("ab supercalifragilistic cd\r\n", measure("ab cd ").width() + 1, 400);
        QCOMPARE(lines.size(), 3);
        QCOMPARE((QStringList{lines.at(0), lines.at(2)}), (QStringList{"ab", "cd"}));
        QVERIFY2(!lines.at(1).isEmpty() && u"supercalifragilistic"_s.startsWith(lines.at(1)),
                 qPrintable(lines[1]));
        QVERIFY(printed_[1].left < 1.0);
    }

    void longLineAndWordPrintWhole() {
        // Far beyond 32,767 characters: nothing is dropped.
        QByteArray line;
        for (int i = 0; i < 3000; ++i) {
            line += "w" + QByteArray::number(i) + ' ';
        }
        const QStringList words =
            print(line + "\r\n" + QByteArray(40000, 'x') + "\r\nend\r\n", 600, 800)
                .join(u' ')
                .split(u' ');
        QCOMPARE(words.constFirst(), QStringLiteral("w0"));
        QCOMPARE(words.constLast(), QStringLiteral("end"));
        QCOMPARE(words.filter(QRegularExpression(QStringLiteral("^w\\d+$"))).size(), 3000);
    }

    void longListBreaksPages() {
        const qreal height = 150;
        QByteArray bytes;
        QStringList expected;
        for (int i = 1; i <= 60; ++i) {
            bytes += "item " + QByteArray::number(i) + "\r\n";
            expected << QStringLiteral("item %1").arg(i);
        }
        QCOMPARE(print(bytes, 300, height), expected);
        for (const test::PrintedWord& line : printed_) {
            QVERIFY2(line.bottom <= height + 0.5, qPrintable(line.text));
        }
        QVERIFY(pages_ > 1);
        QCOMPARE(pages_, printed_.constLast().page);
    }

    // Printed as the program does, with the dialog: the bytes as Windows-1252; a file it
    // cannot read prints nothing.
    void printsTheSavedFileOrNothing() {
        PdfPrinter pdf(app_.file(u"1252.pdf"_s));
        QVERIFY(!printShoppingList(store_, u"absent.txt"_s));
        QVERIFY(QDir(app_.path()).mkpath(u"Shopping List/folder.txt"_s));
        QVERIFY(!printShoppingList(store_, u"folder.txt"_s));
        QVERIFY(!printShoppingList(store_, u"../PV.ini"_s));
        QVERIFY(!QFile::exists(pdf.printer()->outputFileName()));
        QVERIFY(writeList("caf\xe9 \x80 5\r\n"));
        QVERIFY(printShoppingList(store_, kList));
        QCOMPARE(test::pdfText(pdf.printer()->outputFileName()).trimmed(), u"café € 5"_s);
    }

private:
    bool writeList(const QByteArray& bytes) {
        return app_.write(QStringLiteral("Shopping List/") + kList, bytes);
    }
    // Prints bytes as a saved list onto a page of the given size in points, no margins, and
    // reads back the texts of the printed lines; printed_ and pages_ tell where they sit.
    QStringList print(const QByteArray& bytes, qreal width, qreal height) {
        printed_.clear();
        pages_ = 0;
        PdfPrinter pdf(app_.file(QStringLiteral("list.pdf")));
        const QPageLayout layout(QPageSize(QSizeF(width, height), QPageSize::Point),
                                 QPageLayout::Portrait, QMarginsF(), QPageLayout::Point);
        if (!writeList(bytes) || !pdf.printer()->setPageLayout(layout) ||
            !printShoppingList(store_, kList, pdf.printer())) {
            return {};
        }
        QStringList lines;
        for (const test::PrintedWord& word :
             test::printedWords(pdf.printer()->outputFileName(), &pages_)) {
            if (!printed_.isEmpty() && printed_.last().page == word.page &&
                qAbs(printed_.last().top - word.top) <= 1.0) {
                printed_.last().text += u' ' + word.text;
                lines.last() = printed_.last().text;
            } else {
                printed_.append(word);
                lines << word.text;
            }
        }
        return lines;
    }
    // The width of text and the height of one line, as the printer measures them.
    QSizeF measure(const QString& text) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(app_.file(QStringLiteral("measure.pdf")));
        TextFlowPrinter flow(&printer);
        if (!flow.begin()) {
            return {};
        }
        const qreal width = flow.textWidth(text);
        flow.endLine();
        const QSizeF size(width, flow.currentY());
        flow.endDocument();
        return size;
    }

    static inline const QString kList = QStringLiteral("list.txt");
    test::TempAppFolder app_;
    store::Store store_{app_.path()};
    QList<test::PrintedWord> printed_;  // one per line, its first word's place
    int pages_ = 0;
};

QTEST_MAIN(ShopPrintTest)
#include "tst_shopprint.moc"
