#include "shoppingmerge.h"

#include "units.h"

namespace pv::exchange {

namespace {

using namespace Qt::StringLiterals;

// An ingredient's name as lines are compared: its words in lower case without
// a final plural "s".
QString nameKey(const QString& name) {
    QString key = name.simplified().toLower();
    if (key.size() > 1 && key.endsWith(u's')) {
        key.chop(1);
    }
    return key;
}

bool hasPluralS(const QString& name) {
    return name.size() > 1 && name.endsWith(u's', Qt::CaseInsensitive);
}

}  // namespace

bool ShoppingMerge::isGroupHeading(const IngredientLine& line) {
    return line.amount.trimmed().isEmpty() && line.measure.trimmed().isEmpty() &&
           line.ingredient.trimmed().endsWith(u':');
}

void ShoppingMerge::addRecipe(const store::RecipeFields& fields, const Fraction& factor) {
    for (int line = 1; line <= 10; ++line) {
        addLine(IngredientLine::fromFields(fields, line), factor);
    }
}

void ShoppingMerge::addLine(const IngredientLine& line, const Fraction& factor) {
    if (line.joined().isEmpty() || isGroupHeading(line)) {
        return;
    }
    const QString name = line.ingredient.simplified();
    const QString unit = line.measure.simplified();
    const auto quantity = Quantity::parse(line.amount);
    const QString key = (quantity ? u"n\x1F"_s : u"t\x1F"_s + line.amount.simplified().toLower()) +
                        u'\x1F' + Units::mergeKey(unit) + u'\x1F' + nameKey(name);
    const auto found = index_.constFind(key);
    if (found == index_.cend()) {
        Entry entry;
        entry.counted = quantity.has_value();
        entry.unit = unit;
        entry.name = name;
        if (quantity) {
            entry.total = quantity->scaled(factor);
        } else {
            entry.line = line.joined();
        }
        (hasPluralS(name) ? entry.plural : entry.singular) = name;
        index_.insert(key, entries_.size());
        entries_.append(entry);
        return;
    }
    Entry& entry = entries_[*found];
    if (quantity) {
        entry.total = entry.total.plus(quantity->scaled(factor));
    }
    QString& form = hasPluralS(name) ? entry.plural : entry.singular;
    if (form.isEmpty()) {
        form = name;
    }
}

QStringList ShoppingMerge::lines() const {
    QStringList lines;
    lines.reserve(entries_.size());
    for (const Entry& entry : entries_) {
        if (!entry.counted) {
            lines.append(entry.line);
            continue;
        }
        const bool many = entry.total.isMoreThanOne();
        // The spelling that fits the total, where the recipes wrote one.
        const QString& fitting = many ? entry.plural : entry.singular;
        const IngredientLine line{entry.total.text(), Units::spelledFor(entry.unit, many),
                                  fitting.isEmpty() ? entry.name : fitting};
        lines.append(line.joined());
    }
    return lines;
}

}  // namespace pv::exchange
