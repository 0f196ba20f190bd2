#pragma once

#include "clickawaywindow.h"

#include <memory>

namespace pv {

namespace Ui {
class CreditsWindow;
}

// "Credits": thanks to the makers of the libraries the program is built on.
// A click on the window, its picture or its texts hides it, except on the
// last reason line. It has no Load of its own.
class CreditsWindow : public ClickAwayWindow {
    Q_OBJECT
public:
    explicit CreditsWindow(QWidget* parent = nullptr);
    ~CreditsWindow() override;

private:
    std::unique_ptr<Ui::CreditsWindow> ui_;
};

}  // namespace pv
