#pragma once

#include <QString>
#include <QStringView>

namespace pv::exchange {

// Units of measure by their usual spellings and abbreviations. They are
// recognised to split an ingredient line and to tell which amounts of a
// shopping list add up; a unit is never converted into another.
class Units {
public:
    // One spelling per unit, whatever the word's case, plural or final period:
    // "cup" for "c", "C", "cup", "Cups"; "tbsp" for "T", "tbsp", "Tablespoons";
    // "tsp" for "t", "tsp", "teaspoon". A single letter is a unit only as
    // t (teaspoon), T (tablespoon), c or C (cup), g or G (gram), l or L (litre);
    // EL (tablespoon) and TL (teaspoon) are units in capitals only. Some
    // German, Spanish and Portuguese words are known too: "Bund", "gramos",
    // "mililitros", "xícara", "colher" (a spoon), "pitada".
    // Empty when the word names no unit.
    static QString normalised(QStringView word);

    // Whether a word (with or without a final period) names a unit.
    static bool isUnit(QStringView word) { return !normalised(word).isEmpty(); }

    // The length of a unit at the start of a text that a blank or the end
    // follows ("fl oz" is the one unit of two words); 0 when it starts with none.
    static qsizetype leadingLength(QStringView text);

    // What makes two written units one for adding: the spelling above for a
    // known unit, otherwise the word itself ignoring case, blanks around it, a
    // final period and a plural "s". Empty for no unit.
    static QString mergeKey(QStringView written);

    // The unit as written, its word turned singular or plural to go with the
    // amount ("cup" becomes "cups" for 2, "Tablespoons" "Tablespoon" for 1);
    // abbreviations and words the table does not know stay as written.
    static QString spelledFor(QStringView written, bool plural);
};

}  // namespace pv::exchange
