// Finding recipes by words: folding, the matched line, and searches over real
// folders on worker threads.
#include "cp1252.h"
#include "fieldreader.h"
#include "recipefinder.h"
#include "recipematcher.h"
#include "searchrun.h"
#include "storetest.h"
#include "tempfolder.h"
#include "textfold.h"

#include <QEventLoop>
#include <QRandomGenerator>
#include <QTest>

#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <memory>

using namespace pv::find;
using namespace Qt::StringLiterals;
using Folder = pv::test::TempFolder;
using pv::store::decodeCp1252;
using pv::test::recipe;

Q_DECLARE_METATYPE(Match::Place)

namespace {

// The bytes the store writes for a recipe of "field=text" entries.
QByteArray recipeBytes(const QStringList& set) {
    return pv::store::formatRecipeRecord(recipe(set));
}

// Recipe i of the large folder, in mixed case so that the order is the
// browser's and not the bytes'.
QString largeName(int i) {
    return (i % 2 ? u"Recipe "_s : u"recipe "_s) + QString::number(i % 700).rightJustified(3, u'0');
}

// What one search delivered: "category|file|line" a match, "stray: " and the
// match, or "stray end", for what another search delivered meanwhile.
struct Delivered {
    QStringList rows;
    bool more = false;
    int batches = 0;
};

// Runs the event loop until the search start() starts ends, or until its
// first batch when firstBatchOnly.
Delivered follow(RecipeFinder& finder, const std::function<quint64()>& start,
                 bool firstBatchOnly = false) {
    Delivered got;
    QEventLoop loop;
    quint64 number = 0;
    QObject connections;  // they end with it
    auto found = [&](quint64 query, const MatchList& matches) {
        for (const Match& m : matches) {
            got.rows << (query == number ? QString() : u"stray: "_s) + m.category + u'|' +
                            m.fileName + u'|' + m.line;
        }
        got.batches += query == number ? 1 : 0;
        if (firstBatchOnly && query == number) {
            loop.quit();
        }
    };
    auto ended = [&](quint64 query, bool more) {
        if (query != number) {
            got.rows << u"stray end"_s;
            return;
        }
        got.more = more;
        loop.quit();
    };
    QObject::connect(&finder, &RecipeFinder::matchesFound, &connections, found);
    QObject::connect(&finder, &RecipeFinder::finished, &connections, ended);
    number = start();
    loop.exec();
    return got;
}

Delivered runSearch(RecipeFinder& finder, const QString& query, bool firstBatchOnly = false) {
    return follow(
        finder, [&] { return finder.find(query); }, firstBatchOnly);
}

}  // namespace

class FindTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void quickLookNeverMissesAMatch();
    void quickLookInPieces_data();
    void quickLookInPieces();
    void matchedLine_data();
    void matchedLine();
    void search_data();
    void search();
    void matchLimitAndOrder_data();
    void matchLimitAndOrder();
    void newestQueryWins();
    void abandonedMatchesNeverJoinTheNextSearch();
    void nothingAfterTheEnd_data();
    void nothingAfterTheEnd();

private:
    std::unique_ptr<Folder> app_;    // a few recipes of every kind
    std::unique_ptr<Folder> large_;  // 1,100 recipes in two categories
};

