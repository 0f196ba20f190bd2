#include "recipeimporter.h"

#include "boxmapper.h"
#include "failures.h"
#include "jsonldreader.h"
#include "mealmasterreader.h"
#include "textdecoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace pv::exchange {
namespace {

using namespace Qt::StringLiterals;

enum class Format { Json, Html, MealMaster };

store::Failure userError(const QString& text, const QString& path, int number = 0) {
    return {store::Failure::Kind::Refused, number,
            number ? store::errorDescription(number) : QString(),
            text.arg(QDir::toNativeSeparators(path))};
}

Format formatOf(QByteArrayView bytes, const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"json"_s) {
        return Format::Json;
    }
    if (suffix == u"html"_s || suffix == u"htm"_s) {
        return Format::Html;
    }
    if (suffix == u"mmf"_s || suffix == u"txt"_s) {
        return Format::MealMaster;
    }
    const QByteArray head = bytes.first(std::min<qsizetype>(bytes.size(), 1024)).toByteArray();
    const QByteArray start = head.trimmed();
    if (start.startsWith('{') || start.startsWith('[')) {
        return Format::Json;
    }
    const QByteArray lower = head.toLower();
    if (lower.contains("<html") || lower.contains("<!doctype") || lower.contains("<script")) {
        return Format::Html;
    }
    return Format::MealMaster;
}

}  // namespace

store::Outcome<QList<ImportedRecipe>> RecipeImporter::readBytes(QByteArrayView bytes,
                                                                const QString& path,
                                                                const Progress& progress) {
    if (progress.cancelled && progress.cancelled()) {
        return store::Failure{store::Failure::Kind::Cancelled, 0, {}, {}};
    }
    if (bytes.trimmed().isEmpty()) {
        return userError(u"The file \"%1\" is empty."_s, path);
    }
    if (bytes.size() > kMaxFileSize) {
        return userError(u"The file \"%1\" is too large to import (more than 64 MB)."_s, path);
    }
    QList<RecipeDraft> drafts;
    switch (formatOf(bytes, path)) {
        case Format::Json: {
            const auto found = JsonLdReader::readJson(TextDecoding::decode(bytes));
            if (!found) {
                return userError(u"The file \"%1\" is not a JSON file, or it is damaged."_s, path);
            }
            drafts = *found;
            break;
        }
        case Format::Html:
            drafts = JsonLdReader::readHtml(bytes);
            break;
        case Format::MealMaster:
            drafts = MealMasterReader::read(
                TextDecoding::decode(bytes, TextDecoding::Fallback::CodePage437));
            if (drafts.isEmpty()) {
                return userError(u"The file \"%1\" holds no MealMaster recipe."_s, path);
            }
            break;
    }
    if (drafts.isEmpty()) {
        return userError(u"The file \"%1\" holds no schema.org recipe."_s, path);
    }
    const QString fallbackName = QFileInfo(path).completeBaseName();
    QList<ImportedRecipe> recipes;
    recipes.reserve(drafts.size());
    for (const RecipeDraft& draft : drafts) {
        recipes.append(BoxMapper::map(draft, fallbackName));
    }
    return recipes;
}

store::Outcome<QList<ImportedRecipe>> RecipeImporter::readFile(const QString& path,
                                                               const Progress& progress) {
    const QFileInfo info(path);
    if (!info.exists()) {
        return userError(u"The file \"%1\" was not found."_s, path, store::kFileNotFound);
    }
    if (info.isDir()) {
        return userError(u"\"%1\" is a folder, not a recipe file."_s, path, store::kPathFileAccess);
    }
    if (info.size() > kMaxFileSize) {
        return userError(u"The file \"%1\" is too large to import (more than 64 MB)."_s, path);
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return userError(u"The file \"%1\" cannot be read."_s, path, store::kDeviceIo);
    }
    // Read at most one byte past the limit: a file may grow after the check.
    const QByteArray bytes = file.read(kMaxFileSize + 1);
    if (file.error() != QFileDevice::NoError) {
        return userError(u"The file \"%1\" cannot be read."_s, path, store::kDeviceIo);
    }
    return readBytes(bytes, path, progress);
}

QString RecipeImporter::fileFilter() {
    return u"Recipes (*.json *.html *.htm *.mmf *.txt)"_s;
}

}  // namespace pv::exchange
