#include "recipeimporter.h"

#include "boxmapper.h"
#include "failures.h"
#include "jsonldreader.h"
#include "mealmasterreader.h"
#include "readprogress.h"
#include "textdecoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

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

const QString kTooLarge = u"The file \"%1\" is too large to import (more than 64 MB)."_s;
const QString kFolder = u"\"%1\" is a folder, not a recipe file."_s;
const QString kNotAFile = u"\"%1\" is a device, pipe or socket, not a recipe file."_s;
const QString kCannotRead = u"The file \"%1\" cannot be read."_s;
const QString kTooManyValues =
    u"The file \"%1\" holds too many JSON values to import (more than one in every 8 bytes, or "
    u"2,000,000)."_s;

store::Failure cancelled() {
    return {store::Failure::Kind::Cancelled, 0, {}, {}};
}

// JSON as UTF-8 bytes: the file's own when they are, without a copy.
QByteArray jsonUtf8(QByteArrayView bytes) {
    if (!bytes.startsWith("\xEF\xBB\xBF") && TextDecoding::isUtf8(bytes)) {
        return QByteArray::fromRawData(bytes.data(), bytes.size());
    }
    return TextDecoding::decode(bytes).toUtf8();
}

}  // namespace

store::Outcome<QList<ImportedRecipe>> RecipeImporter::readBytes(QByteArrayView bytes,
                                                                const QString& path,
                                                                const Progress& progress) {
    ReadProgress read(progress);
    if (!read.step(0, 1)) {
        return cancelled();
    }
    if (bytes.trimmed().isEmpty()) {
        return userError(u"The file \"%1\" is empty."_s, path);
    }
    if (bytes.size() > kMaxFileSize) {
        return userError(kTooLarge, path);
    }
    QList<RecipeDraft> drafts;
    QString noRecipe = u"The file \"%1\" holds no schema.org recipe."_s;
    const Format format = formatOf(bytes, path);
    switch (format) {
        case Format::Json:
        case Format::Html: {
            JsonLdReader::Read found =
                format == Format::Json ? JsonLdReader::readJson(jsonUtf8(bytes), bytes.size(), read)
                                       : JsonLdReader::readHtml(bytes, read);
            if (found.tooManyValues) {
                return userError(kTooManyValues, path);
            }
            if (found.notJson && !read.cancelled()) {
                return userError(u"The file \"%1\" is not a JSON file, or it is damaged."_s, path);
            }
            drafts = std::move(found.drafts);
            break;
        }
        case Format::MealMaster:
            read.phase(5, 80);
            drafts = MealMasterReader::read(
                TextDecoding::decode(bytes, TextDecoding::Fallback::CodePage437), read);
            noRecipe = u"The file \"%1\" holds no MealMaster recipe."_s;
            break;
    }
    if (read.cancelled()) {
        return cancelled();
    }
    if (drafts.isEmpty()) {
        return userError(noRecipe, path);
    }
    if (drafts.size() > kMaxRecipes) {
        return userError(u"The file \"%1\" holds too many recipes to import (more than 100,000)."_s,
                         path);
    }
    const QString fallbackName = QFileInfo(path).completeBaseName();
    QList<ImportedRecipe> recipes;
    recipes.reserve(drafts.size());
    read.phase(90, 100);
    for (qsizetype i = 0; i < drafts.size(); ++i) {
        if (!read.step(i, drafts.size())) {
            return cancelled();
        }
        recipes.append(BoxMapper::map(drafts[i], fallbackName));
        drafts[i] = {};  // what was read goes as the boxes fill
    }
    read.step(1, 1);
    return recipes;
}

store::Outcome<QList<ImportedRecipe>> RecipeImporter::readFile(const QString& path,
                                                               const Progress& progress) {
    const QFileInfo info(path);
    if (!info.exists()) {
        return userError(u"The file \"%1\" was not found."_s, path, store::kFileNotFound);
    }
    if (info.isDir()) {
        return userError(kFolder, path, store::kPathFileAccess);
    }
    // A pipe or a device is never opened: reading one could wait for ever.
    if (!info.isFile()) {
        return userError(kNotAFile, path);
    }
    if (info.size() > kMaxFileSize) {
        return userError(kTooLarge, path);
    }
    QFile file;
#ifdef Q_OS_UNIX
    // Opened without waiting, and checked again once open, in case the name
    // was given to something else in between.
    const int handle =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (handle < 0) {
        return userError(kCannotRead, path, store::kDeviceIo);
    }
    struct stat status {};
    if (::fstat(handle, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(handle);
        return S_ISDIR(status.st_mode) ? userError(kFolder, path, store::kPathFileAccess)
                                       : userError(kNotAFile, path);
    }
    if (!file.open(handle, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(handle);
        return userError(kCannotRead, path, store::kDeviceIo);
    }
#else
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return userError(kCannotRead, path, store::kDeviceIo);
    }
#endif
    // Read at most one byte past the limit: a file may grow after the check.
    const QByteArray bytes = file.read(kMaxFileSize + 1);
    if (file.error() != QFileDevice::NoError) {
        return userError(kCannotRead, path, store::kDeviceIo);
    }
    file.close();
    return readBytes(bytes, path, progress);
}

QString RecipeImporter::fileFilter() {
    return u"Recipes (*.json *.html *.htm *.mmf *.txt)"_s;
}

}  // namespace pv::exchange
