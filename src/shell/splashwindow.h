#pragma once

#include "pvwindow.h"

#include <chrono>

class QLabel;
class QProgressBar;
class QTimer;

namespace pv {

// frmSplash: the product name, the version and a bar that fills in 25 ticks;
// then start-up hands over to the main menu. There is no way to skip it.
class SplashWindow : public PvWindow {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds kTick{100};

    // The tick is a parameter so that tests need not wait two and a half seconds.
    explicit SplashWindow(std::chrono::milliseconds tick = kTick);

    void onLoad() override;

    QProgressBar* progress() const { return progress_; }
    QTimer* timer() const { return timer_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    // The splash has no close button; closing it by other means does nothing.
    void onCloseRequested() override {}

private:
    void onTick();

    std::chrono::milliseconds tick_;
    QLabel* picture_;
    QProgressBar* progress_;
    QTimer* timer_;
};

}  // namespace pv
