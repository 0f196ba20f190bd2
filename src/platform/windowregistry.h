#pragma once

#include "pvwindow.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>

namespace pv {

// The collection of loaded windows.
class WindowRegistry : public QObject {
    Q_OBJECT
public:
    using Factory = std::function<PvWindow*()>;

    static WindowRegistry& instance();

    void registerWindow(const QString& name, Factory factory);
    bool isRegistered(const QString& name) const { return factories_.contains(name); }

    // Creates the window and runs its Load the first time; later calls run its
    // onShowAgain and show it again. Not modal. A window whose Load hid it
    // explicitly (a failure or a notice), or whose onShowAgain refused, stays hidden.
    PvWindow* show(const QString& name);
    // Creates the window and runs its Load without showing it (nothing when loaded).
    PvWindow* load(const QString& name);
    void hide(const QString& name);

    PvWindow* loaded(const QString& name) const;
    template <typename T>
    T* loadedAs(const QString& name) const {
        return qobject_cast<T*>(loaded(name));
    }
    QStringList loadedNames() const;
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
    void windowLoaded(const QString& name);
    void allClosed();

private:
    QHash<QString, Factory> factories_;
    QHash<QString, QPointer<PvWindow>> windows_;
    QStringList order_;
    std::function<void()> exitAction_;
    bool closingAll_ = false;
};

inline WindowRegistry& windows() {
    return WindowRegistry::instance();
}

}  // namespace pv
