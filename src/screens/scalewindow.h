#pragma once

#include "pvwindow.h"

#include <functional>
#include <memory>

namespace pv {

namespace Ui {
class ScaleWindow;
}

// "Scale recipe": asks for the servings the recipe on display is wanted for.
// Other windows wait while it is open.
class ScaleWindow : public PvWindow {
    Q_OBJECT
public:
    using Choice = std::function<void(int servings)>;

    explicit ScaleWindow(QWidget* parent = nullptr);
    ~ScaleWindow() override;

    // Asks, starting at servings; choice runs with the servings the user confirms.
    void ask(int servings, Choice choice);

    // The commands.
    void confirm();
    void cancel();

protected:
    void onCloseRequested() override { cancel(); }
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<Ui::ScaleWindow> ui_;
    Choice choice_;
};

}  // namespace pv
