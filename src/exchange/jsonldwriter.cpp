#include "jsonldwriter.h"

#include "ingredientline.h"
#include "jsonldterms.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace pv::exchange {
namespace {

using namespace Qt::StringLiterals;

bool isDigits(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

QJsonArray supplyOf(const store::RecipeFields& fields) {
    QJsonArray supply;
    for (int line = 1; line <= 10; ++line) {
        const IngredientLine ingredient = IngredientLine::fromFields(fields, line);
        if (ingredient.amount.isEmpty() && ingredient.measure.isEmpty() &&
            ingredient.ingredient.isEmpty()) {
            continue;
        }
        QJsonObject item{{u"@type"_s, u"HowToSupply"_s},
                         {u"position"_s, line},
                         {u"name"_s, ingredient.ingredient}};
        if (!ingredient.amount.isEmpty() || !ingredient.measure.isEmpty()) {
            QJsonObject quantity{{u"@type"_s, u"QuantitativeValue"_s}};
            if (!ingredient.amount.isEmpty()) {
                quantity.insert(u"value"_s, ingredient.amount);
            }
            if (!ingredient.measure.isEmpty()) {
                quantity.insert(u"unitText"_s, ingredient.measure);
            }
            item.insert(u"requiredQuantity"_s, quantity);
        }
        supply.append(item);
    }
    return supply;
}

QJsonValue instructionsOf(const QString& directions) {
    const QStringList lines = directions.split(u"\r\n"_s);
    if (std::any_of(lines.begin(), lines.end(),
                    [](const QString& line) { return line.trimmed().isEmpty(); })) {
        return directions;
    }
    QJsonArray steps;
    for (const QString& line : lines) {
        steps.append(QJsonObject{{u"@type"_s, u"HowToStep"_s}, {u"text"_s, line}});
    }
    return steps;
}

}  // namespace

QJsonObject JsonLdWriter::recipeObject(const RecipeRecord& recipe) {
    const store::RecipeFields& fields = recipe.fields;
    QJsonObject object{
        {u"@type"_s, u"Recipe"_s},
        {u"name"_s, recipe.name},
        {u"recipeIngredient"_s, QJsonArray::fromStringList(IngredientLine::joinedLines(fields))},
        {u"sdPublisher"_s,
         QJsonObject{{u"@type"_s, u"Organization"_s}, {u"name"_s, jsonld::kPublisher}}},
    };
    if (!recipe.category.isEmpty()) {
        object.insert(u"recipeCategory"_s, recipe.category);
    }
    if (const QJsonArray supply = supplyOf(fields); !supply.isEmpty()) {
        object.insert(u"supply"_s, supply);
    }
    if (const QString& directions = fields[store::kDirectionsField - 1]; !directions.isEmpty()) {
        object.insert(u"recipeInstructions"_s, instructionsOf(directions));
    }
    if (const QString& size = fields[store::kServingSizeField - 1]; !size.isEmpty()) {
        object.insert(u"recipeYield"_s, size);
    }

    QStringList methods;
    if (const QString& oven = fields[store::kTemperatureField - 1]; !oven.isEmpty()) {
        methods.append(jsonld::kOvenPrefix + oven + jsonld::kOvenSuffix);
    }
    const QString& hours = fields[store::kHoursField - 1];
    const QString& minutes = fields[store::kMinutesField - 1];
    if (isDigits(hours) && isDigits(minutes)) {
        if (!hours.isEmpty() || !minutes.isEmpty()) {
            object.insert(u"cookTime"_s, u"PT"_s + (hours.isEmpty() ? QString() : hours + u'H') +
                                             (minutes.isEmpty() ? QString() : minutes + u'M'));
        }
    } else {
        // A duration cannot say "1½"; the boxes go as text.
        if (!hours.isEmpty()) {
            methods.append(jsonld::kTimePrefix + hours + jsonld::kHoursSuffix);
        }
        if (!minutes.isEmpty()) {
            methods.append(jsonld::kTimePrefix + minutes + jsonld::kMinutesSuffix);
        }
    }
    if (methods.size() == 1) {
        object.insert(u"cookingMethod"_s, methods.front());
    } else if (!methods.isEmpty()) {
        object.insert(u"cookingMethod"_s, QJsonArray::fromStringList(methods));
    }
    return object;
}

QByteArray JsonLdWriter::write(const RecipeRecord& recipe) {
    QJsonObject object = recipeObject(recipe);
    object.insert(u"@context"_s, jsonld::kContext);
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}

QByteArray JsonLdWriter::write(const QList<RecipeRecord>& recipes) {
    QJsonArray graph;
    for (const RecipeRecord& recipe : recipes) {
        graph.append(recipeObject(recipe));
    }
    const QJsonObject document{{u"@context"_s, jsonld::kContext}, {u"@graph"_s, graph}};
    // Without indentation: a whole collection is half the size.
    return QJsonDocument(document).toJson(QJsonDocument::Compact);
}

}  // namespace pv::exchange
