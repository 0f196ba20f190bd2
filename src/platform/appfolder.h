#pragma once

#include <QString>

namespace pv {

// The folder that holds the program; every data path lies below it.
// Tests point it at a temporary folder.
QString applicationFolder();
void setApplicationFolder(const QString& folder);

}  // namespace pv
