#pragma once

#include "ingredientline.h"
#include "store.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace pv::exchange {

// Ingredient lines as the entry screen takes them: the first ten apart, for
// its grid, the rest as the text they are shown as. An archive's recipe may
// hold any number of lines; past the grid each costs no more than its text.
class IngredientList {
public:
    static constexpr qsizetype kGridLines = 10;

    void add(const IngredientLine& line);
    void add(QStringView amount, QStringView measure, QStringView ingredient);
    // A written line: split into its boxes when it goes to the grid.
    void addText(const QString& text);
    // Text that continues the last line (a blank between).
    void continueLast(QStringView text);
    // Every line of other after these.
    void append(const IngredientList& other);

    bool isEmpty() const { return grid_.isEmpty(); }
    qsizetype size() const { return size_; }
    const QList<IngredientLine>& grid() const { return grid_; }
    // The lines after the tenth, each joined (IngredientLine::joined()), CR LF between.
    const QString& more() const { return more_; }

private:
    void addMore(QStringView text);

    QList<IngredientLine> grid_;
    QString more_;
    qsizetype size_ = 0;
};

// What a reader found of one recipe, before it is fitted into the boxes.
// Its texts are plain already (PlainText::plain()), but for exact.
struct RecipeDraft {
    QString name;
    QString category;
    IngredientList ingredients;  // in order; a group heading is a line of its own
    QString steps;               // the directions, one step a line, CR LF between
    QStringList yields;          // yield or servings, as written
    std::optional<int> cookMinutes;
    std::optional<int> prepMinutes;
    std::optional<int> totalMinutes;
    QString temperature;  // oven temperature, digits
    // A recipe this program exported: its boxes exactly as they were. Held
    // apart, as most recipes have none and an archive holds many.
    std::shared_ptr<const store::RecipeFields> exact;

    void addStep(QStringView step);
};

}  // namespace pv::exchange
