#include "dropshadow.h"

#include <QWidget>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace pv {

void setDropShadowStyle(QWidget* window) {
    if (!window) {
        return;
    }
#ifdef Q_OS_WIN
    // The bit belongs to the window class, so it lasts for every window of it.
    const auto hwnd = reinterpret_cast<HWND>(window->winId());
    const auto style = GetClassLongPtrW(hwnd, GCL_STYLE);
    SetClassLongPtrW(hwnd, GCL_STYLE, style | CS_DROPSHADOW);
#else
    // Elsewhere the window manager draws shadows unless the window asks for none.
    if (window->windowFlags().testFlag(Qt::NoDropShadowWindowHint)) {
        window->setWindowFlag(Qt::NoDropShadowWindowHint, false);
    }
#endif
}

}  // namespace pv
