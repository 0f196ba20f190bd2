#pragma once

#include "match.h"
#include "store.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <array>
#include <atomic>
#include <optional>
#include <string>
#include <vector>

namespace pv::find {

// Decides whether one recipe file holds every word of a query, and which line
// to show for it. Holds nothing but the query, so any number of threads may
// share one.
class RecipeMatcher {
public:
    explicit RecipeMatcher(QStringView query);

    // No words: such a query finds nothing.
    bool isEmpty() const { return words_.empty(); }

    // A quick look at the raw bytes: false when some word occurs neither in
    // the file's folded bytes nor in its folded name, in which case match()
    // would find nothing either. scratch is room the caller keeps between
    // calls. The bytes are folded kFoldPiece at a time, so the room stays
    // small whatever the file's size; once stop is set (by another thread),
    // the look ends within a piece and finds nothing.
    bool mayMatch(QByteArrayView bytes, QStringView fileName, std::string& scratch,
                  const std::atomic<bool>* stop = nullptr) const;

    // The match the recipe makes, its fields read by the store's own reader;
    // nothing when the file is not a recipe or does not hold every word, or
    // once stop is set.
    std::optional<Match> match(const QString& category, const QString& fileName,
                               QByteArrayView bytes, const std::atomic<bool>* stop = nullptr) const;

    static constexpr qsizetype kFoldPiece = 64 * 1024;

private:
    using FoldedFields = std::array<std::string, store::kRecipeFieldCount>;

    bool anyWordIn(std::string_view folded) const;
    void placeLine(Match& match, const store::RecipeFields& fields,
                   const FoldedFields& folded) const;
    QString excerpt(const QString& line) const;

    std::vector<std::string> words_;
    size_t longestWord_ = 0;
};

}  // namespace pv::find
