#include "printing.h"
#include "shopprint.h"
#include "testsupport.h"

#include <QPageLayout>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace pv;
using pv::test::PdfPrinter;

namespace {

// One word as pdftotext -bbox reports it, in points from the page's top left.
struct PrintedWord {
    int page = 0;
    qreal xMin = 0;
    qreal yMin = 0;
    qreal yMax = 0;
    QString text;
};

QList<PrintedWord> printedWords(const QString& pdfPath) {
    QProcess process;
    process.start(
        QStringLiteral("pdftotext"),
        // A crop area far larger than the page keeps text printed past its edge.
        {QStringLiteral("-bbox"), QStringLiteral("-x"), QStringLiteral("0"), QStringLiteral("-y"),
         QStringLiteral("0"), QStringLiteral("-W"), QStringLiteral("100000"), QStringLiteral("-H"),
         QStringLiteral("100000"), pdfPath, QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        return {};
    }
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression pageOrWord(
        QStringLiteral("<page |<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"[0-9.]+\" "
                       "yMax=\"([0-9.]+)\">([^<]*)</word>"));
    QList<PrintedWord> words;
    int page = 0;
    for (const auto& match : pageOrWord.globalMatch(html)) {
        if (match.captured(0).startsWith(QStringLiteral("<page"))) {
            ++page;
            continue;
        }
        words.append({page, match.captured(1).toDouble(), match.captured(2).toDouble(),
                      match.captured(3).toDouble(), match.captured(4)});
    }
    return words;
}

int pageCountOf(const QString& pdfPath) {
    QProcess process;
    process.start(QStringLiteral("pdfinfo"), {pdfPath});
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        return -1;
    }
    static const QRegularExpression pages(QStringLiteral("Pages:\\s+(\\d+)"));
    const auto match = pages.match(QString::fromUtf8(process.readAllStandardOutput()));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// Groups printed words into lines: (page, top) in print order.
QStringList printedLines(const QList<PrintedWord>& words) {
    QStringList lines;
    int page = -1;
    qreal top = -1;
    for (const PrintedWord& word : words) {
        if (word.page != page || qAbs(word.yMin - top) > 1.0) {
            lines.append(word.text);
            page = word.page;
            top = word.yMin;
        } else {
            lines.last() += QLatin1Char(' ') + word.text;
        }
    }
    return lines;
}

void setPage(QPrinter* printer, qreal widthPoints, qreal heightPoints) {
    const QPageLayout layout(QPageSize(QSizeF(widthPoints, heightPoints), QPageSize::Point),
                             QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    QVERIFY(printer->setPageLayout(layout));
}

}  // namespace

class ShopPrintTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(dir_.isValid()); }

