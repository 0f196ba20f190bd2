#pragma once

#include "exchangecommands.h"
#include "pvwindow.h"
#include "screenmenubar.h"
#include "screenparts.h"
#include "store.h"

#include <QList>

#include <memory>

namespace pv {

namespace Ui {
class RecipeEntryWindow;
}

// The recipe entry screen "frmIngred": a category, a name, ten ingredient
// lines, the cooking information and the directions, saved as one recipe file.
class RecipeEntryWindow : public PvWindow {
    Q_OBJECT
public:
    explicit RecipeEntryWindow(QWidget* parent = nullptr);
    ~RecipeEntryWindow() override;

    void onLoad() override;
    bool onShowAgain() override;

    // The commands of the buttons and the menu.
    void newRecipe();
    void saveRecipe();
    void returnToMain();

    // The 35 field texts as the boxes hold them, in file order.
    store::RecipeFields fields() const;

    // The menu, each item bound to its command.
    QList<MenuEntry> menuTable();

private:
    std::unique_ptr<Ui::RecipeEntryWindow> ui_;
    std::array<IngredientBoxes, 10> lines_;
    ScreenMenuBar* menu_ = nullptr;

public:
    // Puts a recipe's name and 35 fields into the boxes, the category left as
    // chosen. Returns the texts longer than their boxes take.
    QList<ShortenedText> fillBoxes(const QString& name, const store::RecipeFields& fields);
    // The category as the drop-down shows it, where Save saves.
    QString chosenCategory() const;
};

}  // namespace pv
