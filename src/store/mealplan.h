#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QList>
#include <QString>

namespace pv::store {

// One recipe planned for a day. The plan names the recipe by its category and
// file name and never changes the recipe's file.
struct PlannedRecipe {
    QDate day;
    QString category;
    QString recipe;  // the file name, as the category lists it
    int servings = 1;

    friend bool operator==(const PlannedRecipe&, const PlannedRecipe&) = default;
};

// The plan of one week (Monday to Sunday) as its file holds it. A line that
// cannot be read is kept as it is and written back after the planned recipes,
// so that saving a week never loses what the program did not understand.
struct MealPlanWeek {
    QList<PlannedRecipe> recipes;  // by day, in the order planned
    QList<QByteArray> unreadable;  // whole lines, without their line ends
    bool cut = false;              // the file was too large: only its start was read

    bool isEmpty() const { return recipes.isEmpty() && unreadable.isEmpty(); }
};

// The most bytes of a week's file that are read; a week of three meals a day
// for a large household stays far below it.
inline constexpr qsizetype kLargestMealPlanFile = 256 * 1024;
// The most servings of one planned recipe.
inline constexpr int kMostPlannedServings = 999;

// The Monday of the ISO week a day lies in.
QDate weekStart(const QDate& day);

// The file of the ISO week a day lies in, in the folder "Meal Plan":
// "2026-W50.txt" (the year the ISO week belongs to, which differs from the
// day's year on a few days around the new year).
QString mealPlanFileName(const QDate& day);

// One line per planned recipe, ordered by day, as quoted fields in the
// recipe file's style: "2026-12-07","Dinners","Stew","4" and CR LF; then the
// unreadable lines as they came. The texts must be encodable and hold no
// double quote (see Store::saveMealPlan).
QByteArray formatMealPlan(const MealPlanWeek& week);

// Where the planned recipe at index of one reading of a week is in another
// reading of it, made after the file changed (on another machine, say): the
// same recipe on the same day, counted among its like, at the same servings
// when there is such a one. -1 when it is no longer planned, or which one of
// its like it is cannot be told.
qsizetype findPlanned(const MealPlanWeek& in, const MealPlanWeek& from, qsizetype index);

// The lines of a week's file read back by the quoted-field rule. A line is
// read when it holds exactly four fields: a day of the week that starts on
// monday (written yyyy-mm-dd), a category, a recipe and servings from 1 to
// kMostPlannedServings; every other line but an empty one is kept unreadable.
MealPlanWeek parseMealPlan(QByteArrayView bytes, const QDate& monday);

}  // namespace pv::store
