// Amounts as cooks write them, units by their spellings, scaling and the
// shopping list merged from several recipes.
#include "ingredientline.h"
#include "quantity.h"
#include "recipescale.h"
#include "shoppingmerge.h"
#include "units.h"

#include <QTest>

using namespace pv::exchange;
using namespace Qt::StringLiterals;

namespace {

// "3/2" for one and a half, "-" for no quantity; a range as "2..3".
QString valueOf(const std::optional<Quantity>& quantity) {
    if (!quantity) {
        return u"-"_s;
    }
    const auto fraction = [](const Fraction& f) {
        return f.denominator() == 1 ? QString::number(f.numerator())
                                    : u"%1/%2"_s.arg(f.numerator()).arg(f.denominator());
    };
    return quantity->isRange() ? fraction(quantity->low()) + u".."_s + fraction(quantity->high())
                               : fraction(quantity->low());
}

Fraction fractionOf(const QString& text) {
    const QStringList parts = text.split(u'/');
    return Fraction(parts.value(0).toLongLong(), parts.size() > 1 ? parts[1].toLongLong() : 1);
}

}  // namespace

class AmountsTest : public QObject {
    Q_OBJECT
private slots:
    void readsAmounts_data();
    void readsAmounts();
    void writesAsCooksDo_data();
    void writesAsCooksDo();
    void scales_data();
    void scales();
    void knowsUnits_data();
    void knowsUnits();
    void merges_data();
    void merges();
    void servingsWritten_data();
    void servingsWritten();
};

// Forms met in MealMaster and schema.org recipes, and what is no amount.
void AmountsTest::readsAmounts_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("value");
    QTest::addColumn<qsizetype>("leading");  // of the text followed by " cups"
    const auto row = [](const char* text, const char* value, qsizetype leading) {
        QTest::newRow(text) << QString::fromUtf8(text) << QString::fromUtf8(value) << leading;
    };
    row("1", "1", 1);
    row("12", "12", 2);
    row("1 1/3", "4/3", 5);
    row("1  1/2", "3/2", 6);
    row("1/2", "1/2", 3);
    row("2½", "5/2", 2);
    row("2 ½", "5/2", 3);
    row("½", "1/2", 1);
    row("¾", "3/4", 1);
    row("0.333", "333/1000", 5);
    row("1,5", "3/2", 3);
    row("0.3333333", "333333/1000000", 9);
    row("2-3", "2..3", 3);
    row("2 - 3", "2..3", 5);
    row("2 to 3", "2..3", 6);
    row("2–3", "2..3", 3);
    row("12-14", "12..14", 5);
    row("1/2-1", "1/2..1", 5);
    row("1-1/2", "3/2", 5);
    row(" 4 ", "4", 0);
    row("pinch", "-", 0);
    row("to taste", "-", 0);
    row("", "-", 0);
    row("1/0", "-", 3);
    row("2-", "-", 0);
    row("1.", "-", 0);
    row("3 eggs", "-", 1);
    row("1234567890123", "-", 13);
    row("a few", "-", 0);
}

void AmountsTest::readsAmounts() {
    QFETCH(QString, text);
    QTEST(valueOf(Quantity::parse(text)), "value");
    QTEST(Quantity::leadingLength(text + u" cups"_s), "leading");
}

void AmountsTest::writesAsCooksDo_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("comma");
    QTest::addColumn<QString>("text");
    const auto row = [](const char* value, bool comma, const char* text) {
        QTest::addRow("%s%s", value, comma ? " comma" : "")
            << QString::fromLatin1(value) << comma << QString::fromLatin1(text);
    };
    row("3", false, "3");
    row("3/2", false, "1 1/2");
    row("2/3", false, "2/3");
    row("1/3", false, "1/3");
    row("10/3", false, "3 1/3");
    row("3/8", false, "3/8");
    row("5/4", false, "1 1/4");
    row("333/1000", false, "1/3");
    row("999/1000", false, "1");
    row("1/6", false, "0.17");
    row("7/10", false, "0.7");
    row("7/10", true, "0,7");
    row("101/100", false, "1.01");
    row("1/10000", false, "0.01");
    row("0", false, "0");
    row("250/3", false, "83 1/3");
}

