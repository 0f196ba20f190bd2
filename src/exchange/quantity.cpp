#include "quantity.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>
#include <numeric>

namespace pv::exchange {

namespace {

using namespace Qt::StringLiterals;

constexpr qint64 kMillion = 1'000'000;

// The nearest number of millionths, for a result too large to keep exactly.
Fraction approximately(long double value) {
    const long double limit = (long double)std::numeric_limits<qint64>::max() / kMillion;
    if (!(value > 0)) {
        return {};
    }
    if (value >= limit) {
        value = limit;
    }
    return Fraction(qint64(std::llroundl(value * kMillion)), kMillion);
}

// One number as a quantity writes it (see Quantity); the range and the
// lookahead are added around it.
const QString kNumber = uR"((?:\d+\s+\d+/\d+|\d+/\d+|\d+(?:[.,]\d+)?\s?[½¼¾]?|[½¼¾]))"_s;
const QString kSeparator = uR"((\s*(?:-|–|—|to\s)\s*))"_s;

// At the start of a text: a number, perhaps a range, then a blank, a letter or the end.
const QRegularExpression& leadingPattern() {
    static const QRegularExpression pattern(
        u"^("_s + kNumber + u")(?:"_s + kSeparator + u"("_s + kNumber + u"))?(?=\\s|$|\\pL)"_s,
        QRegularExpression::UseUnicodePropertiesOption);
    return pattern;
}

// A whole text: a number or a range and nothing else.
const QRegularExpression& wholePattern() {
    static const QRegularExpression pattern(
        u"^\\s*("_s + kNumber + u")(?:"_s + kSeparator + u"("_s + kNumber + u"))?\\s*$"_s,
        QRegularExpression::UseUnicodePropertiesOption);
    return pattern;
}

// The digits of a whole number; nothing when there are too many to be an amount.
std::optional<qint64> wholeNumber(QStringView digits) {
    if (digits.isEmpty() || digits.size() > 12) {
        return std::nullopt;
    }
    qint64 value = 0;
    for (const QChar c : digits) {
        value = value * 10 + c.digitValue();
    }
    return value;
}

struct Number {
    Fraction value;
    bool decimalComma = false;
    bool fractionOnly = false;  // "1/2": the second half of "1-1/2"
};

// The value of a text the number pattern matched; nothing for "1/0" and
// numbers too long for an amount.
std::optional<Number> numberOf(QStringView text) {
    text = text.trimmed();
    Number number;
    const qsizetype slash = text.indexOf(u'/');
    if (slash >= 0) {
        const QStringView before = text.first(slash).trimmed();
        // A mixed number has its whole part before the last blank.
        qsizetype space = before.size() - 1;
        while (space >= 0 && !before[space].isSpace()) {
            --space;
        }
        const auto whole =
            space < 0 ? std::optional<qint64>(0) : wholeNumber(before.first(space).trimmed());
        const auto top = wholeNumber(before.sliced(space + 1));
        const auto bottom = wholeNumber(text.sliced(slash + 1));
        if (!whole || !top || !bottom || *bottom == 0) {
            return std::nullopt;
        }
        number.value = Fraction(*whole) + Fraction(*top, *bottom);
        number.fractionOnly = space < 0;
        return number;
    }
    Fraction glyph;
    if (!text.isEmpty()) {
        switch (text.back().unicode()) {
            case u'½':
                glyph = Fraction(1, 2);
                break;
            case u'¼':
                glyph = Fraction(1, 4);
                break;
            case u'¾':
                glyph = Fraction(3, 4);
                break;
            default:
                break;
        }
        if (!glyph.isZero()) {
            text = text.chopped(1).trimmed();
        }
    }
    if (text.isEmpty()) {
        number.value = glyph;
        number.fractionOnly = true;
        return number;
    }
    const qsizetype point = std::max(text.indexOf(u'.'), text.indexOf(u','));
    const auto whole = wholeNumber(point < 0 ? text : text.first(point));
    if (!whole) {
        return std::nullopt;
    }
    number.value = Fraction(*whole) + glyph;
    if (point >= 0) {
        // Past millionths a decimal is no measure anyone takes.
        const QStringView decimals =
            text.sliced(point + 1).first(std::min<qsizetype>(text.size() - point - 1, 6));
        const auto part = wholeNumber(decimals);
        if (!part) {
            return std::nullopt;
        }
        qint64 scale = 1;
        for (qsizetype i = 0; i < decimals.size(); ++i) {
            scale *= 10;
        }
        number.value = number.value + Fraction(*part, scale);
        number.decimalComma = text[point] == u',';
    }
    return number;
}

}  // namespace

// --- Fraction ---

Fraction::Fraction(qint64 numerator, qint64 denominator) {
    if (denominator <= 0 || numerator <= 0) {
        return;
    }
    const qint64 common = std::gcd(numerator, denominator);
    numerator_ = numerator / common;
    denominator_ = denominator / common;
}

Fraction operator+(const Fraction& a, const Fraction& b) {
    const qint64 common = std::gcd(a.denominator_, b.denominator_);
    qint64 denominator = 0;
    qint64 left = 0;
    qint64 right = 0;
    qint64 numerator = 0;
    if (__builtin_mul_overflow(a.denominator_ / common, b.denominator_, &denominator) ||
        __builtin_mul_overflow(a.numerator_, b.denominator_ / common, &left) ||
        __builtin_mul_overflow(b.numerator_, a.denominator_ / common, &right) ||
        __builtin_add_overflow(left, right, &numerator)) {
        return approximately((long double)a.numerator_ / a.denominator_ +
                             (long double)b.numerator_ / b.denominator_);
    }
    return Fraction(numerator, denominator);
}

Fraction operator*(const Fraction& a, const Fraction& b) {
    if (a.isZero() || b.isZero()) {
        return {};
    }
    const qint64 one = std::gcd(a.numerator_, b.denominator_);
    const qint64 two = std::gcd(b.numerator_, a.denominator_);
    qint64 numerator = 0;
    qint64 denominator = 0;
    if (__builtin_mul_overflow(a.numerator_ / one, b.numerator_ / two, &numerator) ||
        __builtin_mul_overflow(a.denominator_ / two, b.denominator_ / one, &denominator)) {
        return approximately((long double)a.numerator_ / a.denominator_ *
                             ((long double)b.numerator_ / b.denominator_));
    }
    return Fraction(numerator, denominator);
}

Fraction operator/(const Fraction& a, const Fraction& b) {
    if (b.isZero()) {
        return {};
    }
    Fraction inverse;
    inverse.numerator_ = b.denominator_;
    inverse.denominator_ = b.numerator_;
    return a * inverse;
}

std::strong_ordering operator<=>(const Fraction& a, const Fraction& b) {
    const __int128 left = (__int128)a.numerator_ * b.denominator_;
    const __int128 right = (__int128)b.numerator_ * a.denominator_;
    return left <=> right;
}

// --- Quantity ---

std::optional<Quantity> Quantity::parse(QStringView text) {
    const QRegularExpressionMatch match = wholePattern().match(text);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    const auto low = numberOf(match.capturedView(1));
    if (!low) {
        return std::nullopt;
    }
    Quantity quantity;
    quantity.written_ = text.trimmed().toString();
    quantity.low_ = quantity.high_ = low->value;
    quantity.decimalComma_ = low->decimalComma;
    if (match.hasCaptured(3)) {
        const auto high = numberOf(match.capturedView(3));
        if (!high) {
            return std::nullopt;
        }
        const QString separator =
            text.sliced(match.capturedEnd(1), match.capturedStart(3) - match.capturedEnd(1))
                .toString();
        if (separator == u"-"_s && high->fractionOnly && high->value < Fraction(1) &&
            !low->fractionOnly) {
            // "1-1/2" is how some write one and a half.
            quantity.low_ = quantity.high_ = low->value + high->value;
        } else {
            quantity.range_ = true;
            quantity.high_ = high->value;
            // The blanks the first number took belong to the separator.
            const QStringView first = match.capturedView(1);
            qsizetype end = first.size();
            while (end > 0 && first[end - 1].isSpace()) {
                --end;
            }
            quantity.separator_ = first.sliced(end).toString() + separator;
        }
    }
    quantity.writtenLow_ = quantity.low_;
    quantity.writtenHigh_ = quantity.high_;
    return quantity;
}

qsizetype Quantity::leadingLength(QStringView text) {
    const QRegularExpressionMatch match = leadingPattern().match(text);
    if (!match.hasMatch()) {
        return 0;
    }
    qsizetype end = match.capturedEnd(0);
    while (end > 0 && text[end - 1].isSpace()) {
        --end;
    }
    return end;
}

bool Quantity::isMoreThanOne() const {
    return high_ > Fraction(1);
}

Quantity Quantity::scaled(const Fraction& factor) const {
    Quantity result = *this;
    result.low_ = low_ * factor;
    result.high_ = high_ * factor;
    return result;
}

Quantity Quantity::plus(const Quantity& other) const {
    Quantity sum = *this;
    sum.written_.clear();
    sum.low_ = low_ + other.low_;
    sum.high_ = high_ + other.high_;
    if (!range_ && other.range_) {
        sum.range_ = true;
        sum.separator_ = other.separator_;
    }
    return sum;
}

QString Quantity::text() const {
    if (!written_.isEmpty() && low_ == writtenLow_ && high_ == writtenHigh_) {
        return written_;
    }
    if (range_) {
        return format(low_, decimalComma_) + separator_ + format(high_, decimalComma_);
    }
    return format(low_, decimalComma_);
}

QString Quantity::format(const Fraction& value, bool decimalComma) {
    if (value.isZero()) {
        return u"0"_s;
    }
    // Exact, so that a value a hair from a hundredth is not shown either way by chance.
    const __int128 n = value.numerator();
    const __int128 d = value.denominator();
    // Every fraction named here is a multiple of 1/24, so at most one lies
    // within a hundredth.
    for (const qint64 parts : {1, 2, 4, 8, 3}) {
        const __int128 count = (2 * n * parts + d) / (2 * d);  // the nearest number of parts
        const __int128 off = n * parts - count * d;
        if (count < 1 || 100 * (off < 0 ? -off : off) >= d * parts) {
            continue;
        }
        const Fraction near(qint64(count), parts);
        const qint64 whole = near.numerator() / near.denominator();
        const qint64 rest = near.numerator() % near.denominator();
        if (rest == 0) {
            return QString::number(whole);
        }
        const QString fraction = u"%1/%2"_s.arg(rest).arg(near.denominator());
        return whole == 0 ? fraction : QString::number(whole) + u' ' + fraction;
    }
    qint64 hundredths = qint64((200 * n + d) / (2 * d));
    if (hundredths == 0) {
        hundredths = 1;  // a positive amount is never shown as nothing
    }
    QString text = QString::number(hundredths / 100);
    const qint64 cents = hundredths % 100;
    if (cents != 0) {
        QString decimals = u"%1"_s.arg(cents, 2, 10, QLatin1Char('0'));
        if (decimals.endsWith(u'0')) {
            decimals.chop(1);
        }
        text += (decimalComma ? u',' : u'.') + decimals;
    }
    return text;
}

}  // namespace pv::exchange
