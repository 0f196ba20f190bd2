#include "splashwindow.h"
#include "twips.h"

#include "busypointer.h"
#include "formsetup.h"
#include "pictures.h"
#include "screenparts.h"
#include "startup.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>

namespace pv {
namespace {

QFont displayFont(qreal points, bool bold) {
    QFont face;
    face.setFamilies({QStringLiteral("Georgia"), QStringLiteral("Bookman Old Style"),
                      QStringLiteral("DejaVu Serif")});
    face.setStyleHint(QFont::Serif);
    face.setPointSizeF(points);
    face.setBold(bold);
    face.setItalic(bold);
    return face;
}

QLabel* displayLabel(QWidget* parent, const char* name, const QString& text, const QRect& place,
                     const QFont& face) {
    QLabel* label = makeLabel(parent, name, text, place);
    label->setFont(face);
    return label;
}

}  // namespace

SplashWindow::SplashWindow(std::chrono::milliseconds tick)
    : PvWindow(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint), tick_(tick) {
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("Pantrova"));
    setWindowIcon(pictures::appIcon());
    setFixedSize(px(5220), px(3885));
    QFont face(QStringLiteral("Tahoma"));
    face.setPointSizeF(8.25);
    setFont(face);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(255, 252, 243));
    setPalette(palette);

    picture_ = new QLabel(this);
    picture_->setObjectName(QStringLiteral("Image1"));
    picture_->setGeometry(px(360), px(1980), 104, 104);
    picture_->setPixmap(QPixmap::fromImage(pictures::splashPicture(104, 104)));
    picture_->setAccessibleName(QStringLiteral("A steaming pot and a recipe book"));

    const QFont title = displayFont(27.75, true);
    const QColor blue(0, 0, 255);
    QLabel* label1 = displayLabel(this, "Label1", QStringLiteral("Pan"),
                                  QRect(px(360), px(120), 300, px(675)), title);
    QLabel* label2 = displayLabel(this, "Label2", QStringLiteral("trova"),
                                  QRect(px(0), px(720), width(), px(675)), title);
    label2->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    QLabel* label3 = displayLabel(this, "Label3", QStringLiteral("1.0"),
                                  QRect(px(360), px(1440), 120, 32), displayFont(18, true));
    QLabel* label4 = displayLabel(this, "Label4", QStringLiteral("Household software"),
                                  QRect(px(2640), px(3600), width() - px(2640) - 4, px(285)),
                                  displayFont(11.25, false));
    for (QLabel* label : {label1, label2, label3}) {
        QPalette colours = label->palette();
        colours.setColor(QPalette::WindowText, blue);
        label->setPalette(colours);
    }
    // The system colour for window frames.
    label4->setForegroundRole(QPalette::Shadow);

    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("pbTaskProgress"));
    progress_->setGeometry(px(3360), px(2280), px(1815), px(255));
    progress_->setTextVisible(false);
    progress_->setAccessibleName(QStringLiteral("Starting"));

    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("tmrTaskTimer"));
    connect(timer_, &QTimer::timeout, this, &SplashWindow::onTick);
    finishForm(this, {});
}

void SplashWindow::onLoad() {
    setBusyPointer();
    progress_->setValue(progress_->minimum());
    progress_->setRange(0, 100);
    timer_->setInterval(tick_);
    timer_->start();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect place = rect();
        place.moveCenter(screen->availableGeometry().center());
        move(place.topLeft());
    }
}

void SplashWindow::onTick() {
    progress_->setValue(progress_->value() + 4);
    if (progress_->value() >= progress_->maximum()) {
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
