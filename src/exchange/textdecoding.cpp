#include "textdecoding.h"

#include "cp1252.h"

#include <QStringDecoder>

#include <algorithm>
#include <cstring>

namespace pv::exchange {
namespace {

constexpr qsizetype kCharsetScan = 64 * 1024;

// The length of the well-formed UTF-8 sequence that starts at `at` (1 to 4),
// or 0 when the bytes there are none: overlong forms, surrogates and code
// points past U+10FFFF are not UTF-8.
qsizetype sequenceLength(QByteArrayView bytes, qsizetype at) {
    const uchar lead = uchar(bytes[at]);
    if (lead < 0x80) {
        return 1;
    }
    qsizetype length = 0;
    uchar low = 0x80;  // the range of the byte after the lead
    uchar high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (at + length > bytes.size()) {
        return 0;
    }
    for (qsizetype i = 1; i < length; ++i) {
        const uchar next = uchar(bytes[at + i]);
        if (next < (i == 1 ? low : 0x80) || next > (i == 1 ? high : 0xBF)) {
            return 0;
        }
    }
    return length;
}

// Where the run of ASCII bytes from `at` ends, eight bytes at a time.
qsizetype asciiEnd(QByteArrayView bytes, qsizetype at) {
    while (at + 8 <= bytes.size()) {
        quint64 word;
        std::memcpy(&word, bytes.data() + at, 8);
        if (word & 0x8080808080808080ULL) {
            break;
        }
        at += 8;
    }
    while (at < bytes.size() && uchar(bytes[at]) < 0x80) {
        ++at;
    }
    return at;
}

QString decodeFallback(QByteArrayView bytes, TextDecoding::Fallback fallback) {
    if (fallback == TextDecoding::Fallback::CodePage437) {
        // Through ICU; a Qt built without it has no code page 437.
        QStringDecoder decoder("IBM437");
        if (decoder.isValid()) {
            return decoder(bytes);
        }
    }
    return store::decodeCp1252(bytes);
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// The charset named in a charset attribute or after "charset=" in a content
// attribute, cleaned, or nothing when it is not a plausible name.
QByteArray charsetName(QByteArrayView text) {
    QByteArray name = text.trimmed().toByteArray().toLower();
    while (!name.isEmpty() && (name.front() == '"' || name.front() == '\'')) {
        name.remove(0, 1);
    }
    qsizetype end = 0;
    while (end < name.size() && end <= 40 &&
           ((name[end] >= 'a' && name[end] <= 'z') || (name[end] >= '0' && name[end] <= '9') ||
            name[end] == '-' || name[end] == '_' || name[end] == '.' || name[end] == ':')) {
        ++end;
    }
    return end > 40 ? QByteArray() : name.first(end);
}

// Reads the attributes of a tag from `at` to its '>'; calls found(name, value)
// for each, name in lower case. Returns where it stopped.
template <typename Found>
qsizetype readAttributes(QByteArrayView text, qsizetype at, Found found) {
    while (at < text.size()) {
        while (at < text.size() && (isBlank(text[at]) || text[at] == '/')) {
            ++at;
        }
        if (at >= text.size() || text[at] == '>') {
            break;
        }
        const qsizetype nameStart = at;
        while (at < text.size() && !isBlank(text[at]) && text[at] != '=' && text[at] != '>' &&
               text[at] != '/') {
            ++at;
        }
        const QByteArray name = text.sliced(nameStart, at - nameStart).toByteArray().toLower();
        while (at < text.size() && isBlank(text[at])) {
            ++at;
        }
        QByteArrayView value;
        if (at < text.size() && text[at] == '=') {
            ++at;
            while (at < text.size() && isBlank(text[at])) {
                ++at;
            }
            if (at < text.size() && (text[at] == '"' || text[at] == '\'')) {
                const char quote = text[at++];
                const qsizetype end = text.indexOf(quote, at);
                const qsizetype stop = end < 0 ? text.size() : end;
                value = text.sliced(at, stop - at);
                at = end < 0 ? stop : stop + 1;
            } else {
                const qsizetype valueStart = at;
                while (at < text.size() && !isBlank(text[at]) && text[at] != '>') {
                    ++at;
                }
                value = text.sliced(valueStart, at - valueStart);
            }
        }
        found(name, value);
    }
    return at;
}

bool startsWithNoCase(QByteArrayView text, qsizetype at, QByteArrayView word) {
    return text.size() - at >= word.size() &&
           text.sliced(at, word.size()).toByteArray().toLower() == word;
}

}  // namespace

bool TextDecoding::isUtf8(QByteArrayView bytes) {
    for (qsizetype at = asciiEnd(bytes, 0); at < bytes.size();) {
        const qsizetype length = sequenceLength(bytes, at);
        if (length == 0) {
            return false;
        }
        at = asciiEnd(bytes, at + length);
    }
    return true;
}

QString TextDecoding::decode(QByteArrayView bytes, Fallback fallback) {
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE
                                                            : QStringDecoder::Utf16BE);
        return decoder(bytes.sliced(2));
    }
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        bytes = bytes.sliced(3);
    }
    // Decoded in place: a byte gives at most one UTF-16 unit, in UTF-8 and in
    // both code pages.
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    for (qsizetype at = 0; at < bytes.size();) {
        qsizetype end = asciiEnd(bytes, at);
        for (qsizetype length; end < bytes.size() && (length = sequenceLength(bytes, end)) > 0;) {
            end = asciiEnd(bytes, end + length);
        }
        out = utf8.appendToBuffer(out, bytes.sliced(at, end - at));
        at = end;
        while (end < bytes.size() && sequenceLength(bytes, end) == 0) {
            ++end;
        }
        if (end > at) {
            const QString other = decodeFallback(bytes.sliced(at, end - at), fallback);
            out = std::copy(other.cbegin(), other.cend(), out);
        }
        at = end;
    }
    text.truncate(out - text.constData());
    return text;
}