void FindTest::initTestCase() {
    app_ = std::make_unique<Folder>(
        QStringList{"Category/Desserts/", "Category/Cakes/", "Category/Breads, Cakes/",
                    "Category/Soups/zucchini folder/", "Category/Soups/Folder/zucchini"});
    // Read by field, as the browser offers them: "Breads, Cakes" is "Breads"
    // and "Cakes"; "Gone" has no folder; "soups" and the second "Desserts"
    // name folders already listed; "Crème" has an older version's name.
    QVERIFY(app_->writeNative(
        "Category/category.txt",
        "Soups\r\nDesserts\r\nGone\r\nsoups\r\nDesserts\r\nBreads, Cakes\r\nCr\xE8me\r\n"));
    QVERIFY(app_->writeNative("Category/Cr\xE8me/"));
    QVERIFY(app_->writeNative("Category/Cr\xE8me/P\xE2t\xE9", recipeBytes({"21=beurre"})));
    // The last three are not recipes, or hold words outside what the reader
    // gives: never found.
    const QList<std::pair<QString, QByteArray>> files{
        {"Soups/Leek soup",
         recipeBytes({"1=2", "11=cups", "21=crème fraîche", "22=leeks",
                      "31=Wash the leeks.\r\nSimmer gently with the saffron for 20 minutes.",
                      "32=350", "33=12", "34=1", "35=15"})},
        {"Soups/Zucchini", recipeBytes({"21=zucchini", "31=Grate.\r\nFry in butter."})},
        {"Soups/apple broth", recipeBytes({"21=apples", "31=Boil."})},
        {"Desserts/Crème brûlée", recipeBytes({"21=cream", "31=Caramelise the sugar."})},
        {"Cakes/Carrot cake", recipeBytes({"21=carrots", "31=Bake."})},
        {"Breads, Cakes/Hidden", recipeBytes({"21=zucchini"})},
        {"Soups/Short", "\"zucchini\"" + QByteArray(",\"\"").repeated(33)},
        {"Soups/Two records", recipeBytes({"21=rhubarb"}) + recipeBytes({"21=plums"})},
        {"Soups/Passed over", "\"tart\"gooseberry" + QByteArray(",\"\"").repeated(34) + "\r\n"},
    };
    for (const auto& [path, bytes] : files) {
        QVERIFY(app_->write(u"Category/"_s + path, bytes));
    }
    QCOMPARE(
        ::mkfifo(QFile::encodeName(app_->file(u"Category/Soups/Pipe of zucchini"_s)).constData(),
                 0666),
        0);
    // A link to a recipe kept elsewhere is searched as the browser lists it.
    QVERIFY(app_->write(u"Elsewhere/Quince"_s, recipeBytes({"21=quince"})));
    QVERIFY(QFile::link(app_->file(u"Elsewhere/Quince"_s),
                        app_->file(u"Category/Desserts/Link to quince"_s)));
    // Long directions: a recipe of the largest size that is searched, and
    // one byte more.
    for (const qint64 size : {SearchRun::kLargestRecipe, SearchRun::kLargestRecipe + 1}) {
        const QByteArray shortest = recipeBytes({"21=endive"});
        const QString directions(qsizetype(size - shortest.size()), u'x');
        QVERIFY(app_->write(size == SearchRun::kLargestRecipe ? u"Category/Soups/Long directions"_s
                                                              : u"Category/Soups/Too long"_s,
                            recipeBytes({"21=endive", "31=" + directions})));
    }

    large_ = std::make_unique<Folder>(QStringList{"Category/A/", "Category/B/"});
    QVERIFY(large_->write(u"Category/category.txt"_s, "A\r\nB\r\n"));
    for (int i = 0; i < 1100; ++i) {
        QVERIFY(large_->write((i < 700 ? u"Category/A/"_s : u"Category/B/"_s) + largeName(i),
                              recipeBytes({i < 1000 ? u"21=salt pepper"_s : u"21=salt"_s})));
    }
}
// The quick look at raw bytes only ever turns away files that the full
// reading would turn away too; it folds bytes exactly as text is folded.
void FindTest::quickLookNeverMissesAMatch() {
    QRandomGenerator random(15);
    // Mostly ASCII with the neighbours of A to Z, or rich in Windows-1252
    // letters, quotes and the record's own commas and line ends.
    const QByteArray ascii("aAzZ@[`{ 09\x7F\x01sS");
    const QByteArray mixed("aAeE\xE8\xC8\xDF\xE6\xC6\x9C\x94\x92\" ,\r\n?\x81sS");
    auto pick = [&](int length, const QByteArray& alphabet) {
        QByteArray bytes;
        while (bytes.size() < length) {
            bytes += alphabet[random.bounded(int(alphabet.size()))];
        }
        return bytes;
    };
    std::string scratch;
    for (int i = 0; i < 4000; ++i) {
        const QByteArray bytes = pick(random.bounded(40), i % 2 ? ascii : mixed);
        QCOMPARE(foldCp1252(bytes, scratch), std::string_view(foldText(decodeCp1252(bytes))));
    }
    int matched = 0;
    for (int i = 0; i < 3000; ++i) {
        QByteArray file = '"' + pick(random.bounded(8), mixed) + '"';
        for (int field = 1; field < 35 + random.bounded(3) - 1; ++field) {
            file += ",\"" + pick(random.bounded(4), mixed) + '"';
        }
        file += "\r\n";
        // Words cut from the file, so that some match and some straddle fields.
        const int at = random.bounded(int(file.size()));
        const QString query = decodeCp1252(file.mid(at, 1 + random.bounded(3))) + u' ' +
                              decodeCp1252(pick(1 + random.bounded(2), mixed));
        const QString name = decodeCp1252(pick(3, mixed));
        const RecipeMatcher matcher(query);
        if (matcher.match(u"C"_s, name, file)) {
            ++matched;
            QVERIFY2(matcher.mayMatch(file, name, scratch), qPrintable(query));
        }
    }
    QVERIFY2(matched > 100, qPrintable(QString::number(matched)));
}

