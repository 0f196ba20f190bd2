#include "recipeexporter.h"

#include "failures.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QSet>

namespace pv::exchange {

using namespace Qt::StringLiterals;

store::Outcome<QList<RecipeRecord>> RecipeExporter::allRecipes(const store::Store& store) {
    const auto categories = store.listCategoriesByLine();
    if (!categories) {
        return categories.failure();
    }
    QList<RecipeRecord> recipes;
    QSet<QString> seen;
    for (const QString& category : categories.value()) {
        if (category.isEmpty() || seen.contains(category.toLower())) {
            continue;
        }
        seen.insert(category.toLower());
        const auto files = store.listRecipeFiles(category);
        if (!files) {
            return files.failure();
        }
        // The listing ends in one spare empty entry.
        for (qsizetype i = 0; i + 1 < files.value().size(); ++i) {
            const QString& name = files.value()[i];
            const auto fields = store.loadRecipe(category, name);
            if (!fields) {
                if (fields.failure().number == store::kInputPastEnd) {
                    continue;  // not a recipe
                }
                return fields.failure();
            }
            recipes.append({category, name, fields.value()});
        }
    }
    return recipes;
}

store::Outcome<void> RecipeExporter::saveFile(const QString& path, const QByteArray& bytes) {
    const QFileInfo info(path);
    if (info.isDir()) {
        return store::fileSystemFailure(store::kPathFileAccess);
    }
    if (!QFileInfo(info.absolutePath()).isDir()) {
        return store::fileSystemFailure(store::kPathNotFound);
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return store::fileSystemFailure(store::kPermissionDenied);
    }
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        return store::fileSystemFailure(store::kDeviceIo);
    }
    return {};
}

QString RecipeExporter::fileFilter() {
    return u"Recipes (*.json)"_s;
}

}  // namespace pv::exchange
