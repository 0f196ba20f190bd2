#pragma once

#include "mealplan.h"
#include "pvwindow.h"

#include <QDate>
#include <QHash>
#include <QSet>

#include <functional>
#include <memory>
#include <optional>

class QStringListModel;
class QTreeWidgetItem;

namespace pv {

class FolderWatcher;

namespace Ui {
class MealPlanWindow;
}

// "Meal plan": one week at a time, each day with the recipes planned for it
// and their servings. Recipes are added by category and name, removed, given
// other servings, shown in the recipe browser, printed, and turned into one
// merged shopping list. The plan lives in the data folder, one file per week;
// nothing here changes a recipe file. The week shown follows its file, which
// another machine or another copy of the program may change meanwhile.
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
    // Shows a reading of the week shown; select is the planned recipe to pick in
    // it, or -1 for the one picked before, where it still is.
    void showRead(store::MealPlanWeek week, qsizetype select = -1);
    // Lists the days and their recipes, the planned recipe select (an index in
    // week_) picked, else the day picked before, else today, else the same day
    // of the week.
    void fillDays(qsizetype select);
    // The categories and the chosen one's recipes as they are now; quiet leaves
    // them as they were when they cannot be read.
    void loadCategoryList(bool quiet = false);
    void selectionChanged();
    // The planned recipe of the current row, or -1 for a day or none.
    int currentPlanned() const;
    // Applies a change to the week as its file holds it now, not as shown:
    // read, changed and written at once, so that what another machine wrote
    // since the week was shown stays. change gives the planned recipe to pick
    // (-1: the one picked before), or nothing when there is nothing to write.
    // Shows the week as written; when it cannot be read or written, tells why.
    bool changeWeek(const std::function<std::optional<qsizetype>(store::MealPlanWeek&)>& change);
    void followDisk();
    QStringList followedPaths() const;
    QString fileShown() const;

    std::unique_ptr<Ui::MealPlanWindow> ui_;
    QStringListModel* recipes_ = nullptr;
    QDate monday_;
    store::MealPlanWeek week_;
    // The planned recipes (by index in week_) whose file is gone.
    QSet<int> missing_;
    // The days the user unticked; the others go on the shopping list.
    QSet<QDate> unticked_;
    // The week files whose damage the user was told of.
    QHash<QString, bool> told_;
    FolderWatcher* watcher_ = nullptr;
};

}  // namespace pv
