#include "clickawaywindow.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace pv {

ClickAwayWindow::ClickAwayWindow(QWidget* parent, Qt::WindowFlags flags)
    : PvWindow(parent, flags) {}

bool ClickAwayWindow::hidesOnKey(int key) const {
    switch (key) {
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            return true;
        default:
            return false;
    }
}

void ClickAwayWindow::mouseReleaseEvent(QMouseEvent* event) {
    // Clicks on the texts and pictures arrive here too: they pass them on.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        hide();
        return;
    }
    PvWindow::mouseReleaseEvent(event);
}

void ClickAwayWindow::keyPressEvent(QKeyEvent* event) {
    if (hidesOnKey(event->key())) {
        hide();
        return;
    }
    PvWindow::keyPressEvent(event);
}

}  // namespace pv
