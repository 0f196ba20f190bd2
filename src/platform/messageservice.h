#pragma once

#include <QString>
#include <QStringList>

namespace pv {

// Message-box flags and results as the program states them (OK = 0, Yes/No = 4,
// icons 16/32/48/64, system modal 4096).
namespace msg {
inline constexpr int kOkOnly = 0;
inline constexpr int kYesNo = 4;
inline constexpr int kCritical = 16;
inline constexpr int kQuestion = 32;
inline constexpr int kExclamation = 48;
inline constexpr int kInformation = 64;
inline constexpr int kSystemModal = 4096;

inline constexpr int kResultOk = 1;
inline constexpr int kResultYes = 6;
inline constexpr int kResultNo = 7;
}  // namespace msg

// Shows one message box and returns the button pressed. Tests replace it.
class MessageService {
public:
    virtual ~MessageService() = default;
    virtual int show(const QString& text, int flags, const QString& title) = 0;
    // A question whose buttons say what each answer does ("Replace", "Keep
    // both", "Cancel"); returns the index of the button pressed. Escape presses
    // the last one, which is what a service without such buttons answers.
    virtual int ask(const QString& text, const QStringList& buttons, int defaultButton, int flags,
                    const QString& title);
};

// The service in use; a QMessageBox-based one unless a test installed another.
MessageService& messages();
// Installs a service (nullptr brings back the default). The caller keeps ownership.
void setMessageService(MessageService* service);

// A message box; an empty title is the program's own title, "Pantrova". The
// text is shown as it is, never taken for markup.
int showMessage(const QString& text, int flags = msg::kOkOnly, const QString& title = {});

// A question with buttons of its own (see MessageService::ask); an empty
// title is the program's own.
int askQuestion(const QString& text, const QStringList& buttons, int defaultButton,
                int flags = msg::kQuestion, const QString& title = {});

// The text as the screen shows it: CR LF and lone CR become line breaks.
QString displayText(const QString& text);

}  // namespace pv
