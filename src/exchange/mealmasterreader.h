#pragma once

#include "recipedraft.h"

#include <QList>
#include <QStringView>

namespace pv::exchange {

// Reads MealMaster text: every recipe between a start line ("MMMMM----- Recipe
// via Meal-Master", "---------- Recipe via Meal-Master", or a dashed line
// followed by "Title:") and its end line ("MMMMM" or "-----").
//  - Header lines: Title, Categories, Yield, Servings.
//  - Ingredient lines in fixed columns: amount in columns 1-7, unit code in
//    9-10, text from 12; in the two-column layout a second such line starts
//    at column 41. Each group's left column is read before its right column.
//  - A line whose amount and unit are blank and whose text starts with "-"
//    continues the ingredient above it.
//  - "MMMMM-----FILLING-----" or "-----FILLING-----" heads a group; the
//    heading becomes an ingredient line of its own ("FILLING:").
//  - Unit codes become the usual abbreviations (ts → tsp, tb/T → tbsp,
//    c → cup, lg → large, pn → pinch, ...).
//  - The first other line starts the directions: wrapped lines of one
//    paragraph are joined into one step; an empty line or a numbered line
//    ("2. ...") starts the next.
class MealMasterReader {
public:
    static QList<RecipeDraft> read(QStringView text);
};

}  // namespace pv::exchange
