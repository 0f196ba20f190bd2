#include "store.h"

#include "cp1252.h"
#include "failures.h"
#include "fieldreader.h"
#include "paths.h"

#include <QDir>
#include <QFile>
#include <QList>

#include <optional>
#include <utility>

namespace pv::store {
namespace {

const QString kCategoryRoot = QStringLiteral("Category");
const QString kCategoryList = QStringLiteral("Category/category.txt");
const QString kShoppingFolder = QStringLiteral("Shopping List");

bool isControl(QChar c) {
    const char16_t u = c.unicode();
    return u < 0x20 || (u >= 0x7F && u <= 0x9F);
}

// A name that becomes one path component: no separators, no characters that
// a folder or file name cannot hold on every platform, no "." or "..".
bool isSafeName(const QString& name) {
    if (name == QLatin1String(".") || name == QLatin1String("..")) {
        return false;
    }
    static const QString reserved = QStringLiteral("/\\:*?\"<>|");
    for (const QChar c : name) {
        if (isControl(c) || reserved.contains(c)) {
            return false;
        }
    }
    return true;
}

// A name for something new: safe, and not hidden by a leading dot, as it would
// never be listed. Names made before keep working where they are only used.
bool isNewName(const QString& name) {
    return isSafeName(name) && !name.startsWith(QLatin1Char('.'));
}

// A file name as a listing gave it back: it only has to stay inside its folder.
bool isListedName(const QString& name) {
    return name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
           !name.contains(QChar(0));
}

std::optional<Failure> checkEncodable(const QString& text) {
    const qsizetype at = firstUnencodable(text);
    if (at < 0) {
        return std::nullopt;
    }
    const char32_t code = codePointAt(text, at);
    return refusedFailure(Refusal::UnencodableCharacter, QString::fromUcs4(&code, 1));
}

Failure openFailure(const fs::Path& path) {
    const fs::Status info = fs::status(path);
    if (!fs::status(fs::parentOf(path)).isDir) {
        return fileSystemFailure(kPathNotFound);
    }
    if (info.isDir || (info.exists && !info.isFile)) {
        return fileSystemFailure(kPathFileAccess);
    }
    if (info.exists && !info.writable) {
        return fileSystemFailure(kPermissionDenied);
    }
    return fileSystemFailure(kPathFileAccess);
}

Failure writeFailure(const fs::Path& path, qsizetype bytes) {
    const qint64 available = fs::bytesAvailable(fs::parentOf(path));
    if (available >= 0 && available < bytes + 4096) {
        return fileSystemFailure(kDiskFull);
    }
    return fileSystemFailure(kDeviceIo);
}

// Why there is nothing at path: no file in its folder, or no folder.
Failure missingFailure(const fs::Path& path) {
    return fileSystemFailure(fs::status(fs::parentOf(path)).isDir ? kFileNotFound : kPathNotFound);
}

// The whole content of a regular file.
Outcome<QByteArray> readFileBytes(const fs::Path& path) {
    const fs::Status info = fs::status(path);
    if (!info.exists) {
        return missingFailure(path);
    }
    // Only regular files: a folder, a pipe or a device is never read.
    if (!info.isFile) {
        return fileSystemFailure(kPathFileAccess);
    }
    QByteArray bytes;
    switch (fs::readAll(path, bytes)) {
        case fs::ReadResult::Ok:
            return bytes;
        case fs::ReadResult::NotOpened:
            return fileSystemFailure(info.readable ? kPathFileAccess : kPermissionDenied);
        case fs::ReadResult::Failed:
            break;
    }
    return fileSystemFailure(kDeviceIo);
}

// Writes a private temporary file beside path and renames it over path, so a
// failure leaves the previous file whole.
Outcome<void> writeFileAtomically(const fs::Path& path, const QByteArray& bytes) {
    if (!fs::status(fs::parentOf(path)).isDir) {
        return fileSystemFailure(kPathNotFound);
    }
    // A name longer than a folder entry can hold would only fail at the final
    // rename, after the whole text was written.
    constexpr qsizetype kLongestName = 255;
    const fs::Status info = fs::status(path);
    if (info.isDir || (info.exists && !info.isFile) || fs::fileNameOf(path).size() > kLongestName) {
        return fileSystemFailure(kPathFileAccess);
    }
    // A read-only file is not replaced, though the rename would allow it.
    if (info.exists && !info.writable) {
        return fileSystemFailure(kPermissionDenied);
    }
    fs::ReplacingFile file(path);
    if (!file.open()) {
        return openFailure(path);
    }
    if (!file.write(bytes)) {
        file.cancel();
        return writeFailure(path, bytes.size());
    }
    if (!file.commit()) {
        return writeFailure(path, bytes.size());
    }
    return {};
}

// Deletes one file, not forced: a read-only file stays and fails.
Outcome<void> deleteFile(const fs::Path& path) {
    const fs::Status info = fs::status(path);
    if (!info.exists && !info.isLink) {
        return missingFailure(path);
    }
    if (info.isDir) {
        return fileSystemFailure(kPathFileAccess);
    }
    if (!info.isLink && !info.writable) {
        return fileSystemFailure(kPermissionDenied);
    }
    if (!fs::removeFile(path)) {
        return fileSystemFailure(kPathFileAccess);
    }
    return {};
}

// Whether every item below folder may be deleted (links themselves always may).
bool everythingWritable(const fs::Path& folder) {
    bool writable = true;
    fs::forEachEntry(folder, [&](fs::NameView name, const fs::EntryKind& kind) {
        const fs::Path path = fs::join(folder, fs::keepName(name));
        if (writable && !kind.isLink) {
            writable = fs::status(path).writable && (!kind.isDir || everythingWritable(path));
        }
    });
    return writable;
}

// Deletes a folder with everything below it; links go, never what they lead to.
bool removeTree(const fs::Path& folder) {
    QList<std::pair<fs::Path, bool>> entries;  // path, a folder to descend into
    if (!fs::forEachEntry(folder, [&](fs::NameView name, const fs::EntryKind& kind) {
            entries.append({fs::join(folder, fs::keepName(name)), kind.isDir && !kind.isLink});
        })) {
        return false;
    }
    bool removed = true;
    for (const auto& [path, isFolder] : entries) {
        removed = (isFolder ? removeTree(path) : fs::removeFile(path)) && removed;
    }
    return removed && fs::removeFolder(folder);
}

// Why a recipe's category and name are refused, if they are. A name taken from
// a folder listing may be any listed file name; a name to be written must be safe.
std::optional<Failure> refuseRecipeNames(const QString& category, const QString& name,
                                         bool listed) {
    if (category.isEmpty()) {
        return refusedFailure(Refusal::EmptyCategory);
    }
    if (name.isEmpty()) {
        return refusedFailure(Refusal::EmptyRecipeName);
    }
    if (!isSafeName(category)) {
        return refusedFailure(Refusal::BadCategoryName);
    }
    if (!(listed ? isListedName(name) : isNewName(name))) {
        return refusedFailure(Refusal::BadRecipeName);
    }
    return std::nullopt;
}

}  // namespace

Store::Store(QString applicationFolder) : appFolder_(std::move(applicationFolder)) {
    while (appFolder_.size() > 1 && appFolder_.endsWith(QLatin1Char('/'))) {
        appFolder_.chop(1);
    }
}

QString Store::resolve(const QString& relativePath) const {
    return resolveBelow(appFolder_, relativePath);
}

fs::Path Store::native(const QString& relativePath) const {
    return resolveNative(fs::fromText(appFolder_), relativePath);
}

// --- categories ---

Outcome<QStringList> Store::listCategoriesByLine() const {
    return readFileBytes(native(kCategoryList)).map(splitLines);
}

Outcome<QStringList> Store::listCategoriesByField() const {
    return readFileBytes(native(kCategoryList)).map(parseFieldList);
}

Outcome<CreateResult> Store::createCategory(const QString& name) {
    if (!isNewName(name)) {
        return refusedFailure(Refusal::BadCategoryName);
    }
    if (auto refused = checkEncodable(name)) {
        return *refused;
    }
    const fs::Path folder = native(kCategoryRoot + QLatin1Char('/') + name);
    const fs::Status folderInfo = fs::status(folder);
    if (folderInfo.isDir) {
        return CreateResult::AlreadyExists;
    }
    if (folderInfo.exists || folderInfo.isLink) {
        return fileSystemFailure(kFileAlreadyExists);
    }
    if (!fs::status(native(kCategoryRoot)).isDir) {
        return fileSystemFailure(kPathNotFound);
    }
    const fs::Path listPath = native(kCategoryList);
    QByteArray list;
    if (fs::status(listPath).exists) {
        auto existing = readFileBytes(listPath);
        if (!existing) {
            return existing.failure();
        }
        list = std::move(existing.value());
    }
    if (!fs::makeFolder(folder)) {
        return fileSystemFailure(kPathFileAccess);
    }
    // A last line left open by another program gets its line end first, so
    // the new name does not run into it.
    if (!list.isEmpty() && !list.endsWith('\n') && !list.endsWith('\r')) {
        list.append("\r\n");
    }
    list.append(encodeCp1252(name));
    list.append("\r\n");
    auto written = writeFileAtomically(listPath, list);
    if (!written) {
        fs::removeFolder(folder);  // list and folders change together or not at all
        return written.failure();
    }
    return CreateResult::Created;
}

Outcome<int> Store::deleteCategory(const QString& name, const DeleteHooks& hooks) {
    if (name.isEmpty()) {
        return 0;
    }
    if (!isSafeName(name)) {
        return refusedFailure(Refusal::BadCategoryName);
    }
    if (auto refused = checkEncodable(name)) {
        return *refused;
    }
    // The temporary file lies beside the list, so the replacement is one rename.
    if (!fs::status(native(kCategoryRoot)).isDir) {
        return noTempPathFailure();
    }
    const fs::Path listPath = native(kCategoryList);
    const fs::Status listInfo = fs::status(listPath);
    if (listInfo.isDir) {
        return fileSystemFailure(kPathFileAccess);
    }
    if (listInfo.exists && !listInfo.writable) {
        return fileSystemFailure(kPermissionDenied);
    }
    fs::ReplacingFile temp(listPath);
    if (!temp.open()) {
        return noTempFileFailure();
    }
    auto read = readFileBytes(listPath);
    if (!read) {
        return read.failure();  // the temporary file goes with `temp`
    }
    if (hooks.beforeRewrite) {
        hooks.beforeRewrite();
    }
    const QByteArray& bytes = read.value();
    QByteArray kept;
    kept.reserve(bytes.size());
    int count = 0;
    qsizetype start = 0;
    const qsizetype size = bytes.size();
    while (start < size) {
        qsizetype end = start;
        while (end < size && bytes[end] != '\r' && bytes[end] != '\n') {
            ++end;
        }
        const QByteArrayView line = QByteArrayView(bytes).sliced(start, end - start);
        // One category whatever the case, as its folder is.
        if (decodeCp1252(line).compare(name, Qt::CaseInsensitive) == 0) {
            ++count;
        } else {
            kept.append(line.data(), line.size());
            kept.append("\r\n");
        }
        if (end < size && bytes[end] == '\r' && end + 1 < size && bytes[end + 1] == '\n') {
            ++end;
        }
        start = end + 1;
    }
    if (!temp.write(kept)) {
        temp.cancel();
        return writeFailure(listPath, kept.size());
    }
    if (!temp.commit()) {
        return writeFailure(listPath, kept.size());
    }
    if (hooks.listRewritten) {
        hooks.listRewritten(count);
    }
    // A category whose folder is already gone (deleted a second time, or
    // removed outside the program) is deleted once its line is: ending the
    // program over it would lose whatever the user is typing elsewhere.
    const fs::Path folder = native(kCategoryRoot + QLatin1Char('/') + name);
    const fs::Status folderInfo = fs::status(folder);
    if (!folderInfo.exists && !folderInfo.isLink) {
        return count;
    }
    auto removed = removeFolderTree(folder);
    if (!removed) {
        return removed.failure();
    }
    return count;
}

Outcome<void> Store::removePath(const QString& folderPath) {
    const QString path = QDir::cleanPath(folderPath);
    const QString prefix = appFolder_ + QLatin1Char('/');
    return removeFolderTree(path.startsWith(prefix) ? native(path.mid(prefix.size()))
                                                    : fs::fromText(path));
}

Outcome<void> Store::removeFolderTree(const fs::Path& path) {
    const fs::Status info = fs::status(path);
    if (!info.exists && !info.isLink) {
        return fileSystemFailure(kPathNotFound);
    }
    // Only what lies inside the category root goes: a path made from an empty
    // or climbing name, or one that leads out through a link, never takes the
    // data tree or anything beyond it.
    const fs::Path root = fs::canonical(native(kCategoryRoot));
    const fs::Path parent = fs::canonical(fs::parentOf(path));
    if (root.isEmpty() || parent.isEmpty() || (parent != root && !parent.startsWith(root + '/'))) {
        return refusedFailure(Refusal::BadCategoryName);
    }
    if (info.isLink) {
        // Only the link goes, never what it points to.
        if (!fs::removeFile(path)) {
            return fileSystemFailure(kPathFileAccess);
        }
        return {};
    }
    if (!info.isDir) {
        return fileSystemFailure(kPathNotFound);
    }
    // Not forced: a read-only item anywhere stops the removal before it starts.
    if (!everythingWritable(path)) {
        return fileSystemFailure(kPermissionDenied);
    }
    if (!removeTree(path)) {
        return fileSystemFailure(kPathFileAccess);
    }
    return {};
}

// --- recipes ---

Outcome<void> Store::saveRecipe(const QString& category, const QString& name,
                                const RecipeFields& fields) {
    if (auto refused = recipeRefusal(category, name, fields)) {
        return *refused;
    }
    return writeFileAtomically(recipePath(category, name), formatRecipeRecord(fields));
}

Outcome<RecipeFields> Store::loadRecipe(const QString& category, const QString& fileName) const {
    if (auto refused = refuseRecipeNames(category, fileName, true)) {
        return *refused;
    }
    auto bytes = readFileBytes(recipePath(category, fileName));
    if (!bytes) {
        return bytes.failure();
    }
    return parseRecipeRecord(bytes.value());
}

Outcome<QStringList> Store::listRecipeFiles(const QString& category) const {
    auto folder = categoryFolder(category);
    if (!folder) {
        return folder.failure();
    }
    return listFiles(folder.value());
}

Outcome<fs::Path> Store::categoryFolder(const QString& category) const {
    if (category.isEmpty()) {
        return refusedFailure(Refusal::EmptyCategory);
    }
    if (!isSafeName(category)) {
        return refusedFailure(Refusal::BadCategoryName);
    }
    return native(kCategoryRoot + QLatin1Char('/') + category);
}

Outcome<void> Store::deleteRecipe(const QString& category, const QString& fileName) {
    if (auto refused = refuseRecipeNames(category, fileName, true)) {
        return *refused;
    }
    return deleteFile(recipePath(category, fileName));
}

bool Store::categoryFolderMissing(const QString& category) const {
    const fs::Status folder = fs::status(native(kCategoryRoot + QLatin1Char('/') + category));
    return !folder.exists && !folder.isLink;
}

fs::Path Store::recipePath(const QString& category, const QString& fileName) const {
    return native(kCategoryRoot + QLatin1Char('/') + category + QLatin1Char('/') + fileName);
}

// --- shopping lists ---

Outcome<QStringList> Store::listShoppingLists() const {
    auto names = listFiles(native(kShoppingFolder));
    if (names) {
        names.value().removeLast();  // the spare entry
    }
    return names;
}

Outcome<void> Store::saveShoppingList(const QString& name, const QString& text) {
    if (!isNewName(name)) {
        return refusedFailure(Refusal::BadShoppingListName);
    }
    for (const QString* part : {&name, &text}) {
        if (auto refused = checkEncodable(*part)) {
            return *refused;
        }
    }
    QByteArray bytes = encodeCp1252(text);
    bytes.append("\r\n");
    return writeFileAtomically(shoppingListFile(name + QStringLiteral(".txt")), bytes);
}

Outcome<QString> Store::openShoppingList(const QString& fileName) const {
    // The line end the save added is not part of the list.
    return shoppingListBytes(fileName).map([](QByteArray content) {
        if (content.endsWith("\r\n")) {
            content.chop(2);
        }
        return decodeCp1252(content);
    });
}

Outcome<QString> Store::readShoppingList(const QString& fileName) const {
    return shoppingListBytes(fileName).map(decodeCp1252);
}

Outcome<void> Store::deleteShoppingList(const QString& fileName) {
    if (!isListedName(fileName)) {
        return refusedFailure(Refusal::BadShoppingListName);
    }
    return deleteFile(shoppingListFile(fileName));
}

Outcome<QByteArray> Store::shoppingListBytes(const QString& fileName) const {
    if (!isListedName(fileName)) {
        return refusedFailure(Refusal::BadShoppingListName);
    }
    return readFileBytes(shoppingListFile(fileName));
}

fs::Path Store::shoppingListFile(const QString& fileName) const {
    return native(kShoppingFolder + QLatin1Char('/') + fileName);
}

// --- a data folder that others change too ---

QString Store::storedRecipeName(const QString& category, const QString& name) const {
    if (refuseRecipeNames(category, name, true)) {
        return {};
    }
    const fs::Path path = recipePath(category, name);
    return fs::status(path).isFile ? fs::shownName(fs::fileNameOf(path)) : QString();
}

int Store::removeStaleSaves(const QString& relativeFolder) const {
    return fs::removeStaleTemps(native(relativeFolder), kStaleSaveSeconds);
}

// --- meal plan ---

namespace {

const QString kMealPlanFolder = QStringLiteral("Meal Plan");

// At most limit bytes from the start of a regular file; cut tells whether there was more.
Outcome<QByteArray> readFileStart(const fs::Path& path, qsizetype limit, bool& cut) {
    const fs::Status info = fs::status(path);
    if (!info.exists) {
        return missingFailure(path);
    }
    if (!info.isFile) {
        return fileSystemFailure(kPathFileAccess);
    }
    QFile file(fs::toText(path));
    if (!file.open(QIODevice::ReadOnly)) {
        return fileSystemFailure(info.readable ? kPathFileAccess : kPermissionDenied);
    }
    QByteArray bytes = file.read(limit + 1);
    if (file.error() != QFileDevice::NoError) {
        return fileSystemFailure(kDeviceIo);
    }
    cut = bytes.size() > limit;
    if (cut) {
        bytes.truncate(limit);
    }
    return bytes;
}

}  // namespace

Outcome<MealPlanWeek> Store::openMealPlan(const QDate& day) const {
    if (!day.isValid()) {
        return MealPlanWeek{};
    }
    const fs::Path path = native(kMealPlanFolder + QLatin1Char('/') + mealPlanFileName(day));
    bool cut = false;
    auto bytes = readFileStart(path, kLargestMealPlanFile, cut);
    if (!bytes) {
        if (bytes.failure().isFileNotFound() || bytes.failure().isPathNotFound()) {
            return MealPlanWeek{};  // nothing planned that week yet
        }
        return bytes.failure();
    }
    MealPlanWeek week = parseMealPlan(bytes.value(), weekStart(day));
    week.cut = cut;
    return week;
}

Outcome<void> Store::saveMealPlan(const QDate& day, const MealPlanWeek& week) {
    for (const PlannedRecipe& planned : week.recipes) {
        if (planned.category.contains(QLatin1Char('"'))) {
            return refusedFailure(Refusal::BadCategoryName);
        }
        if (planned.recipe.contains(QLatin1Char('"'))) {
            return refusedFailure(Refusal::BadRecipeName);
        }
        for (const QString* text : {&planned.category, &planned.recipe}) {
            if (auto refused = checkEncodable(*text)) {
                return *refused;
            }
        }
    }
    const fs::Path folder = native(kMealPlanFolder);
    const fs::Path path = native(kMealPlanFolder + QLatin1Char('/') + mealPlanFileName(day));
    if (week.isEmpty()) {
        const fs::Status info = fs::status(path);
        return info.exists || info.isLink ? deleteFile(path) : Outcome<void>();
    }
    const fs::Status folderInfo = fs::status(folder);
    if (!folderInfo.exists && !folderInfo.isLink && !fs::makeFolder(folder)) {
        return fileSystemFailure(fs::status(fs::parentOf(folder)).isDir ? kPathFileAccess
                                                                        : kPathNotFound);
    }
    return writeFileAtomically(path, formatMealPlan(week));
}

std::optional<Failure> Store::recipeRefusal(const QString& category, const QString& name,
                                            const RecipeFields& fields) const {
    if (auto refused = refuseRecipeNames(category, name, false)) {
        return refused;
    }
    for (const QString* text : {&category, &name}) {
        if (auto refused = checkEncodable(*text)) {
            return refused;
        }
    }
    for (const QString& field : fields) {
        if (auto refused = checkEncodable(field)) {
            return refused;
        }
    }
    return std::nullopt;
}

}  // namespace pv::store
