#include "plaintext.h"

#include "cp1252.h"

#include <QHash>

#include <bitset>
#include <memory>
#include <optional>

namespace pv::exchange {
namespace {

// Equivalents that compatibility decomposition does not give.
std::optional<QString> extraEquivalent(char32_t c) {
    switch (c) {
        case 0x2044:  // fraction slash
        case 0x2215:  // division slash
            return QStringLiteral("/");
        case 0x2010:  // hyphen
        case 0x2011:  // non-breaking hyphen
        case 0x2012:  // figure dash
        case 0x2043:  // hyphen bullet
        case 0x2212:  // minus sign
            return QStringLiteral("-");
        case 0x2015:  // horizontal bar
            return QString(QChar(0x2014));
        case 0x2032:  // prime: feet, minutes
            return QStringLiteral("'");
        case 0x2033:  // double prime: inches
            return QStringLiteral("\"");
        case 0x03BC:  // Greek mu as in "μg"
            return QString(QChar(0xB5));
        case 0x200B:  // zero-width space, joiners, word joiner, byte-order mark
        case 0x200C:
        case 0x200D:
        case 0x2060:
        case 0xFEFF:
            return QString();
        default:
            return std::nullopt;
    }
}

bool encodable(QStringView text) {
    return store::firstUnencodable(text) < 0;
}

// ASCII and the Latin-1 letters and signs, which Windows-1252 has at the same
// places: most of any text, passed over without asking.
bool surelyEncodable(char16_t unit) {
    return unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF);
}

// Characters of the Basic Multilingual Plane looked at once already.
using Seen = std::bitset<0x10000>;

// The plain equivalent of one character, or nothing.
std::optional<QString> equivalent(char32_t c) {
    if (auto extra = extraEquivalent(c)) {
        return extra;
    }
    const QString nfkc = QString::fromUcs4(&c, 1).normalized(QString::NormalizationForm_KC);
    QString mapped;
    for (qsizetype i = 0; i < nfkc.size(); ++i) {
        const char32_t part = store::codePointAt(nfkc, i);
        mapped += extraEquivalent(part).value_or(QString::fromUcs4(&part, 1));
        i += part > 0xFFFF;
    }
    if (mapped == QString::fromUcs4(&c, 1) || !encodable(mapped)) {
        return std::nullopt;
    }
    return mapped;
}

}  // namespace

QString PlainText::plain(QStringView text) {
    if (encodable(text)) {
        return text.toString();
    }
    // Compose first, so that a letter with a combining accent becomes the
    // accented letter Windows-1252 has.
    const QString composed = text.toString().normalized(QString::NormalizationForm_C);
    QString out;
    out.reserve(composed.size());
    // A text in another script repeats its characters: each is looked up once.
    QHash<char32_t, std::optional<QString>> known;
    auto kept = std::make_unique<Seen>();  // characters kept as they are
    for (qsizetype i = 0; i < composed.size(); ++i) {
        const char16_t unit = composed[i].unicode();
        if (surelyEncodable(unit) || (*kept)[unit]) {
            out += QChar(unit);
            continue;
        }
        const char32_t c = store::codePointAt(composed, i);
        const qsizetype width = c > 0xFFFF ? 2 : 1;
        const QStringView original = QStringView(composed).sliced(i, width);
        i += width - 1;
        if (encodable(original)) {
            out += original;
            continue;
        }
        auto found = known.constFind(c);
        if (found == known.cend()) {
            found = known.insert(c, equivalent(c));
        }
        const std::optional<QString>& replacement = *found;
        if (!replacement && width == 1) {
            kept->set(unit);
        }
        if (!replacement) {
            out += original;
            continue;
        }
        // "1⅓" is one and a third, not eleven thirds.
        if (replacement->contains(u'/') && replacement->front().isDigit() && !out.isEmpty() &&
            out.back().isDigit()) {
            out += u' ';
        }
        out += *replacement;
    }
    return out;
}

QString PlainText::plain(const QString& text) {
    return encodable(text) ? text : plain(QStringView(text));
}

void PlainText::collectUnencodable(QStringView text, QStringList& found, QSet<char32_t>& seen) {
    std::unique_ptr<Seen> passed;  // characters of the plane looked at already
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (surelyEncodable(unit) || (passed && (*passed)[unit])) {
            continue;
        }
        if (!passed) {
            passed = std::make_unique<Seen>();
        }
        const char32_t c = store::codePointAt(text, i);
        const qsizetype width = c > 0xFFFF ? 2 : 1;
        if (width == 1) {
            passed->set(unit);
        }
        if (!encodable(text.sliced(i, width)) && !seen.contains(c)) {
            seen.insert(c);
            found.append(QString::fromUcs4(&c, 1));
        }
        i += width - 1;
    }
}

}  // namespace pv::exchange
