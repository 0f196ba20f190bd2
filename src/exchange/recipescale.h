#pragma once

#include "quantity.h"

#include <QString>

namespace pv::exchange {

// A recipe made for more or fewer servings than it is written for. Only the
// amount box is scaled: a number in the type or ingredient box ("1 (14 oz)
// can", "2-inch piece") is often no amount to multiply, and stays as written.
class RecipeScale {
public:
    // The most servings anyone plans or scales to.
    static constexpr int kMostServings = 999;

    // The servings a recipe is written for: the first whole number of its
    // serving size ("4", "4-6", "Serves 4"), 0 when it gives none.
    static int writtenServings(const QString& servingSize);

    // What turns the written recipe into the one wanted: wanted over written,
    // or wanted alone for a recipe that gives no servings (taken as one).
    static Fraction factor(int written, int wanted);

    // An amount box's text scaled: its quantity multiplied and written as cooks
    // write it; anything that is not a quantity stays as it is.
    static QString scaledAmount(const QString& amount, const Fraction& factor);
};

}  // namespace pv::exchange
