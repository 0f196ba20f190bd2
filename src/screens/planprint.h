#pragma once

#include "mealplan.h"
#include "shopprint.h"

#include <QDate>
#include <QList>
#include <QSet>
#include <QString>

namespace pv {

// A day as the meal plan names it: "Monday 7 December".
QString planDayText(const QDate& day);
// The week that starts on monday: "Week 50: 7 December to 13 December 2026".
QString planWeekText(const QDate& monday);

// The printout of a week's plan: the week in bold, then each day in bold with
// its recipes below it ("    Stew (Soups), 4 servings", "missing" after one
// whose file is gone), an empty line after each day.
QList<PrintedLine> mealPlanPrintout(const QDate& monday, const QList<store::PlannedRecipe>& recipes,
                                    const QSet<int>& missing);

}  // namespace pv
