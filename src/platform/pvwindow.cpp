#include "pvwindow.h"

#include "dropshadow.h"
#include "windowregistry.h"

#include <QCloseEvent>
#include <QEvent>
#include <QKeyEvent>
#include <QPointer>

namespace pv {

PvWindow::PvWindow(QWidget* parent, Qt::WindowFlags flags) : QWidget(parent, flags | Qt::Window) {}

void PvWindow::load() {
    if (dropShadowAtLoad_) {
        setDropShadowStyle(this);
    }
    onLoad();
}

namespace {

// The program's window that was active last. Coming back from a dialog (a
// message, the printer set-up) or from another program is not an Activate:
// only a change from one of the program's windows to another is.
QPointer<PvWindow> lastActive;

}  // namespace

bool PvWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && lastActive != this) {
        lastActive = this;
        onActivate();
    }
    return QWidget::event(event);
}

void PvWindow::keyPressEvent(QKeyEvent* event) {
    if (closesOnEscape_ && event->key() == Qt::Key_Escape) {
        onCloseRequested();
        return;
    }
    QWidget::keyPressEvent(event);
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
