#pragma once

#include <QList>
#include <QMetaType>
#include <QString>

namespace pv::find {

// One recipe that holds every word of a query.
struct Match {
    // Where the line that is shown was found.
    enum class Place { Ingredient, Directions, Temperature, ServingSize, CookingTime, Name };

    // As the category list gives it, so the browser's drop-down has it.
    QString category;
    // As the browser lists it, so the browser's file list has it. It is also
    // the recipe's name, which the browser shows in its name box.
    QString fileName;
    Place place = Place::Name;
    // 1 to 10 for an ingredient line, otherwise 0.
    int ingredientLine = 0;
    // The first line holding a query word, as the user would want to see it:
    // "Ingredient 3: 2 cups crème fraîche", a line of the directions, "Oven
    // temperature: 350 F", "Serving size: 8", "Cooking time: 1 h 15 min", or
    // the recipe's name when only the name holds a word. At most kLineLength
    // characters, cut around the word with "…".
    QString line;

    const QString& recipeName() const { return fileName; }

    static constexpr int kLineLength = 120;
};

using MatchList = QList<Match>;

}  // namespace pv::find

Q_DECLARE_METATYPE(pv::find::Match)
