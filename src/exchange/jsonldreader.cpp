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

constexpr int kMaxDepth = 64;     // of nested JSON values and instruction lists
constexpr int kMaxTextDepth = 8;  // of values whose text makes up one text
// Characters of text built from several values, beyond the file's own size.
constexpr qsizetype kBuiltTextAllowance = 1 << 20;

// What a read carries through the values it walks.
struct Walk {
    ReadProgress& progress;
    qsizetype budget;  // characters of built text still allowed
    qsizetype done = 0;
    qsizetype total = 1;
    bool stopped() { return !progress.step(done, total); }
};

// --- text as web pages write it ---

// Whether a line can be taken as it is: printable ASCII without markup,
// single blanks.
bool isPlainLine(QStringView text) {
    if (text.isEmpty() || text.front() == u' ' || text.back() == u' ') {
        return false;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c > 0x7E || c < 0x20 || c == u'<' || c == u'&' || (c == u' ' && text[i + 1] == u' ')) {
            return false;
        }
    }
    return true;
}

// Calls take(line) for each line of a text that may hold HTML: tags and
// entities are read by the HTML parser, blanks are folded, characters
// Windows-1252 lacks made plain; empty lines are left out.
template <typename Take>
void forEachLine(QStringView text, Take take) {
    if (isPlainLine(text)) {
        take(text.toString());
        return;
    }
    auto clean = [&take](const QString& line) {
        if (QString simple = PlainText::plain(line).simplified(); !simple.isEmpty()) {
            take(simple);
        }
    };
    if (text.contains(u'<') || text.contains(u'&')) {
        for (const QString& line : HtmlPage::textLines(text)) {
            clean(line);
        }
        return;
    }
    for (qsizetype start = 0; start <= text.size();) {
        qsizetype end = start;
        while (end < text.size() && text[end] != u'\r' && text[end] != u'\n') {
            ++end;
        }
        clean(text.sliced(start, end - start).toString());
        start = end + 1;
    }
}

QString cleanText(QStringView text) {
    QStringList lines;
    forEachLine(text, [&lines](const QString& line) { lines.append(line); });
    return lines.size() == 1 ? lines.front() : lines.join(u' ');
}

// --- JSON values ---

QString firstText(const QJsonValue& value, Walk& walk, int depth);

// Calls take(text) for every text a value holds, in order, until take returns
// false: a string, a number, an object's @value, text or name, a
// QuantitativeValue's first value and unit, and each of an array's. Returns
// false when stopped.
template <typename Take>
bool forEachText(const QJsonValue& value, Walk& walk, int depth, Take take) {
    if (value.isString()) {
        return take(value.toString());
    }
    if (value.isDouble()) {
        return take(QString::number(value.toDouble(), 'g', 12));
    }
    if (depth >= kMaxTextDepth) {
        return true;
    }
    if (value.isArray()) {
        for (const QJsonValue& item : value.toArray()) {
            if (!forEachText(item, walk, depth + 1, take)) {
                return false;
            }
        }
        return true;
    }
    const QJsonObject object = value.toObject();
    for (const QString& key : {u"@value"_s, u"text"_s, u"name"_s}) {
        if (object.contains(key)) {
            return forEachText(object.value(key), walk, depth + 1, take);
        }
    }
    if (!object.contains(u"value"_s)) {
        return true;
    }
    // One quantity: its first value and its first unit, within the budget.
    const QString number = firstText(object.value(u"value"_s), walk, depth + 1);
    if (number.isEmpty()) {
        return true;
    }
    const QString unit = firstText(object.value(u"unitText"_s), walk, depth + 1);
    const qsizetype size = number.size() + (unit.isEmpty() ? 0 : 1 + unit.size());
    if (size > walk.budget) {
        walk.budget = 0;
        return true;
    }
    walk.budget -= size;
    return take(unit.isEmpty() ? number : number + u' ' + unit);
}

