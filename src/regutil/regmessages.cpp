#include "regmessages.h"

#include <QApplication>
#include <QMessageBox>

namespace ostrel {
namespace {

class BoxService final : public MessageService {
public:
    void show(const QString& text, MessageIcon icon, const QString& title) override {
        QMessageBox box(QApplication::activeWindow());
        box.setWindowTitle(title);
        // Paths and typed patterns are shown as they are, never taken for markup.
        box.setTextFormat(Qt::PlainText);
        box.setText(text);
        box.setWindowModality(Qt::ApplicationModal);
        switch (icon) {
            case MessageIcon::Critical:
                box.setIcon(QMessageBox::Critical);
                break;
            case MessageIcon::Exclamation:
                box.setIcon(QMessageBox::Warning);
                break;
            case MessageIcon::None:
                box.setIcon(QMessageBox::NoIcon);
                break;
        }
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
    }
};

MessageService* installed = nullptr;

}  // namespace

MessageService& messages() {
    static BoxService boxes;
    return installed ? *installed : boxes;
}

void setMessageService(MessageService* service) {
    installed = service;
}

void showMessage(const QString& text, MessageIcon icon, const QString& title) {
    messages().show(text, icon, title.isEmpty() ? kProgramTitle : title);
}

}  // namespace ostrel
