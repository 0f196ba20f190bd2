// Import of other programs' recipe files into the entry screen's boxes, and
// export as schema.org JSON-LD, through real files and exact texts.
#include "boxmapper.h"
#include "cp1252.h"
#include "duration.h"
#include "failures.h"
#include "ingredientline.h"
#include "jsonldwriter.h"
#include "plaintext.h"
#include "recipeexporter.h"
#include "recipeimporter.h"
#include "textdecoding.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace pv::exchange;
using namespace pv::store;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(RecipeRecord)

namespace {

const QString kData = QStringLiteral(PV_EXCHANGE_DATA);

// A recipe's boxes from ingredient lines "amount|measure|ingredient" and the
// other boxes by field number.
RecipeFields fieldsOf(const QStringList& lines, const QMap<int, QString>& others = {}) {
    RecipeFields fields;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QStringList parts = lines[i].split(u'|');
        const int line = int(i) + 1;
        fields[amountField(line) - 1] = parts.value(0);
        fields[measureField(line) - 1] = parts.value(1);
        fields[ingredientField(line) - 1] = parts.value(2);
    }
    for (auto it = others.begin(); it != others.end(); ++it) {
        fields[it.key() - 1] = it.value();
    }
    return fields;
}

// Boxes that differ, for a readable failure.
QStringList differences(const RecipeFields& got, const RecipeFields& expected) {
    QStringList out;
    for (int i = 0; i < kRecipeFieldCount; ++i) {
        if (got[i] != expected[i]) {
            out.append(
                u"field %1: got \"%2\", expected \"%3\""_s.arg(i + 1).arg(got[i], expected[i]));
        }
    }
    return out;
}

QString randomText(QRandomGenerator& random, int maxLength, bool lineBreaks = false) {
    QByteArray bytes;
    const int length = int(random.bounded(maxLength + 1));
    for (int i = 0; i < length; ++i) {
        char byte = char(1 + random.bounded(255));
        if (!lineBreaks && (byte == '\r' || byte == '\n')) {
            byte = ' ';
        }
        bytes.append(byte);
    }
    return decodeCp1252(bytes);
}

QString randomDigits(QRandomGenerator& random, int maxLength) {
    QString digits;
    const int length = int(random.bounded(maxLength + 1));
    for (int i = 0; i < length; ++i) {
        digits.append(QChar(u'0' + random.bounded(10)));
    }
    return digits;
}

// A recipe within the entry screen's rules: digits in the digit boxes, the
// boxes' length limits, any Windows-1252 text elsewhere, lines of the
// directions ending in CR LF, some lines and boxes left empty.
RecipeRecord randomRecipe(QRandomGenerator& random) {
    RecipeRecord recipe;
    recipe.name = randomText(random, 40);
    recipe.category = randomText(random, 20);
    for (int line = 1; line <= 10; ++line) {
        if (random.bounded(4) == 0) {
            continue;
        }
        recipe.fields[amountField(line) - 1] = randomDigits(random, line == 1 ? 5 : 8);
        recipe.fields[measureField(line) - 1] = randomText(random, 8);
        recipe.fields[ingredientField(line) - 1] =
            randomText(random, line == 1 || line == 6 ? 39 : 60);
    }
    QStringList directions;
    for (int line = int(random.bounded(6)); line > 0; --line) {
        directions.append(randomText(random, 40));
    }
    recipe.fields[kDirectionsField - 1] = directions.join(u"\r\n"_s);
    recipe.fields[kTemperatureField - 1] = randomDigits(random, 3);
    recipe.fields[kServingSizeField - 1] = randomDigits(random, 3);
    // The hours box takes any key.
    recipe.fields[kHoursField - 1] =
        random.bounded(2) ? randomDigits(random, 2) : randomText(random, 2);
    recipe.fields[kMinutesField - 1] = randomDigits(random, 3);
    return recipe;
}

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The only recipe of exported bytes, read back as the window would.
RecipeRecord importOne(const QByteArray& bytes) {
    const auto read = RecipeImporter::readBytes(bytes, u"export.json"_s);
    if (!read || read.value().size() != 1) {
        qWarning("import failed: %s", qPrintable(read ? u"count"_s : read.failure().userMessage));
        return {};
    }
    return read.value().front().record;
}

}  // namespace

