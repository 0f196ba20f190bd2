#pragma once

#include "pvwindow.h"
#include "windowid.h"

#include <QList>
#include <QObject>
#include <QPointer>

#include <array>
#include <functional>

namespace pv {

// The collection of loaded windows.
class WindowRegistry : public QObject {
    Q_OBJECT
public:
    using Factory = std::function<PvWindow*()>;

    static WindowRegistry& instance();

    void registerWindow(WindowId id, Factory factory);
    bool isRegistered(WindowId id) const { return bool(factories_.at(index(id))); }

    // Creates the window and runs its Load the first time; later calls run its
    // onShowAgain and show it again. Not modal. A window whose Load hid it
    // explicitly (a failure or a notice), or whose onShowAgain refused, stays hidden.
    PvWindow* show(WindowId id);
    // Creates the window and runs its Load without showing it (nothing when loaded).
    PvWindow* load(WindowId id);
    void hide(WindowId id);

    PvWindow* loaded(WindowId id) const;
    template <typename T>
    T* loadedAs(WindowId id) const {
        return qobject_cast<T*>(loaded(id));
    }
    // The loaded windows in the order they were first loaded.
    QList<WindowId> loadedWindows() const;
    int loadedCount() const;

    // Closes every loaded window, hidden ones too; the program then ends.
    void closeAll();
    bool closingAll() const { return closingAll_; }

    // What ends the program once every window is closed (the program sets it
    // to quit the event loop; tests leave it empty).
    void setExitAction(std::function<void()> action) { exitAction_ = std::move(action); }

    // Tests: closes every window at once and forgets the factories.
    void reset();

signals:
    void windowLoaded(pv::WindowId id);
    void allClosed();

private:
    static std::size_t index(WindowId id) { return std::size_t(id); }

    std::array<Factory, kWindowCount> factories_;
    std::array<QPointer<PvWindow>, kWindowCount> windows_;
    QList<WindowId> order_;
    std::function<void()> exitAction_;
    bool closingAll_ = false;
};

inline WindowRegistry& windows() {
    return WindowRegistry::instance();
}

}  // namespace pv
