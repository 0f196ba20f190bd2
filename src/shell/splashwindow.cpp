#include "splashwindow.h"
#include "ui_splashwindow.h"

#include "busypointer.h"
#include "formsetup.h"
#include "pictures.h"
#include "startup.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

namespace pv {
namespace {

// Where Georgia is missing, the serif faces of the same look stand in for it.
void preferGeorgiaLookAlikes() {
    static const bool done = [] {
        QFont::insertSubstitutions(QStringLiteral("Georgia"), {QStringLiteral("Bookman Old Style"),
                                                               QStringLiteral("DejaVu Serif")});
        return true;
    }();
    (void)done;
}

}  // namespace

SplashWindow::SplashWindow(std::chrono::milliseconds tick)
    : PvWindow(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint),
      ui_(std::make_unique<Ui::SplashWindow>()),
      tick_(tick) {
    preferGeorgiaLookAlikes();
    ui_->setupUi(this);
    finishForm(this, {});

    setWindowIcon(pictures::appIcon());
    ui_->Image1->setPixmap(QPixmap::fromImage(pictures::splashPicture(104, 104)));
    // The system colour for window frames.
    ui_->Label4->setForegroundRole(QPalette::Shadow);

    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("tmrTaskTimer"));
    connect(timer_, &QTimer::timeout, this, &SplashWindow::onTick);
}

SplashWindow::~SplashWindow() = default;

QProgressBar* SplashWindow::progress() const {
    return ui_->pbTaskProgress;
}

void SplashWindow::onLoad() {
    setBusyPointer();
    QProgressBar* progress = ui_->pbTaskProgress;
    progress->setValue(progress->minimum());
    progress->setRange(0, 100);
    timer_->setInterval(tick_);
    timer_->start();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect place = rect();
        place.moveCenter(screen->availableGeometry().center());
        move(place.topLeft());
    }
}

void SplashWindow::onTick() {
    QProgressBar* progress = ui_->pbTaskProgress;
    progress->setValue(progress->value() + 4);
    if (progress->value() >= progress->maximum()) {
        timer_->stop();
        setDefaultPointer();
        finishStartup();
    }
}

void SplashWindow::paintEvent(QPaintEvent* event) {
    PvWindow::paintEvent(event);
    // The thin frame in place of a title bar.
    QPainter p(this);
    p.setPen(palette().color(QPalette::Shadow));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace pv
