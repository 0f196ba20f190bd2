#pragma once

#include "recipedraft.h"

#include <QByteArrayView>
#include <QList>

#include <optional>

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
    // The recipes of a JSON text given as UTF-8, or nothing when it is not
    // JSON at all.
    static std::optional<QList<RecipeDraft>> readJson(QByteArrayView utf8, ReadProgress& progress);

    // The recipes in the <script type="application/ld+json"> blocks of a
    // saved web page, parsed with libxml2's HTML parser and decoded as
    // TextDecoding::decodePage() says.
    static QList<RecipeDraft> readHtml(QByteArrayView bytes, ReadProgress& progress);
};

}  // namespace pv::exchange
