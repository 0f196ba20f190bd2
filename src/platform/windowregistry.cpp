#include "windowregistry.h"

namespace pv {

WindowRegistry& WindowRegistry::instance() {
    static WindowRegistry registry;
    return registry;
}

void WindowRegistry::registerWindow(const QString& name, Factory factory) {
    factories_.insert(name, std::move(factory));
}

PvWindow* WindowRegistry::load(const QString& name) {
    if (PvWindow* window = loaded(name)) {
        return window;
    }
    auto factory = factories_.value(name);
    if (!factory) {
        return nullptr;
    }
    PvWindow* window = factory();
    if (window->objectName().isEmpty()) {
        window->setObjectName(name);
    }
    windows_.insert(name, window);
    order_.removeAll(name);
    order_.append(name);
    window->onLoad();
    emit windowLoaded(name);
    return window;
}

PvWindow* WindowRegistry::show(const QString& name) {
    const bool firstShowing = loaded(name) == nullptr;
    PvWindow* window = load(name);
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

void WindowRegistry::hide(const QString& name) {
    if (PvWindow* window = loaded(name)) {
        window->hide();
    }
}

PvWindow* WindowRegistry::loaded(const QString& name) const {
    return windows_.value(name).data();
}

QStringList WindowRegistry::loadedNames() const {
    QStringList names;
    for (const QString& name : order_) {
        if (loaded(name)) {
            names.append(name);
        }
    }
    return names;
}

int WindowRegistry::loadedCount() const {
    return int(loadedNames().size());
}

void WindowRegistry::closeAll() {
    if (closingAll_) {
        return;
    }
    closingAll_ = true;
    const QStringList names = loadedNames();
    for (const QString& name : names) {
        if (PvWindow* window = loaded(name)) {
            window->close();
            window->deleteLater();
        }
    }
    windows_.clear();
    order_.clear();
    closingAll_ = false;
    emit allClosed();
    if (exitAction_) {
        exitAction_();
    }
}

void WindowRegistry::reset() {
    closingAll_ = true;
    const QStringList names = loadedNames();
    for (const QString& name : names) {
        delete loaded(name);
    }
    windows_.clear();
    order_.clear();
    factories_.clear();
    closingAll_ = false;
}

}  // namespace pv
