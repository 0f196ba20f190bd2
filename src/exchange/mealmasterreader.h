#pragma once

#include "recipedraft.h"

#include <QList>
#include <QString>

namespace pv::exchange {

class ReadProgress;

// Reads MealMaster text: every recipe between a start line ("MMMMM----- Recipe
// via Meal-Master", "---------- Recipe via Meal-Master", or a dashed line
// followed by "Title:") and its end line ("MMMMM" or "-----").
//  - Header lines: Title, Categories, Yield, Servings.
//  - Ingredient lines in fixed columns: amount right-aligned in columns 1-7,
//    unit code in 9-10, text from 12. A block whose amounts all sit a few
//    columns further right or left reads the same; within a block a unit
//    code MealMaster does not know is kept as written. In the two-column layout a
//    second such cell starts at column 41 (42 in older versions); each
//    block's left column is read before its right column.
//  - A cell whose amount and unit are blank and whose text starts with "-"
//    continues the ingredient above it in its column; other cells without
//    an amount are lines of their own.
//  - "MMMMM-----FILLING-----" or "-----FILLING-----" heads a group; the
//    heading becomes an ingredient line of its own ("FILLING:"), even one
//    that reads like a header ("YIELD: 8 PINTS").
//  - Unit codes become the usual abbreviations (ts → tsp, tb/T → tbsp,
//    c → cup, lg → large, pn → pinch, ...).
//  - The first other line starts the directions: wrapped lines of one
//    paragraph are joined into one step; an empty line, a ruled line
//    ("-----", "=====", "~-----"), a line starting "~" or a numbered line
//    ("2. ...") starts the next. DOS's paragraph mark (byte 0x14) at the end
//    of a line ends a paragraph; other control characters are blanks.
// Text is built in one pass; the reader stops early, returning nothing, when
// the progress says so, and after kMaxRecipes + 1 recipes.
class MealMasterReader {
public:
    static QList<RecipeDraft> read(QString text, ReadProgress& progress);
};

}  // namespace pv::exchange
