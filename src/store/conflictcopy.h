#pragma once

#include <QString>

namespace pv::store {

// A sync tool that finds one file changed on two machines at once keeps both:
// one under the file's name, the other as a conflict copy beside it, named by
// the tool's own pattern: Syncthing "Stew.sync-conflict-20261207-101500-ABCDEFG",
// Nextcloud, Dropbox and others "Stew (conflicted copy 2026-12-07 101500)",
// ownCloud "Stew_conflict-20261207-101500", Seafile "Stew (SFConflict ...)".
// The name of the file a conflict copy is a copy of ("Stew"), or an empty
// string when the name is not a conflict copy's.
QString conflictCopyOf(const QString& fileName);

}  // namespace pv::store
