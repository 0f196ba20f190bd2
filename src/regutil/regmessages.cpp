#include "regmessages.h"

#include <QApplication>
#include <QMessageBox>

namespace ostrel {
namespace {

class BoxService final : public MessageService {
public:
    int show(const QString& text, int flags, const QString& title) override {
        QMessageBox box(QApplication::activeWindow());
        box.setWindowTitle(title);
        box.setText(text);
        box.setWindowModality(Qt::ApplicationModal);
        switch (flags & 0x70) {
            case msg::kCritical:
                box.setIcon(QMessageBox::Critical);
                break;
            case msg::kExclamation:
                box.setIcon(QMessageBox::Warning);
                break;
            default:
                box.setIcon(QMessageBox::NoIcon);
                break;
        }
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return msg::kResultOk;
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

int showMessage(const QString& text, int flags, const QString& title) {
    return messages().show(text, flags, title.isEmpty() ? kProgramTitle : title);
}

}  // namespace ostrel
