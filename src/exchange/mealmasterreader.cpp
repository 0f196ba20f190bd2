#include "mealmasterreader.h"

#include "plaintext.h"
#include "readprogress.h"

#include <QSet>

#include <array>

#include <optional>

namespace pv::exchange {
namespace {

using namespace Qt::StringLiterals;

// Columns, counted from 0: the amount ends at kAmountEnd, the unit code takes
// the two after a blank, the text starts at kTextStart.
constexpr qsizetype kAmountEnd = 7;
constexpr qsizetype kTextStart = 11;
// How far a block's amounts may sit from their place and still be read.
constexpr qsizetype kShiftLeft = 3;
constexpr qsizetype kShiftRight = 4;
// Where a text-only cell may start: anything further left is not in the text column.
constexpr qsizetype kTextColumnFrom = 8;
// Where the right column of the two-column layout starts: 40 in version 8,
// 41 in version 7, then a column or two either way.
constexpr qsizetype kRightColumns[] = {40, 41, 39, 42, 38, 43};

// MealMaster's unit codes and the abbreviation a reader expects.
struct UnitCode {
    QStringView code;
    QString unit;
};

const std::array<UnitCode, 34>& unitCodes() {
    static const std::array<UnitCode, 34> codes{{
        {u"x", u"x"_s},     {u"sm", u"small"_s},  {u"md", u"medium"_s}, {u"lg", u"large"_s},
        {u"cn", u"can"_s},  {u"pk", u"pkg"_s},    {u"pn", u"pinch"_s},  {u"dr", u"drop"_s},
        {u"ds", u"dash"_s}, {u"ct", u"carton"_s}, {u"bn", u"bunch"_s},  {u"sl", u"slice"_s},
        {u"ea", u"each"_s}, {u"t", u"tsp"_s},     {u"ts", u"tsp"_s},    {u"T", u"tbsp"_s},
        {u"tb", u"tbsp"_s}, {u"fl", u"fl oz"_s},  {u"c", u"cup"_s},     {u"pt", u"pt"_s},
        {u"qt", u"qt"_s},   {u"ga", u"gal"_s},    {u"oz", u"oz"_s},     {u"lb", u"lb"_s},
        {u"ml", u"ml"_s},   {u"cb", u"cc"_s},     {u"cl", u"cl"_s},     {u"dl", u"dl"_s},
        {u"l", u"l"_s},     {u"mg", u"mg"_s},     {u"cg", u"cg"_s},     {u"dg", u"dg"_s},
        {u"g", u"g"_s},     {u"kg", u"kg"_s},
    }};
    return codes;
}

// The abbreviation of a unit code: as written ("T" is not "t"), else in any case ("TB").
const QString* unitOf(QStringView code) {
    for (const UnitCode& known : unitCodes()) {
        if (known.code == code) {
            return &known.unit;
        }
    }
    for (const UnitCode& known : unitCodes()) {
        if (known.code.compare(code, Qt::CaseInsensitive) == 0) {
            return &known.unit;
        }
    }
    return nullptr;
}

// Text as the boxes take it: characters Windows-1252 lacks made plain,
// blanks folded. Most lines need nothing: then their own view, else one made
// in scratch.
QStringView cleaned(QStringView text, QString& scratch) {
    bool plain = !text.isEmpty() && text.front() != u' ' && text.back() != u' ';
    for (qsizetype i = 0; plain && i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        plain = c >= 0x20 && c <= 0x7E && !(c == u' ' && text[i + 1] == u' ');
    }
    if (plain) {
        return text;
    }
    scratch = PlainText::plain(text).simplified();
    return scratch;
}

// --- lines ---

// The lines of a text one at a time (CR LF, LF or CR), with a look ahead.
class Lines {
public:
    explicit Lines(QStringView text) : text_(text) { load(0); }

    bool atEnd() const { return start_ > text_.size(); }
    QStringView current() const { return line_; }
    qsizetype position() const { return start_; }
    void next() { load(next_); }

