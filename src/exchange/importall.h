#pragma once

#include "entryboxes.h"
#include "importedrecipe.h"
#include "recipeimporter.h"
#include "store.h"

#include <QList>
#include <QString>

#include <optional>

namespace pv::exchange {

// Import all: every recipe of a file saved at once, each as filling the entry
// screen with it and pressing Save would save it (texts cut to their boxes),
// each a file of its own under a name not yet taken in its category ("Stew",
// "Stew (2)", ...): nothing is ever written over. A recipe that cannot be
// saved is skipped whole and the rest go on; a failure of the disk stops the
// run. What was saved before a stop or a cancel stays saved.
class ImportAll {
public:
    struct Options {
        // Where the recipes go.
        QString category;
        // Each recipe that names a category goes into a category of that name
        // (see ownCategory) instead, made as the setup screen's Create makes
        // one when missing.
        bool ownCategories = false;
    };

    struct Skipped {
        QString recipe;
        QString reason;
    };
    struct Renamed {
        QString recipe;
        QString category;
        QString savedAs;
    };
    struct Shortened {
        QString recipe;  // as saved; empty for a category's name
        QString category;
        ShortenedText text;
    };

    struct Summary {
        int offered = 0;
        // The recipes dealt with, saved or skipped, before the run ended.
        int handled = 0;
        // Per category, in the order of their first recipe.
        QList<std::pair<QString, int>> imported;
        QList<Skipped> skipped;
        QList<Renamed> renamed;
        QList<Shortened> shortened;
        bool cancelled = false;
        // Why the run stopped before its end, when the disk failed.
        QString stopped;

        int importedCount() const;
        // What the summary window shows and the command line prints.
        QString text() const;
    };

    // Saves the recipes. The progress reports the share of recipes dealt
    // with; a cancel ends the run after the recipe being saved.
    static Summary run(store::Store& store, const QList<ImportedRecipe>& recipes,
                       const Options& options, const RecipeImporter::Progress& progress = {});

    // The "User error" text for a path that is there but is no file to read (a
    // pipe, a device, a socket), told without opening it: opening one would
    // wait for a writer or read for ever. None for anything else.
    static std::optional<QString> refuseSpecialFile(const QString& path);

    // The category the file names for the recipe, empty when none. Of several
    // ("Breads, Breakfast") the first: the screens list a name holding a comma
    // as two.
    static QString ownCategory(const ImportedRecipe& recipe);

    // Whether any of the recipes names a category of its own (a file written
    // by Export all).
    static bool namesCategories(const QList<ImportedRecipe>& recipes);
};

}  // namespace pv::exchange