class ExchangeTest : public QObject {
    Q_OBJECT

private slots:
    void ingredientLines_data();
    void ingredientLines();
    void plainText_data();
    void plainText();
    void unencodableCharacters();
    void durations_data();
    void durations();
    void fixtures_data();
    void fixtures();
    void tolerantJson_data();
    void tolerantJson();
    void damagedFiles_data();
    void damagedFiles();
    void missingAndFolder();
    void exportRoundTrip_data();
    void exportRoundTrip();
    void randomRecipesRoundTrip();
    void exportIsSchemaOrgRecipe();
    void exportBytes();
    void exportAllFromStore();
};

void ExchangeTest::ingredientLines_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");  // amount|measure|ingredient
    auto row = [](const char* text, const char* expected) {
        QTest::newRow(text) << QString::fromUtf8(text) << QString::fromUtf8(expected);
    };
    row("1 1/2 cups flour, sifted", "1 1/2|cups|flour, sifted");
    row("½ tsp salt", "½|tsp|salt");
    row("1½ cups milk", "1½|cups|milk");
    row("2-3 cloves garlic", "2-3|cloves|garlic");
    row("2 to 3 cups water", "2 to 3|cups|water");
    row("2 tomatoes", "2||tomatoes");
    row("200g butter", "200|g|butter");
    row("1.5 kg potatoes", "1.5|kg|potatoes");
    row("1 T. sugar", "1|T.|sugar");
    row("1 t baking soda", "1|t|baking soda");
    row("2 tbsp. olive oil", "2|tbsp.|olive oil");
    row("1 fl oz rum", "1|fl oz|rum");
    row("2 cups of flour", "2|cups|flour");
    row("4 large eggs", "4|large|eggs");
    row("1 cup", "1|cup|");
    row("1 (14 oz) can tomatoes", "1||(14 oz) can tomatoes");
    row("Pinch of salt", "|Pinch|salt");
    row("Cups of tea", "||Cups of tea");
    row("Salt to taste", "||Salt to taste");
    row("2-inch piece ginger", "||2-inch piece ginger");
    row("  3   eggs  ", "3||eggs");
}

void ExchangeTest::ingredientLines() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    const IngredientLine line = IngredientLine::parse(text);
    QCOMPARE(QStringList({line.amount, line.measure, line.ingredient}).join(u'|'), expected);
}

void ExchangeTest::plainText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    auto row = [](const char* tag, const QString& text, const QString& expected) {
        QTest::newRow(tag) << text << expected;
    };
    row("vulgar fraction", u"⅓ cup"_s, u"1/3 cup"_s);
    row("digit before a fraction", u"1⅓ cups"_s, u"1 1/3 cups"_s);
    row("fractions Windows-1252 has", u"1½ ¼ ¾"_s, u"1½ ¼ ¾"_s);
    row("fraction slash", u"2⁄3"_s, u"2/3"_s);
    row("non-breaking hyphen", u"non\u2011stick"_s, u"non-stick"_s);
    row("minus sign", u"\u22125 °C"_s, u"-5 °C"_s);
    row("ligature", u"\uFB01ne"_s, u"fine"_s);
    row("fullwidth", u"\uFF11\uFF12 \uFF47"_s, u"12 g"_s);
    row("combining accent", u"Cre\u0300me"_s, u"Crème"_s);
    row("degree signs", u"180 \u2103"_s, u"180 °C"_s);
    row("Greek mu", u"5 \u03BCg"_s, u"5 µg"_s);
    row("zero-width space", u"a\u200Bb"_s, u"ab"_s);
    row("Windows-1252 punctuation kept", u"\u201Cquote\u201D \u2013 \u2026 \u20AC"_s,
        u"\u201Cquote\u201D \u2013 \u2026 \u20AC"_s);
    row("no equivalent kept", u"\u263A \u4E2D"_s, u"\u263A \u4E2D"_s);
}