// A large file is folded a piece at a time: a word cut by the end of a
// piece is still found, whatever its letters fold to, and once the search is
// stopped the look ends without a match.
void FindTest::quickLookInPieces_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("query");
    QTest::addColumn<bool>("stopped");
    const qsizetype piece = RecipeMatcher::kFoldPiece;
    // The Windows-1252 bytes of text, starting at byte at of a file of size bytes.
    auto file = [](qsizetype size, const QList<std::pair<qsizetype, QByteArray>>& words) {
        QByteArray bytes(size, 'x');
        for (const auto& [at, word] : words) {
            bytes.replace(at, word.size(), word);
        }
        return bytes;
    };
    for (const qsizetype before : {0, 1, 2, 4, 6, 7}) {
        const QByteArray tag = "cut after " + QByteArray::number(before) + " bytes";
        QTest::newRow(("crème, " + tag).constData()) << file(piece * 2, {{piece - before,
                                                                          "cr\xE8"
                                                                          "me"}})
                                                     << u"CREME"_s << false;
        QTest::newRow(("straße, " + tag).constData()) << file(piece * 2, {{piece - before,
                                                                           "stra\xDF"
                                                                           "e"}})
                                                      << u"strasse"_s << false;
    }
    QTest::newRow("a letter short of the cut")
        << file(piece * 2, {{piece - 4, "crem"}, {piece + 1, "e"}}) << u"creme"_s << false;
    QTest::newRow("one word in each piece")
        << file(piece * 3 + 5, {{10, "leek"}, {piece + 10, "stew"}, {piece * 3, "thyme"}})
        << u"thyme stew leek"_s << false;
    QTest::newRow("the words in the last piece")
        << file(piece * 3 + 5, {{piece * 3, "leek"}}) << u"leek"_s << false;
    QTest::newRow("the words in the name") << file(piece * 2, {}) << u"FEU"_s << false;
    QTest::newRow("one word nowhere")
        << file(piece * 2, {{piece + 3, "leek"}}) << u"leek onion"_s << false;
    QTest::newRow("stopped") << file(piece * 2, {{piece + 3, "leek"}}) << u"leek"_s << true;
    QTest::newRow("stopped, the words in the first piece")
        << file(piece * 2, {{3, "leek"}}) << u"leek"_s << true;
}

void FindTest::quickLookInPieces() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, query);
    QFETCH(bool, stopped);
    const QString name = u"Pot-au-feu"_s;
    const std::string text = foldText(decodeCp1252(bytes)), folded = foldText(name);
    bool everyWord = true;
    for (const std::string& word : queryWords(query)) {
        everyWord = everyWord && (text.find(word) != std::string::npos ||
                                  folded.find(word) != std::string::npos);
    }
    const std::atomic<bool> stop(stopped);
    std::string scratch;
    QCOMPARE(RecipeMatcher(query).mayMatch(bytes, name, scratch, &stop), everyWord && !stopped);
    QVERIFY(scratch.size() < size_t(RecipeMatcher::kFoldPiece) * 5);
}

