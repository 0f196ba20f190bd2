#include "regpointer.h"

#include <QCursor>
#include <QGuiApplication>

namespace ostrel {
namespace {
bool busy = false;
}

void setBusyPointer() {
    if (busy) {
        return;
    }
    busy = true;
    if (qGuiApp) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
}

void setDefaultPointer() {
    if (!busy) {
        return;
    }
    busy = false;
    if (qGuiApp) {
        QGuiApplication::restoreOverrideCursor();
    }
}

bool isBusyPointer() {
    return busy;
}

}  // namespace ostrel
