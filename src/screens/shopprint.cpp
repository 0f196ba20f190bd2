#include "shopprint.h"

#include "printing.h"

#include <QFile>
#include <QPrinter>

#include <array>

namespace pv {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

// Windows-1252 differs from Latin-1 only in 0x80-0x9F; the five unassigned
// bytes keep their C1 control characters.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

QString decodeShoppingList(const QByteArray& bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes.at(i));
        text[i] = (byte >= 0x80 && byte <= 0x9F) ? QChar(kHighControls[byte - 0x80]) : QChar(byte);
    }
    return text;
}

QStringList shoppingListLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    while (start < text.size()) {
        const qsizetype end = text.indexOf(kLineEnd, start);
        if (end < 0) {
            lines.append(text.mid(start));
            break;
        }
        lines.append(text.mid(start, end - start));
        start = end + kLineEnd.size();
    }
    return lines;
}

QStringList shoppingListWords(const QString& line) {
    QStringList words;
    qsizetype start = 0;
    while (start < line.size()) {
        const qsizetype blank = line.indexOf(QLatin1Char(' '), start);
        const qsizetype end = blank < 0 ? line.size() : blank + 1;
        words.append(line.mid(start, end - start));
        start = end;
    }
    return words;
}

bool PrintShoppingList(const QString& path, QPrinter* printer) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return false;
    }
    file.close();

    TextFlowPrinter flow(printer);
    if (!flow.begin()) {
        return false;
    }
    // Lines and words of any length print whole.
    for (const QString& line : shoppingListLines(decodeShoppingList(bytes))) {
        for (const QString& word : shoppingListWords(line)) {
            if (flow.currentX() + flow.textWidth(word) > flow.pageWidth()) {
                flow.endLine();
                if (flow.currentY() + flow.fontSize() > flow.pageHeight()) {
                    flow.newPage();
                }
            }
            flow.print(word);
        }
        flow.endLine();
    }
    return flow.endDocument();
}

bool PrintShoppingList(const QString& path) {
    return PrintShoppingList(path, printerService().printer());
}

}  // namespace pv
