#pragma once

#include "pvwindow.h"
#include "recipeprint.h"
#include "screenmenubar.h"
#include "screenparts.h"

#include <QList>
#include <QString>

#include <memory>

namespace pv {

namespace Ui {
class RecipeBrowserWindow;
}

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

    std::unique_ptr<Ui::RecipeBrowserWindow> ui_;
    std::array<IngredientBoxes, 10> lines_;
    ScreenMenuBar* menu_ = nullptr;
    RecipeFileModel* fileModel_ = nullptr;

    // The file whose recipe the display shows, the only one the delete box
    // deletes; empty while the display shows none.
    QString shownCategory_;
    QString shownFile_;

public:
    // Shows a recipe as a click on its file does once its category is chosen;
    // false, after a "User error", when the category or the file is not listed.
    bool showRecipe(const QString& category, const QString& file);
    // Where the recipe on display lies; empty while none is.
    const QString& shownCategory() const { return shownCategory_; }
    const QString& shownFile() const { return shownFile_; }
    // The category whose files the list shows (or is to show).
    QString chosenCategory() const;
};

}  // namespace pv
