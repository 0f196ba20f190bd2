#pragma once

#include "pvwindow.h"

namespace pv {

// An informational window that a click on it hides. Controls that should not
// hide it keep their clicks (Qt::WA_NoMousePropagation); the keyboard's Esc,
// Enter and Space hide it too, unless the window keeps some of them.
class ClickAwayWindow : public PvWindow {
    Q_OBJECT
public:
    explicit ClickAwayWindow(QWidget* parent = nullptr, Qt::WindowFlags flags = {});

protected:
    virtual bool hidesOnKey(int key) const;

    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace pv
