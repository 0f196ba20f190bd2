#include "recipedraft.h"

namespace pv::exchange {

using namespace Qt::StringLiterals;

void IngredientList::add(const IngredientLine& line) {
    ++size_;
    if (grid_.size() < kGridLines) {
        grid_.append(line);
    } else {
        addMore(line.joined());
    }
}

void IngredientList::add(QStringView amount, QStringView measure, QStringView ingredient) {
    ++size_;
    if (grid_.size() < kGridLines) {
        grid_.append({amount.toString(), measure.toString(), ingredient.toString()});
        return;
    }
    // As IngredientLine::joined() writes it, without making the line first.
    if (size_ > kGridLines + 1) {
        more_ += u"\r\n"_s;
    }
    bool first = true;
    for (const QStringView part : {amount.trimmed(), measure.trimmed(), ingredient.trimmed()}) {
        if (!part.isEmpty()) {
            if (!first) {
                more_ += u' ';
            }
            more_ += part;
            first = false;
        }
    }
}

void IngredientList::addText(const QString& text) {
    ++size_;
    if (grid_.size() < kGridLines) {
        grid_.append(IngredientLine::parse(text));
    } else {
        addMore(text);
    }
}

void IngredientList::continueLast(QStringView text) {
    if (text.isEmpty() || size_ == 0) {
        return;
    }
    QString& last = size_ > grid_.size() ? more_ : grid_.back().ingredient;
    if (!last.isEmpty()) {
        last += u' ';
    }
    last += text;
}

void IngredientList::append(const IngredientList& other) {
    for (const IngredientLine& line : other.grid_) {
        add(line);
    }
    if (other.size_ > other.grid_.size()) {
        // other's grid was full, so this one is now.
        if (size_ > kGridLines) {
            more_ += u"\r\n"_s;
        }
        size_ += other.size_ - other.grid_.size();
        more_ += other.more_;
    }
}

// Called once size_ counts the line.
void IngredientList::addMore(QStringView text) {
    if (size_ > kGridLines + 1) {
        more_ += u"\r\n"_s;
    }
    more_ += text;
}

void RecipeDraft::addStep(QStringView step) {
    if (!steps.isEmpty()) {
        steps += u"\r\n"_s;
    }
    steps += step;
}

}  // namespace pv::exchange
