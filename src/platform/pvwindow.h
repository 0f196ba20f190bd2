#pragma once

#include <QWidget>

namespace pv {

// A top-level window of the program. Load runs once, at the first showing,
// through the WindowRegistry; afterwards the window is only hidden and shown,
// so it keeps its contents.
class PvWindow : public QWidget {
    Q_OBJECT
public:
    explicit PvWindow(QWidget* parent = nullptr, Qt::WindowFlags flags = {});

    // The Load handler: runs once, before the window first becomes visible.
    virtual void onLoad() {}
    // The Activate handler: runs each time the window becomes the active window.
    virtual void onActivate() {}
    // Runs each time the registry shows the window again after its first
    // showing, before it comes forward. False keeps it hidden (the handler
    // reported a failure).
    virtual bool onShowAgain() { return true; }

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // The window's close button outside of program exit; hides by default so the
    // window keeps its contents, as leaving by "Main" does.
    virtual void onCloseRequested() { hide(); }
};

}  // namespace pv
