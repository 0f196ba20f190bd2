#include "duration.h"

#include <QRegularExpression>

#include <cmath>

namespace pv::exchange {
namespace {

using namespace Qt::StringLiterals;

constexpr double kLongest = 1e7;  // minutes; more is not a cooking time

std::optional<int> wholeMinutes(double minutes) {
    if (!std::isfinite(minutes) || minutes < 0 || minutes > kLongest) {
        return std::nullopt;
    }
    return int(std::lround(minutes));
}

double number(QStringView text) {
    QString plain = text.toString();
    plain.replace(u',', u'.');
    return plain.isEmpty() ? 0 : plain.toDouble();
}

}  // namespace

std::optional<int> Duration::minutes(QStringView text) {
    static const QRegularExpression iso(
        uR"(^P(?:(\d+(?:[.,]\d+)?)W)?(?:(\d+(?:[.,]\d+)?)D)?(?:T(?:(\d+(?:[.,]\d+)?)H)?(?:(\d+(?:[.,]\d+)?)M)?(?:(\d+(?:[.,]\d+)?)S)?)?$)"_s,
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression words(
        uR"(^(?:(\d+(?:[.,]\d+)?)\s*(?:hours?|hrs?|h)\.?)?\s*(?:(\d+(?:[.,]\d+)?)\s*(?:minutes?|mins?|m)\.?)?$)"_s,
        QRegularExpression::CaseInsensitiveOption);

    QStringView trimmed = text.trimmed();
    if (trimmed.size() > 64) {
        return std::nullopt;
    }
    // "P2H10M": hours say it is a time even without its "T".
    QString withTime;
    if (trimmed.startsWith(u'P', Qt::CaseInsensitive) &&
        !trimmed.contains(u'T', Qt::CaseInsensitive) &&
        trimmed.contains(u'H', Qt::CaseInsensitive)) {
        withTime = u"PT"_s + trimmed.sliced(1).toString();
        trimmed = withTime;
    }
    if (const auto m = iso.match(trimmed); m.hasMatch()) {
        if (trimmed.size() == 1 || trimmed.endsWith(u'T', Qt::CaseInsensitive)) {
            return std::nullopt;  // "P" and "PT" say nothing
        }
        return wholeMinutes(number(m.capturedView(1)) * 7 * 24 * 60 +
                            number(m.capturedView(2)) * 24 * 60 + number(m.capturedView(3)) * 60 +
                            number(m.capturedView(4)) + number(m.capturedView(5)) / 60);
    }
    if (const auto m = words.match(trimmed); m.hasMatch() && !trimmed.isEmpty()) {
        return wholeMinutes(number(m.capturedView(1)) * 60 + number(m.capturedView(2)));
    }
    return std::nullopt;
}

QString Duration::describe(int minutes) {
    const int hours = minutes / 60;
    const int rest = minutes % 60;
    if (hours == 0) {
        return u"%1 min"_s.arg(rest);
    }
    return rest == 0 ? u"%1 hr"_s.arg(hours) : u"%1 hr %2 min"_s.arg(hours).arg(rest);
}

}  // namespace pv::exchange
