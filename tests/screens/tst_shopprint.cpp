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

// The words of a PDF, and its page count (empty pages included).
QList<PrintedWord> printedWords(const QString& pdfPath, int* pages = nullptr) {
    QProcess process;
    // A crop area far larger than the page keeps text printed past its edge.
    process.start(QStringLiteral("pdftotext"),
                  {"-bbox", "-x", "0", "-y", "0", "-W", "100000", "-H", "100000", pdfPath, "-"});
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        return {};
    }
    static const QRegularExpression pageOrWord(
        QStringLiteral("<page |<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"[0-9.]+\" "
                       "yMax=\"([0-9.]+)\">([^<]*)</word>"));
    QList<PrintedWord> words;
    int page = 0;
    for (const auto& match : pageOrWord.globalMatch(QString::fromUtf8(process.readAll()))) {
        if (match.captured(0).startsWith(QStringLiteral("<page"))) {
            ++page;
        } else {
            words.append({page, match.captured(1).toDouble(), match.captured(2).toDouble(),
                          match.captured(3).toDouble(), match.captured(4)});
        }
    }
    if (pages) {
        *pages = page;
    }
    return words;
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

}  // namespace

class ShopPrintTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(dir_.isValid()); }

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

    void bytesPrintAsWindows1252() {
        PdfPrinter pdf(dir_.filePath(QStringLiteral("1252.pdf")));
        QVERIFY(PrintShoppingList(writeList("caf\xe9 \x80 5\r\n")));
        QCOMPARE(test::pdfText(pdf.printer()->outputFileName()).trimmed(),
                 QString::fromUtf8("café € 5"));
    }

    void narrowPageBreaksOnlyBetweenWords() {
        // Wide enough for "2 lb apples, " and for "1 doz eggs", not for "2 lb apples, 1 ".
        const qreal width =
            qMax(measure("2 lb apples, ").width(), measure("1 doz eggs").width()) + 1;
        QVERIFY(measure("2 lb apples, 1 ").width() > width);
        const QList<PrintedWord> words = print("2 lb apples, 1 doz eggs\r\n", width, 400);
        QCOMPARE(printedLines(words), (QStringList{"2 lb apples,", "1 doz eggs"}));
        // Each line starts at the left edge: the blank went with the word before it.
        QVERIFY(words.at(0).xMin < 1.0 && words.at(3).xMin < 1.0);
    }

    void wordsAreNeverSplit_data() {
        QTest::addColumn<bool>("widerThanPage");
        QTest::newRow("word just fits") << false;
        QTest::newRow("word wider than the page") << true;
    }
    void wordsAreNeverSplit() {
        QFETCH(bool, widerThanPage);
        const QString longWord = QStringLiteral("supercalifragilistic");
        const qreal width = measure(widerThanPage ? "ab cd " : longWord + u' ').width() + 1;
        const QList<PrintedWord> words = print("ab supercalifragilistic cd\r\n", width, 400);
        const QStringList lines = printedLines(words);
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines.at(0), QStringLiteral("ab"));
        QCOMPARE(lines.at(2), QStringLiteral("cd"));
        // The page cuts off what passes its edge; the word still starts a line of its own.
        QVERIFY2(!lines.at(1).isEmpty() && longWord.startsWith(lines.at(1)), qPrintable(lines[1]));
        QCOMPARE(lines.at(1) == longWord, !widerThanPage);
        QVERIFY(words.at(1).xMin < 1.0);
    }

    void longLineAndWordPrintWhole() {
        // Far beyond 32,767 characters: nothing is dropped.
        QByteArray line;
        for (int i = 0; i < 3000; ++i) {
            line += "w" + QByteArray::number(i) + ' ';
        }
        const QList<PrintedWord> words =
            print(line + "\r\n" + QByteArray(40000, 'x') + "\r\nend\r\n", 600, 800);
        QVERIFY(!words.isEmpty());
        QCOMPARE(words.constFirst().text, QStringLiteral("w0"));
        QCOMPARE(words.constLast().text, QStringLiteral("end"));
        QCOMPARE(std::count_if(words.begin(), words.end(),
                               [](const PrintedWord& w) { return w.text.startsWith(u'w'); }),
                 3000);
    }

    void emptyLinePrintsAnEmptyLine() {
        const QList<PrintedWord> words = print("milk\r\n\r\neggs\r\n", 300, 400);
        QCOMPARE(words.size(), 2);
        QCOMPARE(qRound(words.at(1).yMin - words.at(0).yMin), qRound(2 * measure("").height()));
    }

    void longListBreaksPages() {
        const qreal height = 150;
        QByteArray bytes;
        for (int i = 1; i <= 60; ++i) {
            bytes += "item " + QByteArray::number(i) + "\r\n";
        }
        int pages = 0;
        QList<PrintedWord> words = print(bytes, 300, height, &pages);
        const QStringList lines = printedLines(words);
        QCOMPARE(lines.size(), 60);
        for (int i = 0; i < 60; ++i) {
            QCOMPARE(lines.at(i), QStringLiteral("item %1").arg(i + 1));
        }
        for (const PrintedWord& word : words) {
            QVERIFY2(word.yMax <= height + 0.5, qPrintable(word.text));
        }
        QVERIFY(pages > 1);
        QCOMPARE(pages, words.constLast().page);

        // Exactly the lines that filled the first page: the final CR LF starts no other.
        const qsizetype perPage = std::count_if(words.begin(), words.end(),
                                                [](const PrintedWord& w) { return w.page == 1; }) /
                                  2;
        QVERIFY(perPage > 1);
        bytes.truncate(bytes.indexOf("item " + QByteArray::number(perPage + 1) + "\r\n"));
        words = print(bytes, 300, height, &pages);
        QCOMPARE(printedLines(words).size(), perPage);
        QCOMPARE(pages, 1);
    }

    void unreadableFileFailsQuietly() {
        PdfPrinter pdf(dir_.filePath(QStringLiteral("none.pdf")));
        QVERIFY(!PrintShoppingList(dir_.filePath(QStringLiteral("absent.txt"))));
        QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("folder.txt")));
        QVERIFY(!PrintShoppingList(dir_.filePath(QStringLiteral("folder.txt"))));
        QVERIFY(!QFile::exists(pdf.printer()->outputFileName()));
    }

private:
    QString writeList(const QByteArray& bytes) {
        const QString path = dir_.filePath(QStringLiteral("list.txt"));
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? path
                                                                                    : QString();
    }
    // Prints bytes as a saved list onto a page of the given size in points, margins none.
    QList<PrintedWord> print(const QByteArray& bytes, qreal width, qreal height,
                             int* pages = nullptr) {
        PdfPrinter pdf(dir_.filePath(QStringLiteral("list.pdf")));
        const QPageLayout layout(QPageSize(QSizeF(width, height), QPageSize::Point),
                                 QPageLayout::Portrait, QMarginsF(), QPageLayout::Point);
        if (!pdf.printer()->setPageLayout(layout) ||
            !PrintShoppingList(writeList(bytes), pdf.printer())) {
            return {};
        }
        return printedWords(pdf.printer()->outputFileName(), pages);
    }
    // The width of text and the height of one line, as the printer measures them.
    QSizeF measure(const QString& text) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir_.filePath(QStringLiteral("measure.pdf")));
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

    QTemporaryDir dir_;
};

QTEST_MAIN(ShopPrintTest)
#include "tst_shopprint.moc"
