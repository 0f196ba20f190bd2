#include "failures.h"

#include "cp1252.h"

namespace pv::store {

QString errorDescription(int number) {
    struct Row {
        int number;
        const char* text;
    };
    static constexpr Row kRows[] = {
        {kBadFileName, "Bad file name or number"},
        {kFileNotFound, "File not found"},
        {kDeviceIo, "Device I/O error"},
        {kFileAlreadyExists, "File already exists"},
        {kDiskFull, "Disk full"},
        {kInputPastEnd, "Input past end of file"},
        {kPermissionDenied, "Permission denied"},
        {kPathFileAccess, "Path/File access error"},
        {kPathNotFound, "Path not found"},
    };
    for (const Row& row : kRows) {
        if (row.number == number) {
            return QString::fromLatin1(row.text);
        }
    }
    return QStringLiteral("Application-defined or object-defined error");
}

bool Failure::isFileNotFound() const {
    return kind == Kind::FileSystem && number == kFileNotFound;
}

bool Failure::isPathNotFound() const {
    return kind == Kind::FileSystem && number == kPathNotFound;
}

Failure fileSystemFailure(int number) {
    return Failure::fileSystem(number, errorDescription(number));
}

QString refusalMessage(Refusal refusal, const QString& character) {
    // Listed once here so that every screen words a refusal the same way.
    // A leading dot hides a file: a recipe, category or list of such a name
    // would be saved and then never listed.
    const QString forbidden = QStringLiteral(
        "cannot contain / \\ : * ? \" < > | or control characters, and cannot start with \".\".");
    switch (refusal) {
        case Refusal::EmptyCategory:
            return QStringLiteral("Please choose a category for the recipe.");
        case Refusal::EmptyRecipeName:
            return QStringLiteral("Please type a name for the recipe.");
        case Refusal::BadCategoryName:
            return QStringLiteral("A category name ") + forbidden;
        case Refusal::BadRecipeName:
            return QStringLiteral("A recipe name ") + forbidden;
        case Refusal::BadShoppingListName:
            return QStringLiteral("A shopping list name ") + forbidden;
        case Refusal::UnencodableCharacter: {
            const char32_t code = character.isEmpty() ? 0 : codePointAt(character, 0);
            return QStringLiteral(
                       "The character \"%1\" (U+%2) cannot be saved. "
                       "Please remove or replace it.")
                .arg(character, QStringLiteral("%1")
                                    .arg(static_cast<uint>(code), 4, 16, QLatin1Char('0'))
                                    .toUpper());
        }
    }
    return {};
}

Failure refusedFailure(Refusal refusal, const QString& character) {
    return {Failure::Kind::Refused, kBadFileName, errorDescription(kBadFileName),
            refusalMessage(refusal, character)};
}

Failure noTempPathFailure() {
    return {Failure::Kind::NoTempPath, 0, QStringLiteral("Error getting temporary file path."), {}};
}

Failure noTempFileFailure() {
    return {Failure::Kind::NoTempFile, 0, QStringLiteral("Error getting temporary filename."), {}};
}

}  // namespace pv::store
