#include "shopprint.h"

#include "printerservice.h"
#include "store.h"
#include "textflowprinter.h"

#include <QPrinter>

namespace pv {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

}  // namespace

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

bool printLines(QPrinter* printer, const QList<PrintedLine>& lines) {
    TextFlowPrinter flow(printer);
    if (!flow.begin()) {
        return false;
    }
    for (const PrintedLine& line : lines) {
        flow.setBold(line.bold);
        for (const QString& word : shoppingListWords(line.text)) {
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

bool printShoppingList(const store::Store& store, const QString& fileName, QPrinter* printer) {
    const auto text = store.readShoppingList(fileName);
    if (!text) {
        return false;
    }
    // One character per byte; lines and words of any length print whole.
    QList<PrintedLine> lines;
    for (const QString& line : shoppingListLines(text.value())) {
        lines.append(PrintedLine{line});
    }
    return printLines(printer, lines);
}

bool printShoppingList(const store::Store& store, const QString& fileName) {
    return printShoppingList(store, fileName, printerService().printer());
}

}  // namespace pv