QByteArray TextDecoding::pageUtf8(QByteArrayView bytes) {
    const QByteArray charset = declaredCharset(bytes);
    if (!bytes.startsWith("\xEF\xBB\xBF") && !bytes.startsWith("\xFF\xFE") &&
        !bytes.startsWith("\xFE\xFF") &&
        (charset.isEmpty() || charset == "utf-8" || charset == "utf8") && isUtf8(bytes)) {
        return QByteArray::fromRawData(bytes.data(), bytes.size());
    }
    return decodePage(bytes).toUtf8();
}

QByteArray TextDecoding::declaredCharset(QByteArrayView bytes) {
    const QByteArrayView head = bytes.first(std::min(bytes.size(), kCharsetScan));
    for (qsizetype at = head.indexOf('<'); at >= 0; at = head.indexOf('<', at + 1)) {
        if (head.sliced(at).startsWith("<!--")) {
            const qsizetype end = head.indexOf("-->", at + 4);
            if (end < 0) {
                break;
            }
            at = end + 2;
            continue;
        }
        if (!startsWithNoCase(head, at + 1, "meta") || at + 5 >= head.size() ||
            !(isBlank(head[at + 5]) || head[at + 5] == '/')) {
            continue;
        }
        QByteArray charset;
        bool contentType = false;
        QByteArray content;
        at = readAttributes(head, at + 5, [&](const QByteArray& name, QByteArrayView value) {
            if (name == "charset") {
                charset = charsetName(value);
            } else if (name == "http-equiv") {
                contentType = value.trimmed().toByteArray().toLower() == "content-type";
            } else if (name == "content") {
                content = value.toByteArray().toLower();
            }
        });
        if (charset.isEmpty() && contentType) {
            const qsizetype named = content.indexOf("charset=");
            if (named >= 0) {
                charset = charsetName(QByteArrayView(content).sliced(named + 8));
            }
        }
        if (!charset.isEmpty()) {
            return charset;
        }
        if (at >= head.size()) {
            break;
        }
    }
    return {};
}

QString TextDecoding::decodePage(QByteArrayView bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF") || bytes.startsWith("\xFF\xFE") ||
        bytes.startsWith("\xFE\xFF")) {
        return decode(bytes);
    }
    const QByteArray charset = declaredCharset(bytes);
    // As browsers do: Latin-1 and ASCII pages are Windows-1252, a UTF-16 page
    // without a byte-order mark cannot have been read to find its <meta>.
    static const QByteArrayView windows1252[] = {
        "windows-1252", "cp1252",     "x-cp1252", "iso-8859-1", "iso8859-1",     "latin1",
        "l1",           "iso_8859-1", "us-ascii", "ascii",      "ansi_x3.4-1968"};
    for (const QByteArrayView name : windows1252) {
        if (charset == name) {
            return store::decodeCp1252(bytes);
        }
    }
    if (charset.isEmpty() || charset == "utf-8" || charset == "utf8" ||
        charset.startsWith("utf-16")) {
        return decode(bytes);
    }
    QStringDecoder decoder(charset.constData());
    return decoder.isValid() ? decoder(bytes) : decode(bytes);
}

}  // namespace pv::exchange
