#include "ingredientline.h"

#include "plaintext.h"
#include "quantity.h"
#include "units.h"

#include <QSet>

namespace pv::exchange {
namespace {

using namespace Qt::StringLiterals;

// Units that make sense without a quantity ("Pinch of salt").
bool standsAlone(QStringView word) {
    static const QSet<QString> words = {u"pinch"_s, u"dash"_s,  u"handful"_s,
                                        u"bunch"_s, u"sprig"_s, u"splash"_s};
    return words.contains(word.toString().toLower());
}

}  // namespace

bool IngredientLine::isMeasure(QStringView word) {
    return Units::isUnit(word);
}

IngredientLine IngredientLine::parse(QStringView text) {
    IngredientLine line;
    const QString plain = PlainText::plain(text);  // "⅓ cup" is "1/3 cup"
    QStringView rest = QStringView(plain).trimmed();

    // The amount box and a written line read their quantity alike.
    const qsizetype amount = Quantity::leadingLength(rest);
    if (amount > 0) {
        line.amount = rest.first(amount).toString();
        rest = rest.sliced(amount).trimmed();
    }

    const qsizetype unit = Units::leadingLength(rest);
    if (unit > 0 && (!line.amount.isEmpty() || standsAlone(rest.first(unit)))) {
        line.measure = rest.first(unit).toString();
        rest = rest.sliced(unit).trimmed();
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
