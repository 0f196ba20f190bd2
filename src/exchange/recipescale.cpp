#include "recipescale.h"

namespace pv::exchange {

int RecipeScale::writtenServings(const QString& servingSize) {
    qsizetype at = 0;
    while (at < servingSize.size() && !servingSize[at].isDigit()) {
        ++at;
    }
    int servings = 0;
    for (; at < servingSize.size() && servingSize[at].isDigit(); ++at) {
        servings = servings * 10 + servingSize[at].digitValue();
        if (servings > kMostServings) {
            return 0;  // no serving size of a household recipe
        }
    }
    return servings;
}

Fraction RecipeScale::factor(int written, int wanted) {
    return Fraction(wanted, written > 0 ? written : 1);
}

QString RecipeScale::scaledAmount(const QString& amount, const Fraction& factor) {
    if (factor == Fraction(1)) {
        return amount;
    }
    const auto quantity = Quantity::parse(amount);
    return quantity ? quantity->scaled(factor).text() : amount;
}

}  // namespace pv::exchange
