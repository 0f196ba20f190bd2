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

void reportFailure(QWidget* ownScreen, ErrorLocation location, const Problem& problem) {
    ProgramErrors& errors = programErrors();
    errors.errorLocation = errorLocationRow(location).code;
    errors.errorNumberText = errorNumberText(problem.number);
    errors.errorDescription = problem.description;
    if (ownScreen) {
        ownScreen->hide();
    }
    windows().show(WindowId::Error);
}

void showUserError(const QString& text) {
    showMessage(text, msg::kOkOnly | msg::kExclamation | msg::kSystemModal,
                QStringLiteral("User error"));
}

void handleStoreFailure(QWidget* ownScreen, ErrorLocation location, const store::Failure& failure) {
    if (failure.isRefusal()) {
        showUserError(failure.userMessage);
        return;
    }
    reportFailure(ownScreen, location, Problem::fromStore(failure));
}

}  // namespace pv
