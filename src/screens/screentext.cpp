#include "screentext.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTextEdit>

namespace pv {

void ClearScreenFields(QWidget* screen) {
    const QList<QWidget*> controls = screen->findChildren<QWidget*>();
    for (QWidget* control : controls) {
        if (auto* line = qobject_cast<QLineEdit*>(control)) {
            // The edit field inside a drop-down or spin box is part of that control.
            QWidget* owner = line->parentWidget();
            if (qobject_cast<QComboBox*>(owner) || qobject_cast<QAbstractSpinBox*>(owner)) {
                continue;
            }
            line->clear();
        } else if (auto* plain = qobject_cast<QPlainTextEdit*>(control)) {
            plain->clear();
        } else if (auto* rich = qobject_cast<QTextEdit*>(control)) {
            rich->clear();
        }
    }
}

MultiLineBox::MultiLineBox(QWidget* parent) : QPlainTextEdit(parent) {
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(true);
}

QString MultiLineBox::text() const {
    QString text = toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
}

void MultiLineBox::setText(const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    setPlainText(shown);
}

}  // namespace pv
