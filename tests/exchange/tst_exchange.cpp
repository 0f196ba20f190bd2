// Import of other programs' recipe files into the entry screen's boxes, and
// export as schema.org JSON-LD, through real files and exact texts.
#include "boxmapper.h"
#include "cp1252.h"
#include "duration.h"
#include "failures.h"
#include "htmlpage.h"
#include "ingredientline.h"
#include "jsonldwriter.h"
#include "plaintext.h"
#include "recipeexporter.h"
#include "recipeimporter.h"
#include "storetest.h"
#include "tempfolder.h"
#include "textdecoding.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>
#include <atomic>
#include <thread>

#include <sys/stat.h>

using namespace pv::exchange;
using namespace pv::store;
using namespace Qt::StringLiterals;
using pv::test::said;
using pv::test::TempFolder;

Q_DECLARE_METATYPE(RecipeRecord)

namespace {

// A recipe's boxes from "field=text" entries and ingredient lines
// "amount|measure|ingredient", in order from the first line.
RecipeFields fieldsOf(const QStringList& entries) {
    static const QRegularExpression field(u"^\\d+="_s);
    RecipeFields fields;
    int line = 0;
    for (const QString& entry : entries) {
        if (field.match(entry).hasMatch()) {
            fields[entry.section(u'=', 0, 0).toInt() - 1] = entry.section(u'=', 1);
            continue;
        }
        const QStringList parts = entry.split(u'|');
        ++line;
        fields[amountField(line) - 1] = parts.value(0);
        fields[measureField(line) - 1] = parts.value(1);
        fields[ingredientField(line) - 1] = parts.value(2);
    }
    return fields;
}

// The boxes, then name and category: a failure names the first that differs
// (index 0 is field 1).
QStringList boxes(const RecipeRecord& recipe) {
    return QStringList(recipe.fields.begin(), recipe.fields.end())
           << recipe.name << recipe.category;
}

// Up to maxLength digits, or characters of Windows-1252 but NUL and line ends.
QString randomText(QRandomGenerator& random, int maxLength, bool digits = false) {
    QByteArray bytes;
    for (int i = random.bounded(maxLength + 1); i > 0; --i) {
        const char byte = digits ? char('0' + random.bounded(10)) : char(1 + random.bounded(255));
        bytes.append(byte == '\r' || byte == '\n' ? ' ' : byte);
    }
    return decodeCp1252(bytes);
}

// A recipe within the entry screen's rules: digits in the digit boxes, the
// boxes' length limits, any Windows-1252 text elsewhere, lines of the
// directions ending in CR LF, some lines and boxes left empty.
RecipeRecord randomRecipe(QRandomGenerator& random) {
    RecipeRecord recipe;
    recipe.name = randomText(random, 40);
    recipe.category = randomText(random, 20);
    RecipeFields& fields = recipe.fields;
    for (int line = 1; line <= 10; ++line) {
        if (random.bounded(4) != 0) {
            fields[amountField(line) - 1] = randomText(random, line == 1 ? 5 : 8, true);
            fields[measureField(line) - 1] = randomText(random, 8);
            fields[ingredientField(line) - 1] =
                randomText(random, line == 1 || line == 6 ? 39 : 60);
        }
    }
    QStringList directions;
    for (int line = random.bounded(6); line > 0; --line) {
        directions.append(randomText(random, 40));
    }
    fields[kDirectionsField - 1] = directions.join(u"\r\n"_s);
    fields[kTemperatureField - 1] = randomText(random, 3, true);
    fields[kServingSizeField - 1] = randomText(random, 3, true);
    // The hours box takes any key.
    fields[kHoursField - 1] = randomText(random, 2, random.bounded(2) == 1);
    fields[kMinutesField - 1] = randomText(random, 3, true);
    return recipe;
}

}  // namespace

class ExchangeTest : public QObject {
    Q_OBJECT

private slots:
    void texts_data();
    void texts();
    void unencodableCharacters();
    void imported_data();
    void imported();
    void filesRead_data();
    void filesRead();
    void decoded_data();
    void decoded();
    void hostile_data();
    void hostile();
    void progressAndCancel_data();
    void progressAndCancel();
    void randomRecipesRoundTrip();
    void exportAllFromStore();

private:
    const QString data_ = QStringLiteral(PV_EXCHANGE_DATA);  // pages read, bytes written
};

