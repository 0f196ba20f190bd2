#pragma once

#include "outcome.h"
#include "store.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>

#include <optional>

namespace pv::store {

// Reads a buffer one field at a time by the quoted-field rule that recipe
// files and the category list share:
//  1. spaces are skipped;
//  2. a field that starts with a double quote runs to the next double quote
//     (commas and line ends included); what follows the closing quote up to
//     and including the next comma or line end is passed over;
//  3. any other field runs to the next comma or line end (CR, LF or CR LF),
//     which is passed over;
//  4. the end of the buffer ends a field; asking for a field when nothing is
//     left gives no field.
// Works on the raw bytes: quote, comma, CR and LF are the same in every
// single-byte code page.
class QuotedFieldReader {
public:
    explicit QuotedFieldReader(QByteArrayView data) : data_(data) {}

    bool atEnd() const { return pos_ >= data_.size(); }
    // The next field, or nothing when nothing is left (input past end of file).
    std::optional<QByteArrayView> next();

private:
    void passLineEndOrComma();

    QByteArrayView data_;
    qsizetype pos_ = 0;
};

// The fields of the last complete record of a recipe file; error 62 when the
// file holds fewer than 35 fields or runs out in the middle of a record.
Outcome<RecipeFields> parseRecipeRecord(QByteArrayView bytes);

// Every field of the buffer until its end, each decoded (the category list
// read by field). Blanks alone at the end make no field.
QStringList parseFieldList(QByteArrayView bytes);

// The lines of a buffer without their line ends (CR LF, lone CR or lone LF); a
// final line without a line end counts, a final line end adds no empty line.
QStringList splitLines(QByteArrayView bytes);

// The record bytes of one recipe: every field in double quotes, commas
// between, CR LF after the last. A double quote inside a field is written as
// the right double quotation mark so that the reading rule keeps the field
// whole. The fields must be encodable (see firstUnencodable).
QByteArray formatRecipeRecord(const RecipeFields& fields);

}  // namespace pv::store
