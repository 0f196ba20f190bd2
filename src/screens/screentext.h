#pragma once

#include <QPlainTextEdit>
#include <QString>

class QWidget;

namespace pv {

// Empties every text box of the screen, in the window's own control order.
// Drop-down lists, check boxes and labels keep their state.
void ClearScreenFields(QWidget* screen);

// A multi-line text box whose text, as the program reads and writes it, has
// CR LF between its lines (the screen shows them as line breaks). Every other
// character comes back as it was put in, no-break spaces included; a copied
// selection keeps them too.
class MultiLineBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit MultiLineBox(QWidget* parent = nullptr);
    QString text() const;
    void setText(const QString& text);

protected:
    QMimeData* createMimeDataFromSelection() const override;
};

}  // namespace pv
