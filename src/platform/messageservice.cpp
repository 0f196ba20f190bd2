#include "messageservice.h"

#include "replaceable.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace pv {
namespace {

QMessageBox::Icon iconOf(int flags) {
    switch (flags & 0x70) {
        case msg::kCritical:
            return QMessageBox::Critical;
        case msg::kQuestion:
            return QMessageBox::Question;
        case msg::kExclamation:
            return QMessageBox::Warning;
        case msg::kInformation:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

// What every message box shows, before its buttons.
void fillBox(QMessageBox& box, const QString& text, int flags, const QString& title) {
    box.setWindowTitle(title);
    // Names and file texts in a message are shown as they are, never as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(displayText(text));
    box.setWindowModality(Qt::ApplicationModal);
    box.setIcon(iconOf(flags));
}

class QtMessageService final : public MessageService {
public:
    int show(const QString& text, int flags, const QString& title) override {
        QMessageBox box(QApplication::activeWindow());
        fillBox(box, text, flags, title);
        if ((flags & 0x7) == msg::kYesNo) {
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(QMessageBox::Yes);
            box.setEscapeButton(QMessageBox::No);
            return box.exec() == QMessageBox::Yes ? msg::kResultYes : msg::kResultNo;
        }
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return msg::kResultOk;
    }

    int ask(const QString& text, const QStringList& buttons, int defaultButton, int flags,
            const QString& title) override {
        QMessageBox box(QApplication::activeWindow());
        fillBox(box, text, flags, title);
        QList<QPushButton*> pressed;
        for (const QString& caption : buttons) {
            // Their own roles would let the style reorder them; the order is the question's.
            pressed.append(box.addButton(caption, QMessageBox::ActionRole));
        }
        if (pressed.isEmpty()) {
            return -1;
        }
        box.setDefaultButton(pressed.value(defaultButton, pressed.constLast()));
        box.setEscapeButton(pressed.constLast());
        box.exec();
        const qsizetype index = pressed.indexOf(qobject_cast<QPushButton*>(box.clickedButton()));
        return index < 0 ? int(pressed.size() - 1) : int(index);
    }
};

using Slot = Replaceable<MessageService, QtMessageService>;

}  // namespace

MessageService& messages() {
    return Slot::get();
}

void setMessageService(MessageService* service) {
    Slot::install(service);
}

int MessageService::ask(const QString&, const QStringList& buttons, int, int, const QString&) {
    return int(buttons.size()) - 1;
}

int askQuestion(const QString& text, const QStringList& buttons, int defaultButton, int flags,
                const QString& title) {
    return messages().ask(text, buttons, defaultButton, flags,
                          title.isEmpty() ? QStringLiteral("Pantrova") : title);
}

int showMessage(const QString& text, int flags, const QString& title) {
    return messages().show(text, flags, title.isEmpty() ? QStringLiteral("Pantrova") : title);
}

QString displayText(const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

}  // namespace pv
