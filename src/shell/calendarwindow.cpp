#include "calendarwindow.h"
#include "ui_calendarwindow.h"

#include "formsetup.h"

#include <utility>

namespace pv {

CalendarWindow::CalendarWindow(QWidget* parent)
    : ClickAwayWindow(parent, Qt::Tool), ui_(std::make_unique<Ui::CalendarWindow>()) {
    ui_->setupUi(this);
    finishForm(this, {});

    QCalendarWidget* calendar = ui_->MonthView1;
    // The calendar's own clicks (days, month buttons, its bars) stay inside it.
    calendar->setAttribute(Qt::WA_NoMousePropagation);
    setFocusProxy(calendar);
    // The calendar's own parts have no names a screen reader could say.
    const std::pair<const char*, const char*> parts[] = {
        {"qt_calendar_prevmonth", "Previous month"}, {"qt_calendar_nextmonth", "Next month"},
        {"qt_calendar_monthbutton", "Month"},        {"qt_calendar_yearbutton", "Year"},
        {"qt_calendar_calendarview", "Days"},
    };
    for (const auto& [name, accessibleName] : parts) {
        if (auto* part = calendar->findChild<QWidget*>(QLatin1String(name))) {
            part->setAccessibleName(QString::fromLatin1(accessibleName));
        }
    }
    // The designed client area is small; where the calendar needs more room
    // to stay readable, it and the window grow, keeping the margin to click.
    const QSize margins = size() - calendar->size();
    calendar->resize(calendar->sizeHint().expandedTo(calendar->size()));
    setFixedSize(calendar->size() + margins);
}

CalendarWindow::~CalendarWindow() = default;

}  // namespace pv