void FindTest::matchedLine_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("query");
    QTest::addColumn<Match::Place>("place");
    QTest::addColumn<int>("ingredientLine");
    QTest::addColumn<QString>("line");
    using P = Match::Place;
    auto row = [](const char* tag, const QStringList& fields, const QString& query, P place,
                  int ingredientLine, const QString& line, const QString& name = u"Stew"_s) {
        QTest::newRow(tag) << name << fields << query << place << ingredientLine << line;
    };
    // Case and accents are ignored, and a few letters that stand for two.
    auto fold = [&](const char* tag, const QString& query, const QString& text, bool found) {
        row(tag, {"21=" + text}, query, P::Ingredient, 1,
            found ? "Ingredient 1: " + text : u"not found"_s);
    };
    fold("accent in the text", "creme", "Crème fraîche", true);
    fold("query in capitals", "CREME", "crème", true);
    fold("accent in the query", "crème", "CREME", true);
    fold("two accents", "brûlée", "BRULEE", true);
    fold("tilde", "jalapeno", "JALAPEÑO", true);
    fold("cedilla in capitals", "facon", "FAÇON", true);
    fold("caron", "sopska", "Šopska", true);
    fold("sharp s", "strasse", "Straße", true);
    fold("sharp s typed", "STRAßE", "strasse", true);
    fold("capital sharp s typed", "STRAẞE", "Straße", true);
    fold("ae", "aebleskiver", "Æbleskiver", true);
    fold("oe", "oeufs", "ŒUFS", true);
    fold("o and d with stroke", "smorrebrod", "Smørrebrød", true);
    fold("thorn", "thorn", "Þorn", true);
    fold("straight double quote", "9\"", "9” pan", true);
    fold("straight apostrophe", "grandma's", "Grandma’s", true);
    fold("curly apostrophe typed", "grandma’s", "grandma's", true);
    fold("ligature typed", "ﬁlet", "Filet", true);
    fold("accent typed apart", "cre\u0300me", "crème", true);
    fold("euro sign", "€", "2 €", true);
    fold("several words anywhere", "fraiche CREME", "crème fraîche", true);
    fold("another letter", "crane", "crème", false);
    fold("sharp s is two letters", "strase", "Straße", false);
    fold("one word missing", "creme sucre", "crème", false);
    fold("o umlaut is not oe", "oel", "Öl", false);
    fold("micro sign is not u", "u", "µ", false);
    fold("blanks only", "  \t ", "anything", false);
    fold("a lone accent", "\u0301", "é", false);
    fold("nothing", "", "", false);
    row("an ingredient line", {"3=2", "13=cups", "23=crème fraîche"}, "fraiche", P::Ingredient, 3,
        "Ingredient 3: 2 cups crème fraîche");
    row("the amount matched", {"3=2", "13=cups", "23=crème fraîche"}, "2", P::Ingredient, 3,
        "Ingredient 3: 2 cups crème fraîche");
    row("empty parts left out", {"13=  ", "23= salt "}, "salt", P::Ingredient, 3,
        "Ingredient 3: salt");
    row("the first line with any word", {"21=flour", "25=salt", "31=add salt"}, "salt flour",
        P::Ingredient, 1, "Ingredient 1: flour");
    row("ingredients before directions", {"26=sugar", "31=sugar on top"}, "sugar", P::Ingredient, 6,
        "Ingredient 6: sugar");
    row("a line of the directions", {"21=flour", "31=Mix.\r\nBake at high heat.\r\nServe"},
        "BAKE flour", P::Ingredient, 1, "Ingredient 1: flour");
    row("only in the directions", {"21=flour", "31=Mix.\r\nBake at high heat.\r\nServe"}, "heat",
        P::Directions, 0, "Bake at high heat.");
    row("lone line ends", {"31=a\nb bake\rc"}, "bake", P::Directions, 0, "b bake");
    row("an indented line", {"31=Mix.\r\n   Bake well  "}, "bake", P::Directions, 0, "Bake well");
    row("temperature", {"32=350"}, "350", P::Temperature, 0, "Oven temperature: 350 F");
    row("serving size", {"33=12"}, "12", P::ServingSize, 0, "Serving size: 12");
    row("hours", {"34=2"}, "2", P::CookingTime, 0, "Cooking time: 2 h");
    row("minutes", {"34=1", "35=15"}, "15", P::CookingTime, 0, "Cooking time: 1 h 15 min");
    row("only in the name", {"21=cream"}, "brulee", P::Name, 0, "Crème brûlée", u"Crème brûlée"_s);
    row("tabs as blanks", {"21=salt\tand pepper"}, "salt", P::Ingredient, 1,
        "Ingredient 1: salt and pepper");
    const QString words = u"very "_s.repeated(40);  // 200 characters
    row("a long line cut after the word", {"31=Add the saffron and stir " + words}, "saffron",
        P::Directions, 0, ("Add the saffron and stir " + words).left(119) + u'…');
    row("a long line cut before the word", {"31=Mix " + words + "well, then add saffron."},
        "saffron", P::Directions, 0,
        u'…' + ("Mix " + words + "well, then add saffron.").right(119));
    const QString middle = words + "then add saffron " + words;
    const qsizetype at = middle.indexOf(u"saffron") - 40;
    row("a long line cut around the word", {"31=" + middle}, "saffron", P::Directions, 0,
        u'…' + middle.mid(at, 118) + u'…');
}

