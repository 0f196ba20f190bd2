#pragma once

#include <QString>

namespace pv::store {

// Resolves relativePath below base one component at a time: an entry of that
// exact name, otherwise one whose name matches ignoring case, otherwise the
// component as given (so the result also names things still to be created).
QString resolveBelow(const QString& base, const QString& relativePath);

// The name of the entry of folder that matches name ignoring case, or an
// empty string. When several do, the first by exact order wins, so the choice
// does not depend on the order the file system lists them in.
QString findIgnoringCase(const QString& folder, const QString& name);

}  // namespace pv::store
