#pragma once

// What every import fuzz target asks of a file a user picks: a refusal names
// the file, a file read holds at least one recipe, the progress only moves
// forward, and whatever can fill the boxes exports as JSON-LD and imports
// back to the same boxes.
#include "jsonldwriter.h"
#include "recipeimporter.h"

#include <cstdlib>

namespace pv::exchange {

inline void checkImport(QByteArrayView bytes, const QString& name) {
    // The progress only moves forward, from 0 to at most 100.
    int told = -1;
    RecipeImporter::Progress progress;
    progress.report = [&told](int percent) {
        if (percent < told || percent < 0 || percent > 100) {
            std::abort();
        }
        told = percent;
    };
    const auto read = RecipeImporter::readBytes(bytes, name, progress);
    if (!read.ok()) {
        if (!read.failure().isRefusal() || !read.failure().userMessage.contains(name)) {
            std::abort();
        }
        return;
    }
    if (read.value().isEmpty()) {
        std::abort();
    }
    for (const ImportedRecipe& recipe : read.value()) {
        if (!recipe.canFill()) {
            continue;
        }
        const auto again = RecipeImporter::readBytes(JsonLdWriter::write(recipe.record),
                                                     QStringLiteral("again.json"));
        if (!again.ok() || again.value().size() != 1 ||
            again.value().front().record != recipe.record) {
            std::abort();
        }
    }
}

}  // namespace pv::exchange
