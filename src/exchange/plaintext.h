#pragma once

#include <QSet>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace pv::exchange {

// Fits text from other programs into what a recipe file can hold
// (Windows-1252).
class PlainText {
public:
    // The text with every character that Windows-1252 lacks replaced by its
    // plain-text equivalent where there is one: compatibility forms (NFKC:
    // "⅓" → "1/3", "ﬁ" → "fi", fullwidth letters), dashes and hyphens → "-",
    // the fraction slash → "/", zero-width characters dropped. A fraction
    // straight after a digit is set apart by a blank ("1⅓" → "1 1/3").
    // Characters Windows-1252 has, such as "½", are kept; characters without
    // an equivalent are kept too (see collectUnencodable()).
    static QString plain(QStringView text);
    // The same, without a copy when the text is plain already.
    static QString plain(const QString& text);

    // The characters of text that Windows-1252 cannot hold, each once, in order
    // of first appearance, added to those already in found; seen holds them
    // too, for a quick look.
    static void collectUnencodable(QStringView text, QStringList& found, QSet<char32_t>& seen);
};

}  // namespace pv::exchange
