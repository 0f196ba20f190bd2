#pragma once

#include "reciperecord.h"

#include <QString>
#include <QStringList>

namespace pv::exchange {

// One recipe found in an imported file, as the entry screen's boxes would
// show it. The category is the one the file names; the screen keeps its own.
struct ImportedRecipe {
    RecipeRecord record;
    // Characters with no Windows-1252 byte and no plain-text equivalent, each
    // once. When there are any, the boxes must not be filled: show
    // unencodableMessage() titled "User error" instead.
    QStringList unencodable;

    // The most characters the texts of a recipe hold together: its file stays
    // within what Find reads of a recipe, and the browser shows it at once. A
    // made or broken file (millions of direction lines) gives more.
    static constexpr qsizetype kMostCharacters = 1'000'000;
    qsizetype characters() const;

    bool canFill() const { return unencodable.isEmpty() && characters() <= kMostCharacters; }
    // Why the boxes must not be filled, told as a "User error"; empty when they may.
    QString refusalMessage() const;
    // The same as a line of Import all's summary says it.
    QString refusalReason() const;

    // The "User error" text naming the recipe and the characters it holds that
    // cannot be saved.
    QString unencodableMessage() const;
    // Those characters as a message lists them, a long list cut short:
    // "\"é\" (U+00E9), ..., and 3 more".
    QString unencodableList() const;
};

}  // namespace pv::exchange
