#pragma once

#include "importedrecipe.h"
#include "pvwindow.h"

#include <QList>

#include <functional>
#include <memory>

namespace pv {

namespace Ui {
class RecipePickWindow;
}

class PickListModel;

// "Import a recipe": the recipes of a file that holds several, for the user
// to pick the one to import, found by part of its name, or to import them
// all. Other windows wait while it is open.
class RecipePickWindow : public PvWindow {
    Q_OBJECT
public:
    using Choice = std::function<void(const exchange::ImportedRecipe&)>;
    // Every recipe, and whether each goes into the category the file names for it.
    using AllChoice = std::function<void(QList<exchange::ImportedRecipe>, bool ownCategories)>;

    explicit RecipePickWindow(QWidget* parent = nullptr);
    ~RecipePickWindow() override;

    // Lists the recipes, the first one picked; choice runs with the one the
    // user imports. With all, "Import all" saves them into category (the one
    // chosen on the entry screen).
    void offer(QList<exchange::ImportedRecipe> recipes, Choice choice, AllChoice all = {},
               const QString& category = {});

    // The commands.
    void importPicked();
    void importAll();
    void cancel();

protected:
    void onCloseRequested() override { cancel(); }
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void filter();
    void updateAll();
    void forget();

    std::unique_ptr<Ui::RecipePickWindow> ui_;
    PickListModel* model_ = nullptr;
    QList<exchange::ImportedRecipe> recipes_;
    Choice choice_;
    AllChoice all_;
    QString category_;
    bool allNamed_ = false;  // every recipe names a category of its own
};

}  // namespace pv
