#include "store.h"

#include "cp1252.h"
#include "failures.h"
#include "fieldreader.h"
#include "paths.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>

#include <optional>

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

Failure openFailure(const QString& path) {
    const QFileInfo info(path);
    if (!QFileInfo(info.absolutePath()).isDir()) {
        return fileSystemFailure(kPathNotFound);
    }
    if (info.isDir() || (info.exists() && !info.isFile())) {
        return fileSystemFailure(kPathFileAccess);
    }
    if (info.exists() && !info.isWritable()) {
        return fileSystemFailure(kPermissionDenied);
    }
    return fileSystemFailure(kPathFileAccess);
}

Failure writeFailure(const QString& path, qsizetype bytes) {
    const QStorageInfo storage(QFileInfo(path).absolutePath());
    if (storage.isValid() && storage.bytesAvailable() < bytes + 4096) {
        return fileSystemFailure(kDiskFull);
    }
    return fileSystemFailure(kDeviceIo);
}

// The whole content of a regular file.
Outcome<QByteArray> readFileBytes(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) {
        return fileSystemFailure(QFileInfo(info.absolutePath()).isDir() ? kFileNotFound
                                                                        : kPathNotFound);
    }
    // Only regular files: a folder, a pipe or a device is never read.
    if (!info.isFile()) {
        return fileSystemFailure(kPathFileAccess);
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return fileSystemFailure(info.isReadable() ? kPathFileAccess : kPermissionDenied);
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return fileSystemFailure(kDeviceIo);
    }
    return bytes;
}

// Writes a private temporary file beside path and renames it over path, so a
// failure leaves the previous file whole.
Outcome<void> writeFileAtomically(const QString& path, const QByteArray& bytes) {
    const QFileInfo info(path);
    if (!QFileInfo(info.absolutePath()).isDir()) {
        return fileSystemFailure(kPathNotFound);
    }
    // A name longer than a folder entry can hold would only fail at the final
    // rename, after the whole text was written.
    constexpr qsizetype kLongestName = 255;
    if (info.isDir() || (info.exists() && !info.isFile()) ||
        QFile::encodeName(info.fileName()).size() > kLongestName) {
        return fileSystemFailure(kPathFileAccess);
    }
    // A read-only file is not replaced, though the rename would allow it.
    if (info.exists() && !info.isWritable()) {
        return fileSystemFailure(kPermissionDenied);
    }
    QSaveFile file(path);
    // Unbuffered, so that a short write shows in write()'s count: a buffered
    // QSaveFile can commit a cut-off file after a short write.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return openFailure(path);
    }
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return writeFailure(path, bytes.size());
    }
    if (!file.commit()) {
        return writeFailure(path, bytes.size());
    }
    return {};
}

