#pragma once

#include "exchangecommands.h"
#include "pvwindow.h"
#include "screenmenubar.h"
#include "store.h"
#include "twips.h"

#include <QList>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace pv {

class MultiLineBox;

// The recipe entry screen "frmIngred": a category, a name, ten ingredient
// lines, the cooking information and the directions, saved as one recipe file.
class RecipeEntryWindow : public PvWindow {
    Q_OBJECT
public:
    explicit RecipeEntryWindow(QWidget* parent = nullptr);

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
    void buildControls();
    void buildTabOrder();
    void finish();

    ScreenMenuBar* menu_ = nullptr;
    QWidget* client_ = nullptr;
    QComboBox* category_ = nullptr;
    QLineEdit* name_ = nullptr;
    QList<QLineEdit*> amounts_;
    QList<QLineEdit*> types_;
    QList<QLineEdit*> ingredients_;
    MultiLineBox* directions_ = nullptr;
    QLineEdit* temperature_ = nullptr;
    QLineEdit* servingSize_ = nullptr;
    QLineEdit* hours_ = nullptr;
    QLineEdit* minutes_ = nullptr;
    QGroupBox* ingredientFrame_ = nullptr;
    QGroupBox* cookingFrame_ = nullptr;
    QLabel* categoryHint_ = nullptr;
    QLabel* ingredientsHint_ = nullptr;
    QLabel* directionsHint_ = nullptr;
    QLabel* categoryLabel_ = nullptr;
    QLabel* nameLabel_ = nullptr;
    QLabel* directionsLabel_ = nullptr;
    QPushButton* newButton_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QPushButton* mainButton_ = nullptr;

public:
    // Puts a recipe's name and 35 fields into the boxes, the category left as
    // chosen. Returns the texts longer than their boxes take.
    QList<ShortenedText> fillBoxes(const QString& name, const store::RecipeFields& fields);
};

}  // namespace pv
