#pragma once

#include "outcome.h"
#include "reciperecord.h"
#include "store.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace pv::exchange {

// Export of recipes from the store into a file of other recipe keepers.
class RecipeExporter {
public:
    // Every recipe of every category, categories in list order (one folder
    // once, whatever its case) and recipes by name. A file that is not a
    // recipe is skipped. A listed category whose folder is gone, or a recipe
    // that cannot be read, is left out and the rest go on; leftOut, when
    // given, gets a line for each saying why. Only a category list that
    // cannot be read is a failure.
    static store::Outcome<QList<RecipeRecord>> allRecipes(const store::Store& store,
                                                          QStringList* leftOut = nullptr);

    // Writes bytes to path in one go: the file is replaced only when all of
    // them are written. Failures carry the store's classic numbers.
    static store::Outcome<void> saveFile(const QString& path, const QByteArray& bytes);

    // The file dialog's filter: "Recipes (*.json)".
    static QString fileFilter();
};

}  // namespace pv::exchange
