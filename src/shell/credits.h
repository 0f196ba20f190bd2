#pragma once

#include "windowregistry.h"

namespace pv {

// "Credits": thanks to the makers of the libraries the program is built on.
// A click on the window, its picture or its texts hides it, except on the
// last reason line. It has no Load of its own.
class CreditsScreen : public PvWindow {
    Q_OBJECT
public:
    explicit CreditsScreen(QWidget* parent = nullptr);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace pv
