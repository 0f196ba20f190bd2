// The meal plan's week files: exact bytes written and read back, damaged and
// outsized files, and writes that are refused or fail without a change.
#include "mealplan.h"
#include "store.h"
#include "storetest.h"
#include "tempfolder.h"

#include <QTest>

using namespace pv::store;
using namespace Qt::StringLiterals;
using pv::test::said;
using pv::test::TempFolder;

namespace {

const QDate kMonday(2026, 12, 7);

// "2026-12-07 Soups/Stew x4" for each recipe, by ", ".
QString shown(const QList<PlannedRecipe>& recipes) {
    QStringList parts;
    for (const PlannedRecipe& p : recipes) {
        parts << u"%1 %2/%3 x%4"_s.arg(p.day.toString(Qt::ISODate), p.category, p.recipe)
                     .arg(p.servings);
    }
    return parts.join(u", "_s);
}

}  // namespace

class MealPlanFileTest : public QObject {
    Q_OBJECT
private slots:
    void namesTheIsoWeek_data();
    void namesTheIsoWeek();
    void writesExactBytesAndReadsThemBack();
    void readsWhatItCan_data();
    void readsWhatItCan();
    void writesUnreadableLinesBackUnchanged_data();
    void writesUnreadableLinesBackUnchanged();
    void keepsUnreadableLinesOnSave();
    void emptyWeekHasNoFile();
    void refusesWhatALineCannotHold_data();
    void refusesWhatALineCannotHold();
    void failsWithoutAChange();
    void readsOnlyTheStartOfAHugeFile();
    void findsAPlannedRecipeInANewerReading_data();
    void findsAPlannedRecipeInANewerReading();
};

void MealPlanFileTest::namesTheIsoWeek_data() {
    QTest::addColumn<QDate>("day");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QDate>("monday");
    QTest::newRow("monday") << kMonday << u"2026-W50.txt"_s << kMonday;
    QTest::newRow("sunday") << QDate(2026, 12, 13) << u"2026-W50.txt"_s << kMonday;
    QTest::newRow("new year in last week")
        << QDate(2027, 1, 1) << u"2026-W53.txt"_s << QDate(2026, 12, 28);
    QTest::newRow("old year in first week")
        << QDate(2024, 12, 30) << u"2025-W01.txt"_s << QDate(2024, 12, 30);
    QTest::newRow("week 9") << QDate(2026, 2, 25) << u"2026-W09.txt"_s << QDate(2026, 2, 23);
}

void MealPlanFileTest::namesTheIsoWeek() {
    QFETCH(QDate, day);
    QTEST(mealPlanFileName(day), "file");
    QTEST(weekStart(day), "monday");
}

void MealPlanFileTest::writesExactBytesAndReadsThemBack() {
    TempFolder app;
    Store store(app.path());
    MealPlanWeek week;
    week.recipes = {{QDate(2026, 12, 9), u"Soups"_s, u"Stew, hearty"_s, 4},
                    {kMonday, u"Pies"_s, u"Cr\u00e8me br\u00fbl\u00e9e"_s, 12},
                    {QDate(2026, 12, 9), u"Soups"_s, u"borscht.txt"_s, 1}};
    QCOMPARE(said(store.saveMealPlan(QDate(2026, 12, 10), week)), u"ok"_s);
    QCOMPARE(app.read(u"Meal Plan/2026-W50.txt"_s),
             QByteArray("\"2026-12-07\",\"Pies\",\"Cr\xe8me br\xfbl\xe9\x65\",\"12\"\r\n"
                        "\"2026-12-09\",\"Soups\",\"Stew, hearty\",\"4\"\r\n"
                        "\"2026-12-09\",\"Soups\",\"borscht.txt\",\"1\"\r\n"));
    const auto read = store.openMealPlan(kMonday.addDays(6));
    QVERIFY(read);
    QCOMPARE(shown(read.value().recipes),
             u"2026-12-07 Pies/Cr\u00e8me br\u00fbl\u00e9e x12, 2026-12-09 Soups/Stew, hearty x4, "
             u"2026-12-09 Soups/borscht.txt x1"_s);
    QVERIFY(read.value().unreadable.isEmpty());
    QVERIFY(!read.value().cut);
}

