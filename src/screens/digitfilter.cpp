#include "digitfilter.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QValidator>

namespace pv {
namespace {

// The last guard for text that reaches the box some other way (an input
// method, say): whatever is not a digit is taken out again.
class DigitValidator final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override {
        const QString before = input.left(pos);
        const QString digitsBefore = DigitFilter::digitsOf(before);
        if (digitsBefore.size() != before.size() || DigitFilter::digitsOf(input) != input) {
            input = DigitFilter::digitsOf(input);
            pos = int(digitsBefore.size());
        }
        return Acceptable;
    }
};

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// A key that produces a printable character; control codes such as Delete
// (127) or Ctrl+A (1) type nothing and are left alone.
bool typesCharacter(const QKeyEvent* key) {
    const QString text = key->text();
    if (text.isEmpty()) {
        return false;
    }
    for (const QChar c : text) {
        if (c.unicode() >= 32 && c.unicode() != 127) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool DigitFilter::isPasteAction(const QAction* action) {
    // Newer Qt names the action; older Qt only shows the shortcut in its text.
    const QString shortcut = QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
    return action->objectName() == QLatin1String("edit-paste") ||
           (!shortcut.isEmpty() && action->text().endsWith(QLatin1Char('\t') + shortcut));
}

DigitFilter::DigitFilter(QLineEdit* box) : QObject(box), box_(box) {}

DigitFilter* DigitFilter::install(QLineEdit* box) {
    auto* filter = new DigitFilter(box);
    box->installEventFilter(filter);
    box->setValidator(new DigitValidator(box));
    return filter;
}

bool DigitFilter::passes(QChar c) {
    return c.unicode() == 8 || c.unicode() == 9 || isDigit(c);
}

QString DigitFilter::digitsOf(const QString& text) {
    QString digits;
    digits.reserve(text.size());
    for (const QChar c : text) {
        if (isDigit(c)) {
            digits.append(c);
        }
    }
    return digits;
}

void DigitFilter::pasteDigits(const QString& text) {
    if (box_->isReadOnly()) {
        return;
    }
    box_->insert(digitsOf(text));
}

bool DigitFilter::eventFilter(QObject* watched, QEvent* event) {
    if (watched != box_) {
        return QObject::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->matches(QKeySequence::Paste)) {
                pasteDigits(QGuiApplication::clipboard()->text());
                return true;
            }
            if (typesCharacter(key)) {
                const QString text = key->text();
                for (const QChar c : text) {
                    if (!passes(c)) {
                        return true;  // discarded before the box sees it
                    }
                }
            }
            break;
        }
        case QEvent::ShortcutOverride: {
            // Paste is ours, so it must not be taken as a window shortcut.
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->matches(QKeySequence::Paste)) {
                event->accept();
                return true;
            }
            break;
        }
        case QEvent::MouseButtonRelease: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            QClipboard* clipboard = QGuiApplication::clipboard();
            if (mouse->button() == Qt::MiddleButton && clipboard->supportsSelection()) {
                box_->deselect();
                pasteDigits(clipboard->text(QClipboard::Selection));
                return true;
            }
            break;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            if (drop->mimeData()->hasText() && drop->source() != box_) {
                box_->setCursorPosition(box_->cursorPositionAt(drop->position().toPoint()));
                pasteDigits(drop->mimeData()->text());
                drop->acceptProposedAction();
                box_->setFocus();
                return true;
            }
            break;
        }
        case QEvent::ContextMenu: {
            // The standard menu, with its Paste keeping only the digits.
            auto* request = static_cast<QContextMenuEvent*>(event);
            QPointer<QMenu> menu = box_->createStandardContextMenu();
            menu->setAttribute(Qt::WA_DeleteOnClose);
            const QList<QAction*> actions = menu->actions();
            for (QAction* action : actions) {
                if (isPasteAction(action)) {
                    action->disconnect();
                    connect(action, &QAction::triggered, this,
                            [this] { pasteDigits(QGuiApplication::clipboard()->text()); });
                }
            }
            menu->popup(request->globalPos());
            return true;
        }
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace pv
