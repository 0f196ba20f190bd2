#pragma once

#include <QDate>

namespace pv {

// Today's date, as the windows that show a week or a day mark it. Tests and
// the widget dump fix it, so that what they see does not change with the day.
QDate today();
// Fixes today's date; an invalid date brings back the system's.
void setToday(const QDate& date);

}  // namespace pv