    // The line `ahead` lines after the current one, or nothing past the end.
    std::optional<QStringView> peek(int ahead) const {
        qsizetype start = next_;
        for (; ahead > 1 && start <= text_.size(); --ahead) {
            start = lineAt(start).second;
        }
        if (start > text_.size()) {
            return std::nullopt;
        }
        return lineAt(start).first;
    }

private:
    // The line that starts at `start`, and where the next one starts.
    std::pair<QStringView, qsizetype> lineAt(qsizetype start) const {
        qsizetype end = start;
        while (end < text_.size() && text_[end] != u'\r' && text_[end] != u'\n') {
            ++end;
        }
        const QStringView line = text_.sliced(start, end - start);
        if (end >= text_.size()) {
            return {line, text_.size() + 1};
        }
        const bool crLf = text_[end] == u'\r' && end + 1 < text_.size() && text_[end + 1] == u'\n';
        return {line, end + (crLf ? 2 : 1)};
    }

    void load(qsizetype start) {
        start_ = start;
        if (start <= text_.size()) {
            std::tie(line_, next_) = lineAt(start);
        }
    }

    QStringView text_;
    qsizetype start_ = 0;
    qsizetype next_ = 0;
    QStringView line_;
};

// DOS files hold control characters: the paragraph mark (0x14) ends a line of
// the directions' text, which the reader sees as an empty line after it; any
// other, and a tab, is a blank.
void replaceControls(QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = std::as_const(text)[i].unicode();
        if ((c >= 0x20 && c != 0x7F) || c == u'\r' || c == u'\n') {
            continue;
        }
        bool lineEnd = false;
        if (c == 0x14) {
            qsizetype after = i + 1;
            const QString& view = text;
            while (after < view.size() && view[after] == u' ') {
                ++after;
            }
            lineEnd = after == view.size() || view[after] == u'\r' || view[after] == u'\n';
        }
        text[i] = lineEnd ? u'\n' : u' ';
    }
}

bool isEndLine(QStringView line) {
    const QStringView trimmed = line.trimmed();
    return trimmed == u"MMMMM" || trimmed == u"-----";
}

bool isStartLine(const Lines& lines) {
    const QStringView line = lines.current().trimmed();
    if (!line.startsWith(u"MMMMM") && !line.startsWith(u"-----")) {
        return false;
    }
    if (line.contains(u"Meal-Master", Qt::CaseInsensitive) ||
        line.contains(u"Recipe via", Qt::CaseInsensitive)) {
        return true;
    }
    for (int ahead = 1; ahead <= 3; ++ahead) {
        const auto next = lines.peek(ahead);
        if (!next) {
            break;
        }
        const QStringView trimmed = next->trimmed();
        if (trimmed.startsWith(u"Title:", Qt::CaseInsensitive)) {
            return true;
        }
        if (!trimmed.isEmpty()) {
            break;
        }
    }
    return false;
}

// The name of a group heading line ("MMMMM-----FILLING-----",
// "-----FOR THE GRAVY-----"), empty for a heading without one, or nothing for
// a line that is no heading. Scanned by hand: a pattern for it backtracks.
std::optional<QString> headingOf(QStringView line) {
    QStringView rest = line.trimmed();
    if (rest.startsWith(u"MMMMM")) {
        rest = rest.sliced(5);
        if (!rest.startsWith(u'-')) {
            return std::nullopt;
        }
    } else if (!rest.startsWith(u"-----")) {
        return std::nullopt;
    }
    qsizetype start = 0;
    while (start < rest.size() && rest[start] == u'-') {
        ++start;
    }
    qsizetype end = rest.size();
    while (end > start && rest[end - 1] == u'-') {
        --end;
    }
    return PlainText::plain(rest.sliced(start, end - start)).simplified();
}

// A header line's key (Title, Categories, Yield, Servings) and its value.
struct Header {
    enum class Key { Title, Categories, Yield } key;
    QStringView value;
};

std::optional<Header> headerOf(QStringView line) {
    const QStringView trimmed = line.trimmed();
    const qsizetype colon = trimmed.first(std::min<qsizetype>(trimmed.size(), 16)).indexOf(u':');
    if (colon < 0) {
        return std::nullopt;
    }
    const QStringView key = trimmed.first(colon).trimmed();
    const QStringView value = trimmed.sliced(colon + 1).trimmed();
    auto is = [&key](QStringView name) { return key.compare(name, Qt::CaseInsensitive) == 0; };
    if (is(u"Title")) {
        return Header{Header::Key::Title, value};
    }
    if (is(u"Categories")) {
        return Header{Header::Key::Categories, value};
    }
    if (is(u"Yield") || is(u"Servings")) {
        return Header{Header::Key::Yield, value};
    }
    return std::nullopt;
}

// --- ingredient cells ---

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool startsAmount(QStringView text, qsizetype at) {
    const QChar c = text[at];
    return isDigit(c) || c == u'½' || c == u'¼' || c == u'¾' ||
           (c == u'.' && at + 1 < text.size() && isDigit(text[at + 1]));
}

bool isAmountChar(QChar c) {
    return isDigit(c) || c == u'/' || c == u'.' || c == u',' || c == u'-' || c == u'½' ||
           c == u'¼' || c == u'¾';
}

bool isAmountEnd(QChar c) {
    return isDigit(c) || c == u'½' || c == u'¼' || c == u'¾';
}

// Where the amount starting at `at` ends: amount characters, and one blank
// between a whole number and a fraction ("1 1/2", "1 ½"). Looks no further
// than `limit`.
qsizetype amountEnd(QStringView text, qsizetype at, qsizetype limit) {
    qsizetype end = at;
    while (end < text.size() && end <= limit) {
        if (isAmountChar(text[end])) {
            ++end;
        } else if (text[end] == u' ' && isDigit(text[end - 1]) && end + 1 < text.size() &&
                   startsAmount(text, end + 1)) {
            ++end;
        } else {
            break;
        }
    }
    return end;
}

// One cell of an ingredient line, as views of the line.
struct Cell {
    QStringView amount;
    QStringView measure;
    QStringView text;
    bool continues = false;  // "-" text under blank amount and unit
};

enum class Fit {
    Loose,   // within a block: any shift, a unit code MealMaster does not know
    Strict,  // first line of a block: a known unit code or none
    Exact,   // right column: the standard columns only, a known unit code or none
};

// One ingredient in its column's text, or nothing when the text is not one.
std::optional<Cell> cellOf(QStringView text, Fit fit) {
    qsizetype at = 0;
    while (at < text.size() && text[at] == u' ') {
        ++at;
    }
    if (at == text.size()) {
        return std::nullopt;
    }
    Cell cell;
    if (startsAmount(text, at)) {
        const qsizetype end = amountEnd(text, at, kAmountEnd + kShiftRight);
        if (fit == Fit::Exact ? end != kAmountEnd
                              : end < kAmountEnd - kShiftLeft || end > kAmountEnd + kShiftRight) {
            return std::nullopt;
        }
        // "1." and "2-" start a numbered step or a range, not an amount.
        if ((end < text.size() && text[end] != u' ') || !isAmountEnd(text[end - 1])) {
            return std::nullopt;
        }
        cell.amount = text.sliced(at, end - at);
        QStringView rest = end < text.size() ? text.sliced(end + 1) : QStringView();
        qsizetype letters = 0;
        while (letters < rest.size() && letters < 3 && rest[letters].isLetter()) {
            ++letters;
        }
        const bool unitShaped =
            letters > 0 && letters <= 2 && (letters == rest.size() || rest[letters] == u' ');
        const QString* unit = unitShaped ? unitOf(rest.first(letters)) : nullptr;
        if (!unit && letters > 0 && fit != Fit::Loose) {
            return std::nullopt;
        }
        // Within a block, a code MealMaster does not know is kept as written.
        cell.measure = unit ? QStringView(*unit) : unitShaped ? rest.first(letters) : QStringView();
        // The text starts in its column: three columns after the amount.
        qsizetype textAt = unitShaped ? letters : 0;
        while (textAt < rest.size() && rest[textAt] == u' ') {
            ++textAt;
        }
        if (fit == Fit::Exact && textAt < rest.size() && textAt != 3) {
            return std::nullopt;
        }
        cell.text = rest.sliced(textAt).trimmed();
        return cell;
    }
    // Text without an amount: in the text column; within a block perhaps
    // behind the ":" some converters put in the amount's columns.
    if (at < kTextColumnFrom && fit == Fit::Loose && text[at] == u':') {
        ++at;
        while (at < text.size() && text[at] == u' ') {
            ++at;
        }
    }
    if (at == text.size() || (fit == Fit::Exact ? at != kTextStart : at < kTextColumnFrom)) {
        return std::nullopt;
    }
    cell.text = text.sliced(at).trimmed();
    if (cell.text.startsWith(u'-')) {
        cell.continues = true;
        cell.text = cell.text.sliced(1).trimmed();
    }
    return cell;
}

struct Row {
    std::optional<Cell> left;
    std::optional<Cell> right;
};

// An ingredient line in one or two columns.
std::optional<Row> ingredientRow(QStringView line, Fit fit) {
    for (const qsizetype column : kRightColumns) {
        if (line.size() <= column || line[column - 1] != u' ') {
            continue;
        }
        auto right = cellOf(line.sliced(column), Fit::Exact);
        if (!right) {
            continue;
        }
        const QStringView left = line.first(column);
        if (left.trimmed().isEmpty()) {
            return Row{std::nullopt, right};
        }
        if (auto cell = cellOf(left, fit)) {
            return Row{cell, right};
        }
    }
    if (auto single = cellOf(line, fit)) {
        return Row{single, std::nullopt};
    }
    return std::nullopt;
}

// --- directions ---

// A ruled line ("-----", "=====", "~-----"): a paragraph break, not text.
bool isRule(QStringView text) {
    int marks = 0;
    for (const QChar c : text) {
        if (c == u' ') {
            continue;
        }
        if (!QStringView(u"-=~_*#+").contains(c)) {
            return false;
        }
        ++marks;
    }
    return marks >= 3;
}

// "2. Mix" or "2) Mix".
bool isNumbered(QStringView text) {
    qsizetype digits = 0;
    while (digits < text.size() && isDigit(text[digits])) {
        ++digits;
    }
    return digits > 0 && digits + 1 < text.size() &&
           (text[digits] == u'.' || text[digits] == u')') && text[digits + 1] == u' ';
}

// The directions, one paragraph a line, built in place.
class Directions {
public:
    void add(QStringView line) {
        QStringView text = cleaned(line.trimmed(), scratch_);
        if (text.isEmpty() || isRule(text)) {
            open_ = false;
            return;
        }
        if (text.startsWith(u'~')) {  // "~-- Mix": a paragraph marked by a converter
            qsizetype marks = 0;
            while (marks < text.size() && (text[marks] == u'~' || text[marks] == u'-')) {
                ++marks;
            }
            text = text.sliced(marks).trimmed();
            open_ = false;
        }
        if (isNumbered(text)) {
            open_ = false;
        }
        if (open_) {
            text_ += u' ';
        } else if (!text_.isEmpty()) {
            text_ += u"\r\n";
        }
        text_ += text;
        open_ = true;
    }

