#pragma once

#include "errorlocation.h"
#include "screenmenubar.h"

#include <QColor>
#include <QList>
#include <QRect>
#include <QString>

#include <array>

class QComboBox;
class QLineEdit;
class QLabel;
class QWidget;

namespace pv::store {
class Store;
struct Failure;
}  // namespace pv::store

namespace pv {

// The parts the working screens share: clearing, the menu icons, the category
// list of Load and the hint labels.

// Empties every text box of the screen, in the window's own control order.
// Drop-down lists, check boxes and labels keep their state.
void clearScreenFields(QWidget* screen);

// The screen's menu table with an icon left out wherever its file cannot be
// loaded, so that a missing icon costs only the picture.
QList<MenuEntry> withLoadableIcons(QList<MenuEntry> table);

// What reading the category list did to the drop-down's choice.
enum class CategoryChoice {
    Kept,     // still listed, or nothing was chosen
    Dropped,  // no longer listed: nothing is chosen now
    Failed,   // the error report is up
};
// Fills the category drop-down by field, at Load and each time the screen is
// shown again. The choice stays when the list still holds it. A missing list
// empties the drop-down and shows the notice; any other failure ends in the
// error report at `location`.
CategoryChoice loadCategories(QWidget* screen, QComboBox* box, ErrorLocation location);

// Reads the category list again for a screen on show whose data folder
// changed, quietly: the choice stays while it is listed, and a list that
// cannot be read now (a sync tool may be replacing it) leaves the drop-down as
// it is. A list that is gone empties it.
CategoryChoice followCategories(QComboBox* box);

// The boxes of one of a recipe screen's ten ingredient lines.
struct IngredientBoxes {
    QLineEdit* amount = nullptr;
    QLineEdit* type = nullptr;
    QLineEdit* ingredient = nullptr;
};
// The window's ingredient lines, top to bottom, found by the names of their
// boxes: each prefix followed by the line's number 1 to 10 ("txtIA1").
std::array<IngredientBoxes, 10> ingredientBoxes(const QWidget* window, const QString& amount,
                                                const QString& type, const QString& ingredient);

// The "User error" text for a listed category without a folder: the category,
// then what could not be done.
QString missingCategoryFolderText(const QString& category, const QString& consequence);
// Whether a store failure came from the category's folder missing (removed
// outside the program): the user's to sort out, not the error report's.
bool categoryFolderGone(const store::Store& store, const store::Failure& failure,
                        const QString& category);

// A word-wrapped text at its designed rectangle, aligned top left.
QLabel* makeTextLabel(QWidget* parent, const char* name, const QString& text, const QRect& at);
// A word-wrapped hint label of the hover table.
QLabel* makeHint(QWidget* parent, const char* name, const QString& caption, const QRect& at,
                 const QColor& colour);

}  // namespace pv
