#include "regpointer.h"

#include <QCursor>
#include <QGuiApplication>

namespace ostrel {
namespace {

bool busy = false;

// Only a program with a screen has a pointer to change (qGuiApp would assume one).
bool hasScreen() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance());
}

}  // namespace

void setBusyPointer() {
    if (busy) {
        return;
    }
    busy = true;
    if (hasScreen()) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
}

void setDefaultPointer() {
    if (!busy) {
        return;
    }
    busy = false;
    if (hasScreen()) {
        QGuiApplication::restoreOverrideCursor();
    }
}

bool isBusyPointer() {
    return busy;
}

}  // namespace ostrel