    // A heading's name on a line of its own.
    void addHeading(const QString& name) {
        open_ = false;
        if (!name.isEmpty()) {
            add(name);
            open_ = false;
        }
    }

    const QString& text() const { return text_; }

private:
    QString text_;
    QString scratch_;
    bool open_ = false;
};

// --- one recipe ---

class RecipeReader {
public:
    RecipeReader(Lines& lines, ReadProgress& progress, qsizetype size)
        : lines_(lines), progress_(progress), size_(size) {}

    // Reads one recipe from the line after its start line to its end line or
    // the next start line, which it leaves for the caller. False when stopped.
    bool read(RecipeDraft& draft) {
        enum class Part { Header, Ingredients, Directions } part = Part::Header;
        Fit fit = Fit::Strict;
        Directions directions;
        QSet<QString> yields;  // each told once
        for (; !lines_.atEnd(); lines_.next()) {
            if (!progress_.step(lines_.position(), size_)) {
                return false;
            }
            const QStringView line = lines_.current();
            // Only a line starting "MMMMM" or "-----" ends a recipe or heads a group.
            const QStringView trimmed = line.trimmed();
            const bool dashed =
                !trimmed.isEmpty() && (trimmed.front() == u'M' || trimmed.front() == u'-');
            if (dashed && (isEndLine(trimmed) || isStartLine(lines_))) {
                break;
            }
            if (part == Part::Header) {
                if (trimmed.isEmpty()) {
                    continue;
                }
                if (const auto header = headerOf(trimmed)) {
                    const QString value = PlainText::plain(header->value).simplified();
                    if (header->key == Header::Key::Title) {
                        draft.name = value;
                    } else if (header->key == Header::Key::Categories) {
                        draft.category = value;
                    } else if (!value.isEmpty() && !yields.contains(value)) {
                        yields.insert(value);
                        draft.yields.append(value);
                    }
                    continue;
                }
                part = Part::Ingredients;
            }
            const std::optional<QString> heading = dashed ? headingOf(trimmed) : std::nullopt;
            if (part == Part::Ingredients) {
                if (trimmed.isEmpty()) {
                    closeGroup(draft);
                    fit = Fit::Strict;
                    continue;
                }
                if (heading) {
                    closeGroup(draft);
                    if (!heading->isEmpty()) {
                        draft.ingredients.add(
                            {QString(), QString(),
                             heading->endsWith(u':') ? *heading : *heading + u':'});
                    }
                    fit = Fit::Strict;
                    continue;
                }
                if (const auto row = ingredientRow(line, fit)) {
                    if (row->left) {
                        add(draft.ingredients, *row->left, leftLines_ > 0);
                        ++leftLines_;
                    }
                    if (row->right) {
                        add(right_, *row->right, !right_.isEmpty());
                    }
                    fit = Fit::Loose;
                    continue;
                }
                closeGroup(draft);
                part = Part::Directions;
            }
            if (heading) {
                directions.addHeading(*heading);
            } else {
                directions.add(line);
            }
        }
        closeGroup(draft);
        draft.steps = directions.text();
        return true;
    }

private:
    // A cell to its column; one continuing the line above it in its column
    // (joinable) is joined to that line.
    void add(IngredientList& column, const Cell& cell, bool joinable) {
        if (cell.continues && joinable) {
            column.continueLast(cleaned(cell.text, scratch_));
        } else if (!cell.text.isEmpty() || !cell.amount.isEmpty() || !cell.measure.isEmpty()) {
            // Amounts hold only what Windows-1252 has; a unit code as written may not.
            const QString measure = PlainText::plain(cell.measure);
            column.add(cell.amount, measure, cleaned(cell.text, scratch_));
        }
    }

