#pragma once

#include "outcome.h"
#include "reciperecord.h"
#include "store.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace pv::exchange {

// Export of recipes from the store into a file of other recipe keepers.
class RecipeExporter {
public:
    // Every recipe of every category, categories in list order (one folder
    // once, whatever its case) and recipes by name. A file that is not a
    // recipe is skipped; other failures of the store are returned as they are.
    static store::Outcome<QList<RecipeRecord>> allRecipes(const store::Store& store);

    // Writes bytes to path in one go: the file is replaced only when all of
    // them are written. Failures carry the store's classic numbers.
    static store::Outcome<void> saveFile(const QString& path, const QByteArray& bytes);

    // The file dialog's filter: "Recipes (*.json)".
    static QString fileFilter();
};

}  // namespace pv::exchange
