#include "ingredientline.h"

#include "plaintext.h"

#include <QRegularExpression>
#include <QSet>

namespace pv::exchange {
namespace {

using namespace Qt::StringLiterals;

// Units matched ignoring case (plurals listed; a final period is allowed).
const QSet<QString>& measureWords() {
    static const QSet<QString> words = {
        u"cup"_s,         u"cups"_s,      u"tablespoon"_s, u"tablespoons"_s, u"tbsp"_s,
        u"tbsps"_s,       u"tbs"_s,       u"tbl"_s,        u"tbls"_s,        u"tb"_s,
        u"teaspoon"_s,    u"teaspoons"_s, u"tsp"_s,        u"tsps"_s,        u"ts"_s,
        u"ounce"_s,       u"ounces"_s,    u"oz"_s,         u"pound"_s,       u"pounds"_s,
        u"lb"_s,          u"lbs"_s,       u"gram"_s,       u"grams"_s,       u"gr"_s,
        u"kilogram"_s,    u"kilograms"_s, u"kg"_s,         u"kgs"_s,         u"milligram"_s,
        u"milligrams"_s,  u"mg"_s,        u"milliliter"_s, u"milliliters"_s, u"millilitre"_s,
        u"millilitres"_s, u"ml"_s,        u"cl"_s,         u"dl"_s,          u"liter"_s,
        u"liters"_s,      u"litre"_s,     u"litres"_s,     u"pinch"_s,       u"pinches"_s,
        u"pn"_s,          u"dash"_s,      u"dashes"_s,     u"ds"_s,          u"clove"_s,
        u"cloves"_s,      u"can"_s,       u"cans"_s,       u"cn"_s,          u"package"_s,
        u"packages"_s,    u"pkg"_s,       u"pkgs"_s,       u"pk"_s,          u"packet"_s,
        u"packets"_s,     u"pint"_s,      u"pints"_s,      u"pt"_s,          u"quart"_s,
        u"quarts"_s,      u"qt"_s,        u"gallon"_s,     u"gallons"_s,     u"gal"_s,
        u"ga"_s,          u"stick"_s,     u"sticks"_s,     u"slice"_s,       u"slices"_s,
        u"sl"_s,          u"piece"_s,     u"pieces"_s,     u"pc"_s,          u"pcs"_s,
        u"bunch"_s,       u"bunches"_s,   u"bn"_s,         u"sprig"_s,       u"sprigs"_s,
        u"head"_s,        u"heads"_s,     u"handful"_s,    u"handfuls"_s,    u"jar"_s,
        u"jars"_s,        u"bottle"_s,    u"bottles"_s,    u"box"_s,         u"boxes"_s,
        u"bag"_s,         u"bags"_s,      u"envelope"_s,   u"envelopes"_s,   u"drop"_s,
        u"drops"_s,       u"dr"_s,        u"carton"_s,     u"cartons"_s,     u"ct"_s,
        u"each"_s,        u"ea"_s,        u"large"_s,      u"lg"_s,          u"medium"_s,
        u"md"_s,          u"med"_s,       u"small"_s,      u"sm"_s,
    };
    return words;
}

// Single letters are units only in these spellings: t teaspoon, T tablespoon.
bool isLetterMeasure(QChar c) {
    return QStringView(u"cCtTgGlL").contains(c);
}

// Units that make sense without a quantity ("Pinch of salt").
bool standsAlone(QStringView word) {
    static const QSet<QString> words = {u"pinch"_s, u"dash"_s,  u"handful"_s,
                                        u"bunch"_s, u"sprig"_s, u"splash"_s};
    return words.contains(word.toString().toLower());
}

// A quantity: a mixed number, a fraction, a decimal or whole number with an
// optional ½ ¼ ¾, or one of those alone; optionally a range ("2-3", "2 to 3").
const QRegularExpression& amountPattern() {
    static const QRegularExpression pattern(
        uR"(^((?:\d+\s+\d+/\d+|\d+/\d+|\d+(?:[.,]\d+)?\s?[½¼¾]?|[½¼¾])(?:\s*(?:-|–|—|to\s)\s*(?:\d+\s+\d+/\d+|\d+/\d+|\d+(?:[.,]\d+)?\s?[½¼¾]?|[½¼¾]))?)(?=\s|$|\pL))"_s,
        QRegularExpression::UseUnicodePropertiesOption);
    return pattern;
}

// The next word and where it ends (a period directly after letters belongs to it).
QStringView leadingWord(QStringView text) {
    qsizetype end = 0;
    while (end < text.size() && text[end].isLetter()) {
        ++end;
    }
    if (end > 0 && end < text.size() && text[end] == u'.') {
        ++end;
    }
    return text.first(end);
}

bool atWordEnd(QStringView text, qsizetype at) {
    return at >= text.size() || text[at].isSpace();
}

}  // namespace

bool IngredientLine::isMeasure(QStringView word) {
    if (word.endsWith(u'.')) {
        word.chop(1);
    }
    if (word.size() == 1) {
        return isLetterMeasure(word[0]);
    }
    return !word.isEmpty() && measureWords().contains(word.toString().toLower());
}

IngredientLine IngredientLine::parse(QStringView text) {
    IngredientLine line;
    const QString plain = PlainText::plain(text);  // "⅓ cup" is "1/3 cup"
    QStringView rest = QStringView(plain).trimmed();

    const auto amount = amountPattern().match(rest);
    if (amount.hasMatch()) {
        line.amount = amount.captured(1).trimmed();
        rest = rest.sliced(amount.capturedLength(1)).trimmed();
    }

    // "fl oz" is the one unit of two words.
    if (!line.amount.isEmpty() && rest.startsWith(u"fl oz", Qt::CaseInsensitive) &&
        atWordEnd(rest, 5 + (rest.size() > 5 && rest[5] == u'.'))) {
        const qsizetype end = 5 + (rest.size() > 5 && rest[5] == u'.');
        line.measure = rest.first(end).toString();
        rest = rest.sliced(end).trimmed();
    } else {
        const QStringView word = leadingWord(rest);
        if (atWordEnd(rest, word.size()) && isMeasure(word) &&
            (!line.amount.isEmpty() || standsAlone(word))) {
            line.measure = word.toString();
            rest = rest.sliced(word.size()).trimmed();
        }
    }
    if (!line.measure.isEmpty() && rest.startsWith(u"of ", Qt::CaseInsensitive)) {
        rest = rest.sliced(3).trimmed();
    }
    line.ingredient = rest.toString();
    return line;
}

QString IngredientLine::joined() const {
    QStringList parts;
    for (const QString* part : {&amount, &measure, &ingredient}) {
        const QString trimmed = part->trimmed();
        if (!trimmed.isEmpty()) {
            parts.append(trimmed);
        }
    }
    return parts.join(u' ');
}

IngredientLine IngredientLine::fromFields(const store::RecipeFields& fields, int line) {
    return {fields[store::amountField(line) - 1], fields[store::measureField(line) - 1],
            fields[store::ingredientField(line) - 1]};
}

QStringList IngredientLine::joinedLines(const store::RecipeFields& fields) {
    QStringList lines;
    for (int line = 1; line <= 10; ++line) {
        const QString text = fromFields(fields, line).joined();
        if (!text.isEmpty()) {
            lines.append(text);
        }
    }
    return lines;
}

}  // namespace pv::exchange
