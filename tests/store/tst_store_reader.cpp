// The quoted-field reading rule and the Windows-1252 codec, byte by byte.
#include "cp1252.h"
#include "fieldreader.h"

#include <QRandomGenerator>
#include <QTest>

using namespace pv::store;

Q_DECLARE_METATYPE(QList<QByteArray>)

namespace {

// Every field until the end, as ListCategoriesByField reads; "<62>" marks a
// field asked for when nothing was left.
QList<QByteArray> readAll(QByteArrayView bytes) {
    QuotedFieldReader reader(bytes);
    QList<QByteArray> fields;
    while (!reader.atEnd()) {
        const auto field = reader.next();
        if (!field) {
            fields.append("<62>");
            break;
        }
        fields.append(field->toByteArray());
    }
    return fields;
}

QByteArray record(int fields, const QByteArray& first = {}) {
    QByteArray bytes;
    for (int i = 0; i < fields; ++i) {
        bytes += (i ? ",\"" : "\"") + (i == 0 ? first : QByteArray()) + "\"";
    }
    return bytes + "\r\n";
}

}  // namespace

class ReaderTest : public QObject {
    Q_OBJECT

private slots:
    void fields_data();
    void fields();
    void recipeRecords_data();
    void recipeRecords();
    void megabyteField();
    void randomBytesNeverBreakTheReader();
    void categoryFieldsDropOnlyTrailingBlanks();
    void lines_data();
    void lines();
    void everyByteDecodesAndEncodesBack();
    void highBytes_data();
    void highBytes();
    void unencodableCharacters_data();
    void unencodableCharacters();
};

void ReaderTest::fields_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<QByteArray>>("expected");
    using L = QList<QByteArray>;
    QTest::newRow("empty") << QByteArray() << L{};
    QTest::newRow("one unquoted") << QByteArray("abc") << L{"abc"};
    QTest::newRow("commas and CR LF") << QByteArray("a,b\r\nc") << L{"a", "b", "c"};
    QTest::newRow("quoted keeps comma") << QByteArray("\"a,b\",c") << L{"a,b", "c"};
    QTest::newRow("quoted keeps line end") << QByteArray("\"a\r\nb\",c") << L{"a\r\nb", "c"};
    QTest::newRow("rest after quote passed over")
        << QByteArray("\"abc\"def,ghi") << L{"abc", "ghi"};
    QTest::newRow("rest with quote passed over") << QByteArray("\"a\"b\"c\",d") << L{"a", "d"};
    QTest::newRow("missing closing quote")
        << QByteArray("\"unterminated, still") << L{"unterminated, still"};
    QTest::newRow("only one quote") << QByteArray("\"") << L{""};
    QTest::newRow("only quotes") << QByteArray("\"\"\"\"\"") << L{""};
    QTest::newRow("empty quoted pair") << QByteArray("\"\",\"\"") << L{"", ""};
    QTest::newRow("only blanks") << QByteArray("   ") << L{"<62>"};
    QTest::newRow("blanks after last field") << QByteArray("a\r\n  ") << L{"a", "<62>"};
    QTest::newRow("lone CR") << QByteArray("\r") << L{""};
    QTest::newRow("lone LF") << QByteArray("\n") << L{""};
    QTest::newRow("CR LF is one line end") << QByteArray("\r\n") << L{""};
    QTest::newRow("LF CR is two") << QByteArray("\n\r") << L{"", ""};
    QTest::newRow("CR between fields") << QByteArray("a\rb\nc") << L{"a", "b", "c"};
    QTest::newRow("quoted then CR CR LF") << QByteArray("\"x\"\r\r\n") << L{"x", ""};
    QTest::newRow("leading blanks skipped, trailing kept")
        << QByteArray("  a  ,b") << L{"a  ", "b"};
    QTest::newRow("blank before quote") << QByteArray("  \" a \" ,b") << L{" a ", "b"};
    QTest::newRow("tab is not skipped") << QByteArray("\ta") << L{"\ta"};
    QTest::newRow("trailing comma") << QByteArray("a,") << L{"a"};
    QTest::newRow("two commas") << QByteArray("a,,b") << L{"a", "", "b"};
    QTest::newRow("NUL bytes") << QByteArray("a\0b,\"\0\"", 7)
                               << L{QByteArray("a\0b", 3), QByteArray("\0", 1)};
    QTest::newRow("category list") << QByteArray("Soups\r\nBreads, Cakes\r\n\"Quoted\" Pies\r\n")
                                   << L{"Soups", "Breads", "Cakes", "Quoted"};
}

void ReaderTest::fields() {
    QFETCH(QByteArray, bytes);
    QFETCH(QList<QByteArray>, expected);
    QCOMPARE(readAll(bytes), expected);
}

void ReaderTest::recipeRecords_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QByteArray unquoted;
    for (int i = 1; i <= 35; ++i) {
        unquoted += QByteArray::number(i) + (i < 35 ? "," : "\r\n");
    }
    QTest::newRow("empty file") << QByteArray() << false << ""
                                << "";
    QTest::newRow("one record") << record(35, "x") << true << "x"
                                << "";
    QTest::newRow("unquoted record") << unquoted << true << "1"
                                     << "35";
    QTest::newRow("no final line end") << record(35, "x").chopped(2) << true << "x"
                                       << "";
    QTest::newRow("34 fields") << record(34) << false << ""
                               << "";
    QTest::newRow("36 fields") << record(36) << false << ""
                               << "";
    QTest::newRow("two records, last wins") << record(35, "a") + record(35, "b") << true << "b"
                                            << "";
    QTest::newRow("blank after record") << record(35, "a") + " " << false << ""
                                        << "";
    QTest::newRow("quote shifts fields") << record(34, "9\" pan, x") << true << "9"
                                         << "";
    QTest::newRow("only quotes") << QByteArray(200, '"') << false << ""
                                 << "";
    QTest::newRow("only line ends") << QByteArray(35, '\n') << true << ""
                                    << "";
    QTest::newRow("only CR") << QByteArray(34, '\r') << false << ""
                             << "";
}

