#include "entryboxes.h"

namespace pv::exchange {

using namespace Qt::StringLiterals;

EntryBoxes::Box EntryBoxes::nameBox() {
    return {u"Recipe"_s, 40};
}

EntryBoxes::Box EntryBoxes::fieldBox(int field) {
    const int line = (field - 1) % 10 + 1;
    if (field >= store::amountField(1) && field <= store::amountField(10)) {
        return {u"Amount %1"_s.arg(line), line == 1 ? 5 : 0};
    }
    if (field >= store::measureField(1) && field <= store::measureField(10)) {
        return {u"Type %1"_s.arg(line), 0};
    }
    if (field >= store::ingredientField(1) && field <= store::ingredientField(10)) {
        return {u"Ingredient %1"_s.arg(line), line == 1 || line == 6 ? 39 : 0};
    }
    switch (field) {
        case store::kDirectionsField:
            return {u"Directions"_s, 0};
        case store::kTemperatureField:
            return {u"Oven Temperature"_s, 3};
        case store::kServingSizeField:
            return {u"Srv Size"_s, 3};
        case store::kHoursField:
            return {u"Cooking Time hours"_s, 2};
        case store::kMinutesField:
            return {u"Cooking Time minutes"_s, 3};
        default:
            return {};
    }
}

EntryBoxes::Box EntryBoxes::categoryBox() {
    return {u"Create new category:"_s, 35};
}

QString EntryBoxes::cut(const Box& box, const QString& text, QList<ShortenedText>& shortened) {
    if (box.maxLength <= 0 || text.size() <= box.maxLength) {
        return text;
    }
    shortened.append({box.name, text, box.maxLength});
    return text.left(box.maxLength);
}

QList<ShortenedText> EntryBoxes::fit(RecipeRecord& record) {
    QList<ShortenedText> shortened;
    record.name = cut(nameBox(), record.name, shortened);
    // In the screen's order: line by line, then the cooking boxes.
    for (int line = 1; line <= 10; ++line) {
        for (const int field :
             {store::amountField(line), store::measureField(line), store::ingredientField(line)}) {
            QString& text = record.fields[field - 1];
            text = cut(fieldBox(field), text, shortened);
        }
    }
    for (int field = store::kTemperatureField; field <= store::kMinutesField; ++field) {
        QString& text = record.fields[field - 1];
        text = cut(fieldBox(field), text, shortened);
    }
    // The directions box shows every kind of line break as one and gives each
    // back as CR LF.
    QString& directions = record.fields[store::kDirectionsField - 1];
    directions.replace(u"\r\n"_s, u"\n"_s);
    for (const QChar lineBreak :
         {QChar(u'\r'), QChar(QChar::ParagraphSeparator), QChar(QChar::LineSeparator)}) {
        directions.replace(lineBreak, u'\n');
    }
    directions.replace(u'\n', u"\r\n"_s);
    return shortened;
}

QString EntryBoxes::shortenedLine(const ShortenedText& cut) {
    return u"%1: \"%2\" (%3 characters; the box takes %4)"_s.arg(
        cut.box, cut.text, QString::number(cut.text.size()), QString::number(cut.limit));
}

QString EntryBoxes::shortenedMessage(const QList<ShortenedText>& shortened) {
    QStringList lines{
        u"These texts are longer than their boxes take and were cut short. "
        "Please check them before you save:"_s};
    for (const ShortenedText& cut : shortened) {
        lines.append(shortenedLine(cut));
    }
    return lines.join(u"\r\n"_s);
}

}  // namespace pv::exchange