void AmountsTest::writesAsCooksDo() {
    QFETCH(QString, value);
    QFETCH(bool, comma);
    QTEST(Quantity::format(fractionOf(value), comma), "text");
}

// Scaled, and scaled back by the inverse: exactly what was written.
void AmountsTest::scales_data() {
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("factor");
    QTest::addColumn<QString>("scaled");
    const auto row = [](const char* written, const char* factor, const char* scaled) {
        QTest::addRow("%s x %s", written, factor)
            << QString::fromUtf8(written) << QString::fromLatin1(factor)
            << QString::fromUtf8(scaled);
    };
    row("0.333", "3", "1");
    row("1 1/3", "3", "4");
    row("1/2", "3", "1 1/2");
    row("2½", "2", "5");
    row("2½", "1/3", "0.83");
    row("2-3", "2", "4-6");
    row("2 to 3", "1/2", "1 to 1 1/2");
    row("1,5", "1/3", "1/2");
    row("0,7", "2", "1,4");
    row("200", "3/4", "150");
    row("1-1/2", "2", "3");
    row("3", "1", "3");
}

void AmountsTest::scales() {
    QFETCH(QString, written);
    QFETCH(QString, factor);
    const Fraction by = fractionOf(factor);
    const auto quantity = Quantity::parse(written);
    QVERIFY(quantity);
    QTEST(quantity->scaled(by).text(), "scaled");
    QCOMPARE(quantity->scaled(by).scaled(Fraction(1) / by).text(), written);
    QTEST(RecipeScale::scaledAmount(written, by), "scaled");
}

void AmountsTest::knowsUnits_data() {
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("singular");
    QTest::addColumn<QString>("plural");
    const auto row = [](const char* written, const char* unit, const char* singular,
                        const char* plural) {
        QTest::newRow(written) << QString::fromUtf8(written) << QString::fromLatin1(unit)
                               << QString::fromUtf8(singular) << QString::fromUtf8(plural);
    };
    row("c", "cup", "c", "c");
    row("C", "cup", "C", "C");
    row("cup", "cup", "cup", "cups");
    row("Cups", "cup", "Cup", "Cups");
    row("CUP", "cup", "CUP", "CUPS");
    row("T", "tbsp", "T", "T");
    row("T.", "tbsp", "T.", "T.");
    row("t", "tsp", "t", "t");
    row("tbsp", "tbsp", "tbsp", "tbsp");
    row("TBSP", "tbsp", "TBSP", "TBSP");
    row("tb", "tbsp", "tb", "tb");
    row("Tablespoons", "tbsp", "Tablespoon", "Tablespoons");
    row("tsp.", "tsp", "tsp.", "tsp.");
    row("teaspoon", "tsp", "teaspoon", "teaspoons");
    row("g", "g", "g", "g");
    row("grams", "g", "gram", "grams");
    row("kg", "kg", "kg", "kg");
    row("ml", "ml", "ml", "ml");
    row("millilitres", "ml", "millilitre", "millilitres");
    row("l", "l", "l", "l");
    row("L", "l", "L", "L");
    row("litre", "l", "litre", "litres");
    row("oz", "oz", "oz", "oz");
    row("fl oz", "fl oz", "fl oz", "fl oz");
    row("lb", "lb", "lb", "lb");
    row("pounds", "lb", "pound", "pounds");
    row("lbs", "lb", "lbs", "lbs");
    row("pinch", "pinch", "pinch", "pinches");
    row("cloves", "clove", "clove", "cloves");
    // German, Spanish and Portuguese.
    row("EL", "tbsp", "EL", "EL");
    row("TL.", "tsp", "TL.", "TL.");
    row("El", "", "El", "El");
    row("Bund", "bunch", "Bund", "Bund");
    row("gramos", "g", "gramo", "gramos");
    row("mililitros", "ml", "mililitro", "mililitros");
    row("xícara", "cup", "xícara", "xícaras");
    row("Xícaras", "cup", "Xícara", "Xícaras");
    row("colher", "spoon", "colher", "colheres");
    row("colheres", "spoon", "colher", "colheres");
    row("pitada", "pinch", "pitada", "pitadas");
    row("x", "", "x", "x");
    row("cupboard", "", "cupboard", "cupboard");
}