// Deletes one file, not forced: a read-only file stays and fails.
Outcome<void> deleteFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) {
        return fileSystemFailure(QFileInfo(info.absolutePath()).isDir() ? kFileNotFound
                                                                        : kPathNotFound);
    }
    if (info.isDir()) {
        return fileSystemFailure(kPathFileAccess);
    }
    if (!info.isSymLink() && !info.isWritable()) {
        return fileSystemFailure(kPermissionDenied);
    }
    if (!QFile::remove(path)) {
        return fileSystemFailure(kPathFileAccess);
    }
    return {};
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
    if (!(listed ? isListedName(name) : isSafeName(name))) {
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

// --- categories ---

Outcome<QStringList> Store::listCategoriesByLine() const {
    auto bytes = readFileBytes(resolve(kCategoryList));
    if (!bytes) {
        return bytes.failure();
    }
    return splitLines(bytes.value());
}

Outcome<QStringList> Store::listCategoriesByField() const {
    auto bytes = readFileBytes(resolve(kCategoryList));
    if (!bytes) {
        return bytes.failure();
    }
    return parseFieldList(bytes.value());
}

Outcome<CreateResult> Store::createCategory(const QString& name) {
    if (!isSafeName(name)) {
        return refusedFailure(Refusal::BadCategoryName);
    }
    if (auto refused = checkEncodable(name)) {
        return *refused;
    }
    const QString folder = resolve(kCategoryRoot + QLatin1Char('/') + name);
    const QFileInfo folderInfo(folder);
    if (folderInfo.isDir()) {
        return CreateResult::AlreadyExists;
    }
    if (folderInfo.exists() || folderInfo.isSymLink()) {
        return fileSystemFailure(kFileAlreadyExists);
    }
    if (!QFileInfo(resolve(kCategoryRoot)).isDir()) {
        return fileSystemFailure(kPathNotFound);
    }
    const QString listPath = resolve(kCategoryList);
    QByteArray list;
    if (QFileInfo(listPath).exists() || QFileInfo(listPath).isDir()) {
        auto existing = readFileBytes(listPath);
        if (!existing) {
            return existing.failure();
        }
        list = std::move(existing.value());
    }
    if (!QDir().mkdir(folder)) {
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
        QDir().rmdir(folder);  // list and folders change together or not at all
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
    if (!QFileInfo(resolve(kCategoryRoot)).isDir()) {
        return noTempPathFailure();
    }
    const QString listPath = resolve(kCategoryList);
    const QFileInfo listInfo(listPath);
    if (listInfo.isDir()) {
        return fileSystemFailure(kPathFileAccess);
    }
    if (listInfo.exists() && !listInfo.isWritable()) {
        return fileSystemFailure(kPermissionDenied);
    }
    QSaveFile temp(listPath);
    temp.setDirectWriteFallback(false);
    if (!temp.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
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
    if (temp.write(kept) != kept.size()) {
        temp.cancelWriting();
        return writeFailure(listPath, kept.size());
    }
    if (!temp.commit()) {
        return writeFailure(listPath, kept.size());
    }
    if (hooks.listRewritten) {
        hooks.listRewritten(count);
    }
    auto removed = removePath(resolve(kCategoryRoot + QLatin1Char('/') + name));
    if (!removed) {
        return removed.failure();
    }
    return count;
}

Outcome<void> Store::removePath(const QString& folderPath) {
    QString path = QDir::cleanPath(folderPath);
    const QString prefix = appFolder_ + QLatin1Char('/');
    if (path.startsWith(prefix)) {
        path = resolve(path.mid(prefix.size()));
    }
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) {
        return fileSystemFailure(kPathNotFound);
    }
    // Only what lies inside the category root goes: a path made from an empty
    // or climbing name, or one that leads out through a link, never takes the
    // data tree or anything beyond it.
    const QString root = QFileInfo(resolve(kCategoryRoot)).canonicalFilePath();
    const QString parent = QFileInfo(info.absolutePath()).canonicalFilePath();
    if (root.isEmpty() || parent.isEmpty() ||
        (parent != root && !parent.startsWith(root + QLatin1Char('/')))) {
        return refusedFailure(Refusal::BadCategoryName);
    }
    if (info.isSymLink()) {
        // Only the link goes, never what it points to.
        if (!QFile::remove(path)) {
            return fileSystemFailure(kPathFileAccess);
        }
        return {};
    }
    if (!info.isDir()) {
        return fileSystemFailure(kPathNotFound);
    }
    // Not forced: a read-only item anywhere stops the removal before it starts.
    QDirIterator it(path, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo item = it.fileInfo();
        if (!item.isSymLink() && !item.isWritable()) {
            return fileSystemFailure(kPermissionDenied);
        }
    }
    if (!QDir(path).removeRecursively()) {
        return fileSystemFailure(kPathFileAccess);
    }
    return {};
}

// --- recipes ---

Outcome<void> Store::saveRecipe(const QString& category, const QString& name,
                                const RecipeFields& fields) {
    if (auto refused = refuseRecipeNames(category, name, false)) {
        return *refused;
    }
    for (const QString* text : {&category, &name}) {
        if (auto refused = checkEncodable(*text)) {
            return *refused;
        }
    }
    for (const QString& field : fields) {
        if (auto refused = checkEncodable(field)) {
            return *refused;
        }
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
    if (category.isEmpty()) {
        return refusedFailure(Refusal::EmptyCategory);
    }
    if (!isSafeName(category)) {
        return refusedFailure(Refusal::BadCategoryName);
    }
    return listFolderFiles(resolve(kCategoryRoot + QLatin1Char('/') + category));
}

Outcome<void> Store::deleteRecipe(const QString& category, const QString& fileName) {
    if (auto refused = refuseRecipeNames(category, fileName, true)) {
        return *refused;
    }
    return deleteFile(recipePath(category, fileName));
}

bool Store::categoryFolderMissing(const QString& category) const {
    const QFileInfo folder(resolve(kCategoryRoot + QLatin1Char('/') + category));
    return !folder.exists() && !folder.isSymLink();
}

QString Store::recipePath(const QString& category, const QString& fileName) const {
    return resolve(kCategoryRoot + QLatin1Char('/') + category + QLatin1Char('/') + fileName);
}

// --- shopping lists ---

Outcome<QStringList> Store::listShoppingLists() const {
    auto names = listFolderFiles(resolve(kShoppingFolder));
    if (names) {
        names.value().removeLast();  // the spare entry
    }
    return names;
}

Outcome<void> Store::saveShoppingList(const QString& name, const QString& text) {
    if (!isSafeName(name)) {
        return refusedFailure(Refusal::BadShoppingListName);
    }
    for (const QString* part : {&name, &text}) {
        if (auto refused = checkEncodable(*part)) {
            return *refused;
        }
    }
    QByteArray bytes = encodeCp1252(text);
    bytes.append("\r\n");
    return writeFileAtomically(shoppingListPath(name + QStringLiteral(".txt")), bytes);
}

Outcome<QString> Store::openShoppingList(const QString& fileName) const {
    if (!isListedName(fileName)) {
        return refusedFailure(Refusal::BadShoppingListName);
    }
    auto bytes = readFileBytes(shoppingListPath(fileName));
    if (!bytes) {
        return bytes.failure();
    }
    QByteArray& content = bytes.value();
    if (content.endsWith("\r\n")) {
        content.chop(2);
    }
    return decodeCp1252(content);
}

Outcome<void> Store::deleteShoppingList(const QString& fileName) {
    if (!isListedName(fileName)) {
        return refusedFailure(Refusal::BadShoppingListName);
    }
    return deleteFile(shoppingListPath(fileName));
}

QString Store::shoppingListPath(const QString& fileName) const {
    return resolve(kShoppingFolder + QLatin1Char('/') + fileName);
}

}  // namespace pv::store
