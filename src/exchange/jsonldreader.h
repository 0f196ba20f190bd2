#pragma once

#include "recipedraft.h"

#include <QByteArrayView>
#include <QList>

namespace pv::exchange {

class ReadProgress;

// Finds schema.org Recipe data in JSON-LD: at the top, in arrays (nested ones
// too), in @graph, or inside other objects; @type may be "Recipe" or a list
// holding it. Tolerates what real pages get wrong: a CDATA or comment wrapper,
// garbage or a second value after the JSON, HTML entities and tags inside
// strings (cleaned by libxml2's HTML parser), an ingredient string holding
// several lines. A recipe given twice (the same boxes, or the same @id) is
// read once; a Recipe with neither ingredients nor instructions is none.
// Nesting is followed to a bounded depth, and text made of several values
// (a QuantitativeValue) is built within a budget, so that no value
// multiplies the text.
class JsonLdReader {
public:
    // A file's JSON may hold no more values (object keys counted too) than
    // kMaxValues, nor more than one in every kBytesPerValue of its bytes
    // beyond kFreeValues: Qt's parser takes some 40 bytes and half a
    // microsecond for each, while recipe files hold one in every 18 bytes
    // ("Export all") to 50 (web pages). 2,000,000 values are an "Export all"
    // file of some 25,000 recipes (35 MB). A file of millions of tiny values
    // is refused unparsed.
    static constexpr qsizetype kMaxValues = 2'000'000;
    static constexpr qsizetype kBytesPerValue = 8;
    static constexpr qsizetype kFreeValues = 100'000;

    struct Read {
        QList<RecipeDraft> drafts;
        bool notJson = false;        // readJson: the text is not JSON at all
        bool tooManyValues = false;  // refused unparsed, as above
    };

    // The recipes of a JSON text given as UTF-8; fileSize is the size of the
    // file it was read from.
    static Read readJson(QByteArrayView utf8, qsizetype fileSize, ReadProgress& progress);

    // The recipes in the <script type="application/ld+json"> blocks of a
    // saved web page, parsed with libxml2's HTML parser and decoded as
    // TextDecoding::decodePage() says.
    static Read readHtml(QByteArrayView bytes, ReadProgress& progress);

    // Whether JSON texts of so many values in all are too many for a file of
    // fileSize bytes. valueCount() counts them without parsing.
    static bool tooManyValues(qsizetype values, qsizetype fileSize);
    static qsizetype valueCount(QByteArrayView json);
};

}  // namespace pv::exchange
