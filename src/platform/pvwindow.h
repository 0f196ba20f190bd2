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

    // Load: the drop shadow when the window asks for one, then onLoad(). The
    // registry runs it once, before the window first becomes visible.
    void load();
    // The Load handler.
    virtual void onLoad() {}
    // The Activate handler: runs each time the window becomes the active window
    // after another of the program's windows was (not after a dialog).
    virtual void onActivate() {}
    // Runs each time the registry shows the window again after its first
    // showing, before it comes forward. False keeps it hidden (the handler
    // reported a failure).
    virtual bool onShowAgain() { return true; }

    // Whether Load gives the window its drop shadow (every window with a Load
    // handler of its own does).
    void setDropShadowAtLoad(bool on) { dropShadowAtLoad_ = on; }
    bool dropShadowAtLoad() const { return dropShadowAtLoad_; }

    // Escape anywhere in the window does what its close button does, as in a
    // dialog (the small windows that pick or find something).
    void setClosesOnEscape(bool on) { closesOnEscape_ = on; }

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // The window's close button outside of program exit; hides by default so the
    // window keeps its contents, as leaving by "Main" does.
    virtual void onCloseRequested() { hide(); }

private:
    bool dropShadowAtLoad_ = false;
    bool closesOnEscape_ = false;
};

}  // namespace pv