// Texts as other programs write them, read as an ingredient line
// ("amount|measure|ingredient"), as a duration (minutes, -1: none), as plain
// text or as the lines of HTML (joined by "|").
void ExchangeTest::texts_data() {
    QTest::addColumn<QString>("reader");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    auto row = [](const char* reader, const char* tag, const char* text, const QString& expected) {
        QTest::newRow(tag) << QString::fromLatin1(reader) << QString::fromUtf8(text) << expected;
    };
    auto line = [&](const char* text, const char* expected) {
        row("line", text, text, QString::fromUtf8(expected));
    };
    auto minutes = [&](int minutes, const QList<const char*>& texts) {
        for (const char* text : texts) {
            row("minutes", text, text, QString::number(minutes));
        }
    };
    auto plain = [&](const char* tag, const char* text, const char* expected) {
        row("plain", tag, text, QString::fromUtf8(expected));
    };
    auto html = [&](const char* tag, const char* text, const char* expected) {
        row("html", tag, text, QString::fromUtf8(expected));
    };
    line("1 1/2 cups flour, sifted", "1 1/2|cups|flour, sifted");
    line("½ tsp salt", "½|tsp|salt");
    line("1½ cups milk", "1½|cups|milk");
    line("2 EL Zitronensaft", "2|EL|Zitronensaft");
    line("1 El Paso taco kit", "1||El Paso taco kit");
    line("1 Bund Petersilie", "1|Bund|Petersilie");
    line("2 xícaras (chá) de água", "2|xícaras|(chá) de água");
    line("1 pitada de açúcar", "1|pitada|de açúcar");
    line("2-3 cloves garlic", "2-3|cloves|garlic");
    line("2 to 3 cups water", "2 to 3|cups|water");
    line("2 tomatoes", "2||tomatoes");
    line("200g butter", "200|g|butter");
    line("1.5 kg potatoes", "1.5|kg|potatoes");
    line("1 T. sugar", "1|T.|sugar");
    line("1 t baking soda", "1|t|baking soda");
    line("2 tbsp. olive oil", "2|tbsp.|olive oil");
    line("1 fl oz rum", "1|fl oz|rum");
    line("2 cups of flour", "2|cups|flour");
    line("4 large eggs", "4|large|eggs");
    line("1 cup", "1|cup|");
    line("1 (14 oz) can tomatoes", "1||(14 oz) can tomatoes");
    line("Pinch of salt", "|Pinch|salt");
    line("Cups of tea", "||Cups of tea");
    line("Salt to taste", "||Salt to taste");
    line("2-inch piece ginger", "||2-inch piece ginger");
    line("  3   eggs  ", "3||eggs");
    minutes(90, {"PT1H30M", "PT90M", "PT1H30M20S", "1 hour 30 minutes", "1 hr 30 min"});
    minutes(26 * 60, {"P1DT2H"});
    minutes(7 * 24 * 60, {"P1W"});
    minutes(30, {"PT0.5H"});
    minutes(1, {"PT45S"});
    minutes(20, {"pt20m"});
    minutes(45, {"45 mins"});
    minutes(130, {"P2H10M"});
    minutes(-1, {"P", "PT", "P1Y", "P1M", "soon", "", "PT99999999999H"});
    plain("vulgar fraction", "⅓ cup", "1/3 cup");
    plain("digit before a fraction", "1⅓ cups", "1 1/3 cups");
    plain("fractions Windows-1252 has", "1½ ¼ ¾", "1½ ¼ ¾");
    plain("fraction slash", "2⁄3", "2/3");
    plain("non-breaking hyphen", "non\u2011stick", "non-stick");
    plain("minus sign", "\u22125 °C", "-5 °C");
    plain("ligature", "\uFB01ne", "fine");
    plain("fullwidth", "\uFF11\uFF12 \uFF47", "12 g");
    plain("combining accent", "Cre\u0300me", "Crème");
    plain("degree signs", "180 \u2103", "180 °C");
    plain("Greek mu", "5 \u03BCg", "5 µg");
    plain("zero-width space", "a\u200Bb", "ab");
    plain("Windows-1252 punctuation kept", "\u201Cquote\u201D \u2013 \u2026 \u20AC",
          "\u201Cquote\u201D \u2013 \u2026 \u20AC");
    plain("no equivalent kept", "\u263A \u4E2D", "\u263A \u4E2D");
    html("tags inside words go without a blank", "1 <b>small onion</b>, chopped",
         "1 small onion, chopped");
    html("breaks and blocks", "<p>Mix.<br>Rest.</p><ul><li>Bake</li></ul>", "Mix.|Rest.|Bake");
    html("entities once", "salt&nbsp;&amp;&nbsp;pepper &amp;amp; &#8531; &eacute;",
         "salt & pepper &amp; \u2153 \u00E9");
    html("what is not a tag", "a < b &lt; c & d", "a < b < c & d");
    html("scripts and styles dropped", "<style>p{}</style>Stir<script>x()</script>", "Stir");
}

void ExchangeTest::texts() {
    QFETCH(QString, reader);
    QFETCH(QString, text);
    const IngredientLine line = IngredientLine::parse(text);
    const QString read =
        reader == u"line"_s ? QStringList{line.amount, line.measure, line.ingredient}.join(u'|')
        : reader == u"minutes"_s ? QString::number(Duration::minutes(text).value_or(-1))
        : reader == u"html"_s    ? HtmlPage::textLines(text).join(u'|')
                                 : PlainText::plain(text);
    QTEST(read, "expected");
}