void ReaderTest::recipeRecords() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, ok);
    QFETCH(QString, first);
    QFETCH(QString, last);
    const auto result = parseRecipeRecord(bytes);
    QCOMPARE(result.ok(), ok);
    if (ok) {
        QCOMPARE(result.value()[0], first);
        QCOMPARE(result.value()[34], last);
    } else {
        QCOMPARE(result.failure().kind, Failure::Kind::FileSystem);
        QCOMPARE(result.failure().number, 62);
        QCOMPARE(result.failure().description, QStringLiteral("Input past end of file"));
    }
}

void ReaderTest::megabyteField() {
    const QByteArray big(1 << 20, 'x');
    const auto quoted = parseRecipeRecord(record(35, big));
    QVERIFY(quoted.ok());
    QCOMPARE(quoted.value()[0].size(), 1 << 20);
    const auto unclosed = parseRecipeRecord("\"" + big);
    QVERIFY(!unclosed.ok());
    QCOMPARE(unclosed.failure().number, 62);
    QCOMPARE(readAll(big + ",y"), (QList<QByteArray>{big, "y"}));
}

void ReaderTest::randomBytesNeverBreakTheReader() {
    // Binary files in a category folder: a result or error 62, and the
    // reader always moves forward.
    QRandomGenerator random(1252);
    for (int round = 0; round < 300; ++round) {
        QByteArray bytes(int(random.bounded(4000)), Qt::Uninitialized);
        for (char& b : bytes) {
            // Weighted towards the bytes the rule cares about.
            const char special[] = {'"', ',', '\r', '\n', ' ', '\0'};
            b = random.bounded(3) == 0 ? special[random.bounded(6)] : char(random.bounded(256));
        }
        QuotedFieldReader reader(bytes);
        int fields = 0;
        while (!reader.atEnd() && reader.next()) {
            ++fields;
        }
        QVERIFY(fields <= bytes.size() + 1);
        const auto recipe = parseRecipeRecord(bytes);
        QVERIFY(recipe.ok() || recipe.failure().number == 62);
        QVERIFY(parseFieldList(bytes).size() <= bytes.size());
    }
}

void ReaderTest::categoryFieldsDropOnlyTrailingBlanks() {
    QCOMPARE(parseFieldList("Soups\r\n  "), QStringList{QStringLiteral("Soups")});
    QCOMPARE(parseFieldList("Cr\xE8me\r\n\r\n"), (QStringList{QStringLiteral("Crème"), QString()}));
}

void ReaderTest::lines_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("empty") << QByteArray() << QStringList{};
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("open last line") << QByteArray("a\r\nb") << QStringList{"a", "b"};
    QTest::newRow("blank line kept") << QByteArray("a\r\n\r\nb\r\n") << QStringList{"a", "", "b"};
    QTest::newRow("lone CR and LF") << QByteArray("a\rb\nc") << QStringList{"a", "b", "c"};
    QTest::newRow("verbatim") << QByteArray(" \"a, b\" \r\n") << QStringList{" \"a, b\" "};
}

void ReaderTest::lines() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, expected);
    QCOMPARE(splitLines(bytes), expected);
}

void ReaderTest::everyByteDecodesAndEncodesBack() {
    QByteArray all(256, Qt::Uninitialized);
    for (int i = 0; i < 256; ++i) {
        all[i] = char(i);
    }
    const QString text = decodeCp1252(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(firstUnencodable(text), qsizetype(-1));
    QCOMPARE(encodeCp1252(text), all);
    for (int i = 0; i < 0x80; ++i) {
        QCOMPARE(text[i].unicode(), char16_t(i));
    }
    for (int i = 0xA0; i < 0x100; ++i) {
        QCOMPARE(text[i].unicode(), char16_t(i));
    }
}

void ReaderTest::highBytes_data() {
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("code");
    const int table[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                           0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                           0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                           0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    for (int i = 0; i < 32; ++i) {
        QTest::addRow("0x%X", 0x80 + i) << 0x80 + i << table[i];
    }
}

void ReaderTest::highBytes() {
    QFETCH(int, byte);
    QFETCH(int, code);
    const QByteArray bytes(1, char(byte));
    QCOMPARE(int(decodeCp1252(bytes)[0].unicode()), code);
    QCOMPARE(encodeCp1252(QString(QChar(code))), bytes);
}

void ReaderTest::unencodableCharacters_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("at");
    QTest::addColumn<uint>("code");
    QTest::newRow("all fine") << QStringLiteral("Crème brûlée – 5 €") << -1 << 0u;
    QTest::newRow("C1 without a byte") << QStringLiteral("a\u0080") << 1 << 0x80u;
    QTest::newRow("Greek") << QStringLiteral("abΩc") << 2 << 0x3A9u;
    QTest::newRow("first of two") << QStringLiteral("x☃Ω") << 1 << 0x2603u;
    QTest::newRow("surrogate pair") << QStringLiteral("ok 🎂") << 3 << 0x1F382u;
}

void ReaderTest::unencodableCharacters() {
    QFETCH(QString, text);
    QFETCH(int, at);
    QFETCH(uint, code);
    QCOMPARE(firstUnencodable(text), qsizetype(at));
    if (at >= 0) {
        QCOMPARE(uint(codePointAt(text, at)), code);
    }
}

QTEST_GUILESS_MAIN(ReaderTest)
#include "tst_store_reader.moc"
