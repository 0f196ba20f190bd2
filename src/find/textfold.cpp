#include "textfold.h"

#include "cp1252.h"

#include <QChar>

#include <array>
#include <cstring>

namespace pv::find {
namespace {

void appendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out.push_back(char(c));
    } else if (c < 0x800) {
        out.push_back(char(0xC0 | (c >> 6)));
        out.push_back(char(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(char(0xE0 | (c >> 12)));
        out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(char(0x80 | (c & 0x3F)));
    } else {
        out.push_back(char(0xF0 | (c >> 18)));
        out.push_back(char(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(char(0x80 | (c & 0x3F)));
    }
}

// One case-folded character without accents, with the letters that take
// apart into two and the look-alike quotes.
void appendPlain(char32_t c, std::string& out) {
    switch (c) {
        case U'ß':
            out += "ss";
            return;
        case U'æ':
            out += "ae";
            return;
        case U'œ':
            out += "oe";
            return;
        case U'þ':
            out += "th";
            return;
        case U'ø':
            out += 'o';
            return;
        case U'ð':
            out += 'd';
            return;
        case 0x2018:  // ‘ ’ ‚ ‛
        case 0x2019:
        case 0x201A:
        case 0x201B:
            out += '\'';
            return;
        case 0x201C:  // “ ” „ ‟
        case 0x201D:
        case 0x201E:
        case 0x201F:
            out += '"';
            return;
        case 0x00A0:
            out += ' ';
            return;
        default:
            appendUtf8(c, out);
    }
}

// The slow, general folding of one character: taken apart (canonically for
// Windows-1252 characters, by compatibility for others), accents dropped,
// case folded.
void appendFoldedChar(char32_t c, bool inCp1252, std::string& out) {
    const QString parts = QString::fromUcs4(&c, 1).normalized(
        inCp1252 ? QString::NormalizationForm_D : QString::NormalizationForm_KD);
    QString kept;
    for (const QChar part : parts) {
        const QChar::Category category = part.category();
        if (category != QChar::Mark_NonSpacing && category != QChar::Mark_SpacingCombining &&
            category != QChar::Mark_Enclosing) {
            kept.append(part);
        }
    }
    const QString folded = kept.toCaseFolded();
    for (qsizetype i = 0; i < folded.size(); ++i) {
        appendPlain(store::codePointAt(folded, i), out);
        if (folded[i].isHighSurrogate() && i + 1 < folded.size()) {
            ++i;
        }
    }
}

// Each Windows-1252 byte's folding, padded to four bytes so that the hot loop
// copies a fixed size.
struct FoldTable {
    std::array<std::array<char, 4>, 256> bytes{};
    std::array<unsigned char, 256> size{};
    FoldTable() {
        for (int b = 0; b < 256; ++b) {
            const char byte = char(b);
            const QString text = store::decodeCp1252(QByteArrayView(&byte, 1));
            std::string folded;
            appendFoldedChar(text[0].unicode(), true, folded);
            if (folded.size() > 4) {
                qFatal("folding of byte %d is too long", b);
            }
            std::memcpy(bytes[b].data(), folded.data(), folded.size());
            size[b] = static_cast<unsigned char>(folded.size());
        }
    }
};

const FoldTable& foldTable() {
    static const FoldTable table;
    return table;
}

}  // namespace

void appendFolded(QStringView text, std::string& out) {
    const FoldTable& table = foldTable();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        // Characters that are their own Windows-1252 byte, then the others
        // that have one.
        int byte = unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF) ? unit : -1;
        if (byte < 0) {
            // encodeCp1252 writes '?' for what it cannot hold.
            const QByteArray encoded = store::encodeCp1252(text.sliced(i, 1));
            byte = encoded[0] == '?' ? -1 : static_cast<unsigned char>(encoded[0]);
        }
        if (byte >= 0) {
            out.append(table.bytes[size_t(byte)].data(), table.size[size_t(byte)]);
            continue;
        }
        const char32_t c = store::codePointAt(text, i);
        if (c > 0xFFFF) {
            ++i;
        }
        appendFoldedChar(c, false, out);
    }
}

std::string foldText(QStringView text) {
    std::string out;
    out.reserve(size_t(text.size()));
    appendFolded(text, out);
    return out;
}

std::string_view foldCp1252(QByteArrayView bytes, std::string& out, size_t at) {
    const FoldTable& table = foldTable();
    // Four bytes at most per byte, copied whole each time.
    const size_t room = at + size_t(bytes.size()) * 4;
    if (out.size() < room) {
        out.resize(room);
    }
    const char* from = bytes.data();
    const char* const end = from + bytes.size();
    char* to = out.data() + at;
    constexpr quint64 kOnes = 0x0101010101010101;
    while (from < end) {
        // Eight ASCII bytes at once, where folding is lowering A to Z alone:
        // a byte gets its high bit from the first sum when it is at least 'A',
        // from the second when it is past 'Z'.
        if (end - from >= 8) {
            quint64 chunk;
            std::memcpy(&chunk, from, 8);
            if ((chunk & (kOnes * 0x80)) == 0) {
                const quint64 upper = (chunk + kOnes * (0x80 - 'A')) &
                                      ~(chunk + kOnes * (0x80 - 'Z' - 1)) & (kOnes * 0x80);
                chunk |= upper >> 2;
                std::memcpy(to, &chunk, 8);
                from += 8;
                to += 8;
                continue;
            }
        }
        const auto byte = static_cast<unsigned char>(*from++);
        std::memcpy(to, table.bytes[byte].data(), 4);
        to += table.size[byte];
    }
    return std::string_view(out.data(), size_t(to - out.data()));
}

std::vector<std::string> queryWords(QStringView query) {
    std::vector<std::string> words;
    qsizetype start = -1;
    for (qsizetype i = 0; i <= query.size(); ++i) {
        const bool blank = i == query.size() || query[i].isSpace();
        if (!blank && start < 0) {
            start = i;
        } else if (blank && start >= 0) {
            std::string word = foldText(query.sliced(start, i - start));
            if (!word.empty()) {
                words.push_back(std::move(word));
            }
            start = -1;
        }
    }
    return words;
}

}  // namespace pv::find
