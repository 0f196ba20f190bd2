#include "htmlpage.h"

#include "readprogress.h"
#include "textdecoding.h"

#include <libxml/HTMLparser.h>
#include <libxml/parser.h>

#include <cctype>
#include <climits>
#include <mutex>

namespace pv::exchange {
namespace {

void initLibxml() {
    static std::once_flag once;
    std::call_once(once, [] { xmlInitParser(); });
}

void ignoreMessage(void*, const char*, ...) {}

// libxml2 writes some complaints (encoding errors) to the standard error
// whatever the parse options say; these are silenced while a page is read.
class QuietLibxml {
public:
    QuietLibxml() : old_(xmlGenericError), context_(xmlGenericErrorContext) {
        xmlSetGenericErrorFunc(nullptr, &ignoreMessage);
    }
    ~QuietLibxml() { xmlSetGenericErrorFunc(context_, old_); }
    QuietLibxml(const QuietLibxml&) = delete;
    QuietLibxml& operator=(const QuietLibxml&) = delete;

private:
    xmlGenericErrorFunc old_;
    void* context_;
};

bool isElement(const xmlChar* name, const char* element) {
    return xmlStrcasecmp(name, reinterpret_cast<const xmlChar*>(element)) == 0;
}

// Collects the text of <script type="application/ld+json"> elements as the
// HTML parser reports them.
struct ScriptCollector {
    QList<QByteArray> scripts;
    bool inScript = false;

    // The parser passes the user data it was created with.
    static ScriptCollector& of(void* context) { return *static_cast<ScriptCollector*>(context); }
    static bool isScript(const xmlChar* name) { return isElement(name, "script"); }
    static void startElement(void* context, const xmlChar* name, const xmlChar** attributes) {
        ScriptCollector& self = of(context);
        if (!isScript(name) || !attributes) {
            return;
        }
        for (const xmlChar** at = attributes; at[0]; at += 2) {
            if (xmlStrcasecmp(at[0], reinterpret_cast<const xmlChar*>("type")) == 0 && at[1]) {
                const QByteArray type =
                    QByteArray(reinterpret_cast<const char*>(at[1])).trimmed().toLower();
                if (type.startsWith("application/ld+json")) {
                    self.inScript = true;
                    self.scripts.append(QByteArray());
                }
            }
        }
    }
    static void endElement(void* context, const xmlChar* name) {
        if (isScript(name)) {
            of(context).inScript = false;
        }
    }
    static void text(void* context, const xmlChar* text, int length) {
        ScriptCollector& self = of(context);
        if (self.inScript) {
            self.scripts.back().append(reinterpret_cast<const char*>(text), length);
        }
    }
};

// Collects the text of an HTML fragment as a reader sees it.
struct TextCollector {
    QByteArray text;
    int hidden = 0;  // inside <script> or <style>