// What cannot be saved is listed once each, and the boxes are not to be filled.
void ExchangeTest::unencodableCharacters() {
    RecipeDraft draft;
    draft.name = u"Smile \u263A pie"_s;
    draft.ingredients.addText(u"⅓ cup \u4E2D sugar"_s);
    draft.steps = u"Bake \U0001F370 \u263A \u4E2D"_s;
    const ImportedRecipe recipe = BoxMapper::map(draft, u"x"_s);
    QCOMPARE(recipe.unencodable, (QStringList{u"\u263A"_s, u"\u4E2D"_s, u"\U0001F370"_s}));
    QVERIFY(!recipe.canFill());
    QCOMPARE(recipe.record.fields[amountField(1) - 1], u"1/3"_s);
    QCOMPARE(recipe.unencodableMessage(),
             u"The recipe \"Smile \u263A pie\" cannot be imported. These characters cannot be "
             u"saved:\r\n\"\u263A\" (U+263A), \"\u4E2D\" (U+4E2D), \"\U0001F370\" (U+1F370)"_s);

    // A recipe in another script is listed in part.
    draft = {};
    draft.name =
        u"\u0410\u0411\u0412\u0413\u0414\u0415\u0416\u0417\u0418\u0419\u041A\u041B"
        u"\u041C\u041D"_s;
    const ImportedRecipe cyrillic = BoxMapper::map(draft, u"x"_s);
    QCOMPARE(cyrillic.unencodable.size(), 14);
    QVERIFY(cyrillic.unencodableMessage().endsWith(u"\"\u041B\" (U+041B), and 2 more"_s));
    QVERIFY(BoxMapper::map(RecipeDraft{}, u"x"_s).canFill());

    // Texts more than a recipe holds are told, and do not fill the boxes.
    draft = {};
    draft.name = u"Long"_s;
    draft.steps = u"a\n"_s.repeated(500'000);
    const ImportedRecipe huge = BoxMapper::map(draft, u"x"_s);
    QVERIFY(!huge.canFill());
    QCOMPARE(huge.refusalMessage(),
             u"The recipe \"Long\" cannot be imported. Its texts hold 1,000,004 characters; a "
             "recipe holds at most 1,000,000."_s);

    // A page in another code page says so, and its letters are told, not garbled.
    const auto page = RecipeImporter::readBytes(
        "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">"
        "<script type=\"application/ld+json\">{\"@type\": \"Recipe\", \"name\": "
        "\"\xC1\xEE\xF0\xF9\","
        " \"recipeIngredient\": [\"1 beet\"]}</script></head></html>",
        u"borshch.htm"_s);
    QVERIFY(page.ok());
    QCOMPARE(page.value()[0].unencodableMessage(),
             u"The recipe \"\u0411\u043E\u0440\u0449\" cannot be imported. These characters cannot "
             u"be saved:\r\n\"\u0411\" (U+0411), \"\u043E\" (U+043E), \"\u0440\" (U+0440), "
             u"\"\u0449\" (U+0449)"_s);
}

// A file reads as these boxes: pages and files of other programs, and what the
// export writes, to the byte where a file of the data folder says.
void ExchangeTest::imported_data() {
    QTest::addColumn<QString>("file");  // of the data folder; none: the recipe exported
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("index");
    QTest::addColumn<RecipeRecord>("expected");
    QTest::addColumn<QString>("bytesFile");
    auto row = [](const char* tag, const char* file, int count, int index, const char* name,
                  const char* category, const QStringList& boxes, const char* bytesFile = "") {
        QTest::newRow(tag) << QString::fromLatin1(file) << count << index
                           << RecipeRecord{QString::fromUtf8(category), QString::fromUtf8(name),
                                           fieldsOf(boxes)}
                           << QString::fromLatin1(bytesFile);
    };
    // Export, write to a file, import: the same boxes, name and category.
    auto exported = [&](const char* tag, const QStringList& boxes, const char* name = "Stew",
                        const char* bytesFile = "") {
        row(tag, "", 1, 0, name, "Soups", boxes, bytesFile);
    };
    row("@graph, sections, yield array, more than ten lines", "graph-page.html", 1, 0,
        "Harvest Vegetable Pie", "Main course, Vegetarian",
        {"2 1/2|cups|all-purpose flour", "1|tsp.|salt", "2/3|cup|cold butter, diced",
         "6|Tbsp|ice water", "2|large|carrots, sliced", "1|medium|onion, chopped",
         "3|cloves|garlic", "200|g|mushrooms", "1||(14 oz) can diced tomatoes", "2-3|sprigs|thyme",
         "31=More ingredients:\r\nSalt and pepper to taste\r\n1 egg, beaten\r\n\r\n"
         "For the crust\r\nWhisk the flour and salt. Cut in the butter.\r\n"
         "Add the water, one spoon at a time, until the dough holds.\r\n"
         "For the filling\r\nCook the carrots, onion and garlic until soft.\r\n"
         "Stir in the mushrooms, tomatoes and thyme; season.\r\n"
         "Fill the crust, brush with egg and bake until golden.\r\n\r\n"
         "Prep time: 25 min\r\nTotal time: 1 hr 35 min",
         "33=6", "34=1", "35=10"});
    row("second block, entities, CDATA, days, oven", "two-blocks.html", 1, 0, "Baked Mac & Cheese",
        "Pasta",
        {"1|lb|elbow macaroni", "4|cups|shredded cheddar \u2013 sharp", "2|cups|milk",
         "1/4|cup|butter",
         "31=Cook the macaroni.\r\nMelt the butter & stir in the milk and cheese.\r\nBake.", "33=6",
         "34=26", "32=375"});
    row("nested arrays, yield as text", "several.html", 2, 0, "Tomato Soup", "",
        {"6||ripe tomatoes", "1||onion",
         "31=Roast the tomatoes.\r\nBlend with the onion.\r\n\r\nYield: 4 bowls", "33=4", "35=45"});
    row("in an item list, total less prep", "several.html", 2, 1, "Pea Soup", "",
        {"500|g|peas", "1|l|stock", "31=Simmer and blend.\r\n\r\nPrep time: 10 min", "33=2",
         "35=30"});
    row("JSON file, text steps, garbage after", "muffins.json", 1, 0, "Blueberry Muffins", "",
        {"2|cups|flour",
         "31=Heat the oven.\r\nMix the dry things.\r\nFold in the berries.\r\nBake.\r\n\r\n"
         "Yield: 12 muffins\r\nPrep time: 15 min",
         "33=12", "35=25"});
    row("Windows-1252 page", "cp1252-page.htm", 1, 0, "Crème brûlée", "",
        {"4||egg yolks", "½|cup|sugar", "31=Bake in a water bath \u2013 slowly."});
    row("MMMMM, one column, group, continuation", "classic.mmf", 2, 0, "Oat Scones",
        "Breads, Breakfast",
        {"2|cup|Flour", "1 1/2|cup|Rolled oats", "1|tbsp|Baking powder", "1/2|tsp|Salt",
         "½|tsp|Nutmeg", "1/3|cup|Butter cold, cut in cubes", "1|large|Egg",
         "||GLAZE:", "1|cup|Powdered sugar", "2|tbsp|Milk",
         "31=Heat the oven to 400 F. Mix the flour, oats, baking powder and salt; rub in the "
         "butter.\r\nBeat the egg with a little milk and stir in until just mixed. Pat into "
         "a round and cut into 8 wedges.\r\nBake 15 minutes; glaze when cool.",
         "33=8"});
    row("MMMMM, second recipe, numbered steps", "classic.mmf", 2, 1, "Quick Pickled Onions",
        "Condiments",
        {"1|medium|Red onion", "3/4|cup|Vinegar", "1|pinch|Salt",
         "31=1. Slice the onion thin.\r\n2. Pour the hot vinegar over it with the salt.\r\n"
         "3. Chill.",
         "33=4"});
    row("dashes, two columns, code page 437", "two-column.txt", 1, 0, "Spiced Lentil Stew",
        "Soups, Vegetarian",
        {"1|cup|Red lentils", "1|large|Onion; chopped", "2||Carrots; diced",
         "4|cup|Vegetable stock", "2|tbsp|Olive oil", "1|tsp|Ground cumin", "1|tsp|Paprika",
         "1/2|tsp|Chili flakes", "||Salt to taste", "||TO SERVE:",
         "31=More ingredients:\r\n1/2 cup Yogurt\r\n1 bunch Cilantro\r\n2 tbsp Crème fraîche"
         "\r\n\r\nWarm the oil and soften the onion and carrots. Add the spices, lentils and "
         "stock; simmer 25 minutes.\r\nSeason and serve with yogurt and cilantro.",
         "33=6"});
    row("version 7, right column a place further, a heading in dashes, 0xF8", "dos-archive.txt", 1,
        0, "Pot Roast with Gravy", "Beef, Main dish",
        {"3|lb|Beef chuck roast, OR", "||Brisket, trimmed", "2|tbsp|Oil", "2||Onions, sliced",
         "3||Carrots", "2||Bay leaves", "1|tsp|Salt", "||Pepper", "1 1/2|cup|Beef stock",
         "||FOR THE GRAVY:",
         "31=More ingredients:\r\n2 tbsp Flour\r\n1 cup Pan juices\r\n\r\n"
         "Brown the meat in the oil on all sides. Add the onions, carrots, bay leaves, salt, "
         "pepper and stock.\r\nCover and bake in a 325\u00B0F oven for 3 hours.\r\n"
         "Stir the flour into the pan juices and cook until thick.",
         "33=6"});
    row("headings, shifted block, unknown unit, control characters", "sections.mmf", 2, 0,
        "Pepper Relish", "Relishes, Canning",
        {"||YIELD: 4 PINTS:", "6|large|Red peppers; chopped", "2|medium|Onions chopped fine",
         "1|cup|Vinegar", "1/2|cup|Sugar", "||TO FINISH:", "2|tsp|Mustard seed", "1|bx|Pectin",
         "||Salt",
         "31=Simmer the peppers and onions 10 minutes.\r\nAdd the vinegar and sugar.\r\nFill hot "
         "jars and seal.",
         "33=8"});
    row("directions starting with a number", "sections.mmf", 2, 1, "Sauerkraut", "Canning",
        {"5|lb|Cabbage", "3|tbsp|Salt",
         "31=2 to 3 weeks before: shred the cabbage.\r\n1. Pack with the salt.", "33=10"});
    row("a recipe twice and a stub, lines in one string, stray bytes, first quantity",
        "review-page.html", 1, 0, "Crème brûlée", "",
        {"4||egg yolks", "½|cup|sugar", "2|cups|cream & milk",
         "31=Whisk the yolks and sugar. Stir in the cream.\r\nBake in a water bath.\r\n\r\n"
         "Yield: 4 ramekins",
         "33=4"});
    exported("all empty", {});
    exported("typical, as another keeper receives it",
             {"2|lb|beef", "||", "3||carrots", "31=Brown the beef.\r\nSimmer.", "32=325", "33=6",
              "34=2", "35=30"},
             "Stew", "stew-export.json");
    exported("measures that are not units, empty amounts",
             {"|handful|basil", "|some|salt", "12|big|eggs", "2|cups|", "||", "|jar|"});
    exported("gaps between lines", {"3=1", "23=lemon", "10=5", "20=g", "30=salt"});
    exported("blanks kept", {" 1 | cup |  flour ", "31=  indented\r\nend  "});
    exported("odd hours", {"34=1½", "35=20"});
    exported("letters in hours, no minutes", {"34=ab"});
    exported("hours with a blank", {"34=1 ", "32=400"});
    exported("leading zeros", {"34=01", "35=005"});
    exported("zero hours", {"34=0"});
    exported("minutes only", {"35=90"});
    exported("temperature only", {"32=180"});
    exported("text in digit boxes of an old file", {"1 1/2|c|sugar", "32=hot", "33=4-6", "35=ten"});
    exported("empty lines in directions", {"31=Mix.\r\n\r\nBake.\r\n"});
    exported("only a line end", {"31=\r\n"});
    exported("lone LF and CR in directions", {"31=a\nb\rc\r\nd"});
    exported("markup and entities kept",
             {"1|<b>cup</b>|salt &amp; pepper", "31=Use &lt;2&gt; <p>pans</p>"},
             "Mac &amp; Cheese");
    exported("quotes and backslashes", {"9\"|\\|\"pan\"", "31=\"\\n\""});
    exported("what the writer itself writes",
             {"|Oven| 350 °F", "31=Oven 350 °F", "33=Cooking time 1 hr"}, "Oven 1 °F");
    exported("control characters", {"\u0001|\u0081|\t", "31=\u009D\u0008"});
}

void ExchangeTest::imported() {
    QFETCH(QString, file);
    QFETCH(int, index);
    QFETCH(RecipeRecord, expected);
    QFETCH(QString, bytesFile);
    const TempFolder folder;
    const QString path = file.isEmpty() ? folder.file(u"Stew.json"_s) : data_ + u'/' + file;
    if (file.isEmpty()) {
        QVERIFY(RecipeExporter::saveFile(path, JsonLdWriter::write(expected)).ok());
    }
    if (!bytesFile.isEmpty()) {
        QFile bytes(data_ + u'/' + bytesFile);
        QVERIFY(bytes.open(QIODevice::ReadOnly));
        QCOMPARE(folder.read(u"Stew.json"_s), bytes.readAll());
    }
    const auto read = RecipeImporter::readFile(path);
    QCOMPARE(said(read), u"ok"_s);
    QTEST(int(read.value().size()), "count");
    QVERIFY(read.value()[index].canFill());
    QCOMPARE(boxes(read.value()[index].record), boxes(expected));
}

void ExchangeTest::filesRead_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");  // none: the file is not written, or made as named
    QTest::addColumn<QString>("read");      // the names read, or the refusal; %1: the file's path
    auto row = [](const char* name, const QByteArray& bytes, const QString& read) {
        QTest::newRow(name) << QString::fromLatin1(name) << bytes << read;
    };
    auto recipe = [](const QByteArray& name, const QByteArray& more = {}) {
        return "{\"@type\": \"Recipe\", \"name\": \"" + name +
               "\", \"recipeIngredient\": [\"1 egg\"]" + more + "}";
    };
    // What real pages get wrong about their JSON.
    row("values one after another.json", recipe("A") + recipe("B") + "\n;" + recipe("C"), "A|B|C");
    row("comment wrapper.json", "<!-- " + recipe("A") + " -->", "A");
    row("CDATA wrapper.json", "<![CDATA[" + recipe("A") + "]]>", "A");
    row("written with HTML escapes.json",
        "{&quot;@type&quot;: &quot;Recipe&quot;, &quot;name&quot;: &quot;A &amp;amp; B&quot;, "
        "&quot;recipeInstructions&quot;: &quot;Mix.&quot;}",
        "A & B");
    row("type with a prefix, name in an array.json",
        "{\"@type\": \"schema:Recipe\", \"name\": [\"A\", \"B\"], \"recipeInstructions\": "
        "[\"Mix.\"]}",
        "A");
    row("no name.json", "{\"@type\": \"Recipe\", \"headline\": \"H\", \"recipeIngredient\": \"x\"}",
        "H");
    row("nothing but an ingredient.json", "{\"@type\": \"Recipe\", \"recipeIngredient\": \"x\"}",
        "nothing but an ingredient");
    // Where a page's scripts are, as the HTML parser finds them.
    auto script = [&recipe](const QByteArray& name, const QByteArray& tag = "script") {
        return "<" + tag + " type=\"application/ld+json\">" + recipe(name) + "</script>";
    };
    row("in a comment.html",
        "<html><body><!-- " + script("A") + " --><p>a < b, <3</p>" + script("B") + "</body></html>",
        "B");
    row("in attributes.html",
        "<div title='" + script("A") + "' data-x=\"a > b\">x</div><img alt=\"" + script("C") +
            "\"><p data-y='>'>" + script("B") + "</p>",
        "B");
    row("in a style and in a script.html",
        "<style>/* " + script("A") + " */</style><script>var s = \"" + script("C") +
            "\";</script>" + script("B"),
        "B");
    row("upper case, unended.html",
        script("A", "SCRIPT").replace("</script>", "</SCRIPT >") + "<p>x</p>" + script("B") +
            "<Script\ttype='application/ld+json'>" + recipe("C"),
        "A|B|C");
    QByteArray many;
    QStringList manyNames;
    for (int i = 0; i < 20000; ++i) {
        many += recipe("R" + QByteArray::number(i));
        manyNames.append(u"R"_s + QString::number(i));
    }
    row("many values.json", many, manyNames.join(u'|'));
    // The same recipe twice, once with more that is not shown; stubs are not offered.
    row("twice and stubs.json",
        "[" + recipe("A") + ", {\"@type\": \"Recipe\", \"name\": \"Stub\"}, " +
            recipe("A", ", \"@id\": \"#a\", \"description\": \"Good.\"") + ", " + recipe("B") + "]",
        "A|B");
    // Each level of a quantity nested in its unit multiplied the text.
    QByteArray nested = "\"cups\"";
    for (int level = 0; level < 24; ++level) {
        nested = "{\"value\": [1, 1, 1, 1], \"unitText\": " + nested + "}";
    }
    row("nested quantities.json",
        "{\"@type\": [\"Recipe\", " + nested + "], \"name\": \"Q\", \"recipeYield\": " + nested +
            ", \"recipeIngredient\": [\"1 egg\"]}",
        "Q");

    const QString noRecipe = u"refused: The file \"%1\" holds no schema.org recipe."_s;
    const QString notJson = u"refused: The file \"%1\" is not a JSON file, or it is damaged."_s;
    const QString noMealMaster = u"refused: The file \"%1\" holds no MealMaster recipe."_s;
    const QString empty = u"refused: The file \"%1\" is empty."_s;
    const QString notAFile = u"refused: \"%1\" is a device, pipe or socket, not a recipe file."_s;
    const QString folder = u"refused: \"%1\" is a folder, not a recipe file."_s;
    row("gone.json", {}, u"refused: The file \"%1\" was not found."_s);
    row("Category", {}, folder);
    row("link to a folder.json", {}, folder);
    row("pipe.mmf", {}, notAFile);
    row("link to a device.json", {}, notAFile);
    row("large.html", {}, u"refused: The file \"%1\" is too large to import (more than 64 MB)."_s);
    row("empty.json", "", empty);
    row("blank.mmf", " \r\n\t", empty);
    row("truncated.json", "{\"@type\": \"Recipe\", \"name\": \"Pie", notJson);
    row("words.json", "Pie and more pie", notJson);
    row("binary.json", QByteArray("\x00\xff\xfe{", 4), notJson);
    row("no-recipe.json", "{\"@context\":\"https://schema.org\",\"@type\":\"Person\"}", noRecipe);
    row("only a stub.json", "{\"@type\": \"Recipe\", \"name\": \"Pie\", \"image\": \"pie.jpg\"}",
        noRecipe);
    row("deep.json", QByteArray(500, '[') + QByteArray(500, ']'), noRecipe);
    row("too deep.json", QByteArray(5000, '[') + QByteArray(5000, ']'), notJson);
    row("no-script.html", "<html><body><p>Pie</p></body></html>", noRecipe);
    row("bad-script.html",
        "<html><script type=\"application/ld+json\">{\"@type\": Recipe}</script></html>", noRecipe);
    row("binary.htm", QByteArray("\x00\x01\x02<\xff>", 6), noRecipe);
    row("letter.txt", "Dear Ann,\r\nthe pie was lovely.\r\n", noMealMaster);
    row("binary.mmf", QByteArray("\x00\x80\xff-----\x00MMMMM", 14), noMealMaster);
    row("unknown.dat", "just some words", noMealMaster);
    // Millions of tiny values would take Qt's parser seconds and many times
    // the file's size; commas inside strings are no values.
    const QString tooManyValues =
        u"refused: The file \"%1\" holds too many JSON values to import (more than one in every "
        u"8 bytes, or 2,000,000)."_s;
    const QByteArray tinyValues = "[" + QByteArray("1,").repeated(200000) + "1]";
    row("tiny values.json", tinyValues, tooManyValues);
    row("tiny values.html",
        "<html><script type=\"application/ld+json\">" + tinyValues + "</script></html>",
        tooManyValues);
    row("commas in strings.json",
        recipe("Commas", ", \"description\": \"\\\"" + QByteArray(",[{").repeated(200000) +
                             "\\\"\", \"recipeYield\": \"" + QByteArray(",").repeated(200000) +
                             "\""),
        "Commas");
    row("too many.mmf",
        QByteArray("-----\nTitle: a\n-----\n").repeated(RecipeImporter::kMaxRecipes + 1),
        u"refused: The file \"%1\" holds too many recipes to import (more than 100,000)."_s);
}

