#pragma once

#include "store.h"

#include <QMap>

namespace pv::test {

// A recipe file of one record: the given fields (from 1) quoted, every other field "".
inline QByteArray record(const QMap<int, QByteArray>& set = {}) {
    QList<QByteArray> fields(store::kRecipeFieldCount);
    for (auto it = set.cbegin(); it != set.cend(); ++it) {
        fields[it.key() - 1] = it.value();
    }
    return '"' + fields.join("\",\"") + "\"\r\n";
}

// A MealMaster file (UTF-8) of one small recipe per title.
inline QByteArray mealMaster(const QStringList& titles) {
    QByteArray file;
    for (const QString& title : titles) {
        file +=
            "MMMMM----- Recipe via Meal-Master (tm) v8.05\r\n \r\n      Title: " + title.toUtf8() +
            "\r\n Categories: Test\r\n      Yield: 4 servings\r\n \r\n"
            "      1 c  Flour\r\n \r\n  Mix well.\r\n \r\nMMMMM\r\n\r\n";
    }
    return file;
}

// "field=text" entries into recipe fields.
inline store::RecipeFields recipe(const QStringList& set) {
    store::RecipeFields fields;
    for (const QString& entry : set) {
        fields[entry.section(u'=', 0, 0).toInt() - 1] = entry.section(u'=', 1);
    }
    return fields;
}

// "ok", "refused: <user message>", "<number> <description>" or, for the
// temporary-file failures, the description: one string to compare.
template <typename T>
QString said(const store::Outcome<T>& outcome) {
    const store::Failure failure = outcome.ok() ? store::Failure{} : outcome.failure();
    return outcome.ok()          ? QStringLiteral("ok")
           : failure.isRefusal() ? QStringLiteral("refused: ") + failure.userMessage
           : failure.number != 0 ? QString::number(failure.number) + u' ' + failure.description
                                 : failure.description;
}

}  // namespace pv::test
