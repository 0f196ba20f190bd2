#pragma once

#include "registrationengine.h"

#include <QString>

namespace ostrel {

// Shows one modal message box with an OK button. Tests install their own to record
// what was shown.
class MessageService {
public:
    virtual ~MessageService() = default;
    virtual void show(const QString& text, MessageIcon icon, const QString& title) = 0;
};

// The service in use: a QMessageBox unless another one was installed.
MessageService& messages();
// Installs a service; nullptr brings back the default. The caller keeps ownership.
void setMessageService(MessageService* service);

// A message box titled "Ostrel32" unless a title is given.
void showMessage(const QString& text, MessageIcon icon = MessageIcon::None,
                 const QString& title = {});

}  // namespace ostrel