// A file's bytes; the recipes read and the lines kept unreadable.
void MealPlanFileTest::readsWhatItCan_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("recipes");
    QTest::addColumn<QByteArrayList>("unreadable");
    const QByteArray stew = "\"2026-12-07\",\"Soups\",\"Stew\",\"4\"";
    QTest::newRow("one line") << stew + "\r\n" << u"2026-12-07 Soups/Stew x4"_s << QByteArrayList{};
    QTest::newRow("no last line end, LF only")
        << "\"2026-12-08\",\"Pies\",\"Apple\",\"2\"\n" + stew
        << u"2026-12-07 Soups/Stew x4, 2026-12-08 Pies/Apple x2"_s << QByteArrayList{};
    QTest::newRow("blank lines") << "\r\n   \r\n" + stew + "\r\n\r\n"
                                 << u"2026-12-07 Soups/Stew x4"_s << QByteArrayList{};
    QTest::newRow("line end inside quotes")
        << QByteArray("\"2026-12-07\",\"Soups\",\"Ste\r\nw\",\"4\"\r\n")
        << u"2026-12-07 Soups/Ste\r\nw x4"_s << QByteArrayList{};
    QTest::newRow("blanks between fields")
        << QByteArray("  \"2026-12-07\", \"Soups\",  \"Stew\" ,\"4\"\r\n")
        << u"2026-12-07 Soups/Stew x4"_s << QByteArrayList{};
    const QByteArrayList damaged{"\"2026-12-07\",\"Soups\",\"Stew\"",
                                 "\"2026-12-07\",\"Soups\",\"Stew\",\"4\",\"x\"",
                                 "\"2026-12-14\",\"Soups\",\"Stew\",\"4\"",
                                 "\"2026-12-06\",\"Soups\",\"Stew\",\"4\"",
                                 "\"2026-13-07\",\"Soups\",\"Stew\",\"4\"",
                                 "\"7.12.2026\",\"Soups\",\"Stew\",\"4\"",
                                 "\"2026-12-07\",\"\",\"Stew\",\"4\"",
                                 "\"2026-12-07\",\"Soups\",\"\",\"4\"",
                                 "\"2026-12-07\",\"Soups\",\"Stew\",\"0\"",
                                 "\"2026-12-07\",\"Soups\",\"Stew\",\"1000\"",
                                 "\"2026-12-07\",\"Soups\",\"Stew\",\"four\"",
                                 "\"2026-12-07\",\"Soups\",\"Stew\",\"-4\"",
                                 "garbage \xff\x00 bytes"};
    for (const QByteArray& line : damaged) {
        QTest::newRow(line.constData())
            << stew + "\r\n" + line + "\r\n" + stew
            << u"2026-12-07 Soups/Stew x4, 2026-12-07 Soups/Stew x4"_s << QByteArrayList{line};
    }
    // A quote never closed holds no line end: the lines after it are read.
    QTest::newRow("odd quote") << stew + "\r\n\"2026-12-07\",\"Soups\",\"Stew,\"4\"\r\n" + stew
                               << u"2026-12-07 Soups/Stew x4, 2026-12-07 Soups/Stew x4"_s
                               << QByteArrayList{"\"2026-12-07\",\"Soups\",\"Stew,\"4\""};
    QTest::newRow("quote left open to the end")
        << stew + "\r\n\"2026-12-08\",\"Pies\r\n"
        << u"2026-12-07 Soups/Stew x4"_s << QByteArrayList{"\"2026-12-08\",\"Pies"};
}

void MealPlanFileTest::readsWhatItCan() {
    QFETCH(QByteArray, bytes);
    const MealPlanWeek week = parseMealPlan(bytes, kMonday);
    QTEST(shown(week.recipes), "recipes");
    QTEST(week.unreadable, "unreadable");
}

// Read and written back, a file whose lines the plan cannot read keeps every byte (planned
// recipes first), and reading and writing again changes nothing.
void MealPlanFileTest::writesUnreadableLinesBackUnchanged_data() {
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray stew = "\"2026-12-07\",\"Soups\",\"Stew\",\"4\"\r\n";
    QTest::newRow("quote left open, last") << stew + "\"unclosed note\r\n";
    QTest::newRow("quote left open, between") << stew + "\"2026-12-08\",\"Pies\r\n" + stew;
    QTest::newRow("short line") << stew + "\"2026-12-07\",\"Soups\"\r\n";
}