void FindTest::matchedLine() {
    QFETCH(QString, name);
    QFETCH(QStringList, fields);
    QFETCH(QString, query);
    const RecipeMatcher matcher(query);
    const QByteArray bytes = recipeBytes(fields);
    const auto match = matcher.match(u"Soups"_s, name, bytes);
    QTEST(match ? match->line : u"not found"_s, "line");
    if (match) {
        std::string scratch;
        QVERIFY(matcher.mayMatch(bytes, name, scratch));
        QCOMPARE(match->category + u'|' + match->recipeName(), u"Soups|"_s + name);
        QTEST(match->place, "place");
        QTEST(match->ingredientLine, "ingredientLine");
        QVERIFY(match->line.size() <= Match::kLineLength);
    }
}

void FindTest::search_data() {
    QTest::addColumn<QString>("query");
    QTest::addColumn<QStringList>("rows");
    auto row = [](const char* tag, const QString& query, const QStringList& rows) {
        QTest::newRow(tag) << query << rows;
    };
    const QString leek = u"Soups|Leek soup|"_s;
    row("accents and case", "creme",
        {leek + "Ingredient 1: 2 cups crème fraîche", "Desserts|Crème brûlée|Crème brûlée"});
    row("accents typed", "CRÈME FRAICHE", {leek + "Ingredient 1: 2 cups crème fraîche"});
    row("words in different fields", "saffron leeks", {leek + "Ingredient 2: leeks"});
    row("one word in no recipe", "leeks rhubarb", {});
    row("only in the directions", "simmer",
        {leek + "Simmer gently with the saffron for 20 minutes."});
    row("only in the name", "brulee", {"Desserts|Crème brûlée|Crème brûlée"});
    row("cooking information", "350 12 15", {leek + "Oven temperature: 350 F"});
    row("in no recipe", "nowhere", {});
    row("an old file name", "pate", {"Crème|Pâté|Pâté"});
    row("in a category with an old name", "beurre", {"Crème|Pâté|Ingredient 1: beurre"});
    row("by field: a category cut at its comma", "carrots",
        {"Cakes|Carrot cake|Ingredient 1: carrots"});
    // Not in "Breads, Cakes", nor a file too short, a pipe or folders of that name.
    row("files that are not recipes", "zucchini", {"Soups|Zucchini|Ingredient 1: zucchini"});
    row("an earlier record", "rhubarb", {});
    row("the last record", "plums", {"Soups|Two records|Ingredient 1: plums"});
    row("past a closing quote", "gooseberry", {});
    row("a link to a recipe", "quince", {"Desserts|Link to quince|Ingredient 1: quince"});
    row("no larger than the largest recipe", "endive",
        {"Soups|Long directions|Ingredient 1: endive"});
    row("every category once, files by name ignoring case", "a",
        {"Soups|apple broth|Ingredient 1: apples", leek + "Ingredient 1: 2 cups crème fraîche",
         "Soups|Passed over|Ingredient 1: tart", "Soups|Zucchini|Grate.",
         "Desserts|Crème brûlée|Ingredient 1: cream", "Cakes|Carrot cake|Ingredient 1: carrots",
         "Crème|Pâté|Pâté"});
}

void FindTest::search() {
    QFETCH(QString, query);
    RecipeFinder finder(app_->path());
    const Delivered got = runSearch(finder, query);
    QTEST(got.rows, "rows");
    QVERIFY(!got.more);
}

// Parts of a folder read on several threads still arrive in order, and the
// matches stop at the limit.
void FindTest::matchLimitAndOrder_data() {
    QTest::addColumn<int>("workers");
    QTest::addColumn<QString>("query");
    for (const int workers : {1, 2, 3}) {
        const QByteArray n = " on " + QByteArray::number(workers);
        QTest::newRow(("past the limit" + n).constData()) << workers << u"salt"_s;
        QTest::newRow(("exactly the limit" + n).constData()) << workers << u"pepper"_s;
        QTest::newRow(("one in each category" + n).constData()) << workers << u"SALT 399"_s;
    }
}

