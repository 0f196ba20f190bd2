#include "reglistrules.h"
#include "table.h"

#include <QRegularExpression>
#include <QtTest>

using namespace ostrel;

namespace {

// Whether "b.dll" counts as listed by the name's end and by the name after the last separator.
const pv::test::Table<QStringList, bool, bool> kListed({"entries", "bySuffix", "byName"});
// Empty: the text cannot be used.
const pv::test::Table<QString, QStringList> kPatterns({"text", "patterns"});

}  // namespace

class ListRulesTest : public QObject {
    Q_OBJECT

private slots:
    void joinUsesOneSeparator() {
        QCOMPARE(joinFolderFile("/", "a.dll"), QStringLiteral("/a.dll"));
        QCOMPARE(joinFolderFile("/usr/lib", "a.ocx"), QStringLiteral("/usr/lib/a.ocx"));
        QCOMPARE(joinFolderFile("/usr/lib/", "a.dll"), QStringLiteral("/usr/lib/a.dll"));
    }

    void listed_data() {
        kListed.columns();
        kListed("same name, other folder", {"/y/z.dll", "/x/b.dll"}, true, true);
        kListed("empty list", {}, false, false);
        kListed("entry without separator", {"b.dll"}, true, true);
        kListed("name in the folder part", {"/b.dll/c.dll"}, false, false);
    }

    void listed() {
        const auto [entries, bySuffix, byName] = kListed.fetch();
        QCOMPARE(listedBySuffix(entries, "b.dll"), bySuffix);
        QCOMPARE(listedByName(entries, "b.dll"), byName);
    }

    void patterns_data() {
        kPatterns.columns();
        kPatterns("blanks and empty parts", " *.ocx ; ;*.dll;", {"*.ocx", "*.dll"});
        kPatterns("empty lists all", "", {"*"});
        kPatterns("class", "[ab]*.dll", {"[ab]*.dll"});
        kPatterns("class being typed", "*.dll;[a", {"*.dll", "[[]a"});
        kPatterns("empty class", "[]", {"[[]]"});
        kPatterns("separator", "*.dll;lib/*.so", {});
        kPatterns("NUL", QStringLiteral("a") + QChar(0), {});
    }

    void patterns() {
        const auto [text, patterns] = kPatterns.fetch();
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
