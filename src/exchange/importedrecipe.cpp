#include "importedrecipe.h"

#include "cp1252.h"

#include <QLocale>

namespace pv::exchange {

using namespace Qt::StringLiterals;

qsizetype ImportedRecipe::characters() const {
    qsizetype count = record.name.size();
    for (const QString& field : record.fields) {
        count += field.size();
    }
    return count;
}

QString ImportedRecipe::refusalReason() const {
    if (!unencodable.isEmpty()) {
        return u"These characters cannot be saved: "_s + unencodableList();
    }
    if (characters() > kMostCharacters) {
        return u"Its texts hold %1 characters; a recipe holds at most %2."_s.arg(
            QLocale(QLocale::English).toString(characters()),
            QLocale(QLocale::English).toString(kMostCharacters));
    }
    return {};
}

QString ImportedRecipe::refusalMessage() const {
    if (!unencodable.isEmpty()) {
        return unencodableMessage();
    }
    const QString reason = refusalReason();
    return reason.isEmpty()
               ? reason
               : u"The recipe \"%1\" cannot be imported. %2"_s.arg(record.name, reason);
}

QString ImportedRecipe::unencodableMessage() const {
    return u"The recipe \"%1\" cannot be imported. These characters cannot be saved:\r\n%2"_s.arg(
        record.name, unencodableList());
}

QString ImportedRecipe::unencodableList() const {
    // A long list (a recipe in another script) is cut short.
    constexpr qsizetype kShown = 12;
    QStringList shown;
    for (qsizetype i = 0; i < std::min(kShown, unencodable.size()); ++i) {
        const QString& character = unencodable[i];
        shown.append(u"\"%1\" (U+%2)"_s.arg(
            character, u"%1"_s.arg(uint(store::codePointAt(character, 0)), 4, 16, QLatin1Char('0'))
                           .toUpper()));
    }
    QString list = shown.join(u", "_s);
    if (unencodable.size() > kShown) {
        list += u", and %1 more"_s.arg(unencodable.size() - kShown);
    }
    return list;
}

}  // namespace pv::exchange