void ExchangeTest::plainText() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(PlainText::plain(text), expected);
}

// What cannot be saved is listed once each, and the boxes are not to be filled.
void ExchangeTest::unencodableCharacters() {
    RecipeDraft draft;
    draft.name = u"Smile \u263A pie"_s;
    draft.ingredients = {IngredientLine::parse(u"⅓ cup \u4E2D sugar"_s)};
    draft.steps = {u"Bake \U0001F370 \u263A \u4E2D"_s};
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
}

void ExchangeTest::durations_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("minutes");  // -1: not a duration
    auto row = [](const char* text, int minutes) {
        QTest::newRow(text) << QString::fromLatin1(text) << minutes;
    };
    row("PT1H30M", 90);
    row("PT90M", 90);
    row("P1DT2H", 26 * 60);
    row("P1W", 7 * 24 * 60);
    row("PT0.5H", 30);
    row("PT45S", 1);
    row("pt20m", 20);
    row("PT1H30M20S", 90);
    row("1 hour 30 minutes", 90);
    row("1 hr 30 min", 90);
    row("45 mins", 45);
    row("P", -1);
    row("PT", -1);
    row("P1Y", -1);
    row("P1M", -1);
    row("soon", -1);
    row("", -1);
    row("PT99999999999H", -1);
}

void ExchangeTest::durations() {
    QFETCH(QString, text);
    QFETCH(int, minutes);
    QCOMPARE(Duration::minutes(text).value_or(-1), minutes);
}