    static TextCollector& of(void* context) { return *static_cast<TextCollector*>(context); }
    static bool hides(const xmlChar* name) {
        return isElement(name, "script") || isElement(name, "style");
    }
    static bool breaksLine(const xmlChar* name) {
        static const char* const blocks[] = {
            "br", "p",  "div", "li", "ul", "ol", "dl", "dt",         "dd",      "tr", "table",
            "h1", "h2", "h3",  "h4", "h5", "h6", "hr", "blockquote", "section", "pre"};
        for (const char* block : blocks) {
            if (isElement(name, block)) {
                return true;
            }
        }
        return false;
    }
    static void startElement(void* context, const xmlChar* name, const xmlChar**) {
        TextCollector& self = of(context);
        self.hidden += hides(name);
        if (breaksLine(name)) {
            self.text += '\n';
        }
    }
    static void endElement(void* context, const xmlChar* name) {
        TextCollector& self = of(context);
        self.hidden -= hides(name) && self.hidden > 0;
        if (breaksLine(name)) {
            self.text += '\n';
        }
    }
    static void characters(void* context, const xmlChar* text, int length) {
        TextCollector& self = of(context);
        if (self.hidden == 0) {
            self.text.append(reinterpret_cast<const char*>(text), length);
        }
    }
};

// Parses UTF-8 HTML with libxml2's HTML parser, by events, without building a
// tree; feeds it in pieces, as it takes an int length. False when the
// progress said to stop.
bool parseHtml(htmlSAXHandler& handler, void* collector, QByteArrayView utf8,
               ReadProgress* progress) {
    const QuietLibxml quiet;
    htmlParserCtxtPtr context =
        htmlCreatePushParserCtxt(&handler, collector, nullptr, 0, nullptr, XML_CHAR_ENCODING_UTF8);
    if (!context) {
        return true;
    }
    htmlCtxtUseOptions(context, HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING |
                                    HTML_PARSE_NONET | HTML_PARSE_IGNORE_ENC);
    constexpr qsizetype kChunk = 256 * 1024;
    bool stopped = false;
    for (qsizetype at = 0; at < utf8.size(); at += kChunk) {
        if (progress && !progress->step(at, utf8.size())) {
            stopped = true;
            break;
        }
        const int length = int(std::min(kChunk, utf8.size() - at));
        htmlParseChunk(context, utf8.data() + at, length, 0);
    }
    if (!stopped) {
        htmlParseChunk(context, nullptr, 0, 1);
    }
    htmlFreeParserCtxt(context);
    return !stopped;
}

// Whether the bytes hold "ld+json" in any case: a page without it has no
// script to read, and need not be parsed at all.
bool mentionsLdJson(QByteArrayView bytes) {
    static constexpr char kWord[] = "ld+json";
    for (qsizetype at = 0; at + 7 <= bytes.size(); ++at) {
        if ((bytes[at] | 0x20) != 'l') {
            continue;
        }
        qsizetype i = 1;
        while (i < 7 && (bytes[at + i] == kWord[i] || (bytes[at + i] | 0x20) == kWord[i])) {
            ++i;
        }
        if (i == 7) {
            return true;
        }
    }
    return false;
}

bool startsWithNoCase(QByteArrayView text, qsizetype at, QByteArrayView word) {
    if (at + word.size() > text.size()) {
        return false;
    }
    for (qsizetype i = 0; i < word.size(); ++i) {
        if ((text[at + i] | 0x20) != word[i]) {
            return false;
        }
    }
    return true;
}

// Whether the element named `name` starts at `at` ("<name" and a blank, '/'
// or '>' after it).
bool isStartTag(QByteArrayView text, qsizetype at, QByteArrayView name) {
    const qsizetype after = at + 1 + name.size();
    if (!startsWithNoCase(text, at + 1, name) || after >= text.size()) {
        return false;
    }
    const char c = text[after];
    return c == '>' || c == '/' || c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// Where the tag that starts at `at` ends, past its '>'; a quoted attribute
// value is read whole, '>' and all, as the parser reads it.
qsizetype tagEnd(QByteArrayView text, qsizetype at) {
    for (qsizetype i = at + 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '>') {
            return i + 1;
        }
        if (c != '=') {
            continue;
        }
        qsizetype j = i + 1;
        while (j < text.size() && (text[j] == ' ' || text[j] == '\t' || text[j] == '\n' ||
                                   text[j] == '\r' || text[j] == '\f')) {
            ++j;
        }
        if (j < text.size() && (text[j] == '"' || text[j] == '\'')) {
            const qsizetype close = text.indexOf(text[j], j + 1);
            if (close < 0) {
                return text.size();
            }
            i = close;
        } else {
            i = j - 1;
        }
    }
    return text.size();
}

// Where the text of a <script> or <style> element whose start tag ends at
// `at` runs out: past its end tag, which the parser takes to be the first
// "</name".
qsizetype rawTextEnd(QByteArrayView text, qsizetype at, QByteArrayView name) {
    for (qsizetype lt = text.indexOf('<', at); lt >= 0; lt = text.indexOf('<', lt + 1)) {
        if (lt + 1 < text.size() && text[lt + 1] == '/' && startsWithNoCase(text, lt + 2, name)) {
            const qsizetype end = text.indexOf('>', lt);
            return end < 0 ? text.size() : end + 1;
        }
    }
    return text.size();
}

// The page's <script> elements, one after another, as the HTML parser would
// find them: all else of the page (comments, other elements, styles) is left
// out, since the parser takes its time by the tag and the page's own markup
// may be millions of elements deep.
QByteArray scriptElements(QByteArrayView page) {
    QByteArray scripts;
    qsizetype at = 0;
    for (qsizetype lt = page.indexOf('<'); lt >= 0; lt = page.indexOf('<', at)) {
        if (page.sliced(lt).startsWith("<!--")) {
            const qsizetype end = page.indexOf("-->", lt + 4);
            at = end < 0 ? page.size() : end + 3;
        } else if (isStartTag(page, lt, "script")) {
            const qsizetype end = rawTextEnd(page, tagEnd(page, lt), "script");
            scripts += page.sliced(lt, end - lt);
            scripts += '\n';
            at = end;
        } else if (isStartTag(page, lt, "style")) {
            at = rawTextEnd(page, tagEnd(page, lt), "style");
        } else if (lt + 1 < page.size() &&
                   (std::isalpha(uchar(page[lt + 1])) || page[lt + 1] == '/' ||
                    page[lt + 1] == '!' || page[lt + 1] == '?')) {
            at = tagEnd(page, lt);
        } else {
            at = lt + 1;
        }
        if (at >= page.size()) {
            break;
        }
    }
    return scripts;
}

}  // namespace

QStringList HtmlPage::textLines(QStringView html) {
    initLibxml();
    TextCollector collector;
    htmlSAXHandler handler{};
    handler.startElement = &TextCollector::startElement;
    handler.endElement = &TextCollector::endElement;
    handler.characters = &TextCollector::characters;
    handler.cdataBlock = &TextCollector::characters;
    handler.ignorableWhitespace = &TextCollector::characters;
    parseHtml(handler, &collector, html.toUtf8(), nullptr);

    QStringList lines;
    const QByteArrayView text(collector.text);
    for (qsizetype start = 0; start < text.size();) {
        qsizetype end = text.indexOf('\n', start);
        end = end < 0 ? text.size() : end;
        if (QString line = QString::fromUtf8(text.sliced(start, end - start)).simplified();
            !line.isEmpty()) {
            lines.append(line);
        }
        start = end + 1;
    }
    return lines;
}

QStringList HtmlPage::ldJsonScripts(QByteArrayView bytes, ReadProgress& progress) {
    const bool utf16 = bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
    if (!utf16 && !mentionsLdJson(bytes)) {
        return {};
    }
    initLibxml();
    // The page's text is decoded here, so that libxml2 never meets bytes its
    // converters refuse (Windows-1252 has five unassigned bytes) and reads the
    // page as its byte-order mark or <meta> says, else as UTF-8.
    const QByteArray utf8 = TextDecoding::pageUtf8(bytes);

    // Parsed by events, without building the page's tree: only the contents of
    // the ld+json script elements are kept.
    ScriptCollector collector;
    htmlSAXHandler handler{};
    handler.startElement = &ScriptCollector::startElement;
    handler.endElement = &ScriptCollector::endElement;
    handler.characters = &ScriptCollector::text;
    handler.cdataBlock = &ScriptCollector::text;

    if (!parseHtml(handler, &collector, scriptElements(utf8), &progress)) {
        return {};
    }

    QStringList scripts;
    for (const QByteArray& script : collector.scripts) {
        scripts.append(QString::fromUtf8(script));
    }
    return scripts;
}

QString HtmlPage::decodeEntities(QStringView text) {
    if (!text.contains(u'&')) {
        return text.toString();
    }
    initLibxml();
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        // A reference is short: look for its ';' nearby only.
        const qsizetype near =
            text[i] == u'&'
                ? text.sliced(i + 1, std::min<qsizetype>(12, text.size() - i - 1)).indexOf(u';')
                : -1;
        const qsizetype end = near < 0 ? -1 : i + 1 + near;
        if (end < 0) {
            out += text[i];
            continue;
        }
        const QStringView name = text.sliced(i + 1, end - i - 1);
        char32_t code = 0;
        if (name.startsWith(u'#')) {
            bool ok = false;
            const bool hex = name.size() > 1 && (name[1] == u'x' || name[1] == u'X');
            const uint value = name.sliced(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
            code = ok && value > 0 && value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF)
                       ? value
                       : 0;
        } else if (!name.isEmpty()) {
            const QByteArray latin = name.toLatin1();
            if (const htmlEntityDesc* entity =
                    htmlEntityLookup(reinterpret_cast<const xmlChar*>(latin.constData()))) {
                code = entity->value;
            }
        }
        if (code == 0) {
            out += text[i];
            continue;
        }
        out += QString::fromUcs4(&code, 1);
        i = end;
    }
    return out;
}

}  // namespace pv::exchange
