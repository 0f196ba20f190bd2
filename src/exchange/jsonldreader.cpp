#include "jsonldreader.h"

#include "duration.h"
#include "htmlpage.h"
#include "jsonldterms.h"
#include "plaintext.h"
#include "readprogress.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>

#include <array>

namespace pv::exchange {
namespace {

using namespace Qt::StringLiterals;

constexpr int kMaxDepth = 64;  // of nested JSON values and instruction lists

// --- text as web pages write it ---

// Lines of a text that may hold HTML: block ends and <br> break lines, other
// tags go, entities are decoded, blanks are folded.
QStringList textLines(QStringView text) {
    QString plain = text.toString();
    if (plain.contains(u'<')) {
        static const QRegularExpression breaks(uR"(<\s*br\s*/?\s*>|</\s*(?:p|li|div|h\d)\s*>)"_s,
                                               QRegularExpression::CaseInsensitiveOption);
        static const QRegularExpression tags(uR"(</?[A-Za-z][^<>]*>)"_s);
        plain.replace(breaks, u"\n"_s);
        plain.replace(tags, u" "_s);
    }
    plain = HtmlPage::decodeEntities(plain);
    static const QRegularExpression lineEnds(u"\r\n|\r|\n"_s);
    QStringList lines;
    for (const QString& line : plain.split(lineEnds)) {
        const QString simple = PlainText::plain(line.simplified()).simplified();
        if (!simple.isEmpty()) {
            lines.append(simple);
        }
    }
    return lines;
}

QString cleanText(QStringView text) {
    return textLines(text).join(u' ');
}

// --- JSON values ---

// Every text a value holds: a string, a number, an object's @value, text or
// name, and each of an array's.
QStringList rawTexts(const QJsonValue& value, int depth = 0) {
    if (value.isString()) {
        return {value.toString()};
    }
    if (value.isDouble()) {
        return {QString::number(value.toDouble(), 'g', 12)};
    }
    QStringList texts;
    if (depth > kMaxDepth) {
        return texts;
    }
    if (value.isArray()) {
        for (const QJsonValue& item : value.toArray()) {
            texts += rawTexts(item, depth + 1);
        }
    } else if (value.isObject()) {
        const QJsonObject object = value.toObject();
        for (const QString& key : {u"@value"_s, u"text"_s, u"name"_s}) {
            if (object.contains(key)) {
                return rawTexts(object.value(key), depth + 1);
            }
        }
        if (object.contains(u"value"_s)) {  // a QuantitativeValue
            const QString unit = rawTexts(object.value(u"unitText"_s), depth + 1).join(u' ');
            for (const QString& number : rawTexts(object.value(u"value"_s), depth + 1)) {
                texts.append(unit.isEmpty() ? number : number + u' ' + unit);
            }
        }
    }
    return texts;
}

QStringList cleanTexts(const QJsonValue& value) {
    QStringList texts;
    for (const QString& raw : rawTexts(value)) {
        if (const QString text = cleanText(raw); !text.isEmpty()) {
            texts.append(text);
        }
    }
    return texts;
}

QString firstClean(const QJsonValue& value) {
    const QStringList texts = cleanTexts(value);
    return texts.isEmpty() ? QString() : texts.front();
}

bool hasType(const QJsonObject& object, QStringView type) {
    for (const QString& name : rawTexts(object.value(u"@type"_s))) {
        const QStringView last =
            QStringView(name).sliced(std::max(name.lastIndexOf(u'/'), name.lastIndexOf(u':')) + 1);
        if (last.compare(type, Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    return false;
}

std::optional<int> minutesOf(const QJsonValue& value) {
    const QString text = firstClean(value);
    return text.isEmpty() ? std::nullopt : Duration::minutes(text);
}

// --- instructions ---

void addInstructions(const QJsonValue& value, QStringList& steps, int depth) {
    if (depth > kMaxDepth) {
        return;
    }
    if (value.isString()) {
        steps += textLines(value.toString());
    } else if (value.isArray()) {
        for (const QJsonValue& item : value.toArray()) {
            addInstructions(item, steps, depth + 1);
        }
    } else if (value.isObject()) {
        const QJsonObject object = value.toObject();
        const QJsonValue items = object.value(u"itemListElement"_s);
        if (hasType(object, u"HowToSection") ||
            (!items.isUndefined() && !object.contains(u"text"_s))) {
            // A section's name heads its steps.
            if (const QString name = firstClean(object.value(u"name"_s)); !name.isEmpty()) {
                steps.append(name);
            }
            addInstructions(items, steps, depth + 1);
            return;
        }
        for (const QString& key : {u"text"_s, u"name"_s, u"description"_s}) {
            if (const QString text = firstClean(object.value(key)); !text.isEmpty()) {
                steps.append(text);
                return;
            }
        }
    }
}

// --- a recipe this program wrote ---

bool isOwnExport(const QJsonObject& recipe) {
    const QJsonValue publisher = recipe.value(u"sdPublisher"_s);
    return publisher.isObject() &&
           publisher.toObject().value(u"name"_s).toString() == jsonld::kPublisher;
}

QString exactText(const QJsonValue& value) {
    return value.isString() ? value.toString() : QString();
}

// The boxes of an exported recipe, or nothing when the values are not the
// writer's (edited by hand or by another program).
std::optional<store::RecipeFields> exactFields(const QJsonObject& recipe) {
    store::RecipeFields fields;

    // Ingredient lines from supply, checked against recipeIngredient.
    std::array<bool, 11> seen{};
    for (const QJsonValue& value : recipe.value(u"supply"_s).toArray()) {
        const QJsonObject item = value.toObject();
        const int line = item.value(u"position"_s).toInt();
        if (line < 1 || line > 10 || seen[line] || !item.value(u"name"_s).isString()) {
            return std::nullopt;
        }
        seen[line] = true;
        const QJsonObject quantity = item.value(u"requiredQuantity"_s).toObject();
        fields[store::amountField(line) - 1] = exactText(quantity.value(u"value"_s));
        fields[store::measureField(line) - 1] = exactText(quantity.value(u"unitText"_s));
        fields[store::ingredientField(line) - 1] = item.value(u"name"_s).toString();
    }
    QStringList listed;
    for (const QJsonValue& value : recipe.value(u"recipeIngredient"_s).toArray()) {
        listed.append(value.toString());
    }
    if (IngredientLine::joinedLines(fields) != listed) {
        return std::nullopt;
    }

    const QJsonValue instructions = recipe.value(u"recipeInstructions"_s);
    if (instructions.isArray()) {
        QStringList lines;
        for (const QJsonValue& step : instructions.toArray()) {
            lines.append(step.toObject().value(u"text"_s).toString());
        }
        fields[store::kDirectionsField - 1] = lines.join(u"\r\n"_s);
    } else {
        fields[store::kDirectionsField - 1] = exactText(instructions);
    }
    fields[store::kServingSizeField - 1] = exactText(recipe.value(u"recipeYield"_s));

    static const QRegularExpression cookTime(uR"(^PT(?:(\d+)H)?(?:(\d+)M)?$)"_s);
    if (recipe.contains(u"cookTime"_s)) {
        const auto time = cookTime.match(recipe.value(u"cookTime"_s).toString());
        if (!time.hasMatch()) {
            return std::nullopt;
        }
        fields[store::kHoursField - 1] = time.captured(1);
        fields[store::kMinutesField - 1] = time.captured(2);
    }
    const QJsonValue method = recipe.value(u"cookingMethod"_s);
    const QJsonArray methods = method.isArray() ? method.toArray() : QJsonArray{method};
    for (const QJsonValue& value : methods) {
        const QString text = value.toString();
        auto between = [&text](const QString& prefix, const QString& suffix, int field,
                               store::RecipeFields& into) {
            if (text.size() >= prefix.size() + suffix.size() && text.startsWith(prefix) &&
                text.endsWith(suffix)) {
                into[field - 1] =
                    text.sliced(prefix.size(), text.size() - prefix.size() - suffix.size());
                return true;
            }
            return false;
        };
        between(jsonld::kOvenPrefix, jsonld::kOvenSuffix, store::kTemperatureField, fields) ||
            between(jsonld::kTimePrefix, jsonld::kHoursSuffix, store::kHoursField, fields) ||
            between(jsonld::kTimePrefix, jsonld::kMinutesSuffix, store::kMinutesField, fields);
    }
    return fields;
}

// --- any recipe ---

RecipeDraft draftOf(const QJsonObject& recipe) {
    RecipeDraft draft;
    if (isOwnExport(recipe)) {
        draft.exact = exactFields(recipe);
        if (draft.exact) {
            draft.name = exactText(recipe.value(u"name"_s));
            draft.category = exactText(recipe.value(u"recipeCategory"_s));
            return draft;
        }
    }
    draft.name = firstClean(recipe.value(u"name"_s));
    if (draft.name.isEmpty()) {
        draft.name = firstClean(recipe.value(u"headline"_s));
    }
    draft.category = cleanTexts(recipe.value(u"recipeCategory"_s)).join(u", "_s);

    QJsonValue ingredients = recipe.value(u"recipeIngredient"_s);
    if (ingredients.isUndefined()) {
        ingredients = recipe.value(u"ingredients"_s);  // the older name
    }
    for (const QString& text : cleanTexts(ingredients)) {
        draft.ingredients.append(IngredientLine::parse(text));
    }
    addInstructions(recipe.value(u"recipeInstructions"_s), draft.steps, 0);
    draft.yields = cleanTexts(recipe.value(u"recipeYield"_s));
    if (draft.yields.isEmpty()) {
        draft.yields = cleanTexts(recipe.value(u"yield"_s));
    }
    draft.cookMinutes = minutesOf(recipe.value(u"cookTime"_s));
    draft.prepMinutes = minutesOf(recipe.value(u"prepTime"_s));
    draft.totalMinutes = minutesOf(recipe.value(u"totalTime"_s));

    static const QRegularExpression oven(uR"(^oven\s+(\d{1,3})\s*(?:°\s*F?|F)?$)"_s,
                                         QRegularExpression::CaseInsensitiveOption);
    for (const QString& method : cleanTexts(recipe.value(u"cookingMethod"_s))) {
        if (const auto match = oven.match(method); match.hasMatch()) {
            draft.temperature = match.captured(1);
            break;
        }
    }
    return draft;
}

void findRecipes(const QJsonValue& value, QList<QJsonObject>& found, QSet<QString>& ids,
                 int depth) {
    if (depth > kMaxDepth) {
        return;
    }
    if (value.isArray()) {
        for (const QJsonValue& item : value.toArray()) {
            findRecipes(item, found, ids, depth + 1);
        }
    } else if (value.isObject()) {
        const QJsonObject object = value.toObject();
        if (hasType(object, u"Recipe")) {
            // A page may give one recipe twice, under one @id.
            const QString id = object.value(u"@id"_s).toString();
            if (id.isEmpty() || !ids.contains(id)) {
                ids.insert(id);
                found.append(object);
            }
            return;
        }
        for (auto it = object.begin(); it != object.end(); ++it) {
            if (it->isArray() || it->isObject()) {
                findRecipes(*it, found, ids, depth + 1);
            }
        }
    }
}

// The JSON values of a text, forgiving a wrapper and what follows a value.
QList<QJsonValue> parseValues(QStringView text) {
    QStringView body = text.trimmed();
    for (const auto& [start, end] :
         {std::pair{u"//<![CDATA["_s, u"//]]>"_s}, std::pair{u"<![CDATA["_s, u"]]>"_s},
          std::pair{u"<!--"_s, u"-->"_s}}) {
        if (body.startsWith(start)) {
            body = body.sliced(start.size());
            if (body.trimmed().endsWith(end)) {
                body = body.trimmed().chopped(end.size());
            }
            body = body.trimmed();
        }
    }
    const QByteArray data = body.toUtf8();
    QList<QJsonValue> values;
    qsizetype at = 0;
    while (at < data.size()) {
        const char c = data[at];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ';' || c == ',') {
            ++at;
            continue;
        }
        if (c != '{' && c != '[') {
            break;
        }
        // Views, not copies: a file may hold thousands of values one after another.
        QJsonParseError error;
        const qsizetype left = data.size() - at;
        QJsonDocument document =
            QJsonDocument::fromJson(QByteArray::fromRawData(data.constData() + at, left), &error);
        qsizetype used = left;
        if (document.isNull() && error.error == QJsonParseError::GarbageAtEnd && error.offset > 0) {
            used = error.offset;
            document = QJsonDocument::fromJson(QByteArray::fromRawData(data.constData() + at, used),
                                               &error);
        }
        if (document.isNull()) {
            break;
        }
        values.append(document.isArray() ? QJsonValue(document.array())
                                         : QJsonValue(document.object()));
        at += used;
    }
    return values;
}

// The values of a JSON text, also of one written with HTML escapes.
QList<QJsonValue> valuesOf(QStringView text) {
    QList<QJsonValue> values = parseValues(text);
    if (values.isEmpty() && text.contains(u"&quot;"_s)) {
        values = parseValues(HtmlPage::decodeEntities(text));
    }
    return values;
}

QList<RecipeDraft> draftsOf(const QList<QJsonValue>& values) {
    QList<QJsonObject> found;
    QSet<QString> ids;
    for (const QJsonValue& value : values) {
        findRecipes(value, found, ids, 0);
    }
    QList<RecipeDraft> drafts;
    for (const QJsonObject& recipe : found) {
        drafts.append(draftOf(recipe));
    }
    return drafts;
}

}  // namespace

std::optional<QList<RecipeDraft>> JsonLdReader::readJson(QByteArrayView utf8, ReadProgress&) {
    const QList<QJsonValue> values = valuesOf(QString::fromUtf8(utf8));
    if (values.isEmpty()) {
        return std::nullopt;
    }
    return draftsOf(values);
}

QList<RecipeDraft> JsonLdReader::readHtml(QByteArrayView bytes, ReadProgress& progress) {
    progress.phase(10, 60);
    // All blocks at once: a page may repeat a recipe in a second block.
    QList<QJsonValue> values;
    for (const QString& script : HtmlPage::ldJsonScripts(bytes, progress)) {
        values += valuesOf(script);
    }
    return draftsOf(values);
}

}  // namespace pv::exchange