void MealPlanFileTest::writesUnreadableLinesBackUnchanged() {
    QFETCH(QByteArray, bytes);
    const QByteArray once = formatMealPlan(parseMealPlan(bytes, kMonday));
    QCOMPARE(once.size(), bytes.size());
    QCOMPARE(formatMealPlan(parseMealPlan(once, kMonday)), once);
}

void MealPlanFileTest::keepsUnreadableLinesOnSave() {
    TempFolder app(
        {u"Meal Plan/2026-W50.txt=\"2026-12-07\",\"Soups\",\"Stew\",\"4\"\r\n"
         u"\"2026-12-07\",\"Soups\"\r\n"_s});
    Store store(app.path());
    auto read = store.openMealPlan(kMonday);
    QVERIFY(read);
    MealPlanWeek week = read.value();
    QCOMPARE(week.unreadable, QByteArrayList{"\"2026-12-07\",\"Soups\""});
    week.recipes.prepend({QDate(2026, 12, 8), u"Pies"_s, u"Apple"_s, 2});
    QCOMPARE(said(store.saveMealPlan(kMonday, week)), u"ok"_s);
    QCOMPARE(app.read(u"Meal Plan/2026-W50.txt"_s),
             QByteArray("\"2026-12-07\",\"Soups\",\"Stew\",\"4\"\r\n"
                        "\"2026-12-08\",\"Pies\",\"Apple\",\"2\"\r\n"
                        "\"2026-12-07\",\"Soups\"\r\n"));
}

// No folder, no file: an empty week. The first recipe makes both; removing the
// last one removes the file.
void MealPlanFileTest::emptyWeekHasNoFile() {
    TempFolder app;
    Store store(app.path());
    const auto none = store.openMealPlan(kMonday);
    QVERIFY(none);
    QVERIFY(none.value().isEmpty());
    MealPlanWeek week;
    week.recipes = {{kMonday, u"Soups"_s, u"Stew"_s, 2}};
    QCOMPARE(said(store.saveMealPlan(kMonday, week)), u"ok"_s);
    QCOMPARE(app.tree(u"Meal Plan"_s), QStringList{u"2026-W50.txt 33"_s});
    QCOMPARE(said(store.saveMealPlan(kMonday, MealPlanWeek{})), u"ok"_s);
    QCOMPARE(app.tree(u"Meal Plan"_s), QStringList{});
    QCOMPARE(said(store.saveMealPlan(kMonday, MealPlanWeek{})), u"ok"_s);

    // A folder made by hand in another case is the one folder.
    TempFolder other({u"meal plan/"_s});
    Store lower(other.path());
    QCOMPARE(said(lower.saveMealPlan(kMonday, week)), u"ok"_s);
    QCOMPARE(other.tree(), QStringList({u"Category/"_s, u"Shopping List/"_s, u"meal plan/"_s,
                                        u"meal plan/2026-W50.txt 33"_s}));
}

void MealPlanFileTest::refusesWhatALineCannotHold_data() {
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("recipe");
    QTest::addColumn<QString>("result");
    QTest::newRow("quote in a recipe")
        << u"Soups"_s << u"Stew \"best\""_s
        << u"refused: A recipe name cannot contain / \\ : * ? \" < > | or control characters, "
           u"and cannot start with \".\"."_s;
    QTest::newRow("quote in a category")
        << u"So\"ups"_s << u"Stew"_s
        << u"refused: A category name cannot contain / \\ : * ? \" < > | or control characters, "
           u"and cannot start with \".\"."_s;
    QTest::newRow("not Windows-1252")
        << u"Soups"_s << u"\u4E2D"_s
        << u"refused: The character \"\u4E2D\" (U+4E2D) cannot be saved. Please remove or "
           u"replace it."_s;
}

void MealPlanFileTest::refusesWhatALineCannotHold() {
    QFETCH(QString, category);
    QFETCH(QString, recipe);
    TempFolder app({u"Meal Plan/2026-W50.txt=old"_s});
    Store store(app.path());
    MealPlanWeek week;
    week.recipes = {{kMonday, u"Pies"_s, u"Apple"_s, 1}, {kMonday, category, recipe, 1}};
    QTEST(said(store.saveMealPlan(kMonday, week)), "result");
    QCOMPARE(app.read(u"Meal Plan/2026-W50.txt"_s), QByteArray("old"));
}

