#include "errorstate.h"

#include "messageservice.h"
#include "windowregistry.h"

#include <QWidget>

namespace pv {

ProgramErrors& programErrors() {
    static ProgramErrors errors;
    return errors;
}

QString errorNumberText(int number) {
    return number < 0 ? QString::number(number) : QLatin1Char(' ') + QString::number(number);
}

void reportFailure(QWidget* ownScreen, const QString& locationCode, const store::Failure& failure) {
    ProgramErrors& errors = programErrors();
    errors.errorLocation = locationCode;
    errors.errorNumberText = errorNumberText(failure.number);
    errors.errorDescription = failure.description;
    if (ownScreen) {
        ownScreen->hide();
    }
    windows().show(WindowId::Error);
}

void showUserError(const QString& text) {
    showMessage(text, msg::kOkOnly | msg::kExclamation | msg::kSystemModal,
                QStringLiteral("User error"));
}

void handleStoreFailure(QWidget* ownScreen, const QString& locationCode,
                        const store::Failure& failure) {
    if (failure.isRefusal()) {
        showUserError(failure.userMessage);
        return;
    }
    reportFailure(ownScreen, locationCode, failure);
}

}  // namespace pv
