#pragma once

#include "ingredientline.h"
#include "store.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace pv::exchange {

// What a reader found of one recipe, before it is fitted into the boxes.
struct RecipeDraft {
    QString name;
    QString category;
    QList<IngredientLine> ingredients;  // in order; a group heading is a line of its own
    QStringList steps;                  // the directions, one step a line
    QStringList yields;                 // yield or servings, as written
    std::optional<int> cookMinutes;
    std::optional<int> prepMinutes;
    std::optional<int> totalMinutes;
    QString temperature;  // oven temperature, digits
    // A recipe this program exported: its boxes exactly as they were. Held
    // apart, as most recipes have none and an archive holds many.
    std::shared_ptr<const store::RecipeFields> exact;
};

}  // namespace pv::exchange
