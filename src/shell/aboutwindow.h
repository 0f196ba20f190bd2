#pragma once

#include "clickawaywindow.h"

#include <memory>

namespace pv {

namespace Ui {
class AboutWindow;
}

// "About": the program's name, version and author. A click on the window or
// on any of its texts hides it; the picture does not react.
class AboutWindow : public ClickAwayWindow {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* parent = nullptr);
    ~AboutWindow() override;

private:
    std::unique_ptr<Ui::AboutWindow> ui_;
};

}  // namespace pv
