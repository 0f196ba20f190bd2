#pragma once

class QWidget;

namespace pv {

// Asks the platform for a drop shadow beneath the window. Purely cosmetic;
// every window with a Load handler calls it first.
void setDropShadowStyle(QWidget* window);

}  // namespace pv
