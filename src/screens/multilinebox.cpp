#include "multilinebox.h"

#include <QMimeData>
#include <QTextDocument>

namespace pv {

MultiLineBox::MultiLineBox(QWidget* parent) : QPlainTextEdit(parent) {
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(true);
}

namespace {

// The document's own characters with lineEnd for each line break, those
// typed with Shift+Enter included. Qt's plain text would also turn no-break
// spaces into blanks, so a list opened and saved again would change.
QString rawText(QString text, const QString& lineEnd) {
    text.replace(QChar::ParagraphSeparator, lineEnd);
    return text.replace(QChar::LineSeparator, lineEnd);
}

}  // namespace

QString MultiLineBox::text() const {
    return rawText(document()->toRawText(), QStringLiteral("\r\n"));
}

void MultiLineBox::setText(const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    setPlainText(shown);
}

QMimeData* MultiLineBox::createMimeDataFromSelection() const {
    auto* data = new QMimeData;
    data->setText(rawText(textCursor().selectedText(), QStringLiteral("\n")));
    return data;
}

}  // namespace pv
