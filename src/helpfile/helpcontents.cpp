#include "helpcontents.h"

#include <QStringDecoder>

namespace pv::help {

namespace {

// Windows-1252 bytes 0x80 to 0x9F; the five unassigned ones map to C1 controls.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

bool isNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == ':' || c == '/';
}

// The few character references a contents file uses in practice.
QString decodeEntities(const QString& text) {
    if (!text.contains(u'&'))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'&') {
            out += text[i];
            continue;
        }
        const qsizetype semi = text.indexOf(u';', i + 1);
        if (semi < 0 || semi - i > 10) {
            out += text[i];
            continue;
        }
        const QString name = text.mid(i + 1, semi - i - 1);
        char32_t code = 0;
        if (name == u"amp")
            code = '&';
        else if (name == u"lt")
            code = '<';
        else if (name == u"gt")
            code = '>';
        else if (name == u"quot")
            code = '"';
        else if (name == u"apos")
            code = '\'';
        else if (name == u"nbsp")
            code = 0xA0;
        else if (name.startsWith(u'#')) {
            bool ok = false;
            const uint value = name.startsWith(u"#x", Qt::CaseInsensitive)
                                   ? name.mid(2).toUInt(&ok, 16)
                                   : name.mid(1).toUInt(&ok, 10);
            if (ok && value > 0 && value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF))
                code = value;
        }
        if (code == 0) {
            out += text[i];
            continue;
        }
        out += QString::fromUcs4(&code, 1);
        i = semi;
    }
    return out;
}

struct Tag {
    QByteArray name;  // lower case, with a leading '/' for an end tag
    QList<std::pair<QByteArray, QByteArray>> attributes;  // names lower case
};

// Reads the tag that starts at data[pos] == '<'; pos ends after its '>'.
Tag readTag(const QByteArray& data, qsizetype& pos) {
    Tag tag;
    const qsizetype size = data.size();
    ++pos;
    if (pos < size && data[pos] == '!') {
        // Comment or declaration: skip it whole.
        if (data.mid(pos, 3) == "!--") {
            const qsizetype end = data.indexOf("-->", pos + 3);
            pos = end < 0 ? size : end + 3;
        } else {
            const qsizetype end = data.indexOf('>', pos);
            pos = end < 0 ? size : end + 1;
        }
        return tag;
    }
    const qsizetype nameStart = pos;
    if (pos < size && data[pos] == '/')
        ++pos;
    while (pos < size && isNameChar(data[pos])) ++pos;
    tag.name = data.mid(nameStart, pos - nameStart).toLower();
    while (pos < size && data[pos] != '>') {
        if (isSpace(data[pos]) || data[pos] == '/') {
            ++pos;
            continue;
        }
        const qsizetype attrStart = pos;
        while (pos < size && !isSpace(data[pos]) && data[pos] != '=' && data[pos] != '>') ++pos;
        QByteArray attrName = data.mid(attrStart, pos - attrStart).toLower();
        while (pos < size && isSpace(data[pos])) ++pos;
        QByteArray value;
        if (pos < size && data[pos] == '=') {
            ++pos;
            while (pos < size && isSpace(data[pos])) ++pos;
            if (pos < size && (data[pos] == '"' || data[pos] == '\'')) {
                const char quote = data[pos];
                const qsizetype end = data.indexOf(quote, pos + 1);
                const qsizetype stop = end < 0 ? size : end;
                value = data.mid(pos + 1, stop - pos - 1);
                pos = end < 0 ? size : end + 1;
            } else {
                const qsizetype valueStart = pos;
                while (pos < size && !isSpace(data[pos]) && data[pos] != '>') ++pos;
                value = data.mid(valueStart, pos - valueStart);
            }
        }
        if (!attrName.isEmpty() && tag.attributes.size() < 16)
            tag.attributes.append({std::move(attrName), std::move(value)});
    }
    if (pos < size)
        ++pos;  // the '>'
    return tag;
}

QByteArray attribute(const Tag& tag, const char* name) {
    for (const auto& [key, value] : tag.attributes) {
        if (key == name)
            return value;
    }
    return {};
}

QString cleanValue(const QByteArray& raw) {
    return decodeEntities(decodeHelpText(raw)).simplified();
}

}  // namespace

QString decodeHelpText(QByteArrayView bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    text.clear();
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text += (byte >= 0x80 && byte < 0xA0) ? QChar(kCp1252High[byte - 0x80]) : QChar(byte);
    }
    return text;
}

QList<ContentsEntry> parseContents(const QByteArray& hhc) {
    QList<ContentsEntry> entries;
    int listDepth = 0;  // open <UL> elements
    bool inSitemap = false;
    ContentsEntry current;
    bool haveName = false;
    bool haveLocal = false;

    qsizetype pos = 0;
    while (pos < hhc.size() && entries.size() < kMaxContentsEntries) {
        const qsizetype open = hhc.indexOf('<', pos);
        if (open < 0)
            break;
        pos = open;
        const Tag tag = readTag(hhc, pos);
        if (tag.name == "ul") {
            ++listDepth;
        } else if (tag.name == "/ul") {
            listDepth = qMax(0, listDepth - 1);
        } else if (tag.name == "object") {
            inSitemap = attribute(tag, "type").toLower() == "text/sitemap";
            current = {};
            haveName = haveLocal = false;
        } else if (tag.name == "param" && inSitemap) {
            const QByteArray name = attribute(tag, "name").toLower();
            // An entry may carry several Name/Local pairs; the first of each counts.
            if (name == "name" && !haveName) {
                current.name = cleanValue(attribute(tag, "value"));
                haveName = true;
            } else if (name == "local" && !haveLocal) {
                current.local = cleanValue(attribute(tag, "value"));
                haveLocal = true;
            }
        } else if (tag.name == "/object") {
            if (inSitemap && !current.name.isEmpty()) {
                current.depth = qBound(0, listDepth - 1, kMaxContentsDepth);
                entries.append(current);
            }
            inSitemap = false;
        }
    }
    return entries;
}

SystemInfo parseSystem(const QByteArray& system) {
    // A 4-byte version, then records: 16-bit code, 16-bit length, data.
    SystemInfo info;
    const auto u16 = [&](qsizetype at) {
        return quint16(quint8(system[at]) | (quint16(quint8(system[at + 1])) << 8));
    };
    const auto text = [&](qsizetype at, qsizetype length) {
        QByteArrayView bytes(system.constData() + at, length);
        const qsizetype nul = bytes.indexOf('\0');
        if (nul >= 0)
            bytes = bytes.first(nul);
        return decodeHelpText(bytes).trimmed();
    };
    qsizetype pos = 4;
    while (pos + 4 <= system.size()) {
        const quint16 code = u16(pos);
        const quint16 length = u16(pos + 2);
        pos += 4;
        if (length > system.size() - pos)
            break;  // a record that runs past the end: the rest is damaged
        switch (code) {
            case 0:
                info.contentsFile = text(pos, length);
                break;
            case 2:
                info.defaultTopic = text(pos, length);
                break;
            case 3:
                info.title = text(pos, length);
                break;
            default:
                break;
        }
        pos += length;
    }
    return info;
}

}  // namespace pv::help
