#pragma once

#include "pvwindow.h"

#include <chrono>
#include <memory>

class QProgressBar;
class QTimer;

namespace pv {

namespace Ui {
class SplashWindow;
}

// frmSplash: the product name, the version and a bar that fills in 25 ticks;
// then start-up hands over to the main menu. There is no way to skip it.
class SplashWindow : public PvWindow {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds kTick{100};

    // The tick is a parameter so that tests need not wait two and a half seconds.
    explicit SplashWindow(std::chrono::milliseconds tick = kTick);
    ~SplashWindow() override;

    void onLoad() override;

    QProgressBar* progress() const;
    QTimer* timer() const { return timer_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    // The splash has no close button; closing it by other means does nothing.
    void onCloseRequested() override {}

private:
    void onTick();

    std::unique_ptr<Ui::SplashWindow> ui_;
    std::chrono::milliseconds tick_;
    QTimer* timer_;
};

}  // namespace pv
