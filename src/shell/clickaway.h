#pragma once

#include "windowregistry.h"

namespace pv {

// An informational window that a click on it hides. Controls that should not
// hide it keep their clicks (Qt::WA_NoMousePropagation); the keyboard's Esc,
// Enter and Space hide it too.
class ClickAwayWindow : public PvWindow {
    Q_OBJECT
public:
    using PvWindow::PvWindow;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace pv
