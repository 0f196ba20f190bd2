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

    // The text with HTML character references ("&amp;", "&#8211;", "&eacute;")
    // replaced by their characters; anything else is kept as it is.
    static QString decodeEntities(QStringView text);
};

}  // namespace pv::exchange
