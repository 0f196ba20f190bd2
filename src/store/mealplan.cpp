#include "mealplan.h"

#include "cp1252.h"
#include "fieldreader.h"

#include <algorithm>

namespace pv::store {

namespace {

const QString kDayFormat = QStringLiteral("yyyy-MM-dd");

// A whole number of digits only, from 1 to most; 0 for anything else.
int servingsOf(QByteArrayView text) {
    if (text.isEmpty() || text.size() > 3) {
        return 0;
    }
    int servings = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return 0;
        }
        servings = servings * 10 + (c - '0');
    }
    return servings <= kMostPlannedServings ? servings : 0;
}

void appendField(QByteArray& out, const QString& text, bool last = false) {
    out.append('"');
    out.append(encodeCp1252(text));
    out.append(last ? "\"\r\n" : "\",");
}

}  // namespace

QDate weekStart(const QDate& day) {
    return day.addDays(1 - day.dayOfWeek());
}

QString mealPlanFileName(const QDate& day) {
    int year = 0;
    const int week = day.weekNumber(&year);
    return QStringLiteral("%1-W%2.txt")
        .arg(year, 4, 10, QLatin1Char('0'))
        .arg(week, 2, 10, QLatin1Char('0'));
}

QByteArray formatMealPlan(const MealPlanWeek& week) {
    QList<PlannedRecipe> recipes = week.recipes;
    std::stable_sort(recipes.begin(), recipes.end(),
                     [](const PlannedRecipe& a, const PlannedRecipe& b) { return a.day < b.day; });
    QByteArray out;
    for (const PlannedRecipe& planned : std::as_const(recipes)) {
        appendField(out, planned.day.toString(kDayFormat));
        appendField(out, planned.category);
        appendField(out, planned.recipe);
        appendField(out, QString::number(planned.servings), true);
    }
    for (const QByteArray& line : week.unreadable) {
        out.append(line);
        out.append("\r\n");
    }
    return out;
}

qsizetype findPlanned(const MealPlanWeek& in, const MealPlanWeek& from, qsizetype index) {
    if (index < 0 || index >= from.recipes.size()) {
        return -1;
    }
    const PlannedRecipe& wanted = from.recipes[index];
    const auto alike = [&wanted](const PlannedRecipe& planned) {
        return planned.day == wanted.day && planned.category == wanted.category &&
               planned.recipe == wanted.recipe;
    };
    // Which one of its like, and of its exact like, it was.
    qsizetype nth = 0;
    qsizetype nthSame = 0;
    for (qsizetype i = 0; i < index; ++i) {
        if (alike(from.recipes[i])) {
            ++nth;
            nthSame += from.recipes[i].servings == wanted.servings ? 1 : 0;
        }
    }
    QList<qsizetype> like;
    QList<qsizetype> same;
    for (qsizetype i = 0; i < in.recipes.size(); ++i) {
        if (alike(in.recipes[i])) {
            like.append(i);
            if (in.recipes[i].servings == wanted.servings) {
                same.append(i);
            }
        }
    }
    if (nthSame < same.size()) {
        return same[nthSame];
    }
    // Other servings: the same one only when its like are as many as they were,
    // for one of them may have gone instead.
    qsizetype count = 0;
    for (const PlannedRecipe& planned : from.recipes) {
        count += alike(planned) ? 1 : 0;
    }
    return like.size() == count ? like[nth] : -1;
}

MealPlanWeek parseMealPlan(QByteArrayView bytes, const QDate& monday) {
    MealPlanWeek week;
    const QDate sunday = monday.addDays(6);
    const qsizetype size = bytes.size();
    qsizetype start = 0;
    while (start < size) {
        // A line ends at a line end outside double quotes, as a field may hold one.
        qsizetype end = start;
        bool quoted = false;
        while (end < size && (quoted || (bytes[end] != '\r' && bytes[end] != '\n'))) {
            quoted = bytes[end] == '"' ? !quoted : quoted;
            ++end;
        }
        if (quoted) {
            // A quote never closed holds no line end: the damaged line stays one line, the
            // lines after it are read, and it is written back as it was, not a line longer.
            end = start;
            while (end < size && bytes[end] != '\r' && bytes[end] != '\n') {
                ++end;
            }
        }
        const QByteArrayView line = bytes.sliced(start, end - start);
        start = end + (end + 1 < size && bytes[end] == '\r' && bytes[end + 1] == '\n' ? 2 : 1);
        if (line.trimmed().isEmpty()) {
            continue;
        }
        QuotedFieldReader reader(line);
        QList<QByteArrayView> fields;
        while (fields.size() <= 4) {
            const auto field = reader.next();
            if (!field) {
                break;
            }
            fields.append(*field);
        }
        const QDate day = fields.size() == 4
                              ? QDate::fromString(QString::fromLatin1(fields[0]), kDayFormat)
                              : QDate();
        const int servings = fields.size() == 4 ? servingsOf(fields[3]) : 0;
        if (!day.isValid() || day < monday || day > sunday || fields[1].isEmpty() ||
            fields[2].isEmpty() || servings == 0) {
            week.unreadable.append(line.toByteArray());
            continue;
        }
        week.recipes.append({day, decodeCp1252(fields[1]), decodeCp1252(fields[2]), servings});
    }
    std::stable_sort(week.recipes.begin(), week.recipes.end(),
                     [](const PlannedRecipe& a, const PlannedRecipe& b) { return a.day < b.day; });
    return week;
}

}  // namespace pv::store
