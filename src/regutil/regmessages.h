#pragma once

#include <QString>

namespace ostrel {

// Message-box flags the utility uses: OK button alone, with or without an icon.
namespace msg {
inline constexpr int kOkOnly = 0;
inline constexpr int kCritical = 16;
inline constexpr int kExclamation = 48;
inline constexpr int kResultOk = 1;
}  // namespace msg

inline const QString kProgramTitle = QStringLiteral("Ostrel32");

// Shows one modal message box. Tests install their own to record what was shown.
class MessageService {
public:
    virtual ~MessageService() = default;
    virtual int show(const QString& text, int flags, const QString& title) = 0;
};

// The service in use: a QMessageBox unless another one was installed.
MessageService& messages();
// Installs a service; nullptr brings back the default. The caller keeps ownership.
void setMessageService(MessageService* service);

// A message box titled "Ostrel32" unless a title is given.
int showMessage(const QString& text, int flags = msg::kOkOnly, const QString& title = {});

}  // namespace ostrel