void ExchangeTest::fixtures_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("index");
    QTest::addColumn<RecipeRecord>("expected");
    auto row = [](const char* tag, const char* file, int count, int index, const QString& name,
                  const QString& category, const QStringList& lines,
                  const QMap<int, QString>& others) {
        QTest::newRow(tag) << QString::fromLatin1(file) << count << index
                           << RecipeRecord{category, name, fieldsOf(lines, others)};
    };
    row("@graph, sections, yield array, more than ten lines", "graph-page.html", 1, 0,
        u"Harvest Vegetable Pie"_s, u"Main course, Vegetarian"_s,
        {u"2 1/2|cups|all-purpose flour"_s, u"1|tsp.|salt"_s, u"2/3|cup|cold butter, diced"_s,
         u"6|Tbsp|ice water"_s, u"2|large|carrots, sliced"_s, u"1|medium|onion, chopped"_s,
         u"3|cloves|garlic"_s, u"200|g|mushrooms"_s, u"1||(14 oz) can diced tomatoes"_s,
         u"2-3|sprigs|thyme"_s},
        {{kDirectionsField,
          u"More ingredients:\r\nSalt and pepper to taste\r\n1 egg, beaten\r\n\r\n"
          u"For the crust\r\nWhisk the flour and salt. Cut in the butter.\r\n"
          u"Add the water, one spoon at a time, until the dough holds.\r\n"
          u"For the filling\r\nCook the carrots, onion and garlic until soft.\r\n"
          u"Stir in the mushrooms, tomatoes and thyme; season.\r\n"
          u"Fill the crust, brush with egg and bake until golden.\r\n\r\n"
          u"Prep time: 25 min\r\nTotal time: 1 hr 35 min"_s},
         {kServingSizeField, u"6"_s},
         {kHoursField, u"1"_s},
         {kMinutesField, u"10"_s}});
    row("second block, entities, CDATA, days, oven", "two-blocks.html", 1, 0,
        u"Baked Mac & Cheese"_s, u"Pasta"_s,
        {u"1|lb|elbow macaroni"_s, u"4|cups|shredded cheddar \u2013 sharp"_s, u"2|cups|milk"_s,
         u"1/4|cup|butter"_s},
        {{kDirectionsField,
          u"Cook the macaroni.\r\nMelt the butter & stir in the milk and cheese.\r\nBake."_s},
         {kServingSizeField, u"6"_s},
         {kHoursField, u"26"_s},
         {kTemperatureField, u"375"_s}});
    row("nested arrays, yield as text", "several.html", 2, 0, u"Tomato Soup"_s, QString(),
        {u"6||ripe tomatoes"_s, u"1||onion"_s},
        {{kDirectionsField,
          u"Roast the tomatoes.\r\nBlend with the onion.\r\n\r\nYield: 4 bowls"_s},
         {kServingSizeField, u"4"_s},
         {kMinutesField, u"45"_s}});
    row("in an item list, total less prep", "several.html", 2, 1, u"Pea Soup"_s, QString(),
        {u"500|g|peas"_s, u"1|l|stock"_s},
        {{kDirectionsField, u"Simmer and blend.\r\n\r\nPrep time: 10 min"_s},
         {kServingSizeField, u"2"_s},
         {kMinutesField, u"30"_s}});
    row("JSON file, text steps, garbage after", "muffins.json", 1, 0, u"Blueberry Muffins"_s,
        QString(), {u"2|cups|flour"_s},
        {{kDirectionsField,
          u"Heat the oven.\r\nMix the dry things.\r\nFold in the berries.\r\nBake.\r\n\r\n"
          u"Yield: 12 muffins\r\nPrep time: 15 min"_s},
         {kServingSizeField, u"12"_s},
         {kMinutesField, u"25"_s}});
    row("Windows-1252 page", "cp1252-page.htm", 1, 0, u"Crème brûlée"_s, QString(),
        {u"4||egg yolks"_s, u"½|cup|sugar"_s},
        {{kDirectionsField, u"Bake in a water bath \u2013 slowly."_s}});
    row("MMMMM, one column, group, continuation", "classic.mmf", 2, 0, u"Oat Scones"_s,
        u"Breads, Breakfast"_s,
        {u"2|cup|Flour"_s, u"1 1/2|cup|Rolled oats"_s, u"1|tbsp|Baking powder"_s, u"1/2|tsp|Salt"_s,
         u"½|tsp|Nutmeg"_s, u"1/3|cup|Butter cold, cut in cubes"_s, u"1|large|Egg"_s, u"||GLAZE:"_s,
         u"1|cup|Powdered sugar"_s, u"2|tbsp|Milk"_s},
        {{kDirectionsField,
          u"Heat the oven to 400 F. Mix the flour, oats, baking powder and salt; rub in the "
          u"butter.\r\nBeat the egg with a little milk and stir in until just mixed. Pat into "
          u"a round and cut into 8 wedges.\r\nBake 15 minutes; glaze when cool."_s},
         {kServingSizeField, u"8"_s}});
    row("MMMMM, second recipe, numbered steps", "classic.mmf", 2, 1, u"Quick Pickled Onions"_s,
        u"Condiments"_s, {u"1|medium|Red onion"_s, u"3/4|cup|Vinegar"_s, u"1|pinch|Salt"_s},
        {{kDirectionsField,
          u"1. Slice the onion thin.\r\n2. Pour the hot vinegar over it with the salt.\r\n"
          u"3. Chill."_s},
         {kServingSizeField, u"4"_s}});
    row("dashes, two columns, Windows-1252", "two-column.txt", 1, 0, u"Spiced Lentil Stew"_s,
        u"Soups, Vegetarian"_s,
        {u"1|cup|Red lentils"_s, u"1|large|Onion; chopped"_s, u"2||Carrots; diced"_s,
         u"4|cup|Vegetable stock"_s, u"2|tbsp|Olive oil"_s, u"1|tsp|Ground cumin"_s,
         u"1|tsp|Paprika"_s, u"1/2|tsp|Chili flakes"_s, u"||Salt to taste"_s, u"||TO SERVE:"_s},
        {{kDirectionsField,
          u"More ingredients:\r\n1/2 cup Yogurt\r\n1 bunch Cilantro\r\n2 tbsp Crème fraîche"
          u"\r\n\r\nWarm the oil and soften the onion and carrots. Add the spices, lentils and "
          u"stock; simmer 25 minutes.\r\nSeason and serve with yogurt and cilantro."_s},
         {kServingSizeField, u"6"_s}});
}

