#include "windowregistry.h"

namespace pv {

WindowRegistry& WindowRegistry::instance() {
    static WindowRegistry registry;
    return registry;
}

void WindowRegistry::registerWindow(WindowId id, Factory factory) {
    factories_.at(index(id)) = std::move(factory);
}

PvWindow* WindowRegistry::load(WindowId id) {
    if (PvWindow* window = loaded(id)) {
        return window;
    }
    const Factory& factory = factories_.at(index(id));
    if (!factory) {
        return nullptr;
    }
    PvWindow* window = factory();
    if (window->objectName().isEmpty()) {
        window->setObjectName(objectNameOf(id));
    }
    windows_.at(index(id)) = window;
    order_.removeAll(id);
    order_.append(id);
    window->load();
    emit windowLoaded(id);
    return window;
}

PvWindow* WindowRegistry::show(WindowId id) {
    const bool firstShowing = loaded(id) == nullptr;
    PvWindow* window = load(id);
    if (!window) {
        return nullptr;
    }
    // Load may have hidden the window on purpose (a failure report or a notice).
    if (firstShowing && window->testAttribute(Qt::WA_WState_ExplicitShowHide) &&
        window->isHidden()) {
        return window;
    }
    if (!firstShowing && !window->onShowAgain()) {
        return window;
    }
    window->setWindowModality(Qt::NonModal);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void WindowRegistry::hide(WindowId id) {
    if (PvWindow* window = loaded(id)) {
        window->hide();
    }
}

PvWindow* WindowRegistry::loaded(WindowId id) const {
    return windows_.at(index(id)).data();
}

QList<WindowId> WindowRegistry::loadedWindows() const {
    QList<WindowId> ids;
    for (WindowId id : order_) {
        if (loaded(id)) {
            ids.append(id);
        }
    }
    return ids;
}

int WindowRegistry::loadedCount() const {
    return int(loadedWindows().size());
}

void WindowRegistry::closeAll() {
    if (closingAll_) {
        return;
    }
    closingAll_ = true;
    const QList<WindowId> ids = loadedWindows();
    for (WindowId id : ids) {
        if (PvWindow* window = loaded(id)) {
            window->close();
            window->deleteLater();
        }
    }
    windows_.fill(nullptr);
    order_.clear();
    closingAll_ = false;
    emit allClosed();
    if (exitAction_) {
        exitAction_();
    }
}

void WindowRegistry::reset() {
    closingAll_ = true;
    const QList<WindowId> ids = loadedWindows();
    for (WindowId id : ids) {
        delete loaded(id);
    }
    windows_.fill(nullptr);
    order_.clear();
    factories_.fill(nullptr);
    closingAll_ = false;
}

}  // namespace pv
