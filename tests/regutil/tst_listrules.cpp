#include "reglistrules.h"

#include <QRegularExpression>
#include <QtTest>

using namespace ostrel;

class ListRulesTest : public QObject {
    Q_OBJECT

private slots:
    void join_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("path");
        QTest::newRow("root") << "/"
                              << "a.dll"
                              << "/a.dll";
        QTest::newRow("folder") << "/usr/lib"
                                << "a.ocx"
                                << "/usr/lib/a.ocx";
        QTest::newRow("folder ending in separator") << "/usr/lib/"
                                                    << "a.dll"
                                                    << "/usr/lib/a.dll";
    }

    void join() {
        QFETCH(QString, folder);
        QFETCH(QString, name);
        QFETCH(QString, path);
        QCOMPARE(joinFolderFile(folder, name), path);
    }

    void listed_data() {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("bySuffix");
        QTest::addColumn<bool>("byName");
        const QStringList ab = {"/x/ab.dll"};
        QTest::newRow("same name") << QStringList{"/x/b.dll"} << "b.dll" << true << true;
        QTest::newRow("same name, other folder")
            << QStringList{"/y/z.dll", "/x/b.dll"} << "b.dll" << true << true;
        QTest::newRow("longer name ending alike") << ab << "b.dll" << true << false;
        QTest::newRow("other case") << QStringList{"/x/B.DLL"} << "b.dll" << false << false;
        QTest::newRow("empty list") << QStringList() << "b.dll" << false << false;
        QTest::newRow("entry without separator") << QStringList{"b.dll"} << "b.dll" << true << true;
        QTest::newRow("name in the folder part")
            << QStringList{"/b.dll/c.dll"} << "b.dll" << false << false;
    }

    void listed() {
        QFETCH(QStringList, entries);
        QFETCH(QString, name);
        QFETCH(bool, bySuffix);
        QFETCH(bool, byName);
        QCOMPARE(listedBySuffix(entries, name), bySuffix);
        QCOMPARE(listedByName(entries, name), byName);
    }

    void patterns_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("usable");
        QTest::addColumn<QStringList>("patterns");
        QTest::newRow("start") << "*.ocx;*.dll" << true << QStringList{"*.ocx", "*.dll"};
        QTest::newRow("blanks and empty parts")
            << " *.ocx ; ;*.dll;" << true << QStringList{"*.ocx", "*.dll"};
        QTest::newRow("empty lists all") << "" << true << QStringList{"*"};
        QTest::newRow("half typed") << "*." << true << QStringList{"*."};
        QTest::newRow("class") << "[ab]*.dll" << true << QStringList{"[ab]*.dll"};
        QTest::newRow("class being typed") << "*.dll;[a" << true << QStringList{"*.dll", "[[]a"};
        QTest::newRow("empty class") << "[]" << true << QStringList{"[[]]"};
        QTest::newRow("separator") << "*.dll;lib/*.so" << false << QStringList();
        QTest::newRow("NUL") << QStringLiteral("a") + QChar(0) << false << QStringList();
    }

    void patterns() {
        QFETCH(QString, text);
        QFETCH(bool, usable);
        QFETCH(QStringList, patterns);
        const std::optional<QStringList> result = filePatterns(text);
        QCOMPARE(result.has_value(), usable);
        if (usable) {
            QCOMPARE(*result, patterns);
            for (const QString& pattern : *result) {
                QVERIFY(QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern))
                            .isValid());
            }
        }
    }
};

QTEST_MAIN(ListRulesTest)
#include "tst_listrules.moc"