// A folder where the file belongs, a file where the folder belongs: the failure
// comes back and nothing else changes.
void MealPlanFileTest::failsWithoutAChange() {
    MealPlanWeek week;
    week.recipes = {{kMonday, u"Soups"_s, u"Stew"_s, 2}};
    {
        TempFolder app({u"Meal Plan/2026-W50.txt/"_s});
        Store store(app.path());
        QCOMPARE(said(store.openMealPlan(kMonday)), u"75 Path/File access error"_s);
        QCOMPARE(said(store.saveMealPlan(kMonday, week)), u"75 Path/File access error"_s);
        QCOMPARE(app.tree(u"Meal Plan"_s), QStringList{u"2026-W50.txt/"_s});
    }
    {
        TempFolder app({u"Meal Plan=not a folder"_s});
        Store store(app.path());
        QVERIFY(store.openMealPlan(kMonday));
        QCOMPARE(said(store.saveMealPlan(kMonday, week)), u"76 Path not found"_s);
        QCOMPARE(app.read(u"Meal Plan"_s), QByteArray("not a folder"));
    }
}

void MealPlanFileTest::readsOnlyTheStartOfAHugeFile() {
    const QByteArray line = "\"2026-12-07\",\"Soups\",\"Stew\",\"4\"\r\n";
    TempFolder app;
    QVERIFY(app.write(u"Meal Plan/2026-W50.txt"_s,
                      line.repeated(3 * kLargestMealPlanFile / line.size())));
    Store store(app.path());
    const auto read = store.openMealPlan(kMonday);
    QVERIFY(read);
    QVERIFY(read.value().cut);
    QCOMPARE(read.value().recipes.size(), kLargestMealPlanFile / line.size());
    // The line cut short in the middle is not taken for a recipe.
    QCOMPARE(read.value().unreadable.size(), 1);
}

// Each plan as lines "day|category|recipe|servings" by ','; the day is the day of the month.
void MealPlanFileTest::findsAPlannedRecipeInANewerReading_data() {
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("picked");
    QTest::addColumn<QString>("now");
    QTest::addColumn<int>("found");
    const QString stewPie = u"7|Soups|Stew|4,8|Pies|Pie|6"_s;
    QTest::newRow("moved by one planned before")
        << stewPie << 1 << u"7|Breads|Rye|1,"_s + stewPie << 2;
    QTest::newRow("its servings changed") << stewPie << 0 << u"7|Soups|Stew|2,8|Pies|Pie|6"_s << 0;
    QTest::newRow("removed") << stewPie << 1 << u"7|Soups|Stew|4"_s << -1;
    QTest::newRow("another day is another") << stewPie << 1 << u"9|Pies|Pie|6"_s << -1;
    QTest::newRow("names in other letters are others") << stewPie << 0 << u"7|Soups|stew|4"_s << -1;
    // Alike on one day: counted among them, and at the same servings when there is one.
    QTest::newRow("the second of two alike")
        << u"7|Soups|Stew|4,7|Soups|Stew|4"_s << 1 << u"7|Soups|Stew|4,7|Soups|Stew|4"_s << 1;
    QTest::newRow("the one at the same servings")
        << u"7|Soups|Stew|4,7|Soups|Stew|2"_s << 1 << u"7|Soups|Stew|8,7|Soups|Stew|2"_s << 1;
    QTest::newRow("the second of two alike, its servings changed")
        << u"7|Soups|Stew|4,7|Soups|Stew|2"_s << 1 << u"7|Soups|Stew|4,7|Soups|Stew|3"_s << 1;
    // Gone, or the other gone and its servings changed: which cannot be told.
    QTest::newRow("one of two alike left")
        << u"7|Soups|Stew|4,7|Soups|Stew|2"_s << 1 << u"7|Soups|Stew|4"_s << -1;
}

void MealPlanFileTest::findsAPlannedRecipeInANewerReading() {
    QFETCH(QString, shown);
    QFETCH(int, picked);
    QFETCH(QString, now);
    QFETCH(int, found);
    const auto week = [](const QString& lines) {
        MealPlanWeek plan;
        for (const QString& line : lines.split(u',', Qt::SkipEmptyParts)) {
            const QStringList f = line.split(u'|');
            plan.recipes.append({QDate(2026, 12, f[0].toInt()), f[1], f[2], f[3].toInt()});
        }
        return plan;
    };
    QCOMPARE(findPlanned(week(now), week(shown), picked), found);
}

QTEST_GUILESS_MAIN(MealPlanFileTest)
#include "tst_mealplanfile.moc"
