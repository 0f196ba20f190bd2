#include "busypointer.h"

#include <QApplication>
#include <QCursor>

namespace pv {

void setBusyPointer() {
    if (!isBusyPointer()) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
}

void setDefaultPointer() {
    while (QApplication::overrideCursor()) {
        QApplication::restoreOverrideCursor();
    }
}

bool isBusyPointer() {
    const QCursor* cursor = QApplication::overrideCursor();
    return cursor && cursor->shape() == Qt::WaitCursor;
}

}  // namespace pv
