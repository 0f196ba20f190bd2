#pragma once

#include "outcome.h"

#include <QString>

namespace pv::store {

// The classic runtime error numbers the store reports.
inline constexpr int kBadFileName = 52;
inline constexpr int kFileNotFound = 53;
inline constexpr int kDeviceIo = 57;
inline constexpr int kFileAlreadyExists = 58;
inline constexpr int kDiskFull = 61;
inline constexpr int kInputPastEnd = 62;
inline constexpr int kPermissionDenied = 70;
inline constexpr int kPathFileAccess = 75;
inline constexpr int kPathNotFound = 76;

// The description that goes with a number ("File not found" for 53).
QString errorDescription(int number);

// A file-system failure with its classic description.
Failure fileSystemFailure(int number);

// Why the store refuses a name or a text.
enum class Refusal {
    EmptyCategory,        // a recipe without a category
    EmptyRecipeName,      // a recipe without a name
    BadCategoryName,      // separators, reserved or control characters, a leading "."
    BadRecipeName,        // likewise for a recipe name
    BadShoppingListName,  // likewise for a shopping-list name
    UnencodableCharacter  // a character with no Windows-1252 byte
};

// The "User error" text for a refusal, the same on every screen. For
// UnencodableCharacter, character is the first such character.
QString refusalMessage(Refusal refusal, const QString& character = {});

// A refusal as a failure (number 52, "Bad file name or number").
Failure refusedFailure(Refusal refusal, const QString& character = {});

// The failure "Error getting temporary file path." / "Error getting temporary filename.".
Failure noTempPathFailure();
Failure noTempFileFailure();

}  // namespace pv::store
