#pragma once

#include "store.h"

#include <QString>
#include <QStringList>
#include <QStringView>

namespace pv::exchange {

// One ingredient line of the entry screen: amount, measure and ingredient.
struct IngredientLine {
    QString amount;
    QString measure;
    QString ingredient;

    // Splits a written line ("1 1/2 cups flour, sifted") into its three boxes:
    // a leading quantity kept as written ("1 1/2", "½", "2-3", "200" of
    // "200g"), then a unit word or abbreviation, then the rest ("of" after a
    // measure is dropped). A line without a quantity or unit is all ingredient.
    static IngredientLine parse(QStringView text);

    // Whether a word (with or without a final period) names a unit of measure.
    static bool isMeasure(QStringView word);

    // The three boxes joined by single blanks, each trimmed, empty ones left out.
    QString joined() const;

    // Line n (1..10) of a recipe's fields.
    static IngredientLine fromFields(const store::RecipeFields& fields, int line);

    // The non-empty lines of a recipe, each joined: what a shopping list or
    // another recipe keeper receives.
    static QStringList joinedLines(const store::RecipeFields& fields);

    friend bool operator==(const IngredientLine&, const IngredientLine&) = default;
};

}  // namespace pv::exchange
