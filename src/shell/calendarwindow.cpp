#include "calendarwindow.h"
#include "formsetup.h"
#include "twips.h"

#include <QCalendarWidget>
#include <QKeyEvent>
#include <QMouseEvent>

namespace pv {

namespace {
constexpr int kMargin = 6;
}  // namespace

CalendarWindow::CalendarWindow(QWidget* parent) : PvWindow(parent, Qt::Tool) {
    setObjectName(QStringLiteral("frmCalendar"));
    setWindowTitle(QStringLiteral("Calendar"));
    setAccessibleName(QStringLiteral("Calendar"));
    setFont(QFont(QStringLiteral("Tahoma"), 8));

    auto* calendar = new QCalendarWidget(this);
    calendar->setObjectName(QStringLiteral("MonthView1"));
    calendar->setAccessibleName(QStringLiteral("Month calendar"));
    calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    calendar->setHorizontalHeaderFormat(QCalendarWidget::SingleLetterDayNames);
    calendar->setGridVisible(false);
    // The calendar's own clicks (days, month buttons, its bars) stay inside it.
    calendar->setAttribute(Qt::WA_NoMousePropagation);
    // The designed client area is small; the calendar needs a little more room
    // to stay readable, so the window grows to fit it plus a margin to click.
    const QSize designed(px(2610), px(2400));
    const QSize needed =
        calendar->sizeHint().expandedTo(designed - QSize(2 * kMargin, 2 * kMargin));
    calendar->setGeometry(kMargin, kMargin, needed.width(), needed.height());
    setFixedSize(needed + QSize(2 * kMargin, 2 * kMargin));
    setFocusProxy(calendar);
    finishForm(this, {});
}

void CalendarWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        hide();
        return;
    }
    PvWindow::mouseReleaseEvent(event);
}

void CalendarWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    PvWindow::keyPressEvent(event);
}

}  // namespace pv
