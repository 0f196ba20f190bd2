#pragma once

#include "nativefs.h"
#include "outcome.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace pv::store {

// Resolves relativePath below base one component at a time: an entry of that
// exact name, otherwise one whose name matches ignoring case, otherwise the
// component as given (so the result also names things still to be created).
// Names are compared as shown (see fs::shownName), so a name an older version
// wrote in Windows-1252 is found by its text.
fs::Path resolveNative(const fs::Path& base, const QString& relativePath);
// The same as text, for paths that are only ever UTF-8 (icons, help, marker).
QString resolveBelow(const QString& base, const QString& relativePath);

// The entry of folder whose shown name is name, otherwise one whose shown name
// matches it ignoring case, or an empty path. When several match ignoring
// case, the first by exact order wins, so the choice does not depend on the
// order the file system lists them in.
fs::Path findIgnoringCase(const fs::Path& folder, const QString& name);

// listFolderFiles on a path as the file system takes it.
Outcome<QStringList> listFiles(const fs::Path& folder);

// One file of a listing: the name it is listed by, and the name of the file in
// the folder that the store's operations reach by that listed name.
struct ListedFile {
    QString name;
    fs::Path native;
    // native is the listed entry itself, and the listing found it a regular
    // file rather than a link (see OpenFolder::readFile).
    bool plainFile = false;
};
// The files of listFiles, in its order, without the spare entry. An old name
// whose text is also the UTF-8 name of another entry reaches that entry, as a
// lookup by its text does.
Outcome<std::vector<ListedFile>> listFileEntries(const fs::Path& folder);

}  // namespace pv::store