void ExchangeTest::filesRead() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    const TempFolder folder;  // "Category" is one of its folders
    const QString path = folder.file(name);
    if (name == u"large.html"_s) {
        // Refused before anything is read (a sparse file costs no disk).
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(RecipeImporter::kMaxFileSize + 1));
    } else if (name == u"pipe.mmf"_s) {
        // Opening a pipe nobody writes to would wait for ever.
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (name.startsWith(u"link to"_s)) {
        QVERIFY(QFile::link(
            name.contains(u"folder"_s) ? folder.file(u"Category"_s) : u"/dev/null"_s, path));
    } else if (!bytes.isNull()) {
        QVERIFY(folder.write(name, bytes));
    }
    const auto read = RecipeImporter::readFile(path);
    QStringList names;
    for (const ImportedRecipe& recipe : read ? read.value() : QList<ImportedRecipe>()) {
        names.append(recipe.record.name);
    }
    QTEST(read ? names.join(u'|') : said(read).replace(QDir::toNativeSeparators(path), u"%1"_s),
          "read");
}

// The bytes of each kind of file read as text: a page as it says, else as
// UTF-8 where it is; JSON as UTF-8; MealMaster as code page 437 unless UTF-8.
void ExchangeTest::decoded_data() {
    QTest::addColumn<QString>("kind");  // page, json or mealmaster
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    auto row = [](const char* tag, const char* kind, const QByteArray& bytes, const char* text) {
        QTest::newRow(tag) << QString::fromLatin1(kind) << bytes << QString::fromUtf8(text);
    };
    row("UTF-8 mark", "page", "\xEF\xBB\xBF<p>Cr\xC3\xA8me", "<p>Crème");
    row("UTF-16 mark", "page", QByteArray("\xFF\xFE<\0p\0>\0\xE8\0", 10), "<p>è");
    row("stray bytes keep the rest UTF-8", "page",
        "Cr\xC3\xA8me \x96 br\xC3\xBBl\xC3\xA9"
        "e \xE9",
        "Crème – brûlée é");
    row("no UTF-8 at all", "page",
        "Cr\xE8me br\xFBl\xE9"
        "e \x81",
        "Crème brûlée \u0081");
    row("meta charset", "page", "<meta charset=\"windows-1251\">\xC1\xEE\xF0\xF9",
        "<meta charset=\"windows-1251\">Борщ");
    row("http-equiv", "page",
        "<META HTTP-EQUIV=Content-Type CONTENT='text/html; charset=ISO-8859-1'>\xC3\xA9",
        "<META HTTP-EQUIV=Content-Type CONTENT='text/html; charset=ISO-8859-1'>Ã©");
    row("declared UTF-8, a stray byte", "page", "<meta charset=UTF-8>\xC3\xA9\x80",
        "<meta charset=UTF-8>é€");
    row("a charset in a comment", "page", "<!-- <meta charset=\"koi8-r\"> -->\xC3\xA9",
        "<!-- <meta charset=\"koi8-r\"> -->é");
    row("a charset nobody knows", "page", "<meta charset=\"x-none\">\xC3\xA9",
        "<meta charset=\"x-none\">é");
    row("UTF-16 declared without a mark", "page", "<meta charset=utf-16>\xC3\xA9",
        "<meta charset=utf-16>é");
    row("JSON with a mark", "json", "\xEF\xBB\xBF{\"a\": \"\xC3\xA9\"}", "{\"a\": \"é\"}");
    row("JSON in Windows-1252", "json", "{\"a\": \"\xE9\x80\"}", "{\"a\": \"é€\"}");
    row("DOS degrees and a half", "mealmaster",
        "350\xF8"
        "F, \xAB c",
        "350°F, ½ c");
    row("MealMaster in UTF-8", "mealmaster", "Pat\xC3\xA9", "Paté");
    row("code page 437 beside UTF-8", "mealmaster", "Pat\xC3\xA9 caf\x82", "Paté café");
}

