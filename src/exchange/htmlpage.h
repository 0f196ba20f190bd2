#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace pv::exchange {

class ReadProgress;

// What recipe import needs of a saved web page, through libxml2's HTML parser.
class HtmlPage {
public:
    // The text of every <script type="application/ld+json"> element, in page
    // order; the page is decoded as TextDecoding::decodePage() says. Nothing
    // when the progress says to stop.
    static QStringList ldJsonScripts(QByteArrayView bytes, ReadProgress& progress);

    // The lines a reader sees of a text that may hold HTML: <br> and the ends
    // of blocks (paragraphs, list items, headings, ...) break lines, other tags
    // go without a trace, entities are decoded, scripts and styles are dropped.
    static QStringList textLines(QStringView html);

    // The text with HTML character references ("&amp;", "&#8211;", "&eacute;")
    // replaced by their characters; anything else is kept as it is.
    static QString decodeEntities(QStringView text);
};

}  // namespace pv::exchange
