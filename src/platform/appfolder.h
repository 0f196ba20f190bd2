#pragma once

#include <QString>

#include <optional>

namespace pv {

// The folder that holds the program; images/ and Documentation/ are read
// from it. Tests point it at a temporary folder.
QString applicationFolder();
void setApplicationFolder(const QString& folder);

// The folder that holds PV.ini, Category/ and Shopping List/. A program folder
// that holds PV.ini or a Category folder (in any letter case) is portable and
// keeps its data beside the program. Otherwise, as in an installed copy that users
// cannot write to, each user's data lives in $XDG_DATA_HOME/pantrova (by
// default ~/.local/share/pantrova). Decided at the first call after the
// program folder is set, and kept for the run.
QString dataFolder();

// A folder that could not be made, and why.
struct FolderFailure {
    QString path;
    QString reason;
};

// Makes a per-user data folder with empty "Category" and "Shopping List"
// folders where they are missing; a portable folder is left as it is.
std::optional<FolderFailure> prepareDataFolder();

}  // namespace pv
