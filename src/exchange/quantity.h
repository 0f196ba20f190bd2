#pragma once

#include <QString>
#include <QStringView>

#include <compare>
#include <optional>

namespace pv::exchange {

// An exact, non-negative fraction in lowest terms. Scaling a recipe by 3 and
// then by 1/3 must give back exactly what was written, which floating point
// does not promise. A result too large to hold exactly is rounded to
// millionths; amounts never come near that.
class Fraction {
public:
    constexpr Fraction() = default;
    // A negative or zero denominator gives zero.
    Fraction(qint64 numerator, qint64 denominator = 1);

    qint64 numerator() const { return numerator_; }
    qint64 denominator() const { return denominator_; }
    bool isZero() const { return numerator_ == 0; }
    double toDouble() const { return double(numerator_) / double(denominator_); }

    friend Fraction operator+(const Fraction& a, const Fraction& b);
    friend Fraction operator*(const Fraction& a, const Fraction& b);
    // Division by zero gives zero.
    friend Fraction operator/(const Fraction& a, const Fraction& b);
    friend bool operator==(const Fraction&, const Fraction&) = default;
    friend std::strong_ordering operator<=>(const Fraction& a, const Fraction& b);

private:
    qint64 numerator_ = 0;
    qint64 denominator_ = 1;
};

// An amount as cooks write it: a whole number ("2"), a decimal with a point or
// a comma ("1.5", "0,25"), a fraction ("1/2"), a mixed number ("1 1/2"), the
// fractions Windows-1252 holds ("½", "¼", "¾", also after a number: "2½",
// "2 ½"), or a range of two of them ("2-3", "2 – 3", "2 to 3"). The import,
// the recipe browser's scaling and the shopping list all read amounts here.
class Quantity {
public:
    // The quantity a whole text is, blanks around it aside; nothing for
    // anything else ("pinch", "to taste", "", "1/0").
    static std::optional<Quantity> parse(QStringView text);

    // The length of a quantity at the start of a text that a blank, a letter
    // or the end follows ("200" of "200g", "2-3" of "2-3 cloves", nothing of
    // "2-inch piece"); 0 when the text starts with none. What it covers need
    // not parse to a value ("1/0").
    static qsizetype leadingLength(QStringView text);

    Fraction low() const { return low_; }
    // The upper end of a range; the same as low() for a single number.
    Fraction high() const { return high_; }
    bool isRange() const { return range_; }
    // Whether it calls for the plural: more than one ("1 1/2 cups", "1-2 cups").
    bool isMoreThanOne() const;

    // Every end multiplied by factor.
    Quantity scaled(const Fraction& factor) const;
    // The sum: a range plus a number adds the number to both ends.
    Quantity plus(const Quantity& other) const;

    // The quantity as cooks write it: exactly as it was written while its
    // value is unchanged; otherwise each end by format(), a range joined as it
    // was written.
    QString text() const;

    // A number as cooks write it: halves, thirds, quarters and eighths as
    // fractions ("1 1/2", "2/3", "3/8"; within a hundredth counts, so 0.333 is
    // "1/3"), anything else with at most two decimals ("1.25" is "1 1/4", but
    // "0.7" stays), never "0.3333"; a comma instead of the point when asked.
    // A positive amount too small to show is "0.01".
    static QString format(const Fraction& value, bool decimalComma = false);

private:
    QString written_;
    Fraction writtenLow_;
    Fraction writtenHigh_;
    Fraction low_;
    Fraction high_;
    bool range_ = false;
    bool decimalComma_ = false;
    QString separator_;  // between the ends of a range, as written ("-", " to ")
};

}  // namespace pv::exchange
