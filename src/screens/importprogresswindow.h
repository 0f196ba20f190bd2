#pragma once

#include "pvwindow.h"

#include <functional>
#include <memory>

namespace pv {

namespace Ui {
class ImportProgressWindow;
}

// "Import": how far a long import has come, with Cancel. Other windows wait
// while it is open; Escape and the close button cancel too.
class ImportProgressWindow : public PvWindow {
    Q_OBJECT
public:
    explicit ImportProgressWindow(QWidget* parent = nullptr);
    ~ImportProgressWindow() override;

    // What is being done, the bar at 0; cancel runs when the user cancels.
    void begin(const QString& message, std::function<void()> cancel);
    // The bar at percent (0 to 100).
    void setPercent(int percent);
    // The work ended: hidden, Cancel forgotten.
    void end();

    // The command.
    void cancel();

protected:
    void onCloseRequested() override { cancel(); }

private:
    std::unique_ptr<Ui::ImportProgressWindow> ui_;
    std::function<void()> cancel_;
};

}  // namespace pv
