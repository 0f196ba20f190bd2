#pragma once

#include "pvwindow.h"
#include "recipeprint.h"
#include "screenmenubar.h"
#include "screenparts.h"
#include "store.h"

#include <QList>
#include <QString>

#include <memory>

namespace pv {

namespace Ui {
class RecipeBrowserWindow;
}

class FolderWatcher;
class RecipeFileModel;

// The recipe browser "frmRecipe": picks a category, lists its recipe files,
// shows, prints or deletes one.
class RecipeBrowserWindow : public PvWindow {
    Q_OBJECT
public:
    explicit RecipeBrowserWindow(QWidget* parent = nullptr);
    ~RecipeBrowserWindow() override;

    void onLoad() override;
    void onActivate() override;
    bool onShowAgain() override;

    // The handlers of the user's actions.
    void categoryPicked();
    void fileClicked();
    void deleteBoxClicked(bool checked);
    void newDisplay();
    void returnToMain();
    void print();

    // What the printout prints: the boxes as they stand.
    RecipePrintout printout() const;

    // The menu, each item bound to its command.
    QList<MenuEntry> menuTable();

private:
    void writeFixedTexts();
    void clearDisplay();
    void fitColumnsToNames();
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The lists again after the data folder changed: a choice and a selection
    // still there stay; the recipe on display stays, its delete box disabled
    // once its file is gone.
    void followDisk();
    // Fills the display's boxes but the name from a recipe's fields.
    void showFields(const store::RecipeFields& fields);
    QStringList followedPaths() const;

    std::unique_ptr<Ui::RecipeBrowserWindow> ui_;
    std::array<IngredientBoxes, 10> lines_;
    ScreenMenuBar* menu_ = nullptr;
    RecipeFileModel* fileModel_ = nullptr;

    // The file whose recipe the display shows, the only one the delete box
    // deletes; empty while the display shows none.
    QString shownCategory_;
    QString shownFile_;
    // The fields of the recipe on display as its file holds them.
    store::RecipeFields shownFields_;
    FolderWatcher* watcher_ = nullptr;

public:
    // Shows a recipe as a click on its file does once its category is chosen;
    // false, after a "User error", when the category or the file is not listed.
    bool showRecipe(const QString& category, const QString& file);
    // Where the recipe on display lies; empty while none is.
    const QString& shownCategory() const { return shownCategory_; }
    const QString& shownFile() const { return shownFile_; }
    // Opens the recipe on display on the entry screen to be changed.
    void editRecipe();

    // Scaling: "Scale..." asks for the servings and shows every amount for them;
    // the recipe file never changes, and showing another recipe shows it as written.
    void scale();
    void showScaled(int servings);
    // The servings the display is for: those scaled to, else the recipe's own
    // serving size, or 1 when it gives none.
    int servingsOnDisplay() const;
    // "Add to meal plan...": the recipe on display at the servings on display.
    void addToMealPlan();

private:
    int scaledServings_ = 0;  // 0: as written
    // What the boxes held when the program last filled them: the user may
    // have typed into the display since (to print it changed).
    store::RecipeFields displayed_;
};

}  // namespace pv