void FindTest::matchLimitAndOrder() {
    QFETCH(int, workers);
    QFETCH(QString, query);
    // Every recipe of the folder that holds every word, in the browser's order.
    QStringList expected;
    for (int i = 0; i < 1100; ++i) {
        const QString recipe =
            (i < 700 ? u"A|"_s : u"B|"_s) + largeName(i) +
            (i < 1000 ? u"|Ingredient 1: salt pepper"_s : u"|Ingredient 1: salt"_s);
        const QString text = recipe.section(u'|', 1).toLower();
        if (std::ranges::all_of(query.toLower().split(u' '),
                                [&](const QString& word) { return text.contains(word); })) {
            expected << recipe;
        }
    }
    RecipeFinder finder(large_->path(), nullptr, workers);
    const Delivered got = runSearch(finder, query);
    QCOMPARE(got.rows, expected.mid(0, RecipeFinder::kMatchLimit));
    QCOMPARE(got.more, expected.size() > RecipeFinder::kMatchLimit);
}

// The matches of an abandoned search still on their way never pass for those
// of the search started next.
void FindTest::abandonedMatchesNeverJoinTheNextSearch() {
    RecipeFinder finder(large_->path());
    finder.find(u"salt"_s);
    finder.waitUntilIdle();  // its matches are queued, not yet delivered
    finder.abandon();
    QCOMPARE(runSearch(finder, u"399 salt"_s).rows.size(), 2);
}

// A search started while another runs replaces it: nothing of the older one
// arrives after the newer one started, even what it had already found.
void FindTest::newestQueryWins() {
    RecipeFinder finder(large_->path());
    quint64 older = 0;
    Delivered got = follow(finder, [&] {
        older = finder.find(u"salt"_s);
        return finder.find(u"pepper"_s);
    });
    QVERIFY(older != 0 && finder.currentQuery() > older);
    QCOMPARE(got.rows.size(), 1000);

    // The older search has found everything, and its matches and its end wait
    // in the queue, when the newer one starts.
    got = follow(finder, [&] {
        finder.find(u"salt"_s);
        finder.waitUntilIdle();
        return finder.find(u"SALT 399"_s);
    });
    QCOMPARE(got.rows, (QStringList{"A|Recipe 399|Ingredient 1: salt pepper",
                                    "B|Recipe 399|Ingredient 1: salt"}));

    // The older search has delivered some, and goes on.
    QVERIFY(runSearch(finder, u"salt"_s, true).batches >= 1);
    QCOMPARE(runSearch(finder, u"pepper 399"_s).rows,
             QStringList{"A|Recipe 399|Ingredient 1: salt pepper"});
}

// Abandoned (the window closed) or destroyed while its workers read: nothing
// more arrives, not even what was on its way; destroyed, it does not wait for
// its workers, which end on their own without touching it.
void FindTest::nothingAfterTheEnd_data() {
    QTest::addColumn<int>("workers");  // 0: as many as the machine has cores
    QTest::addColumn<QString>("end");
    QTest::newRow("abandoned when done") << 0 << u"abandoned"_s;
    for (const int workers : {1, 2, 3}) {
        const QByteArray n = " on " + QByteArray::number(workers);
        QTest::newRow(("destroyed at once" + n).constData()) << workers << u"at once"_s;
        QTest::newRow(("destroyed after the first matches" + n).constData())
            << workers << u"after matches"_s;
    }
}

void FindTest::nothingAfterTheEnd() {
    QFETCH(int, workers);
    QFETCH(QString, end);
    auto finder = std::make_unique<RecipeFinder>(large_->path(), nullptr, workers);
    if (end == u"after matches"_s) {
        QVERIFY(runSearch(*finder, u"salt"_s, true).batches >= 1);
    } else {
        finder->find(u"salt"_s);
    }
    QObject receiver;
    int after = 0;
    connect(finder.get(), &RecipeFinder::matchesFound, &receiver, [&] { ++after; });
    connect(finder.get(), &RecipeFinder::finished, &receiver, [&] { ++after; });
    if (end == u"abandoned"_s) {
        finder->waitUntilIdle();
        finder->abandon();
        QCOMPARE(finder->currentQuery(), quint64(0));
    } else {
        finder.reset();
    }
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCOMPARE(after, 0);
    if (finder) {  // abandoned, it still searches
        QCOMPARE(runSearch(*finder, u"399 salt"_s).rows.size(), 2);
    }
}

QTEST_GUILESS_MAIN(FindTest)
#include "tst_find.moc"
