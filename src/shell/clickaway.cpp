#include "clickaway.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace pv {

void ClickAwayWindow::mouseReleaseEvent(QMouseEvent* event) {
    // Clicks on the texts and pictures arrive here too: they pass them on.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        hide();
        return;
    }
    PvWindow::mouseReleaseEvent(event);
}

void ClickAwayWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            hide();
            return;
        default:
            PvWindow::keyPressEvent(event);
    }
}

}  // namespace pv