void AmountsTest::knowsUnits() {
    QFETCH(QString, written);
    QTEST(Units::normalised(written), "unit");
    QTEST(Units::spelledFor(written, false), "singular");
    QTEST(Units::spelledFor(written, true), "plural");
}

// Recipes parted by " // ", each "factor: line; line", a line
// "amount|type|ingredient"; the merged list by "\n".
void AmountsTest::merges_data() {
    QTest::addColumn<QString>("recipes");
    QTest::addColumn<QString>("merged");
    const auto row = [](const char* name, const char* recipes, const char* merged) {
        QTest::newRow(name) << QString::fromUtf8(recipes) << QString::fromUtf8(merged);
    };
    row("same unit adds", "1: 2|cups|flour; 1|cup|flour", "3 cups flour");
    row("spellings of one unit", "1: 1|c|flour; 1|Cup|flour; 2|tbsp|butter; 1|T|butter",
        "2 c flour\n3 tbsp butter");
    row("T is not t", "1: 1|T|sugar; 1|t|sugar", "1 T sugar\n1 t sugar");
    row("different units never", "1: 2|cups|flour; 200|g|flour; 1|lb|flour",
        "2 cups flour\n200 g flour\n1 lb flour");
    row("plural and case", "1: 2||eggs // 1: 1|| Egg ", "3 eggs");
    row("plural spelling fits the total", "1: 1||onion // 1: 2||Onions", "3 Onions");
    row("non-numbers once each",
        "1: |pinch|salt; ||Salt to taste // 1: |Pinch|salt; ||salt to taste; few|sprigs|thyme",
        "pinch salt\nSalt to taste\nfew sprigs thyme");
    row("headings left out", "1: ||FILLING:; 1|cup|sugar // 1: ||Topping:; 1|cup|sugar",
        "2 cups sugar");
    row("each recipe at its servings", "1: 1|cup|flour // 2: 1|cup|flour", "3 cups flour");
    row("halves", "1: 3|cups|flour // 1/2: 1|cup|flour", "3 1/2 cups flour");
    row("singular after scaling down", "1/2: 2|cups|milk", "1 cup milk");
    row("ranges end by end", "1: 2-3|cloves|garlic; 1|clove|garlic", "3-4 cloves garlic");
    row("ingredient order", "1: 1||egg; 1|cup|milk // 1: 1|cup|milk; 2||eggs; 1|tsp|salt",
        "3 eggs\n2 cups milk\n1 tsp salt");
    row("unknown unit by its word", "1: 1|bulb|fennel; 2|bulbs|fennel", "3 bulb fennel");
    row("one line as written", "1: 2½|cups|milk", "2½ cups milk");
    row("decimal comma", "1: 0,5|l|milk; 0,7|l|milk", "1,2 l milk");
    row("thirds", "1/3: 1|cup|oats // 1/3: 1|cup|oats", "2/3 cup oats");
    row("empty lines", "1: ||; 1||lemon", "1 lemon");
}

void AmountsTest::merges() {
    QFETCH(QString, recipes);
    ShoppingMerge merge;
    for (const QString& recipe : recipes.split(u" // "_s)) {
        const Fraction factor = fractionOf(recipe.section(u": "_s, 0, 0));
        for (const QString& line : recipe.section(u": "_s, 1).split(u"; "_s)) {
            const QStringList boxes = line.split(u'|');
            merge.addLine({boxes.value(0), boxes.value(1), boxes.value(2)}, factor);
        }
    }
    QTEST(merge.lines().join(u'\n'), "merged");
}

void AmountsTest::servingsWritten_data() {
    QTest::addColumn<QString>("size");
    QTest::addColumn<int>("servings");
    QTest::newRow("number") << u"4"_s << 4;
    QTest::newRow("range") << u"4-6"_s << 4;
    QTest::newRow("words") << u"Serves 8"_s << 8;
    QTest::newRow("empty") << u""_s << 0;
    QTest::newRow("none") << u"some"_s << 0;
    QTest::newRow("too many") << u"100000"_s << 0;
}

void AmountsTest::servingsWritten() {
    QFETCH(QString, size);
    QTEST(RecipeScale::writtenServings(size), "servings");
}

QTEST_GUILESS_MAIN(AmountsTest)
#include "tst_amounts.moc"
