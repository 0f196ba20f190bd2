#pragma once

#include <QString>

namespace pv {

// Shows a recipe in the recipe browser as a click on its file does once its
// category is chosen: the browser comes forward with the recipe on display,
// and its delete box as such a click leaves it. Names are found as the store
// finds them, ignoring case, and shown as listed. A recipe or category that is
// no longer there is a "User error" the browser tells. False when nothing
// was shown.
bool showInBrowser(const QString& category, const QString& recipe);

}  // namespace pv
