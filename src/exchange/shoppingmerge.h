#pragma once

#include "ingredientline.h"
#include "quantity.h"
#include "store.h"

#include <QHash>
#include <QList>
#include <QStringList>

namespace pv::exchange {

// One shopping list from the ingredient lines of several recipes, each scaled
// to its servings:
//  - the same ingredient (ignoring case, blanks around and between words, and
//    a plural "s") in the same unit (after Units::mergeKey) adds up, ranges
//    end by end;
//  - different units stay separate lines; a unit is never converted;
//  - a line without a number in its amount box is listed once, however many
//    recipes hold it;
//  - group headings ("FILLING:", a line of only an ingredient ending in a
//    colon, as the import writes them) are left out;
//  - the lines come in the order their ingredients first appear, each written
//    as "3 cups flour".
class ShoppingMerge {
public:
    // Lines 1 to 10 of a recipe, amounts multiplied by factor.
    void addRecipe(const store::RecipeFields& fields, const Fraction& factor);
    void addLine(const IngredientLine& line, const Fraction& factor = Fraction(1));

    QStringList lines() const;

    static bool isGroupHeading(const IngredientLine& line);

private:
    struct Entry {
        bool counted = false;  // has a number that adds up
        Quantity total;
        QString unit;      // as its first line wrote it
        QString name;      // the ingredient as first written
        QString singular;  // the first spelling without a plural "s", if any
        QString plural;    // the first spelling with one, if any
        QString line;      // a line without a number, as first written
    };
    QList<Entry> entries_;
    QHash<QString, qsizetype> index_;
};

}  // namespace pv::exchange
