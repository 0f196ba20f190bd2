#pragma once

#include "mealplan.h"
#include "pvwindow.h"

#include <QDate>
#include <QHash>
#include <QSet>

#include <memory>

class QStringListModel;
class QTreeWidgetItem;

namespace pv {

namespace Ui {
class MealPlanWindow;
}

// "Meal plan": one week at a time, each day with the recipes planned for it
// and their servings. Recipes are added by category and name, removed, given
// other servings, shown in the recipe browser, printed, and turned into one
// merged shopping list. The plan lives in the data folder, one file per week;
// nothing here changes a recipe file.
class MealPlanWindow : public PvWindow {
    Q_OBJECT
public:
    explicit MealPlanWindow(QWidget* parent = nullptr);
    ~MealPlanWindow() override;

    void onLoad() override;
    bool onShowAgain() override;

    // The commands.
    void previousWeek();
    void nextWeek();
    void thisWeek();
    void categoryPicked();
    void recipePicked();
    void addPlanned();
    void removePlanned();
    void changeServings();
    void showPlanned();
    void makeShoppingList();
    void printPlan();
    void closeWindow();

    // The recipe browser's "Add to meal plan...": the recipe and its servings
    // ready in "Add a recipe", for the user to pick the day.
    void offerRecipe(const QString& category, const QString& file, int servings);

    // The Monday of the week shown, and what it holds.
    const QDate& monday() const { return monday_; }
    const store::MealPlanWeek& week() const { return week_; }
    // The days ticked for the shopping list.
    QList<QDate> tickedDays() const;
    // The lines the printout prints for the week shown.
    QStringList printedLines() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showWeek(const QDate& monday);
    // Lists the days and their recipes; within the same week the row picked stays picked.
    void fillDays(bool sameWeek);
    void loadCategoryList();
    void selectionChanged();
    // The planned recipe of the current row, or -1 for a day or none.
    int currentPlanned() const;
    // Writes the week as changed; shows it when that worked, else tells why.
    bool saveWeek(const store::MealPlanWeek& changed, int select = -1);
    QString fileShown() const;

    std::unique_ptr<Ui::MealPlanWindow> ui_;
    QStringListModel* recipes_ = nullptr;
    QDate monday_;
    store::MealPlanWeek week_;
    // The planned recipes (by index in week_) whose file is gone.
    QSet<int> missing_;
    // The days the user unticked; the others go on the shopping list.
    QSet<QDate> unticked_;
    // False while the week could not be read whole: it is shown, not changed.
    bool writable_ = true;
    // The week files whose damage the user was told of.
    QHash<QString, bool> told_;
};

}  // namespace pv
