#include "boxmapper.h"

#include "duration.h"
#include "plaintext.h"

#include <QRegularExpression>
#include <QSet>

namespace pv::exchange {
namespace {

using namespace Qt::StringLiterals;
using store::RecipeFields;

const QString kLineEnd = u"\r\n"_s;
constexpr int kMaxServings = 999;
constexpr int kMaxHours = 99;

// The serving size and whether the yield says more than that number.
struct Servings {
    QString size;
    QStringList more;
};

Servings servingsOf(const QStringList& yields) {
    static const QRegularExpression firstNumber(uR"((\d+))"_s);
    static const QRegularExpression justServings(
        uR"(^\s*\d+\s*(?:servings?|portions?|people|persons?|serves)?\.?\s*$)"_s,
        QRegularExpression::CaseInsensitiveOption);
    Servings servings;
    QSet<QString> told;
    for (const QString& yield : yields) {
        const QString text = yield.simplified();
        if (text.isEmpty()) {
            continue;
        }
        const auto number = firstNumber.match(text);
        const bool usable = number.hasMatch() && number.capturedLength(1) <= 4 &&
                            number.captured(1).toInt() > 0 &&
                            number.captured(1).toInt() <= kMaxServings;
        if (servings.size.isEmpty() && usable) {
            servings.size = QString::number(number.captured(1).toInt());
        }
        if ((!usable || !justServings.match(text).hasMatch()) && !told.contains(text)) {
            told.insert(text);
            servings.more.append(text);
        }
    }
    return servings;
}

void fillTime(RecipeFields& fields, QStringList& notes, const RecipeDraft& draft) {
    std::optional<int> cook = draft.cookMinutes;
    bool totalUsed = false;
    if (!cook && draft.totalMinutes) {
        totalUsed = true;
        cook = draft.totalMinutes;
        if (draft.prepMinutes && *draft.prepMinutes < *draft.totalMinutes) {
            cook = *draft.totalMinutes - *draft.prepMinutes;
        }
    }
    if (draft.prepMinutes && *draft.prepMinutes > 0) {
        notes.append(u"Prep time: "_s + Duration::describe(*draft.prepMinutes));
    }
    if (draft.totalMinutes && !totalUsed && *draft.totalMinutes > 0) {
        notes.append(u"Total time: "_s + Duration::describe(*draft.totalMinutes));
    }
    if (!cook || *cook <= 0) {
        return;
    }
    if (*cook / 60 > kMaxHours) {
        notes.append(u"Cook time: "_s + Duration::describe(*cook));
        return;
    }
    if (*cook / 60 > 0) {
        fields[store::kHoursField - 1] = QString::number(*cook / 60);
    }
    if (*cook % 60 > 0) {
        fields[store::kMinutesField - 1] = QString::number(*cook % 60);
    }
}

RecipeFields fieldsOf(const RecipeDraft& draft) {
    RecipeFields fields;
    QStringList blocks;

    const QList<IngredientLine>& grid = draft.ingredients.grid();
    for (int line = 1; line <= grid.size(); ++line) {
        const IngredientLine& ingredient = grid[line - 1];
        fields[store::amountField(line) - 1] = ingredient.amount;
        fields[store::measureField(line) - 1] = ingredient.measure;
        fields[store::ingredientField(line) - 1] = ingredient.ingredient;
    }
    if (draft.ingredients.size() > grid.size()) {
        const QString heading = u"More ingredients:"_s + kLineEnd;
        QString more;
        more.reserve(heading.size() + draft.ingredients.more().size());
        more += heading;
        more += draft.ingredients.more();
        blocks.append(more);
    }
    if (!draft.steps.isEmpty()) {
        blocks.append(draft.steps);
    }

    QStringList notes;
    const Servings servings = servingsOf(draft.yields);
    fields[store::kServingSizeField - 1] = servings.size;
    if (!servings.more.isEmpty()) {
        notes.append(u"Yield: "_s + servings.more.join(u"; "_s));
    }
    fillTime(fields, notes, draft);
    if (!notes.isEmpty()) {
        blocks.append(notes.join(kLineEnd));
    }

    static const QRegularExpression temperature(uR"(^\d{1,3}$)"_s);
    if (temperature.match(draft.temperature).hasMatch()) {
        fields[store::kTemperatureField - 1] = draft.temperature;
    }
    fields[store::kDirectionsField - 1] =
        blocks.size() == 1 ? blocks.front() : blocks.join(kLineEnd + kLineEnd);
    return fields;
}

}  // namespace

ImportedRecipe BoxMapper::map(const RecipeDraft& draft, const QString& fallbackName) {
    ImportedRecipe imported;
    RecipeRecord& record = imported.record;
    record.name = draft.name.isEmpty() && !draft.exact ? fallbackName : draft.name;
    record.category = draft.category;
    record.fields = draft.exact ? *draft.exact : fieldsOf(draft);

    QSet<char32_t> seen;
    for (QString* text : {&record.name, &record.category}) {
        *text = PlainText::plain(*text);
    }
    PlainText::collectUnencodable(record.name, imported.unencodable, seen);
    for (QString& field : record.fields) {
        // The readers' texts are plain already; an exported file may have been edited.
        if (draft.exact) {
            field = PlainText::plain(field);
        }
        PlainText::collectUnencodable(field, imported.unencodable, seen);
    }
    // The category is not filled in, so it does not stop an import.
    return imported;
}

}  // namespace pv::exchange
