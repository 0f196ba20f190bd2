#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace pv::exchange {

// Lengths of time as recipes on the web write them.
class Duration {
public:
    // Whole minutes of an ISO 8601 duration ("PT1H30M", "P1DT2H", "PT90M",
    // "PT0.5H", and "P2H10M", whose hours make up for the missing "T"; weeks
    // and days count 7 × 24 and 24 hours, seconds are rounded to the nearest
    // minute), or of a plain text such as "1 hour 30 minutes", "1 hr 30 min"
    // or "45 mins". Years and months, and anything else, give nothing.
    static std::optional<int> minutes(QStringView text);

    // The time as a reader would write it: "1 hr 5 min", "45 min", "2 hr".
    static QString describe(int minutes);
};

}  // namespace pv::exchange
