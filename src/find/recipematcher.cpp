#include "recipematcher.h"

#include "fieldreader.h"
#include "store.h"
#include "textfold.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <cstring>

namespace pv::find {
namespace {

using store::RecipeFields;

const QString& field(const RecipeFields& fields, int number) {
    return fields[size_t(number - 1)];
}

// Parts joined by single blanks, the empty ones left out.
QString joined(std::initializer_list<QString> parts) {
    QStringList kept;
    for (const QString& part : parts) {
        const QString trimmed = part.trimmed();
        if (!trimmed.isEmpty()) {
            kept.append(trimmed);
        }
    }
    return kept.join(QLatin1Char(' '));
}

// The lines of the directions without their line ends.
QStringList directionLines(const QString& directions) {
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= directions.size(); ++i) {
        if (i < directions.size() && directions[i] != u'\r' && directions[i] != u'\n') {
            continue;
        }
        lines.append(directions.sliced(start, i - start));
        if (i + 1 < directions.size() && directions[i] == u'\r' && directions[i + 1] == u'\n') {
            ++i;
        }
        start = i + 1;
    }
    return lines;
}

}  // namespace

RecipeMatcher::RecipeMatcher(QStringView query) : words_(queryWords(query)) {
    for (const std::string& word : words_) {
        longestWord_ = std::max(longestWord_, word.size());
    }
}

bool RecipeMatcher::anyWordIn(std::string_view folded) const {
    for (const std::string& word : words_) {
        if (folded.find(word) != std::string_view::npos) {
            return true;
        }
    }
    return false;
}

// Why this never turns away a real match: the store's reader gives every field
// as one unbroken run of the file's bytes, decoded byte by byte, and
// foldCp1252 folds byte by byte exactly as foldText folds each decoded
// character. So the folding of a field is an unbroken run of the folding of
// the whole file, and a word in one is in the other. The name is folded here
// as match() folds it.
bool RecipeMatcher::mayMatch(QByteArrayView bytes, QStringView fileName, std::string& scratch,
                             const std::atomic<bool>* stop) const {
    if (words_.empty()) {
        return false;
    }
    // Which words the bytes hold, without taking room for the usual few. A
    // piece is folded after the end of the one before, as long as the longest
    // word but one, so no word is cut in two.
    constexpr size_t kFew = 64;
    std::bitset<kFew> few;
    std::vector<bool> many(words_.size() > kFew ? words_.size() : 0);
    const auto inBytes = [&](size_t i) { return i < kFew ? few[i] : bool(many[i]); };
    size_t left = words_.size();
    size_t carried = 0;
    for (qsizetype at = 0; at < bytes.size() || at == 0; at += kFoldPiece) {
        if (stop && stop->load(std::memory_order_relaxed)) {
            return false;
        }
        const qsizetype size = std::min(kFoldPiece, bytes.size() - at);
        const std::string_view folded = foldCp1252(bytes.sliced(at, size), scratch, carried);
        for (size_t i = 0; i < words_.size(); ++i) {
            if (!inBytes(i) && folded.find(words_[i]) != std::string_view::npos) {
                if (i < kFew) {
                    few[i] = true;
                } else {
                    many[i] = true;
                }
                --left;
            }
        }
        if (left == 0) {
            return true;
        }
        carried = std::min(folded.size(), longestWord_ - 1);
        std::memmove(scratch.data(), folded.data() + folded.size() - carried, carried);
    }
    const std::string name = foldText(fileName);
    for (size_t i = 0; i < words_.size(); ++i) {
        if (!inBytes(i) && name.find(words_[i]) == std::string::npos) {
            return false;
        }
    }
    return true;
}

std::optional<Match> RecipeMatcher::match(const QString& category, const QString& fileName,
                                          QByteArrayView bytes,
                                          const std::atomic<bool>* stop) const {
    const auto stopped = [stop] { return stop && stop->load(std::memory_order_relaxed); };
    if (words_.empty() || stopped()) {
        return std::nullopt;
    }
    const auto record = store::parseRecipeRecord(bytes);
    if (!record) {
        return std::nullopt;  // not a recipe: skipped, never reported
    }
    const RecipeFields& fields = record.value();
    FoldedFields folded;
    for (size_t i = 0; i < folded.size(); ++i) {
        if (stopped()) {
            return std::nullopt;
        }
        folded[i] = foldText(fields[i]);
    }
    const std::string name = foldText(fileName);
    for (const std::string& word : words_) {
        bool found = name.find(word) != std::string::npos;
        for (size_t i = 0; i < folded.size() && !found; ++i) {
            found = folded[i].find(word) != std::string::npos;
        }
        if (!found) {
            return std::nullopt;
        }
    }

    Match match{category, fileName, Match::Place::Name, 0, fileName};
    placeLine(match, fields, folded);
    match.line = excerpt(match.line);
    return match;
}