void ExchangeTest::fixtures() {
    QFETCH(QString, file);
    QFETCH(int, count);
    QFETCH(int, index);
    QFETCH(RecipeRecord, expected);
    const auto read = RecipeImporter::readFile(kData + u'/' + file);
    QVERIFY2(read.ok(), qPrintable(read ? QString() : read.failure().userMessage));
    QCOMPARE(read.value().size(), count);
    const ImportedRecipe& recipe = read.value()[index];
    QVERIFY(recipe.canFill());
    QCOMPARE(recipe.record.name, expected.name);
    QCOMPARE(recipe.record.category, expected.category);
    const QStringList diff = differences(recipe.record.fields, expected.fields);
    QVERIFY2(diff.isEmpty(), qPrintable(diff.join(u'\n')));
}

void ExchangeTest::tolerantJson_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("names");
    auto recipe = [](const char* name) {
        return u"{\"@type\": \"Recipe\", \"name\": \"%1\"}"_s.arg(QLatin1String(name));
    };
    QTest::newRow("values one after another")
        << recipe("A") + recipe("B") + u"\n;"_s + recipe("C") << QStringList{"A", "B", "C"};
    QTest::newRow("comment wrapper") << u"<!-- "_s + recipe("A") + u" -->"_s << QStringList{"A"};
    QTest::newRow("CDATA wrapper") << u"<![CDATA["_s + recipe("A") + u"]]>"_s << QStringList{"A"};
    QTest::newRow("written with HTML escapes")
        << u"{&quot;@type&quot;: &quot;Recipe&quot;, &quot;name&quot;: &quot;A &amp;amp; "
           u"B&quot;}"_s
        << QStringList{"A & B"};
    QTest::newRow("type with a prefix, name in an array")
        << u"{\"@type\": \"schema:Recipe\", \"name\": [\"A\", \"B\"]}"_s << QStringList{"A"};
    QTest::newRow("no name") << u"{\"@type\": \"Recipe\", \"headline\": \"H\"}"_s
                             << QStringList{"H"};
    QTest::newRow("nothing at all") << u"{\"@type\": \"Recipe\"}"_s << QStringList{"file"};
    QTest::newRow("many values") << recipe("A").repeated(20000) << QList<QString>(20000, u"A"_s);
}

// What real pages get wrong about their JSON.
void ExchangeTest::tolerantJson() {
    QFETCH(QString, text);
    QFETCH(QStringList, names);
    const auto read = RecipeImporter::readBytes(text.toUtf8(), u"file.json"_s);
    QVERIFY(read.ok());
    QStringList got;
    for (const ImportedRecipe& recipe : read.value()) {
        got.append(recipe.record.name);
    }
    QCOMPARE(got, names);
}

