#include "today.h"

namespace pv {

namespace {

QDate& fixedToday() {
    static QDate date;
    return date;
}

}  // namespace

QDate today() {
    return fixedToday().isValid() ? fixedToday() : QDate::currentDate();
}

void setToday(const QDate& date) {
    fixedToday() = date;
}

}  // namespace pv
