#pragma once

#include "store.h"

#include <QString>

#include <array>

class QWidget;

namespace pv {

class TextFlowPrinter;

// What the recipe printout prints: the browser's boxes as they stand.
struct RecipePrintout {
    QString name;
    QString servingSize;
    std::array<QString, 10> amounts;
    std::array<QString, 10> types;
    std::array<QString, 10> ingredients;
    QString directions;  // CR LF between its lines
    QString temperature;
    QString hours;
    QString minutes;
};

// The recipe as the boxes hold it, in the fields of its file.
store::RecipeFields fieldsOf(const RecipePrintout& page);

// Writes the page onto a begun document, from the empty first line to the
// cooking line. The date is printed as given.
void writeRecipePage(TextFlowPrinter& printer, const RecipePrintout& recipe, const QString& date);

// The print command: the printer set-up dialog, then the page with today's
// date in the system's short form, then the end of the document. False when
// the user cancelled or anything failed; nothing is reported either way.
bool printRecipe(QWidget* parent, const RecipePrintout& recipe);

}  // namespace pv
