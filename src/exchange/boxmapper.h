#pragma once

#include "importedrecipe.h"
#include "recipedraft.h"

namespace pv::exchange {

// Fits what a reader found into the boxes of the recipe entry screen:
//  - name and category as found (a recipe without a name takes fallbackName);
//  - ingredient lines 1 to 10 into the grid; any further lines go first in
//    the directions, under a line "More ingredients:";
//  - the steps, one a line;
//  - serving size: the first whole number of the yield (up to 999);
//  - cooking time: the cook time, else the total time less the preparation
//    time, else the total time, in hours (up to 99) and minutes (under 60);
//  - oven temperature: up to three digits;
//  - what has no box of its own ends the directions, after an empty line:
//    "Yield: ..." when the yield says more than the serving size,
//    "Prep time: ...", "Total time: ..." when it was not used for the cooking
//    time, "Cook time: ..." when it is too long for the boxes.
// Blocks in the directions are set apart by an empty line; lines end in
// CR LF as in the directions box. The readers give plain text (PlainText);
// the name, the category and an exported recipe's boxes are made plain here,
// and what stays unencodable is listed. A recipe this program exported comes
// back exactly as it was.
class BoxMapper {
public:
    static ImportedRecipe map(const RecipeDraft& draft, const QString& fallbackName);
};

}  // namespace pv::exchange
