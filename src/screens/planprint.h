#pragma once

#include "mealplan.h"

#include <QDate>
#include <QList>
#include <QSet>
#include <QString>

class QPrinter;

namespace pv {

// A day as the meal plan names it: "Monday 7 December".
QString planDayText(const QDate& day);
// The week that starts on monday: "Week 50: 7 December to 13 December 2026".
QString planWeekText(const QDate& monday);

// One line of a printout, in the plain face or in bold.
struct PrintedLine {
    QString text;
    bool bold = false;

    friend bool operator==(const PrintedLine&, const PrintedLine&) = default;
};

// The printout of a week's plan: the week in bold, then each day in bold with
// its recipes below it ("    Stew (Soups), 4 servings", "missing" after one
// whose file is gone), an empty line after each day.
QList<PrintedLine> mealPlanPrintout(const QDate& monday, const QList<store::PlannedRecipe>& recipes,
                                    const QSet<int>& missing);

// Prints the lines in the printer's own face, word by word as the shopping
// list printout does: a word never split, a line ended before a word that
// would pass the page width, an empty line kept, also at the top of a page.
// False when the printer fails.
bool printLines(QPrinter* printer, const QList<PrintedLine>& lines);

}  // namespace pv
