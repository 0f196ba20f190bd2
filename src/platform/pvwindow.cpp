#include "pvwindow.h"

#include "dropshadow.h"
#include "windowregistry.h"

#include <QCloseEvent>
#include <QEvent>

namespace pv {

PvWindow::PvWindow(QWidget* parent, Qt::WindowFlags flags) : QWidget(parent, flags | Qt::Window) {}

void PvWindow::load() {
    if (dropShadowAtLoad_) {
        setDropShadowStyle(this);
    }
    onLoad();
}

bool PvWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        onActivate();
    }
    return QWidget::event(event);
}

void PvWindow::closeEvent(QCloseEvent* event) {
    if (WindowRegistry::instance().closingAll()) {
        event->accept();
        return;
    }
    event->ignore();
    onCloseRequested();
}

}  // namespace pv