// Keeps the first text it is given.
struct FirstText {
    QString& found;
    bool operator()(QString text) const {
        found = std::move(text);
        return false;
    }
};

QString firstText(const QJsonValue& value, Walk& walk, int depth) {
    QString found;
    forEachText(value, walk, depth, FirstText{found});
    return found;
}

QStringList rawTexts(const QJsonValue& value, Walk& walk) {
    QStringList texts;
    forEachText(value, walk, 0, [&texts](QString text) {
        texts.append(std::move(text));
        return true;
    });
    return texts;
}

QStringList cleanTexts(const QJsonValue& value, Walk& walk) {
    QStringList texts;
    forEachText(value, walk, 0, [&texts](const QString& raw) {
        if (QString text = cleanText(raw); !text.isEmpty()) {
            texts.append(std::move(text));
        }
        return true;
    });
    return texts;
}

QString firstClean(const QJsonValue& value, Walk& walk) {
    const QStringList texts = cleanTexts(value, walk);
    return texts.isEmpty() ? QString() : texts.front();
}

bool hasType(const QJsonObject& object, QStringView type, Walk& walk) {
    const QJsonValue types = object.value(u"@type"_s);
    if (types.isUndefined()) {
        return false;
    }
    for (const QString& name : rawTexts(types, walk)) {
        const QStringView last =
            QStringView(name).sliced(std::max(name.lastIndexOf(u'/'), name.lastIndexOf(u':')) + 1);
        if (last.compare(type, Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    return false;
}

std::optional<int> minutesOf(const QJsonValue& value, Walk& walk) {
    const QString text = firstClean(value, walk);
    return text.isEmpty() ? std::nullopt : Duration::minutes(text);
}

// --- instructions ---

void addInstructions(const QJsonValue& value, RecipeDraft& draft, Walk& walk, int depth) {
    if (depth > kMaxDepth || walk.stopped()) {
        return;
    }
    if (value.isString()) {
        forEachLine(value.toString(), [&draft](const QString& line) { draft.addStep(line); });
    } else if (value.isArray()) {
        for (const QJsonValue& item : value.toArray()) {
            addInstructions(item, draft, walk, depth + 1);
        }
    } else if (value.isObject()) {
        const QJsonObject object = value.toObject();
        const QJsonValue items = object.value(u"itemListElement"_s);
        if (hasType(object, u"HowToSection", walk) ||
            (!items.isUndefined() && !object.contains(u"text"_s))) {
            // A section's name heads its steps.
            if (const QString name = firstClean(object.value(u"name"_s), walk); !name.isEmpty()) {
                draft.addStep(name);
            }
            addInstructions(items, draft, walk, depth + 1);
            return;
        }
        for (const QString& key : {u"text"_s, u"name"_s, u"description"_s}) {
            if (const QString text = firstClean(object.value(key), walk); !text.isEmpty()) {
                draft.addStep(text);
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

RecipeDraft draftOf(const QJsonObject& recipe, Walk& walk) {
    RecipeDraft draft;
    if (isOwnExport(recipe)) {
        if (auto fields = exactFields(recipe)) {
            draft.exact = std::make_shared<const store::RecipeFields>(std::move(*fields));
            draft.name = exactText(recipe.value(u"name"_s));
            draft.category = exactText(recipe.value(u"recipeCategory"_s));
            return draft;
        }
    }
    draft.name = firstClean(recipe.value(u"name"_s), walk);
    if (draft.name.isEmpty()) {
        draft.name = firstClean(recipe.value(u"headline"_s), walk);
    }
    draft.category = cleanTexts(recipe.value(u"recipeCategory"_s), walk).join(u", "_s);

    QJsonValue ingredients = recipe.value(u"recipeIngredient"_s);
    if (ingredients.isUndefined()) {
        ingredients = recipe.value(u"ingredients"_s);  // the older name
    }
    // Each line its own: an ingredient list may come as one string.
    forEachText(ingredients, walk, 0, [&draft](const QString& raw) {
        forEachLine(raw, [&draft](const QString& line) { draft.ingredients.addText(line); });
        return true;
    });
    addInstructions(recipe.value(u"recipeInstructions"_s), draft, walk, 0);
    draft.yields = cleanTexts(recipe.value(u"recipeYield"_s), walk);
    if (draft.yields.isEmpty()) {
        draft.yields = cleanTexts(recipe.value(u"yield"_s), walk);
    }
    draft.cookMinutes = minutesOf(recipe.value(u"cookTime"_s), walk);
    draft.prepMinutes = minutesOf(recipe.value(u"prepTime"_s), walk);
    draft.totalMinutes = minutesOf(recipe.value(u"totalTime"_s), walk);

    static const QRegularExpression oven(uR"(^oven\s+(\d{1,3})\s*(?:°\s*F?|F)?$)"_s,
                                         QRegularExpression::CaseInsensitiveOption);
    for (const QString& method : cleanTexts(recipe.value(u"cookingMethod"_s), walk)) {
        if (const auto match = oven.match(method); match.hasMatch()) {
            draft.temperature = match.captured(1);
            break;
        }
    }
    return draft;
}

void findRecipes(const QJsonValue& value, QList<QJsonObject>& found, QSet<QString>& ids, Walk& walk,
                 int depth) {
    if (depth > kMaxDepth || walk.stopped()) {
        return;
    }
    if (value.isArray()) {
        for (const QJsonValue& item : value.toArray()) {
            findRecipes(item, found, ids, walk, depth + 1);
        }
    } else if (value.isObject()) {
        const QJsonObject object = value.toObject();
        if (hasType(object, u"Recipe", walk)) {
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
                findRecipes(*it, found, ids, walk, depth + 1);
            }
        }
    }
}

// What the user would see of a recipe: two recipes with the same are one.
QString sameness(const RecipeDraft& draft) {
    QStringList parts{draft.name, draft.category, draft.temperature};
    for (const IngredientLine& line : draft.ingredients.grid()) {
        parts << line.amount << line.measure << line.ingredient;
    }
    parts << draft.ingredients.more() << draft.steps << u"\x1e"_s << draft.yields << u"\x1e"_s;
    for (const std::optional<int>& time :
         {draft.cookMinutes, draft.prepMinutes, draft.totalMinutes}) {
        parts << (time ? QString::number(*time) : QString());
    }
    if (draft.exact) {
        parts << u"\x1e"_s;
        for (const QString& field : *draft.exact) {
            parts << field;
        }
    }
    return parts.join(QChar(0x1f));
}

// The JSON values of a UTF-8 text, forgiving a wrapper and what follows a value.
QList<QJsonValue> parseValues(QByteArrayView text) {
    QByteArrayView body = text.trimmed();
    for (const auto& [start, end] :
         {std::pair<QByteArrayView, QByteArrayView>{"//<![CDATA[", "//]]>"},
          std::pair<QByteArrayView, QByteArrayView>{"<![CDATA[", "]]>"},
          std::pair<QByteArrayView, QByteArrayView>{"<!--", "-->"}}) {
        if (body.startsWith(start)) {
            body = body.sliced(start.size());
            if (body.trimmed().endsWith(end)) {
                body = body.trimmed().chopped(end.size());
            }
            body = body.trimmed();
        }
    }
    QList<QJsonValue> values;
    qsizetype at = 0;
    while (at < body.size()) {
        const char c = body[at];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ';' || c == ',') {
            ++at;
            continue;
        }
        if (c != '{' && c != '[') {
            break;
        }
        // Views, not copies: a file may hold thousands of values one after another.
        QJsonParseError error;
        const qsizetype left = body.size() - at;
        QJsonDocument document =
            QJsonDocument::fromJson(QByteArray::fromRawData(body.data() + at, left), &error);
        qsizetype used = left;
        if (document.isNull() && error.error == QJsonParseError::GarbageAtEnd && error.offset > 0) {
            used = error.offset;
            document =
                QJsonDocument::fromJson(QByteArray::fromRawData(body.data() + at, used), &error);
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
QList<QJsonValue> valuesOf(QByteArrayView utf8) {
    QList<QJsonValue> values = parseValues(utf8);
    if (values.isEmpty() && utf8.contains("&quot;")) {
        values = parseValues(HtmlPage::decodeEntities(QString::fromUtf8(utf8)).toUtf8());
    }
    return values;
}

QList<RecipeDraft> draftsOf(const QList<QJsonValue>& values, Walk& walk) {
    QList<QJsonObject> found;
    QSet<QString> ids;
    walk.total = values.size();
    for (const QJsonValue& value : values) {
        findRecipes(value, found, ids, walk, 0);
        ++walk.done;
    }
    QList<RecipeDraft> drafts;
    QSet<QString> seen;
    walk.done = 0;
    walk.total = found.size();
    walk.progress.phase(60, 90);
    for (const QJsonObject& recipe : std::as_const(found)) {
        if (walk.stopped()) {
            return {};
        }
        ++walk.done;
        RecipeDraft draft = draftOf(recipe, walk);
        if (!draft.exact && draft.ingredients.isEmpty() && draft.steps.isEmpty()) {
            continue;  // a stub: a rating or a teaser, not a recipe
        }
        // A lone recipe has no twin: its key would copy all its text.
        if (found.size() > 1) {
            QString key = sameness(draft);
            if (seen.contains(key)) {
                continue;
            }
            seen.insert(std::move(key));
        }
        drafts.append(std::move(draft));
        if (drafts.size() > RecipeImporter::kMaxRecipes) {
            break;  // too many: refused, so no need to read on
        }
    }
    return drafts;
}

}  // namespace

qsizetype JsonLdReader::valueCount(QByteArrayView json) {
    // One for each '{', '[' and ',' outside strings, and one for the first.
    qsizetype count = 1;
    const char* at = json.data();
    const char* const end = at + json.size();
    while (at < end) {
        const char c = *at++;
        if (c == '"') {
            while (at < end) {
                const char d = *at++;
                if (d == '\\') {
                    ++at;
                } else if (d == '"') {
                    break;
                }
            }
        } else {
            count += c == ',' || c == '{' || c == '[';
        }
    }
    return count;
}

bool JsonLdReader::tooManyValues(qsizetype values, qsizetype fileSize) {
    return values > std::min(kMaxValues, kFreeValues + fileSize / kBytesPerValue);
}

JsonLdReader::Read JsonLdReader::readJson(QByteArrayView utf8, qsizetype fileSize,
                                          ReadProgress& progress) {
    if (tooManyValues(valueCount(utf8), fileSize)) {
        return {{}, false, true};
    }
    progress.phase(10, 60);
    const QList<QJsonValue> values = valuesOf(utf8);
    if (values.isEmpty()) {
        return {{}, true, false};
    }
    Walk walk{progress, utf8.size() + kBuiltTextAllowance};
    return {draftsOf(values, walk), false, false};
}

JsonLdReader::Read JsonLdReader::readHtml(QByteArrayView bytes, ReadProgress& progress) {
    progress.phase(10, 50);
    // All blocks at once: a page may repeat a recipe in a second block.
    const QStringList scripts = HtmlPage::ldJsonScripts(bytes, progress);
    QList<QByteArray> texts;
    qsizetype count = 0;
    for (const QString& script : scripts) {
        texts.append(script.toUtf8());
        count += valueCount(texts.back());
    }
    if (tooManyValues(count, bytes.size())) {
        return {{}, false, true};
    }
    QList<QJsonValue> values;
    for (const QByteArray& text : std::as_const(texts)) {
        values += valuesOf(text);
    }
    progress.phase(50, 60);
    Walk walk{progress, bytes.size() + kBuiltTextAllowance};
    return {draftsOf(values, walk), false, false};
}

}  // namespace pv::exchange
