#pragma once

#include <QString>

class QWidget;

namespace pv::tools {

// One line per widget, indented by depth: class, object name, geometry,
// visible and enabled state, text, font, explicitly set colours and the name a
// screen reader reads; then the window's tab chain. Texts are masked with
// `mask` (a temporary folder's path), so that two runs compare equal.
QString dumpWindow(QWidget* window, const QString& mask = {});

}  // namespace pv::tools
