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

// "Import a recipe": the recipes of a file that holds several, for the user
// to pick the one to import. Other windows wait while it is open.
class RecipePickWindow : public PvWindow {
    Q_OBJECT
public:
    using Choice = std::function<void(const exchange::ImportedRecipe&)>;

    explicit RecipePickWindow(QWidget* parent = nullptr);
    ~RecipePickWindow() override;

    // Lists the recipes, the first one picked; choice runs with the one the
    // user imports.
    void offer(QList<exchange::ImportedRecipe> recipes, Choice choice);

    // The commands.
    void importPicked();
    void cancel();

protected:
    void onCloseRequested() override { cancel(); }

private:
    std::unique_ptr<Ui::RecipePickWindow> ui_;
    QList<exchange::ImportedRecipe> recipes_;
    Choice choice_;
};

}  // namespace pv