void ExchangeTest::decoded() {
    QFETCH(QString, kind);
    QFETCH(QByteArray, bytes);
    QTEST(kind == u"page"_s   ? TextDecoding::decodePage(bytes)
          : kind == u"json"_s ? TextDecoding::decode(bytes)
                              : TextDecoding::decode(bytes, TextDecoding::Fallback::CodePage437),
          "text");
}

// Files made to take time or memory read as any other: what they hold and no
// more ("recipes", the recipe's "name", box "31", how many characters are
// "unencodable").
void ExchangeTest::hostile_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("probe");
    QTest::addColumn<QString>("expected");
    const QByteArray start =
        "MMMMM----- Recipe via Meal-Master (tm) v8.05\r\n      Title: Long\r\n\r\n";
    auto row = [](const char* name, const QByteArray& bytes, const char* probe,
                  const QString& expected) {
        QTest::newRow(name) << QString::fromLatin1(name) << bytes << QString::fromLatin1(probe)
                            << expected;
    };
    row("short direction lines.mmf", start + QByteArray("  step\r\n").repeated(20000), "31",
        QStringList(20000, u"step"_s).join(u' '));
    row("headings padded with blanks.mmf",
        start + QByteArray("----- a" + QByteArray(400, ' ') + "b\r\n").repeated(300), "31",
        u"More ingredients:"_s + u"\r\na b:"_s.repeated(290));
    QByteArray yields;
    QStringList told;
    for (int i = 0; i < 3000; ++i) {
        yields += "      Yield: " + QByteArray::number(i % 1500) + " pints\r\n";
        if (i < 1500) {
            told.append(QString::number(i) + u" pints"_s);
        }
    }
    row("yields told once each.mmf",
        "MMMMM----- Recipe via Meal-Master (tm) v8.05\r\n      Title: Y\r\n" + yields +
            "      1 c  Water\r\n",
        "31", u"Yield: "_s + told.join(u"; "_s));
    QString characters;
    for (char16_t c = 0x4E00; c < 0x4E00 + 20000; ++c) {
        characters += QChar(c);
    }
    row("many characters that cannot be saved.mmf",
        start + "  " + characters.toUtf8() + characters.toUtf8() + "\r\n", "unencodable",
        u"20000"_s);
    row("a title padded with blanks.mmf",
        "MMMMM----- Recipe via Meal-Master (tm) v8.05\r\n      Title: a" + QByteArray(100000, ' ') +
            "b \r\n      1 c  Water\r\n",
        "name", u"a b"_s);
    row("deep markup.html",
        "<html><body>" + QByteArray("<div>").repeated(100000) +
            "<script type=\"application/ld+json\">{\"@type\": \"Recipe\", \"name\": \"Deep\", "
            "\"recipeIngredient\": [\"1 egg\"]}</script>",
        "name", u"Deep"_s);
}