// The first line holding a word, in the order the browser shows them:
// ingredient lines, directions, cooking information; the name otherwise.
void RecipeMatcher::placeLine(Match& match, const store::RecipeFields& fields,
                              const FoldedFields& folded) const {
    auto holds = [&](int number) { return anyWordIn(folded[size_t(number - 1)]); };
    for (int line = 1; line <= 10; ++line) {
        const int amount = store::amountField(line);
        const int measure = store::measureField(line);
        const int ingredient = store::ingredientField(line);
        if (holds(amount) || holds(measure) || holds(ingredient)) {
            match.place = Match::Place::Ingredient;
            match.ingredientLine = line;
            match.line = QStringLiteral("Ingredient %1: %2")
                             .arg(line)
                             .arg(joined({field(fields, amount), field(fields, measure),
                                          field(fields, ingredient)}));
            return;
        }
    }
    if (holds(store::kDirectionsField)) {
        for (const QString& line : directionLines(field(fields, store::kDirectionsField))) {
            if (anyWordIn(foldText(line))) {
                match.place = Match::Place::Directions;
                match.line = line.trimmed();
                return;
            }
        }
    }
    if (holds(store::kTemperatureField)) {
        match.place = Match::Place::Temperature;
        match.line = QStringLiteral("Oven temperature: ") +
                     joined({field(fields, store::kTemperatureField), QStringLiteral("F")});
    } else if (holds(store::kServingSizeField)) {
        match.place = Match::Place::ServingSize;
        match.line =
            QStringLiteral("Serving size: ") + field(fields, store::kServingSizeField).trimmed();
    } else if (holds(store::kHoursField) || holds(store::kMinutesField)) {
        const QString hours = field(fields, store::kHoursField).trimmed();
        const QString minutes = field(fields, store::kMinutesField).trimmed();
        match.place = Match::Place::CookingTime;
        match.line = QStringLiteral("Cooking time: ") +
                     joined({hours.isEmpty() ? QString() : hours + QStringLiteral(" h"),
                             minutes.isEmpty() ? QString() : minutes + QStringLiteral(" min")});
    }
}

// The line on one row: control characters as blanks, and a long line cut to
// kLineLength characters around the first word in it.
QString RecipeMatcher::excerpt(const QString& line) const {
    QString text = line;
    for (QChar& c : text) {
        if (c.unicode() < 0x20) {
            c = QLatin1Char(' ');
        }
    }
    constexpr qsizetype kLength = Match::kLineLength;
    if (text.size() <= kLength) {
        return text;
    }
    // Where the first word starts, by folding the line one character at a
    // time and noting where each character's folding begins.
    std::string folded;
    std::vector<qsizetype> from;  // the character of each folded byte
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const size_t before = folded.size();
        appendFolded(QStringView(text).sliced(i, length), folded);
        from.insert(from.end(), folded.size() - before, i);
        i += length - 1;
    }
    size_t first = std::string::npos;
    for (const std::string& word : words_) {
        first = std::min(first, folded.find(word));
    }
    const qsizetype at = first < from.size() ? from[first] : 0;
    const QChar ellipsis(0x2026);
    auto whole = [&](qsizetype start, qsizetype end) {
        // Never half a surrogate pair at either cut.
        if (start > 0 && text[start].isLowSurrogate()) {
            ++start;
        }
        if (end < text.size() && text[end - 1].isHighSurrogate()) {
            --end;
        }
        return text.sliced(start, end - start);
    };
    if (at < kLength * 2 / 3) {
        return whole(0, kLength - 1) + ellipsis;
    }
    const qsizetype start = at - kLength / 3;
    if (start + kLength - 1 >= text.size()) {
        return ellipsis + whole(text.size() - (kLength - 1), text.size());
    }
    return ellipsis + whole(start, start + kLength - 2) + ellipsis;
}

}  // namespace pv::find
