// The quoted-field reading rule and the Windows-1252 codec, byte by byte.
#include "cp1252.h"
#include "fieldreader.h"
#include "storetest.h"
#include "table.h"

#include <QRandomGenerator>

using namespace pv::store;
using pv::test::Table;

Q_DECLARE_METATYPE(QList<QByteArray>)

namespace {

// Every field until the end, as ListCategoriesByField reads; "<62>" marks a
// field asked for when nothing was left.
QList<QByteArray> readAll(QByteArrayView bytes) {
    QuotedFieldReader reader(bytes);
    QList<QByteArray> fields;
    while (!reader.atEnd()) {
        const auto field = reader.next();
        fields.append(field ? field->toByteArray() : QByteArray("<62>"));
        if (!field) {
            break;
        }
    }
    return fields;
}

// A record of `count` quoted fields, the first holding `first`.
QByteArray record(int count, const QByteArray& first = {}) {
    return '"' + first + '"' + QByteArray(",\"\"").repeated(count - 1) + "\r\n";
}

}  // namespace

class ReaderTest : public QObject {
    Q_OBJECT

private slots:
    void fields_data() {
        const Table<QByteArray, QList<QByteArray>> row({"bytes", "expected"});
        row.columns();
        row("empty", "", {});
        row("commas and CR LF", "a,b\r\nc", {"a", "b", "c"});
        row("quoted keeps comma and line end", "\"a,b\",\"c\r\nd\"", {"a,b", "c\r\nd"});
        row("rest after quote passed over", "\"abc\"def,ghi", {"abc", "ghi"});
        row("rest with quote passed over", "\"a\"b\"c\",d", {"a", "d"});
        row("missing closing quote", "\"unterminated, still", {"unterminated, still"});
        row("only quotes", "\"\"\"\"\"", {""});
        row("only blanks", "   ", {"<62>"});
        row("blanks after last field", "a\r\n  ", {"a", "<62>"});
        row("lone CR, lone LF", "a\rb\nc", {"a", "b", "c"});
        row("LF CR is two line ends", "\n\r", {"", ""});
        row("quoted then CR CR LF", "\"x\"\r\r\n", {"x", ""});
        row("leading blanks skipped, trailing kept", "  a  ,  \" b \" ,c", {"a  ", " b ", "c"});
        row("tab is not skipped", "\ta", {"\ta"});
        row("commas", "a,,b,", {"a", "", "b"});
        row("NUL bytes", QByteArray("a\0b,\"\0\"", 7),
            {QByteArray("a\0b", 3), QByteArray(1, '\0')});
        row("1 MB field", QByteArray(1 << 20, 'x') + ",y", {QByteArray(1 << 20, 'x'), "y"});
        row("category list", "Soups\r\nBreads, Cakes\r\n\"Quoted\" Pies\r\n",
            {"Soups", "Breads", "Cakes", "Quoted"});
    }

    void fields() {
        QFETCH(QByteArray, bytes);
        QTEST(readAll(bytes), "expected");
    }

    void recipeRecords_data() {
        const QString cut = QStringLiteral("62 Input past end of file");  // an incomplete record
        const Table<QByteArray, QString> row({"bytes", "first"});
        row.columns();
        row("empty file", "", cut);
        row("one record", record(35, "x"), "x");
        row("unquoted record", "1" + QByteArray(",2").repeated(34) + "\r\n", "1");
        row("no final line end", record(35, "x").chopped(2), "x");
        row("34 fields", record(34), cut);
        row("36 fields", record(36), cut);
        row("two records, last wins", record(35, "a") + record(35, "b"), "b");
        row("blank after record", record(35, "a") + " ", cut);
        row("quote shifts fields", record(34, "9\" pan, x"), "9");
        row("only quotes", QByteArray(200, '"'), cut);
        row("only line ends", QByteArray(35, '\n'), "");
        row("only CR", QByteArray(34, '\r'), cut);
        row("1 MB field", record(35, QByteArray(1 << 20, 'x')), QString(1 << 20, u'x'));
        row("1 MB unclosed", '"' + QByteArray(1 << 20, 'x'), cut);
    }

    void recipeRecords() {
        QFETCH(QByteArray, bytes);
        const auto result = parseRecipeRecord(bytes);
        QTEST(result.ok() ? result.value()[0] : pv::test::said(result), "first");
    }

    // Binary files in a category folder: a result or error 62, and the reader
    // always moves forward.
    void randomBytesNeverBreakTheReader() {
        QRandomGenerator random(1252);
        const char special[] = {'"', ',', '\r', '\n', ' ', '\0'};
        for (int round = 0; round < 300; ++round) {
            QByteArray bytes(int(random.bounded(4000)), Qt::Uninitialized);
            for (char& b : bytes) {
                b = random.bounded(3) == 0 ? special[random.bounded(6)] : char(random.bounded(256));
            }
            QVERIFY(readAll(bytes).size() <= bytes.size() + 1);
            const auto recipe = parseRecipeRecord(bytes);
            QVERIFY(recipe.ok() || recipe.failure().number == 62);
            QVERIFY(parseFieldList(bytes).size() <= bytes.size());
        }
    }

    void linesAndCategoryFields() {
        QCOMPARE(splitLines(""), QStringList{});
        QCOMPARE(splitLines("a\r\n\r\nb\rc\nd"), (QStringList{"a", "", "b", "c", "d"}));
        QCOMPARE(splitLines(" \"a, b\" \r\n"), QStringList{" \"a, b\" "});
        // Only blanks after the last line end are dropped, not an empty line.
        QCOMPARE(parseFieldList("Soups\r\n  "), QStringList{QStringLiteral("Soups")});
        QCOMPARE(parseFieldList("Cr\xE8me\r\n\r\n"),
                 (QStringList{QStringLiteral("Crème"), QString()}));
    }

    void codec() {
        QByteArray all(256, Qt::Uninitialized);
        for (int i = 0; i < 256; ++i) {
            all[i] = char(i);
        }
        const QString text = decodeCp1252(all);
        QCOMPARE(encodeCp1252(text), all);
        QCOMPARE(text.left(0x80), QString::fromLatin1(all.left(0x80)));
        QCOMPARE(text.mid(0xA0), QString::fromLatin1(all.mid(0xA0)));
        // The 0x80 row with its five unassigned bytes kept as C1 characters.
        QCOMPARE(text.mid(0x80, 0x20),
                 QStringLiteral("€\u0081‚ƒ„…†‡ˆ‰Š‹Œ\u008DŽ\u008F\u0090‘’“”•–—˜™š›œ\u009DžŸ"));
    }

    void unencodableCharacters_data() {
        const Table<QString, int, uint> row({"text", "at", "code"});
        row.columns();
        row("all fine", QStringLiteral("Crème brûlée – 5 €"), -1, 0u);
        row("C1 without a byte", QStringLiteral("a\u0080"), 1, 0x80u);
        row("first of two", QStringLiteral("x☃Ω"), 1, 0x2603u);
        row("surrogate pair", QStringLiteral("ok 🎂"), 3, 0x1F382u);
    }

    void unencodableCharacters() {
        QFETCH(QString, text);
        const qsizetype at = firstUnencodable(text);
        QTEST(int(at), "at");
        QTEST(at < 0 ? 0u : uint(codePointAt(text, at)), "code");
    }
};

QTEST_GUILESS_MAIN(ReaderTest)
#include "tst_storereader.moc"