void ExchangeTest::hostile() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, probe);
    const auto read = RecipeImporter::readBytes(bytes, name);
    QVERIFY2(read.ok(), qPrintable(said(read)));
    const ImportedRecipe& first = read.value().front();
    QTEST(probe == u"recipes"_s       ? QString::number(read.value().size())
          : probe == u"name"_s        ? first.record.name
          : probe == u"unencodable"_s ? QString::number(first.unencodable.size())
                                      : first.record.fields[probe.toInt() - 1],
          "expected");
}

// A long read tells how far it got, stops when asked, and may run on two
// threads at once with the same result.
void ExchangeTest::progressAndCancel_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("count");
    QList<RecipeRecord> recipes;
    QByteArray archive;
    for (int i = 0; i < 2000; ++i) {
        recipes.append({u"Soups"_s, u"Soup %1"_s.arg(i), fieldsOf({"1|l|stock", "31=Simmer."})});
        archive += "MMMMM----- Recipe via Meal-Master (tm) v8.05\r\n      Title: Soup " +
                   QByteArray::number(i) +
                   "\r\n\r\n      1 l  Stock\r\n\r\n  Simmer.\r\n\r\nMMMMM\r\n";
    }
    const QByteArray json = JsonLdWriter::write(recipes);
    QTest::newRow("MealMaster") << u"archive.mmf"_s << archive << 2000;
    QTest::newRow("JSON") << u"all.json"_s << json << 2000;
    QTest::newRow("page") << u"page.html"_s
                          << "<html><body>" + QByteArray("<p>filler</p>\n").repeated(100000) +
                                 "<script type=\"application/ld+json\">" + json +
                                 "</script></body></html>"
                          << 2000;
}

