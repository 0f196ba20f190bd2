#include "reglistrules.h"

#include <QRegularExpression>
#include <QtTest>

using namespace ostrel;

class ListRulesTest : public QObject {
    Q_OBJECT

private slots:
    void joinUsesOneSeparator() {
        QCOMPARE(joinFolderFile("/", "a.dll"), QStringLiteral("/a.dll"));
        QCOMPARE(joinFolderFile("/usr/lib", "a.ocx"), QStringLiteral("/usr/lib/a.ocx"));
        QCOMPARE(joinFolderFile("/usr/lib/", "a.dll"), QStringLiteral("/usr/lib/a.dll"));
    }

    void listed_data() {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<bool>("bySuffix");
        QTest::addColumn<bool>("byName");
        QTest::newRow("same name, other folder")
            << QStringList{"/y/z.dll", "/x/b.dll"} << true << true;
        QTest::newRow("empty list") << QStringList() << false << false;
        QTest::newRow("entry without separator") << QStringList{"b.dll"} << true << true;
        QTest::newRow("name in the folder part") << QStringList{"/b.dll/c.dll"} << false << false;
    }

    void listed() {
        QFETCH(QStringList, entries);
        QFETCH(bool, bySuffix);
        QFETCH(bool, byName);
        QCOMPARE(listedBySuffix(entries, "b.dll"), bySuffix);
        QCOMPARE(listedByName(entries, "b.dll"), byName);
    }

    void patterns_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("patterns");  // empty: the text cannot be used
        QTest::newRow("blanks and empty parts")
            << " *.ocx ; ;*.dll;" << QStringList{"*.ocx", "*.dll"};
        QTest::newRow("empty lists all") << "" << QStringList{"*"};
        QTest::newRow("class") << "[ab]*.dll" << QStringList{"[ab]*.dll"};
        QTest::newRow("class being typed") << "*.dll;[a" << QStringList{"*.dll", "[[]a"};
        QTest::newRow("empty class") << "[]" << QStringList{"[[]]"};
        QTest::newRow("separator") << "*.dll;lib/*.so" << QStringList();
        QTest::newRow("NUL") << QStringLiteral("a") + QChar(0) << QStringList();
    }

    void patterns() {
        QFETCH(QString, text);
        QFETCH(QStringList, patterns);
        const std::optional<QStringList> result = filePatterns(text);
        QCOMPARE(result.value_or(QStringList()), patterns);
        QCOMPARE(result.has_value(), !patterns.isEmpty());
        for (const QString& pattern : patterns) {
            const QString expression = QRegularExpression::wildcardToRegularExpression(pattern);
            QVERIFY(QRegularExpression(expression).isValid());
        }
    }
};

QTEST_MAIN(ListRulesTest)
#include "tst_listrules.moc"
