#pragma once

#include <QString>

#include <functional>

namespace pv::store {

// The name itself when it is free, otherwise "name (2)", "name (3)" and so on:
// the first that taken says is free. A copy never replaces what is there.
QString firstFreeName(const QString& name, const std::function<bool(const QString&)>& taken);

}  // namespace pv::store