void ExchangeTest::progressAndCancel() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(int, count);
    QList<int> told;
    RecipeImporter::Progress progress;
    progress.report = [&told](int percent) { told.append(percent); };
    const auto whole = RecipeImporter::readBytes(bytes, name, progress);
    QVERIFY(whole.ok());
    QCOMPARE(whole.value().size(), count);
    QVERIFY2(told.size() >= 10, qPrintable(QString::number(told.size())));
    QVERIFY(std::is_sorted(told.begin(), told.end()));
    QCOMPARE(told.last(), 100);

    // Stopped part of the way: nothing comes back, and nothing is told.
    bool asked = false;
    progress.report = [&asked](int percent) { asked = asked || percent >= 20; };
    progress.cancelled = [&asked] { return asked; };
    const auto stopped = RecipeImporter::readBytes(bytes, name, progress);
    QVERIFY(!stopped.ok() && stopped.failure().isCancelled());
    QVERIFY(stopped.failure().userMessage.isEmpty());

    // Two reads at once on their own threads.
    QList<RecipeRecord> expected;
    for (const ImportedRecipe& recipe : whole.value()) {
        expected.append(recipe.record);
    }
    std::atomic<int> same = 0;
    auto readAgain = [&] {
        const auto again = RecipeImporter::readBytes(bytes, name);
        QList<RecipeRecord> records;
        for (const ImportedRecipe& recipe : again ? again.value() : QList<ImportedRecipe>()) {
            records.append(recipe.record);
        }
        same += records == expected;
    };
    std::thread first(readAgain);
    std::thread second(readAgain);
    first.join();
    second.join();
    QCOMPARE(same.load(), 2);
}

