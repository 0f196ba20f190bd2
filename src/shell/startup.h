#pragma once

#include <QString>

namespace pv {

// The first-run marker: "PV.ini" directly in the data folder, found in any
// letter case.
QString firstRunMarkerPath();

// Ends start-up: hides the splash, makes the data folder if it is missing and
// opens the main menu; on the first start (no marker) tells the user to create
// a category and creates the empty marker.
void finishStartup();

}  // namespace pv