void ExchangeTest::damagedFiles_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");  // %1: the file's path
    auto row = [](const char* name, const QByteArray& bytes, const QString& message) {
        QTest::newRow(name) << QString::fromLatin1(name) << bytes << message;
    };
    const QString noRecipe = u"The file \"%1\" holds no schema.org recipe."_s;
    const QString notJson = u"The file \"%1\" is not a JSON file, or it is damaged."_s;
    const QString noMealMaster = u"The file \"%1\" holds no MealMaster recipe."_s;
    row("empty.json", "", u"The file \"%1\" is empty."_s);
    row("blank.mmf", " \r\n\t", u"The file \"%1\" is empty."_s);
    row("truncated.json", "{\"@type\": \"Recipe\", \"name\": \"Pie", notJson);
    row("words.json", "Pie and more pie", notJson);
    row("binary.json", QByteArray("\x00\xff\xfe{", 4), notJson);
    row("no-recipe.json", "{\"@context\":\"https://schema.org\",\"@type\":\"Person\"}", noRecipe);
    row("deep.json", QByteArray(500, '[') + QByteArray(500, ']'), noRecipe);
    row("too deep.json", QByteArray(5000, '[') + QByteArray(5000, ']'), notJson);
    row("no-script.html", "<html><body><p>Pie</p></body></html>", noRecipe);
    row("bad-script.html",
        "<html><script type=\"application/ld+json\">{\"@type\": Recipe}</script></html>", noRecipe);
    row("binary.htm", QByteArray("\x00\x01\x02<\xff>", 6), noRecipe);
    row("letter.txt", "Dear Ann,\r\nthe pie was lovely.\r\n", noMealMaster);
    row("binary.mmf", QByteArray("\x00\x80\xff-----\x00MMMMM", 14), noMealMaster);
    row("unknown.dat", "just some words", noMealMaster);
}

void ExchangeTest::damagedFiles() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    QVERIFY(writeBytes(path, bytes));
    const auto read = RecipeImporter::readFile(path);
    QVERIFY(!read.ok());
    QVERIFY(read.failure().isRefusal());
    QCOMPARE(read.failure().userMessage, message.arg(QDir::toNativeSeparators(path)));
}

void ExchangeTest::missingAndFolder() {
    QTemporaryDir dir;
    const QString missing = dir.filePath(u"gone.json"_s);
    auto read = RecipeImporter::readFile(missing);
    QVERIFY(!read.ok());
    QCOMPARE(read.failure().userMessage,
             u"The file \"%1\" was not found."_s.arg(QDir::toNativeSeparators(missing)));
    read = RecipeImporter::readFile(dir.path());
    QCOMPARE(read.failure().userMessage,
             u"\"%1\" is a folder, not a recipe file."_s.arg(QDir::toNativeSeparators(dir.path())));

    // Too large: checked before anything is read (a sparse file costs no disk).
    const QString large = dir.filePath(u"large.html"_s);
    QFile file(large);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(RecipeImporter::kMaxFileSize + 1));
    file.close();
    read = RecipeImporter::readFile(large);
    QCOMPARE(read.failure().userMessage,
             u"The file \"%1\" is too large to import (more than 64 MB)."_s.arg(
                 QDir::toNativeSeparators(large)));
}

