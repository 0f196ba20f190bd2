#pragma once

#include "reciperecord.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>

namespace pv::exchange {

// Writes recipes as schema.org Recipe data in JSON-LD (UTF-8), which other
// recipe keepers import:
//  - name, recipeCategory;
//  - recipeIngredient: each non-empty line, amount, measure and ingredient
//    joined by single blanks; supply: the same lines as HowToSupply items
//    (position = line number, name = ingredient, requiredQuantity =
//    QuantitativeValue with value = amount and unitText = measure), which keep
//    the three boxes apart;
//  - recipeInstructions: one HowToStep a directions line (lines end in
//    CR LF); directions with an empty line are given whole as text instead, so
//    that no step is empty;
//  - recipeYield: the serving size as written;
//  - cookTime: "PT<hours>H<minutes>M" with the digits as written; when a time
//    box holds more than digits there is no cookTime and cookingMethod carries
//    the boxes ("Cooking time 1½ hr");
//  - cookingMethod: "Oven 350 °F" for the oven temperature;
//  - sdPublisher: this program, which tells the reader that the values are
//    the boxes as they were.
// Empty boxes are left out.
class JsonLdWriter {
public:
    // One recipe: a Recipe object with its @context, indented.
    static QByteArray write(const RecipeRecord& recipe);
    // Several recipes: one @graph of Recipe objects, not indented.
    static QByteArray write(const QList<RecipeRecord>& recipes);

    // The Recipe object of one recipe, without @context.
    static QJsonObject recipeObject(const RecipeRecord& recipe);
};

}  // namespace pv::exchange
