#pragma once

#include "entryboxes.h"
#include "importedrecipe.h"

#include <QList>
#include <QString>
#include <QStringList>

class QLineEdit;
class QWidget;

namespace pv {

class RecipeBrowserWindow;
class RecipeEntryWindow;

// The commands that take recipes out of the program and bring them in:
// Export, Export all and Add to shopping list on the recipe browser, Import
// on the recipe entry screen. None of them ends in the error report.

// A box too short for the text put into it: it holds the text cut to its
// length; the whole text is kept to tell the user.
using ShortenedText = exchange::ShortenedText;
// Puts the text into the box; when the box takes less, notes it in shortened.
void putText(QLineEdit* box, const QString& text, QList<ShortenedText>& shortened);
// The message that lists the shortened texts.
QString shortenedMessage(const QList<ShortenedText>& shortened);

// The recipe on display into a file the user names.
void exportRecipe(RecipeBrowserWindow* browser);
// Every recipe of every category into one file the user names.
void exportAllRecipes(QWidget* parent);
// The ingredient lines of the recipe on display, onto the shopping list.
void addToShoppingList(RecipeBrowserWindow* browser);
// Lines onto the shopping list being written, its screen brought forward;
// nothing is saved, and one Undo takes them back. False when the screen could
// not be shown (its Load told the user why).
bool appendToShoppingList(const QStringList& lines);

// A recipe from a file the user picks, into the entry screen's boxes. The
// file is read off the window's thread; a file of several recipes lets the
// user pick one, or import them all into the category chosen on the screen.
void importRecipe(RecipeEntryWindow* entry);
// Every recipe into the store at once, each into category or, with
// ownCategories, into the category the file names for it; ends in the summary.
void importAllRecipes(QList<exchange::ImportedRecipe> recipes, const QString& category,
                      bool ownCategories);
// Fills the entry screen's boxes with the recipe, or tells the user why not.
void fillImported(RecipeEntryWindow* entry, const exchange::ImportedRecipe& recipe);

// "Please click a recipe in the files box first."
QString nothingOnDisplayText();

}  // namespace pv
