#pragma once

#include <QObject>
#include <QString>

class QAction;
class QLineEdit;

namespace pv {

// Lets only digits into a text box: a typed character passes when it is a
// digit, backspace or tab; any other character is discarded before the box
// sees it. Keys that type nothing (arrows, Delete, Home, shortcuts) work as
// usual. Text that arrives by paste, drop or middle click keeps only its
// digits, and the box's length limit applies to what is left.
class DigitFilter : public QObject {
    Q_OBJECT
public:
    // Installs the filter on the box; the filter belongs to the box.
    static DigitFilter* install(QLineEdit* box);

    // Whether a typed character passes (character codes 8, 9 and 48 to 57).
    static bool passes(QChar c);
    // The digits of the text, in order.
    static QString digitsOf(const QString& text);
    // The Paste entry of a text box's standard context menu.
    static bool isPasteAction(const QAction* action);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit DigitFilter(QLineEdit* box);
    void pasteDigits(const QString& text);

    QLineEdit* box_;
};

}  // namespace pv
