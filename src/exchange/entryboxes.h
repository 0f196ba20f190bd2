#pragma once

#include "reciperecord.h"

#include <QList>
#include <QString>

namespace pv::exchange {

// A text longer than the box it goes into: the box holds it cut to its
// length; the whole text is kept to tell the user.
struct ShortenedText {
    QString box;  // the box's accessible name
    QString text;
    int limit = 0;
};

// The boxes of the recipe entry screen and the setup screen's category box as
// their texts come back out, for imports that save without the screens. The
// screens' forms hold the same lengths (a test compares them).
class EntryBoxes {
public:
    struct Box {
        QString name;       // accessible name
        int maxLength = 0;  // 0: no limit
    };
    static Box nameBox();
    // Field 1 to 35 of a recipe record.
    static Box fieldBox(int field);
    // The setup screen's "Create new category:".
    static Box categoryBox();

    // The record as filling the entry screen and pressing Save writes it: each
    // text cut to its box's length, the directions' line breaks as CR LF.
    // Returns the texts that were cut, in the screen's order.
    static QList<ShortenedText> fit(RecipeRecord& record);
    // The text as the box holds it; notes a cut in shortened.
    static QString cut(const Box& box, const QString& text, QList<ShortenedText>& shortened);

    // One cut text: Recipe: "..." (43 characters; the box takes 40).
    static QString shortenedLine(const ShortenedText& cut);
    // The message that lists the cut texts before the user saves.
    static QString shortenedMessage(const QList<ShortenedText>& shortened);
};

}  // namespace pv::exchange
