#include "units.h"

#include <QHash>

#include <initializer_list>

namespace pv::exchange {

namespace {

using namespace Qt::StringLiterals;

// One unit: its one spelling, its words (each singular with its plural at the
// same place) and its abbreviations, all in lower case.
struct UnitRow {
    const char16_t* key;
    std::initializer_list<const char16_t*> singular;
    std::initializer_list<const char16_t*> plural;
    std::initializer_list<const char16_t*> abbreviations;
};

const std::initializer_list<UnitRow> kUnits = {
    {u"cup", {u"cup", u"xícara", u"xicara"}, {u"cups", u"xícaras", u"xicaras"}, {}},
    {u"tbsp",
     {u"tablespoon"},
     {u"tablespoons"},
     {u"tbsp", u"tbsps", u"tbs", u"tbl", u"tbls", u"tb"}},
    {u"tsp", {u"teaspoon"}, {u"teaspoons"}, {u"tsp", u"tsps", u"ts"}},
    {u"oz", {u"ounce"}, {u"ounces"}, {u"oz"}},
    {u"fl oz", {}, {}, {u"fl oz"}},
    {u"lb", {u"pound"}, {u"pounds"}, {u"lb", u"lbs"}},
    {u"g", {u"gram", u"gramo"}, {u"grams", u"gramos"}, {u"gr"}},
    {u"kg", {u"kilogram"}, {u"kilograms"}, {u"kg", u"kgs"}},
    {u"mg", {u"milligram"}, {u"milligrams"}, {u"mg"}},
    {u"ml",
     {u"milliliter", u"millilitre", u"mililitro"},
     {u"milliliters", u"millilitres", u"mililitros"},
     {u"ml"}},
    {u"cl", {}, {}, {u"cl"}},
    {u"dl", {}, {}, {u"dl"}},
    {u"l", {u"liter", u"litre"}, {u"liters", u"litres"}, {}},
    {u"pinch", {u"pinch", u"pitada"}, {u"pinches", u"pitadas"}, {u"pn"}},
    {u"dash", {u"dash"}, {u"dashes"}, {u"ds"}},
    {u"clove", {u"clove"}, {u"cloves"}, {}},
    {u"can", {u"can"}, {u"cans"}, {u"cn"}},
    {u"package", {u"package"}, {u"packages"}, {u"pkg", u"pkgs", u"pk"}},
    {u"packet", {u"packet"}, {u"packets"}, {}},
    {u"pint", {u"pint"}, {u"pints"}, {u"pt"}},
    {u"quart", {u"quart"}, {u"quarts"}, {u"qt"}},
    {u"gallon", {u"gallon"}, {u"gallons"}, {u"gal", u"ga"}},
    {u"stick", {u"stick"}, {u"sticks"}, {}},
    {u"slice", {u"slice"}, {u"slices"}, {u"sl"}},
    {u"piece", {u"piece"}, {u"pieces"}, {u"pc", u"pcs"}},
    {u"bunch", {u"bunch"}, {u"bunches"}, {u"bn", u"bund"}},
    // A spoon of a size said after it: "colher (sopa)", "colher de chá".
    {u"spoon", {u"colher"}, {u"colheres"}, {}},
    {u"sprig", {u"sprig"}, {u"sprigs"}, {}},
    {u"head", {u"head"}, {u"heads"}, {}},
    {u"handful", {u"handful"}, {u"handfuls"}, {}},
    {u"jar", {u"jar"}, {u"jars"}, {}},
    {u"bottle", {u"bottle"}, {u"bottles"}, {}},
    {u"box", {u"box"}, {u"boxes"}, {}},
    {u"bag", {u"bag"}, {u"bags"}, {}},
    {u"envelope", {u"envelope"}, {u"envelopes"}, {}},
    {u"drop", {u"drop"}, {u"drops"}, {u"dr"}},
    {u"carton", {u"carton"}, {u"cartons"}, {u"ct"}},
    {u"each", {}, {}, {u"each", u"ea"}},
    {u"large", {}, {}, {u"large", u"lg"}},
    {u"medium", {}, {}, {u"medium", u"md", u"med"}},
    {u"small", {}, {}, {u"small", u"sm"}},
};

struct Tables {
    QHash<QString, QString> keyOf;     // any spelling of two letters or more -> key
    QHash<QString, QString> pluralOf;  // singular word -> plural word
    QHash<QString, QString> singularOf;
};

const Tables& tables() {
    static const Tables built = [] {
        Tables t;
        for (const UnitRow& row : kUnits) {
            const QString key = QString::fromUtf16(row.key);
            const auto* singular = row.singular.begin();
            const auto* plural = row.plural.begin();
            for (; singular != row.singular.end(); ++singular, ++plural) {
                t.keyOf.insert(QString::fromUtf16(*singular), key);
                t.keyOf.insert(QString::fromUtf16(*plural), key);
                t.pluralOf.insert(QString::fromUtf16(*singular), QString::fromUtf16(*plural));
                t.singularOf.insert(QString::fromUtf16(*plural), QString::fromUtf16(*singular));
            }
            for (const char16_t* abbreviation : row.abbreviations) {
                t.keyOf.insert(QString::fromUtf16(abbreviation), key);
            }
        }
        return t;
    }();
    return built;
}

// The single letters that are units: t teaspoon, T tablespoon, and the rest
// in either case.
QString letterUnit(QChar c) {
    switch (c.unicode()) {
        case u't':
            return u"tsp"_s;
        case u'T':
            return u"tbsp"_s;
        case u'c':
        case u'C':
            return u"cup"_s;
        case u'g':
        case u'G':
            return u"g"_s;
        case u'l':
        case u'L':
            return u"l"_s;
        default:
            return {};
    }
}

// Units written in capitals only: German's Esslöffel and Teelöffel (an "El"
// or "Tl" is a word, as in "El Paso").
QString capitalsUnit(QStringView word) {
    if (word == u"EL") {
        return u"tbsp"_s;
    }
    if (word == u"TL") {
        return u"tsp"_s;
    }
    return {};
}

QStringView withoutPeriod(QStringView word) {
    word = word.trimmed();
    if (word.endsWith(u'.')) {
        word.chop(1);
    }
    return word;
}

bool atWordEnd(QStringView text, qsizetype at) {
    return at >= text.size() || text[at].isSpace();
}

// The written word in the case of the other: all capitals, a capital first, or as it is.
QString inCaseOf(const QString& word, QStringView model) {
    if (model.size() > 1 && model.toString() == model.toString().toUpper()) {
        return word.toUpper();
    }
    if (!model.isEmpty() && model[0].isUpper()) {
        return word.left(1).toUpper() + word.mid(1);
    }
    return word;
}

}  // namespace

QString Units::normalised(QStringView word) {
    word = withoutPeriod(word);
    if (word.size() == 1) {
        return letterUnit(word[0]);
    }
    if (word.isEmpty()) {
        return {};
    }
    if (QString unit = capitalsUnit(word); !unit.isEmpty()) {
        return unit;
    }
    return tables().keyOf.value(word.toString().toLower().simplified());
}

qsizetype Units::leadingLength(QStringView text) {
    qsizetype end = 0;
    if (text.startsWith(u"fl oz", Qt::CaseInsensitive)) {
        end = 5;
    } else {
        while (end < text.size() && text[end].isLetter()) {
            ++end;
        }
        if (end == 0 || !isUnit(text.first(end))) {
            return 0;
        }
    }
    if (end < text.size() && text[end] == u'.') {
        ++end;
    }
    return atWordEnd(text, end) ? end : 0;
}

QString Units::mergeKey(QStringView written) {
    const QString known = normalised(written);
    if (!known.isEmpty()) {
        return known;
    }
    QString word = withoutPeriod(written).toString().toLower().simplified();
    if (word.size() > 1 && word.endsWith(u's')) {
        word.chop(1);
    }
    return word;
}

QString Units::spelledFor(QStringView written, bool plural) {
    const QStringView trimmed = written.trimmed();
    const QStringView core = withoutPeriod(trimmed);
    const QString lower = core.toString().toLower();
    const Tables& t = tables();
    const QString other = plural ? t.pluralOf.value(lower) : t.singularOf.value(lower);
    if (other.isEmpty()) {
        return trimmed.toString();
    }
    return inCaseOf(other, core) + trimmed.sliced(core.size()).toString();
}

}  // namespace pv::exchange