    void linesSplitAtCrLf_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("three lines, final CR LF")
            << QStringLiteral("milk\r\neggs\r\nbread\r\n") << QStringList{"milk", "eggs", "bread"};
        QTest::newRow("no final CR LF")
            << QStringLiteral("milk\r\neggs") << QStringList{"milk", "eggs"};
        QTest::newRow("empty line kept")
            << QStringLiteral("a\r\n\r\nb\r\n") << QStringList{"a", "", "b"};
        QTest::newRow("only CR LF") << QStringLiteral("\r\n") << QStringList{""};
        QTest::newRow("two final CR LF") << QStringLiteral("a\r\n\r\n") << QStringList{"a", ""};
        QTest::newRow("empty file") << QString() << QStringList{};
        QTest::newRow("lone CR and LF stay in the line")
            << QStringLiteral("a\rb\nc\r\n") << QStringList{"a\rb\nc"};
    }
    void linesSplitAtCrLf() {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(shoppingListLines(text), lines);
    }

    void wordsKeepTheirBlank_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("sentence") << QStringLiteral("2 lb apples, 1 doz eggs")
                                  << QStringList{"2 ", "lb ", "apples, ", "1 ", "doz ", "eggs"};
        QTest::newRow("run of blanks")
            << QStringLiteral("a   b") << QStringList{"a ", " ", " ", "b"};
        QTest::newRow("leading blanks") << QStringLiteral("  tea") << QStringList{" ", " ", "tea"};
        QTest::newRow("trailing blank") << QStringLiteral("tea ") << QStringList{"tea "};
        QTest::newRow("one word") << QStringLiteral("bread") << QStringList{"bread"};
        QTest::newRow("empty") << QString() << QStringList{};
    }
    void wordsKeepTheirBlank() {
        QFETCH(QString, line);
        QFETCH(QStringList, words);
        QCOMPARE(shoppingListWords(line), words);
    }

    void bytesPrintAsWindows1252() {
        const QString list = writeList("1252.txt", "caf\xe9 \x80 5\r\n");
        PdfPrinter pdf(dir_.filePath(QStringLiteral("1252.pdf")));
        QVERIFY(PrintShoppingList(list));
        QCOMPARE(test::pdfText(pdf.printer()->outputFileName()).trimmed(),
                 QString::fromUtf8("café € 5"));
    }

    void narrowPageBreaksOnlyBetweenWords() {
        const QString line = QStringLiteral("2 lb apples, 1 doz eggs");
        const QString list = writeList("narrow.txt", line.toLatin1() + "\r\n");
        PdfPrinter pdf(dir_.filePath(QStringLiteral("narrow.pdf")));
        // Wide enough for "2 lb apples, " and for "1 doz eggs", not for "2 lb apples, 1 ".
        const qreal first = measure(QStringLiteral("2 lb apples, "));
        const qreal second = measure(QStringLiteral("1 doz eggs"));
        const qreal width = qMax(first, second) + 1;
        QVERIFY(measure(QStringLiteral("2 lb apples, 1 ")) > width);
        setPage(pdf.printer(), width, 400);

        QVERIFY(PrintShoppingList(list, pdf.printer()));
        const QList<PrintedWord> words = printedWords(pdf.printer()->outputFileName());
        QCOMPARE(printedLines(words), (QStringList{"2 lb apples,", "1 doz eggs"}));
        // Each line starts at the left edge: the blank went with the word before it.
        for (const PrintedWord& word : words) {
            if (word.text == QLatin1String("2") || word.text == QLatin1String("1")) {
                QVERIFY2(word.xMin < 1.0, qPrintable(word.text));
            }
        }
    }

    void wordsAreNeverSplit_data() {
        QTest::addColumn<bool>("widerThanPage");
        QTest::newRow("word just fits") << false;
        QTest::newRow("word wider than the page") << true;
    }
    void wordsAreNeverSplit() {
        QFETCH(bool, widerThanPage);
        const QString longWord = QStringLiteral("supercalifragilistic");
        const QString list = writeList("wide.txt", "ab supercalifragilistic cd\r\n");
        PdfPrinter pdf(dir_.filePath(QStringLiteral("wide.pdf")));
        const qreal width =
            widerThanPage ? measure(QStringLiteral("ab cd ")) : measure(longWord + u' ') + 1;
        setPage(pdf.printer(), width, 400);
        QVERIFY(PrintShoppingList(list, pdf.printer()));
        const QList<PrintedWord> words = printedWords(pdf.printer()->outputFileName());
        const QStringList lines = printedLines(words);
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines.at(0), QStringLiteral("ab"));
        QCOMPARE(lines.at(2), QStringLiteral("cd"));
        if (widerThanPage) {
            // The page cuts off what is printed past its edge; the word still
            // starts a line of its own and nothing of it moved to the next line.
            QVERIFY(!lines.at(1).isEmpty());
            QVERIFY2(longWord.startsWith(lines.at(1)), qPrintable(lines.at(1)));
        } else {
            QCOMPARE(lines.at(1), longWord);
        }
        QVERIFY(words.at(1).xMin < 1.0);
    }

    void longLineAndWordPrintWhole() {
        // Far beyond 32,767 characters: nothing is dropped.
        QByteArray word(40000, 'x');
        QByteArray line;
        for (int i = 0; i < 3000; ++i) {
            line += "w" + QByteArray::number(i) + ' ';
        }
        const QString list = writeList("long.txt", line + "\r\n" + word + "\r\nend\r\n");
        PdfPrinter pdf(dir_.filePath(QStringLiteral("long.pdf")));
        setPage(pdf.printer(), 600, 800);
        QVERIFY(PrintShoppingList(list, pdf.printer()));
        const QList<PrintedWord> words = printedWords(pdf.printer()->outputFileName());
        QVERIFY(!words.isEmpty());
        QCOMPARE(words.constFirst().text, QStringLiteral("w0"));
        QCOMPARE(words.constLast().text, QStringLiteral("end"));
        int numbered = 0;
        for (const PrintedWord& w : words) {
            numbered += w.text.startsWith(QLatin1Char('w')) ? 1 : 0;
        }
        QCOMPARE(numbered, 3000);
    }

    void emptyLinePrintsAnEmptyLine() {
        const QString list = writeList("gap.txt", "milk\r\n\r\neggs\r\n");
        PdfPrinter pdf(dir_.filePath(QStringLiteral("gap.pdf")));
        setPage(pdf.printer(), 300, 400);
        QVERIFY(PrintShoppingList(list, pdf.printer()));
        const QList<PrintedWord> words = printedWords(pdf.printer()->outputFileName());
        QCOMPARE(words.size(), 2);
        const qreal lineStep = measureLineStep();
        // eggs sits two lines below milk.
        QCOMPARE(qRound(words.at(1).yMin - words.at(0).yMin), qRound(2 * lineStep));
        const QString text = test::pdfText(pdf.printer()->outputFileName());
        QVERIFY2(text.contains(QRegularExpression(QStringLiteral("milk\\s*\\n\\s*\\n\\s*eggs"))),
                 qPrintable(text));
    }

    void longListBreaksPages() {
        QByteArray bytes;
        for (int i = 1; i <= 60; ++i) {
            bytes += "item " + QByteArray::number(i) + "\r\n";
        }
        const QString list = writeList("many.txt", bytes);
        PdfPrinter pdf(dir_.filePath(QStringLiteral("many.pdf")));
        const qreal height = 150;
        setPage(pdf.printer(), 300, height);
        QVERIFY(PrintShoppingList(list, pdf.printer()));
        const QString pdfPath = pdf.printer()->outputFileName();
        const QList<PrintedWord> words = printedWords(pdfPath);
        const QStringList lines = printedLines(words);
        QCOMPARE(lines.size(), 60);
        for (int i = 0; i < 60; ++i) {
            QCOMPARE(lines.at(i), QStringLiteral("item %1").arg(i + 1));
        }
        for (const PrintedWord& word : words) {
            QVERIFY2(word.yMax <= height + 0.5, qPrintable(word.text));
        }
        const int pages = pageCountOf(pdfPath);
        QVERIFY(pages > 1);
        QCOMPARE(pages, words.constLast().page);
    }

    void finalLineEndAddsNoPage() {
        // Find how many lines fill the first page, then print exactly that many:
        // the final CR LF must not start another page.
        const qreal height = 120;
        QByteArray bytes;
        for (int i = 1; i <= 40; ++i) {
            bytes += "line" + QByteArray::number(i) + "\r\n";
        }
        int perPage = 0;
        {
            const QString list = writeList("probe.txt", bytes);
            PdfPrinter pdf(dir_.filePath(QStringLiteral("probe.pdf")));
            setPage(pdf.printer(), 300, height);
            QVERIFY(PrintShoppingList(list, pdf.printer()));
            for (const PrintedWord& w : printedWords(pdf.printer()->outputFileName())) {
                perPage += w.page == 1 ? 1 : 0;
            }
        }
        QVERIFY(perPage > 1 && perPage < 40);
        QByteArray full;
        for (int i = 1; i <= perPage; ++i) {
            full += "line" + QByteArray::number(i) + "\r\n";
        }
        const QString list = writeList("full.txt", full);
        PdfPrinter pdf(dir_.filePath(QStringLiteral("full.pdf")));
        setPage(pdf.printer(), 300, height);
        QVERIFY(PrintShoppingList(list, pdf.printer()));
        QCOMPARE(pageCountOf(pdf.printer()->outputFileName()), 1);
    }

    void missingFileFailsQuietly() {
        PdfPrinter pdf(dir_.filePath(QStringLiteral("none.pdf")));
        QVERIFY(!PrintShoppingList(dir_.filePath(QStringLiteral("absent.txt"))));
        QVERIFY(!QFile::exists(pdf.printer()->outputFileName()));
        // A folder where the file should be.
        QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("folder.txt")));
        QVERIFY(!PrintShoppingList(dir_.filePath(QStringLiteral("folder.txt"))));
        QVERIFY(!QFile::exists(pdf.printer()->outputFileName()));
    }

private:
    QString writeList(const char* name, const QByteArray& bytes) {
        const QString path = dir_.filePath(QString::fromLatin1(name));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            return {};
        }
        return path;
    }
    // Widths as the printer measures them in its current font.
    qreal measure(const QString& text) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir_.filePath(QStringLiteral("measure.pdf")));
        TextFlowPrinter flow(&printer);
        if (!flow.begin()) {
            return -1;
        }
        const qreal width = flow.textWidth(text);
        flow.endDocument();
        return width;
    }
    qreal measureLineStep() {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir_.filePath(QStringLiteral("measure.pdf")));
        TextFlowPrinter flow(&printer);
        if (!flow.begin()) {
            return -1;
        }
        flow.endLine();
        const qreal step = flow.currentY();
        flow.endDocument();
        return step;
    }

    QTemporaryDir dir_;
};

QTEST_MAIN(ShopPrintTest)
#include "tst_shopprint.moc"
