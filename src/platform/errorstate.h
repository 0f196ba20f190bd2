#pragma once

#include "errorlocation.h"
#include "outcome.h"
#include "problem.h"

#include <QString>

class QWidget;

namespace pv {

// Program-wide values a failing handler fills for the error report.
struct ProgramErrors {
    QString errorLocation;     // the location code, such as "I - CS -"
    QString errorNumberText;   // the number with one leading blank when not negative
    QString errorDescription;  // the failure's description; the report replaces it
};
ProgramErrors& programErrors();

// 53 gives " 53"; -1 gives "-1".
QString errorNumberText(int number);

// The failing-handler steps: record the place's code, the number and the
// description, hide the handler's own screen and show the error report. The
// caller leaves its handler right after.
void reportFailure(QWidget* ownScreen, ErrorLocation location, const Problem& problem);

// A "User error" message (OK, exclamation), for input the program refuses.
void showUserError(const QString& text);

// What a guarded handler does with a store failure: a refused name or text is
// a "User error" message and the screen stays as it is; anything else ends in
// the error report.
void handleStoreFailure(QWidget* ownScreen, ErrorLocation location, const store::Failure& failure);

}  // namespace pv