void ExchangeTest::exportRoundTrip_data() {
    QTest::addColumn<RecipeRecord>("recipe");
    auto row = [](const char* tag, const QStringList& lines, const QMap<int, QString>& others,
                  const QString& name = u"Stew"_s) {
        QTest::newRow(tag) << RecipeRecord{u"Soups"_s, name, fieldsOf(lines, others)};
    };
    row("all empty", {}, {});
    row("typical", {u"2|cups|flour"_s, u"1|tsp|salt"_s, u"3||eggs"_s},
        {{kDirectionsField, u"Mix.\r\nBake."_s},
         {kTemperatureField, u"350"_s},
         {kServingSizeField, u"4"_s},
         {kHoursField, u"1"_s},
         {kMinutesField, u"15"_s}});
    row("measures that are not units, empty amounts",
        {u"|handful|basil"_s, u"|some|salt"_s, u"12|big|eggs"_s, u"2|cups|"_s, u"||"_s, u"|jar|"_s},
        {});
    row("gaps between lines",
        {u"||"_s, u"||"_s, u"1||lemon"_s, u"||"_s, u"||"_s, u"||"_s, u"||"_s, u"||"_s, u"||"_s,
         u"5|g|salt"_s},
        {});
    row("blanks kept", {u" 1 | cup |  flour "_s}, {{kDirectionsField, u"  indented\r\nend  "_s}});
    row("odd hours", {}, {{kHoursField, u"1½"_s}, {kMinutesField, u"20"_s}});
    row("letters in hours, no minutes", {}, {{kHoursField, u"ab"_s}});
    row("hours with a blank", {}, {{kHoursField, u"1 "_s}, {kTemperatureField, u"400"_s}});
    row("leading zeros", {}, {{kHoursField, u"01"_s}, {kMinutesField, u"005"_s}});
    row("zero hours", {}, {{kHoursField, u"0"_s}});
    row("minutes only", {}, {{kMinutesField, u"90"_s}});
    row("temperature only", {}, {{kTemperatureField, u"180"_s}});
    row("text in digit boxes of an old file", {u"1 1/2|c|sugar"_s},
        {{kTemperatureField, u"hot"_s}, {kServingSizeField, u"4-6"_s}, {kMinutesField, u"ten"_s}});
    row("empty lines in directions", {}, {{kDirectionsField, u"Mix.\r\n\r\nBake.\r\n"_s}});
    row("only a line end", {}, {{kDirectionsField, u"\r\n"_s}});
    row("lone LF and CR in directions", {}, {{kDirectionsField, u"a\nb\rc\r\nd"_s}});
    row("markup and entities kept", {u"1|<b>cup</b>|salt &amp; pepper"_s},
        {{kDirectionsField, u"Use &lt;2&gt; <p>pans</p>"_s}}, u"Mac &amp; Cheese"_s);
    row("quotes and backslashes", {u"9\"|\\|\"pan\""_s}, {{kDirectionsField, u"\"\\n\""_s}});
    row("what the writer itself writes", {u"|Oven| 350 °F"_s},
        {{kDirectionsField, u"Oven 350 °F"_s}, {kServingSizeField, u"Cooking time 1 hr"_s}},
        u"Oven 1 °F"_s);
    row("control characters", {u"\u0001|\u0081|\t"_s}, {{kDirectionsField, u"\u009D\u0008"_s}});
}

// Export, write to a file, import: the same boxes, name and category.
void ExchangeTest::exportRoundTrip() {
    QFETCH(RecipeRecord, recipe);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Stew.json"_s);
    QVERIFY(RecipeExporter::saveFile(path, JsonLdWriter::write(recipe)).ok());
    const auto read = RecipeImporter::readFile(path);
    QVERIFY(read.ok());
    QCOMPARE(read.value().size(), 1);
    const RecipeRecord back = read.value().front().record;
    QCOMPARE(back.name, recipe.name);
    QCOMPARE(back.category, recipe.category);
    const QStringList diff = differences(back.fields, recipe.fields);
    QVERIFY2(diff.isEmpty(), qPrintable(diff.join(u'\n')));
}

void ExchangeTest::randomRecipesRoundTrip() {
    QRandomGenerator random(20261207);
    QList<RecipeRecord> recipes;
    for (int round = 0; round < 400; ++round) {
        const RecipeRecord recipe = randomRecipe(random);
        const RecipeRecord back = importOne(JsonLdWriter::write(recipe));
        QVERIFY2(back == recipe,
                 qPrintable(u"round %1: %2"_s.arg(round).arg(
                     differences(back.fields, recipe.fields).join(u'\n') +
                     (back.name != recipe.name ? u" name"_s : QString()) +
                     (back.category != recipe.category ? u" category"_s : QString()))));
        recipes.append(recipe);
    }
    // All of them in one file come back in order.
    const auto read = RecipeImporter::readBytes(JsonLdWriter::write(recipes), u"all.json"_s);
    QVERIFY(read.ok());
    QCOMPARE(read.value().size(), recipes.size());
    for (qsizetype i = 0; i < recipes.size(); ++i) {
        QCOMPARE(read.value()[i].record, recipes[i]);
    }
}

