#include "mealmasterreader.h"

#include "plaintext.h"

#include <QHash>
#include <QRegularExpression>

namespace pv::exchange {
namespace {

using namespace Qt::StringLiterals;

constexpr qsizetype kSecondColumn = 40;

// MealMaster's unit codes and the abbreviation a reader expects.
const QHash<QString, QString>& unitCodes() {
    static const QHash<QString, QString> codes = {
        {u"x"_s, u"x"_s},     {u"sm"_s, u"small"_s},  {u"md"_s, u"medium"_s}, {u"lg"_s, u"large"_s},
        {u"cn"_s, u"can"_s},  {u"pk"_s, u"pkg"_s},    {u"pn"_s, u"pinch"_s},  {u"dr"_s, u"drop"_s},
        {u"ds"_s, u"dash"_s}, {u"ct"_s, u"carton"_s}, {u"bn"_s, u"bunch"_s},  {u"sl"_s, u"slice"_s},
        {u"ea"_s, u"each"_s}, {u"t"_s, u"tsp"_s},     {u"ts"_s, u"tsp"_s},    {u"T"_s, u"tbsp"_s},
        {u"tb"_s, u"tbsp"_s}, {u"fl"_s, u"fl oz"_s},  {u"c"_s, u"cup"_s},     {u"pt"_s, u"pt"_s},
        {u"qt"_s, u"qt"_s},   {u"ga"_s, u"gal"_s},    {u"oz"_s, u"oz"_s},     {u"lb"_s, u"lb"_s},
        {u"ml"_s, u"ml"_s},   {u"cb"_s, u"cc"_s},     {u"cl"_s, u"cl"_s},     {u"dl"_s, u"dl"_s},
        {u"l"_s, u"l"_s},     {u"mg"_s, u"mg"_s},     {u"cg"_s, u"cg"_s},     {u"dg"_s, u"dg"_s},
        {u"g"_s, u"g"_s},     {u"kg"_s, u"kg"_s},
    };
    return codes;
}

std::optional<QString> unitOf(QStringView code) {
    const QString key = code.trimmed().toString();
    if (key.isEmpty()) {
        return QString();
    }
    const auto it = unitCodes().constFind(key);
    if (it != unitCodes().cend()) {
        return *it;
    }
    const auto lower = unitCodes().constFind(key.toLower());
    return lower != unitCodes().cend() ? std::optional<QString>(*lower) : std::nullopt;
}

bool isAmountText(QStringView text) {
    for (QChar c : text) {
        if (!(c.isDigit() || c == u' ' || c == u'/' || c == u'.' || c == u',' || c == u'-' ||
              c == u'½' || c == u'¼' || c == u'¾')) {
            return false;
        }
    }
    return true;
}

struct Cell {
    IngredientLine line;
    bool continues = false;  // "-" text under blank amount and unit
};

// One ingredient in fixed columns, or nothing when the text is not one.
std::optional<Cell> cellOf(QStringView text) {
    if (text.trimmed().isEmpty()) {
        return std::nullopt;
    }
    const QStringView amount = text.first(std::min<qsizetype>(7, text.size()));
    if (!isAmountText(amount) || (text.size() > 7 && text[7] != u' ') ||
        (text.size() > 10 && text[10] != u' ')) {
        return std::nullopt;
    }
    const auto unit = unitOf(
        text.size() > 8 ? text.sliced(8, std::min<qsizetype>(2, text.size() - 8)) : QStringView());
    if (!unit) {
        return std::nullopt;
    }
    Cell cell;
    cell.line.amount = PlainText::plain(amount.trimmed());
    cell.line.measure = *unit;
    const QString rest = text.size() > 11 ? PlainText::plain(text.sliced(11).trimmed()) : QString();
    cell.continues = cell.line.amount.isEmpty() && unit->isEmpty() && rest.startsWith(u'-');
    cell.line.ingredient = cell.continues ? rest.sliced(1).trimmed() : rest;
    return cell;
}

// An ingredient line in one or two columns.
std::optional<std::pair<Cell, std::optional<Cell>>> ingredientRow(QStringView line) {
    if (line.size() > kSecondColumn && line[kSecondColumn - 1] == u' ') {
        const auto left = cellOf(line.first(kSecondColumn - 1));
        const auto right = cellOf(line.sliced(kSecondColumn));
        if (right && (left || line.first(kSecondColumn).trimmed().isEmpty())) {
            return std::pair{left.value_or(Cell{}), right};
        }
    }
    const auto single = cellOf(line);
    if (!single) {
        return std::nullopt;
    }
    return std::pair{*single, std::optional<Cell>()};
}

bool isEndLine(QStringView line) {
    const QStringView trimmed = line.trimmed();
    return trimmed == u"MMMMM" || trimmed == u"-----";
}

// The name of a group heading line ("MMMMM-----FILLING-----"), or nothing.
std::optional<QString> headingOf(QStringView line) {
    static const QRegularExpression heading(uR"(^\s*(?:MMMMM|-----)-*\s*([^-\s].*?)\s*-*\s*$)"_s);
    const auto match = heading.match(line);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    return PlainText::plain(match.captured(1));
}

bool isStartLine(const QList<QStringView>& lines, qsizetype at) {
    const QStringView line = lines[at].trimmed();
    if (!line.startsWith(u"MMMMM") && !line.startsWith(u"-----")) {
        return false;
    }
    if (line.contains(u"Meal-Master", Qt::CaseInsensitive) ||
        line.contains(u"Recipe via", Qt::CaseInsensitive)) {
        return true;
    }
    for (qsizetype next = at + 1; next < lines.size() && next <= at + 3; ++next) {
        if (lines[next].trimmed().startsWith(u"Title:", Qt::CaseInsensitive)) {
            return true;
        }
        if (!lines[next].trimmed().isEmpty()) {
            break;
        }
    }
    return false;
}

// Reads one recipe from the line after its start line; returns the line after its end.
qsizetype readRecipe(const QList<QStringView>& lines, qsizetype at, RecipeDraft& draft) {
    static const QRegularExpression header(
        uR"(^\s*(Title|Categories|Yield|Servings)\s*:\s*(.*?)\s*$)"_s,
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression numbered(uR"(^\s*\d+[.)]\s)"_s);

    enum class Part { Header, Ingredients, Directions } part = Part::Header;
    QList<IngredientLine> left;
    QList<IngredientLine> right;
    auto closeGroup = [&] {
        draft.ingredients += left;
        draft.ingredients += right;
        left.clear();
        right.clear();
    };
    QString step;
    auto closeStep = [&] {
        if (!step.isEmpty()) {
            draft.steps.append(step);
            step.clear();
        }
    };
    auto addTo = [](QList<IngredientLine>& column, const Cell& cell) {
        if (cell.continues && !column.isEmpty()) {
            column.back().ingredient += u' ' + cell.line.ingredient;
        } else if (!cell.line.ingredient.isEmpty() || !cell.line.amount.isEmpty() ||
                   !cell.line.measure.isEmpty()) {
            column.append(cell.line);
        }
    };

    for (; at < lines.size(); ++at) {
        const QStringView line = lines[at];
        if (isEndLine(line) || isStartLine(lines, at)) {
            break;
        }
        if (part == Part::Header) {
            if (line.trimmed().isEmpty()) {
                continue;
            }
            if (const auto match = header.match(line); match.hasMatch()) {
                const QString key = match.captured(1).toLower();
                const QString value = PlainText::plain(match.captured(2));
                if (key == u"title"_s) {
                    draft.name = value;
                } else if (key == u"categories"_s) {
                    draft.category = value;
                } else if (!value.isEmpty()) {
                    draft.yields.append(value);
                }
                continue;
            }
            part = Part::Ingredients;
        }
        if (part == Part::Ingredients) {
            if (line.trimmed().isEmpty()) {
                continue;
            }
            if (const auto name = headingOf(line)) {
                closeGroup();
                draft.ingredients.append(
                    {QString(), QString(), name->endsWith(u':') ? *name : *name + u':'});
                continue;
            }
            if (const auto row = ingredientRow(line)) {
                addTo(left, row->first);
                if (row->second) {
                    addTo(right, *row->second);
                }
                continue;
            }
            closeGroup();
            part = Part::Directions;
        }
        // Directions.
        const QString text = PlainText::plain(line.trimmed()).simplified();
        if (text.isEmpty()) {
            closeStep();
        } else if (const auto name = headingOf(line)) {
            closeStep();
            draft.steps.append(*name);
        } else {
            if (numbered.match(text).hasMatch()) {
                closeStep();
            }
            step = step.isEmpty() ? text : step + u' ' + text;
        }
    }
    closeGroup();
    closeStep();
    return at;
}

}  // namespace

QList<RecipeDraft> MealMasterReader::read(QStringView text) {
    QList<QStringView> lines;
    for (qsizetype start = 0; start <= text.size();) {
        qsizetype end = start;
        while (end < text.size() && text[end] != u'\r' && text[end] != u'\n') {
            ++end;
        }
        lines.append(text.sliced(start, end - start));
        if (end >= text.size()) {
            break;
        }
        start =
            end + (text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n' ? 2 : 1);
    }

    QList<RecipeDraft> drafts;
    for (qsizetype at = 0; at < lines.size();) {
        if (!isStartLine(lines, at)) {
            ++at;
            continue;
        }
        RecipeDraft draft;
        at = readRecipe(lines, at + 1, draft);
        if (!draft.name.isEmpty() || !draft.ingredients.isEmpty() || !draft.steps.isEmpty()) {
            drafts.append(draft);
        }
        if (at < lines.size() && isEndLine(lines[at])) {
            ++at;
        }
    }
    return drafts;
}

}  // namespace pv::exchange
