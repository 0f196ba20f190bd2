#pragma once

#include "errorlocation.h"
#include "screenmenubar.h"
#include "windowid.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QRect>
#include <QSize>
#include <QString>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace pv::store {
class Store;
struct Failure;
}  // namespace pv::store

namespace pv {

class MultiLineBox;

// The parts the recipe screens build alike: the window's face and menu bar,
// the control makers, the tab chain and the category list of Load.

struct ScreenFrame {
    ScreenMenuBar* menu = nullptr;
    QWidget* client = nullptr;  // control positions are relative to it
};
// Names and titles the screen, gives it the Tahoma 8.25 face and puts a menu
// bar on top of a client area of the given size.
ScreenFrame setUpScreen(QWidget* screen, WindowId id, const QString& title, const QString& menuName,
                        const QSize& clientSize);

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

// The "User error" text for a listed category without a folder: the category,
// then what could not be done.
QString missingCategoryFolderText(const QString& category, const QString& consequence);
// Whether a store failure came from the category's folder missing (removed
// outside the program): the user's to sort out, not the error report's.
bool categoryFolderGone(const store::Store& store, const store::Failure& failure,
                        const QString& category);

// The parent's font, bold or not.
QFont styledFont(const QWidget* on, bool bold);

// A plain boxed frame behind other controls.
QFrame* makePanel(QWidget* parent, const char* name, const QRect& at);
QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, const QRect& at,
                  bool bold = false);
// A word-wrapped text at its designed rectangle, aligned top left.
QLabel* makeTextLabel(QWidget* parent, const char* name, const QString& text, const QRect& at);
// A word-wrapped hint label of the hover table.
QLabel* makeHint(QWidget* parent, const char* name, const QString& caption, const QRect& at,
                 const QColor& colour);
// A one-line box in the parent's font, bold or not.
QLineEdit* makeLineBox(QWidget* parent, const QString& name, const QRect& at, bool bold,
                       const QString& accessibleName);
// A drop-down of listed names only, with its label as buddy.
QComboBox* makeCategoryBox(QWidget* parent, const char* name, const QRect& at,
                           const QString& accessibleName, QLabel* label);
QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, const QRect& at);
MultiLineBox* makeDirectionsBox(QWidget* parent, const char* name, const QRect& at);

// Tab runs through the widgets in this order.
void setTabChain(const QList<QWidget*>& order);

}  // namespace pv
