#include "recipeexporter.h"

#include "failures.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QSet>

namespace pv::exchange {

using namespace Qt::StringLiterals;

store::Outcome<QList<RecipeRecord>> RecipeExporter::allRecipes(const store::Store& store,
                                                               QStringList* leftOut) {
    const auto categories = store.listCategoriesByLine();
    if (!categories) {
        return categories.failure();
    }
    const auto leave = [leftOut](const QString& why) {
        if (leftOut) {
            leftOut->append(why);
        }
    };
    const auto reason = [](const store::Failure& failure) {
        return failure.isRefusal() ? failure.userMessage : failure.description + u'.';
    };
    QList<RecipeRecord> recipes;
    QSet<QString> seen;
    for (const QString& category : categories.value()) {
        if (category.isEmpty() || seen.contains(category.toLower())) {
            continue;
        }
        seen.insert(category.toLower());
        const auto files = store.listRecipeFiles(category);
        if (!files) {
            const store::Failure& failure = files.failure();
            leave(failure.isPathNotFound()
                      ? u"The category \"%1\": its folder is missing."_s.arg(category)
                      : u"The category \"%1\": %2"_s.arg(category, reason(failure)));
            continue;
        }
        // The listing ends in one spare empty entry.
        for (qsizetype i = 0; i + 1 < files.value().size(); ++i) {
            const QString& name = files.value()[i];
            const auto fields = store.loadRecipe(category, name);
            if (!fields) {
                if (fields.failure().number != store::kInputPastEnd) {  // not a recipe
                    leave(u"\"%1\" in \"%2\": %3"_s.arg(name, category, reason(fields.failure())));
                }
                continue;
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