// The structure other recipe keepers look for.
void ExchangeTest::exportIsSchemaOrgRecipe() {
    QRandomGenerator random(77);
    QList<RecipeRecord> recipes;
    for (int i = 0; i < 50; ++i) {
        recipes.append(randomRecipe(random));
    }
    recipes.append({u"Soups"_s, u"Stew"_s, fieldsOf({}, {{kHoursField, u"2"_s}})});
    const QByteArray bytes = JsonLdWriter::write(recipes);
    QVERIFY(TextDecoding::isUtf8(bytes));
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(document.object().value(u"@context"_s).toString(), u"https://schema.org"_s);
    const QJsonArray graph = document.object().value(u"@graph"_s).toArray();
    QCOMPARE(graph.size(), recipes.size());

    static const QRegularExpression duration(
        uR"(^P(?!$)(\d+Y)?(\d+M)?(\d+W)?(\d+D)?(T(?=\d)(\d+H)?(\d+M)?(\d+S)?)?$)"_s);
    int durations = 0;
    for (qsizetype i = 0; i < graph.size(); ++i) {
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

// One recipe, byte for byte, as another keeper receives it.
void ExchangeTest::exportBytes() {
    const RecipeRecord stew{u"Soups"_s, u"Stew"_s,
                            fieldsOf({u"2|lb|beef"_s, u"||"_s, u"3||carrots"_s},
                                     {{kDirectionsField, u"Brown the beef.\r\nSimmer."_s},
                                      {kTemperatureField, u"325"_s},
                                      {kServingSizeField, u"6"_s},
                                      {kHoursField, u"2"_s},
                                      {kMinutesField, u"30"_s}})};
    QCOMPARE(JsonLdWriter::write(stew), readBytes(kData + u"/stew-export.json"_s));
}

void ExchangeTest::exportAllFromStore() {
    QTemporaryDir dir;
    Store store(dir.path());
    QVERIFY(QDir(dir.path()).mkpath(u"Category"_s));
    QVERIFY(store.createCategory(u"Soups"_s).ok());
    QVERIFY(store.createCategory(u"Breads"_s).ok());
    const RecipeFields soup = fieldsOf({u"1|l|stock"_s});
    const RecipeFields bread = fieldsOf({u"500|g|flour"_s}, {{kHoursField, u"1"_s}});
    QVERIFY(store.saveRecipe(u"Soups"_s, u"Pea"_s, soup).ok());
    QVERIFY(store.saveRecipe(u"Breads"_s, u"Rye"_s, bread).ok());
    QVERIFY(writeBytes(dir.filePath(u"Category/Soups/notes.txt"_s), "not a recipe"));

    const auto all = RecipeExporter::allRecipes(store);
    QVERIFY(all.ok());
    const QList<RecipeRecord> expected{{u"Soups"_s, u"Pea"_s, soup},
                                       {u"Breads"_s, u"Rye"_s, bread}};
    QCOMPARE(all.value(), expected);

    const QString path = dir.filePath(u"all.json"_s);
    QVERIFY(RecipeExporter::saveFile(path, JsonLdWriter::write(all.value())).ok());
    const auto read = RecipeImporter::readFile(path);
    QVERIFY(read.ok());
    QCOMPARE(read.value().size(), 2);
    QCOMPARE(read.value()[1].record, expected[1]);

    // A folder that is not there, a folder in place of the file.
    QCOMPARE(RecipeExporter::saveFile(dir.filePath(u"no/all.json"_s), "x").failure().number,
             kPathNotFound);
    QCOMPARE(RecipeExporter::saveFile(dir.filePath(u"Category"_s), "x").failure().number,
             kPathFileAccess);
    QCOMPARE(readBytes(path), JsonLdWriter::write(all.value()));
}

QTEST_GUILESS_MAIN(ExchangeTest)
#include "tst_exchange.moc"