    // A block's left column has gone to the recipe as it came; its right
    // column follows.
    void closeGroup(RecipeDraft& draft) {
        draft.ingredients.append(right_);
        right_ = {};
        leftLines_ = 0;
    }

    Lines& lines_;
    ReadProgress& progress_;
    qsizetype size_;
    qsizetype leftLines_ = 0;  // of the block
    IngredientList right_;
    QString scratch_;
};

}  // namespace

QList<RecipeDraft> MealMasterReader::read(QString text, ReadProgress& progress) {
    replaceControls(text);
    QList<RecipeDraft> drafts;
    Lines lines(text);
    while (!lines.atEnd() && drafts.size() <= RecipeImporter::kMaxRecipes) {
        if (!progress.step(lines.position(), text.size())) {
            return {};
        }
        if (!isStartLine(lines)) {
            lines.next();
            continue;
        }
        lines.next();
        RecipeDraft draft;
        if (!RecipeReader(lines, progress, text.size()).read(draft)) {
            return {};
        }
        if (!draft.name.isEmpty() || !draft.ingredients.isEmpty() || !draft.steps.isEmpty()) {
            drafts.append(std::move(draft));
        }
        if (!lines.atEnd() && isEndLine(lines.current())) {
            lines.next();
        }
    }
    return drafts;
}

}  // namespace pv::exchange
