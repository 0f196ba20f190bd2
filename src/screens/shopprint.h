#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QPrinter;

namespace pv {

namespace store {
class Store;
}

// The lines of a saved shopping list: split at CR LF; a final CR LF starts no
// further line, an empty line in between stays.
QStringList shoppingListLines(const QString& text);

// The words of one line: each runs up to and including a blank, so runs of
// blanks stay with the word before them.
QStringList shoppingListWords(const QString& line);

// One line of a printout, in the plain face or in bold.
struct PrintedLine {
    QString text;
    bool bold = false;

    friend bool operator==(const PrintedLine&, const PrintedLine&) = default;
};

// Prints the lines in the printer's own face, word by word: a word never
// split, a line ended before a word that would pass the page width, an empty
// line kept, also at the top of a page. False when the printer fails.
bool printLines(QPrinter* printer, const QList<PrintedLine>& lines);

// Prints the listed shopping-list file in the printer's current font, word by
// word, never splitting a word: a line ends before a word that would pass the
// page width. False when the file cannot be read or the printer fails; the
// caller stays quiet either way.
bool printShoppingList(const store::Store& store, const QString& fileName, QPrinter* printer);
// The same on the printer of the printer service.
bool printShoppingList(const store::Store& store, const QString& fileName);

}  // namespace pv