// Recipes within the entry screen's rules come back as they were, one a time
// and all in one file, which has the structure other recipe keepers look for.
void ExchangeTest::randomRecipesRoundTrip() {
    QRandomGenerator random(20261207);
    QList<RecipeRecord> recipes;
    for (int round = 0; round < 400; ++round) {
        recipes.append(randomRecipe(random));
        const auto read =
            RecipeImporter::readBytes(JsonLdWriter::write(recipes.last()), u"export.json"_s);
        QVERIFY(read.ok() && read.value().size() == 1);
        QCOMPARE(boxes(read.value()[0].record), boxes(recipes.last()));
    }
    recipes.append({u"Soups"_s, u"Stew"_s, fieldsOf({"34=2"})});
    const QByteArray bytes = JsonLdWriter::write(recipes);
    const auto read = RecipeImporter::readBytes(bytes, u"all.json"_s);
    QVERIFY(read.ok());
    QCOMPARE(read.value().size(), recipes.size());

    QVERIFY(TextDecoding::isUtf8(bytes));
    QJsonParseError error;
    const QJsonObject document = QJsonDocument::fromJson(bytes, &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(document.value(u"@context"_s).toString(), u"https://schema.org"_s);
    const QJsonArray graph = document.value(u"@graph"_s).toArray();
    QCOMPARE(graph.size(), recipes.size());
    static const QRegularExpression duration(
        uR"(^P(?!$)(\d+Y)?(\d+M)?(\d+W)?(\d+D)?(T(?=\d)(\d+H)?(\d+M)?(\d+S)?)?$)"_s);
    int durations = 0;
    for (qsizetype i = 0; i < graph.size(); ++i) {
        QCOMPARE(boxes(read.value()[i].record), boxes(recipes[i]));
        const QJsonObject recipe = graph[i].toObject();
        QCOMPARE(recipe.value(u"@type"_s).toString(), u"Recipe"_s);
        QCOMPARE(recipe.value(u"name"_s).toString(), recipes[i].name);
        QVERIFY(recipe.value(u"recipeIngredient"_s).isArray());
        QCOMPARE(recipe.value(u"recipeIngredient"_s).toArray().size(),
                 IngredientLine::joinedLines(recipes[i].fields).size());
        if (!recipes[i].category.isEmpty()) {
            QCOMPARE(recipe.value(u"recipeCategory"_s).toString(), recipes[i].category);
        }
        for (const QString& key : {u"cookTime"_s, u"prepTime"_s, u"totalTime"_s}) {
            if (recipe.contains(key)) {
                ++durations;
                QVERIFY2(duration.match(recipe.value(key).toString()).hasMatch(),
                         qPrintable(recipe.value(key).toString()));
            }
        }
        for (const QJsonValue& step : recipe.value(u"recipeInstructions"_s).toArray()) {
            QCOMPARE(step.toObject().value(u"@type"_s).toString(), u"HowToStep"_s);
            QVERIFY(!step.toObject().value(u"text"_s).toString().trimmed().isEmpty());
        }
    }
    QVERIFY(durations > 10);
    QCOMPARE(graph.last().toObject().value(u"cookTime"_s).toString(), u"PT2H"_s);
}

// Every recipe of the store, recipe files only, in one file.
void ExchangeTest::exportAllFromStore() {
    const TempFolder folder;
    Store store(folder.path());
    const QList<RecipeRecord> expected{{u"Soups"_s, u"Pea"_s, fieldsOf({"1|l|stock"})},
                                       {u"Breads"_s, u"Rye"_s, fieldsOf({"500|g|flour", "34=1"})}};
    for (const RecipeRecord& recipe : expected) {
        QVERIFY(store.createCategory(recipe.category).ok());
        QVERIFY(store.saveRecipe(recipe.category, recipe.name, recipe.fields).ok());
    }
    QVERIFY(folder.write(u"Category/Soups/notes.txt"_s, "not a recipe"));
    const auto all = RecipeExporter::allRecipes(store);
    QVERIFY(all.ok());
    QCOMPARE(all.value(), expected);
    const QByteArray bytes = JsonLdWriter::write(all.value());
    QVERIFY(RecipeExporter::saveFile(folder.file(u"all.json"_s), bytes).ok());
    QCOMPARE(folder.read(u"all.json"_s), bytes);

    // A folder that is not there, a folder in place of the file.
    QCOMPARE(RecipeExporter::saveFile(folder.file(u"no/all.json"_s), "x").failure().number,
             kPathNotFound);
    QCOMPARE(RecipeExporter::saveFile(folder.file(u"Category"_s), "x").failure().number,
             kPathFileAccess);
}

QTEST_GUILESS_MAIN(ExchangeTest)
#include "tst_exchange.moc"
